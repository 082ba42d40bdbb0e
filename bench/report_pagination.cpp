// Paginates synthetic log entries with the log report and prints how fast:
// the counting pass, building every page's items, and the first page laid out
// and drawn, as the preview would show it. A baseline in the same run wraps the
// same texts with Qt's own text layout, which the per-byte tables replace.

#include "Principal_Log/LogReport.h"
#include "dataset/ValueText.h"
#include "report/PagePainter.h"
#include "report/PreviewWindow.h"
#include "report/ReportPages.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QTextLayout>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

// Rows as a result set holds them: texts stored once, dates and times formatted
// when asked for. A pool of texts keeps a million rows small.
class SyntheticLog : public report::DataPipeline {
  public:
    explicit SyntheticLog(std::size_t rows) : rows_(rows) {
        std::mt19937 random(42);
        const char* words[] = {"pedido",
                               "cliente",
                               "inclu\xed"
                               "do",
                               "alterado",
                               "valor",
                               "S\xe3o",
                               "Paulo",
                               "nota",
                               "fiscal",
                               "n\xfamero",
                               "produto",
                               "a\xe7\xe3o",
                               "estoque",
                               "entrada",
                               "sa\xed"
                               "da",
                               "filial",
                               "12345",
                               "R$"};
        for (int i = 0; i < 1024; ++i) {
            std::string text;
            while (text.size() < 200) {
                if (!text.empty())
                    text += ' ';
                text += words[random() % std::size(words)];
            }
            texts_.push_back(text);
        }
    }

    std::size_t rowCount() const override { return rows_; }
    int fieldIndex(std::string_view name) const override {
        for (int i = 0; i < 7; ++i) {
            if (name == kFields[i])
                return i;
        }
        return -1;
    }
    std::string_view text(std::size_t row, int field, std::string& scratch) const override {
        switch (field) {
            case 0:
                return scratch = std::to_string(row + 1);
            case 1:
                return dataset::dateText(2014, 3, 1 + static_cast<int>(row % 28), scratch);
            case 2:
                return dataset::timeText(static_cast<int>(row / 3600 % 24),
                                         static_cast<int>(row / 60 % 60),
                                         static_cast<int>(row % 60), scratch);
            case 3:
                return "USUARIO_DE_TESTE";
            case 4:
                return row % 2 ? "INCLUIU" : "ALTEROU";
            case 5:
                return "PEDIDOS_DE_VENDA";
            default:
                return texts_[(row * 7919) % texts_.size()];
        }
    }

  private:
    static constexpr const char* kFields[7] = {"ID",   "DATA",   "HORA", "USUARIO",
                                               "ACAO", "TABELA", "LOG"};
    std::size_t rows_;
    std::vector<std::string> texts_;
};

LogReportCaptions captions() {
    return {"Data:   /  /     à   /  /    ", "Usuário: ", "Ação: ",
            "Hora:   :   à   :  ",           "Tabela: ",  "Conteúdo: "};
}

double perSecond(std::size_t n, qint64 ns) {
    return ns > 0 ? n * 1e9 / ns : 0;
}

void run(std::size_t rows, bool withPreview) {
    const SyntheticLog log(rows);
    QElapsedTimer timer;

    timer.start();
    const report::ReportPages pages(logReportDefinition(captions()), log);
    const qint64 layoutNs = timer.nsecsElapsed();

    timer.restart();
    QImage image(794, 1123, QImage::Format_ARGB32_Premultiplied);  // A4 at 96 dpi
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.scale(96 / 25.4, 96 / 25.4);
        report::paintPage(painter, pages.page(0));
    }
    const qint64 firstPageNs = timer.nsecsElapsed();

    timer.restart();
    std::size_t items = 0;
    for (int i = 0; i < pages.pageCount(); ++i)
        items += pages.page(i).texts.size();
    const qint64 buildNs = timer.nsecsElapsed();

    std::printf("%zu entries, %d pages\n", rows, pages.pageCount());
    std::printf("  first pass (count pages):   %8.1f ms  %10.0f entries/s\n", layoutNs / 1e6,
                perSecond(rows, layoutNs));
    std::printf("  second pass (every page):   %8.1f ms  %10.0f entries/s  (%zu texts)\n",
                buildNs / 1e6, perSecond(rows, buildNs), items);
    std::printf("  both passes:                %8.1f ms  %10.0f entries/s\n",
                (layoutNs + buildNs) / 1e6, perSecond(rows, layoutNs + buildNs));
    std::printf("  first page built and drawn: %8.1f ms\n", firstPageNs / 1e6);
    std::printf("  counting pass + first page: %8.1f ms\n", (layoutNs + firstPageNs) / 1e6);

    if (withPreview) {
        timer.restart();
        report::PreviewWindow preview(
            std::make_unique<report::ReportPages>(logReportDefinition(captions()), log));
        preview.resize(1280, 1000);
        preview.show();
        preview.grab();  // paints the first page
        std::printf("  preview shown with page 1:  %8.1f ms\n", timer.nsecsElapsed() / 1e6);
    }
}

// What wrapping costs when Qt lays out every memo, for the same texts.
void baseline(std::size_t rows) {
    const SyntheticLog log(rows);
    QFont font("Arial");
    font.setPointSizeF(8);
    std::string scratch;
    QElapsedTimer timer;
    timer.start();
    std::size_t lines = 0;
    for (std::size_t row = 0; row < rows; ++row) {
        const std::string_view bytes = log.text(row, 6, scratch);
        QTextLayout layout(QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size())),
                           font);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(661.0);  // 174.890 mm at 96 dpi
            ++lines;
        }
        layout.endLayout();
    }
    const qint64 ns = timer.nsecsElapsed();
    std::printf("baseline: QTextLayout wrapping of %zu memos: %8.1f ms  %10.0f entries/s\n", rows,
                ns / 1e6, perSecond(rows, ns));
}

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    baseline(20000);
    run(100000, true);
    run(1000000, false);
    return 0;
}
