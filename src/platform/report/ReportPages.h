#pragma once

#include "DataPipeline.h"
#include "Page.h"
#include "ReportDefinition.h"
#include "ReportLayout.h"

#include <QDateTime>

namespace report {

// A report run over a pipeline: the counting pass happens on construction and
// pages are built on demand. The pipeline must outlive it.
class ReportPages : public PageSource {
  public:
    ReportPages(ReportDefinition definition, const DataPipeline& pipeline,
                QDateTime printedAt = QDateTime::currentDateTime());

    int pageCount() const override;
    Page page(int index) const override;

    const ReportLayout& layout() const noexcept { return layout_; }

  private:
    ReportLayout layout_;
    QDateTime printedAt_;
};

}  // namespace report
