#include "ScriptRunner.h"

#include "SqlConnection.h"

#include <cctype>

namespace firebird {

namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ')
        s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ')
        s.remove_suffix(1);
    return s;
}

// The words of a command, split at blanks.
std::vector<std::string> words(std::string_view text) {
    std::vector<std::string> out;
    std::string word;
    for (char c : text) {
        if (static_cast<unsigned char>(c) <= ' ') {
            if (!word.empty())
                out.push_back(std::move(word)), word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty())
        out.push_back(std::move(word));
    return out;
}

// Where the next terminator outside quotes and comments starts.
std::size_t findTerminator(std::string_view s, std::size_t from, std::string_view term) {
    for (std::size_t i = from; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '\'' || c == '"') {
            const auto close = s.find(c, i + 1);
            if (close == std::string_view::npos)
                return std::string_view::npos;
            i = close;
        } else if (c == '-' && i + 1 < s.size() && s[i + 1] == '-') {
            const auto nl = s.find('\n', i);
            if (nl == std::string_view::npos)
                return std::string_view::npos;
            i = nl;
        } else if (c == '/' && i + 1 < s.size() && s[i + 1] == '*') {
            const auto close = s.find("*/", i + 2);
            if (close == std::string_view::npos)
                return std::string_view::npos;
            i = close + 1;
        } else if (s.compare(i, term.size(), term) == 0) {
            return i;
        }
    }
    return std::string_view::npos;
}

}  // namespace

std::vector<ScriptStep> splitScript(std::string_view script) {
    std::vector<ScriptStep> steps;
    std::string term = ";";
    std::size_t at = 0;
    while (at < script.size()) {
        const std::size_t end = findTerminator(script, at, term);
        const std::string_view piece = trim(
            script.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at));
        at = end == std::string_view::npos ? script.size() : end + term.size();
        if (piece.empty())
            continue;

        // "SET TERM ^ ;" arrives here as "SET TERM ^", its old terminator cut off.
        const std::vector<std::string> w = words(piece);
        auto upper = [](std::string t) {
            for (char& c : t)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            return t;
        };
        if (w.size() == 3 && upper(w[0]) == "SET" && upper(w[1]) == "TERM") {
            term = w[2];
            steps.push_back({ScriptStep::Kind::SetTerm, term});
        } else if (!w.empty() && upper(w[0]) == "COMMIT" &&
                   (w.size() == 1 || (w.size() == 2 && upper(w[1]) == "WORK"))) {
            steps.push_back({ScriptStep::Kind::Commit, {}});
        } else {
            steps.push_back({ScriptStep::Kind::Statement, std::string(piece)});
        }
    }
    return steps;
}

void ScriptRunner::executeScript() {
    for (const ScriptStep& step : splitScript(script_)) {
        // Every statement commits as it completes, so a COMMIT has nothing left to do.
        if (step.kind == ScriptStep::Kind::Statement)
            database_->execute(step.text);
    }
}

}  // namespace firebird
