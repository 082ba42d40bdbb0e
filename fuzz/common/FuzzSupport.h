#pragma once

// Helpers the fuzz targets share. They are written apart from the code under
// test on purpose: a target checks that code against a second reading of its
// rules, not against itself.

#include <QString>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace fuzz {

// Aborts, so that libFuzzer records the input as a crash.
[[noreturn]] inline void fail(const char* what, const std::string& detail = {}) {
    std::fprintf(stderr, "FUZZ CHECK FAILED: %s\n", what);
    if (!detail.empty())
        std::fprintf(stderr, "  %s\n", detail.c_str());
    std::abort();
}

inline void check(bool ok, const char* what, const std::string& detail = {}) {
    if (!ok)
        fail(what, detail);
}

// A readable hex dump for failure messages.
inline std::string hex(std::string_view bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += static_cast<char>(c);
        } else {
            out += "\\x";
            out += digits[c >> 4];
            out += digits[c & 15];
        }
    }
    return out;
}

inline std::string hex(const QString& text) {
    std::string out;
    for (QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F && c != u'\\') {
            out += static_cast<char>(c.unicode());
        } else {
            char buf[16];
            std::snprintf(buf, sizeof buf, "\\u%04x", c.unicode());
            out += buf;
        }
    }
    return out;
}

// Input bytes as typed text: each byte is its Latin-1 character, except that
// 0xFF followed by two bytes stands for any UTF-16 unit (surrogates too), so
// seed files stay readable while every character can still be reached.
inline QString typedText(std::string_view bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b == 0xFF && i + 2 < bytes.size()) {
            const auto hi = static_cast<unsigned char>(bytes[i + 1]);
            const auto lo = static_cast<unsigned char>(bytes[i + 2]);
            text += QChar(static_cast<char16_t>(hi << 8 | lo));
            i += 2;
        } else {
            text += QChar(static_cast<char16_t>(b));
        }
    }
    return text;
}

// Blanks (code 32 or lower) off both ends.
inline QString trimBlanks(const QString& text) {
    qsizetype first = 0, last = text.size();
    while (first < last && text[first].unicode() <= 0x20)
        ++first;
    while (last > first && text[last - 1].unicode() <= 0x20)
        --last;
    return text.mid(first, last - first);
}

// Windows-1252 bytes 0x80..0x9F; zero for the five bytes the code page leaves
// unassigned (they map to the C1 controls of the same number).
inline constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The byte of a code point in Windows-1252, or -1.
inline int cp1252Byte(char32_t u) {
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<int>(u);
    for (int i = 0; i < 32; ++i) {
        const char16_t assigned = kCp1252High[i];
        if (assigned != 0 ? assigned == u : u == static_cast<char32_t>(0x80 + i))
            return 0x80 + i;
    }
    return -1;
}

// Text in Windows-1252: one "?" for each code point the code page lacks, a
// surrogate pair counting as one and a lone surrogate as one.
inline std::string cp1252(const QString& text) {
    std::string out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t u = text[i].unicode();
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            u = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        const int b = (u >= 0xD800 && u < 0xE000) ? -1 : cp1252Byte(u);
        out += b < 0 ? '?' : static_cast<char>(b);
    }
    return out;
}

// The character a byte prints as on a report: control characters and the
// unassigned bytes as a space.
inline QChar printedAs(unsigned char b) {
    if (b < 0x20 || b == 0x7F)
        return u' ';
    if (b >= 0x80 && b < 0xA0)
        return kCp1252High[b - 0x80] != 0 ? QChar(kCp1252High[b - 0x80]) : QChar(u' ');
    return QChar(static_cast<char16_t>(b));
}

}  // namespace fuzz
