#pragma once

#include <cstddef>
#include <string_view>

namespace report {

class CharWidths;

// Splits a memo's text into lines: CR LF, LF and CR end a line, and a line that
// reaches the right edge breaks between two characters (spaces are ordinary
// characters). A line always takes at least one character, so a character wider
// than the box still prints. A final line break adds no empty line.
class LineBreaker {
  public:
    LineBreaker(std::string_view text, const CharWidths& widths, double boxWidth,
                std::size_t from = 0) noexcept
        : text_(text), widths_(widths), boxWidth_(boxWidth), pos_(from) {}

    // The next line without its line break; false when the text is used up.
    bool next(std::string_view& line) noexcept;
    // Where the next line starts.
    std::size_t offset() const noexcept { return pos_; }

  private:
    std::string_view text_;
    const CharWidths& widths_;
    double boxWidth_;
    std::size_t pos_;
};

std::size_t countLines(std::string_view text, const CharWidths& widths, double boxWidth) noexcept;

// Byte offset after `lines` lines taken from `from`.
std::size_t skipLines(std::string_view text, const CharWidths& widths, double boxWidth,
                      std::size_t from, std::size_t lines) noexcept;

// How many leading bytes of one line of text fit whole inside the width.
std::size_t fittingBytes(std::string_view text, const CharWidths& widths, double width) noexcept;

}  // namespace report
