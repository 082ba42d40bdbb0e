#include "SqlDataSet.h"

#include "SqlConnection.h"

namespace firebird {

void SqlDataSet::setCommandText(std::string text) {
    close();
    commandText_ = std::move(text);
}

void SqlDataSet::open() {
    close();
    // The statement keeps the address of the transaction: start it in place.
    try {
        transaction_ = Transaction::start(connection_->attachment(),
                                          connection_->transactionOptions());
        statement_ = Statement::prepare(connection_->attachment(), transaction_, commandText_);
        statement_.execute();
        eof_ = !statement_.fetch();
    } catch (...) {
        abandon();
        throw;
    }
    active_ = true;
}

void SqlDataSet::next() {
    if (!active_ || eof_) return;
    eof_ = !statement_.fetch();
}

void SqlDataSet::close() {
    if (!active_) return;
    active_ = false;
    eof_ = true;
    statement_ = Statement();
    transaction_.commit();
}

void SqlDataSet::abandon() noexcept {
    active_ = false;
    eof_ = true;
    statement_ = Statement();
    transaction_ = Transaction();
}

void SqlDataSet::execSQL() {
    close();
    connection_->execute(commandText_);
}

}  // namespace firebird
