#include "ResultSetPipeline.h"

#include "dataset/ResultSet.h"
#include "report/FieldFormat.h"

#include <cstdio>

std::size_t ResultSetPipeline::rowCount() const {
    return set_->active() ? set_->recordCount() : 0;
}

int ResultSetPipeline::fieldIndex(std::string_view name) const {
    return set_->fieldIndex(name);
}

std::string_view ResultSetPipeline::text(std::size_t row, int field, std::string& scratch) const {
    if (set_->isNull(row, field))
        return {};
    switch (set_->fields()[static_cast<std::size_t>(field)].type) {
        case dataset::FieldType::Date: {
            const auto d = set_->date(row, field);
            return report::formatDate(d.year, d.month, d.day, scratch);
        }
        case dataset::FieldType::Time: {
            const auto t = set_->time(row, field);
            return report::formatTime(t.hour, t.minute, t.second, scratch);
        }
        case dataset::FieldType::Float: {
            char buffer[32];
            const int n =
                std::snprintf(buffer, sizeof buffer, "%.15g", set_->floatValue(row, field));
            scratch.assign(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
            return scratch;
        }
        case dataset::FieldType::String:
        case dataset::FieldType::Memo:
            return set_->text(row, field);
    }
    return {};
}
