#include "PrivateServer.h"

#include "firebird/ServiceManager.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>
#include <vector>

extern char** environ;

namespace testsupport {

namespace {

constexpr const char* kServerBinary = "/usr/sbin/firebird";

int freePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (fd >= 0)
            ::close(fd);
        throw std::runtime_error("no free port for a private Firebird server");
    }
    ::close(fd);
    return ntohs(address.sin_port);
}

bool answers(const std::string& host) {
    try {
        firebird::ServiceManager s;
        s.protocol = firebird::ServiceManager::Protocol::Tcp;
        s.serverName = host;
        s.userName = "SYSDBA";
        s.password = "pelicanos";
        s.attach();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

PrivateServer::PrivateServer() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "tracora-fbserver-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    root_ = pattern;
    const std::string command = std::string("sh '") + TRACORA_SOURCE_DIR +
                                "/scripts/embedded-root.sh' '" + root_ + "' >/dev/null";
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("could not make a Firebird root in " + root_);
    port_ = freePort();
    std::ofstream conf(root_ + "/firebird.conf", std::ios::app);
    conf << "RemoteServicePort = " << port_ << "\nRemoteBindAddress = 127.0.0.1\n";
}

PrivateServer::~PrivateServer() {
    if (running())
        kill();
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
}

std::string PrivateServer::host() const {
    return "localhost/" + std::to_string(port_);
}

void PrivateServer::start() {
    if (running())
        return;
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string_view v(*e);
        if (v.rfind("FIREBIRD", 0) != 0 && v.rfind("ISC_", 0) != 0)
            env.emplace_back(v);
    }
    env.push_back("FIREBIRD=" + root_);
    env.push_back("FIREBIRD_LOCK=" + root_ + "/lock");
    std::vector<char*> envp;
    for (auto& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(kServerBinary), nullptr};
    const int devNull = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    pid_ = ::fork();
    if (pid_ == 0) {
        // A server left behind by a test that died would hold its port and files.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        ::dup2(devNull, 1);
        ::dup2(devNull, 2);
        ::execve(kServerBinary, argv, envp.data());
        ::_exit(127);
    }
    ::close(devNull);
    if (pid_ < 0) {
        pid_ = -1;
        throw std::runtime_error(std::string("could not start ") + kServerBinary);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!answers(host())) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            throw std::runtime_error("the private Firebird server ended at its start");
        }
        if (std::chrono::steady_clock::now() > deadline) {
            kill();
            throw std::runtime_error("the private Firebird server does not answer on " + host());
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

void PrivateServer::stop() {
    end(SIGTERM);
}

void PrivateServer::kill() {
    end(SIGKILL);
}

void PrivateServer::end(int signal) {
    if (!running())
        return;
    ::kill(pid_, signal);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    int status = 0;
    while (::waitpid(pid_, &status, WNOHANG) != pid_) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    pid_ = -1;
}

}  // namespace testsupport
