#include "Provider.h"

#include "InlineTexts.h"
#include "SqlText.h"
#include "TableKeys.h"

#include "firebird/DatabaseError.h"
#include "firebird/SqlConnection.h"
#include "firebird/SqlDataSet.h"
#include "firebird/Statement.h"
#include "firebird/Transaction.h"

#include <charconv>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace dataset {

namespace {

using firebird::ColumnInfo;
using firebird::ColumnType;

std::vector<FieldDef> fieldDefs(const std::vector<ColumnInfo>& columns) {
    std::vector<FieldDef> defs;
    for (const ColumnInfo& c : columns) {
        FieldDef d{c.name, FieldType::String, 0, !c.nullable};
        switch (c.type) {
            case ColumnType::Float:
            case ColumnType::Double:
                d.type = FieldType::Float;
                break;
            case ColumnType::Date:
                d.type = FieldType::Date;
                break;
            case ColumnType::Time:
                d.type = FieldType::Time;
                break;
            case ColumnType::Char:
            case ColumnType::Varchar:
                d.type = FieldType::String;
                d.size = c.size;
                break;
            case ColumnType::Blob:
                if (c.subType == 1) {
                    d.type = FieldType::Memo;
                    break;
                }
                [[fallthrough]];
            default:
                throw firebird::DatabaseError(
                    "Column " + c.name + " has a type the result set cannot hold", 0, 0);
        }
        defs.push_back(std::move(d));
    }
    return defs;
}

std::vector<int> positions(const std::vector<std::string>& names,
                           const std::vector<ColumnInfo>& columns) {
    std::vector<int> out;
    for (const std::string& name : names) {
        int found = 0;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (columns[i].name != name)
                continue;
            // A name seen twice (a self-join) cannot tell which column is meant.
            if (found != 0)
                return {};
            found = static_cast<int>(i) + 1;
        }
        // A key or an ordering the set cannot show in full is no key at all.
        if (found == 0)
            return {};
        out.push_back(found);
    }
    return out;
}

// The relation every column comes from; empty for none or several.
std::string singleRelation(const std::vector<ColumnInfo>& columns) {
    std::string relation;
    for (const ColumnInfo& c : columns) {
        if (c.relation.empty() || (!relation.empty() && c.relation != relation))
            return {};
        relation = c.relation;
    }
    return relation;
}

long localeCode(const firebird::ParamList& params) {
    const std::string text = params.value("LocaleCode");
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

void setCancel(isc_db_handle* db, int mode) noexcept {
    firebird::StatusVector sv;
    fb_cancel_operation(sv.get(), db, static_cast<ISC_USHORT>(mode));
}

// Disabling drops a cancel that arrived after the work it was meant for.
void clearPendingCancel(isc_db_handle* db) noexcept {
    setCancel(db, fb_cancel_disable);
    setCancel(db, fb_cancel_enable);
}

// Stops an open that was asked to stop, with the error the server gives for it.
[[noreturn]] void throwCancelled(isc_db_handle* db) {
    // The server may not have seen the request yet; it must not hit the
    // release of the statement instead.
    clearPendingCancel(db);
    firebird::StatusVector sv;
    sv.status[0] = isc_arg_gds;
    sv.status[1] = isc_cancelled;
    sv.status[2] = isc_arg_end;
    throw sv.error();
}

}  // namespace

void Provider::setProgress(std::function<void(std::size_t)> progress, std::size_t every) {
    progress_ = std::move(progress);
    progressEvery_ = every == 0 ? 1 : every;
}

void Provider::setWaiting(std::function<void(std::size_t)> waiting,
                          std::chrono::milliseconds interval) {
    waiting_ = std::move(waiting);
    waitInterval_ = interval;
}

void Provider::cancel() noexcept {
    cancelled_ = true;
    if (isc_db_handle* db = running_.load())
        setCancel(db, fb_cancel_raise);
}

