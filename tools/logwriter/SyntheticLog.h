#pragma once

#include "LogEntry.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace logwriter {

// Entries that look like a real day's log: a few dozen users who log in
// (ENTROU), work on a few dozen tables and log out (SAIU), Portuguese texts
// with accents and line breaks, some entries without a table, and every
// `longEvery`-th entry a text of tens of kilobytes (0: none). The same seed
// gives the same entries.
class SyntheticLog {
  public:
    explicit SyntheticLog(std::uint64_t seed, std::size_t longEvery = 500);

    LogEntry next();

  private:
    struct Session {
        std::size_t user;
        std::size_t module;
        int actionsLeft;
        int minutes;
    };

    std::uint64_t random();
    std::size_t below(std::size_t n);
    template <typename T>
    const T& pick(const std::vector<T>& items) {
        return items[below(items.size())];
    }

    std::string workText(const std::string& acao, const std::string& tabela);
    std::string longText(const std::string& acao, const std::string& tabela);
    std::string record();
    std::string date();
    std::string money();

    std::uint64_t state_;
    std::size_t longEvery_;
    std::size_t count_ = 0;
    std::vector<Session> sessions_;
};

}  // namespace logwriter
