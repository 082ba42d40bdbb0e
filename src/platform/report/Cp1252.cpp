#include "Cp1252.h"

#include <array>

namespace report {

namespace {

// Bytes 0x80..0x9F; zero marks the unassigned ones.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::array<QChar, 256> buildTable() {
    std::array<QChar, 256> table{};
    for (int b = 0; b < 256; ++b) {
        char16_t c = static_cast<char16_t>(b);
        if (b < 0x20 || b == 0x7F)
            c = u' ';
        if (b >= 0x80 && b < 0xA0)
            c = kHighControls[b - 0x80] != 0 ? kHighControls[b - 0x80] : u' ';
        table[b] = QChar(c);
    }
    return table;
}

const std::array<QChar, 256>& table() {
    static const std::array<QChar, 256> t = buildTable();
    return t;
}

}  // namespace

QChar printableChar(unsigned char byte) {
    return table()[byte];
}

int cp1252Byte(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] != 0 && kHighControls[i] == u)
            return static_cast<int>(0x80 + i);
    }
    return -1;
}

QString decodePrintable(std::string_view bytes) {
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    const auto& t = table();
    for (char c : bytes)
        *out++ = t[static_cast<unsigned char>(c)];
    return text;
}

}  // namespace report
