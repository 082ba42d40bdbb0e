#include "XmlPacket.h"

#include "ResultSet.h"

#include <sys/mman.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string_view>

namespace dataset {

namespace {

// Each entity padded to 8 bytes, so it is stored with one fixed-size copy.
struct Entities {
    std::array<std::array<char, 8>, 256> text{};
    std::array<unsigned char, 256> size{};
    constexpr Entities() {
        add('<', "&lt;");
        add('>', "&gt;");
        add('&', "&amp;");
        add('\'', "&apos;");
        add('"', "&quot;");
        add('\r', "&#013;");
        add('\n', "&#010;");
        add('\t', "&#009;");
        add('\\', "&#092;");
    }
    constexpr void add(unsigned char c, std::string_view entity) {
        for (std::size_t i = 0; i < entity.size(); ++i)
            text[c][i] = entity[i];
        size[c] = static_cast<unsigned char>(entity.size());
    }
};
constexpr Entities kEntities;

// The end of the run of bytes that need no escaping. Texts are mostly plain,
// so it looks at 16 bytes at a time where it can.
const unsigned char* plainRunEnd(const unsigned char* p, const unsigned char* end) {
#if defined(__SSE2__)
    const __m128i lt = _mm_set1_epi8('<'), gt = _mm_set1_epi8('>'), amp = _mm_set1_epi8('&');
    const __m128i apos = _mm_set1_epi8('\''), quot = _mm_set1_epi8('"'), cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n'), tab = _mm_set1_epi8('\t'), bs = _mm_set1_epi8('\\');
    while (end - p >= 16) {
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i markup =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(b, lt), _mm_cmpeq_epi8(b, gt)),
                         _mm_or_si128(_mm_cmpeq_epi8(b, amp), _mm_cmpeq_epi8(b, apos)));
        const __m128i other =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(b, quot), _mm_cmpeq_epi8(b, cr)),
                         _mm_or_si128(_mm_cmpeq_epi8(b, lf), _mm_cmpeq_epi8(b, tab)));
        const __m128i hit = _mm_or_si128(_mm_or_si128(markup, other), _mm_cmpeq_epi8(b, bs));
        if (const int mask = _mm_movemask_epi8(hit); mask != 0)
            return p + __builtin_ctz(mask);
        p += 16;
    }
#endif
    while (p < end && kEntities.size[*p] == 0)
        ++p;
    return p;
}

// Touching a fresh buffer of tens of megabytes one 4 KB page at a time costs
// more than writing the packet into it, so a large one asks for huge pages
// before its first touch. Only advice: the kernel may ignore it.
void adviseHugePages(std::string& buffer) {
    constexpr std::size_t kHuge = 2 * 1024 * 1024;
    if (buffer.capacity() >= 2 * kHuge) {
        const auto begin = reinterpret_cast<std::uintptr_t>(buffer.data());
        const std::uintptr_t from = (begin + kHuge - 1) / kHuge * kHuge;
        const std::uintptr_t to = (begin + buffer.capacity()) / kHuge * kHuge;
        if (to > from)
            ::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
    }
}

// Writes through a raw pointer into a small buffer that goes to the sink
// whenever it fills, so a packet of any size passes through 64 KB of memory.
class Output {
  public:
    explicit Output(const PacketSink& sink) : sink_(sink), stage_(new char[kStage]) {
        at_ = stage_.get();
        end_ = at_ + kStage;
    }

