#pragma once

#include "StatementHandle.h"

#include <ibase.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace firebird {

class Attachment;
class Transaction;

enum class ColumnType {
    SmallInt,
    Integer,
    BigInt,
    Float,
    Double,
    Date,
    Time,
    Timestamp,
    Char,
    Varchar,
    Blob,
    Boolean,
};

struct ColumnInfo {
    std::string name;      // the alias, which is the column name for SELECT *
    std::string relation;  // table the column comes from, if any
    ColumnType type = ColumnType::Varchar;
    int size = 0;     // bytes for text, 0 for blobs
    int scale = 0;    // decimal scale of exact numerics
    int subType = 0;  // 1 for text blobs
    bool nullable = true;
};

// A prepared DSQL statement with its output buffers. Move-only. The attachment and
// the transaction it was prepared on must outlive it.
class Statement {
public:
    Statement() = default;
    static Statement prepare(Attachment& attachment, Transaction& transaction, std::string_view sql);

    Statement(Statement&& other) noexcept = default;
    Statement& operator=(Statement&& other) noexcept = default;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    const std::vector<ColumnInfo>& columns() const noexcept { return columns_; }
    bool returnsRows() const noexcept { return returnsRows_; }

    // Runs the statement; for a query this opens its cursor.
    void execute();
    // Moves to the next row; false at the end of the rows.
    bool fetch();
    void closeCursor() noexcept;

    // Values of the current row. Text comes as the server's bytes, unconverted.
    bool isNull(int column) const noexcept;
    double doubleValue(int column) const;
    std::int64_t integerValue(int column) const;
    ISC_DATE dateValue(int column) const noexcept;
    ISC_TIME timeValue(int column) const noexcept;
    ISC_TIMESTAMP timestampValue(int column) const noexcept;
    std::string_view textValue(int column) const noexcept;
    ISC_QUAD blobId(int column) const noexcept;
    // Reads a blob column of the current row whole, appending to `out`.
    void readBlob(int column, std::string& out);
    std::string blobValue(int column);
    // Any value as text, as a list would show it; null gives empty text.
    std::string asText(int column);

private:
    const XSQLVAR& var(int column) const noexcept;
    void bindOutput();

    Attachment* attachment_ = nullptr;
    Transaction* transaction_ = nullptr;
    StatementHandle handle_;
    int dialect_ = 3;
    bool returnsRows_ = false;
    bool cursorOpen_ = false;
    std::unique_ptr<char[]> sqlda_;  // XSQLDA of variable size
    std::vector<char> buffer_;       // data and null indicators of every column
    std::vector<ColumnInfo> columns_;
};

}  // namespace firebird