void Provider::open(ResultSet& target) {
    target.close();
    firebird::SqlConnection& connection = statement_->connection();
    isc_db_handle* db = connection.attachment().handle();
    cancelled_ = false;
    inlined_ = false;
    clearPendingCancel(db);

    firebird::Transaction transaction =
        firebird::Transaction::start(connection.attachment(), connection.transactionOptions());
    std::optional<Fetched> fetched;
    running_ = db;
    try {
        fetched.emplace(waiting_ ? fetchWhileWaiting(transaction) : fetch(transaction));
    } catch (...) {
        // Before the transaction is released, so a cancel still pending
        // cannot fail its rollback.
        running_ = nullptr;
        clearPendingCancel(db);
        throw;
    }
    running_ = nullptr;
    clearPendingCancel(db);
    transaction.commit();
    target.open(std::move(fetched->rows), std::move(fetched->params));
}

Provider::Fetched Provider::fetchWhileWaiting(firebird::Transaction& transaction) {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    std::optional<Fetched> fetched;
    std::exception_ptr error;
    fetchedRows_.store(0, std::memory_order_relaxed);
    std::thread worker([&] {
        try {
            fetched.emplace(fetch(transaction));
        } catch (...) {
            error = std::current_exception();
        }
        const std::lock_guard lock(mutex);
        done = true;
        ended.notify_one();
    });
    try {
        for (;;) {
            waiting_(fetchedRows_.load(std::memory_order_relaxed));
            std::unique_lock lock(mutex);
            if (ended.wait_for(lock, waitInterval_, [&] { return done; }))
                break;
        }
    } catch (...) {
        // The fetch must not outlive what it fills.
        cancel();
        worker.join();
        throw;
    }
    worker.join();
    if (error)
        std::rethrow_exception(error);
    return std::move(*fetched);
}

Provider::Fetched Provider::fetch(firebird::Transaction& transaction) {
    firebird::SqlConnection& connection = statement_->connection();
    const std::string& sql = statement_->commandText();
    firebird::Statement described =
        firebird::Statement::prepare(connection.attachment(), transaction, sql);
    const std::vector<ColumnInfo> columns = described.columns();
    Fetched out{RowStore(fieldDefs(columns)), {}};

    std::vector<int> inlineColumn(columns.size(), -1);
    firebird::Statement* run = &described;
    firebird::Statement rewritten;
    if (auto query = inlineTextQuery(sql, columns, inlineLimit_)) {
        rewritten = firebird::Statement::prepare(connection.attachment(), transaction, query->sql);
        if (describesInlineTexts(*query, columns, rewritten.columns(), inlineLimit_)) {
            run = &rewritten;
            inlineColumn = query->inlineColumn;
            inlined_ = true;
        }
    }

    PacketParams& params = out.params;
    params.defaultOrder = positions(trailingOrderBy(sql), columns);
    if (const std::string table = singleRelation(columns); !table.empty()) {
        const TableKeys keys = readTableKeys(connection.attachment(), transaction, table);
        params.primaryKey = positions(keys.primaryKey, columns);
        params.uniqueKey = positions(keys.uniqueKey, columns);
    }
    params.lcid = localeCode(connection.params());

    RowStore& rows = out.rows;
    const std::vector<FieldDef>& defs = rows.fields();
    std::vector<std::string> blobs(defs.size());  // reused from row to row
    run->execute();
    std::size_t count = 0;
    while (run->fetch()) {
        if (cancelled_.load(std::memory_order_relaxed))
            throwCancelled(connection.attachment().handle());
        for (int f = 0; f < static_cast<int>(defs.size()); ++f) {
            if (run->isNull(f)) {
                rows.setNull(f);
                continue;
            }
            switch (defs[f].type) {
                case FieldType::Float:
                    rows.setFloat(f, run->doubleValue(f));
                    break;
                case FieldType::Date:
                    rows.setDate(f, run->dateValue(f));
                    break;
                case FieldType::Time:
                    rows.setTime(f, run->timeValue(f));
                    break;
                case FieldType::String:
                    rows.setText(f, run->textValue(f));
                    break;
                case FieldType::Memo:
                    if (const int in = inlineColumn[f]; in >= 0 && !run->isNull(in)) {
                        rows.setText(f, run->textValue(in));
                    } else {
                        blobs[f].clear();
                        run->readBlob(f, blobs[f]);
                        rows.setText(f, blobs[f]);
                    }
                    break;
            }
        }
        rows.commitRow();
        fetchedRows_.store(++count, std::memory_order_relaxed);
        if (count % progressEvery_ == 0 && progress_)
            progress_(count);
    }
    if (cancelled_)
        throwCancelled(connection.attachment().handle());
    return out;
}

}  // namespace dataset
