#pragma once

#include "StatementHandle.h"

#include <ibase.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace firebird {

class Attachment;
class Transaction;

// A prepared statement that returns no rows, run with input parameters: prepare
// once, then set values and execute as often as needed. Values stay set from one
// run to the next. Placeholders are ":NAME" or "?". Move-only; the attachment
// and the transaction object it was prepared with must outlive it (after a
// commit, the next transaction may be started into the same object).
class ParamStatement {
  public:
    ParamStatement() = default;
    static ParamStatement prepare(Attachment& attachment, Transaction& transaction,
                                  std::string_view sql);

    ParamStatement(ParamStatement&& other) noexcept = default;
    ParamStatement& operator=(ParamStatement&& other) noexcept = default;
    ParamStatement(const ParamStatement&) = delete;
    ParamStatement& operator=(const ParamStatement&) = delete;

    // One name per placeholder, in order; empty for a "?".
    const std::vector<std::string>& paramNames() const noexcept { return names_; }
    // The first placeholder of that name, without regard to case; -1 when none.
    int paramIndex(std::string_view name) const noexcept;

    // By name, every placeholder of that name gets the value; an unknown name throws.
    // Text goes as the given bytes, unconverted; the server applies the
    // column's length and rules.
    void setString(std::string_view name, std::string_view bytes);
    void setNull(std::string_view name);
    // The text goes as a blob of its own, made in the statement's transaction
    // when the statement runs.
    void setTextBlob(std::string_view name, std::string_view bytes);
    // A text for a text or blob placeholder: up to kInlineTextLimit bytes it
    // travels with the statement and the server makes the blob, which saves the
    // blob's round trips; a longer one goes as a blob of its own.
    void setText(std::string_view name, std::string_view bytes);

    void setStringAt(int index, std::string_view bytes);
    void setNullAt(int index);
    void setTextBlobAt(int index, std::string_view bytes);
    void setTextAt(int index, std::string_view bytes);

    // Runs the statement with the values set; every placeholder needs one.
    void execute();

    // Blobs are written in pieces of this size.
    static constexpr std::size_t kSegmentSize = 32 * 1024;
    // The longest text a parameter carries inline (the wire's limit is 32767).
    static constexpr std::size_t kInlineTextLimit = 32000;

  private:
    enum class Kind { Unset, Null, String, Blob };
    struct Param {
        Kind kind = Kind::Unset;
        std::string bytes;
        ISC_QUAD blobId{};
        ISC_SHORT indicator = 0;
        // As the server described the placeholder.
        ISC_SHORT describedType = 0;
        ISC_SHORT describedSubType = 0;
        ISC_SHORT describedScale = 0;
    };

    Param& at(int index);
    std::vector<int> positionsOf(std::string_view name) const;
    void bindInput(int index);
    void writeBlob(Param& param);

    Attachment* attachment_ = nullptr;
    Transaction* transaction_ = nullptr;
    StatementHandle handle_;
    int dialect_ = 3;
    std::unique_ptr<char[]> sqlda_;  // input XSQLDA of variable size
    std::vector<std::string> names_;
    std::vector<Param> params_;
};

}  // namespace firebird
