#include "dataset/RowStore.h"
#include "dataset/Values.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using dataset::FieldType;

std::vector<dataset::FieldDef> logFields() {
    return {{"ID", FieldType::Float, 0, true},     {"DATA", FieldType::Date, 0, false},
            {"HORA", FieldType::Time, 0, false},   {"USUARIO", FieldType::String, 30, false},
            {"ACAO", FieldType::String, 8, false}, {"TABELA", FieldType::String, 31, false},
            {"LOG", FieldType::Memo, 0, false}};
}

TEST(RowStore, KeepsEveryValueOfEveryRowAndNullsReadAsEmpty) {
    dataset::RowStore rows(logFields());
    const std::string big(300'000, '\xE7');  // past the arena's chunk: a block of its own
    dataset::appendRow(
        rows, {1.5, firebird::CivilDate{2014, 3, 4}, dataset::TimeValue{8, 5, 7, 250}, "ANA",
               "INCLUIU", "CLIENTE", std::string_view(big)});
    dataset::appendRow(rows, {2.0, nullptr, nullptr, "", nullptr, nullptr, ""});
    for (int i = 0; i < 5000; ++i) {
        const std::string text = "linha " + std::to_string(i);
        dataset::appendRow(rows, {3.0 + i, nullptr, nullptr, "U", "SQL", nullptr, text});
    }
    ASSERT_EQ(rows.size(), 5002u);

    EXPECT_EQ(rows.floatValue(0, 0), 1.5);
    EXPECT_EQ(rows.dateValue(0, 1), firebird::iscDateFromCivil({2014, 3, 4}));
    const auto t = dataset::timeValueFromIscTime(rows.timeValue(0, 2));
    EXPECT_EQ(std::tie(t.hour, t.minute, t.second, t.millisecond), std::make_tuple(8, 5, 7, 250));
    EXPECT_EQ(rows.text(0, 3), "ANA");
    EXPECT_EQ(rows.text(0, 5), "CLIENTE");
    EXPECT_EQ(rows.text(0, 6), big);

    // Empty texts are values, not nulls; a null after a value reads as zero.
    EXPECT_FALSE(rows.isNull(1, 3));
    EXPECT_EQ(rows.text(1, 3), "");
    EXPECT_FALSE(rows.isNull(1, 6));
    EXPECT_TRUE(rows.isNull(1, 1));
    EXPECT_EQ(rows.dateValue(1, 1), 0);
    EXPECT_TRUE(rows.isNull(1, 4));
    EXPECT_EQ(rows.text(1, 4), "");

    EXPECT_EQ(rows.floatValue(5001, 0), 5002.0);
    EXPECT_EQ(rows.text(5001, 6), "linha 4999");
    EXPECT_EQ(rows.text(5001, 4), "SQL");
}

TEST(RowStore, RefusesWrongTypesAndPositionsAndLeavesThePendingRowClean) {
    dataset::RowStore rows(logFields());
    EXPECT_THROW(dataset::appendRow(rows, {1.0, nullptr, nullptr, 5.0, nullptr, nullptr, nullptr}),
                 std::invalid_argument);
    EXPECT_THROW(dataset::appendRow(rows, {1.0}), std::invalid_argument);
    dataset::appendRow(rows, {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr});
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_TRUE(rows.isNull(0, 0));  // the refused row's 1.0 did not leak into this one
    EXPECT_THROW((void)rows.text(0, 0), std::invalid_argument);
    EXPECT_THROW((void)rows.text(1, 3), std::out_of_range);
    EXPECT_THROW((void)rows.isNull(0, 7), std::out_of_range);
}

TEST(RowStore, HoldsLittleMoreThanTheValuesThemselvesAtAnySize) {
    const std::string text(200, 'x');
    const std::size_t valueBytes = 8 + 4 + 4 + 7 + 7 + 8 + 200;
    for (const int count : {1000, 10000, 20000, 150000}) {
        dataset::RowStore rows(logFields());
        for (int i = 0; i < count; ++i) {
            dataset::appendRow(
                rows, {double(i), firebird::CivilDate{2014, 3, 4}, dataset::TimeValue{8, 0, 0, 0},
                       "USUARIO", "INCLUIU", "CLIENTES", std::string_view(text)});
        }
        EXPECT_EQ(rows.rowBytes(), count * valueBytes);
        EXPECT_GE(rows.bytesHeld(), rows.rowBytes());
        EXPECT_LE(rows.bytesHeld(), rows.rowBytes() * 3 / 2)
            << count << " rows: " << double(rows.bytesHeld()) / double(rows.rowBytes()) << "x";
    }
}

}  // namespace
