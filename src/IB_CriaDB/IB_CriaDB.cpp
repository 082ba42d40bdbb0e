#include "IB_CriaDB.h"

#include "Dados_Log/Dados_Log.h"
#include "ini/IniFile.h"

void VerificaBancoLog(const std::string& servidor, const std::string& caminho) {
    ini::IniFile settings(TdmLog::camIniUsr() + "system.ini");
    settings.writeString("SYSTEM", "Servidor", servidor);
    settings.writeString("SYSTEM", "Caminho", caminho);
    dmLog->BDLog.setConnected(true);
}
