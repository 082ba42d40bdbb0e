#include "dataset/Provider.h"
#include "dataset/XmlPacket.h"

#include "firebird/DatabaseError.h"
#include "firebird/SqlConnection.h"
#include "firebird/SqlDataSet.h"
#include "firebird/Transaction.h"

#include "TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

#include <future>
#include <optional>
#include <string>
#include <thread>

namespace {

using dataset::FieldType;

// Bytes 1..255 in an order that shows any shifted or reordered piece.
std::string textOf(std::size_t size, unsigned seed) {
    std::string text(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        text[i] = static_cast<char>((i * 131 + seed + i / 997) % 255 + 1);
    return text;
}

class ProviderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        REQUIRE_TEST_SERVER();
        db_.emplace();
        db_->createLogTable();
        db_->execute("CREATE INDEX IX_DATA ON LOG(DATA)");
        auto& p = connection_.params();
        p.add("Database=" + db_->dsn());
        p.add("User_Name=SYSDBA");
        p.add("Password=pelicanos");
        p.add("LocaleCode=0000");
        p.add("SQLDialect=3");
        connection_.open();
    }

    // The text goes in as a blob written piece by piece, whatever its size.
    void insertText(int id, const std::optional<std::string>& text) {
        const std::string sql = "INSERT INTO LOG (ID, DATA, HORA, USUARIO, ACAO, LOG) VALUES (" +
                                std::to_string(id) +
                                ", '2014-03-04', '08:05:07.25', 'ANA', 'SQL', ?)";
        firebird::Transaction tr = firebird::Transaction::start(connection_.attachment());
        ISC_QUAD blob{};
        short nullFlag = text ? 0 : -1;
        if (text) {
            firebird::StatusVector sv;
            isc_blob_handle handle = 0;
            isc_create_blob2(sv.get(), connection_.attachment().handle(), tr.handle(), &handle,
                             &blob, 0, nullptr);
            sv.check();
            for (std::size_t at = 0; at < text->size(); at += 32000) {
                const auto n =
                    static_cast<unsigned short>(std::min<std::size_t>(32000, text->size() - at));
                isc_put_segment(sv.get(), &handle, n, text->data() + at);
                sv.check();
            }
            isc_close_blob(sv.get(), &handle);
            sv.check();
        }
        XSQLDA in{};
        in.version = SQLDA_VERSION1;
        in.sqln = in.sqld = 1;
        in.sqlvar[0].sqltype = SQL_BLOB + 1;
        in.sqlvar[0].sqllen = sizeof blob;
        in.sqlvar[0].sqldata = reinterpret_cast<char*>(&blob);
        in.sqlvar[0].sqlind = &nullFlag;
        firebird::StatusVector sv;
        isc_dsql_execute_immediate(sv.get(), connection_.attachment().handle(), tr.handle(), 0,
                                   sql.c_str(), 3, &in);
        sv.check();
        tr.commit();
    }

    void insertRows(int count) {
        connection_.execute(
            "EXECUTE BLOCK AS DECLARE i INT = 1; BEGIN WHILE (i <= " + std::to_string(count) +
            ") DO BEGIN INSERT INTO LOG (ID, USUARIO, LOG) VALUES (:i, 'U', 'texto ' || :i); "
            "i = i + 1; END END");
    }

    std::optional<testsupport::TestDatabase> db_;
    firebird::SqlConnection connection_;
};

