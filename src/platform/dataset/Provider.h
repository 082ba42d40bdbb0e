#pragma once

#include "ResultSet.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>

namespace firebird {
class SqlDataSet;
class Transaction;
}  // namespace firebird

namespace dataset {

// Fills a result set with every row of a statement component's query, with
// the field definitions of its description and the packet attributes of its
// ordering, its table's keys and the connection's locale code.
class Provider {
  public:
    // Short texts come inline up to this many bytes; longer ones as blobs.
    static constexpr std::size_t kDefaultInlineLimit = 1000;

    // Runs the component's command text on its connection; both must outlive it.
    explicit Provider(firebird::SqlDataSet& statement) : statement_(&statement) {}
    Provider(const Provider&) = delete;
    Provider& operator=(const Provider&) = delete;

    // Closes the target, runs the query and opens the target with all its rows.
    // Any failure, a cancel included, throws a DatabaseError and leaves the
    // target closed.
    void open(ResultSet& target);

    // Called with the number of rows fetched so far, every `every` rows, on
    // the thread that fetches them.
    void setProgress(std::function<void(std::size_t)> progress, std::size_t every = 5000);
    // When set, open() fetches on a thread of its own and calls `waiting` on
    // the calling thread at once and then every `interval` until the fetch
    // ends, with the rows fetched so far: the caller stays responsive (it may
    // cancel) also while the server works on its first row. The caller must
    // not use the connection meanwhile.
    void setWaiting(std::function<void(std::size_t)> waiting,
                    std::chrono::milliseconds interval = std::chrono::milliseconds(100));
    // 0 reads every text blob as a blob.
    void setInlineTextLimit(std::size_t bytes) noexcept { inlineLimit_ = bytes; }

    // Whether the last open brought short texts inline instead of reading
    // every blob.
    bool inlinedTexts() const noexcept { return inlined_; }

    // Asks a running open to stop; safe from another thread while open() runs.
    void cancel() noexcept;

  private:
    struct Fetched {
        RowStore rows;
        PacketParams params;
    };
    Fetched fetch(firebird::Transaction& transaction);
    Fetched fetchWhileWaiting(firebird::Transaction& transaction);

    firebird::SqlDataSet* statement_;
    std::function<void(std::size_t)> progress_;
    std::size_t progressEvery_ = 5000;
    std::function<void(std::size_t)> waiting_;
    std::chrono::milliseconds waitInterval_{100};
    std::atomic<std::size_t> fetchedRows_{0};
    std::size_t inlineLimit_ = kDefaultInlineLimit;
    bool inlined_ = false;
    std::atomic<bool> cancelled_{false};
    std::atomic<isc_db_handle*> running_{nullptr};
};

}  // namespace dataset
