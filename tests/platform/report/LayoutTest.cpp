#include "ReportFixtures.h"

#include "report/CharWidths.h"
#include "report/PageBuilder.h"
#include "report/ReportPages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

namespace {

using fixtures::kPrintedAt;

double memoLineHeight() {
    return report::CharWidths::of(fixtures::kMemo).lineHeight();
}

// The memo's lines of every page, in print order.
std::vector<QString> memoLines(const report::ReportPages& pages) {
    std::vector<QString> lines;
    for (int i = 0; i < pages.pageCount(); ++i) {
        for (const auto& t : pages.page(i).texts) {
            if (t.font == fixtures::kMemo)
                lines.push_back(t.text);
        }
    }
    return lines;
}

TEST(ReportLayout, CountsPagesOfKnownRowSets) {
    // 247 mm of room and 12 mm bands: 20 bands a page, with or without a short memo.
    struct Case {
        std::size_t rows;
        int pages;
    };
    for (bool withMemo : {false, true}) {
        for (const Case& c :
             {Case{0, 1}, Case{1, 1}, Case{20, 1}, Case{21, 2}, Case{60, 3}, Case{61, 4}}) {
            const auto data = fixtures::rows(c.rows);
            const report::ReportPages pages(fixtures::definition(withMemo), data, kPrintedAt);
            EXPECT_EQ(pages.pageCount(), c.pages) << c.rows << " rows, memo " << withMemo;
            EXPECT_EQ(fixtures::column(pages.page(c.pages - 1), 50).size(),
                      c.rows == 0 ? 0u : c.rows - 20 * (c.pages - 1));
        }
    }
}

TEST(ReportLayout, PrintsTheNumberOfPagesOnEveryPage) {
    const auto one = fixtures::rows(1);
    const report::ReportPages single(fixtures::definition(), one, kPrintedAt);
    ASSERT_EQ(single.pageCount(), 1);
    EXPECT_NE(fixtures::findText(single.page(0), "Página 1 de 1"), nullptr);

    const auto many = fixtures::rows(45);
    const report::ReportPages three(fixtures::definition(), many, kPrintedAt);
    ASSERT_EQ(three.pageCount(), 3);
    for (int i = 0; i < 3; ++i) {
        const report::Page page = three.page(i);
        const auto* text = fixtures::findText(page, QStringLiteral("Página %1 de 3").arg(i + 1));
        ASSERT_NE(text, nullptr) << i;
        EXPECT_EQ(text->pos, QPointF(160, 10));
        EXPECT_NE(fixtures::findText(page, "04/03/2014 10:15:30"), nullptr);
        EXPECT_NE(fixtures::findText(page, "Rodapé"), nullptr);
    }
}

TEST(ReportLayout, PrintsTheTimeOnlyWhenItIsNotMidnight) {
    EXPECT_EQ(report::printDateTimeText(kPrintedAt), "04/03/2014 10:15:30");
    EXPECT_EQ(report::printDateTimeText(QDateTime(QDate(2014, 3, 4), QTime(0, 0))), "04/03/2014");
    EXPECT_EQ(report::printDateTimeText(QDateTime(QDate(2014, 3, 4), QTime(0, 0, 1))),
              "04/03/2014 00:00:01");
}

TEST(ReportLayout, PrintsAMemoLongerThanAPageWholeAcrossPages) {
    const auto perPage = static_cast<int>(std::floor(fixtures::kDetailRoom / memoLineHeight()));
    struct Case {
        std::string text;
        QString separator;  // what joins the printed lines back into the text
    };
    std::string broken;
    for (int i = 0; i < 2 * perPage + 10; ++i) {
        if (i > 0)
            broken += i % 3 == 0 ? "\r\n" : "\n";
        broken += "linha " + std::to_string(i) + " com acentua\xe7\xe3o";
    }
    std::string unbroken;
    while (unbroken.size() < 300u * perPage)
        unbroken += "abcdefghij klmnopqrstuvwxyz 0123456789 ";

    for (const Case& c : {Case{broken, "\n"}, Case{unbroken, ""}}) {
        report::MemoryPipeline data = fixtures::pipeline();
        data.addRow({"antes", "", "curto"});
        data.addRow({"longo", "", c.text});
        data.addRow({"depois", "", "fim"});
        const report::ReportPages pages(fixtures::definition(), data, kPrintedAt);
        ASSERT_EQ(pages.pageCount(), 3);

        std::vector<QString> lines = memoLines(pages);
        ASSERT_GE(lines.size(), 3u);
        EXPECT_EQ(lines.front(), "curto");
        EXPECT_EQ(lines.back(), "fim");
        QString joined;
        for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
            if (i > 1)
                joined += c.separator;
            joined += lines[i];
        }
        QString expected =
            QString::fromLatin1(c.text.data(), static_cast<qsizetype>(c.text.size()));
        expected.replace("\r\n", "\n");
        EXPECT_EQ(joined, expected);

        // The long entry's own texts print once, on its first page; its memo starts
        // right after the first band and goes on at the top of the next pages.
        const report::Page first = pages.page(0);
        const report::Page second = pages.page(1);
        EXPECT_EQ(fixtures::column(first, 10), (std::vector<QString>{"antes", "longo"}));
        EXPECT_TRUE(fixtures::column(second, 10).empty());
        EXPECT_EQ(fixtures::column(pages.page(2), 10), (std::vector<QString>{"depois"}));
        double firstMemoTop = 1e9, secondMemoTop = 1e9;
        for (const auto& t : first.texts) {
            if (t.text != "curto" && t.font == fixtures::kMemo)
                firstMemoTop = std::min(firstMemoTop, t.pos.y());
        }
        for (const auto& t : second.texts) {
            if (t.font == fixtures::kMemo)
                secondMemoTop = std::min(secondMemoTop, t.pos.y());
        }
        EXPECT_NEAR(firstMemoTop, fixtures::kDetailTop + fixtures::kBandHeight + fixtures::kMemoTop,
                    1e-9);
        EXPECT_NEAR(secondMemoTop, fixtures::kDetailTop, 1e-9);
        // Every memo line lies inside the detail area.
        for (int i = 0; i < pages.pageCount(); ++i) {
            for (const auto& t : pages.page(i).texts) {
                if (t.font != fixtures::kMemo)
                    continue;
                EXPECT_LE(t.pos.y() + memoLineHeight(),
                          fixtures::kDetailTop + fixtures::kDetailRoom + 1e-9);
                EXPECT_LE(t.width, fixtures::kMemoWidth + 1e-9);
            }
        }
    }
}