    void room(std::size_t n) {
        if (static_cast<std::size_t>(end_ - at_) < n)
            flush();
    }
    void raw(std::string_view s) {
        if (s.size() > kStage / 2) {
            flush();
            sink_(s);
            return;
        }
        room(s.size());
        std::memcpy(at_, s.data(), s.size());
        at_ += s.size();
    }
    void escaped(std::string_view s) {
        // A short text gets room for its worst case at once and is then
        // written without further checks; a long one run by run.
        constexpr std::size_t kWorst = 6;
        if (s.size() > kShort) {
            escapedLong(s);
            return;
        }
        room(s.size() * kWorst + 8);
        const auto* p = reinterpret_cast<const unsigned char*>(s.data());
        const auto* end = p + s.size();
        char* out = at_;
        while (p < end) {
            const auto* run = p;
            p = plainRunEnd(p, end);
            std::memcpy(out, run, p - run);
            out += p - run;
            if (p < end) {
                std::memcpy(out, kEntities.text[*p].data(), 8);
                out += kEntities.size[*p];
                ++p;
            }
        }
        at_ = out;
    }
    void escapedLong(std::string_view s) {
        const auto* p = reinterpret_cast<const unsigned char*>(s.data());
        const auto* end = p + s.size();
        while (p < end) {
            const auto* run = p;
            p = plainRunEnd(p, end);
            if (p > run)
                raw({reinterpret_cast<const char*>(run), static_cast<std::size_t>(p - run)});
            if (p < end) {
                raw({kEntities.text[*p].data(), kEntities.size[*p]});
                ++p;
            }
        }
    }
    // Room for at least `n` more bytes (n <= 64), to be written with advance().
    char* reserve(std::size_t n) {
        room(n);
        return at_;
    }
    void advance(char* to) { at_ = to; }

    void flush() {
        if (at_ > stage_.get())
            sink_({stage_.get(), static_cast<std::size_t>(at_ - stage_.get())});
        at_ = stage_.get();
    }

  private:
    static constexpr std::size_t kShort = 4096;
    // Holds a short text's worst case, with room to spare.
    static constexpr std::size_t kStage = 64 * 1024;

    const PacketSink& sink_;
    std::unique_ptr<char[]> stage_;
    char* at_;
    char* end_;
};

std::string escapedText(std::string_view text) {
    std::string out;
    const PacketSink sink = [&](std::string_view s) { out.append(s); };
    Output o(sink);
    o.escaped(text);
    o.flush();
    return out;
}

