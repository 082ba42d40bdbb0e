#pragma once

#include "DataPipeline.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace report {

// Rows held as texts in memory, every field already in its printed form.
class MemoryPipeline : public DataPipeline {
  public:
    explicit MemoryPipeline(std::vector<std::string> fieldNames);

    void addRow(std::vector<std::string> fields);
    void addRow(std::initializer_list<std::string> fields) { addRow(std::vector(fields)); }
    void reserve(std::size_t rows) { rows_.reserve(rows * names_.size()); }

    std::size_t rowCount() const override;
    int fieldIndex(std::string_view name) const override;
    std::string_view text(std::size_t row, int field, std::string& scratch) const override;

  private:
    std::vector<std::string> names_;
    std::vector<std::string> rows_;  // row-major
};

}  // namespace report
