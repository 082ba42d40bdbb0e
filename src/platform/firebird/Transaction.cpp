#include "Transaction.h"

#include "Attachment.h"
#include "DatabaseError.h"

#include <string>
#include <utility>

namespace firebird {

Transaction Transaction::start(Attachment& attachment, const TransactionOptions& options) {
    std::string tpb(1, static_cast<char>(isc_tpb_version3));
    tpb += static_cast<char>(isc_tpb_write);
    if (options.isolation == TransactionOptions::Isolation::ReadCommitted) {
        tpb += static_cast<char>(isc_tpb_read_committed);
        tpb += static_cast<char>(options.recordVersion ? isc_tpb_rec_version
                                                       : isc_tpb_no_rec_version);
    } else {
        tpb += static_cast<char>(isc_tpb_concurrency);
    }
    tpb += static_cast<char>(options.wait ? isc_tpb_wait : isc_tpb_nowait);

    StatusVector sv;
    Transaction result;
    isc_start_transaction(sv.get(), &result.handle_, 1, attachment.handle(),
                          static_cast<unsigned short>(tpb.size()), tpb.data());
    sv.check();
    return result;
}

Transaction::Transaction(Transaction&& other) noexcept
    : handle_(std::exchange(other.handle_, 0)) {}

Transaction& Transaction::operator=(Transaction&& other) noexcept {
    if (this != &other) {
        rollbackQuietly();
        handle_ = std::exchange(other.handle_, 0);
    }
    return *this;
}

Transaction::~Transaction() { rollbackQuietly(); }

void Transaction::rollbackQuietly() noexcept {
    if (handle_ == 0) return;
    StatusVector sv;
    isc_rollback_transaction(sv.get(), &handle_);
    handle_ = 0;
}

void Transaction::commit() {
    if (handle_ == 0) return;
    StatusVector sv;
    isc_commit_transaction(sv.get(), &handle_);
    if (sv.failed()) {
        rollbackQuietly();
        throw sv.error();
    }
}

void Transaction::rollback() {
    if (handle_ == 0) return;
    StatusVector sv;
    isc_rollback_transaction(sv.get(), &handle_);
    handle_ = 0;
    sv.check();
}

}  // namespace firebird
