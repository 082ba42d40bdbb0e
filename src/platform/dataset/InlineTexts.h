#pragma once

#include "firebird/Statement.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dataset {

// Reading a blob costs network round trips for every row, so for a plain
// "SELECT * FROM <table> ..." the provider asks the server instead for each
// text blob's value inline as a VARCHAR when it is short, and reads only the
// longer ones as blobs. The inline columns follow the table's own columns.
struct InlineTextQuery {
    std::string sql;
    // For each column of the original statement: the column of `sql` that holds
    // its short text, or -1.
    std::vector<int> inlineColumn;
};

// Empty when the statement has no text blob or is not of the plain form.
std::optional<InlineTextQuery> inlineTextQuery(std::string_view sql,
                                               const std::vector<firebird::ColumnInfo>& columns,
                                               std::size_t limit);

// Whether a statement prepared from the query describes what it promised: the
// original columns first, then one VARCHAR of `limit` bytes per text blob.
bool describesInlineTexts(const InlineTextQuery& query,
                          const std::vector<firebird::ColumnInfo>& original,
                          const std::vector<firebird::ColumnInfo>& rewritten, std::size_t limit);

}  // namespace dataset
