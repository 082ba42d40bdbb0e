#include "TableKeys.h"

#include "firebird/Statement.h"

namespace dataset {

namespace {

std::string quoted(std::string_view text) {
    std::string out = "'";
    for (char c : text) {
        out += c;
        if (c == '\'')
            out += '\'';
    }
    return out + "'";
}

std::string trimmedRight(std::string_view text) {
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return std::string(text);
}

}  // namespace

TableKeys readTableKeys(firebird::Attachment& attachment, firebird::Transaction& transaction,
                        std::string_view table) {
    // Active unique indexes of the table, the primary key's first, each with
    // its columns in key order.
    const std::string sql =
        "SELECT I.RDB$INDEX_NAME, S.RDB$FIELD_NAME, "
        "IIF(RC.RDB$CONSTRAINT_TYPE = 'PRIMARY KEY', 1, 0) AS IS_PRIMARY "
        "FROM RDB$INDICES I "
        "JOIN RDB$INDEX_SEGMENTS S ON S.RDB$INDEX_NAME = I.RDB$INDEX_NAME "
        "LEFT JOIN RDB$RELATION_CONSTRAINTS RC ON RC.RDB$INDEX_NAME = I.RDB$INDEX_NAME "
        "WHERE I.RDB$RELATION_NAME = " +
        quoted(table) +
        " AND I.RDB$UNIQUE_FLAG = 1 AND COALESCE(I.RDB$INDEX_INACTIVE, 0) = 0 "
        "ORDER BY 3 DESC, I.RDB$INDEX_NAME, S.RDB$FIELD_POSITION";
    firebird::Statement st = firebird::Statement::prepare(attachment, transaction, sql);
    st.execute();
    TableKeys keys;
    std::string chosen;
    while (st.fetch()) {
        const std::string index = trimmedRight(st.textValue(0));
        if (chosen.empty())
            chosen = index;
        if (index != chosen)
            continue;
        const std::string column = trimmedRight(st.textValue(1));
        if (st.integerValue(2) == 1)
            keys.primaryKey.push_back(column);
        keys.uniqueKey.push_back(column);
    }
    return keys;
}

}  // namespace dataset
