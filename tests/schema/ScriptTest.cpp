#include "firebird/ScriptRunner.h"
#include "schema/Schema.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using Kind = firebird::ScriptStep::Kind;

TEST(ScriptSplit, HonoursSetTermAndCommitWork) {
    const auto steps = firebird::splitScript(
        "CREATE TABLE A (X INT);\nSET TERM ^ ;\nCREATE TRIGGER T FOR A AS BEGIN X = ';'; END\n ^\n"
        "COMMIT WORK ^\nSET TERM ; ^\nSELECT 1 FROM RDB$DATABASE");
    ASSERT_EQ(steps.size(), 6u);
    EXPECT_EQ(steps[0].text, "CREATE TABLE A (X INT)");
    EXPECT_EQ(steps[1].kind, Kind::SetTerm);
    EXPECT_EQ(steps[1].text, "^");
    EXPECT_EQ(steps[2].text, "CREATE TRIGGER T FOR A AS BEGIN X = ';'; END");
    EXPECT_EQ(steps[3].kind, Kind::Commit);
    EXPECT_EQ(steps[4].kind, Kind::SetTerm);
    EXPECT_EQ(steps[4].text, ";");
    EXPECT_EQ(steps[5].text, "SELECT 1 FROM RDB$DATABASE");
}

TEST(LogSchema, RunsItsStatementsInOrder) {
    std::vector<std::string> firstLines;
    std::vector<Kind> kinds;
    for (const auto& step : firebird::splitScript(schema::logSchemaScript())) {
        kinds.push_back(step.kind);
        firstLines.push_back(step.text.substr(0, step.text.find('\n')));
    }
    EXPECT_THAT(
        firstLines,
        ::testing::ElementsAre("CREATE TABLE ACAO (", "CREATE TABLE LOG (", "CREATE TABLE TABLES (",
                               "CREATE TABLE USERS (", "CREATE INDEX IX_DATA ON LOG(DATA)",
                               "CREATE GENERATOR GEN_LOG", "^", "CREATE TRIGGER TBI_LOG FOR LOG",
                               "CREATE TRIGGER TBI_LOG_USERS FOR LOG",
                               "CREATE TRIGGER TBI_LOG_TABLES FOR LOG", "", ";"));
    EXPECT_EQ(kinds[10], Kind::Commit);
    EXPECT_EQ(schema::kActionVocabulary.front(), "INCLUIU");
    EXPECT_EQ(schema::kActionVocabulary[3].size(), 8u);
}

}  // namespace
