#pragma once

#include <ibase.h>

#include <utility>

namespace firebird {

// Owns a prepared statement's handle: the statement is dropped on the
// server when the owner goes, and a move hands the handle over.
class StatementHandle {
  public:
    StatementHandle() = default;
    StatementHandle(StatementHandle&& other) noexcept : handle_(std::exchange(other.handle_, 0)) {}
    StatementHandle& operator=(StatementHandle&& other) noexcept {
        if (this != &other) {
            drop();
            handle_ = std::exchange(other.handle_, 0);
        }
        return *this;
    }
    StatementHandle(const StatementHandle&) = delete;
    StatementHandle& operator=(const StatementHandle&) = delete;
    ~StatementHandle() { drop(); }

    isc_stmt_handle* get() noexcept { return &handle_; }
    explicit operator bool() const noexcept { return handle_ != 0; }

  private:
    void drop() noexcept {
        if (handle_ != 0) {
            ISC_STATUS_ARRAY status{};
            isc_dsql_free_statement(status, &handle_, DSQL_drop);
            handle_ = 0;
        }
    }

    isc_stmt_handle handle_ = 0;
};

}  // namespace firebird
