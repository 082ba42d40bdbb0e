#include "Statement.h"

#include "Attachment.h"
#include "DatabaseError.h"
#include "Sqlda.h"
#include "Transaction.h"

#include <cstdio>
#include <cstring>
#include <utility>

namespace firebird {

namespace {

ColumnType typeOf(const XSQLVAR& v) {
    switch (v.sqltype & ~1) {
        case SQL_SHORT: return ColumnType::SmallInt;
        case SQL_LONG: return ColumnType::Integer;
        case SQL_INT64: return ColumnType::BigInt;
        case SQL_FLOAT: return ColumnType::Float;
        case SQL_DOUBLE:
        case SQL_D_FLOAT: return ColumnType::Double;
        case SQL_TYPE_DATE: return ColumnType::Date;
        case SQL_TYPE_TIME: return ColumnType::Time;
        case SQL_TIMESTAMP: return ColumnType::Timestamp;
        case SQL_TEXT: return ColumnType::Char;
        case SQL_VARYING: return ColumnType::Varchar;
        case SQL_BLOB: return ColumnType::Blob;
        case SQL_BOOLEAN: return ColumnType::Boolean;
        default:
            throw DatabaseError("Unsupported column type " + std::to_string(v.sqltype & ~1), 0, 0);
    }
}

std::int64_t statementType(isc_stmt_handle* handle) {
    const char items[] = {isc_info_sql_stmt_type};
    char reply[16] = {};
    StatusVector sv;
    isc_dsql_sql_info(sv.get(), handle, sizeof items, items, sizeof reply, reply);
    sv.check();
    if (reply[0] != isc_info_sql_stmt_type) return 0;
    const short len = static_cast<short>(isc_vax_integer(reply + 1, 2));
    return isc_vax_integer(reply + 3, len);
}

constexpr std::size_t align(std::size_t offset, std::size_t to) { return (offset + to - 1) / to * to; }

}  // namespace

Statement Statement::prepare(Attachment& attachment, Transaction& transaction,
                             std::string_view sql) {
    Statement st;
    st.attachment_ = &attachment;
    st.transaction_ = &transaction;
    st.dialect_ = attachment.dialect();

    StatusVector sv;
    isc_dsql_allocate_statement(sv.get(), attachment.handle(), st.handle_.get());
    sv.check();

    st.sqlda_ = allocSqlda(16);
    if (sql.size() > 0xFFFF) {
        // The length argument is 16 bits; 0 means "zero-terminated text".
        const std::string text(sql);
        isc_dsql_prepare(sv.get(), transaction.handle(), st.handle_.get(), 0, text.c_str(),
                         static_cast<unsigned short>(st.dialect_), asSqlda(st.sqlda_));
    } else {
        isc_dsql_prepare(sv.get(), transaction.handle(), st.handle_.get(),
                         static_cast<unsigned short>(sql.size()), sql.data(),
                         static_cast<unsigned short>(st.dialect_), asSqlda(st.sqlda_));
    }
    sv.check();

    const int needed = asSqlda(st.sqlda_)->sqld;
    if (needed > asSqlda(st.sqlda_)->sqln) {
        st.sqlda_ = allocSqlda(needed);
        isc_dsql_describe(sv.get(), st.handle_.get(), static_cast<unsigned short>(st.dialect_),
                          asSqlda(st.sqlda_));
        sv.check();
    }
    const auto type = statementType(st.handle_.get());
    st.returnsRows_ = type == isc_info_sql_stmt_select || type == isc_info_sql_stmt_select_for_upd;
    st.bindOutput();
    return st;
}

void Statement::bindOutput() {
    XSQLDA* da = asSqlda(sqlda_);
    columns_.clear();
    columns_.reserve(da->sqld);
    std::size_t size = 0;
    std::vector<std::size_t> dataAt(da->sqld), nullAt(da->sqld);
    for (int i = 0; i < da->sqld; ++i) {
        XSQLVAR& v = da->sqlvar[i];
        ColumnInfo info;
        info.name.assign(v.aliasname, v.aliasname_length);
        info.relation.assign(v.relname, v.relname_length);
        info.type = typeOf(v);
        info.size = (info.type == ColumnType::Char || info.type == ColumnType::Varchar) ? v.sqllen : 0;
        info.scale = v.sqlscale;
        info.subType = v.sqlsubtype;
        info.nullable = (v.sqltype & 1) != 0;
        columns_.push_back(std::move(info));

        // Always ask for an indicator, so every column reads the same way.
        v.sqltype = static_cast<ISC_SHORT>(v.sqltype | 1);
        std::size_t len = v.sqllen;
        if ((v.sqltype & ~1) == SQL_VARYING) len += sizeof(ISC_USHORT);
        size = align(size, 8);
        dataAt[i] = size;
        size += len;
        size = align(size, alignof(ISC_SHORT));
        nullAt[i] = size;
        size += sizeof(ISC_SHORT);
    }
    buffer_.assign(size + 8, 0);
    for (int i = 0; i < da->sqld; ++i) {
        da->sqlvar[i].sqldata = buffer_.data() + dataAt[i];
        da->sqlvar[i].sqlind = reinterpret_cast<ISC_SHORT*>(buffer_.data() + nullAt[i]);
    }
}

void Statement::execute() {
    StatusVector sv;
    closeCursor();
    isc_dsql_execute2(sv.get(), transaction_->handle(), handle_.get(),
                      static_cast<unsigned short>(dialect_), nullptr, nullptr);
    sv.check();
    cursorOpen_ = returnsRows_;
}

bool Statement::fetch() {
    // A statement moved from keeps its flag but no longer its handle.
    if (!cursorOpen_ || !handle_) return false;
    StatusVector sv;
    const auto dialect = static_cast<unsigned short>(dialect_);
    const ISC_STATUS rc = isc_dsql_fetch(sv.get(), handle_.get(), dialect, asSqlda(sqlda_));
    if (rc == 100) {
        closeCursor();
        return false;
    }
    sv.check();
    return true;
}

void Statement::closeCursor() noexcept {
    if (!cursorOpen_ || !handle_) return;
    StatusVector sv;
    isc_dsql_free_statement(sv.get(), handle_.get(), DSQL_close);
    cursorOpen_ = false;
}

const XSQLVAR& Statement::var(int column) const noexcept {
    return asSqlda(sqlda_)->sqlvar[column];
}

bool Statement::isNull(int column) const noexcept { return *var(column).sqlind == -1; }

double Statement::doubleValue(int column) const {
    const XSQLVAR& v = var(column);
    switch (v.sqltype & ~1) {
        case SQL_DOUBLE:
        case SQL_D_FLOAT: {
            double d;
            std::memcpy(&d, v.sqldata, sizeof d);
            return d;
        }
        case SQL_FLOAT: {
            float f;
            std::memcpy(&f, v.sqldata, sizeof f);
            return f;
        }
        default: {
            double d = static_cast<double>(integerValue(column));
            for (int s = v.sqlscale; s < 0; ++s) d /= 10;
            return d;
        }
    }
}

std::int64_t Statement::integerValue(int column) const {
    const XSQLVAR& v = var(column);
    switch (v.sqltype & ~1) {
        case SQL_SHORT: {
            ISC_SHORT x;
            std::memcpy(&x, v.sqldata, sizeof x);
            return x;
        }
        case SQL_LONG: {
            ISC_LONG x;
            std::memcpy(&x, v.sqldata, sizeof x);
            return x;
        }
        case SQL_INT64: {
            ISC_INT64 x;
            std::memcpy(&x, v.sqldata, sizeof x);
            return x;
        }
        case SQL_BOOLEAN: return *v.sqldata != 0;
        case SQL_DOUBLE:
        case SQL_FLOAT: return static_cast<std::int64_t>(doubleValue(column));
        default: throw DatabaseError("Column is not numeric", 0, 0);
    }
}

ISC_DATE Statement::dateValue(int column) const noexcept {
    ISC_DATE d;
    std::memcpy(&d, var(column).sqldata, sizeof d);
    return d;
}

ISC_TIME Statement::timeValue(int column) const noexcept {
    ISC_TIME t;
    std::memcpy(&t, var(column).sqldata, sizeof t);
    return t;
}

ISC_TIMESTAMP Statement::timestampValue(int column) const noexcept {
    ISC_TIMESTAMP ts;
    std::memcpy(&ts, var(column).sqldata, sizeof ts);
    return ts;
}

std::string_view Statement::textValue(int column) const noexcept {
    const XSQLVAR& v = var(column);
    if ((v.sqltype & ~1) == SQL_VARYING) {
        ISC_USHORT len;
        std::memcpy(&len, v.sqldata, sizeof len);
        return {v.sqldata + sizeof len, len};
    }
    return {v.sqldata, static_cast<std::size_t>(v.sqllen)};
}

ISC_QUAD Statement::blobId(int column) const noexcept {
    ISC_QUAD id;
    std::memcpy(&id, var(column).sqldata, sizeof id);
    return id;
}

void Statement::readBlob(int column, std::string& out) {
    ISC_QUAD id = blobId(column);
    isc_blob_handle blob = 0;
    StatusVector sv;
    isc_open_blob2(sv.get(), attachment_->handle(), transaction_->handle(), &blob, &id, 0, nullptr);
    sv.check();
    char segment[32768];
    for (;;) {
        unsigned short got = 0;
        const ISC_STATUS rc = isc_get_segment(sv.get(), &blob, &got, sizeof segment, segment);
        if (rc == isc_segstr_eof) break;
        if (rc != 0 && rc != isc_segment) {
            const DatabaseError error = sv.error();
            StatusVector closing;
            isc_close_blob(closing.get(), &blob);
            throw error;
        }
        out.append(segment, got);
    }
    isc_close_blob(sv.get(), &blob);
    sv.check();
}

std::string Statement::blobValue(int column) {
    std::string text;
    if (!isNull(column)) readBlob(column, text);
    return text;
}

std::string Statement::asText(int column) {
    if (isNull(column)) return {};
    switch (columns_[column].type) {
        case ColumnType::Char:
        case ColumnType::Varchar: return std::string(textValue(column));
        case ColumnType::Blob: return blobValue(column);
        case ColumnType::Float:
        case ColumnType::Double: {
            char buf[32];
            std::snprintf(buf, sizeof buf, "%.15g", doubleValue(column));
            return buf;
        }
        case ColumnType::SmallInt:
        case ColumnType::Integer:
        case ColumnType::BigInt:
        case ColumnType::Boolean:
            if (columns_[column].scale == 0) return std::to_string(integerValue(column));
            {
                char buf[48];
                std::snprintf(buf, sizeof buf, "%.*f", -columns_[column].scale, doubleValue(column));
                return buf;
            }
        default: throw DatabaseError("Column cannot be read as text", 0, 0);
    }
}

}  // namespace firebird
