#include "Config_Conexao.h"

#include "ui_Config_Conexao.h"

#include "Dados_Log/Dados_Log.h"
#include "ini/IniFile.h"
#include "widgets/Application.h"
#include "widgets/Glyphs.h"

#include <QDateTime>
#include <QLabel>

namespace {

const char* const kTrialParams[] = {
    "DriverName=Interbase",
    "BlobSize=-1",
    "Database=",
    "ErrorResourceFile=",
    "LocaleCode=0000",
    "Password=wund",
    "RoleName=RoleName",
    "ServerCharSet=",
    "SQLDialect=3",
    "Interbase TransIsolation=ReadCommited",
    "User_Name=MBCXOVA8",
    "WaitOnLocks=True",
};

bool isBlank(const QString& text) {
    for (QChar c : text) {
        if (c.unicode() > u' ')
            return false;
    }
    return true;
}

}  // namespace

QString normalizeDirectory(const QString& directory) {
    QChar separator = u'\\';
    for (QChar c : directory) {
        if (c == u'/' || c == u'\\') {
            separator = c;
            break;
        }
    }
    qsizetype last = directory.size() - 1;
    while (last >= 0 && directory[last].unicode() <= u' ')
        --last;
    if (last < 0 || (directory[last] != u'/' && directory[last] != u'\\')) {
        return directory + separator;
    }
    return directory;
}

QString connectionTimeText(qint64 elapsedMilliseconds) {
    const qint64 seconds = (elapsedMilliseconds / 1000) % 60;
    return QStringLiteral("Conexão estabelecida em %1 segundos.")
        .arg(seconds, 2, 10, QLatin1Char('0'));
}

TFrmConfig_Conexao::TFrmConfig_Conexao(QWidget* owner)
    : QDialog(owner), ui(std::make_unique<Ui::TFrmConfig_Conexao>()) {
    ui->setupUi(this);
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(11);
    setFont(font);
    QFont banner = font;
    banner.setPixelSize(13);
    banner.setBold(true);
    ui->Panel1->setFont(banner);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint |
                   Qt::WindowTitleHint);
    setFixedSize(514, 215);

    // One status panel, 350 pixels wide.
    statusPanel_ = new QLabel(ui->StatusBar1);
    statusPanel_->setFixedWidth(350);
    statusPanel_->setFrameShape(QFrame::Panel);
    statusPanel_->setFrameShadow(QFrame::Sunken);
    ui->StatusBar1->addWidget(statusPanel_);

    ui->BitBtn1->setIcon(widgets::glyph(widgets::Glyph::NetworkedComputers));
    ui->BitBtn2->setIcon(widgets::glyph(widgets::Glyph::FloppyDisk));
    ui->BitBtn3->setIcon(widgets::glyph(widgets::Glyph::Door));

    IBSecurityService1.userName = "MBCXOVA8";
    IBSecurityService1.password = "wund";

    connect(ui->BitBtn1, &QPushButton::clicked, this, widgets::guarded([this] { BitBtn1Click(); }));
    connect(ui->BitBtn2, &QPushButton::clicked, this, widgets::guarded([this] { BitBtn2Click(); }));
    connect(ui->BitBtn3, &QPushButton::clicked, this, widgets::guarded([this] { BitBtn3Click(); }));
    ui->edServidor->setFocus();
}

TFrmConfig_Conexao::~TFrmConfig_Conexao() = default;

QString TFrmConfig_Conexao::statusText() const {
    return statusPanel_->text();
}

void TFrmConfig_Conexao::setStatus(const QString& text) {
    statusPanel_->setText(text);
    statusPanel_->repaint();
}

void TFrmConfig_Conexao::BitBtn1Click() {
    setStatus(QStringLiteral("Aguarde... Verificando Usuário..."));

    const QString servidor = ui->edServidor->text();
    if (!isBlank(servidor)) {
        IBSecurityService1.protocol = firebird::ServiceManager::Protocol::Tcp;
        IBSecurityService1.serverName = servidor.toStdString();
    } else {
        IBSecurityService1.protocol = firebird::ServiceManager::Protocol::Local;
        IBSecurityService1.serverName.clear();
    }
    IBSecurityService1.attach();
    std::vector<std::string> users;
    try {
        users = IBSecurityService1.listUsers();
    } catch (...) {
        IBSecurityService1.detach();
        throw;
    }
    IBSecurityService1.detach();
    if (std::find(users.begin(), users.end(), "MBCXOVA8") == users.end()) {
        IBSecurityService1.attach();
        try {
            IBSecurityService1.addUser("MBCXOVA8", "wund");
        } catch (...) {
            IBSecurityService1.detach();
            throw;
        }
        IBSecurityService1.detach();
    }

    ui->edCaminho->setText(normalizeDirectory(ui->edCaminho->text()));

    for (const char* entry : kTrialParams)
        SQLConnection1.params().add(entry);
    SQLConnection1.close();
    // The same composition as the log connection's.
    SQLConnection1.params().setValue(
        "DataBase",
        composeDatabasePath(servidor.toStdString(), ui->edCaminho->text().toStdString()));

    setStatus(QStringLiteral("Aguarde... Tentando Conexão..."));
    const QDateTime before = QDateTime::currentDateTime();
    try {
        SQLConnection1.open();
    } catch (...) {
        setStatus(QStringLiteral("Conexão Falhou..."));
        throw;
    }
    const QDateTime after = QDateTime::currentDateTime();
    setStatus(connectionTimeText(before.msecsTo(after)));
    ui->BitBtn2->setEnabled(true);
    SQLConnection1.close();
}

void TFrmConfig_Conexao::BitBtn2Click() {
    ini::IniFile settings(TdmLog::camIniUsr() + "system.ini");
    settings.writeString("SYSTEM", "Servidor", ui->edServidor->text().toStdString());
    settings.writeString("SYSTEM", "Caminho", ui->edCaminho->text().toStdString());
    Tag = 1;
    setStatus(QStringLiteral("Configuração salva com sucesso..."));
}

void TFrmConfig_Conexao::BitBtn3Click() {
    close();
}
