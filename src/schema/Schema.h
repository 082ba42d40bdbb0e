#pragma once

#include <array>
#include <string_view>

namespace schema {

// The script that creates the log database's objects, as the script runner
// takes it: ";" ends a statement until "SET TERM" changes it.
std::string_view logSchemaScript();

// The action words, in the order they are seeded into an empty ACAO table.
inline constexpr std::array<std::string_view, 9> kActionVocabulary = {
    "INCLUIU", "ALTEROU", "EXCLUIU", "EXECUTOU", "ENTROU", "SAIU", "SQL", "ERRO", "MSG"};

}  // namespace schema
