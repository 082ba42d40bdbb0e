#include "TextWrap.h"

#include "CharWidths.h"
#include "Units.h"

namespace report {

bool LineBreaker::next(std::string_view& line) noexcept {
    const std::size_t size = text_.size();
    if (pos_ >= size)
        return false;
    const std::size_t begin = pos_;
    const double limit = boxWidth_ + kEpsilonMm;
    double used = 0;
    std::size_t i = begin;
    while (i < size) {
        const auto c = static_cast<unsigned char>(text_[i]);
        if (c == '\n' || c == '\r') {
            line = text_.substr(begin, i - begin);
            pos_ = i + 1;
            if (c == '\r' && pos_ < size && text_[pos_] == '\n')
                ++pos_;
            return true;
        }
        used += widths_.advance(c);
        if (used > limit && i > begin)
            break;
        ++i;
    }
    line = text_.substr(begin, i - begin);
    pos_ = i;
    return true;
}

std::size_t countLines(std::string_view text, const CharWidths& widths, double boxWidth) noexcept {
    LineBreaker breaker(text, widths, boxWidth);
    std::string_view line;
    std::size_t n = 0;
    while (breaker.next(line))
        ++n;
    return n;
}

std::size_t skipLines(std::string_view text, const CharWidths& widths, double boxWidth,
                      std::size_t from, std::size_t lines) noexcept {
    LineBreaker breaker(text, widths, boxWidth, from);
    std::string_view line;
    for (std::size_t n = 0; n < lines && breaker.next(line); ++n) {
    }
    return breaker.offset();
}

std::size_t fittingBytes(std::string_view text, const CharWidths& widths, double width) noexcept {
    const double limit = width + kEpsilonMm;
    double used = 0;
    std::size_t i = 0;
    for (; i < text.size(); ++i) {
        used += widths.advance(static_cast<unsigned char>(text[i]));
        if (used > limit)
            break;
    }
    return i;
}

}  // namespace report
