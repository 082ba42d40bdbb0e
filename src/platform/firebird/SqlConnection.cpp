#include "SqlConnection.h"

#include "DatabaseError.h"
#include "Statement.h"

#include <algorithm>
#include <cctype>

namespace firebird {

namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

}  // namespace

ConnectionParams SqlConnection::connectionParams() const {
    ConnectionParams p;
    p.database = params_.value("Database");
    p.user = params_.value("User_Name");
    p.password = params_.value("Password");
    p.role = params_.value("RoleName");
    // dbExpress-style connections name it ServerCharSet, IBX-style ones lc_ctype.
    p.charset = params_.find("ServerCharSet").value_or(params_.value("lc_ctype"));
    const std::string dialect = params_.value("SQLDialect");
    p.dialect = dialect.empty() ? 3 : std::stoi(dialect);
    return p;
}

TransactionOptions SqlConnection::transactionOptions() const {
    if (defaultTransaction)
        return *defaultTransaction;
    TransactionOptions options;
    std::optional<std::string> isolation = params_.find("IsolationLevel");
    if (!isolation) {
        for (const auto& line : params_.lines()) {
            const auto eq = line.find('=');
            if (eq != std::string::npos && lower(line.substr(0, eq)).ends_with(" transisolation")) {
                isolation = line.substr(eq + 1);
                break;
            }
        }
    }
    const std::string iso = lower(isolation.value_or("readcommitted"));
    if (iso == "repeatableread" || iso == "snapshot") {
        options.isolation = TransactionOptions::Isolation::Concurrency;
    }
    options.wait = lower(params_.find("WaitOnLocks").value_or("true")) != "false";
    return options;
}

void SqlConnection::setConnected(bool value) {
    if (!value) {
        close();
        return;
    }
    if (connected())
        return;
    if (beforeConnect)
        beforeConnect();
    attachment_ = Attachment::attach(connectionParams());
}

void SqlConnection::close() noexcept {
    try {
        attachment_.detach();
    } catch (const DatabaseError&) {
        // The server is gone; there is nothing left to release on its side.
    }
}

void SqlConnection::execute(std::string_view sql) {
    Transaction tr = Transaction::start(attachment_, transactionOptions());
    Statement st = Statement::prepare(attachment_, tr, sql);
    st.execute();
    // The statement must be released before its transaction ends.
    st = Statement();
    tr.commit();
}

}  // namespace firebird
