#include "PageView.h"

#include "PagePainter.h"

#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace report {

namespace {
constexpr int kGap = 12;  // pixels of grey around the sheet
}

PageView::PageView(QWidget* parent) : QAbstractScrollArea(parent) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
    page_.size = QSizeF(210, 297);
}

void PageView::setPage(Page page) {
    page_ = std::move(page);
    highlight_.reset();
    updateScrollRange();
    verticalScrollBar()->setValue(0);
    viewport()->update();
}

void PageView::setHighlight(std::optional<QRectF> rect) {
    highlight_ = rect;
    if (rect) {
        const double top = rect->top() * zoom() + kGap;
        const double bottom = rect->bottom() * zoom() + kGap;
        QScrollBar* bar = verticalScrollBar();
        const int height = viewport()->height();
        if (top < bar->value() || bottom > bar->value() + height) {
            bar->setValue(static_cast<int>(std::lround(top - height / 3.0)));
        }
    }
    viewport()->update();
}

double PageView::zoom() const {
    const double width = std::max(1, viewport()->width() - 2 * kGap);
    return page_.size.width() > 0 ? width / page_.size.width() : 1.0;
}

QPointF PageView::pageOrigin() const {
    return QPointF(kGap, kGap - verticalScrollBar()->value());
}

void PageView::updateScrollRange() {
    const int pageHeight = static_cast<int>(std::ceil(page_.size.height() * zoom())) + 2 * kGap;
    verticalScrollBar()->setRange(0, std::max(0, pageHeight - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setSingleStep(20);
}

void PageView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
}

void PageView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const double z = zoom();
    painter.translate(pageOrigin());
    painter.scale(z, z);
    painter.fillRect(QRectF(QPointF(0, 0), page_.size), Qt::white);
    if (highlight_)
        painter.fillRect(*highlight_, QColor(255, 230, 0));
    paintPage(painter, page_);
}

}  // namespace report
