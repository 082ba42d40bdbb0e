#pragma once

#include "Page.h"

#include <QAbstractScrollArea>
#include <QRectF>

#include <optional>

namespace report {

// Shows one page zoomed to the width of the view, with an optional highlighted
// rectangle (a search match).
class PageView : public QAbstractScrollArea {
    Q_OBJECT
  public:
    explicit PageView(QWidget* parent = nullptr);

    void setPage(Page page);
    const Page& page() const noexcept { return page_; }
    // In millimetres on the page; scrolled into view.
    void setHighlight(std::optional<QRectF> rect);
    // Device pixels per millimetre at the current zoom.
    double zoom() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void updateScrollRange();
    QPointF pageOrigin() const;

    Page page_;
    std::optional<QRectF> highlight_;
};

}  // namespace report