TEST_F(ProviderTest, FieldsComeFromTheDescriptionAndRowsInOrder) {
    connection_.execute(
        "INSERT INTO LOG VALUES (2, '2014-03-04', '00:00:05', 'D''AVILA', 'EXECUTOU', NULL, "
        "'A&B, <x>' || ASCII_CHAR(13) || ASCII_CHAR(10) || 'C:\\DIR')");
    connection_.execute(
        "INSERT INTO LOG (ID, USUARIO, TABELA, LOG) VALUES (1, '\xE7\xE3', '', '')");
    firebird::SqlDataSet sql(connection_, "SELECT * FROM LOG ORDER BY ID");
    dataset::Provider provider(sql);
    dataset::ResultSet set;
    provider.open(set);
    ASSERT_TRUE(set.active());
    EXPECT_TRUE(provider.inlinedTexts());

    struct Expected {
        const char* name;
        FieldType type;
        int size;
        bool required;
    };
    const Expected expected[] = {
        {"ID", FieldType::Float, 0, true},     {"DATA", FieldType::Date, 0, false},
        {"HORA", FieldType::Time, 0, false},   {"USUARIO", FieldType::String, 30, false},
        {"ACAO", FieldType::String, 8, false}, {"TABELA", FieldType::String, 31, false},
        {"LOG", FieldType::Memo, 0, false}};
    ASSERT_EQ(set.fields().size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const dataset::FieldDef& f = set.fields()[i];
        EXPECT_EQ(f.name, expected[i].name);
        EXPECT_EQ(f.type, expected[i].type) << f.name;
        EXPECT_EQ(f.size, expected[i].size) << f.name;
        EXPECT_EQ(f.required, expected[i].required) << f.name;
    }

    ASSERT_EQ(set.recordCount(), 2u);
    EXPECT_EQ(set.floatValue(0, 0), 1.0);
    EXPECT_TRUE(set.isNull(0, 1));
    EXPECT_EQ(set.text(0, 3), "\xE7\xE3");
    EXPECT_FALSE(set.isNull(0, 5));
    EXPECT_FALSE(set.isNull(0, 6));
    EXPECT_EQ(set.text(0, 6), "");
    const auto date = set.date(1, 1);
    EXPECT_EQ(std::tie(date.year, date.month, date.day), std::make_tuple(2014, 3, 4));
    EXPECT_TRUE(set.isNull(1, 5));

    EXPECT_EQ(dataset::toXmlPacket(set).substr(dataset::toXmlPacket(set).find("<PARAMS")),
              "<PARAMS DEFAULT_ORDER=\"1\" PRIMARY_KEY=\"1\" UNIQUE_KEY=\"1\" "
              "LCID=\"0\"/></METADATA><ROWDATA>"
              "<ROW ID=\"1\" USUARIO=\"\xE7\xE3\" TABELA=\"\"/>"
              "<ROW ID=\"2\" DATA=\"20140304\" HORA=\"00:00:05000\" USUARIO=\"D&apos;AVILA\" "
              "ACAO=\"EXECUTOU\" LOG=\"A&amp;B, "
              "&lt;x&gt;&#013;&#010;C:&#092;DIR\"/></ROWDATA></DATAPACKET>");
}

