#pragma once

#include "ReportDefinition.h"

#include <QPointF>
#include <QSizeF>
#include <QString>

#include <vector>

namespace report {

// A text drawn from its top-left corner, in millimetres on the page.
struct TextItem {
    QPointF pos;
    double width = 0;
    QString text;
    FontSpec font;
};

struct LineItem {
    QPointF from;
    QPointF to;
    double weightPt = 0.75;
};

// Everything drawn on one laid-out page. Pages are built when they are shown,
// printed, searched or saved, and dropped afterwards.
struct Page {
    QSizeF size;  // mm
    std::vector<TextItem> texts;
    std::vector<LineItem> lines;
};

// The pages a preview shows, from a layout or from an archive.
class PageSource {
  public:
    virtual ~PageSource() = default;
    virtual int pageCount() const = 0;
    // Builds page `index` (0-based). Throws when it cannot.
    virtual Page page(int index) const = 0;
};

}  // namespace report
