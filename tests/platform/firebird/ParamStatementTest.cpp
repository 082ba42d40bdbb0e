#include "firebird/BulkWriter.h"
#include "firebird/DatabaseError.h"
#include "firebird/NamedParams.h"
#include "firebird/ParamStatement.h"
#include "firebird/SqlConnection.h"
#include "firebird/SqlDataSet.h"

#include "TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST(NamedParams, PlaceholdersOutsideQuotesAndCommentsBecomeQuestionMarks) {
    struct Case {
        const char* sql;
        const char* positional;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"INSERT INTO LOG (USUARIO, ACAO, TABELA, LOG) \r\nVALUES (:USUARIO, :ACAO, :TABELA, :LOG)",
         "INSERT INTO LOG (USUARIO, ACAO, TABELA, LOG) \r\nVALUES (?, ?, ?, ?)",
         {"USUARIO", "ACAO", "TABELA", "LOG"}},
        {"SELECT ':NAO', \"A:B\", 'it''s :X' FROM T WHERE A=:a_1$ AND B = ?",
         "SELECT ':NAO', \"A:B\", 'it''s :X' FROM T WHERE A=? AND B = ?",
         {"a_1$", ""}},
        {"UPDATE T SET A = :A -- :B\n, C = /* :C */ :A",
         "UPDATE T SET A = ? -- :B\n, C = /* :C */ ?",
         {"A", "A"}},
        // A colon that starts no name stays; an unclosed quote runs to the end.
        {"SELECT 1 :: 2, : X, :9 FROM T WHERE A = ':",
         "SELECT 1 :: 2, : X, :9 FROM T WHERE A = ':",
         {}},
    };
    for (const Case& c : cases) {
        const auto out = firebird::toPositionalParams(c.sql);
        EXPECT_EQ(out.sql, c.positional) << c.sql;
        EXPECT_EQ(out.names, c.names) << c.sql;
    }
}

class ParamStatementTest : public ::testing::Test {
  protected:
    void SetUp() override {
        REQUIRE_TEST_SERVER();
        db_.emplace();
        db_->createLogTable();
        connection_.params().add("Database=" + db_->dsn());
        connection_.params().add("User_Name=SYSDBA");
        connection_.params().add("Password=pelicanos");
        connection_.open();
    }

    struct Row {
        std::optional<std::string> usuario, acao, tabela, log;
        bool operator==(const Row&) const = default;
    };
    // Every row, read by a connection of its own, so only committed rows count.
    std::vector<Row> committedRows() {
        firebird::SqlConnection reader;
        reader.params() = connection_.params();
        reader.open();
        firebird::SqlDataSet q(reader, "SELECT USUARIO, ACAO, TABELA, LOG FROM LOG ORDER BY ID");
        q.open();
        std::vector<Row> rows;
        auto value = [&](int column) -> std::optional<std::string> {
            if (q.statement().isNull(column))
                return std::nullopt;
            return q.fieldAsText(column);
        };
        for (; !q.eof(); q.next())
            rows.push_back({value(0), value(1), value(2), value(3)});
        q.close();
        return rows;
    }

    static constexpr const char* kInsert =
        "INSERT INTO LOG (ID, USUARIO, ACAO, TABELA, LOG) VALUES (:ID, :USUARIO, :ACAO, :TABELA, "
        ":LOG)";

    std::optional<testsupport::TestDatabase> db_;
    firebird::SqlConnection connection_;
};

TEST_F(ParamStatementTest, StringsAndTextBlobsArriveAsTheirBytes) {
    std::string everyByte;
    for (int b = 1; b < 256; ++b)
        everyByte += static_cast<char>(b);
    // Around the segment size, so a text of several segments is joined exactly.
    std::string segments;
    for (int i = 0; segments.size() < 2 * firebird::ParamStatement::kSegmentSize + 1; ++i)
        segments += std::to_string(i) + "\xE7\xE3\r\n";
    const std::vector<Row> rows = {
        {"JOS\xC9", "INCLUIU", "CLIENTES", "a\xE7\xE3o\r\nsegunda linha"},
        {"ANA", "SAIU", std::nullopt, ""},
        {"", "MSG", "T", everyByte},
        {"B", "ERRO", "T", std::string(firebird::ParamStatement::kSegmentSize, 'x')},
        {"C", "SQL", "T", segments},
        {"D", "MSG", "T", std::string(firebird::ParamStatement::kInlineTextLimit, '\xE9')},
        {std::nullopt, std::nullopt, std::nullopt, std::nullopt},
    };

    firebird::Transaction tr = firebird::Transaction::start(connection_.attachment());
    auto st = firebird::ParamStatement::prepare(connection_.attachment(), tr, kInsert);
    EXPECT_THAT(st.paramNames(), ElementsAre("ID", "USUARIO", "ACAO", "TABELA", "LOG"));
    EXPECT_EQ(st.paramIndex("tabela"), 3);
    EXPECT_EQ(st.paramIndex("NADA"), -1);
    int id = 0;
    // Once as blobs of their own, once as texts the server makes blobs of.
    for (const bool asBlob : {true, false})
        for (const Row& r : rows) {
            // The server turns the text into the column's number.
            st.setString("ID", std::to_string(++id));
            const std::pair<const char*, const std::optional<std::string>*> texts[] = {
                {"USUARIO", &r.usuario}, {"ACAO", &r.acao}, {"TABELA", &r.tabela}};
            for (auto [name, value] : texts) {
                if (*value)
                    st.setString(name, **value);
                else
                    st.setNull(name);
            }
            if (r.log && asBlob)
                st.setTextBlob("log", *r.log);
            else if (r.log)
                st.setText("log", *r.log);
            else
                st.setNull("LOG");
            st.execute();
        }
    st = firebird::ParamStatement();
    tr.commit();
    std::vector<Row> twice = rows;
    twice.insert(twice.end(), rows.begin(), rows.end());
    EXPECT_EQ(committedRows(), twice);
}

