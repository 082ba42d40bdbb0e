#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace firebird {

// A statement text as DSQL takes it: every ":NAME" placeholder outside quotes
// and comments turned into "?", with the names in the order they appear. A "?"
// of the text itself stays and gets an empty name.
struct PositionalSql {
    std::string sql;
    std::vector<std::string> names;
};

PositionalSql toPositionalParams(std::string_view sql);

}  // namespace firebird
