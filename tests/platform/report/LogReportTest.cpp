#include "TestSupport.h"

#include "Principal_Log/LogReport.h"
#include "report/MemoryPipeline.h"
#include "report/PdfExport.h"
#include "report/ReportPages.h"

#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {

const QDateTime kPrintedAt(QDate(2014, 3, 4), QTime(10, 15, 30));

LogReportCaptions captions() {
    return {QStringLiteral("Data: 01/03/2014 à   /  /    "),
            QStringLiteral("Usuário: ANA"),
            QStringLiteral("Ação: INCLUIU"),
            QStringLiteral("Hora:   :   à   :  "),
            QStringLiteral("Tabela: "),
            QStringLiteral("Conteúdo: pedido")};
}

report::MemoryPipeline logRows() {
    report::MemoryPipeline rows({"ID", "DATA", "HORA", "USUARIO", "ACAO", "TABELA", "LOG"});
    rows.addRow({"1", "04/03/2014", "10:15:30", "ANA", "INCLUIU", "PEDIDOS",
                 "Pedido 17 inclu\xed"
                 "do pela filial S\xe3o Paulo"});
    rows.addRow({"2", "04/03/2014", "10:16:02", "BRUNO", "ENTROU", "", "Entrada no sistema"});
    rows.addRow({"3", "05/03/2014", "08:00:00", "CARLA", "ALTEROU", "CLIENTES",
                 "Cliente 9: telefone\r\nantes 1111-2222\r\ndepois 3333-4444"});
    return rows;
}

QString run(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    EXPECT_TRUE(process.waitForFinished(30000)) << program.toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The left edge, in millimetres from the page's left, of each word pdftotext finds.
std::multimap<QString, double> wordLefts(const QString& pdf) {
    const QString html = run("pdftotext", {"-bbox", pdf, "-"});
    static const QRegularExpression word(R"re(<word xMin="([0-9.]+)"[^>]*>([^<]*)</word>)re");
    std::multimap<QString, double> lefts;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        lefts.emplace(m.captured(2), m.captured(1).toDouble() * 25.4 / 72.0);
    }
    return lefts;
}

class LogReportPdf : public testing::Test {
  protected:
    void SetUp() override {
        const report::ReportPages pages(logReportDefinition(captions()), rows_, kPrintedAt);
        report::writePdf(pages, pdf_, "Report");
        // pdftotext shows a run of spaces as one.
        text_ = run("pdftotext", {"-layout", pdf_, "-"}).replace(QRegularExpression(" +"), " ");
    }

    report::MemoryPipeline rows_ = logRows();
    testsupport::TempDir dir_;
    QString pdf_ = QString::fromStdString(dir_.file("Report.pdf"));
    QString text_;
};

TEST_F(LogReportPdf, IsOneA4PageWithItsTextExtractable) {
    const QString info = run("pdfinfo", {pdf_});
    EXPECT_TRUE(info.contains(
        QRegularExpression(R"(Page size:\s+595(\.\d+)? x 84[12](\.\d+)? pts \(A4\))")))
        << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression(R"(Pages:\s+1\n)")));
    EXPECT_TRUE(info.contains(QRegularExpression(R"(Title:\s+Report)")));
    const QString fonts = run("pdffonts", {pdf_});
    EXPECT_TRUE(fonts.contains("LiberationSans")) << fonts.toStdString();
    EXPECT_FALSE(fonts.contains(QRegularExpression(R"(\bno\s+(yes|no)\s+(yes|no)\s+\d+\s+0)")));
}

TEST_F(LogReportPdf, PrintsTheHeaderFiltersAndColumnTitles) {
    for (const char* expected : {
             "Marbeton S/C Zozu Software",
             "Tracora - Visualizador de Log",
             "Página 1 de 1",
             "Filtros:",
             "Data: 01/03/2014 à / /",
             "Hora: : à :",
             "Usuário: ANA",
             "Ação: INCLUIU",
             "Tabela:",
             "Conteúdo: pedido",
             "\nData Hora Ação Tabela Usuário\nLog\n",
             "Marbeton S/C Zozu. Software",
             "04/03/2014 10:15:30",
         }) {
        EXPECT_TRUE(text_.contains(QString::fromUtf8(expected))) << expected << "\n"
                                                                 << text_.toStdString();
    }
}

TEST_F(LogReportPdf, PrintsEveryEntryWithItsFieldsAndWholeText) {
    for (const char* expected : {
             "\nPedido 17 incluído pela filial São Paulo\n",
             "\nEntrada no sistema\n",
             "\nCliente 9: telefone\nantes 1111-2222\ndepois 3333-4444\n",
         }) {
        EXPECT_TRUE(text_.contains(QString::fromUtf8(expected))) << expected;
    }
    const QRegularExpression first(R"(04/03/2014 10:15:30 INCLUIU PEDIDOS ANA\n)");
    const QRegularExpression noTable(R"(04/03/2014 10:16:02 ENTROU BRUNO\n)");
    const QRegularExpression third(R"(05/03/2014 08:00:00 ALTEROU CLIENTES CARLA\n)");
    for (const auto& row : {first, noTable, third}) {
        EXPECT_TRUE(text_.contains(row)) << row.pattern().toStdString() << "\n"
                                         << text_.toStdString();
    }
}

