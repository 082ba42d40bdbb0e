#pragma once

#include <string>

namespace dataset {

// The kinds of value a result set holds; each maps to one data packet type.
enum class FieldType {
    Float,   // double precision ("r8")
    Date,    // calendar date ("date")
    Time,    // time of day ("time")
    String,  // text of a declared width ("string")
    Memo,    // text of any length, held whole ("bin.hex", subtype "Text")
};

struct FieldDef {
    std::string name;
    FieldType type = FieldType::String;
    int size = 0;           // declared width of a String; 0 otherwise
    bool required = false;  // the column is NOT NULL
};

}  // namespace dataset
