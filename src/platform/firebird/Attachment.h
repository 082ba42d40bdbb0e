#pragma once

#include <ibase.h>

#include <string>

namespace firebird {

struct ConnectionParams {
    std::string database;  // "host:path" over TCP, a bare path for the local engine
    std::string user;
    std::string password;
    std::string role;     // left out when empty
    std::string charset;  // lc_ctype; left out when empty
    int dialect = 3;
};

// One database attachment. Move-only; the destructor detaches and never throws.
class Attachment {
public:
    Attachment() = default;
    static Attachment attach(const ConnectionParams& params);
    // Takes over a handle that some other call (CREATE DATABASE) attached.
    static Attachment adopt(isc_db_handle handle) noexcept;

    Attachment(Attachment&& other) noexcept;
    Attachment& operator=(Attachment&& other) noexcept;
    Attachment(const Attachment&) = delete;
    Attachment& operator=(const Attachment&) = delete;
    ~Attachment();

    bool attached() const noexcept { return handle_ != 0; }
    isc_db_handle* handle() noexcept { return &handle_; }
    int dialect() const noexcept { return dialect_; }
    void detach();

private:
    isc_db_handle handle_ = 0;
    int dialect_ = 3;
};

// Builds the database parameter buffer for the attach; exposed for tests.
std::string buildDpb(const ConnectionParams& params);

}  // namespace firebird
