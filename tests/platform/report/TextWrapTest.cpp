#include "report/CharWidths.h"
#include "report/TextWrap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using report::CharWidths;

const CharWidths& widths() {
    return CharWidths::of({QStringLiteral("Arial"), 8, false});
}

std::vector<std::string> wrap(std::string_view text, double width) {
    std::vector<std::string> lines;
    report::LineBreaker breaker(text, widths(), width);
    for (std::string_view line; breaker.next(line);)
        lines.emplace_back(line);
    return lines;
}

TEST(CharWidths, MeasuresTheLiberationMetricsOfArial) {
    // Arial's advances in thousandths of an em: "0" 556, "i" 222, "W" 944, space 278.
    const double em = 8.0 * 25.4 / 72.0;
    EXPECT_NEAR(widths().advance('0'), 0.556 * em, 0.002);
    EXPECT_NEAR(widths().advance('i'), 0.222 * em, 0.002);
    EXPECT_NEAR(widths().advance('W'), 0.944 * em, 0.002);
    EXPECT_NEAR(widths().advance(' '), 0.278 * em, 0.002);
    // Bold is wider; a byte and the same character as text measure alike.
    EXPECT_GT(CharWidths::of({QStringLiteral("Arial"), 8, true}).width("abc"),
              widths().width("abc"));
    EXPECT_NEAR(widths().width(std::string_view("A\xe7\xe3o")),
                widths().textWidth(QStringLiteral("Ação")), 1e-9);
    EXPECT_NEAR(widths().lineHeight(), (0.905 + 0.212) * em, 0.01);
}

TEST(LineBreaker, BreaksBetweenCharactersAtTheRightEdgeNotAtSpaces) {
    const double width = widths().width("abcdef gh");
    EXPECT_EQ(wrap("abcdef ghijkl", width), (std::vector<std::string>{"abcdef gh", "ijkl"}));
    // Just short of the edge, the last character goes to the next line.
    EXPECT_EQ(wrap("abcdef ghijkl", width - 0.01), (std::vector<std::string>{"abcdef g", "hijkl"}));
    // A space that falls at the edge starts the next line.
    EXPECT_EQ(wrap("abc de", widths().width("abc")), (std::vector<std::string>{"abc", " de"}));
}

TEST(LineBreaker, EndsLinesAtEveryKindOfLineBreak) {
    struct Case {
        std::string text;
        std::vector<std::string> lines;
    };
    const double wide = 100.0;
    for (const Case& c : {
             Case{"a\r\nb", {"a", "b"}},
             Case{"a\nb", {"a", "b"}},
             Case{"a\rb", {"a", "b"}},
             Case{"a\n\r\nb", {"a", "", "b"}},
             Case{"a\r\rb", {"a", "", "b"}},
             Case{"a\r\n", {"a"}},
             Case{"a\n\n", {"a", ""}},
             Case{"\n", {""}},
             Case{"", {}},
         }) {
        EXPECT_EQ(wrap(c.text, wide), c.lines) << testing::PrintToString(c.text);
        EXPECT_EQ(report::countLines(c.text, widths(), wide), c.lines.size());
    }
}

TEST(LineBreaker, PutsACharacterWiderThanTheBoxOnALineOfItsOwn) {
    EXPECT_EQ(wrap("WWW", widths().advance('W') / 2), (std::vector<std::string>{"W", "W", "W"}));
}

TEST(LineBreaker, SkipsLinesToTheOffsetALaterLineStartsAt) {
    const std::string text = "um\r\ndois tres quatro\ncinco";
    const double width = widths().width("dois tres");
    const std::size_t offset = report::skipLines(text, widths(), width, 0, 2);
    EXPECT_EQ(text.substr(offset), " quatro\ncinco");
    report::LineBreaker breaker(text, widths(), width, offset);
    std::string_view line;
    ASSERT_TRUE(breaker.next(line));
    EXPECT_EQ(line, " quatro");
}

TEST(FittingBytes, KeepsTheCharactersThatFitWhole) {
    const std::string text = "0123456789";
    EXPECT_EQ(report::fittingBytes(text, widths(), widths().width("0123")), 4u);
    EXPECT_EQ(report::fittingBytes(text, widths(), widths().width("0123") - 0.01), 3u);
    EXPECT_EQ(report::fittingBytes(text, widths(), 1000), text.size());
    EXPECT_EQ(report::fittingBytes(text, widths(), 0), 0u);
}

}  // namespace
