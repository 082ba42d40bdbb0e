#include "ReportLayout.h"

#include "CharWidths.h"
#include "TextWrap.h"
#include "Units.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace report {

namespace {

int resolveField(const DataPipeline& pipeline, const std::string& name) {
    const int index = pipeline.fieldIndex(name);
    if (index < 0)
        throw std::invalid_argument("the data pipeline has no field " + name);
    return index;
}

bool holdsData(const Band& band) {
    return std::any_of(band.elements.begin(), band.elements.end(), [](const Element& e) {
        return std::holds_alternative<DataText>(e) || std::holds_alternative<Memo>(e);
    });
}

}  // namespace

ReportLayout::ReportLayout(ReportDefinition definition, const DataPipeline& pipeline)
    : definition_(std::move(definition)), pipeline_(pipeline) {
    validate();
    paginate();
}

double ReportLayout::detailTop() const noexcept {
    return definition_.page.marginTop + definition_.header.height;
}

double ReportLayout::footerTop() const noexcept {
    return definition_.page.height - definition_.page.marginBottom - definition_.footer.height;
}

void ReportLayout::validate() {
    if (holdsData(definition_.header) || holdsData(definition_.footer)) {
        throw std::invalid_argument("data elements belong in the detail band");
    }
    if (footerTop() - detailTop() <= kEpsilonMm) {
        throw std::invalid_argument("the header and footer leave no room for the detail band");
    }
    for (const Element& element : definition_.detail.elements) {
        int field = -1;
        if (const auto* text = std::get_if<DataText>(&element)) {
            field = resolveField(pipeline_, text->field);
        } else if (const auto* memo = std::get_if<Memo>(&element)) {
            if (memo_ != nullptr)
                throw std::invalid_argument("a detail band holds one memo");
            memo_ = memo;
            field = memoField_ = resolveField(pipeline_, memo->field);
            memoWidths_ = &CharWidths::of(memo->font);
        }
        detailFields_.push_back(field);
    }
    if (memo_ == nullptr)
        return;
    // A memo stretches downwards; what lies beside or below it would not follow.
    for (const Element& element : definition_.detail.elements) {
        if (std::holds_alternative<Memo>(element))
            continue;
        const Box& box = std::visit([](const auto& e) -> const Box& { return e.box; }, element);
        if (box.top + box.height > memo_->box.top + kEpsilonMm) {
            throw std::invalid_argument("the elements of a memo's band must lie above the memo");
        }
    }
}

void ReportLayout::paginate() {
    const std::size_t rows = pipeline_.rowCount();
    PagePosition position;
    do {
        starts_.push_back(position);
        position = fillPage(position, nullptr);
    } while (position.row < rows);
}

PagePosition ReportLayout::fillPage(PagePosition pos, SegmentSink* sink) const {
    const std::size_t rows = pipeline_.rowCount();
    const Band& band = definition_.detail;
    const double top = detailTop();
    const double room = footerTop() - top;
    double used = 0;
    std::string scratch;

    auto place = [&](const Segment& s) {
        if (sink != nullptr)
            sink->place(s);
    };
    auto noRoomOnEmptyPage = [&] {
        if (used <= 0)
            throw std::invalid_argument("a detail band does not fit on a page");
    };

    while (pos.row < rows) {
        const double left = room - used;
        if (memo_ == nullptr) {
            if (band.height > left + kEpsilonMm) {
                noRoomOnEmptyPage();
                return pos;
            }
            place({pos.row, top + used, true, 0, 0, 0, 0});
            used += band.height;
            pos = {pos.row + 1, 0, 0};
            continue;
        }

        const std::string_view text = pipeline_.text(pos.row, memoField_, scratch);
        const double lineHeight = memoWidths_->lineHeight();
        const bool continued = pos.memoLine > 0;
        const double above = continued ? 0.0 : memo_->box.top;
        if (above > left + kEpsilonMm) {
            noRoomOnEmptyPage();
            return pos;
        }
        const auto fit =
            static_cast<std::size_t>(std::max(0.0, std::floor((left - above) / lineHeight + 1e-9)));
        // Counting stops one line past what fits: a long memo costs only its page's share.
        std::size_t lines = 0;
        std::size_t offsetAfterFit = pos.memoOffset;
        LineBreaker breaker(text, *memoWidths_, memo_->box.width, pos.memoOffset);
        for (std::string_view line; lines <= fit && breaker.next(line);) {
            if (++lines == fit)
                offsetAfterFit = breaker.offset();
        }

        Segment segment{pos.row,      top + used,     !continued, top + used + above,
                        pos.memoLine, pos.memoOffset, lines};
        if (lines <= fit) {
            // Whole; the blank space below the memo may be cut by the page's end.
            const double memoHeight = static_cast<double>(lines) * lineHeight;
            const double gapBelow = std::max(0.0, band.height - memo_->box.top - memo_->box.height);
            used += continued ? memoHeight + gapBelow
                              : band.height + std::max(0.0, memoHeight - memo_->box.height);
            place(segment);
            pos = {pos.row + 1, 0, 0};
            continue;
        }
        if (fit == 0) {
            noRoomOnEmptyPage();
            return pos;
        }
        segment.lineCount = fit;
        place(segment);
        return {pos.row, pos.memoLine + fit, offsetAfterFit};
    }
    return pos;
}

}  // namespace report
