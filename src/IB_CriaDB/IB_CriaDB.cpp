#include "IB_CriaDB.h"

#include "Dados_Log/Dados_Log.h"
#include "firebird/DatabaseError.h"
#include "ini/IniFile.h"
#include "os/Os.h"
#include "widgets/MessageBox.h"

#include <QString>

#include <algorithm>

namespace {

const char* const kLogUser = "MBCXOVA8";
const char* const kLogPassword = "wund";

void pointAtServer(firebird::ServiceManager& service, const std::string& servidor) {
    if (!trimBlanks(servidor).empty()) {
        service.serverName = servidor;
        service.protocol = firebird::ServiceManager::Protocol::Tcp;
    } else {
        service.protocol = firebird::ServiceManager::Protocol::Local;
    }
}

// Firebird 3 lets an account create a database only with the CREATE DATABASE
// privilege. The grant must be run by the administrator over an attachment to
// some database, so a scratch one is made beside the log's and dropped again.
// Failures are left to the creation step, which reports them.
void allowLogUserToCreateDatabases(const std::string& path) {
    const std::string scratch = path + ".grant";
    const std::string create = "CREATE DATABASE '" + scratch + "' USER '" +
                               dmLog->IBSecurityService1.userName + "' PASSWORD '" +
                               dmLog->IBSecurityService1.password + "'";
    firebird::StatusVector sv;
    isc_db_handle db = 0;
    isc_tr_handle tr = 0;
    if (isc_dsql_execute_immediate(sv.get(), &db, &tr, 0, create.c_str(), 3, nullptr) != 0)
        return;
    tr = 0;
    isc_start_transaction(sv.get(), &tr, 1, &db, 0, nullptr);
    const std::string grant = std::string("GRANT CREATE DATABASE TO USER ") + kLogUser;
    if (!sv.failed()) {
        isc_dsql_execute_immediate(sv.get(), &db, &tr, 0, grant.c_str(), 3, nullptr);
        if (sv.failed()) {
            isc_rollback_transaction(sv.get(), &tr);
        } else {
            isc_commit_transaction(sv.get(), &tr);
        }
    }
    firebird::StatusVector drop;
    isc_drop_database(drop.get(), &db);
    if (drop.failed())
        isc_detach_database(drop.get(), &db);
}

}  // namespace

std::string serverLocalPath(const std::string& servidor, const std::string& path) {
    if (trimBlanks(servidor).empty())
        return path;
    const std::string prefix = servidor + ":";
    return path.rfind(prefix, 0) == 0 ? path.substr(prefix.size()) : path;
}

std::string MensagemErroSQL(const ISC_STATUS* status) {
    const ISC_LONG sqlCode = isc_sqlcode(status);
    char message[501] = {};
    isc_sql_interprete(static_cast<short>(sqlCode), message, 500);
    return "SQL Code: " + std::to_string(sqlCode) + ", Message: " + std::string(message);
}

void CriaBancoDados(const std::string& path, const std::string& user, const std::string& password) {
    const std::string statement = std::string("CREATE DATABASE") + " " + "\"" + path + "\"" + " " +
                                  "USER" + " " + "\"" + user + "\"" + " " + "PASSWORD" + " " +
                                  "\"" + password + "\"";
    firebird::StatusVector sv;
    isc_db_handle db = 0;
    isc_tr_handle tr = 0;
    ISC_STATUS r = isc_dsql_execute_immediate(sv.get(), &db, &tr, 0, statement.c_str(), 3, nullptr);
    if (r != 0) {
        throw firebird::DatabaseError("Erro criando o Banco de Dados!  ISC# " + std::to_string(r) +
                                          "\n\r" + MensagemErroSQL(sv.get()),
                                      sv.sqlCode(), sv.engineCode());
    }
    r = isc_detach_database(sv.get(), &db);
    if (r != 0) {
        throw firebird::DatabaseError("Erro detaching banco de Dados!  ISC# " + std::to_string(r) +
                                          "\n\r" + MensagemErroSQL(sv.get()),
                                      sv.sqlCode(), sv.engineCode());
    }
}

void VerificaBancoLog(const std::string& servidor, const std::string& caminho) {
    try {
        ini::IniFile settings(TdmLog::camIniUsr() + "system.ini");
        settings.writeString("SYSTEM", "Servidor", servidor);
        settings.writeString("SYSTEM", "Caminho", caminho);
        dmLog->BDLog.setConnected(true);
        return;
    } catch (...) {
        // Any failure here means the database has to be provisioned.
    }

    // The account, as the server's administrator.
    auto& security = dmLog->IBSecurityService1;
    pointAtServer(security, servidor);
    security.attach();
    const std::vector<std::string> users = security.listUsers();
    security.detach();
    if (std::find(users.begin(), users.end(), kLogUser) == users.end()) {
        security.attach();
        security.addUser(kLogUser, kLogPassword);
        security.detach();
    }

    // The path the failed connect composed; empty when writing system.ini failed.
    const std::string path = dmLog->BDLog.params().value("Database");
    allowLogUserToCreateDatabases(path);
    try {
        CriaBancoDados(path, kLogUser, kLogPassword);
    } catch (const firebird::DatabaseError& e) {
        os::alertSound();
        widgets::showMessage(widgets::MessageIcon::Error, QStringLiteral("Erro"),
                             widgets::systemText(e.what()));
    }

    auto& config = dmLog->IBConfigService1;
    // The service is already on the server: it wants the server's own path.
    config.databaseName = serverLocalPath(servidor, path);
    pointAtServer(config, servidor);
    config.userName = kLogUser;
    config.password = kLogPassword;
    try {
        config.attach();
        config.setWriteModeSync();
    } catch (...) {
    }
    config.detach();
    try {
        config.attach();
        config.setSqlDialect(3);
    } catch (...) {
    }
    config.detach();

    auto& script = dmLog->BDExecScript;
    script.close();
    script.params().setValue("Database", path);
    script.params().setValue("user_name", kLogUser);
    script.params().setValue("password", kLogPassword);
    script.open();
    dmLog->IBScript.executeScript();
    script.close();

    dmLog->BDLog.setConnected(true);
}
