#pragma once

#include <string>
#include <string_view>

// How pipelines print dates and times: the Brazilian short date and long time.
namespace report {

// dd/MM/yyyy into `out`; returns a view of it.
std::string_view formatDate(int year, int month, int day, std::string& out);
// HH:mm:ss into `out`; returns a view of it.
std::string_view formatTime(int hour, int minute, int second, std::string& out);

}  // namespace report