char* digits(char* at, int value, int width) {
    for (int i = width - 1; i >= 0; --i) {
        at[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    return at + width;
}

// printf's "%.16g" in the C locale, whatever the process's locale.
char* writeFloat(char* at, double value) {
    return std::to_chars(at, at + 32, value, std::chars_format::general, 16).ptr;
}

// The rows of a search share few dates: each is worked out once.
class DateWriter {
  public:
    char* write(char* at, ISC_DATE date) {
        if (!known_ || date != last_) {
            const firebird::CivilDate d = firebird::civilFromIscDate(date);
            digits(digits(digits(text_, d.year, 4), d.month, 2), d.day, 2);
            last_ = date;
            known_ = true;
        }
        std::memcpy(at, text_, sizeof text_);
        return at + sizeof text_;
    }

  private:
    char text_[8] = {};
    ISC_DATE last_ = 0;
    bool known_ = false;
};

char* writeTime(char* at, ISC_TIME time) {
    const TimeValue t = timeValueFromIscTime(time);
    at = digits(at, t.hour, 2);
    *at++ = ':';
    at = digits(at, t.minute, 2);
    *at++ = ':';
    return digits(at, t.second * 1000 + t.millisecond, 5);
}

const char* typeName(FieldType type) {
    switch (type) {
        case FieldType::Float:
            return "r8";
        case FieldType::Date:
            return "date";
        case FieldType::Time:
            return "time";
        case FieldType::String:
            return "string";
        case FieldType::Memo:
            return "bin.hex";
    }
    return "";
}

void attribute(Output& out, std::string_view name, std::string_view value) {
    out.raw(" ");
    out.raw(name);
    out.raw("=\"");
    out.escaped(value);
    out.raw("\"");
}

std::string positionList(const std::vector<int>& positions) {
    std::string text;
    for (int p : positions) {
        if (!text.empty())
            text += ' ';
        text += std::to_string(p);
    }
    return text;
}

void writeMetadata(Output& out, const ResultSet& set) {
    out.raw("<METADATA><FIELDS>");
    for (const FieldDef& f : set.fields()) {
        out.raw("<FIELD");
        attribute(out, "attrname", f.name);
        attribute(out, "fieldtype", typeName(f.type));
        if (f.required)
            attribute(out, "required", "true");
        if (f.type == FieldType::Memo)
            attribute(out, "SUBTYPE", "Text");
        if (f.size != 0)
            attribute(out, "WIDTH", std::to_string(f.size));
        out.raw("/>");
    }
    out.raw("</FIELDS><PARAMS");
    const PacketParams& p = set.params();
    if (!p.defaultOrder.empty())
        attribute(out, "DEFAULT_ORDER", positionList(p.defaultOrder));
    if (!p.primaryKey.empty())
        attribute(out, "PRIMARY_KEY", positionList(p.primaryKey));
    if (!p.uniqueKey.empty())
        attribute(out, "UNIQUE_KEY", positionList(p.uniqueKey));
    attribute(out, "LCID", std::to_string(p.lcid));
    out.raw("/></METADATA>");
}

}  // namespace

void writeXmlPacket(const ResultSet& set, const PacketSink& sink) {
    if (!set.active())
        throw std::logic_error("the result set is closed");
    const std::vector<FieldDef>& fields = set.fields();

    // The escaped ' NAME="' of each field.
    std::vector<std::string> prefixes;
    for (const FieldDef& f : fields) {
        // Appended piece by piece: GCC 12 warns wrongly about operator+ here at -O3.
        std::string prefix = " ";
        prefix += escapedText(f.name);
        prefix += "=\"";
        prefixes.push_back(std::move(prefix));
    }
    const std::size_t rows = set.recordCount();
    Output out(sink);

    out.raw("<?xml version=\"1.0\" standalone=\"yes\"?>  <DATAPACKET Version=\"2.0\">");
    writeMetadata(out, set);
    out.raw("<ROWDATA>");
    DateWriter dates;
    for (std::size_t r = 0; r < rows; ++r) {
        out.raw("<ROW");
        for (int f = 0; f < static_cast<int>(fields.size()); ++f) {
            if (set.isNull(r, f))
                continue;
            const FieldType type = fields[f].type;
            std::string_view text;
            if (type == FieldType::String || type == FieldType::Memo) {
                text = set.text(r, f);
                // An empty memo counts as no text at all.
                if (type == FieldType::Memo && text.empty())
                    continue;
            }
            out.raw(prefixes[f]);
            switch (type) {
                case FieldType::Float:
                    out.advance(writeFloat(out.reserve(32), set.floatValue(r, f)));
                    break;
                case FieldType::Date:
                    out.advance(dates.write(out.reserve(16), set.rawDate(r, f)));
                    break;
                case FieldType::Time:
                    out.advance(writeTime(out.reserve(16), set.rawTime(r, f)));
                    break;
                case FieldType::String:
                case FieldType::Memo:
                    out.escaped(text);
                    break;
            }
            out.raw("\"");
        }
        out.raw("/>");
    }
    out.raw("</ROWDATA></DATAPACKET>");
    out.flush();
}

std::string toXmlPacket(const ResultSet& set) {
    if (!set.active())
        throw std::logic_error("the result set is closed");
    // Reserved, not sized: sizing would zero-fill the buffer first and fault in
    // the pages the estimate overshoots.
    std::size_t perRow = sizeof("<ROW/>");
    for (const FieldDef& f : set.fields())
        perRow += f.name.size() + 4 + 24;
    std::string packet;
    packet.reserve(1024 + set.fields().size() * 96 + set.recordCount() * perRow + set.rowBytes() +
                   set.rowBytes() / 32);
    adviseHugePages(packet);
    writeXmlPacket(set, [&](std::string_view s) { packet.append(s); });
    return packet;
}

}  // namespace dataset
