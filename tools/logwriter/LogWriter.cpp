#include "LogWriter.h"

#include "Dados_Log/Dados_Log.h"
#include "firebird/Statement.h"
#include "firebird/Transaction.h"
#include "ini/IniFile.h"

namespace logwriter {

firebird::ConnectionParams logConnection() {
    const ini::IniFile settings(TdmLog::camIniUsr() + "system.ini");
    firebird::ConnectionParams p;
    p.database = composeDatabasePath(settings.readString("SYSTEM", "Servidor"),
                                     settings.readString("SYSTEM", "Caminho"));
    // The account, role and dialect of the viewer's connection; no character
    // set, so the bytes reach the columns unchanged.
    p.user = "SYSDBA";
    p.password = "pelicanos";
    p.role = "RoleName";
    p.dialect = 3;
    return p;
}

LogWriter::LogWriter(const firebird::ConnectionParams& params, std::size_t commitEvery)
    : attachment_(firebird::Attachment::attach(params)),
      bulk_(attachment_, kInsertText, commitEvery) {}

void LogWriter::write(const LogEntry& entry) {
    auto& st = bulk_.statement();
    st.setString("USUARIO", entry.usuario);
    st.setString("ACAO", entry.acao);
    if (entry.tabela)
        st.setString("TABELA", *entry.tabela);
    else
        st.setNull("TABELA");
    st.setText("LOG", entry.log);
    bulk_.execute();
}

std::int64_t LogWriter::countEntries() {
    firebird::Transaction tr = firebird::Transaction::start(attachment_);
    firebird::Statement st =
        firebird::Statement::prepare(attachment_, tr, "SELECT COUNT(*) FROM LOG");
    st.execute();
    const std::int64_t count = st.fetch() ? st.integerValue(0) : 0;
    st = firebird::Statement();
    tr.commit();
    return count;
}

}  // namespace logwriter
