// The XML packet writer: any rows give one line, and reading its ROW elements
// with the escape rules alone gives back the values that went in.

#include "FuzzSupport.h"

#include "dataset/ResultSet.h"
#include "dataset/Values.h"
#include "dataset/XmlPacket.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cfloat>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using dataset::FieldType;

// The attribute text the writer must give a value, as name and text.
struct Attribute {
    std::string name;
    std::string text;
    bool isFloat = false;
    double number = 0;
};

// The escape rules, read on their own: the nine entities and nothing else.
std::string unescape(std::string_view s, std::string_view context) {
    static const std::pair<std::string_view, char> kEntities[] = {
        {"&lt;", '<'},    {"&gt;", '>'},    {"&amp;", '&'},   {"&apos;", '\''}, {"&quot;", '"'},
        {"&#013;", '\r'}, {"&#010;", '\n'}, {"&#009;", '\t'}, {"&#092;", '\\'}};
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        const char c = s[i];
        fuzz::check(std::strchr("<>'\"\r\n\t\\", c) == nullptr || c == '\0',
                    "a character that needs escaping is written raw", std::string(context));
        if (c != '&') {
            out += c;
            ++i;
            continue;
        }
        bool known = false;
        for (const auto& [entity, ch] : kEntities) {
            if (s.substr(i, entity.size()) == entity) {
                out += ch;
                i += entity.size();
                known = true;
                break;
            }
        }
        fuzz::check(known, "an ampersand that starts no entity", std::string(context));
    }
    return out;
}

std::vector<std::vector<Attribute>> readRows(const std::string& packet) {
    const std::string open = "<ROWDATA>", close = "</ROWDATA></DATAPACKET>";
    const auto begin = packet.find(open);
    fuzz::check(begin != std::string::npos, "no ROWDATA");
    fuzz::check(packet.size() >= close.size() &&
                    packet.compare(packet.size() - close.size(), close.size(), close) == 0,
                "the packet does not end with its closing tags");
    std::size_t at = begin + open.size();
    const std::size_t end = packet.size() - close.size();
    std::vector<std::vector<Attribute>> rows;
    while (at < end) {
        fuzz::check(packet.compare(at, 4, "<ROW") == 0, "not a ROW element",
                    fuzz::hex(packet.substr(at, 40)));
        at += 4;
        std::vector<Attribute> row;
        while (packet.compare(at, 2, "/>") != 0) {
            fuzz::check(packet[at] == ' ', "attributes are not separated by a space");
            const auto eq = packet.find("=\"", at);
            fuzz::check(eq != std::string::npos && eq < end, "an attribute without a value");
            const auto quote = packet.find('"', eq + 2);
            fuzz::check(quote != std::string::npos && quote < end, "an attribute not closed");
            const std::string_view name(packet.data() + at + 1, eq - at - 1);
            const std::string_view text(packet.data() + eq + 2, quote - eq - 2);
            row.push_back({unescape(name, name), unescape(text, text)});
            at = quote + 1;
        }
        at += 2;
        rows.push_back(std::move(row));
    }
    return rows;
}

