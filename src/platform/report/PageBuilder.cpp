#include "PageBuilder.h"

#include "CharWidths.h"
#include "Cp1252.h"
#include "ReportLayout.h"
#include "TextWrap.h"

#include <string>
#include <type_traits>

namespace report {

QString pageSetDescription(std::size_t pageNumber, std::size_t pageCount) {
    return QStringLiteral("Página %1 de %2").arg(pageNumber).arg(pageCount);
}

QString printDateTimeText(const QDateTime& moment) {
    const QString date = moment.date().toString(QStringLiteral("dd/MM/yyyy"));
    if (moment.time() == QTime(0, 0))
        return date;
    return date + u' ' + moment.time().toString(QStringLiteral("HH:mm:ss"));
}

namespace {

class PageWriter : public SegmentSink {
  public:
    PageWriter(const ReportLayout& layout, std::size_t index, const QDateTime& printedAt)
        : layout_(layout), index_(index), printedAt_(printedAt) {
        const PageSetup& setup = layout.definition().page;
        page_.size = QSizeF(setup.width, setup.height);
    }

    Page build() {
        const ReportDefinition& def = layout_.definition();
        addBand(def.header, layout_.headerTop());
        layout_.fillPage(layout_.pageStart(index_), this);
        addBand(def.footer, layout_.footerTop());
        return std::move(page_);
    }

    void place(const Segment& segment) override {
        const Band& band = layout_.definition().detail;
        if (segment.fixedPart) {
            for (std::size_t i = 0; i < band.elements.size(); ++i) {
                const Element& element = band.elements[i];
                if (std::holds_alternative<Memo>(element))
                    continue;
                if (const auto* text = std::get_if<DataText>(&element)) {
                    addDataText(*text, layout_.detailField(i), segment);
                } else {
                    addStatic(element, segment.top);
                }
            }
        }
        if (const Memo* memo = layout_.memo())
            addMemoLines(*memo, segment);
    }

  private:
    double left() const { return layout_.definition().page.marginLeft; }

    void addBand(const Band& band, double top) {
        for (const Element& element : band.elements)
            addStatic(element, top);
    }

    void addText(const QString& text, double x, double y, double width, const FontSpec& font) {
        if (text.isEmpty())
            return;
        page_.texts.push_back({QPointF(x, y), width, text, font});
    }

    void addStatic(const Element& element, double bandTop) {
        std::visit(
            [&](const auto& e) {
                using T = std::decay_t<decltype(e)>;
                const double x = left() + e.box.left;
                const double y = bandTop + e.box.top;
                if constexpr (std::is_same_v<T, Label>) {
                    addText(e.text, x, y, CharWidths::of(e.font).textWidth(e.text), e.font);
                } else if constexpr (std::is_same_v<T, SystemVariable>) {
                    const QString text = variableText(e.kind);
                    addText(text, x, y, CharWidths::of(e.font).textWidth(text), e.font);
                } else if constexpr (std::is_same_v<T, Line>) {
                    const double ly = e.edge == LineEdge::Top ? y : y + e.box.height;
                    page_.lines.push_back(
                        {QPointF(x, ly), QPointF(x + e.box.width, ly), e.weightPt});
                }
            },
            element);
    }

    QString variableText(SystemVariableKind kind) const {
        switch (kind) {
            case SystemVariableKind::PageSetDescription:
                return pageSetDescription(index_ + 1, layout_.pageCount());
            case SystemVariableKind::PrintDateTime:
                return printDateTimeText(printedAt_);
        }
        return {};
    }

    void addDataText(const DataText& e, int field, const Segment& segment) {
        const std::string_view bytes = layout_.pipeline().text(segment.row, field, scratch_);
        const CharWidths& widths = CharWidths::of(e.font);
        const std::string_view shown = bytes.substr(0, fittingBytes(bytes, widths, e.box.width));
        addText(decodePrintable(shown), left() + e.box.left, segment.top + e.box.top,
                widths.width(shown), e.font);
    }

    void addMemoLines(const Memo& memo, const Segment& segment) {
        const std::string_view text =
            layout_.pipeline().text(segment.row, layout_.memoField(), scratch_);
        const CharWidths& widths = layout_.memoWidths();
        LineBreaker breaker(text, widths, memo.box.width, segment.memoOffset);
        std::string_view line;
        double y = segment.memoTop;
        for (std::size_t n = 0; n < segment.lineCount && breaker.next(line); ++n) {
            addText(decodePrintable(line), left() + memo.box.left, y, widths.width(line),
                    memo.font);
            y += widths.lineHeight();
        }
    }

    const ReportLayout& layout_;
    std::size_t index_;
    QDateTime printedAt_;
    Page page_;
    std::string scratch_;
};

}  // namespace

Page buildPage(const ReportLayout& layout, std::size_t index, const QDateTime& printedAt) {
    return PageWriter(layout, index, printedAt).build();
}

}  // namespace report
