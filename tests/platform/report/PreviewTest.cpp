#include "DiskFault.h"
#include "ReportFixtures.h"
#include "TestSupport.h"

#include "report/FileError.h"
#include "report/PdfExport.h"
#include "report/PreviewWindow.h"
#include "report/ReportArchive.h"
#include "report/ReportPages.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>

namespace {

// The desktop as the tests see it: chosen answers, recorded requests.
class FakeServices : public report::PreviewServices {
  public:
    QString answer;
    bool startResult = true;
    QString suggested;
    QString program;
    QStringList arguments;
    QString printTo;

    QString saveFileName(QWidget*, const QString&, const QString& s, const QString&) override {
        suggested = s;
        return answer;
    }
    QString openFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return answer;
    }
    bool choosePrinter(QWidget*, QPrinter& printer) override {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printTo);
        return !printTo.isEmpty();
    }
    bool startDetached(const QString& p, const QStringList& a) override {
        program = p;
        arguments = a;
        return startResult;
    }
};

// Fails on its second page, to break a file half-way through writing it.
class FailingPages : public report::PageSource {
  public:
    explicit FailingPages(const report::PageSource& pages) : pages_(pages) {}
    int pageCount() const override { return pages_.pageCount(); }
    report::Page page(int index) const override {
        if (index == 1)
            throw std::runtime_error("page failed");
        return pages_.page(index);
    }

  private:
    const report::PageSource& pages_;
};

