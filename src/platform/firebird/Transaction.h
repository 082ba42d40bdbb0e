#pragma once

#include <ibase.h>

namespace firebird {

class Attachment;

struct TransactionOptions {
    enum class Isolation { ReadCommitted, Concurrency };
    Isolation isolation = Isolation::ReadCommitted;
    bool recordVersion = true;  // read committed: see the latest committed version
    bool wait = true;           // wait on lock conflicts instead of failing at once
};

// One transaction. Move-only; a transaction still active at destruction is
// rolled back, and the destructor never throws.
class Transaction {
public:
    Transaction() = default;
    static Transaction start(Attachment& attachment, const TransactionOptions& options = {});

    Transaction(Transaction&& other) noexcept;
    Transaction& operator=(Transaction&& other) noexcept;
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    ~Transaction();

    bool active() const noexcept { return handle_ != 0; }
    isc_tr_handle* handle() noexcept { return &handle_; }
    void commit();
    void rollback();

private:
    void rollbackQuietly() noexcept;
    isc_tr_handle handle_ = 0;
};

}  // namespace firebird