TEST_F(ProviderTest, EveryTextArrivesWholeWhateverItsSize) {
    const std::size_t n = dataset::Provider::kDefaultInlineLimit;
    const std::vector<std::optional<std::string>> texts = {std::string("a\xE7\xE3o \x80\xFF"),
                                                           std::string(),
                                                           std::nullopt,
                                                           textOf(n - 1, 1),
                                                           textOf(n, 2),
                                                           textOf(n + 1, 3),
                                                           textOf(100'000, 4),
                                                           textOf(10'000'000, 5),
                                                           textOf(16, 6),
                                                           textOf(17, 7)};
    for (std::size_t i = 0; i < texts.size(); ++i)
        insertText(static_cast<int>(i) + 1, texts[i]);

    // Every blob read, the inline texts of the chosen limit, and a limit that the short ones cross.
    for (const std::size_t limit : {std::size_t{0}, n, std::size_t{16}}) {
        SCOPED_TRACE("limit " + std::to_string(limit));
        firebird::SqlDataSet sql(connection_, "SELECT * FROM LOG WHERE ID > 0 ORDER BY ID");
        dataset::Provider provider(sql);
        provider.setInlineTextLimit(limit);
        dataset::ResultSet set;
        provider.open(set);
        EXPECT_EQ(provider.inlinedTexts(), limit != 0);
        ASSERT_EQ(set.recordCount(), texts.size());
        for (std::size_t r = 0; r < texts.size(); ++r) {
            EXPECT_EQ(set.isNull(r, 6), !texts[r].has_value()) << "row " << r;
            // Compared by hand: a failure must not print ten megabytes.
            const std::string_view got = set.text(r, 6);
            const std::string& want = texts[r].value_or("");
            EXPECT_EQ(got.size(), want.size()) << "row " << r;
            EXPECT_TRUE(got == want) << "row " << r;
            EXPECT_EQ(set.text(r, 3), "ANA");
            EXPECT_EQ(set.time(r, 2).millisecond, 250);
        }
    }
}

TEST_F(ProviderTest, PacketAttributesFollowTheStatementAndTheTable) {
    connection_.execute(
        "CREATE TABLE PAIR (A DOUBLE PRECISION NOT NULL, B VARCHAR(5) NOT NULL, C VARCHAR(5), "
        "PRIMARY KEY (B, A))");
    connection_.execute("CREATE UNIQUE INDEX UQ_C ON PAIR (C)");
    struct Case {
        const char* sql;
        const char* localeCode;
        dataset::PacketParams params;
    };
    const Case cases[] = {
        {"SELECT * FROM LOG ORDER BY ID", "0000", {{1}, {1}, {1}, 0}},
        {"SELECT LOG, ID FROM LOG ORDER BY LOG, ID", "0416", {{1, 2}, {2}, {2}, 0x416}},
        {"SELECT USUARIO FROM LOG", "", {{}, {}, {}, 0}},  // the key is not in the set
        {"SELECT * FROM LOG ORDER BY ID DESC", "0000", {{}, {1}, {1}, 0}},
        {"SELECT * FROM LOG L JOIN LOG M ON M.ID = L.ID", "0000", {{}, {}, {}, 0}},  // ID twice
        // The primary key counts as the unique key before any other unique index.
        {"SELECT C, A, B FROM PAIR ORDER BY B", "0000", {{3}, {3, 2}, {3, 2}, 0}},
    };
    for (const Case& c : cases) {
        connection_.params().setValue("LocaleCode", c.localeCode);
        firebird::SqlDataSet sql(connection_, c.sql);
        dataset::Provider provider(sql);
        dataset::ResultSet set;
        provider.open(set);
        EXPECT_EQ(set.params().defaultOrder, c.params.defaultOrder) << c.sql;
        EXPECT_EQ(set.params().primaryKey, c.params.primaryKey) << c.sql;
        EXPECT_EQ(set.params().uniqueKey, c.params.uniqueKey) << c.sql;
        EXPECT_EQ(set.params().lcid, c.params.lcid) << c.sql;
    }
}

TEST_F(ProviderTest, FailedStatementLeavesTheSetClosedAndTheConnectionUsable) {
    insertRows(3);
    firebird::SqlDataSet sql(connection_, "SELECT * FROM LOG ORDER BY ID");
    dataset::Provider provider(sql);
    dataset::ResultSet set;
    std::vector<dataset::ResultSetEvent> events;
    set.subscribe([&](dataset::ResultSetEvent e) { events.push_back(e); });
    provider.open(set);

    // Refused by the server, and a column the set has no type for.
    for (const char* failing : {"SELECT * FROM NO_SUCH_TABLE", "SELECT COUNT(*) FROM LOG"}) {
        sql.setCommandText(failing);
        EXPECT_THROW(provider.open(set), firebird::DatabaseError) << failing;
        EXPECT_FALSE(set.active());
    }
    EXPECT_EQ(events,
              (std::vector{dataset::ResultSetEvent::Opened, dataset::ResultSetEvent::Closed}));

    sql.setCommandText("SELECT * FROM LOG WHERE ID >= 2 ORDER BY ID");
    provider.open(set);
    EXPECT_EQ(set.recordCount(), 2u);
}

TEST_F(ProviderTest, CancelFromAnotherThreadEndsTheOpenAndTheConnectionGoesOn) {
    insertRows(20000);
    firebird::SqlDataSet sql(connection_, "SELECT * FROM LOG ORDER BY ID");
    dataset::Provider provider(sql);
    std::promise<void> fetching, cancelled;
    std::size_t calls = 0;
    provider.setProgress(
        [&](std::size_t rows) {
            EXPECT_EQ(rows, 1000 * ++calls);
            if (calls == 1) {
                fetching.set_value();
                cancelled.get_future().wait();
            }
        },
        1000);
    dataset::ResultSet set;
    std::thread canceller([&] {
        fetching.get_future().wait();
        provider.cancel();
        cancelled.set_value();
    });
    try {
        provider.open(set);
        ADD_FAILURE() << "not cancelled";
    } catch (const firebird::DatabaseError& e) {
        EXPECT_EQ(e.engineCode(), isc_cancelled);
    }
    canceller.join();
    EXPECT_FALSE(set.active());

    // Nothing of the cancel is left over for the next statements.
    provider.setProgress(nullptr);
    provider.open(set);
    EXPECT_EQ(set.recordCount(), 20000u);
    connection_.execute("INSERT INTO LOG (ID) VALUES (0)");
}

TEST_F(ProviderTest, AWaitingCallerCancelsWhatTheServerIsStillWorkingOn) {
    insertRows(10);
    // Seconds of work on the server before it could give a first row.
    firebird::SqlDataSet sql(connection_,
                             "SELECT l.* FROM LOG l, RDB$FIELDS a, RDB$FIELDS b, RDB$FIELDS c "
                             "WHERE a.RDB$FIELD_NAME = b.RDB$FIELD_NAME || 'x'");
    dataset::Provider provider(sql);
    std::vector<std::size_t> seen;
    const auto caller = std::this_thread::get_id();
    provider.setWaiting(
        [&](std::size_t rows) {
            EXPECT_EQ(std::this_thread::get_id(), caller);
            seen.push_back(rows);
            if (seen.size() == 3)
                provider.cancel();
        },
        std::chrono::milliseconds(20));
    dataset::ResultSet set;
    try {
        provider.open(set);
        ADD_FAILURE() << "not cancelled";
    } catch (const firebird::DatabaseError& e) {
        EXPECT_EQ(e.engineCode(), isc_cancelled);
    }
    EXPECT_FALSE(set.active());
    EXPECT_GE(seen.size(), 3u);
    EXPECT_EQ(seen.front(), 0u);

    // Waiting the whole way through brings every row, on the caller's thread.
    sql.setCommandText("SELECT * FROM LOG ORDER BY ID");
    seen.clear();
    provider.setWaiting([&](std::size_t rows) { seen.push_back(rows); });
    provider.open(set);
    EXPECT_EQ(set.recordCount(), 10u);
    EXPECT_FALSE(seen.empty());
}

}  // namespace
