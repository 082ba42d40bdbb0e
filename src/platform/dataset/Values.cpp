#include "Values.h"

#include <stdexcept>

namespace dataset {

ISC_TIME iscTimeFromValue(const TimeValue& t) noexcept {
    const auto seconds = static_cast<ISC_TIME>((t.hour * 60 + t.minute) * 60 + t.second);
    return seconds * 10000 + static_cast<ISC_TIME>(t.millisecond) * 10;
}

TimeValue timeValueFromIscTime(ISC_TIME time) noexcept {
    const firebird::TimeOfDay t = firebird::timeOfDayFromIscTime(time);
    return {t.hour, t.minute, t.second, t.fraction / 10};
}

void appendRow(RowStore& rows, std::initializer_list<Value> values) {
    if (values.size() != rows.fields().size()) {
        throw std::invalid_argument("a row needs one value per field");
    }
    int field = 0;
    try {
        for (const Value& v : values) {
            if (std::holds_alternative<double>(v)) {
                rows.setFloat(field, std::get<double>(v));
            } else if (std::holds_alternative<firebird::CivilDate>(v)) {
                rows.setDate(field, firebird::iscDateFromCivil(std::get<firebird::CivilDate>(v)));
            } else if (std::holds_alternative<TimeValue>(v)) {
                rows.setTime(field, iscTimeFromValue(std::get<TimeValue>(v)));
            } else if (std::holds_alternative<std::string_view>(v)) {
                rows.setText(field, std::get<std::string_view>(v));
            } else {
                rows.setNull(field);
            }
            ++field;
        }
    } catch (...) {
        rows.discardRow();
        throw;
    }
    rows.commitRow();
}

}  // namespace dataset
