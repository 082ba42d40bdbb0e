#include "firebird/IscDate.h"
#include "firebird/ParamList.h"
#include "firebird/SqlConnection.h"

#include <gtest/gtest.h>

namespace {

TEST(ParamList, FirstEntryOfANameCountsWithoutRegardToCase) {
    firebird::ParamList p;
    p.add("Database=");
    p.add("User_Name=a");
    p.add("DATABASE=second");
    p.setValue("DataBase", "x:/d/SYSTEM.DAT");
    EXPECT_EQ(p.lines()[0], "Database=x:/d/SYSTEM.DAT");
    EXPECT_EQ(p.value("database"), "x:/d/SYSTEM.DAT");
    EXPECT_EQ(p.value("user_name"), "a");
    EXPECT_EQ(p.find("Missing"), std::nullopt);
    p.setValue("Role", "R");
    EXPECT_EQ(p.lines().back(), "Role=R");
}

TEST(SqlConnection, MapsItsParametersToTheAttachment) {
    firebird::SqlConnection c;
    for (const char* line : {"Database=h:/d/SYSTEM.DAT", "Password=pw", "RoleName=RoleName",
                             "ServerCharSet=", "SQLDialect=3", "Interbase TransIsolation=ReadCommited",
                             "User_Name=U", "WaitOnLocks=True"}) {
        c.params().add(line);
    }
    const auto p = c.connectionParams();
    EXPECT_EQ(p.database, "h:/d/SYSTEM.DAT");
    EXPECT_EQ(p.user, "U");
    EXPECT_EQ(p.password, "pw");
    EXPECT_EQ(p.role, "RoleName");
    EXPECT_EQ(p.charset, "");
    EXPECT_EQ(p.dialect, 3);
    const auto t = c.transactionOptions();
    EXPECT_EQ(t.isolation, firebird::TransactionOptions::Isolation::ReadCommitted);
    EXPECT_TRUE(t.wait);
}

TEST(IscDate, ConvertsBothWays) {
    struct Case {
        ISC_DATE iscDate;
        firebird::CivilDate civil;
    };
    for (const Case& c : {Case{0, {1858, 11, 17}}, Case{40587, {1970, 1, 1}},
                          Case{56720, {2014, 3, 4}}, Case{51603, {2000, 2, 29}},
                          Case{-678575, {1, 1, 1}}}) {
        const auto d = firebird::civilFromIscDate(c.iscDate);
        EXPECT_EQ(d.year, c.civil.year);
        EXPECT_EQ(d.month, c.civil.month);
        EXPECT_EQ(d.day, c.civil.day);
        EXPECT_EQ(firebird::iscDateFromCivil(c.civil), c.iscDate);
    }
    const auto t = firebird::timeOfDayFromIscTime(((8 * 60 + 5) * 60 + 7) * 10000 + 2500);
    EXPECT_EQ(t.hour, 8);
    EXPECT_EQ(t.minute, 5);
    EXPECT_EQ(t.second, 7);
    EXPECT_EQ(t.fraction, 2500);
}

}  // namespace
