#pragma once

#include "ReportDefinition.h"

#include <QFont>
#include <QString>

#include <array>
#include <string_view>

namespace report {

// The advance of every Windows-1252 byte in one font, in millimetres, measured
// once at the drawing resolution so that measuring text costs a table look-up
// per byte. Kerning is off in the drawing font, so sums of advances are exact.
class CharWidths {
  public:
    // The table of that font, measured on first use and kept for the run.
    static const CharWidths& of(const FontSpec& font);

    explicit CharWidths(const FontSpec& font);

    double advance(unsigned char byte) const noexcept { return advances_[byte]; }
    double width(std::string_view bytes) const noexcept;
    // Width of printable text that may hold characters outside Windows-1252.
    double textWidth(const QString& text) const;

    double ascent() const noexcept { return ascent_; }
    // Ascent plus descent: the height of one line without extra spacing.
    double lineHeight() const noexcept { return lineHeight_; }

    // The font to draw with in the page painter's units (hundredths of a point).
    const QFont& drawingFont() const noexcept { return font_; }

  private:
    QFont font_;
    std::array<double, 256> advances_{};
    double ascent_ = 0;
    double lineHeight_ = 0;
};

// The Qt font such a font description draws with, in the page painter's units.
QFont drawingFont(const FontSpec& font);

}  // namespace report
