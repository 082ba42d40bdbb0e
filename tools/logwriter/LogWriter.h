#pragma once

#include "LogEntry.h"

#include "firebird/Attachment.h"
#include "firebird/BulkWriter.h"

#include <cstddef>
#include <cstdint>

namespace logwriter {

// The family's insert form, as the data module's sqlLog holds it.
inline constexpr const char* kInsertText =
    "INSERT INTO LOG (USUARIO, ACAO, TABELA, LOG) \r\n"
    "VALUES (:USUARIO, :ACAO, :TABELA, :LOG)";

// The log database as the viewer reaches it: the path from Servidor and Caminho
// of the system.ini the viewer would read, under the viewer's account.
firebird::ConnectionParams logConnection();

// Writes entries through one prepared insert; they are committed every
// `commitEvery` entries and at commit(). Entries not committed are rolled back
// when the writer goes.
class LogWriter {
  public:
    explicit LogWriter(const firebird::ConnectionParams& params, std::size_t commitEvery = 5000);
    LogWriter(const LogWriter&) = delete;
    LogWriter& operator=(const LogWriter&) = delete;

    void write(const LogEntry& entry);
    void commit() { bulk_.commit(); }
    std::size_t written() const noexcept { return bulk_.executed(); }
    // Entries the log holds, committed ones.
    std::int64_t countEntries();

  private:
    firebird::Attachment attachment_;
    firebird::BulkWriter bulk_;
};

}  // namespace logwriter
