#include "DatabaseError.h"

namespace firebird {

int StatusVector::sqlCode() const noexcept {
    return static_cast<int>(isc_sqlcode(status));
}

std::string StatusVector::message() const {
    std::string text;
    const ISC_STATUS* cursor = status;
    char buffer[1024];
    while (fb_interpret(buffer, sizeof buffer, &cursor) > 0) {
        if (!text.empty()) text += '\n';
        text += buffer;
    }
    return text;
}

DatabaseError StatusVector::error() const {
    return DatabaseError(message(), sqlCode(), engineCode());
}

}  // namespace firebird
