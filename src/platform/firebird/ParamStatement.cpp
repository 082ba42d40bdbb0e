#include "ParamStatement.h"

#include "Attachment.h"
#include "DatabaseError.h"
#include "NamedParams.h"
#include "Sqlda.h"
#include "Transaction.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace firebird {

namespace {

bool sameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto up = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; };
        return up(x) == up(y);
    });
}

DatabaseError usageError(const std::string& message) {
    return DatabaseError(message, 0, 0);
}

// A blob still open when a write fails is cancelled, so nothing half-written remains.
class BlobHandle {
  public:
    BlobHandle() = default;
    BlobHandle(const BlobHandle&) = delete;
    BlobHandle& operator=(const BlobHandle&) = delete;
    ~BlobHandle() {
        if (handle_ != 0) {
            StatusVector sv;
            isc_cancel_blob(sv.get(), &handle_);
        }
    }
    isc_blob_handle* get() noexcept { return &handle_; }

  private:
    isc_blob_handle handle_ = 0;
};

}  // namespace

ParamStatement ParamStatement::prepare(Attachment& attachment, Transaction& transaction,
                                       std::string_view sql) {
    const PositionalSql positional = toPositionalParams(sql);
    ParamStatement st;
    st.attachment_ = &attachment;
    st.transaction_ = &transaction;
    st.dialect_ = attachment.dialect();
    st.names_ = positional.names;

    StatusVector sv;
    isc_dsql_allocate_statement(sv.get(), attachment.handle(), st.handle_.get());
    sv.check();

    auto output = allocSqlda(1);
    // The length argument is 16 bits; 0 means "zero-terminated text".
    const unsigned short length =
        positional.sql.size() > 0xFFFF ? 0 : static_cast<unsigned short>(positional.sql.size());
    isc_dsql_prepare(sv.get(), transaction.handle(), st.handle_.get(), length,
                     positional.sql.c_str(), static_cast<unsigned short>(st.dialect_),
                     asSqlda(output));
    sv.check();
    if (asSqlda(output)->sqld > 0)
        throw usageError("A statement with input parameters must not return rows");

    const int count = static_cast<int>(st.names_.size());
    st.sqlda_ = allocSqlda(count);
    isc_dsql_describe_bind(sv.get(), st.handle_.get(), static_cast<unsigned short>(st.dialect_),
                           asSqlda(st.sqlda_));
    sv.check();
    if (asSqlda(st.sqlda_)->sqld != count)
        throw usageError("The statement has " + std::to_string(asSqlda(st.sqlda_)->sqld) +
                         " parameters, its text names " + std::to_string(count));

    st.params_.resize(count);
    for (int i = 0; i < count; ++i) {
        const XSQLVAR& v = asSqlda(st.sqlda_)->sqlvar[i];
        Param& p = st.params_[i];
        p.describedType = static_cast<ISC_SHORT>(v.sqltype & ~1);
        p.describedSubType = v.sqlsubtype;
        p.describedScale = v.sqlscale;
    }
    return st;
}

int ParamStatement::paramIndex(std::string_view name) const noexcept {
    for (std::size_t i = 0; i < names_.size(); ++i)
        if (sameName(names_[i], name))
            return static_cast<int>(i);
    return -1;
}

std::vector<int> ParamStatement::positionsOf(std::string_view name) const {
    std::vector<int> positions;
    for (std::size_t i = 0; i < names_.size(); ++i)
        if (sameName(names_[i], name))
            positions.push_back(static_cast<int>(i));
    if (positions.empty())
        throw usageError("Parameter " + std::string(name) + " not found");
    return positions;
}

ParamStatement::Param& ParamStatement::at(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= params_.size())
        throw usageError("Parameter index " + std::to_string(index) + " out of range");
    return params_[index];
}

void ParamStatement::setStringAt(int index, std::string_view bytes) {
    Param& p = at(index);
    p.kind = Kind::String;
    p.bytes.assign(bytes);
}

