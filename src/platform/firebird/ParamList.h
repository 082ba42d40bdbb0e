#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace firebird {

// An ordered list of "name=value" lines, as connection components keep their
// settings. Names match without regard to case; the first entry of a name counts.
class ParamList {
public:
    void clear() { lines_.clear(); }
    void add(std::string line) { lines_.push_back(std::move(line)); }
    const std::vector<std::string>& lines() const noexcept { return lines_; }
    std::size_t size() const noexcept { return lines_.size(); }

    std::optional<std::string> find(std::string_view name) const;
    std::string value(std::string_view name) const { return find(name).value_or(std::string()); }
    // Replaces the value of the first entry of that name, or appends one.
    void setValue(std::string_view name, std::string_view value);

private:
    std::vector<std::string> lines_;
};

}  // namespace firebird
