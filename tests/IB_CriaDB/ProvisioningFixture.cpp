#include "ProvisioningFixture.h"

#include "firebird/ServiceManager.h"
#include "ini/IniFile.h"
#include "os/Os.h"

#include <algorithm>

void ProvisioningTest::SetUp() {
    os::setExecutableDirectoryForTesting(exeDir_.path());
    os::setAlertSoundHandler([this] { ++alerts_; });
}

void ProvisioningTest::TearDown() {
    module_.reset();
    os::setAlertSoundHandler({});
    os::setExecutableDirectoryForTesting({});
}

void ProvisioningTest::writeSettings(const std::string& server, const std::string& directory) {
    ini::IniFile ini(exeDir_.file("system.ini"));
    ini.writeString("SYSTEM", "Servidor", server);
    ini.writeString("SYSTEM", "Caminho", directory);
}

void ProvisioningTest::createModule() {
    module_.reset();
    module_.reset(TdmLog::Create());
}

std::string ProvisioningTest::query(const std::string& sql) {
    auto& q = module_->sqlAux;
    q.setCommandText(sql);
    q.open();
    std::string value = q.eof() ? std::string("<no row>") : q.fieldAsText(0);
    q.close();
    return value;
}

namespace {

firebird::ServiceManager administrator(const std::string& server) {
    firebird::ServiceManager s;
    s.protocol = server.empty() ? firebird::ServiceManager::Protocol::Local
                                : firebird::ServiceManager::Protocol::Tcp;
    s.serverName = server;
    s.userName = "SYSDBA";
    s.password = "pelicanos";
    s.attach();
    return s;
}

}  // namespace

bool ProvisioningTest::logAccountExists(const std::string& server) {
    auto s = administrator(server);
    const auto users = s.listUsers();
    return std::find(users.begin(), users.end(), "MBCXOVA8") != users.end();
}

void ProvisioningTest::removeLogAccount(const std::string& server) {
    if (!logAccountExists(server))
        return;
    auto s = administrator(server);
    s.deleteUser("MBCXOVA8");
}