TEST_F(LogReportPdf, PlacesTheElementsWhereTheDefinitionPutsThem) {
    // Left edges on the page: the 6.35 mm margin plus the element's left.
    const auto lefts = wordLefts(pdf_);
    struct Case {
        const char* word;
        double left;
    };
    for (const Case& c :
         {Case{"Marbeton", 10.319}, Case{"Filtros:", 10.319}, Case{"Página", 164.571},
          Case{"Usuário:", 76.729}, Case{"Ação:", 134.673}, Case{"Conteúdo:", 24.077},
          Case{"Hora", 33.073}, Case{"Tabela", 82.550}, Case{"Usuário", 145.257},
          Case{"INCLUIU", 53.181}, Case{"PEDIDOS", 82.550}, Case{"ANA", 145.257},
          Case{"Entrada", 10.319}, Case{"04/03/2014", 157.957}}) {
        const auto [begin, end] = lefts.equal_range(QString::fromUtf8(c.word));
        ASSERT_NE(begin, end) << c.word;
        bool found = false;
        for (auto it = begin; it != end; ++it)
            found |= std::abs(it->second - (6.35 + c.left)) < 0.3;
        EXPECT_TRUE(found) << c.word << " at " << begin->second << " mm, expected "
                           << 6.35 + c.left;
    }
}

TEST(LogReport, DrawsItsRulesWhereTheBandsPutThem) {
    report::MemoryPipeline rows = logRows();
    const report::ReportPages pages(logReportDefinition(captions()), rows, kPrintedAt);
    const report::Page page = pages.page(0);
    // Header rules along the bottoms of their boxes, one rule along the top of
    // each entry's band (bands of 14.023 mm from 48.419 mm) and the footer's.
    const double footerTop = 297 - 6.35 - 13.229;
    std::vector<double> expected = {6.35 + 18.256, 6.35 + 32.544};
    for (int i = 0; i < 3; ++i)
        expected.push_back(6.35 + 42.069 + i * 14.023 + 0.265);
    expected.push_back(footerTop + 0.529);
    ASSERT_EQ(page.lines.size(), expected.size());
    std::vector<double> ys;
    for (const auto& line : page.lines) {
        EXPECT_NEAR(line.from.x(), 6.35 + 9.525, 1e-9);
        EXPECT_NEAR(line.to.x(), 6.35 + 9.525 + 177.536, 1e-9);
        EXPECT_EQ(line.from.y(), line.to.y());
        EXPECT_EQ(line.weightPt, 0.75);
        ys.push_back(line.from.y());
    }
    std::sort(ys.begin(), ys.end());
    for (std::size_t i = 0; i < ys.size(); ++i)
        EXPECT_NEAR(ys[i], expected[i], 1e-9) << i;

    // The memo at 8 pt below its entry's texts at 10 pt; the footer's texts at 8 pt.
    for (const auto& t : page.texts) {
        if (t.text == "Entrada no sistema") {
            EXPECT_NEAR(t.pos.y(), 6.35 + 42.069 + 14.023 + 5.556, 1e-9);
            EXPECT_EQ(t.font.pointSize, 8);
        }
        if (t.text == "BRUNO") {
            EXPECT_NEAR(t.pos.y(), 6.35 + 42.069 + 14.023 + 0.794, 1e-9);
            EXPECT_EQ(t.font.pointSize, 10);
        }
        if (t.text == "Marbeton S/C Zozu Software") {
            EXPECT_TRUE(t.font.bold);
            EXPECT_EQ(t.font.pointSize, 12);
        }
        if (t.text == "Marbeton S/C Zozu. Software") {
            EXPECT_NEAR(t.pos.y(), footerTop + 1.323, 1e-9);
            EXPECT_FALSE(t.font.bold);
        }
    }
}

TEST(LogReport, CountsItsPagesAcrossAThreePageResult) {
    report::MemoryPipeline rows({"ID", "DATA", "HORA", "USUARIO", "ACAO", "TABELA", "LOG"});
    // Two-line entries keep the band at its 14.023 mm: 16 a page in 229.002 mm.
    for (int i = 0; i < 40; ++i) {
        rows.addRow({std::to_string(i), "04/03/2014", "10:15:30", "ANA", "INCLUIU", "PEDIDOS",
                     "entrada " + std::to_string(i)});
    }
    const report::ReportPages pages(logReportDefinition(captions()), rows, kPrintedAt);
    ASSERT_EQ(pages.pageCount(), 3);
    testsupport::TempDir dir;
    const QString pdf = QString::fromStdString(dir.file("r.pdf"));
    report::writePdf(pages, pdf, "Report");
    const QString text = run("pdftotext", {"-layout", pdf, "-"});
    for (const char* page : {"Página 1 de 3", "Página 2 de 3", "Página 3 de 3"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(page))) << page;
    }
    EXPECT_TRUE(text.contains("entrada 15\n"));
    EXPECT_TRUE(text.contains("entrada 39\n"));
    EXPECT_EQ(text.count("Tracora - Visualizador de Log"), 3);
}

}  // namespace
