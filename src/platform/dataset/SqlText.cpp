#include "SqlText.h"

#include <algorithm>

namespace dataset {

namespace {

struct Token {
    enum Kind { Word, Other } kind;
    std::string text;  // words upper-cased
    std::size_t begin;
    std::size_t end;
    int depth;  // parentheses around it
};

bool wordStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool wordChar(char c) {
    return wordStart(c) || (c >= '0' && c <= '9') || c == '_' || c == '$';
}

std::string upper(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](char c) {
        return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    });
    return out;
}

// Skips a quoted run starting at `i` (its opening quote); a doubled quote stays inside.
std::size_t skipQuoted(std::string_view sql, std::size_t i) {
    const char q = sql[i++];
    while (i < sql.size()) {
        if (sql[i] == q) {
            if (i + 1 < sql.size() && sql[i + 1] == q) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return i;
}

std::vector<Token> tokenize(std::string_view sql) {
    std::vector<Token> tokens;
    int depth = 0;
    std::size_t i = 0;
    while (i < sql.size()) {
        const char c = sql[i];
        if (static_cast<unsigned char>(c) <= ' ') {
            ++i;
        } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
            while (i < sql.size() && sql[i] != '\n')
                ++i;
        } else if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
            const std::size_t close = sql.find("*/", i + 2);
            i = close == std::string_view::npos ? sql.size() : close + 2;
        } else if (wordStart(c)) {
            const std::size_t begin = i;
            while (i < sql.size() && wordChar(sql[i]))
                ++i;
            tokens.push_back({Token::Word, upper(sql.substr(begin, i - begin)), begin, i, depth});
        } else if (c == '\'' || c == '"') {
            const std::size_t begin = i;
            i = skipQuoted(sql, i);
            tokens.push_back(
                {Token::Other, std::string(sql.substr(begin, i - begin)), begin, i, depth});
        } else {
            if (c == ')')
                --depth;
            tokens.push_back({Token::Other, std::string(1, c), i, i + 1, depth});
            if (c == '(')
                ++depth;
            ++i;
        }
    }
    return tokens;
}

bool isWord(const std::vector<Token>& t, std::size_t i, std::string_view word) {
    return i < t.size() && t[i].kind == Token::Word && t[i].text == word;
}

bool isSymbol(const std::vector<Token>& t, std::size_t i, std::string_view symbol) {
    return i < t.size() && t[i].kind == Token::Other && t[i].text == symbol;
}

}  // namespace

std::optional<SimpleSelect> parseSimpleSelect(std::string_view sql) {
    const std::vector<Token> t = tokenize(sql);
    if (!isWord(t, 0, "SELECT") || !isSymbol(t, 1, "*") || !isWord(t, 2, "FROM"))
        return {};
    if (t.size() < 4 || t[3].kind != Token::Word)
        return {};
    if (t.size() > 4) {
        const bool clause = isWord(t, 4, "WHERE") ||
                            (isWord(t, 4, "ORDER") && isWord(t, 5, "BY")) || isWord(t, 4, "PLAN") ||
                            isWord(t, 4, "ROWS");
        if (!clause)
            return {};
    }
    return SimpleSelect{std::string(sql.substr(t[3].begin, t[3].end - t[3].begin)), t[1].end};
}

std::vector<std::string> trailingOrderBy(std::string_view sql) {
    const std::vector<Token> t = tokenize(sql);
    std::size_t at = t.size();
    for (std::size_t i = t.size(); i-- > 1;) {
        if (t[i].depth == 0 && isWord(t, i, "BY") && isWord(t, i - 1, "ORDER")) {
            at = i + 1;
            break;
        }
    }
    std::vector<std::string> names;
    if (at >= t.size())
        return names;
    for (std::size_t i = at; i < t.size();) {
        if (t[i].kind != Token::Word)
            return {};
        names.push_back(t[i].text);
        ++i;
        if (isWord(t, i, "ASC") || isWord(t, i, "ASCENDING"))
            ++i;
        if (i == t.size())
            break;
        if (!isSymbol(t, i, ","))
            return {};
        ++i;
        if (i == t.size())
            return {};
    }
    return names;
}

}  // namespace dataset
