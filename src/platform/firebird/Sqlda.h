#pragma once

#include <ibase.h>

#include <cstring>
#include <memory>

namespace firebird {

// An XSQLDA is of variable size: it is held as raw bytes and seen through this.
inline XSQLDA* asSqlda(const std::unique_ptr<char[]>& raw) {
    return reinterpret_cast<XSQLDA*>(raw.get());
}

// An empty XSQLDA with room for `count` variables (at least one).
inline std::unique_ptr<char[]> allocSqlda(int count) {
    const int n = count > 0 ? count : 1;
    auto raw = std::make_unique<char[]>(XSQLDA_LENGTH(n));
    std::memset(raw.get(), 0, XSQLDA_LENGTH(n));
    auto* da = reinterpret_cast<XSQLDA*>(raw.get());
    da->version = SQLDA_VERSION1;
    da->sqln = static_cast<ISC_SHORT>(n);
    return raw;
}

}  // namespace firebird
