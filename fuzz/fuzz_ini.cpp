// The INI reader and writer: whatever the file holds, a key written reads back
// as written and every other key reads back as before.

#include "FuzzSupport.h"

#include "ini/IniFile.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <vector>

namespace {

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ')
        s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ')
        s.remove_suffix(1);
    return s;
}

std::string folded(std::string_view s) {
    std::string out(trimmed(s));
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool hasBreak(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

// The names the writer may refuse: blank, holding a line break, or holding the
// character that ends the name on its line.
bool badSection(std::string_view s) {
    return trimmed(s).empty() || hasBreak(s) || s.find(']') != std::string_view::npos;
}
// A key is also refused when its line would read as a comment or a section.
bool badKey(std::string_view k) {
    const std::string_view t = trimmed(k);
    return t.empty() || hasBreak(k) || k.find('=') != std::string_view::npos || t.front() == ';' ||
           t.front() == '[';
}

// Every section and key name the text could be asked about, without regard to
// which section a key line falls in, capped to keep runs quick.
void collectNames(std::string_view text, std::vector<std::string>& sections,
                  std::vector<std::string>& keys) {
    auto add = [](std::vector<std::string>& to, std::string_view name) {
        if (to.size() < 24 && std::find(to.begin(), to.end(), std::string(name)) == to.end())
            to.emplace_back(name);
    };
    std::size_t at = 0;
    while (at <= text.size()) {
        std::size_t nl = text.find('\n', at);
        if (nl == std::string_view::npos)
            nl = text.size();
        const std::string_view line = text.substr(at, nl - at);
        const std::string_view t = trimmed(line);
        if (!t.empty() && t.front() == '[') {
            const auto close = t.find(']');
            if (close != std::string_view::npos)
                add(sections, t.substr(1, close - 1));
        }
        const auto eq = line.find('=');
        if (eq != std::string_view::npos)
            add(keys, line.substr(0, eq));
        at = nl + 1;
    }
}

std::string show(const std::optional<std::string>& v) {
    return v ? "\"" + fuzz::hex(*v) + "\"" : "(none)";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string section = in.ConsumeRandomLengthString(40);
    const std::string key = in.ConsumeRandomLengthString(40);
    const std::string value = in.ConsumeRandomLengthString(80);
    const std::string text = in.ConsumeRemainingBytesAsString();

    const bool refusable = hasBreak(value) || badSection(section) || badKey(key);
    std::string written;
    try {
        written = ini::withValue(text, section, key, value);
    } catch (const ini::IniError& e) {
        fuzz::check(refusable, "the writer refused a valid section, key and value",
                    std::string(e.what()) + " section=" + fuzz::hex(section) +
                        " key=" + fuzz::hex(key) + " value=" + fuzz::hex(value));
        return 0;
    }
    fuzz::check(
        !refusable, "the writer took a name or value it should refuse",
        "section=" + fuzz::hex(section) + " key=" + fuzz::hex(key) + " value=" + fuzz::hex(value));

    const auto back = ini::findValue(written, section, key);
    fuzz::check(
        back == value, "the written value does not read back",
        "read " + show(back) + " wrote \"" + fuzz::hex(value) + "\" into " + fuzz::hex(written));

    std::vector<std::string> sections{section}, keys{key};
    collectNames(text, sections, keys);
    for (const std::string& s : sections) {
        for (const std::string& k : keys) {
            if (folded(s) == folded(section) && folded(k) == folded(key))
                continue;
            const auto before = ini::findValue(text, s, k);
            const auto after = ini::findValue(written, s, k);
            fuzz::check(before == after, "another key changed",
                        "[" + fuzz::hex(s) + "] " + fuzz::hex(k) + ": " + show(before) + " -> " +
                            show(after) + "\nbefore: " + fuzz::hex(text) +
                            "\nafter:  " + fuzz::hex(written));
        }
    }
    return 0;
}