TEST_F(ParamStatementTest, ValuesStayBetweenRunsAndOneNameFillsEveryPlace) {
    firebird::Transaction tr = firebird::Transaction::start(connection_.attachment());
    auto st = firebird::ParamStatement::prepare(
        connection_.attachment(), tr,
        "INSERT INTO LOG (ID, USUARIO, ACAO, TABELA) VALUES (?, :N, 'X', :N)");
    EXPECT_THAT(st.paramNames(), ElementsAre("", "N", "N"));
    st.setStringAt(0, "1");
    st.setString("n", "ANA");
    st.execute();
    st.setStringAt(0, "2");
    st.execute();
    st = firebird::ParamStatement();
    tr.commit();
    const Row ana{"ANA", "X", "ANA", std::nullopt};
    EXPECT_EQ(committedRows(), (std::vector<Row>{ana, ana}));
}

TEST_F(ParamStatementTest, MistakesAndTheServersRefusalsThrow) {
    firebird::Transaction tr = firebird::Transaction::start(connection_.attachment());
    auto st = firebird::ParamStatement::prepare(connection_.attachment(), tr, kInsert);
    EXPECT_THROW(st.setString("NADA", "x"), firebird::DatabaseError);
    EXPECT_THROW(st.setNullAt(5), firebird::DatabaseError);
    st.setString("ID", "1");
    st.setString("USUARIO", "ANA");
    st.setString("ACAO", "INCLUIU");
    st.setNull("TABELA");
    try {
        st.execute();
        FAIL() << "ran without a value for LOG";
    } catch (const firebird::DatabaseError& e) {
        EXPECT_THAT(e.what(), HasSubstr("LOG"));
    }
    st.setTextBlob("LOG", "texto");
    st.setString("ACAO", "EXECUTOU1");  // one letter more than the column holds
    try {
        st.execute();
        FAIL() << "a 9-letter action was accepted";
    } catch (const firebird::DatabaseError& e) {
        EXPECT_THAT(e.what(), HasSubstr("string right truncation"));
    }
    // A failed run leaves the transaction usable.
    st.setString("ACAO", "EXECUTOU");
    st.execute();
    st = firebird::ParamStatement();
    tr.commit();
    EXPECT_EQ(committedRows(), (std::vector<Row>{{"ANA", "EXECUTOU", std::nullopt, "texto"}}));

    firebird::Transaction other = firebird::Transaction::start(connection_.attachment());
    EXPECT_THROW(firebird::ParamStatement::prepare(connection_.attachment(), other,
                                                   "SELECT * FROM LOG WHERE ID = :ID"),
                 firebird::DatabaseError);
}

TEST_F(ParamStatementTest, BulkWriterCommitsEveryNRowsAndRollsBackTheRest) {
    {
        firebird::BulkWriter writer(connection_.attachment(), kInsert, 3);
        auto& st = writer.statement();
        st.setString("USUARIO", "ANA");
        st.setString("ACAO", "INCLUIU");
        st.setString("TABELA", "CLIENTES");
        for (int id = 1; id <= 7; ++id) {
            st.setString("ID", std::to_string(id));
            st.setTextBlob("LOG", "entrada " + std::to_string(id));
            writer.execute();
            EXPECT_EQ(committedRows().size(), static_cast<std::size_t>(id / 3 * 3)) << id;
        }
        EXPECT_EQ(writer.committed(), 6u);
        writer.commit();
        EXPECT_EQ(committedRows().size(), 7u);
        // After a commit the next rows go into a new transaction.
        st.setString("ID", "8");
        writer.execute();
        st.setString("ID", "9");
        writer.execute();
        EXPECT_EQ(writer.executed(), 9u);
    }
    const auto rows = committedRows();
    ASSERT_EQ(rows.size(), 7u) << "rows not committed survived the writer";
    EXPECT_EQ(rows.back().log, "entrada 7");
}

}  // namespace
