#include "ServiceManager.h"

#include "DatabaseError.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace firebird {

namespace {

void addSpbString(std::string& spb, char tag, const std::string& value) {
    if (value.size() > 255)
        throw DatabaseError("Service parameter longer than 255 bytes", 0, 0);
    spb += tag;
    spb += static_cast<char>(value.size());
    spb += value;
}

void addRequestString(std::string& request, char tag, const std::string& value) {
    if (value.size() > 0xFFFF)
        throw DatabaseError("Service argument too long", 0, 0);
    request += tag;
    request += static_cast<char>(value.size() & 0xFF);
    request += static_cast<char>((value.size() >> 8) & 0xFF);
    request += value;
}

void addRequestInt(std::string& request, char tag, std::uint32_t value) {
    request += tag;
    for (int shift = 0; shift < 32; shift += 8)
        request += static_cast<char>((value >> shift) & 0xFF);
}

std::uint16_t read16(const char* p) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(p[0]) |
                                      (static_cast<unsigned char>(p[1]) << 8));
}

}  // namespace

ServiceManager::ServiceManager(ServiceManager&& other) noexcept
    : protocol(other.protocol),
      serverName(std::move(other.serverName)),
      userName(std::move(other.userName)),
      password(std::move(other.password)),
      databaseName(std::move(other.databaseName)),
      handle_(std::exchange(other.handle_, 0)) {}

ServiceManager& ServiceManager::operator=(ServiceManager&& other) noexcept {
    if (this != &other) {
        detach();
        protocol = other.protocol;
        serverName = std::move(other.serverName);
        userName = std::move(other.userName);
        password = std::move(other.password);
        databaseName = std::move(other.databaseName);
        handle_ = std::exchange(other.handle_, 0);
    }
    return *this;
}

ServiceManager::~ServiceManager() {
    detach();
}

std::string ServiceManager::serviceName() const {
    return protocol == Protocol::Tcp ? serverName + ":service_mgr" : std::string("service_mgr");
}

void ServiceManager::attach() {
    if (active())
        return;
    std::string spb;
    spb += static_cast<char>(isc_spb_version);
    spb += static_cast<char>(isc_spb_current_version);
    addSpbString(spb, isc_spb_user_name, userName);
    addSpbString(spb, isc_spb_password, password);
    const std::string name = serviceName();
    StatusVector sv;
    isc_service_attach(sv.get(), static_cast<unsigned short>(name.size()), name.c_str(), &handle_,
                       static_cast<unsigned short>(spb.size()), spb.data());
    if (sv.failed()) {
        handle_ = 0;
        throw sv.error();
    }
}

void ServiceManager::detach() noexcept {
    if (handle_ == 0)
        return;
    StatusVector sv;
    isc_service_detach(sv.get(), &handle_);
    handle_ = 0;
}

void ServiceManager::start(const std::string& request) {
    if (!active())
        throw DatabaseError("Service is not attached", 0, 0);
    StatusVector sv;
    isc_service_start(sv.get(), &handle_, nullptr, static_cast<unsigned short>(request.size()),
                      request.data());
    sv.check();
}

void ServiceManager::drain() {
    const char items[] = {isc_info_svc_line};
    char reply[4096];
    for (;;) {
        StatusVector sv;
        isc_service_query(sv.get(), &handle_, nullptr, 0, nullptr, sizeof items, items,
                          sizeof reply, reply);
        sv.check();
        if (reply[0] != isc_info_svc_line)
            return;
        if (read16(reply + 1) == 0)
            return;
    }
}

std::vector<std::string> ServiceManager::listUsers() {
    start(std::string(1, static_cast<char>(isc_action_svc_display_user)));
    std::vector<std::string> users;
    const char items[] = {isc_info_svc_get_users};
    std::vector<char> reply(256 * 1024);
    StatusVector sv;
    isc_service_query(sv.get(), &handle_, nullptr, 0, nullptr, sizeof items, items,
                      static_cast<unsigned short>(reply.size() - 1), reply.data());
    sv.check();
    if (reply[0] != isc_info_svc_get_users)
        return users;
    const std::size_t total = read16(reply.data() + 1);
    const char* p = reply.data() + 3;
    const char* end = p + std::min<std::size_t>(total, reply.size() - 3);
    while (p < end && *p != isc_info_end) {
        const char tag = *p++;
        switch (tag) {
            case isc_spb_sec_username:
            case isc_spb_sec_firstname:
            case isc_spb_sec_middlename:
            case isc_spb_sec_lastname: {
                const std::size_t len = read16(p);
                p += 2;
                if (tag == isc_spb_sec_username)
                    users.emplace_back(p, len);
                p += len;
                break;
            }
            case isc_spb_sec_userid:
            case isc_spb_sec_groupid:
            case isc_spb_sec_admin:
                p += 4;
                break;
            default:
                p = end;
                break;  // nothing else is sent for users
        }
    }
    return users;
}

void ServiceManager::addUser(const std::string& name, const std::string& userPassword) {
    std::string request(1, static_cast<char>(isc_action_svc_add_user));
    addRequestString(request, isc_spb_sec_username, name);
    addRequestString(request, isc_spb_sec_password, userPassword);
    start(request);
    drain();
}

void ServiceManager::deleteUser(const std::string& name) {
    std::string request(1, static_cast<char>(isc_action_svc_delete_user));
    addRequestString(request, isc_spb_sec_username, name);
    start(request);
    drain();
}

void ServiceManager::setWriteModeSync() {
    std::string request(1, static_cast<char>(isc_action_svc_properties));
    addRequestString(request, isc_spb_dbname, databaseName);
    request += static_cast<char>(isc_spb_prp_write_mode);
    request += static_cast<char>(isc_spb_prp_wm_sync);
    start(request);
    drain();
}

void ServiceManager::setSqlDialect(int dialect) {
    std::string request(1, static_cast<char>(isc_action_svc_properties));
    addRequestString(request, isc_spb_dbname, databaseName);
    addRequestInt(request, isc_spb_prp_set_sql_dialect, static_cast<std::uint32_t>(dialect));
    start(request);
    drain();
}

}  // namespace firebird
