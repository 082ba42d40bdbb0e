#include "ReportPages.h"

#include "PageBuilder.h"

#include <limits>
#include <stdexcept>

namespace report {

ReportPages::ReportPages(ReportDefinition definition, const DataPipeline& pipeline,
                         QDateTime printedAt)
    : layout_(std::move(definition), pipeline), printedAt_(std::move(printedAt)) {
    if (layout_.pageCount() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        throw std::length_error("too many pages");
    }
}

int ReportPages::pageCount() const {
    return static_cast<int>(layout_.pageCount());
}

Page ReportPages::page(int index) const {
    if (index < 0 || index >= pageCount())
        throw std::out_of_range("no such page");
    return buildPage(layout_, static_cast<std::size_t>(index), printedAt_);
}

}  // namespace report
