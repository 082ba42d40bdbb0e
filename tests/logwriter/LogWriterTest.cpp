#include "CommandLine.h"
#include "LogWriter.h"
#include "SyntheticLog.h"

#include "Dados_Log/Dados_Log.h"
#include "ini/IniFile.h"
#include "os/Os.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace {

using logwriter::LogEntry;

// A log provisioned by the viewer's own data module, on the test server.
class LogWriterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        REQUIRE_TEST_SERVER();
        os::setExecutableDirectoryForTesting(exeDir_.path());
        os::setAlertSoundHandler([] {});
        ini::IniFile ini(exeDir_.file("system.ini"));
        ini.writeString("SYSTEM", "Servidor", *testsupport::testServer());
        ini.writeString("SYSTEM", "Caminho", dbDir_.path());
        module_.reset(TdmLog::Create());
        for (const auto& m : messages_.messages)
            ADD_FAILURE() << m.text.toStdString();
        ASSERT_TRUE(module_->BDLog.connected());
    }
    void TearDown() override {
        module_.reset();
        os::setAlertSoundHandler({});
        os::setExecutableDirectoryForTesting({});
    }

    // The entries a search of the viewer finds, as its result set holds them.
    std::vector<LogEntry> search(const std::string& where) {
        dmLog->sqlPesq.setCommandText("SELECT * FROM LOG WHERE " + where + " ORDER BY ID");
        dmLog->dspPesq.open(dmLog->cdsPesq);
        const auto& rs = dmLog->cdsPesq;
        const int usuario = rs.fieldIndex("USUARIO"), acao = rs.fieldIndex("ACAO"),
                  tabela = rs.fieldIndex("TABELA"), log = rs.fieldIndex("LOG");
        std::vector<LogEntry> found;
        for (std::size_t row = 0; row < rs.recordCount(); ++row) {
            found.push_back({std::string(rs.text(row, usuario)), std::string(rs.text(row, acao)),
                             rs.isNull(row, tabela)
                                 ? std::nullopt
                                 : std::optional<std::string>(rs.text(row, tabela)),
                             std::string(rs.text(row, log))});
        }
        return found;
    }

    testsupport::TempDir exeDir_;
    testsupport::TempDir dbDir_;
    testsupport::MessageCatcher messages_;
    std::unique_ptr<TdmLog> module_;
};

TEST_F(LogWriterTest, EntriesReadBackThroughTheViewersSearchExactly) {
    EXPECT_EQ(module_->sqlLog.commandText(), logwriter::kInsertText);

    std::vector<LogEntry> written = {
        {"JOS\xC9.ANT\xD4NIO", "ENTROU", std::nullopt,
         "Entrada no m\xF3"
         "dulo\r\nEsta\xE7\xE3o 3"},
        {std::string(30, 'U'), "EXECUTOU", std::string(31, 'T'), ""},
        {"ANA", "ALTEROU", "CLIENTES", "\x80\x9F\xA0\xFF aspas ' e \" e ; fim"},
        {"ANA", "SQL", "PEDIDOS", std::string(100000, '\xE7') + "\r\n"},
    };
    logwriter::SyntheticLog synthetic(3, 40);
    for (int i = 0; i < 300; ++i)
        written.push_back(synthetic.next());

    module_->BDLog.close();  // the writer is another program: the viewer is not attached
    {
        logwriter::LogWriter writer(logwriter::logConnection(), 64);
        for (const auto& e : written)
            writer.write(e);
        writer.commit();
        EXPECT_EQ(writer.countEntries(), static_cast<std::int64_t>(written.size()));
    }
    module_->BDLog.open();

    const auto found = search("ID > 0");
    ASSERT_EQ(found.size(), written.size());
    for (std::size_t i = 0; i < written.size(); ++i)
        EXPECT_EQ(found[i], written[i]) << "entry " << i + 1;

    // A search with an 8-bit literal finds the 8-bit entries; the triggers
    // registered the user of each ENTROU.
    const auto jose = search("USUARIO = 'JOS\xC9.ANT\xD4NIO'");
    ASSERT_FALSE(jose.empty());
    EXPECT_EQ(jose[0], written[0]);
    module_->sqlAux.setCommandText(
        "SELECT COUNT(*) FROM USERS WHERE USUARIO = 'JOS\xC9.ANT\xD4NIO'");
    module_->sqlAux.open();
    EXPECT_EQ(module_->sqlAux.fieldAsText(0), "1");
    module_->sqlAux.close();
}

int run(std::vector<std::string> args) {
    args.insert(args.begin(), "tracora-logwriter");
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    return runLogWriter(static_cast<int>(args.size()), argv.data());
}

TEST_F(LogWriterTest, CommandLineTakesUtf8AndWritesWindows1252) {
    module_->BDLog.close();
    const std::string ini = exeDir_.path();
    struct Case {
        std::vector<std::string> args;
        int exitCode;
    };
    const Case cases[] = {
        {{"--ini", ini, "entry", "CONCEIÇÃO", "INCLUIU", "NOTAS_FISCAIS",
          "Nota nº 12 – ação\r\nfim"},
         0},
        {{"entry", "ANA", "SAIU", "-", "Saída €"}, 0},
        // Refused: no Windows-1252 for these characters, or a malformed line.
        {{"entry", "ANA", "MSG", "-", "日本"}, 2},
        {{"entry", "ANA", "MSG", "-"}, 2},
        {{"synthetic"}, 2},
        {{"synthetic", "x10"}, 2},
        // The server refuses an action longer than its column.
        {{"entry", "ANA", "EXECUTOU1", "-", "x"}, 1},
        // The log already holds entries: nothing is written.
        {{"--ini", ini, "synthetic", "50", "--if-empty"}, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(run(c.args), c.exitCode) << c.args.back();
    os::setExecutableDirectoryForTesting(exeDir_.path());

    module_->BDLog.open();
    const std::vector<LogEntry> expected = {
        {"CONCEI\xC7\xC3O", "INCLUIU", "NOTAS_FISCAIS", "Nota n\xBA 12 \x96 a\xE7\xE3o\r\nfim"},
        {"ANA", "SAIU", std::nullopt,
         "Sa\xED"
         "da \x80"},
    };
    EXPECT_EQ(search("ID > 0"), expected);

    module_->BDLog.close();
    EXPECT_EQ(run({"synthetic", "20", "--seed", "5", "--long-every", "0"}), 0);
    module_->BDLog.open();
    EXPECT_EQ(search("ID > 0").size(), 22u);
}

}  // namespace
