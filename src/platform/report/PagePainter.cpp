#include "PagePainter.h"

#include "CharWidths.h"
#include "Units.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <stdexcept>

namespace report {

void paintPage(QPainter& painter, const Page& page) {
    painter.save();
    // Drawing units are hundredths of a point: the fonts are sized in them.
    painter.scale(kMmPerUnit, kMmPerUnit);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setBrush(Qt::NoBrush);

    for (const LineItem& line : page.lines) {
        QPen pen(Qt::black, line.weightPt * kUnitsPerPoint);
        pen.setCapStyle(Qt::FlatCap);
        painter.setPen(pen);
        painter.drawLine(line.from * kUnitsPerMm, line.to * kUnitsPerMm);
    }

    painter.setPen(Qt::black);
    for (const TextItem& text : page.texts) {
        const CharWidths& widths = CharWidths::of(text.font);
        painter.setFont(widths.drawingFont());
        const QPointF baseline(text.pos.x(), text.pos.y() + widths.ascent());
        painter.drawText(baseline * kUnitsPerMm, text.text);
    }
    painter.restore();
}

void paintPages(const PageSource& source, QPagedPaintDevice& device, int first, int last) {
    QPainter painter;
    if (!painter.begin(&device))
        throw std::runtime_error("the output device cannot be painted on");
    const double scaleX = device.logicalDpiX() / kMmPerInch;
    const double scaleY = device.logicalDpiY() / kMmPerInch;
    for (int i = first; i <= last; ++i) {
        if (i > first && !device.newPage())
            throw std::runtime_error("the output device failed");
        const Page page = source.page(i);
        painter.save();
        painter.scale(scaleX, scaleY);
        paintPage(painter, page);
        painter.restore();
    }
    painter.end();
}

void printPages(const PageSource& source, QPrinter& printer) {
    const int count = source.pageCount();
    if (count == 0)
        return;
    int first = 0;
    int last = count - 1;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::min(printer.fromPage(), count) - 1;
        last = std::clamp(printer.toPage() > 0 ? printer.toPage() : count, first + 1, count) - 1;
    }
    paintPages(source, printer, first, last);
}

}  // namespace report
