#include "ProvisioningFixture.h"

#include <gmock/gmock.h>

#include <sys/stat.h>
#include <cstdlib>
#include <filesystem>

namespace {

using ::testing::StartsWith;

// The client library reads its root once, at its first call: point it at the
// private root before any test runs.
const bool kEmbeddedRoot = [] {
    const char* root = std::getenv("TRACORA_EMBEDDED_ROOT");
    if (root == nullptr || *root == '\0')
        return false;
    setenv("FIREBIRD", root, 1);
    setenv("FIREBIRD_LOCK", (std::string(root) + "/lock").c_str(), 1);
    return true;
}();

class EmbeddedProvisioning : public ProvisioningTest {
  protected:
    void SetUp() override {
        if (!kEmbeddedRoot) {
            GTEST_SKIP() << "no private embedded root: set TRACORA_EMBEDDED_ROOT (the README's "
                            "test command makes one with scripts/embedded-root.sh)";
        }
        ProvisioningTest::SetUp();
    }
};

TEST_F(EmbeddedProvisioning, BlankServerProvisionsWithTheLocalEngine) {
    writeSettings("", dbDir_.path());
    createModule();
    for (const auto& m : messages_.messages)
        ADD_FAILURE() << m.text.toStdString();
    ASSERT_TRUE(module_->BDLog.connected());
    EXPECT_TRUE(logAccountExists(""));
    EXPECT_EQ(query("SELECT TRIM(MON$OWNER) FROM MON$DATABASE"), "MBCXOVA8");
    EXPECT_EQ(query("SELECT MON$FORCED_WRITES FROM MON$DATABASE"), "1");
    EXPECT_EQ(query("SELECT COUNT(*) FROM RDB$TRIGGERS WHERE RDB$RELATION_NAME = 'LOG'"), "3");
    EXPECT_TRUE(std::filesystem::exists(dbDir_.file("SYSTEM.DAT")));
    EXPECT_FALSE(std::filesystem::exists(dbDir_.file("SYSTEM.DAT.grant")));
    module_.reset();

    createModule();
    EXPECT_TRUE(messages_.messages.empty());
    EXPECT_TRUE(module_->BDLog.connected());
}

TEST_F(EmbeddedProvisioning, UnwritableSettingsLeadIntoProvisioningWithAnEmptyPath) {
    // Root is not stopped by a read-only directory: a directory in the way is.
    ASSERT_EQ(::mkdir(exeDir_.file("system.ini").c_str(), 0755), 0);
    createModule();
    ASSERT_EQ(messages_.messages.size(), 2u);
    EXPECT_EQ(alerts_, 1);
    EXPECT_THAT(messages_.messages[0].text.toStdString(),
                StartsWith("Erro criando o Banco de Dados!  ISC# "));
    EXPECT_EQ(messages_.messages[1].caption, "Tracora");
    EXPECT_FALSE(module_->BDLog.connected());
    EXPECT_EQ(module_->BDExecScript.params().value("Database"), "");
}

}  // namespace
