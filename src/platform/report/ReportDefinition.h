#pragma once

#include <QString>

#include <string>
#include <variant>
#include <vector>

// A band report described in millimetres: a page, a header printed at the top of
// every page, a detail printed once per row of a data pipeline and a footer
// printed at the bottom of every page.
namespace report {

struct FontSpec {
    QString family = QStringLiteral("Arial");
    double pointSize = 10.0;
    bool bold = false;

    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// Left and top inside the band, width and height, all in millimetres.
struct Box {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

// Sizes itself to its text: the box's width is only the design width.
struct Label {
    QString name;
    QString text;
    Box box;
    FontSpec font;
};

// One line of a field's text, cut at the width of its box.
struct DataText {
    QString name;
    std::string field;
    Box box;
    FontSpec font;
};

// A field's text wrapped character by character inside the box's width; the
// band grows with it. Its other elements must lie above it.
struct Memo {
    QString name;
    std::string field;
    Box box;
    FontSpec font;
};

enum class LineEdge { Top, Bottom };

// A horizontal rule along the top or the bottom of its box.
struct Line {
    QString name;
    Box box;
    LineEdge edge = LineEdge::Top;
    double weightPt = 0.75;
};

enum class SystemVariableKind {
    PageSetDescription,  // "Página N de M"
    PrintDateTime,       // dd/MM/yyyy HH:mm:ss, the time left out at midnight
};

// Sizes itself to its text, like a label.
struct SystemVariable {
    QString name;
    SystemVariableKind kind = SystemVariableKind::PageSetDescription;
    Box box;
    FontSpec font;
};

using Element = std::variant<Label, DataText, Memo, Line, SystemVariable>;

struct Band {
    double height = 0;
    std::vector<Element> elements;
};

struct PageSetup {
    double width = 210.0;
    double height = 297.0;
    double marginLeft = 6.35;
    double marginTop = 6.35;
    double marginRight = 6.35;
    double marginBottom = 6.35;
};

struct ReportDefinition {
    QString documentName = QStringLiteral("Report");
    PageSetup page;
    Band header;
    Band detail;
    Band footer;

    // The label of that name in any band, or nullptr.
    Label* label(const QString& name);
};

}  // namespace report
