#pragma once

#include "RowStore.h"

#include "firebird/IscDate.h"

#include <ibase.h>

#include <cstddef>
#include <initializer_list>
#include <string_view>
#include <variant>

namespace dataset {

struct TimeValue {
    int hour;
    int minute;
    int second;
    int millisecond;
};

ISC_TIME iscTimeFromValue(const TimeValue& time) noexcept;
TimeValue timeValueFromIscTime(ISC_TIME time) noexcept;

// One value of a row given by hand; nullptr stands for null.
using Value =
    std::variant<std::nullptr_t, double, firebird::CivilDate, TimeValue, std::string_view>;

// Appends a row from plain values in field order, for sets filled without a
// server. Throws when a value does not fit its field's type.
void appendRow(RowStore& rows, std::initializer_list<Value> values);

}  // namespace dataset
