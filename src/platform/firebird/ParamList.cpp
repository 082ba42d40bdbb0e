#include "ParamList.h"

#include <algorithm>
#include <cctype>

namespace firebird {

namespace {

bool sameName(std::string_view line, std::string_view name) {
    const auto eq = line.find('=');
    if (eq == std::string_view::npos || eq != name.size()) return false;
    return std::equal(name.begin(), name.end(), line.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

}  // namespace

std::optional<std::string> ParamList::find(std::string_view name) const {
    for (const auto& line : lines_) {
        if (sameName(line, name)) return line.substr(name.size() + 1);
    }
    return std::nullopt;
}

void ParamList::setValue(std::string_view name, std::string_view value) {
    for (auto& line : lines_) {
        if (sameName(line, name)) {
            line = std::string(line.substr(0, name.size())) + "=" + std::string(value);
            return;
        }
    }
    lines_.push_back(std::string(name) + "=" + std::string(value));
}

}  // namespace firebird
