#include "Dados_Log/Dados_Log.h"
#include "firebird/SqlDataSet.h"
#include "ini/IniFile.h"
#include "os/Os.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(DatabasePath, ComposesServerDirectoryAndFileName) {
    struct Case {
        const char* server;
        const char* directory;
        const char* path;
    };
    for (const Case& c : {Case{"", "/srv/log/", "/srv/log/SYSTEM.DAT"},
                          Case{"  \t", "C:\\Dados\\", "C:\\Dados\\SYSTEM.DAT"},
                          Case{"db01", "C:\\Dados\\", "db01:C:\\Dados\\SYSTEM.DAT"},
                          Case{"db01", "C:\\Dados", "db01:C:\\DadosSYSTEM.DAT"},
                          Case{" db01 ", "/d/", " db01 :/d/SYSTEM.DAT"},
                          Case{"", "", "SYSTEM.DAT"}}) {
        EXPECT_EQ(composeDatabasePath(c.server, c.directory), c.path);
    }
}

class DataModule : public ::testing::Test {
protected:
    void SetUp() override { os::setExecutableDirectoryForTesting(exeDir_.path()); }
    void TearDown() override {
        module_.reset();
        os::setExecutableDirectoryForTesting({});
    }
    void writeSettings(const std::string& server, const std::string& directory) {
        ini::IniFile ini(exeDir_.file("system.ini"));
        ini.writeString("SYSTEM", "Servidor", server);
        ini.writeString("SYSTEM", "Caminho", directory);
    }
    testsupport::TempDir exeDir_;
    testsupport::MessageCatcher messages_;
    std::unique_ptr<TdmLog> module_;
};

TEST_F(DataModule, RebuildsItsTwentyOneParametersBeforeEveryConnect) {
    // Nothing listens on port 1: the connect fails at once.
    writeSettings("127.0.0.1/1", "C:\\Dados\\");
    module_.reset(TdmLog::Create());
    EXPECT_EQ(dmLog, module_.get());
    module_->BDLogBeforeConnect();
    module_->BDLogBeforeConnect();
    const auto& lines = module_->BDLog.params().lines();
    ASSERT_EQ(lines.size(), 21u);
    EXPECT_EQ(lines[0], "DriverName=Firebird");
    EXPECT_EQ(lines[3], "Database=127.0.0.1/1:C:\\Dados\\SYSTEM.DAT");
    EXPECT_EQ(lines[20], "FetchAll=False");
    const auto p = module_->BDLog.connectionParams();
    EXPECT_EQ(p.user, "SYSDBA");
    EXPECT_EQ(p.password, "pelicanos");
    EXPECT_EQ(p.role, "RoleName");
    EXPECT_EQ(p.charset, "");
    EXPECT_EQ(p.dialect, 3);

    // The settings are read again at the next connect.
    writeSettings("", "/outro/");
    module_->BDLogBeforeConnect();
    EXPECT_EQ(module_->BDLog.params().value("Database"), "/outro/SYSTEM.DAT");
    module_.reset();
    EXPECT_EQ(dmLog, nullptr);
}

TEST_F(DataModule, MissingSettingsGiveTheBareFileName) {
    auto* m = TdmLog::Create();
    module_.reset(m);
    m->BDLogBeforeConnect();
    EXPECT_EQ(m->BDLog.params().value("Database"), "SYSTEM.DAT");
}

TEST_F(DataModule, ConnectsWithTheSettingsOfSystemIniAsTheServerSeesThem) {
    REQUIRE_TEST_SERVER();
    testsupport::TestDatabase db;
    // The role only shows on the server's side when it exists there.
    db.execute("CREATE ROLE ROLENAME");
    db.execute("GRANT ROLENAME TO SYSDBA");
    writeSettings(*testsupport::testServer(), db.directory());
    module_.reset(TdmLog::Create());
    ASSERT_TRUE(module_->BDLog.connected());

    // What reached the server: user, role, no character set, read committed, wait.
    auto& q = module_->sqlAux;
    q.setCommandText(
        "SELECT TRIM(a.MON$USER), TRIM(a.MON$ROLE), a.MON$CHARACTER_SET_ID, "
        "t.MON$ISOLATION_MODE, t.MON$LOCK_TIMEOUT, "
        "RDB$GET_CONTEXT('SYSTEM', 'ENGINE_VERSION') "
        "FROM MON$ATTACHMENTS a JOIN MON$TRANSACTIONS t ON t.MON$ATTACHMENT_ID = "
        "a.MON$ATTACHMENT_ID WHERE a.MON$ATTACHMENT_ID = CURRENT_CONNECTION "
        "AND t.MON$TRANSACTION_ID = CURRENT_TRANSACTION");
    q.open();
    ASSERT_FALSE(q.eof());
    EXPECT_EQ(q.fieldAsText(0), "SYSDBA");
    EXPECT_EQ(q.fieldAsText(1), "ROLENAME");
    EXPECT_EQ(q.fieldAsText(2), "0");  // NONE
    EXPECT_EQ(q.fieldAsText(3), "2");  // read committed, record version
    EXPECT_EQ(q.fieldAsText(4), "-1");  // wait without a timeout
    q.close();

    // Dialect 3: integers divide as integers (dialect 1 would give 0.5).
    q.setCommandText("SELECT 1/2 FROM RDB$DATABASE");
    q.open();
    EXPECT_EQ(q.fieldAsText(0), "0");
    q.close();
    module_->DataModuleDestroy();
    EXPECT_FALSE(module_->BDLog.connected());
}

}  // namespace
