#include "NamedParams.h"

namespace firebird {

namespace {

bool nameStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool nameChar(char c) {
    return nameStart(c) || (c >= '0' && c <= '9') || c == '$';
}

}  // namespace

PositionalSql toPositionalParams(std::string_view sql) {
    PositionalSql out;
    out.sql.reserve(sql.size());
    std::size_t i = 0;
    // Copies up to and including the closing text, or to the end when it is missing.
    auto copyThrough = [&](std::string_view close, std::size_t from) {
        const std::size_t end = sql.find(close, from);
        const std::size_t stop = end == std::string_view::npos ? sql.size() : end + close.size();
        out.sql.append(sql.substr(i, stop - i));
        i = stop;
    };
    while (i < sql.size()) {
        const char c = sql[i];
        if (c == '\'' || c == '"') {
            // A doubled quote inside reads as two quoted runs back to back: same text.
            copyThrough(std::string_view(&sql[i], 1), i + 1);
        } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
            copyThrough("\n", i + 2);
        } else if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
            copyThrough("*/", i + 2);
        } else if (c == ':' && i + 1 < sql.size() && nameStart(sql[i + 1])) {
            std::size_t end = i + 1;
            while (end < sql.size() && nameChar(sql[end]))
                ++end;
            out.names.emplace_back(sql.substr(i + 1, end - i - 1));
            out.sql += '?';
            i = end;
        } else {
            if (c == '?')
                out.names.emplace_back();
            out.sql += c;
            ++i;
        }
    }
    return out;
}

}  // namespace firebird
