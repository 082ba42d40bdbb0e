#include "Glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace widgets {

namespace {

const char* themeName(Glyph g) {
    switch (g) {
        case Glyph::NetworkedComputers:
            return "network-workgroup";
        case Glyph::FloppyDisk:
            return "document-save";
        case Glyph::Door:
            return "system-log-out";
        case Glyph::QuestionMark:
            return "system-search";
        case Glyph::BlankPage:
            return "document-new";
        case Glyph::Printer:
            return "document-print";
        case Glyph::DocumentWithArrow:
            return "document-export";
        case Glyph::ExitDoor:
            return "application-exit";
    }
    return "";
}

void drawPage(QPainter& p, const QRectF& r) {
    p.setBrush(Qt::white);
    p.drawRect(r);
}

void drawDoor(QPainter& p, int s, QColor colour) {
    p.setBrush(colour);
    p.drawRect(QRectF(s * 0.25, s * 0.1, s * 0.5, s * 0.8));
    p.setBrush(Qt::yellow);
    p.drawEllipse(QPointF(s * 0.65, s * 0.5), s * 0.05, s * 0.05);
}

// A small picture of our own for desktops without an icon theme.
QPixmap fallback(Glyph g, int s) {
    QPixmap pm(s, s);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 40, 40), s / 16.0));
    switch (g) {
        case Glyph::NetworkedComputers:
            p.setBrush(QColor(120, 170, 230));
            p.drawRect(QRectF(s * 0.05, s * 0.1, s * 0.4, s * 0.3));
            p.drawRect(QRectF(s * 0.55, s * 0.1, s * 0.4, s * 0.3));
            p.drawLine(QPointF(s * 0.25, s * 0.4), QPointF(s * 0.25, s * 0.8));
            p.drawLine(QPointF(s * 0.75, s * 0.4), QPointF(s * 0.75, s * 0.8));
            p.drawLine(QPointF(s * 0.1, s * 0.8), QPointF(s * 0.9, s * 0.8));
            break;
        case Glyph::FloppyDisk:
            p.setBrush(QColor(60, 90, 160));
            p.drawRect(QRectF(s * 0.1, s * 0.1, s * 0.8, s * 0.8));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(s * 0.25, s * 0.1, s * 0.5, s * 0.3));
            break;
        case Glyph::Door:
            drawDoor(p, s, QColor(150, 100, 50));
            break;
        case Glyph::ExitDoor:
            drawDoor(p, s, QColor(150, 100, 50));
            p.setPen(QPen(Qt::red, s / 10.0));
            p.drawLine(QPointF(s * 0.45, s * 0.5), QPointF(s * 0.95, s * 0.5));
            break;
        case Glyph::QuestionMark: {
            QFont f = p.font();
            f.setPixelSize(s);
            f.setBold(true);
            p.setFont(f);
            p.setPen(QColor(30, 60, 160));
            p.drawText(QRectF(0, 0, s, s), Qt::AlignCenter, QStringLiteral("?"));
            break;
        }
        case Glyph::BlankPage:
            drawPage(p, QRectF(s * 0.2, s * 0.05, s * 0.6, s * 0.9));
            break;
        case Glyph::Printer:
            drawPage(p, QRectF(s * 0.3, s * 0.05, s * 0.4, s * 0.35));
            p.setBrush(QColor(160, 160, 160));
            p.drawRect(QRectF(s * 0.1, s * 0.4, s * 0.8, s * 0.35));
            drawPage(p, QRectF(s * 0.3, s * 0.65, s * 0.4, s * 0.3));
            break;
        case Glyph::DocumentWithArrow: {
            drawPage(p, QRectF(s * 0.1, s * 0.05, s * 0.55, s * 0.9));
            p.setPen(QPen(QColor(0, 140, 0), s / 10.0));
            p.drawLine(QPointF(s * 0.4, s * 0.5), QPointF(s * 0.95, s * 0.5));
            p.drawLine(QPointF(s * 0.8, s * 0.35), QPointF(s * 0.95, s * 0.5));
            p.drawLine(QPointF(s * 0.8, s * 0.65), QPointF(s * 0.95, s * 0.5));
            break;
        }
    }
    return pm;
}

}  // namespace

QIcon glyph(Glyph which) {
    const QIcon themed = QIcon::fromTheme(QString::fromLatin1(themeName(which)));
    if (!themed.isNull())
        return themed;
    QIcon icon;
    for (int size : {16, 32})
        icon.addPixmap(fallback(which, size));
    return icon;
}

}  // namespace widgets
