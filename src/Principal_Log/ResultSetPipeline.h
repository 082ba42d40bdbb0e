#pragma once

#include "report/DataPipeline.h"

namespace dataset {
class ResultSet;
}

// The report's rows read from a result set, in its order: stored text as its
// bytes, dates and times as the grid shows them.
class ResultSetPipeline : public report::DataPipeline {
  public:
    explicit ResultSetPipeline(const dataset::ResultSet& set) : set_(&set) {}

    std::size_t rowCount() const override;
    int fieldIndex(std::string_view name) const override;
    std::string_view text(std::size_t row, int field, std::string& scratch) const override;

  private:
    const dataset::ResultSet* set_;
};
