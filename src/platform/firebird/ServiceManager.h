#pragma once

#include <ibase.h>

#include <string>
#include <vector>

namespace firebird {

// The server's service manager: user administration and database properties.
// Move-only; the destructor detaches and never throws.
class ServiceManager {
  public:
    enum class Protocol { Local, Tcp };

    ServiceManager() = default;
    ServiceManager(ServiceManager&& other) noexcept;
    ServiceManager& operator=(ServiceManager&& other) noexcept;
    ServiceManager(const ServiceManager&) = delete;
    ServiceManager& operator=(const ServiceManager&) = delete;
    ~ServiceManager();

    Protocol protocol = Protocol::Local;
    std::string serverName;  // used with TCP
    std::string userName;
    std::string password;
    // The database whose properties are set: the server's own path, without "server:".
    std::string databaseName;

    // "server:service_mgr" over TCP, "service_mgr" for the local engine.
    std::string serviceName() const;
    bool active() const noexcept { return handle_ != 0; }
    void attach();
    void detach() noexcept;

    std::vector<std::string> listUsers();
    void addUser(const std::string& name, const std::string& userPassword);
    void deleteUser(const std::string& name);
    void setWriteModeSync();
    void setSqlDialect(int dialect);

  private:
    void start(const std::string& request);
    // Reads the service's output until it is done, so errors surface and the
    // next request does not find the service busy.
    void drain();

    isc_svc_handle handle_ = 0;
};

}  // namespace firebird
