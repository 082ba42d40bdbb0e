#pragma once

#include "Statement.h"
#include "Transaction.h"

#include <string>

namespace firebird {

class SqlConnection;

// A statement component on a connection: set its text, then either open it and
// walk its rows, or execute it. Its transaction is committed when it is closed.
class SqlDataSet {
public:
    explicit SqlDataSet(SqlConnection& connection, std::string commandText = {})
        : connection_(&connection), commandText_(std::move(commandText)) {}
    SqlDataSet(const SqlDataSet&) = delete;
    SqlDataSet& operator=(const SqlDataSet&) = delete;
    ~SqlDataSet() { abandon(); }

    SqlConnection& connection() const noexcept { return *connection_; }
    const std::string& commandText() const noexcept { return commandText_; }
    void setCommandText(std::string text);

    void open();
    bool active() const noexcept { return active_; }
    bool eof() const noexcept { return eof_; }
    void next();
    void close();
    // Runs a statement that returns no rows, committed as it completes.
    void execSQL();

    const std::vector<ColumnInfo>& columns() const noexcept { return statement_.columns(); }
    Statement& statement() noexcept { return statement_; }
    std::string fieldAsText(int column) { return statement_.asText(column); }

private:
    void abandon() noexcept;

    SqlConnection* connection_;
    std::string commandText_;
    Transaction transaction_;
    Statement statement_;  // declared after the transaction: released first
    bool active_ = false;
    bool eof_ = true;
};

}  // namespace firebird
