#include "ProvisioningFixture.h"

#include "IB_CriaDB/IB_CriaDB.h"
#include "firebird/DatabaseError.h"
#include "firebird/ServiceManager.h"

#include <gmock/gmock.h>

#include <filesystem>

namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

class ServerProvisioning : public ProvisioningTest {
  protected:
    void SetUp() override {
        REQUIRE_TEST_SERVER();
        ProvisioningTest::SetUp();
        server_ = *testsupport::testServer();
    }
    std::string server_;
};

TEST_F(ServerProvisioning, FirstStartProvisionsEverythingThenConnects) {
    removeLogAccount(server_);
    writeSettings(server_, dbDir_.path());
    createModule();
    for (const auto& m : messages_.messages)
        ADD_FAILURE() << m.text.toStdString();
    ASSERT_TRUE(module_->BDLog.connected());
    EXPECT_TRUE(logAccountExists(server_));
    EXPECT_FALSE(std::filesystem::exists(dbDir_.file("SYSTEM.DAT.grant"))) << "scratch left";

    EXPECT_EQ(query("SELECT TRIM(MON$OWNER) FROM MON$DATABASE"), "MBCXOVA8");
    EXPECT_EQ(query("SELECT MON$FORCED_WRITES FROM MON$DATABASE"), "1");
    EXPECT_EQ(query("SELECT MON$SQL_DIALECT FROM MON$DATABASE"), "3");
    EXPECT_EQ(query("SELECT LIST(TRIM(RDB$RELATION_NAME), ',') FROM (SELECT RDB$RELATION_NAME "
                    "FROM RDB$RELATIONS WHERE RDB$SYSTEM_FLAG = 0 ORDER BY 1)"),
              "ACAO,LOG,TABLES,USERS");
    EXPECT_EQ(query("SELECT RDB$UNIQUE_FLAG FROM RDB$INDICES WHERE RDB$INDEX_NAME = 'IX_DATA'"),
              "0");
    EXPECT_EQ(query("SELECT COUNT(*) FROM RDB$GENERATORS WHERE RDB$GENERATOR_NAME = 'GEN_LOG'"),
              "1");
    EXPECT_EQ(query("SELECT LIST(TRIM(RDB$TRIGGER_NAME) || ':' || RDB$TRIGGER_SEQUENCE, ',') FROM "
                    "(SELECT RDB$TRIGGER_NAME, RDB$TRIGGER_SEQUENCE FROM RDB$TRIGGERS WHERE "
                    "RDB$RELATION_NAME = 'LOG' AND RDB$SYSTEM_FLAG = 0 ORDER BY 2)"),
              "TBI_LOG:0,TBI_LOG_USERS:1,TBI_LOG_TABLES:2");

    // The next start finds the database and provisions nothing.
    createModule();
    EXPECT_TRUE(messages_.messages.empty());
    EXPECT_TRUE(module_->BDLog.connected());
    EXPECT_EQ(alerts_, 0);
}

TEST_F(ServerProvisioning, CreationOverAnExistingFileIsShownAndTheSequenceGoesOn) {
    testsupport::writeFile(dbDir_.file("SYSTEM.DAT"), "not a database");
    writeSettings(server_, dbDir_.path());
    createModule();
    ASSERT_EQ(messages_.messages.size(), 2u);
    EXPECT_EQ(alerts_, 1);
    const auto& creation = messages_.messages[0];
    EXPECT_EQ(creation.icon, widgets::MessageIcon::Error);
    EXPECT_THAT(creation.text.toStdString(),
                StartsWith("Erro criando o Banco de Dados!  ISC# 335544344\n\rSQL Code: -902, "
                           "Message: Unsuccessful execution caused by a system error"));
    // The script's connection then fails, and that reaches the error box.
    EXPECT_EQ(messages_.messages[1].caption, "Tracora");
    EXPECT_FALSE(module_->BDLog.connected());
    EXPECT_EQ(testsupport::readFile(dbDir_.file("SYSTEM.DAT")), "not a database");
}

TEST_F(ServerProvisioning, ScriptOnAnExistingSchemaStopsAtItsFirstStatement) {
    writeSettings(server_, dbDir_.path());
    createModule();
    ASSERT_TRUE(module_->BDLog.connected());
    module_->BDLog.close();
    messages_.messages.clear();
    // The script run again over the finished database.
    module_->BDExecScript.params().setValue("Database", module_->BDLog.params().value("Database"));
    module_->BDExecScript.open();
    try {
        module_->IBScript.executeScript();
        FAIL() << "the script ran twice";
    } catch (const firebird::DatabaseError& e) {
        EXPECT_THAT(e.what(), HasSubstr("ACAO"));
    }
}

TEST_F(ServerProvisioning, UnreachableServerStopsAtTheAccountCheck) {
    writeSettings("127.0.0.1/1", dbDir_.path());
    createModule();
    ASSERT_EQ(messages_.messages.size(), 1u);
    EXPECT_EQ(messages_.messages[0].caption, "Tracora");
    EXPECT_THAT(messages_.messages[0].text.toStdString(),
                HasSubstr("Unable to complete network request"));
    EXPECT_EQ(alerts_, 0);
    EXPECT_TRUE(std::filesystem::is_empty(dbDir_.path()));
    ASSERT_NE(dmLog, nullptr) << "the module is created all the same";
    EXPECT_FALSE(module_->BDLog.connected());
}