int daysIn(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

std::string printed(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string printed(const char* format, ...) {
    char buffer[64];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return std::string(buffer, static_cast<std::size_t>(n));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    std::string lastName = in.ConsumeRandomLengthString(12);
    if (lastName.empty())
        lastName = "VALOR";
    const std::vector<dataset::FieldDef> fields = {
        {"ID", FieldType::Float, 0, true},      {"DATA", FieldType::Date, 0, false},
        {"HORA", FieldType::Time, 0, false},    {"USUARIO", FieldType::String, 20, false},
        {"ACAO", FieldType::String, 30, false}, {"TABELA", FieldType::String, 50, false},
        {"LOG", FieldType::Memo, 0, false},     {lastName, FieldType::Float, 0, false}};

    dataset::RowStore store(fields);
    std::vector<std::string> texts;  // the bytes behind the views until each commit
    std::vector<std::vector<Attribute>> expected;
    while (in.remaining_bytes() > 0 && expected.size() < 64) {
        std::vector<dataset::Value> values;
        std::vector<Attribute> row;
        texts.clear();
        texts.reserve(fields.size());
        for (const dataset::FieldDef& f : fields) {
            if (in.ConsumeIntegralInRange<int>(0, 7) == 0) {
                values.emplace_back(nullptr);
                continue;
            }
            switch (f.type) {
                case FieldType::Float: {
                    // Every bit pattern: NaNs, infinities and subnormals too.
                    const auto bits = in.ConsumeIntegral<std::uint64_t>();
                    double v;
                    std::memcpy(&v, &bits, sizeof v);
                    values.emplace_back(v);
                    row.push_back({f.name, printed("%.16g", v), true, v});
                    break;
                }
                case FieldType::Date: {
                    const int y = in.ConsumeIntegralInRange(1, 9999);
                    const int m = in.ConsumeIntegralInRange(1, 12);
                    const int d = in.ConsumeIntegralInRange(1, daysIn(y, m));
                    values.emplace_back(firebird::CivilDate{y, m, d});
                    row.push_back({f.name, printed("%04d%02d%02d", y, m, d)});
                    break;
                }
                case FieldType::Time: {
                    const int h = in.ConsumeIntegralInRange(0, 23);
                    const int m = in.ConsumeIntegralInRange(0, 59);
                    const int s = in.ConsumeIntegralInRange(0, 59);
                    const int ms = in.ConsumeIntegralInRange(0, 999);
                    values.emplace_back(dataset::TimeValue{h, m, s, ms});
                    row.push_back({f.name, printed("%02d:%02d:%05d", h, m, s * 1000 + ms)});
                    break;
                }
                case FieldType::String:
                case FieldType::Memo: {
                    texts.push_back(
                        in.ConsumeRandomLengthString(f.type == FieldType::Memo ? 8192 : 64));
                    values.emplace_back(std::string_view(texts.back()));
                    // An empty memo is written as no value at all.
                    if (f.type == FieldType::String || !texts.back().empty())
                        row.push_back({f.name, texts.back()});
                    break;
                }
            }
        }
        dataset::appendRow(store, {values[0], values[1], values[2], values[3], values[4], values[5],
                                   values[6], values[7]});
        expected.push_back(std::move(row));
    }

    dataset::ResultSet set;
    set.open(std::move(store));
    const std::string packet = dataset::toXmlPacket(set);
    fuzz::check(packet.find_first_of("\r\n") == std::string::npos, "the packet is not one line");

    const auto rows = readRows(packet);
    fuzz::check(rows.size() == expected.size(), "the packet has another number of rows");
    for (std::size_t r = 0; r < rows.size(); ++r) {
        fuzz::check(rows[r].size() == expected[r].size(), "a row has another number of values");
        for (std::size_t i = 0; i < rows[r].size(); ++i) {
            const Attribute& got = rows[r][i];
            const Attribute& want = expected[r][i];
            fuzz::check(got.name == want.name, "a value under another name", fuzz::hex(got.name));
            fuzz::check(
                got.text == want.text, "a value reads back changed",
                want.name + ": got " + fuzz::hex(got.text) + " expected " + fuzz::hex(want.text));
            if (want.isFloat && std::isfinite(want.number)) {
                // Sixteen significant digits: as near as that precision allows. The
                // few doubles above 1.797693134862315e308 round up past the largest
                // one and read back as infinity: a limit of the format, not a fault.
                const double back = std::strtod(got.text.c_str(), nullptr);
                const double error = std::fabs(back - want.number);
                const bool roundsPastMax =
                    std::isinf(back) && std::fabs(want.number) > 1.797693134862315e308;
                fuzz::check(roundsPastMax || error <= std::fabs(want.number) * 7e-16 + DBL_TRUE_MIN,
                            "a number reads back too far off", got.text);
            }
        }
    }
    return 0;
}
