#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace firebird {

class SqlConnection;

// One step of a script: a statement for the server, or a command of the
// runner itself ("SET TERM", "COMMIT WORK").
struct ScriptStep {
    enum class Kind { Statement, SetTerm, Commit };
    Kind kind;
    std::string text;  // the statement, or the new terminator
};

// Splits a script at its terminators, which start as ";" and change with
// "SET TERM <new> <current>". Text after the last terminator is a statement too.
std::vector<ScriptStep> splitScript(std::string_view script);

// Runs a script statement by statement on a connection. Each statement is
// committed as soon as it has run; the first failing one stops the run with
// the server's error, and those before it stay in effect.
class ScriptRunner {
  public:
    explicit ScriptRunner(SqlConnection& database) : database_(&database) {}
    void setScript(std::string script) { script_ = std::move(script); }
    const std::string& script() const noexcept { return script_; }
    void executeScript();

  private:
    SqlConnection* database_;
    std::string script_;
};

}  // namespace firebird
