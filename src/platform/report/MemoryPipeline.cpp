#include "MemoryPipeline.h"

#include <stdexcept>

namespace report {

MemoryPipeline::MemoryPipeline(std::vector<std::string> fieldNames)
    : names_(std::move(fieldNames)) {
    if (names_.empty())
        throw std::invalid_argument("a pipeline needs at least one field");
}

void MemoryPipeline::addRow(std::vector<std::string> fields) {
    if (fields.size() != names_.size())
        throw std::invalid_argument("row of the wrong width");
    for (std::string& f : fields)
        rows_.push_back(std::move(f));
}

std::size_t MemoryPipeline::rowCount() const {
    return rows_.size() / names_.size();
}

int MemoryPipeline::fieldIndex(std::string_view name) const {
    for (std::size_t i = 0; i < names_.size(); ++i) {
        if (names_[i] == name)
            return static_cast<int>(i);
    }
    return -1;
}

std::string_view MemoryPipeline::text(std::size_t row, int field, std::string&) const {
    return rows_.at(row * names_.size() + static_cast<std::size_t>(field));
}

}  // namespace report
