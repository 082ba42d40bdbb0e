#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace dataset {

class ResultSet;

// dd/MM/yyyy into `out`; returns a view of it.
std::string_view dateText(int year, int month, int day, std::string& out);
// HH:mm:ss into `out`; returns a view of it.
std::string_view timeText(int hour, int minute, int second, std::string& out);

// A value as the grid, the detail panel and the report show it: the Brazilian
// short date and long time, numbers with 15 significant digits, texts as
// their 8-bit bytes; empty for a null value or a field of -1. A formatted
// value is written into `scratch` and the view points there; a text is a view
// of the set's own rows.
std::string_view valueText(const ResultSet& set, std::size_t row, int field, std::string& scratch);

}  // namespace dataset
