#include "Config_Conexao.h"

TFrmConfig_Conexao::TFrmConfig_Conexao(QWidget* owner) : QDialog(owner) {
    setWindowTitle(QStringLiteral("Configuração de Conexão"));
}

TFrmConfig_Conexao::~TFrmConfig_Conexao() = default;
