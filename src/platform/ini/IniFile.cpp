#include "IniFile.h"

#include "os/Os.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

namespace ini {

namespace {

struct Line {
    std::string_view body;  // without its line ending
    std::string_view end;   // "\n", "\r\n" or empty for an unterminated last line
};

std::vector<Line> splitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        const auto nl = text.find('\n', at);
        if (nl == std::string_view::npos) {
            lines.push_back({text.substr(at), {}});
            break;
        }
        std::size_t bodyEnd = nl;
        if (bodyEnd > at && text[bodyEnd - 1] == '\r') --bodyEnd;
        lines.push_back({text.substr(at, bodyEnd - at), text.substr(bodyEnd, nl + 1 - bodyEnd)});
        at = nl + 1;
    }
    return lines;
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
    return s;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// The section name of a "[name]" line.
std::optional<std::string_view> sectionOf(std::string_view body) {
    const std::string_view t = trim(body);
    if (t.empty() || t.front() != '[') return std::nullopt;
    const auto close = t.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return trim(t.substr(1, close - 1));
}

struct KeyLine {
    std::string_view key;
    std::string_view value;
};

std::optional<KeyLine> keyOf(std::string_view body) {
    const std::string_view t = trim(body);
    if (t.empty() || t.front() == ';') return std::nullopt;
    const auto eq = body.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    return KeyLine{trim(body.substr(0, eq)), body.substr(eq + 1)};
}

void checkName(std::string_view what, std::string_view name) {
    const bool isKey = what == "key";
    const std::string_view t = trim(name);
    // A key line that starts like a comment or a section would not read back as a key.
    const bool readsAsOther = isKey && !t.empty() && (t.front() == ';' || t.front() == '[');
    if (t.empty() || name.find_first_of("\r\n") != std::string_view::npos ||
        name.find(isKey ? '=' : ']') != std::string_view::npos || readsAsOther) {
        throw IniError("Invalid INI " + std::string(what) + " name");
    }
}

}  // namespace

std::optional<std::string> findValue(std::string_view text, std::string_view section,
                                     std::string_view key) {
    bool inSection = false;
    for (const Line& line : splitLines(text)) {
        if (auto name = sectionOf(line.body)) {
            if (inSection) return std::nullopt;  // only the first such section counts
            inSection = sameName(*name, trim(section));
            continue;
        }
        if (!inSection) continue;
        if (auto kv = keyOf(line.body); kv && sameName(kv->key, trim(key))) {
            return std::string(kv->value);
        }
    }
    return std::nullopt;
}

std::string withValue(std::string_view text, std::string_view section, std::string_view key,
                      std::string_view value) {
    checkName("section", section);
    checkName("key", key);
    if (value.find_first_of("\r\n") != std::string_view::npos) {
        // A line break would start a line of its own and change other keys.
        throw IniError("INI values cannot hold line breaks");
    }
    const std::vector<Line> lines = splitLines(text);
    const std::string_view eol = (!lines.empty() && lines.front().end == "\r\n") ? "\r\n" : "\n";
    const std::string entry = std::string(key) + "=" + std::string(value);

    // Find the section, its key line, and the last non-blank line inside it.
    std::optional<std::size_t> sectionLine, keyLine, lastFilled;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (auto name = sectionOf(lines[i].body)) {
            if (sectionLine) break;
            if (sameName(*name, trim(section))) {
                sectionLine = i;
                lastFilled = i;
            }
            continue;
        }
        if (!sectionLine) continue;
        if (!trim(lines[i].body).empty()) lastFilled = i;
        if (auto kv = keyOf(lines[i].body); kv && sameName(kv->key, trim(key))) {
            keyLine = i;
            break;
        }
    }

    std::string out;
    out.reserve(text.size() + entry.size() + section.size() + 8);
    auto emit = [&](std::size_t i) {
        out += lines[i].body;
        out += lines[i].end;
    };
    auto ensureEnded = [&] {
        // An unterminated last line ending in CR keeps that CR only before a CR LF.
        if (!out.empty() && out.back() == '\r') {
            out += "\r\n";
        } else if (!out.empty() && out.back() != '\n') {
            out += eol;
        }
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (keyLine && i == *keyLine) {
            out += entry;
            out += lines[i].end.empty() ? std::string_view() : lines[i].end;
            continue;
        }
        emit(i);
        if (!keyLine && lastFilled && i == *lastFilled) {
            ensureEnded();
            out += entry;
            out += eol;
        }
    }
    if (!sectionLine) {
        ensureEnded();
        out += "[";
        out += section;
        out += "]";
        out += eol;
        out += entry;
        out += eol;
    }
    return out;
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
    std::ifstream in(path_, std::ios::binary);
    if (!in) return std::string(fallback);
    std::ostringstream content;
    content << in.rdbuf();
    return findValue(content.str(), section, key).value_or(std::string(fallback));
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
    std::string current;
    {
        std::ifstream in(path_, std::ios::binary);
        if (in) {
            std::ostringstream content;
            content << in.rdbuf();
            if (in.bad()) throw IniError("Unable to write to " + path_);
            current = content.str();
        } else if (os::fileExists(path_) || os::directoryExists(path_)) {
            // Unreadable: writing would lose what it holds.
            throw IniError("Unable to write to " + path_);
        }
    }
    const std::string updated = withValue(current, section, key, value);
    if (auto error = os::replaceFile(path_, updated)) {
        throw IniError("Unable to write to " + path_ + ": " + *error);
    }
}

}  // namespace ini
