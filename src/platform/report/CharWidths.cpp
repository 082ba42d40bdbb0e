#include "CharWidths.h"

#include "Cp1252.h"
#include "Units.h"

#include <QFontMetricsF>

#include <cmath>
#include <map>
#include <memory>
#include <tuple>

namespace report {

QFont drawingFont(const FontSpec& font) {
    QFont drawn(font.family);
    drawn.setPixelSize(static_cast<int>(std::lround(font.pointSize * kUnitsPerPoint)));
    drawn.setBold(font.bold);
    drawn.setKerning(false);
    drawn.setHintingPreference(QFont::PreferNoHinting);
    return drawn;
}

CharWidths::CharWidths(const FontSpec& font) : font_(report::drawingFont(font)) {
    const QFontMetricsF metrics(font_);
    for (int b = 0; b < 256; ++b) {
        advances_[b] =
            metrics.horizontalAdvance(printableChar(static_cast<unsigned char>(b))) * kMmPerUnit;
    }
    ascent_ = metrics.ascent() * kMmPerUnit;
    lineHeight_ = (metrics.ascent() + metrics.descent()) * kMmPerUnit;
}

const CharWidths& CharWidths::of(const FontSpec& font) {
    using Key = std::tuple<QString, double, bool>;
    static std::map<Key, std::unique_ptr<CharWidths>> cache;
    auto& slot = cache[Key(font.family, font.pointSize, font.bold)];
    if (!slot)
        slot = std::make_unique<CharWidths>(font);
    return *slot;
}

double CharWidths::width(std::string_view bytes) const noexcept {
    double sum = 0;
    for (char c : bytes)
        sum += advances_[static_cast<unsigned char>(c)];
    return sum;
}

double CharWidths::textWidth(const QString& text) const {
    double sum = 0;
    for (QChar c : text) {
        const int byte = cp1252Byte(c);
        sum += byte >= 0 ? advances_[static_cast<std::size_t>(byte)]
                         : QFontMetricsF(font_).horizontalAdvance(c) * kMmPerUnit;
    }
    return sum;
}

}  // namespace report
