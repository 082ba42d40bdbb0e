#pragma once

#include "report/MemoryPipeline.h"
#include "report/Page.h"
#include "report/ReportDefinition.h"

#include <QDateTime>

#include <ostream>

#include <string>
#include <vector>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

// A small report of our own: 10 mm margins, a 20 mm header (page text at the right), a 12 mm detail
// band with two data texts and a memo, a 10 mm footer; 247 mm for details.
namespace fixtures {

inline constexpr double kDetailTop = 30.0;
inline constexpr double kDetailRoom = 247.0;
inline constexpr double kBandHeight = 12.0;
inline constexpr double kMemoTop = 6.0;
inline constexpr double kMemoLeft = 5.0;  // drawn at 15 mm on the page
inline constexpr double kMemoWidth = 150.0;
inline constexpr double kNameWidth = 30.0;

inline const report::FontSpec kText{QStringLiteral("Arial"), 10, false};
inline const report::FontSpec kMemo{QStringLiteral("Arial"), 8, false};

inline report::ReportDefinition definition(bool withMemo = true) {
    using namespace report;
    ReportDefinition d;
    d.page = PageSetup{210, 297, 10, 10, 10, 10};
    d.header.height = 20;
    d.header.elements = {
        SystemVariable{"pagina", SystemVariableKind::PageSetDescription, {150, 0, 40, 5}, kText},
        Label{"titulo", QStringLiteral("Cabeçalho"), {60, 0, 30, 5}, kText},
    };
    d.detail.height = kBandHeight;
    d.detail.elements = {
        Line{"regua", {0, 0, 190, 1}, LineEdge::Top, 0.75},
        DataText{"nome", "NOME", {0, 1, kNameWidth, 4}, kText},
        DataText{"valor", "VALOR", {40, 1, 50, 4}, kText},
    };
    if (withMemo)
        d.detail.elements.push_back(
            Memo{"texto", "TEXTO", {kMemoLeft, kMemoTop, kMemoWidth, 4}, kMemo});
    d.footer.height = 10;
    d.footer.elements = {
        Label{"rodape", QStringLiteral("Rodapé"), {60, 2, 30, 4}, kText},
        SystemVariable{"momento", SystemVariableKind::PrintDateTime, {120, 2, 40, 4}, kText},
    };
    return d;
}

inline report::MemoryPipeline pipeline() {
    return report::MemoryPipeline({"NOME", "VALOR", "TEXTO"});
}

inline report::MemoryPipeline rows(std::size_t count, const std::string& text = "curto") {
    report::MemoryPipeline p = pipeline();
    for (std::size_t i = 0; i < count; ++i)
        p.addRow({"linha " + std::to_string(i), "v", text});
    return p;
}

inline const QDateTime kPrintedAt(QDate(2014, 3, 4), QTime(10, 15, 30));

// The texts of a page drawn at this left edge (mm on the page), top to bottom.
inline std::vector<QString> column(const report::Page& page, double left) {
    std::vector<QString> texts;
    for (const auto& t : page.texts) {
        if (std::abs(t.pos.x() - left) < 1e-6)
            texts.push_back(t.text);
    }
    return texts;
}

inline const report::TextItem* findText(const report::Page& page, const QString& text) {
    for (const auto& t : page.texts) {
        if (t.text == text)
            return &t;
    }
    return nullptr;
}

}  // namespace fixtures
