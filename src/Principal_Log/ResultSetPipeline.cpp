#include "ResultSetPipeline.h"

#include "dataset/ResultSet.h"
#include "dataset/ValueText.h"

std::size_t ResultSetPipeline::rowCount() const {
    return set_->active() ? set_->recordCount() : 0;
}

int ResultSetPipeline::fieldIndex(std::string_view name) const {
    return set_->fieldIndex(name);
}

std::string_view ResultSetPipeline::text(std::size_t row, int field, std::string& scratch) const {
    return dataset::valueText(*set_, row, field, scratch);
}
