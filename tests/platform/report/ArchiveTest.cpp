#include "ReportFixtures.h"
#include "TestSupport.h"

#include "report/FileError.h"
#include "report/ReportArchive.h"
#include "report/ReportPages.h"

#include <gtest/gtest.h>

namespace {

bool samePage(const report::Page& a, const report::Page& b) {
    if (a.size != b.size || a.texts.size() != b.texts.size() || a.lines.size() != b.lines.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.texts.size(); ++i) {
        const auto& x = a.texts[i];
        const auto& y = b.texts[i];
        if (x.pos != y.pos || x.width != y.width || x.text != y.text || !(x.font == y.font))
            return false;
    }
    for (std::size_t i = 0; i < a.lines.size(); ++i) {
        const auto& x = a.lines[i];
        const auto& y = b.lines[i];
        if (x.from != y.from || x.to != y.to || x.weightPt != y.weightPt)
            return false;
    }
    return true;
}

TEST(ReportArchive, GivesBackEveryPageAsItWasLaidOut) {
    report::MemoryPipeline data = fixtures::rows(30, "acentua\xe7\xe3o \x80 texto");
    data.addRow({"", "", std::string(5000, 'x')});
    const report::ReportPages pages(fixtures::definition(), data, fixtures::kPrintedAt);
    testsupport::TempDir dir;
    const QString path = QString::fromStdString(dir.file("r.raf"));
    report::writeArchive(pages, path);

    const auto archive = report::ArchivePages::open(path);
    ASSERT_EQ(archive->pageCount(), pages.pageCount());
    ASSERT_GE(pages.pageCount(), 2);
    for (int i = 0; i < pages.pageCount(); ++i) {
        EXPECT_TRUE(samePage(archive->page(i), pages.page(i))) << "page " << i;
    }
    EXPECT_NE(fixtures::findText(archive->page(0), "acentuação € texto"), nullptr);
}

TEST(ReportArchive, RefusesFilesThatAreNotWholeArchives) {
    testsupport::TempDir dir;
    const auto data = fixtures::rows(25);
    const report::ReportPages pages(fixtures::definition(), data, fixtures::kPrintedAt);
    const std::string good = dir.file("good.raf");
    report::writeArchive(pages, QString::fromStdString(good));
    const std::string bytes = testsupport::readFile(good);

    struct Case {
        const char* name;
        std::string content;
    };
    std::string otherVersion = bytes;
    otherVersion[5] = '\x07';
    for (const Case& c :
         {Case{"empty", ""}, Case{"text", "not an archive at all"},
          Case{"cut", bytes.substr(0, bytes.size() / 2)}, Case{"version", otherVersion}}) {
        const std::string path = dir.file(std::string(c.name) + ".raf");
        testsupport::writeFile(path, c.content);
        EXPECT_THROW(report::ArchivePages::open(QString::fromStdString(path)), report::FileError)
            << c.name;
    }
    EXPECT_THROW(report::ArchivePages::open(QString::fromStdString(dir.file("missing.raf"))),
                 report::FileError);
}

}  // namespace