TEST(ReportLayout, GrowsTheBandWithItsMemo) {
    std::string fiveLines = "1\n2\n3\n4\n5";
    report::MemoryPipeline data = fixtures::pipeline();
    data.addRow({"a", "", fiveLines});
    data.addRow({"b", "", "x"});
    const report::ReportPages pages(fixtures::definition(), data, kPrintedAt);
    const report::Page page = pages.page(0);
    const double grown = fixtures::kBandHeight + 5 * memoLineHeight() - 4.0;
    EXPECT_NEAR(fixtures::findText(page, "b")->pos.y(), fixtures::kDetailTop + grown + 1, 1e-9);
    // A memo shorter than its box keeps the band at its design height.
    EXPECT_NEAR(fixtures::findText(page, "x")->pos.y(),
                fixtures::kDetailTop + grown + fixtures::kMemoTop, 1e-9);
}

TEST(ReportLayout, StartsAnEntryOnTheNextPageWhenNoLineOfItsMemoFits) {
    // 19 short bands leave 19 mm: the next band's fixed part (6 mm) and
    // floor(13 / line height) memo lines fit there.
    const auto fitting = static_cast<std::size_t>(std::floor(13.0 / memoLineHeight()));
    std::string text;
    for (std::size_t i = 0; i < fitting + 2; ++i)
        text += "l" + std::to_string(i) + "\n";
    report::MemoryPipeline split = fixtures::rows(19);
    split.addRow({"parte", "", text});
    const report::ReportPages pages(fixtures::definition(), split, kPrintedAt);
    ASSERT_EQ(pages.pageCount(), 2);
    EXPECT_EQ(fixtures::column(pages.page(0), 15).back(), "l" + QString::number(fitting - 1));

    // With 7 mm left, not even one line fits after the fixed part: all moves on.
    report::MemoryPipeline moved = fixtures::rows(20);
    moved.addRow({"inteira", "", text});
    const report::ReportPages next(fixtures::definition(), moved, kPrintedAt);
    ASSERT_EQ(next.pageCount(), 2);
    EXPECT_EQ(fixtures::column(next.page(1), 10).front(), "inteira");
}

TEST(ReportLayout, CutsADataTextAtTheWidthOfItsColumn) {
    const std::string name(60, 'W');
    report::MemoryPipeline data = fixtures::pipeline();
    data.addRow({name, "resto", "texto"});
    const report::ReportPages pages(fixtures::definition(), data, kPrintedAt);
    const std::vector<QString> column = fixtures::column(pages.page(0), 10);
    ASSERT_EQ(column.size(), 1u);
    const QString shown = column[0];
    const auto& widths = report::CharWidths::of(fixtures::kText);
    EXPECT_TRUE(QString::fromStdString(name).startsWith(shown));
    EXPECT_LE(widths.textWidth(shown), fixtures::kNameWidth);
    EXPECT_GT(widths.textWidth(shown + QChar(u'W')), fixtures::kNameWidth);
    EXPECT_EQ(fixtures::column(pages.page(0), 50), (std::vector<QString>{"resto"}));
}

TEST(ReportLayout, LeavesTheColumnOfAnEmptyFieldEmpty) {
    report::MemoryPipeline data = fixtures::pipeline();
    data.addRow({"com", "valor", "t1"});
    data.addRow({"sem", "", ""});
    data.addRow({"outro", "valor", "t3"});
    const report::ReportPages pages(fixtures::definition(), data, kPrintedAt);
    const report::Page page = pages.page(0);
    EXPECT_EQ(fixtures::column(page, 50), (std::vector<QString>{"valor", "valor"}));
    EXPECT_EQ(fixtures::column(page, 10), (std::vector<QString>{"com", "sem", "outro"}));
    EXPECT_EQ(fixtures::column(page, 15), (std::vector<QString>{"t1", "t3"}));
    EXPECT_EQ(page.lines.size(), 3u);
}

TEST(ReportLayout, RefusesDefinitionsItCannotLayOut) {
    const auto data = fixtures::rows(1);
    auto unknownField = fixtures::definition();
    std::get<report::DataText>(unknownField.detail.elements[1]).field = "NADA";
    EXPECT_THROW(report::ReportPages(unknownField, data), std::invalid_argument);

    auto bandTooTall = fixtures::definition(false);
    bandTooTall.detail.height = 300;
    EXPECT_THROW(report::ReportPages(bandTooTall, data), std::invalid_argument);

    auto besideMemo = fixtures::definition();
    std::get<report::DataText>(besideMemo.detail.elements[2]).box.top = 7;
    EXPECT_THROW(report::ReportPages(besideMemo, data), std::invalid_argument);
}

}  // namespace