QString run(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

std::vector<std::string> entries(const std::filesystem::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

class Preview : public testing::Test {
  protected:
    // 70 entries: four pages; "agulha" only on page 2 (entries 20 to 39), twice.
    Preview() : data_(fixtures::rows(70)) {
        rows_ = fixtures::pipeline();
        for (int i = 0; i < 70; ++i) {
            const bool needle = i == 25 || i == 31;
            rows_.addRow(
                {"linha " + std::to_string(i), "v", needle ? "palha com AGULHA dentro" : "palha"});
        }
        services_ = std::make_shared<FakeServices>();
        window_ = std::make_unique<report::PreviewWindow>(
            std::make_unique<report::ReportPages>(fixtures::definition(), rows_,
                                                  fixtures::kPrintedAt),
            nullptr, services_);
    }

    report::MemoryPipeline data_;
    report::MemoryPipeline rows_ = fixtures::pipeline();
    std::shared_ptr<FakeServices> services_;
    std::unique_ptr<report::PreviewWindow> window_;
    testsupport::TempDir dir_;
};

TEST_F(Preview, OpensOnTheFirstPageWithTheSearchPrompt) {
    EXPECT_EQ(window_->pageCount(), 4);
    EXPECT_EQ(window_->currentPage(), 0);
    EXPECT_EQ(window_->searchBox()->text(), "<Texto a localizar>");
    EXPECT_TRUE(window_->windowState() & Qt::WindowMaximized);
    EXPECT_NE(fixtures::findText(window_->shownPage(), "Página 1 de 4"), nullptr);
    window_->goToPage(99);
    EXPECT_EQ(window_->currentPage(), 3);
    window_->goToPage(-1);
    EXPECT_EQ(window_->currentPage(), 0);
}

TEST_F(Preview, FindsTextOnALaterPageAndGoesOnToTheNextMatch) {
    ASSERT_TRUE(window_->findNext("agulha"));
    EXPECT_EQ(window_->currentPage(), 1);
    const report::TextMatch first = *window_->currentMatch();
    EXPECT_EQ(window_->shownPage().texts[first.item].text, "palha com AGULHA dentro");
    EXPECT_EQ(first.start, 10);

    ASSERT_TRUE(window_->findNext("agulha"));
    const report::TextMatch second = *window_->currentMatch();
    EXPECT_EQ(second.page, 1);
    EXPECT_GT(second.item, first.item);

    // After the last match the search starts again from the first page.
    window_->goToPage(3);
    ASSERT_TRUE(window_->findNext("agulha"));
    EXPECT_EQ(*window_->currentMatch(), first);
    EXPECT_EQ(window_->currentPage(), 1);

    EXPECT_FALSE(window_->findNext("inexistente"));
    EXPECT_TRUE(window_->statusText().contains("não encontrado"));
    EXPECT_EQ(window_->currentPage(), 1);
}

TEST_F(Preview, SavesAnArchiveAndOpensItAgain) {
    const QString path = QString::fromStdString(dir_.file("ReportArchive.raf"));
    ASSERT_TRUE(window_->saveArchive(path));

    const auto empty = fixtures::rows(0);
    report::PreviewWindow other(
        std::make_unique<report::ReportPages>(fixtures::definition(), empty, fixtures::kPrintedAt),
        nullptr, services_);
    ASSERT_EQ(other.pageCount(), 1);
    ASSERT_TRUE(other.openArchive(path));
    EXPECT_EQ(other.pageCount(), 4);
    other.goToPage(2);
    EXPECT_NE(fixtures::findText(other.shownPage(), "Página 3 de 4"), nullptr);
    EXPECT_NE(fixtures::findText(other.shownPage(), "linha 40"), nullptr);
    ASSERT_TRUE(other.findNext("agulha"));
    EXPECT_EQ(other.currentMatch()->page, 1);
}

TEST_F(Preview, AsksForFileNamesInTheDocumentsFolder) {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    EXPECT_EQ(report::PreviewWindow::defaultPdfPath(), QDir(documents).filePath("Report.pdf"));
    EXPECT_EQ(report::PreviewWindow::defaultArchivePath(),
              QDir(documents).filePath("ReportArchive.raf"));

    services_->answer = QString::fromStdString(dir_.file("escolhido.pdf"));
    window_->savePdfAs();
    EXPECT_EQ(services_->suggested, report::PreviewWindow::defaultPdfPath());
    EXPECT_TRUE(QFile::exists(services_->answer));

    services_->answer = QString::fromStdString(dir_.file("escolhido.raf"));
    window_->saveArchiveAs();
    EXPECT_EQ(services_->suggested, report::PreviewWindow::defaultArchivePath());
    EXPECT_TRUE(QFile::exists(services_->answer));

    services_->answer.clear();  // cancelled
    window_->openArchiveFrom();
    EXPECT_EQ(window_->pageCount(), 4);
}

TEST_F(Preview, KeepsTheExistingFileWhenWritingFails) {
    testsupport::MessageCatcher catcher;
    const report::ReportPages pages(fixtures::definition(), rows_, fixtures::kPrintedAt);
    const FailingPages failing(pages);
    const std::string pdf = dir_.file("Report.pdf");
    testsupport::writeFile(pdf, "old pdf");
    EXPECT_THROW(report::writePdf(failing, QString::fromStdString(pdf), "Report"),
                 report::FileError);
    const std::string raf = dir_.file("ReportArchive.raf");
    testsupport::writeFile(raf, "old archive");
    EXPECT_THROW(report::writeArchive(failing, QString::fromStdString(raf)), report::FileError);

    // Into a folder that does not exist: a message box, not an exception.
    const QString nowhere = QString::fromStdString(dir_.file("missing/Report.pdf"));
    EXPECT_FALSE(window_->savePdf(nowhere));
    EXPECT_FALSE(window_->saveArchive(QString::fromStdString(dir_.file("missing/a.raf"))));
    ASSERT_EQ(catcher.messages.size(), 2u);
    EXPECT_EQ(catcher.messages[0].icon, widgets::MessageIcon::Error);
    EXPECT_TRUE(catcher.messages[0].text.contains(nowhere));
    // A directory in the way of the file.
    std::filesystem::create_directory(dir_.file("dir.raf"));
    EXPECT_FALSE(window_->saveArchive(QString::fromStdString(dir_.file("dir.raf"))));

    EXPECT_EQ(testsupport::readFile(pdf), "old pdf");
    EXPECT_EQ(testsupport::readFile(raf), "old archive");
    EXPECT_EQ(entries(dir_.path()),
              (std::vector<std::string>{"Report.pdf", "ReportArchive.raf", "dir.raf"}));
}

TEST_F(Preview, SavingOnAFaultyDiskSaysWhyAndLeavesNothingBehind) {
    testsupport::MessageCatcher catcher;
    struct Target {
        const char* name;
        std::function<bool(const QString&)> save;
    };
    for (const Target& target :
         {Target{"Report.pdf", [&](const QString& p) { return window_->savePdf(p); }},
          Target{"ReportArchive.raf", [&](const QString& p) { return window_->saveArchive(p); }}}) {
        for (const auto fault : {testsupport::DiskFault::NotWritable, testsupport::DiskFault::Full,
                                 testsupport::DiskFault::DirectoryInTheWay}) {
            SCOPED_TRACE(std::string(target.name) + ", " + testsupport::toString(fault));
            testsupport::FaultyDirectory dir(fault, target.name, "previous file");
            catcher.messages.clear();
            dir.arm();
            EXPECT_FALSE(target.save(QString::fromStdString(dir.file())));
            dir.disarm();
            ASSERT_EQ(catcher.messages.size(), 1u);
            const std::string text = catcher.messages[0].text.toStdString();
            EXPECT_NE(text.find("\"" + dir.file() + "\""), std::string::npos) << text;
            EXPECT_NE(text.find(dir.reason()), std::string::npos) << text;
            EXPECT_TRUE(dir.previousIntact());
            EXPECT_EQ(dir.strayFiles(), std::vector<std::string>{});
        }
    }
}

TEST_F(Preview, MailsThePdfAsAnAttachment) {
    ASSERT_TRUE(window_->emailPdf());
    EXPECT_EQ(services_->program, "xdg-email");
    ASSERT_EQ(services_->arguments.size(), 4);
    EXPECT_EQ(services_->arguments[0], "--attach");
    EXPECT_EQ(services_->arguments[2], "--subject");
    EXPECT_EQ(services_->arguments[3], "Report");
    const QString attachment = services_->arguments[1];
    EXPECT_TRUE(attachment.endsWith("/Report.pdf"));
    EXPECT_TRUE(run("pdfinfo", {attachment}).contains("Pages:           4"));
    QDir(QFileInfo(attachment).absolutePath()).removeRecursively();

    testsupport::MessageCatcher catcher;
    services_->startResult = false;
    EXPECT_FALSE(window_->emailPdf());
    ASSERT_EQ(catcher.messages.size(), 1u);
    EXPECT_TRUE(catcher.messages[0].text.contains("xdg-email"));
    EXPECT_FALSE(QFile::exists(services_->arguments[1]));
}

TEST_F(Preview, PrintsThePagesThePrinterAsksFor) {
    services_->printTo = QString::fromStdString(dir_.file("impresso.pdf"));
    window_->printWithDialog();
    EXPECT_TRUE(run("pdfinfo", {services_->printTo}).contains("Pages:           4"));

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(dir_.file("parte.pdf")));
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(2, 3);
    ASSERT_TRUE(window_->print(printer));
    const QString text = run("pdftotext", {printer.outputFileName(), "-"});
    EXPECT_FALSE(text.contains("Página 1 de 4"));
    EXPECT_TRUE(text.contains("Página 2 de 4"));
    EXPECT_TRUE(text.contains("Página 3 de 4"));
    EXPECT_FALSE(text.contains("Página 4 de 4"));
}

}  // namespace
