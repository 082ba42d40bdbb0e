#include "Dados_Log.h"

#include "IB_CriaDB/IB_CriaDB.h"
#include "ini/IniFile.h"
#include "os/Os.h"
#include "schema/Schema.h"
#include "widgets/Application.h"

#include <algorithm>
#include <cctype>

TdmLog* dmLog = nullptr;

namespace {

const char* const kSqlLogText =
    "INSERT INTO LOG (USUARIO, ACAO, TABELA, LOG) \r\n"
    "VALUES (:USUARIO, :ACAO, :TABELA, :LOG)";

const char* const kBDLogParams[] = {
    "DriverName=Firebird",
    "BlobSize=-1",
    "CommitRetain=False",
    "Database=",
    "ErrorResourceFile=",
    "LocaleCode=0000",
    "Password=pelicanos",
    "RoleName=RoleName",
    "ServerCharSet=",
    "SQLDialect=3",
    "isolationlevel=ReadCommitted",
    "trim char=False",
    "User_Name=SYSDBA",
    "WaitOnLocks=True",
    "UseUnicode=False",
    "CharLength=1",
    "EnableBCD=True",
    "OptimizedNumerics=True",
    "LongStrings=True",
    "UseQuoteChar=False",
    "FetchAll=False",
};

}  // namespace

std::string trimBlanks(const std::string& text) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    const auto first = std::find_if_not(text.begin(), text.end(), blank);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), blank).base();
    return first < last ? std::string(first, last) : std::string();
}

std::string composeDatabasePath(const std::string& server, const std::string& directory) {
    if (!trimBlanks(server).empty())
        return server + ":" + directory + "SYSTEM.DAT";
    return directory + "SYSTEM.DAT";
}

std::string perUserDirectory(const std::string& base) {
    if (trimBlanks(base).empty())
        return {};
    const char sep = base.find('/') != std::string::npos ? '/' : '\\';
    return base + sep + "Marbeton" + sep + "XOVA_8" + sep;
}

TdmLog::TdmLog()
    : sqlLog(BDLog, kSqlLogText),
      sqlAux(BDLog),
      sqlPesq(BDLog, "SELECT * FROM LOG WHERE ID = 0"),
      dspPesq(sqlPesq),
      IBScript(BDExecScript) {
    BDLog.beforeConnect = [this] { BDLogBeforeConnect(); };

    BDExecScript.params().add("USER_NAME=MBCXOVA8");
    BDExecScript.params().add("PASSWORD=wund");
    BDExecScript.params().add("lc_ctype=WIN1252");
    IBTransaction.isolation = firebird::TransactionOptions::Isolation::ReadCommitted;
    IBTransaction.recordVersion = true;
    IBTransaction.wait = false;
    BDExecScript.defaultTransaction = IBTransaction;
    IBScript.setScript(std::string(schema::logSchemaScript()));

    IBSecurityService1.userName = "SYSDBA";
    IBSecurityService1.password = "pelicanos";
}

TdmLog* TdmLog::Create() {
    auto* module = new TdmLog();
    dmLog = module;
    widgets::runGuarded([module] { module->DataModuleCreate(); });
    return module;
}

TdmLog::~TdmLog() {
    DataModuleDestroy();
    if (dmLog == this)
        dmLog = nullptr;
}

std::string TdmLog::GetEnvVarValue(const std::string& VarName) {
    return os::environmentVariable(VarName).value_or(std::string());
}

std::string TdmLog::camIniUsr() {
    const std::string exeDir = os::executableDirectory();
    std::string result = exeDir;

    std::string upper = exeDir;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c; });
    if (upper.find("XOVA") == std::string::npos)
        return result;

    bool perUser = false;

    // With APPDATA unset, the per-user base is the desktop's configuration folder.
    std::optional<std::string> base = os::environmentVariable("APPDATA");
    if (!base) {
        base = os::environmentVariable("XDG_CONFIG_HOME");
        if (!base || base->empty()) {
            const auto home = os::environmentVariable("HOME");
            base = home && !home->empty() ? std::optional(*home + "/.config") : std::nullopt;
        }
    }
    const std::string userDir = base ? perUserDirectory(*base) : std::string();

    const ini::IniFile xova(exeDir + "XOVA.INI");
    if (trimBlanks(xova.readString("XOVA", "TERMINAL_SERVICES", "N")) == "S")
        perUser = true;

    // Without a per-user directory there is nowhere else to look.
    if (!perUser || userDir.empty())
        return result;

    if (!os::fileExists(userDir + "system.ini")) {
        if (!os::createDirectories(userDir))
            return result;
        if (!os::copyFileNoOverwrite(exeDir + "system.ini", userDir + "system.ini"))
            return result;
    }
    if (os::fileExists(userDir + "system.ini"))
        result = userDir;
    return result;
}

void TdmLog::DataModuleCreate() {
    const ini::IniFile settings(camIniUsr() + "system.ini");
    const std::string caminho = settings.readString("SYSTEM", "Caminho");
    const std::string servidor = settings.readString("SYSTEM", "Servidor");
    VerificaBancoLog(servidor, caminho);
}

void TdmLog::DataModuleDestroy() {
    BDLog.setConnected(false);
}

void TdmLog::BDLogBeforeConnect() {
    const ini::IniFile settings(camIniUsr() + "system.ini");
    const std::string caminho = settings.readString("SYSTEM", "Caminho");
    const std::string servidor = settings.readString("SYSTEM", "Servidor");

    auto& params = BDLog.params();
    params.clear();
    for (const char* entry : kBDLogParams)
        params.add(entry);
    params.setValue("DataBase", composeDatabasePath(servidor, caminho));
}
