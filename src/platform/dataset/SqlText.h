#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dataset {

// Just enough reading of a SELECT statement for the provider: the table of a
// plain "SELECT * FROM <table> ..." and the column names of a trailing
// ORDER BY. Literals, quoted names, comments and parentheses are skipped over,
// so nothing inside them is taken for a keyword.

struct SimpleSelect {
    std::string table;      // as written; an unquoted name
    std::size_t afterStar;  // offset just past the "*"
};

// The statement is "SELECT * FROM <table>" followed by nothing or by a WHERE,
// ORDER BY, PLAN or ROWS clause (no alias, no join, no second table).
std::optional<SimpleSelect> parseSimpleSelect(std::string_view sql);

// The names of a trailing "ORDER BY a, b" made of plain column names (each
// maybe followed by ASC); empty when there is none or it holds anything else.
std::vector<std::string> trailingOrderBy(std::string_view sql);

}  // namespace dataset
