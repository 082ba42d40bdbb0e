#pragma once

#include <string>

#include <sys/types.h>

namespace testsupport {

// A Firebird server of the test's own, on a port of its own, that the test
// may stop, kill and start again without disturbing the shared test server.
// Its root (configuration, security database with SYSDBA) lives in a
// temporary directory made by the project's embedded-root script.
class PrivateServer {
  public:
    PrivateServer();
    ~PrivateServer();
    PrivateServer(const PrivateServer&) = delete;
    PrivateServer& operator=(const PrivateServer&) = delete;

    // Starts the server and waits until it answers; throws when it does not.
    void start();
    // Stops it as an administrator would (SIGTERM) and waits for it to end.
    void stop();
    // Ends it at once, as a crash would.
    void kill();
    bool running() const noexcept { return pid_ > 0; }

    // "localhost/port", as the viewer's server setting names it.
    std::string host() const;

  private:
    void end(int signal);

    std::string root_;
    int port_ = 0;
    pid_t pid_ = -1;
};

}  // namespace testsupport
