#include "dataset/InlineTexts.h"
#include "dataset/SqlText.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

TEST(SqlText, FindsThePlainSelectOfOneTable) {
    struct Case {
        const char* sql;
        std::optional<std::string> table;
    };
    const Case cases[] = {
        {"SELECT * FROM LOG ", "LOG"},
        {"SELECT * FROM LOG WHERE (ACAO = 'X') ORDER BY ID", "LOG"},
        {"select *\n from log order by id", "log"},
        {"SELECT * FROM LOG ROWS 10", "LOG"},
        {"SELECT * FROM LOG L WHERE L.ID = 1", std::nullopt},  // an alias hides the table name
        {"SELECT * FROM LOG, ACAO", std::nullopt},
        {"SELECT * FROM LOG JOIN ACAO ON 1 = 1", std::nullopt},
        {"SELECT ID FROM LOG", std::nullopt},
        {"SELECT FIRST 5 * FROM LOG", std::nullopt},
        {"SELECT * FROM \"LOG\"", std::nullopt},
        {"/* SELECT * FROM LOG */ SELECT ID FROM LOG", std::nullopt},
    };
    for (const Case& c : cases) {
        const auto select = dataset::parseSimpleSelect(c.sql);
        ASSERT_EQ(select.has_value(), c.table.has_value()) << c.sql;
        if (select) {
            EXPECT_EQ(select->table, *c.table) << c.sql;
            EXPECT_EQ(std::string(c.sql).substr(0, select->afterStar).back(), '*') << c.sql;
        }
    }
}

TEST(SqlText, ReadsOnlyATrailingOrderByOfPlainNames) {
    using Names = std::vector<std::string>;
    struct Case {
        const char* sql;
        Names names;
    };
    const Case cases[] = {
        {"SELECT * FROM LOG ORDER BY ID", {"ID"}},
        {"SELECT * FROM LOG WHERE (LOG LIKE '%ORDER BY X%') ORDER BY data, Hora asc",
         {"DATA", "HORA"}},
        {"SELECT * FROM LOG WHERE (LOG LIKE '% ORDER BY X')", {}},
        {"SELECT * FROM (SELECT * FROM LOG ORDER BY ID)", {}},
        {"SELECT * FROM LOG ORDER BY ID DESC", {}},
        {"SELECT * FROM LOG ORDER BY 1", {}},
        {"SELECT * FROM LOG ORDER BY ID ROWS 5", {}},
        {"SELECT * FROM LOG ORDER BY ID,", {}},
        {"SELECT * FROM LOG", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dataset::trailingOrderBy(c.sql), c.names) << c.sql;
}

TEST(SqlText, InlineTextQueryAddsOneBoundedCastPerTextBlob) {
    using firebird::ColumnType;
    std::vector<firebird::ColumnInfo> columns = {
        {"ID", "LOG", ColumnType::Double, 0, 0, 0, false},
        {"LOG", "LOG", ColumnType::Blob, 0, 0, 1, true},
    };
    const auto query =
        dataset::inlineTextQuery("SELECT * FROM LOG WHERE ID > 1 ORDER BY ID", columns, 1000);
    ASSERT_TRUE(query);
    EXPECT_EQ(query->sql,
              "SELECT LOG.*, IIF(OCTET_LENGTH(LOG.\"LOG\") <= 1000, CAST(LOG.\"LOG\" AS "
              "VARCHAR(1000)), NULL) FROM LOG WHERE ID > 1 ORDER BY ID");
    EXPECT_EQ(query->inlineColumn, (std::vector<int>{-1, 2}));

    EXPECT_FALSE(dataset::inlineTextQuery("SELECT * FROM LOG", columns, 0));
    EXPECT_FALSE(dataset::inlineTextQuery("SELECT * FROM LOG L", columns, 1000));
    columns[1].relation = "OTHER";  // a view or a procedure would name another relation
    EXPECT_FALSE(dataset::inlineTextQuery("SELECT * FROM LOG", columns, 1000));
    columns[1] = {"BIN", "LOG", ColumnType::Blob, 0, 0, 0, true};  // binary blobs stay blobs
    EXPECT_FALSE(dataset::inlineTextQuery("SELECT * FROM LOG", columns, 1000));
}

}  // namespace
