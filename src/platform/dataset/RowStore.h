#pragma once

#include "ByteArena.h"
#include "FieldDef.h"

#include <ibase.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace dataset {

// The rows of a result set, each stored as one packed record in an arena:
// the null flags, the fixed-size values, the text lengths, then the text bytes.
// Rows are appended one at a time: set the values of the pending row, then
// commit it, which copies them in. Texts handed to setText must stay valid
// until the commit.
class RowStore {
  public:
    explicit RowStore(std::vector<FieldDef> fields);
    RowStore(RowStore&&) noexcept = default;
    RowStore& operator=(RowStore&&) noexcept = default;

    const std::vector<FieldDef>& fields() const noexcept { return fields_; }
    std::size_t size() const noexcept { return count_; }

    // The pending row starts with every value null.
    void setNull(int field) noexcept;
    void setFloat(int field, double value);
    void setDate(int field, ISC_DATE value);
    void setTime(int field, ISC_TIME value);
    void setText(int field, std::string_view value);
    void commitRow();
    // Forgets the values set for the pending row.
    void discardRow() noexcept;

    bool isNull(std::size_t row, int field) const {
        if (field < 0 || static_cast<std::size_t>(field) >= fields_.size())
            badField(field);
        return (record(row)[field / 8] >> (field % 8)) & 1;
    }
    double floatValue(std::size_t row, int field) const;
    ISC_DATE dateValue(std::size_t row, int field) const;
    ISC_TIME timeValue(std::size_t row, int field) const;
    std::string_view text(std::size_t row, int field) const;

    // Every byte held for the rows: arena blocks and the row index.
    std::size_t bytesHeld() const noexcept;
    // The sum of the sizes of the non-null values: 8 for a float, 4 for a date
    // or a time, the length of a text.
    std::size_t rowBytes() const noexcept { return rowBytes_; }

  private:
    struct Slot {
        std::uint32_t offset;  // fixed values: where in the record; texts: index among texts
        bool text;
    };
    static constexpr std::size_t kIndexBlock = 4096;

    const char* record(std::size_t row) const {
        if (row >= count_)
            badRow(row);
        return index_[row / kIndexBlock][row % kIndexBlock];
    }
    [[noreturn]] static void badRow(std::size_t row);
    [[noreturn]] static void badField(int field);
    const Slot& slot(int field, FieldType expected) const;
    void markSet(int field) noexcept;

    std::vector<FieldDef> fields_;
    std::vector<Slot> slots_;
    std::size_t nullBytes_ = 0;
    std::size_t fixedEnd_ = 0;  // nulls and fixed values
    std::size_t textCount_ = 0;

    // The pending row.
    std::vector<char> pending_;            // nulls and fixed values
    std::vector<std::string_view> texts_;  // one per text field

    ByteArena arena_;
    std::vector<std::unique_ptr<const char*[]>> index_;  // blocks of kIndexBlock records
    std::size_t count_ = 0;
    std::size_t rowBytes_ = 0;
};

}  // namespace dataset
