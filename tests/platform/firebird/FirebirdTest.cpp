#include "firebird/DatabaseError.h"
#include "firebird/IscDate.h"
#include "firebird/SqlConnection.h"
#include "firebird/SqlDataSet.h"
#include "firebird/Statement.h"

#include "TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::HasSubstr;

void configure(firebird::SqlConnection& c, const std::string& database,
               const std::string& password = "pelicanos") {
    c.params().add("Database=" + database);
    c.params().add("User_Name=SYSDBA");
    c.params().add("Password=" + password);
    c.params().add("SQLDialect=3");
}

class FirebirdServer : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_TEST_SERVER();
        db_.emplace();
        db_->createLogTable();
        configure(connection_, db_->dsn());
        connection_.open();
    }
    std::optional<testsupport::TestDatabase> db_;
    firebird::SqlConnection connection_;
};

TEST_F(FirebirdServer, FetchesEveryColumnTypeOfTheLog) {
    connection_.execute(
        "INSERT INTO LOG VALUES (12, '2014-03-04', '08:05:07.2500', 'ANA', 'INCLUIU', NULL, "
        "'linha 1' || ASCII_CHAR(13) || ASCII_CHAR(10) || 'linha 2')");
    firebird::SqlDataSet q(connection_, "SELECT * FROM LOG");
    q.open();
    ASSERT_FALSE(q.eof());
    const auto& cols = q.columns();
    ASSERT_EQ(cols.size(), 7u);
    const std::vector<std::pair<std::string, firebird::ColumnType>> expected = {
        {"ID", firebird::ColumnType::Double},      {"DATA", firebird::ColumnType::Date},
        {"HORA", firebird::ColumnType::Time},      {"USUARIO", firebird::ColumnType::Varchar},
        {"ACAO", firebird::ColumnType::Varchar},   {"TABELA", firebird::ColumnType::Varchar},
        {"LOG", firebird::ColumnType::Blob}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(cols[i].name, expected[i].first);
        EXPECT_EQ(cols[i].type, expected[i].second) << cols[i].name;
    }
    EXPECT_FALSE(cols[0].nullable);
    EXPECT_TRUE(cols[1].nullable);
    EXPECT_EQ(cols[3].size, 30);
    EXPECT_EQ(cols[4].size, 8);
    EXPECT_EQ(cols[5].size, 31);
    EXPECT_EQ(cols[6].subType, 1);

    auto& st = q.statement();
    EXPECT_EQ(st.doubleValue(0), 12.0);
    const auto date = firebird::civilFromIscDate(st.dateValue(1));
    EXPECT_EQ(date.year * 10000 + date.month * 100 + date.day, 20140304);
    const auto time = firebird::timeOfDayFromIscTime(st.timeValue(2));
    EXPECT_EQ(std::tie(time.hour, time.minute, time.second, time.fraction),
              std::make_tuple(8, 5, 7, 2500));
    EXPECT_EQ(st.textValue(3), "ANA");
    EXPECT_EQ(st.textValue(4), "INCLUIU");
    EXPECT_TRUE(st.isNull(5));
    EXPECT_EQ(st.blobValue(6), "linha 1\r\nlinha 2");
    q.next();
    EXPECT_TRUE(q.eof());
    q.close();
}

TEST_F(FirebirdServer, ReadsLongTextsWholeAndEightBitBytesUnchanged) {
    // 100 KB, built on the server so the test does not depend on parameters.
    connection_.execute(
        "EXECUTE BLOCK AS DECLARE b BLOB SUB_TYPE TEXT = ''; DECLARE i INT = 0; BEGIN "
        "WHILE (i < 1000) DO BEGIN b = b || LPAD(i, 99, '.') || '|'; i = i + 1; END "
        "INSERT INTO LOG (ID, LOG) VALUES (1, :b); END");
    connection_.execute("INSERT INTO LOG (ID, USUARIO, LOG) VALUES (2, '\xE7\xE3', 'a\xE7\xE3z')");
    firebird::SqlDataSet q(connection_, "SELECT USUARIO, LOG FROM LOG ORDER BY ID");
    q.open();
    const std::string big = q.statement().blobValue(1);
    ASSERT_EQ(big.size(), 100000u);
    EXPECT_EQ(big.substr(0, 100), std::string(98, '.') + "0|");
    EXPECT_EQ(big.substr(99900), std::string(96, '.') + "999|");
    q.next();
    EXPECT_EQ(q.statement().textValue(0), "\xE7\xE3");
    EXPECT_EQ(q.statement().blobValue(1), "a\xE7\xE3z");
}

TEST_F(FirebirdServer, StatementErrorsCarryTheServersMessageAndCodes) {
    try {
        connection_.execute("INSERT INTO NO_SUCH_TABLE VALUES (1)");
        FAIL() << "no error";
    } catch (const firebird::DatabaseError& e) {
        EXPECT_THAT(e.what(), HasSubstr("Table unknown"));
        EXPECT_EQ(e.sqlCode(), -204);
        EXPECT_EQ(e.engineCode(), 335544569);
    }
    connection_.execute("INSERT INTO LOG (ID) VALUES (1)");
    try {
        connection_.execute("INSERT INTO LOG (ID) VALUES (1)");
        FAIL() << "no error";
    } catch (const firebird::DatabaseError& e) {
        EXPECT_EQ(e.sqlCode(), -803);
    }
}

TEST_F(FirebirdServer, EachStatementIsCommittedAsItCompletes) {
    connection_.execute("INSERT INTO LOG (ID) VALUES (5)");
    // A second connection sees the row at once.
    firebird::SqlConnection other;
    configure(other, db_->dsn());
    other.open();
    firebird::SqlDataSet q(other, "SELECT COUNT(*) FROM LOG");
    q.open();
    EXPECT_EQ(q.fieldAsText(0), "1");
}

TEST(FirebirdConnect, WrongPasswordAndUnreachableServerGiveTheServersMessage) {
    REQUIRE_TEST_SERVER();
    testsupport::TestDatabase db;
    struct Case {
        std::string database;
        std::string password;
        const char* message;
        long engineCode;
    };
    for (const Case& c :
         {Case{db.dsn(), "wrong", "Your user name and password are not defined", 335544472},
          Case{"127.0.0.1/1:" + db.directory() + "SYSTEM.DAT", "pelicanos",
               "Unable to complete network request", 335544721}}) {
        firebird::SqlConnection connection;
        configure(connection, c.database, c.password);
        try {
            connection.open();
            FAIL() << "connected to " << c.database;
        } catch (const firebird::DatabaseError& e) {
            EXPECT_THAT(e.what(), HasSubstr(c.message));
            EXPECT_EQ(e.engineCode(), c.engineCode);
            EXPECT_EQ(e.sqlCode(), -902);
        }
        EXPECT_FALSE(connection.connected());
    }
}

}  // namespace
