#pragma once

#include "Dados_Log/Dados_Log.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

// A viewer directory with its system.ini, a database directory, the messages
// shown and the alert sounds played while the data module is created.
class ProvisioningTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    void writeSettings(const std::string& server, const std::string& directory);
    // Creates the data module as start-up does.
    void createModule();
    // One column of one row, by the viewer's own connection.
    std::string query(const std::string& sql);
    // The log account, as the server's administrator sees it.
    static bool logAccountExists(const std::string& server);
    static void removeLogAccount(const std::string& server);

    testsupport::TempDir exeDir_;
    testsupport::TempDir dbDir_;
    testsupport::MessageCatcher messages_;
    int alerts_ = 0;
    std::unique_ptr<TdmLog> module_;
};
