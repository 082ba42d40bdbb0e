#include "TestSupport.h"

#include "firebird/DatabaseError.h"
#include "firebird/SqlConnection.h"

#include <ibase.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testsupport {

std::optional<std::string> testServer() {
    const char* server = std::getenv("TRACORA_TEST_SERVER");
    if (server == nullptr || *server == '\0') return std::nullopt;
    return std::string(server);
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tracora-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    // The server runs as its own user and creates its files here.
    ::chmod(pattern.c_str(), 0777);
    path_ = pattern + "/";
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::all, ec);
    std::filesystem::remove_all(path_, ec);
}

TestDatabase::TestDatabase() {
    const std::string sql = "CREATE DATABASE '" + dsn() +
                            "' USER 'SYSDBA' PASSWORD 'pelicanos' PAGE_SIZE 8192";
    firebird::StatusVector sv;
    isc_db_handle db = 0;
    isc_tr_handle tr = 0;
    isc_dsql_execute_immediate(sv.get(), &db, &tr, 0, sql.c_str(), 3, nullptr);
    sv.check();
    firebird::Attachment::adopt(db).detach();
}

std::string TestDatabase::dsn() const { return testServer().value_or("") + ":" + directory() + "SYSTEM.DAT"; }

firebird::Attachment TestDatabase::attachAsSysdba() const {
    firebird::ConnectionParams p;
    p.database = dsn();
    p.user = "SYSDBA";
    p.password = "pelicanos";
    return firebird::Attachment::attach(p);
}

void TestDatabase::execute(const std::string& sql) const {
    firebird::SqlConnection connection;
    connection.params().add("Database=" + dsn());
    connection.params().add("User_Name=SYSDBA");
    connection.params().add("Password=pelicanos");
    connection.open();
    connection.execute(sql);
}

void TestDatabase::createLogTable() const {
    execute(
        "CREATE TABLE LOG (ID DOUBLE PRECISION NOT NULL, DATA DATE, HORA TIME, "
        "USUARIO VARCHAR(30), ACAO VARCHAR(8), TABELA VARCHAR(31), "
        "LOG BLOB SUB_TYPE TEXT SEGMENT SIZE 80, PRIMARY KEY (ID))");
}

MessageCatcher::MessageCatcher() {
    previous_ = widgets::setMessageInterceptor(
        [this](const widgets::MessageRequest& m) { messages.push_back(m); });
}

MessageCatcher::~MessageCatcher() { widgets::setMessageInterceptor(std::move(previous_)); }

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void writeFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

}  // namespace testsupport
