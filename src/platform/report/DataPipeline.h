#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace report {

// The rows a report prints, in the order it prints them. Texts are 8-bit
// Windows-1252 bytes, which the engine measures with per-byte width tables.
class DataPipeline {
  public:
    virtual ~DataPipeline() = default;

    virtual std::size_t rowCount() const = 0;
    // The index of the field with this name, or -1 when there is none.
    virtual int fieldIndex(std::string_view name) const = 0;
    // The printed text of a field of a row; empty for a null value. Stored text
    // comes back as a view of the pipeline's own rows; a value the pipeline
    // formats (a date, a time) is written into `scratch` and
    // the view points there. The view is read before the next call.
    virtual std::string_view text(std::size_t row, int field, std::string& scratch) const = 0;
};

}  // namespace report
