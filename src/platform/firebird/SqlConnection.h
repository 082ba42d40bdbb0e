#pragma once

#include "Attachment.h"
#include "ParamList.h"
#include "Transaction.h"

#include <functional>
#include <optional>
#include <string_view>

namespace firebird {

class Query;

// A connection configured by a parameter list, like the data access components
// the system was designed with. Each statement runs in a transaction of its own,
// committed as soon as the statement completes.
//
// Parameters read (names without regard to case): Database, User_Name, Password,
// RoleName, SQLDialect, ServerCharSet, and the isolation under "IsolationLevel"
// or "<driver> TransIsolation" (ReadCommitted, RepeatableRead), WaitOnLocks.
class SqlConnection {
  public:
    ParamList& params() noexcept { return params_; }
    const ParamList& params() const noexcept { return params_; }
    // Runs before every connect; it may rewrite the parameters.
    std::function<void()> beforeConnect;
    // The transaction every statement runs in; without one it follows the parameters.
    std::optional<TransactionOptions> defaultTransaction;

    bool connected() const noexcept { return attachment_.attached(); }
    // Connecting when connected does nothing; a failed connect leaves it disconnected.
    void setConnected(bool value);
    void open() { setConnected(true); }
    // Detaches; errors of a lost connection are dropped, the handle is gone either way.
    void close() noexcept;

    ConnectionParams connectionParams() const;
    TransactionOptions transactionOptions() const;

    Attachment& attachment() noexcept { return attachment_; }
    // Runs a statement that returns no rows and commits it.
    void execute(std::string_view sql);

  private:
    ParamList params_;
    Attachment attachment_;
};

}  // namespace firebird
