#pragma once

#include "firebird/Attachment.h"
#include "widgets/MessageBox.h"

#include <optional>
#include <string>
#include <vector>

namespace testsupport {

// The Firebird server the database tests run against, from TRACORA_TEST_SERVER.
std::optional<std::string> testServer();

#define REQUIRE_TEST_SERVER()                                                          \
    do {                                                                               \
        if (!::testsupport::testServer()) {                                            \
            GTEST_SKIP() << "no Firebird test server: set TRACORA_TEST_SERVER (the "   \
                            "README's test command starts one and sets it)";          \
        }                                                                              \
    } while (0)

// A fresh directory, removed with everything in it. The server's own user
// must be able to create databases in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    // Ends with "/".
    const std::string& path() const noexcept { return path_; }
    std::string file(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

// A new empty database SYSTEM.DAT in a fresh directory on the test server.
class TestDatabase {
public:
    TestDatabase();
    const std::string& directory() const noexcept { return dir_.path(); }
    // "server:directorySYSTEM.DAT"
    std::string dsn() const;
    firebird::Attachment attachAsSysdba() const;
    // Creates table LOG as the log schema declares it.
    void createLogTable() const;
    void execute(const std::string& sql) const;

private:
    TempDir dir_;
};

// Collects the message boxes shown while it lives, instead of showing them.
class MessageCatcher {
public:
    MessageCatcher();
    ~MessageCatcher();
    std::vector<widgets::MessageRequest> messages;

private:
    widgets::MessageInterceptor previous_;
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& content);

}  // namespace testsupport
