#pragma once

#include <ibase.h>

#include <stdexcept>
#include <string>

namespace firebird {

// Every failure reported by the client library. The message is the server's own
// text; the codes let callers tell failures apart without parsing it.
class DatabaseError : public std::runtime_error {
public:
    DatabaseError(const std::string& message, int sqlCode, long engineCode)
        : std::runtime_error(message), sqlCode_(sqlCode), engineCode_(engineCode) {}

    int sqlCode() const noexcept { return sqlCode_; }
    long engineCode() const noexcept { return engineCode_; }

private:
    int sqlCode_;
    long engineCode_;
};

// The standard 20-entry status vector of the C API.
struct StatusVector {
    ISC_STATUS_ARRAY status{};

    ISC_STATUS* get() noexcept { return status; }
    bool failed() const noexcept { return status[0] == 1 && status[1] != 0; }
    long engineCode() const noexcept { return failed() ? static_cast<long>(status[1]) : 0; }
    int sqlCode() const noexcept;
    // The server's messages for this vector, one per line.
    std::string message() const;
    DatabaseError error() const;
    // Throws the vector's error when the call it was handed to failed.
    void check() const {
        if (failed()) throw error();
    }
};

}  // namespace firebird
