#include "ReportDefinition.h"

namespace report {

Label* ReportDefinition::label(const QString& name) {
    for (Band* band : {&header, &detail, &footer}) {
        for (Element& element : band->elements) {
            if (auto* l = std::get_if<Label>(&element); l != nullptr && l->name == name)
                return l;
        }
    }
    return nullptr;
}

}  // namespace report
