#include "InlineTexts.h"

#include "SqlText.h"

#include <algorithm>

namespace dataset {

namespace {

bool isTextBlob(const firebird::ColumnInfo& c) {
    return c.type == firebird::ColumnType::Blob && c.subType == 1;
}

std::string upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](char c) {
        return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    });
    return s;
}

std::string quotedName(std::string_view name) {
    std::string out = "\"";
    for (char c : name) {
        out += c;
        if (c == '"')
            out += '"';
    }
    return out + "\"";
}

}  // namespace

std::optional<InlineTextQuery> inlineTextQuery(std::string_view sql,
                                               const std::vector<firebird::ColumnInfo>& columns,
                                               std::size_t limit) {
    if (limit == 0 || std::none_of(columns.begin(), columns.end(), isTextBlob))
        return {};
    const std::optional<SimpleSelect> select = parseSimpleSelect(sql);
    if (!select)
        return {};
    // Every column must come from that one table, so "<table>.*" gives them all.
    const std::string table = upper(select->table);
    for (const auto& c : columns) {
        if (c.relation != table)
            return {};
    }

    const std::string n = std::to_string(limit);
    InlineTextQuery query;
    query.sql = "SELECT " + select->table + ".*";
    int next = static_cast<int>(columns.size());
    for (const auto& c : columns) {
        if (!isTextBlob(c)) {
            query.inlineColumn.push_back(-1);
            continue;
        }
        const std::string col = select->table + "." + quotedName(c.name);
        // IIF evaluates the cast only for a text that fits: a longer one would
        // fail the whole statement with a truncation error.
        query.sql += ", IIF(OCTET_LENGTH(" + col + ") <= " + n + ", CAST(" + col + " AS VARCHAR(" +
                     n + ")), NULL)";
        query.inlineColumn.push_back(next++);
    }
    query.sql += sql.substr(select->afterStar);
    return query;
}

bool describesInlineTexts(const InlineTextQuery& query,
                          const std::vector<firebird::ColumnInfo>& original,
                          const std::vector<firebird::ColumnInfo>& rewritten, std::size_t limit) {
    const int extra = static_cast<int>(std::count_if(
        query.inlineColumn.begin(), query.inlineColumn.end(), [](int c) { return c >= 0; }));
    if (rewritten.size() != original.size() + static_cast<std::size_t>(extra))
        return false;
    for (std::size_t i = 0; i < original.size(); ++i) {
        const auto& a = original[i];
        const auto& b = rewritten[i];
        if (a.name != b.name || a.type != b.type || a.size != b.size || a.subType != b.subType ||
            a.nullable != b.nullable) {
            return false;
        }
    }
    // A VARCHAR of a multi-byte character set would be wider than `limit` bytes.
    for (std::size_t i = original.size(); i < rewritten.size(); ++i) {
        if (rewritten[i].type != firebird::ColumnType::Varchar ||
            rewritten[i].size != static_cast<int>(limit)) {
            return false;
        }
    }
    return true;
}

}  // namespace dataset