void ParamStatement::setNullAt(int index) {
    Param& p = at(index);
    p.kind = Kind::Null;
    p.bytes.clear();
}

void ParamStatement::setTextBlobAt(int index, std::string_view bytes) {
    Param& p = at(index);
    p.kind = Kind::Blob;
    p.bytes.assign(bytes);
}

void ParamStatement::setTextAt(int index, std::string_view bytes) {
    if (bytes.size() <= kInlineTextLimit)
        setStringAt(index, bytes);
    else
        setTextBlobAt(index, bytes);
}

void ParamStatement::setText(std::string_view name, std::string_view bytes) {
    for (int i : positionsOf(name))
        setTextAt(i, bytes);
}

void ParamStatement::setString(std::string_view name, std::string_view bytes) {
    for (int i : positionsOf(name))
        setStringAt(i, bytes);
}

void ParamStatement::setNull(std::string_view name) {
    for (int i : positionsOf(name))
        setNullAt(i);
}

void ParamStatement::setTextBlob(std::string_view name, std::string_view bytes) {
    for (int i : positionsOf(name))
        setTextBlobAt(i, bytes);
}

void ParamStatement::writeBlob(Param& param) {
    BlobHandle blob;
    StatusVector sv;
    isc_create_blob2(sv.get(), attachment_->handle(), transaction_->handle(), blob.get(),
                     &param.blobId, 0, nullptr);
    sv.check();
    std::string_view rest = param.bytes;
    while (!rest.empty()) {
        const std::size_t n = std::min(rest.size(), kSegmentSize);
        isc_put_segment(sv.get(), blob.get(), static_cast<unsigned short>(n), rest.data());
        sv.check();
        rest.remove_prefix(n);
    }
    isc_close_blob(sv.get(), blob.get());
    sv.check();
}

void ParamStatement::bindInput(int index) {
    Param& p = params_[index];
    XSQLVAR& v = asSqlda(sqlda_)->sqlvar[index];
    v.sqlind = &p.indicator;
    switch (p.kind) {
        case Kind::Unset: {
            const std::string& name = names_[index];
            throw usageError("No value for parameter " +
                             (name.empty() ? std::to_string(index + 1) : name));
        }
        case Kind::Null:
            // The described type stays: the server wants a type even for a null.
            p.indicator = -1;
            v.sqltype = static_cast<ISC_SHORT>(p.describedType | 1);
            v.sqlsubtype = p.describedSubType;
            v.sqlscale = p.describedScale;
            break;
        case Kind::String:
            if (p.bytes.size() > 0x7FFF)
                throw usageError("Parameter text longer than 32767 bytes: send it as a blob");
            p.indicator = 0;
            v.sqltype = SQL_TEXT | 1;
            v.sqllen = static_cast<ISC_SHORT>(p.bytes.size());
            v.sqldata = p.bytes.data();
            // For text the character set is the sub-type; a blob keeps it in the scale.
            v.sqlsubtype = p.describedType == SQL_TEXT || p.describedType == SQL_VARYING
                               ? p.describedSubType
                               : (p.describedType == SQL_BLOB ? p.describedScale : 0);
            v.sqlscale = 0;
            break;
        case Kind::Blob:
            writeBlob(p);
            p.indicator = 0;
            v.sqltype = SQL_BLOB | 1;
            v.sqllen = sizeof(ISC_QUAD);
            v.sqldata = reinterpret_cast<char*>(&p.blobId);
            v.sqlsubtype = p.describedType == SQL_BLOB ? p.describedSubType : 1;
            v.sqlscale = p.describedType == SQL_BLOB ? p.describedScale : 0;
            break;
    }
}

void ParamStatement::execute() {
    for (std::size_t i = 0; i < params_.size(); ++i)
        bindInput(static_cast<int>(i));
    StatusVector sv;
    isc_dsql_execute(sv.get(), transaction_->handle(), handle_.get(),
                     static_cast<unsigned short>(dialect_), asSqlda(sqlda_));
    sv.check();
}

}  // namespace firebird
