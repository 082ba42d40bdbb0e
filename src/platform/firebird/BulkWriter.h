#pragma once

#include "ParamStatement.h"
#include "Transaction.h"

#include <cstddef>
#include <string_view>

namespace firebird {

class Attachment;

// Runs one prepared statement for many rows in few transactions, which is what
// makes bulk inserts fast: the rows are committed every `commitEvery` runs and
// at commit(). Rows not committed when it is destroyed are rolled back.
class BulkWriter {
  public:
    BulkWriter(Attachment& attachment, std::string_view sql, std::size_t commitEvery = 5000,
               const TransactionOptions& options = {});
    BulkWriter(const BulkWriter&) = delete;
    BulkWriter& operator=(const BulkWriter&) = delete;

    // Set the values here, then execute().
    ParamStatement& statement() noexcept { return statement_; }
    void execute();
    void commit();

    std::size_t executed() const noexcept { return executed_; }
    std::size_t committed() const noexcept { return committed_; }

  private:
    Attachment* attachment_;
    TransactionOptions options_;
    std::size_t commitEvery_;
    std::size_t executed_ = 0;
    std::size_t committed_ = 0;
    Transaction transaction_;
    ParamStatement statement_;  // declared after the transaction: released first
};

}  // namespace firebird
