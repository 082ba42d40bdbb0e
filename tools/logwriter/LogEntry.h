#pragma once

#include <optional>
#include <string>

namespace logwriter {

// One entry as a module of the family writes it; texts are Windows-1252 bytes.
// ID, date and time are left to the database's triggers.
struct LogEntry {
    std::string usuario;
    std::string acao;
    std::optional<std::string> tabela;  // none: the entry names no table
    std::string log;

    bool operator==(const LogEntry&) const = default;
};

}  // namespace logwriter
