#include "Principal_Log.h"

#include "Config_Conexao/Config_Conexao.h"
#include "Dados_Log/Dados_Log.h"
#include "Version.h"
#include "os/FileVersion.h"
#include "os/Os.h"
#include "widgets/Application.h"
#include "widgets/MessageBox.h"

#include <QShowEvent>

TfrmPrincipal_Log* frmPrincipal_Log = nullptr;

// The version information the executable carries in its file, read back by VersaoExe.
extern "C" __attribute__((used, section(".tracora_version")))
const os::FixedFileInfo tracoraFixedFileInfo = {
    os::kFixedFileInfoSignature,
    0x00010000,
    (TRACORA_VERSION_MAJOR << 16) | TRACORA_VERSION_MINOR,
    (TRACORA_VERSION_PATCH << 16) | TRACORA_VERSION_TWEAK,
    (TRACORA_VERSION_MAJOR << 16) | TRACORA_VERSION_MINOR,
    (TRACORA_VERSION_PATCH << 16) | TRACORA_VERSION_TWEAK,
};

namespace {

const QString kCaptionTail = QStringLiteral("Visualizador de Log - Marbeton S/C Zozu Software");

}  // namespace

TfrmPrincipal_Log::TfrmPrincipal_Log(QWidget* parent) : QMainWindow(parent) {
    if (frmPrincipal_Log == nullptr) frmPrincipal_Log = this;
    setWindowTitle(kCaptionTail);
    widgets::runGuarded([this] { FormCreate(); });
}

TfrmPrincipal_Log::~TfrmPrincipal_Log() {
    if (frmPrincipal_Log == this) frmPrincipal_Log = nullptr;
}

void TfrmPrincipal_Log::FormCreate() {
    auto* app = widgets::Application::instance();
    if (app->paramStr(1) != kLaunchToken) {
        widgets::showMessage(widgets::MessageIcon::Error, QStringLiteral("Atenção"),
                             QStringLiteral("Este módulo só pode ser executado pelo módulo "
                                            "Principal do sistema!"));
        app->terminate();
        return;
    }

    if (os::fileExists(TdmLog::camIniUsr() + "system.ini")) return;

    auto* dialog = new TFrmConfig_Conexao(this);
    dialog->exec();
    if (dialog->Tag == 0) {
        widgets::showMessage(widgets::MessageIcon::Error, QStringLiteral("Atenção"),
                             QStringLiteral("A Configuração de Conexão do Sistema de Log não foi "
                                            "efetuada. O Sistema será finalizado!\r\r"
                                            "Tente novamente!"));
        delete dialog;
        app->terminate();
        return;
    }
    dialog->deleteLater();
}

QString TfrmPrincipal_Log::VersaoExe() {
    const auto info = os::readFileVersion(os::executablePath());
    if (!info) return {};
    return QStringLiteral("%1.%2.%3.%4")
        .arg(info->fileVersionMS >> 16)
        .arg(info->fileVersionMS & 0xFFFF)
        .arg(info->fileVersionLS >> 16)
        .arg(info->fileVersionLS & 0xFFFF);
}

void TfrmPrincipal_Log::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_ || event->spontaneous()) return;
    shown_ = true;
    widgets::runGuarded([this] { FormShow(); });
}

void TfrmPrincipal_Log::FormShow() {
    const QString version = VersaoExe();
    setWindowTitle(version.isEmpty() ? kCaptionTail
                                     : QStringLiteral("[%1] %2").arg(version, kCaptionTail));
    dmLog->BDLog.setConnected(true);
}
