#pragma once

#include "FieldDef.h"
#include "PacketParams.h"
#include "RowStore.h"
#include "Values.h"

#include "firebird/IscDate.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace dataset {

enum class ResultSetEvent { Opened, Closed, RowChanged };

// A read-only result held whole in memory, with one current row that every
// view of it shares. Views subscribe to be told when the set opens or closes
// and when the current row moves.
class ResultSet {
  public:
    using Listener = std::function<void(ResultSetEvent)>;
    using ListenerId = std::size_t;

    ResultSet() = default;
    ResultSet(const ResultSet&) = delete;
    ResultSet& operator=(const ResultSet&) = delete;

    // Takes over filled rows; the current row becomes the first.
    void open(RowStore rows, PacketParams params = {});
    void close();
    bool active() const noexcept { return rows_.has_value(); }

    // Fields and packet attributes of the open set; empty when closed.
    const std::vector<FieldDef>& fields() const noexcept;
    // The position of a field, matching names without regard to case; -1 when absent.
    int fieldIndex(std::string_view name) const noexcept;
    const PacketParams& params() const noexcept { return params_; }
    std::size_t recordCount() const noexcept { return rows_ ? rows_->size() : 0; }

    // The current row. An empty or closed set is at its end.
    void first();
    void next();
    bool eof() const noexcept { return eof_; }
    void moveTo(std::size_t row);
    std::size_t currentRow() const noexcept { return current_; }
    // 1-based number of the current row; 0 when there is none.
    std::size_t recNo() const noexcept { return recordCount() == 0 ? 0 : current_ + 1; }

    ListenerId subscribe(Listener listener);
    void unsubscribe(ListenerId id) noexcept;

    // Values by row and field; a null value reads as 0 or empty text.
    bool isNull(std::size_t row, int field) const { return rows().isNull(row, field); }
    double floatValue(std::size_t row, int field) const;
    ISC_DATE rawDate(std::size_t row, int field) const;
    firebird::CivilDate date(std::size_t row, int field) const;
    ISC_TIME rawTime(std::size_t row, int field) const;
    TimeValue time(std::size_t row, int field) const;
    // The server's bytes, unconverted; valid while the set stays open.
    std::string_view text(std::size_t row, int field) const;

    std::size_t bytesHeld() const noexcept { return rows_ ? rows_->bytesHeld() : 0; }
    std::size_t rowBytes() const noexcept { return rows_ ? rows_->rowBytes() : 0; }

  private:
    const RowStore& rows() const;
    void notify(ResultSetEvent event);

    std::optional<RowStore> rows_;
    PacketParams params_;
    std::size_t current_ = 0;
    bool eof_ = true;
    std::vector<std::pair<ListenerId, Listener>> listeners_;
    ListenerId nextId_ = 1;
};

}  // namespace dataset
