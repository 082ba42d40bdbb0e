#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace ini {

class IniError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The value of `key` in `section` of an INI text: a line "[section]", then lines
// "key=value". Names match without regard to case; blanks around a name are
// ignored; the value is everything after the first "=", exactly as written.
std::optional<std::string> findValue(std::string_view text, std::string_view section,
                                     std::string_view key);

// The INI text with `key` of `section` set to `value`: the key's line is replaced,
// or added at the end of its section, or a new section is added at the end. Every
// other line stays byte for byte, in the file's own line ending (LF or CR LF).
// Throws IniError for a value with a line break, a blank name, a section name with
// "]" and a key with "=" or starting with ";" or "[" (it would not read back).
std::string withValue(std::string_view text, std::string_view section, std::string_view key,
                      std::string_view value);

// An INI file on disk, read afresh by every call, like the private-profile functions.
class IniFile {
public:
    explicit IniFile(std::string path) : path_(std::move(path)) {}
    const std::string& path() const noexcept { return path_; }

    // A missing file, section or key gives `fallback`.
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view fallback = {}) const;
    // Creates the file and the section when missing; replaces the file whole, so a
    // failed write leaves it as it was. Throws IniError.
    void writeString(std::string_view section, std::string_view key, std::string_view value);

private:
    std::string path_;
};

}  // namespace ini