TEST_F(ServerProvisioning, AnExistingAccountIsLeftAlone) {
    if (!logAccountExists(server_)) {
        firebird::ServiceManager s;
        s.protocol = firebird::ServiceManager::Protocol::Tcp;
        s.serverName = server_;
        s.userName = "SYSDBA";
        s.password = "pelicanos";
        s.attach();
        s.addUser("MBCXOVA8", "wund");
    }
    writeSettings(server_, dbDir_.path());
    createModule();
    EXPECT_TRUE(module_->BDLog.connected());
    // Its password still is the log's own: the dialog's trial connection uses it.
    firebird::ConnectionParams p;
    p.database = server_ + ":" + dbDir_.path() + "SYSTEM.DAT";
    p.user = "MBCXOVA8";
    p.password = "wund";
    EXPECT_NO_THROW(firebird::Attachment::attach(p));
}

class LogTriggers : public ServerProvisioning {
  protected:
    void SetUp() override {
        ServerProvisioning::SetUp();
        if (IsSkipped())
            return;
        writeSettings(server_, dbDir_.path());
        createModule();
        ASSERT_TRUE(module_->BDLog.connected());
    }
    // An entry in the form the family's modules write it.
    void insert(const std::string& values) {
        module_->BDLog.execute("INSERT INTO LOG (USUARIO, ACAO, TABELA, LOG) VALUES (" + values +
                               ")");
    }
};

TEST_F(LogTriggers, NumberAndStampEveryEntry) {
    insert("'ANA', 'INCLUIU', 'CLIENTES', 'um'");
    module_->BDLog.execute(
        "INSERT INTO LOG (ID, DATA, HORA, ACAO) VALUES (0, '2001-01-01', '01:02:03', 'SQL')");
    module_->BDLog.execute("INSERT INTO LOG (ID, ACAO) VALUES (100, 'SQL')");
    EXPECT_THROW(module_->BDLog.execute("INSERT INTO LOG (ID, ACAO) VALUES (100, 'SQL')"),
                 firebird::DatabaseError);
    insert("'ANA', 'MSG', NULL, 'depois'");
    // A writer's own ID stays; ID 0 or none takes the generator's next value.
    EXPECT_EQ(query("SELECT LIST(CAST(ID AS INTEGER), ',') FROM (SELECT ID FROM LOG ORDER BY ID)"),
              "1,2,3,100");
    EXPECT_EQ(query("SELECT COUNT(*) FROM LOG WHERE DATA = CURRENT_DATE AND HORA IS NOT NULL"),
              "4");
}

TEST_F(LogTriggers, RegisterUsersAtLoginAndTablesOnce) {
    insert("'ANA', 'INCLUIU', 'CLIENTES', 'x'");  // not a login: no user
    insert("'ANA', 'ENTROU', NULL, 'x'");
    insert("'ANA', 'ENTROU', 'CLIENTES', 'x'");
    const std::string longName(31, 'T');
    insert("'BIA', 'ENTROU', '" + longName + "', 'x'");
    insert("'BIA', 'SAIU', '" + longName + "', 'x'");
    EXPECT_EQ(query("SELECT LIST(TRIM(USUARIO) || IIF(DT_INCLUSAO = CURRENT_DATE, '@hoje', '@?'), "
                    "',') FROM (SELECT * FROM USERS ORDER BY USUARIO)"),
              "ANA@hoje,BIA@hoje");
    EXPECT_EQ(query("SELECT LIST(TRIM(TABELA), ',') FROM (SELECT * FROM TABLES ORDER BY TABELA)"),
              "CLIENTES," + longName);
}

TEST_F(LogTriggers, RefusedEntriesRegisterNothing) {
    EXPECT_THROW(insert("NULL, 'ENTROU', 'NOVA', 'sem usuário'"), firebird::DatabaseError);
    EXPECT_THROW(insert("'CAIO', 'EXECUTOU1', 'OUTRA', 'nove letras'"), firebird::DatabaseError);
    insert("'CAIO', 'EXECUTOU', NULL, 'oito letras'");
    EXPECT_EQ(query("SELECT COUNT(*) FROM USERS"), "0");
    EXPECT_EQ(query("SELECT COUNT(*) FROM TABLES"), "0");
    EXPECT_EQ(query("SELECT COUNT(*) FROM LOG"), "1");
    // The refused login had already drawn its ID: that number stays unused.
    EXPECT_NE(query("SELECT CAST(ID AS INTEGER) FROM LOG"), "1");
}

struct PathCase {
    std::string server;
    std::string path;
    std::string local;
};

TEST(ServerLocalPath, DropsTheServerPart) {
    for (const PathCase& c : {PathCase{"db01", "db01:C:\\D\\SYSTEM.DAT", "C:\\D\\SYSTEM.DAT"},
                              PathCase{"", "/d/SYSTEM.DAT", "/d/SYSTEM.DAT"},
                              PathCase{"localhost", "localhost:/d/SYSTEM.DAT", "/d/SYSTEM.DAT"}}) {
        EXPECT_EQ(serverLocalPath(c.server, c.path), c.local);
    }
}

}  // namespace
