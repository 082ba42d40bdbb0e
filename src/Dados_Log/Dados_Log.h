#pragma once

#include "dataset/Provider.h"
#include "dataset/ResultSet.h"
#include "firebird/ScriptRunner.h"
#include "firebird/ServiceManager.h"
#include "firebird/SqlConnection.h"
#include "firebird/SqlDataSet.h"
#include "firebird/Transaction.h"

#include <string>

// The data module: it owns every connection, statement and result set the
// viewer uses to reach the log database. One instance lives for the whole run.
class TdmLog {
  public:
    // Builds the module and its components, makes `dmLog` refer to it, then runs
    // its creation handler; an error escaping the handler reaches the default
    // error box and the module is created all the same.
    static TdmLog* Create();
    ~TdmLog();
    TdmLog(const TdmLog&) = delete;
    TdmLog& operator=(const TdmLog&) = delete;

    // The directory that holds system.ini, ending with a separator.
    static std::string camIniUsr();
    static std::string GetEnvVarValue(const std::string& VarName);

    void DataModuleCreate();
    void DataModuleDestroy();
    void BDLogBeforeConnect();

    firebird::SqlConnection BDLog;
    firebird::SqlDataSet sqlLog;
    firebird::SqlDataSet sqlAux;
    firebird::SqlDataSet sqlPesq;
    // The complete result of the last search, read through its provider.
    dataset::Provider dspPesq;
    dataset::ResultSet cdsPesq;
    // Used only to provision the log database: the script connection, its
    // transaction and the schema script, and the server's services.
    firebird::SqlConnection BDExecScript;
    firebird::TransactionOptions IBTransaction;
    firebird::ScriptRunner IBScript;
    firebird::ServiceManager IBSecurityService1;
    firebird::ServiceManager IBConfigService1;

  private:
    TdmLog();
};

extern TdmLog* dmLog;

// The database path for a server and a directory: "server:dirSYSTEM.DAT", or
// "dirSYSTEM.DAT" for a blank server (the local engine).
std::string composeDatabasePath(const std::string& server, const std::string& directory);
// The per-user directory under an application-data base; empty for a blank base.
std::string perUserDirectory(const std::string& base);
// A blank is a character of code 32 or lower; trimming removes them from both ends.
std::string trimBlanks(const std::string& text);
