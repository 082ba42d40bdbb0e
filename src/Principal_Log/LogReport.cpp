#include "LogReport.h"

#include "report/PreviewWindow.h"
#include "report/ReportPages.h"

#include <memory>

namespace {

using report::Band;
using report::Box;
using report::FontSpec;

const FontSpec kPlain10{QStringLiteral("Arial"), 10, false};
const FontSpec kBold10{QStringLiteral("Arial"), 10, true};
const FontSpec kBold12{QStringLiteral("Arial"), 12, true};
const FontSpec kPlain8{QStringLiteral("Arial"), 8, false};

report::Label label(const char* name, const QString& text, Box box, const FontSpec& font) {
    return report::Label{QString::fromLatin1(name), text, box, font};
}

report::Line line(const char* name, Box box, report::LineEdge edge) {
    return report::Line{QString::fromLatin1(name), box, edge, 0.75};
}

report::DataText dataText(const char* name, const char* field, Box box) {
    return report::DataText{QString::fromLatin1(name), field, box, kPlain10};
}

Band header(const LogReportCaptions& c) {
    using report::LineEdge;
    Band band;
    band.height = 42.069;
    band.elements = {
        label("ppLabel11", QStringLiteral("Marbeton S/C Zozu Software"),
              {10.319, 3.969, 50.800, 5.027}, kBold12),
        label("ppLabel12", QStringLiteral("Tracora - Visualizador de Log"),
              {10.319, 13.494, 50.800, 3.969}, kBold10),
        report::SystemVariable{QStringLiteral("ppSystemVariable3"),
                               report::SystemVariableKind::PageSetDescription,
                               {164.571, 13.494, 21.696, 3.969},
                               kPlain10},
        line("ppLine5", {9.525, 16.404, 177.536, 1.852}, LineEdge::Bottom),
        label("ppLabel13", QStringLiteral("Filtros:"), {10.319, 18.521, 10.848, 3.969}, kPlain10),
        label("lblData", c.data, {24.077, 18.521, 48.154, 3.969}, kPlain10),
        label("lblUsuario", c.usuario, {76.729, 18.521, 49.213, 3.969}, kPlain10),
        label("lblAcao", c.acao, {134.673, 18.521, 45.244, 3.969}, kPlain10),
        label("lblHora", c.hora, {24.077, 23.019, 31.221, 3.969}, kPlain10),
        label("lblTabela", c.tabela, {76.729, 23.019, 103.188, 3.969}, kPlain10),
        label("lblConteudo", c.conteudo, {24.077, 27.517, 156.104, 3.969}, kPlain10),
        line("ppLine6", {9.525, 30.692, 177.536, 1.852}, LineEdge::Bottom),
        label("ppLabel20", QStringLiteral("Data"), {10.319, 33.338, 7.408, 3.969}, kPlain10),
        label("ppLabel21", QStringLiteral("Hora"), {33.073, 33.338, 7.673, 3.969}, kPlain10),
        label("ppLabel22", QStringLiteral("Ação"), {53.181, 33.338, 7.938, 3.969}, kPlain10),
        label("ppLabel23", QStringLiteral("Tabela"), {82.550, 33.338, 10.583, 3.969}, kPlain10),
        label("ppLabel24", QStringLiteral("Usuário"), {145.257, 33.338, 12.171, 3.969}, kPlain10),
        label("ppLabel25", QStringLiteral("Log"), {10.319, 37.835, 5.821, 3.969}, kPlain10),
    };
    return band;
}

Band detail() {
    Band band;
    band.height = 14.023;
    band.elements = {
        line("ppLine7", {9.525, 0.265, 177.536, 1.852}, report::LineEdge::Top),
        dataText("ppDBText6", "DATA", {10.319, 0.794, 21.696, 3.969}),
        dataText("ppDBText7", "HORA", {33.073, 0.794, 17.198, 3.969}),
        dataText("ppDBText8", "ACAO", {53.181, 0.794, 27.781, 3.969}),
        dataText("ppDBText9", "TABELA", {82.550, 0.794, 61.119, 3.969}),
        dataText("ppDBText10", "USUARIO", {145.257, 0.794, 39.952, 3.969}),
        report::Memo{QStringLiteral("ppDBMemo2"), "LOG", {10.319, 5.556, 174.890, 7.408}, kPlain8},
    };
    return band;
}

Band footer() {
    Band band;
    band.height = 13.229;
    band.elements = {
        line("ppLine8", {9.525, 0.529, 177.536, 1.852}, report::LineEdge::Top),
        label("ppLabel26", QStringLiteral("Marbeton S/C Zozu. Software"),
              {13.494, 1.323, 31.750, 3.175}, kPlain8),
        report::SystemVariable{QStringLiteral("ppSystemVariable4"),
                               report::SystemVariableKind::PrintDateTime,
                               {157.957, 1.323, 24.871, 3.175},
                               kPlain8},
    };
    return band;
}

}  // namespace

report::ReportDefinition logReportDefinition(const LogReportCaptions& captions) {
    report::ReportDefinition definition;
    definition.documentName = QStringLiteral("Report");
    definition.page = report::PageSetup{210.0, 297.0, 6.35, 6.35, 6.35, 6.35};
    definition.header = header(captions);
    definition.detail = detail();
    definition.footer = footer();
    return definition;
}

void previewLogReport(const report::DataPipeline& pipeline, const LogReportCaptions& captions,
                      QWidget* parent) {
    auto pages = std::make_unique<report::ReportPages>(logReportDefinition(captions), pipeline);
    report::PreviewWindow preview(std::move(pages), parent);
    preview.exec();
}
