// The report layout: any memo text lays out and prints whole. The memo lines
// of all pages, joined, are the texts of the rows with their line breaks taken
// out and unprintable bytes shown as spaces; each line fits its box (or is a
// single character) and lies above the footer.

#include "FuzzSupport.h"

#include "Principal_Log/LogReport.h"
#include "report/CharWidths.h"
#include "report/MemoryPipeline.h"
#include "report/ReportPages.h"

#include <QGuiApplication>

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

// The text a memo should print: CR LF, LF and CR removed, each other byte as
// the character it prints as.
QString printedText(std::string_view bytes) {
    QString out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b == '\r' || b == '\n')
            continue;
        out += fuzz::printedAs(b);
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Fonts need a GUI application; no display is needed to measure them.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_report_layout";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 64 * 1024)
        return 0;
    FuzzedDataProvider in(data, size);
    const int rows = in.ConsumeIntegralInRange(1, 3);
    std::vector<std::string> memos;
    for (int r = 0; r < rows; ++r) {
        memos.push_back(r + 1 == rows ? in.ConsumeRemainingBytesAsString()
                                      : in.ConsumeRandomLengthString(size));
    }

    report::MemoryPipeline pipeline({"DATA", "HORA", "ACAO", "TABELA", "USUARIO", "LOG"});
    QString expected;
    for (const std::string& memo : memos) {
        pipeline.addRow({"01/02/2024", "10:20:30", "INCLUSAO", "CLIENTES", "SYSDBA", memo});
        expected += printedText(memo);
    }

    const LogReportCaptions captions{QStringLiteral("Data: todas"), QStringLiteral("Usuário:"),
                                     QStringLiteral("Ação:"),       QStringLiteral("Hora:"),
                                     QStringLiteral("Tabela:"),     QStringLiteral("Conteúdo:")};
    const report::ReportPages pages(logReportDefinition(captions), pipeline,
                                    QDateTime(QDate(2024, 2, 1), QTime(10, 20, 30)));
    const report::ReportLayout& layout = pages.layout();
    const report::Memo* memo = layout.memo();
    fuzz::check(memo != nullptr, "the log report has no memo");
    const double memoLeft = layout.definition().page.marginLeft + memo->box.left;
    const double lineHeight = layout.memoWidths().lineHeight();

    QString printed;
    for (int p = 0; p < pages.pageCount(); ++p) {
        const report::Page page = pages.page(p);
        for (const report::TextItem& item : page.texts) {
            if (item.font != memo->font || std::fabs(item.pos.x() - memoLeft) > 1e-9)
                continue;
            fuzz::check(item.width <= memo->box.width + 1e-6 || item.text.size() == 1,
                        "a memo line is wider than its box", fuzz::hex(item.text));
            fuzz::check(item.pos.y() + lineHeight <= layout.footerTop() + 1e-6,
                        "a memo line runs into the footer", fuzz::hex(item.text));
            fuzz::check(item.pos.y() >= layout.detailTop() - 1e-6, "a memo line lies in the header",
                        fuzz::hex(item.text));
            printed += item.text;
        }
    }
    if (printed != expected) {
        qsizetype at = 0;
        while (at < printed.size() && at < expected.size() && printed[at] == expected[at])
            ++at;
        fuzz::fail("the memo is not printed whole", "first difference at " + std::to_string(at) +
                                                        " of " + std::to_string(expected.size()) +
                                                        " (printed " +
                                                        std::to_string(printed.size()) + ")");
    }
    return 0;
}
