#pragma once

#include "DataPipeline.h"
#include "ReportDefinition.h"

#include <cstddef>
#include <vector>

namespace report {

class CharWidths;

// Where a page starts: a row and, for a memo continued from the previous page,
// its first line and that line's byte offset in the text.
struct PagePosition {
    std::size_t row = 0;
    std::size_t memoLine = 0;
    std::size_t memoOffset = 0;
};

// One detail band, or the part of it that falls on one page.
struct Segment {
    std::size_t row = 0;
    double top = 0;         // mm from the top of the page
    bool fixedPart = true;  // the band's elements above its memo; false on a continuation
    double memoTop = 0;     // mm from the top of the page of the first memo line
    std::size_t firstLine = 0;
    std::size_t memoOffset = 0;
    std::size_t lineCount = 0;
};

class SegmentSink {
  public:
    virtual void place(const Segment& segment) = 0;

  protected:
    ~SegmentSink() = default;
};

// The first pass: runs over every row once and records only where each page
// starts, so the page count is known before any page is drawn and memory does
// not grow with the pages' contents. A memo that does not fit in the rest of a
// page prints as many lines as fit (at least one, after the band's elements
// above it) and goes on at the top of the next pages.
class ReportLayout {
  public:
    // Keeps a reference to the pipeline, which must outlive the layout. Throws
    // std::invalid_argument for a definition it cannot lay out.
    ReportLayout(ReportDefinition definition, const DataPipeline& pipeline);
    // It points into its own definition.
    ReportLayout(const ReportLayout&) = delete;
    ReportLayout& operator=(const ReportLayout&) = delete;

    std::size_t pageCount() const noexcept { return starts_.size(); }
    const PagePosition& pageStart(std::size_t page) const { return starts_.at(page); }

    // Places the detail bands of one page from `start`, telling the sink about each
    // one, and returns where the next page starts.
    PagePosition fillPage(PagePosition start, SegmentSink* sink) const;

    const ReportDefinition& definition() const noexcept { return definition_; }
    const DataPipeline& pipeline() const noexcept { return pipeline_; }
    // The pipeline field of each detail element, -1 for elements without one.
    int detailField(std::size_t element) const { return detailFields_.at(element); }

    double headerTop() const noexcept { return definition_.page.marginTop; }
    double detailTop() const noexcept;
    double footerTop() const noexcept;
    // The memo of the detail band, or nullptr.
    const Memo* memo() const noexcept { return memo_; }
    int memoField() const noexcept { return memoField_; }
    const CharWidths& memoWidths() const noexcept { return *memoWidths_; }

  private:
    void validate();
    void paginate();

    ReportDefinition definition_;
    const DataPipeline& pipeline_;
    std::vector<int> detailFields_;
    const Memo* memo_ = nullptr;
    int memoField_ = -1;
    const CharWidths* memoWidths_ = nullptr;
    std::vector<PagePosition> starts_;
};

}  // namespace report
