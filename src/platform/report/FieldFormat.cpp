#include "FieldFormat.h"

#include <cstdio>

namespace report {

std::string_view formatDate(int year, int month, int day, std::string& out) {
    char buffer[32];
    const int n = std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d", day, month, year);
    out.assign(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
    return out;
}

std::string_view formatTime(int hour, int minute, int second, std::string& out) {
    char buffer[32];
    const int n = std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", hour, minute, second);
    out.assign(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
    return out;
}

}  // namespace report
