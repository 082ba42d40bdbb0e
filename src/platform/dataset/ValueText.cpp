#include "ValueText.h"

#include "ResultSet.h"

#include <cstdio>

namespace dataset {

namespace {

std::string_view assign(std::string& out, const char* buffer, int n) {
    out.assign(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
    return out;
}

}  // namespace

std::string_view dateText(int year, int month, int day, std::string& out) {
    char buffer[32];
    return assign(out, buffer,
                  std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d", day, month, year));
}

std::string_view timeText(int hour, int minute, int second, std::string& out) {
    char buffer[32];
    return assign(out, buffer,
                  std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", hour, minute, second));
}

std::string_view valueText(const ResultSet& set, std::size_t row, int field, std::string& scratch) {
    if (field < 0 || set.isNull(row, field))
        return {};
    switch (set.fields()[static_cast<std::size_t>(field)].type) {
        case FieldType::Date: {
            const auto d = set.date(row, field);
            return dateText(d.year, d.month, d.day, scratch);
        }
        case FieldType::Time: {
            const auto t = set.time(row, field);
            return timeText(t.hour, t.minute, t.second, scratch);
        }
        case FieldType::Float: {
            char buffer[32];
            return assign(
                scratch, buffer,
                std::snprintf(buffer, sizeof buffer, "%.15g", set.floatValue(row, field)));
        }
        case FieldType::String:
        case FieldType::Memo:
            return set.text(row, field);
    }
    return {};
}

}  // namespace dataset
