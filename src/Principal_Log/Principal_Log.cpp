#include "Principal_Log.h"

#include "Config_Conexao/Config_Conexao.h"
#include "Dados_Log/Dados_Log.h"
#include "Version.h"
#include "os/FileVersion.h"
#include "os/Os.h"
#include "widgets/Application.h"
#include "widgets/MessageBox.h"

#include "LogReport.h"
#include "Pesquisa.h"
#include "ResultSetPipeline.h"
#include "XmlExport.h"
#include "firebird/DatabaseError.h"
#include "schema/Schema.h"
#include "ui_Principal_Log.h"
#include "widgets/DataSource.h"
#include "widgets/Focus.h"
#include "widgets/Glyphs.h"
#include "widgets/InputBlocker.h"
#include "widgets/ResultSetModel.h"

#include <QComboBox>
#include <QCompleter>
#include <QHeaderView>
#include <QKeyEvent>
#include <QShowEvent>

#include <limits>
#include <stdexcept>

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

// Errors after which the attachment is of no more use.
bool connectionLost(const firebird::DatabaseError& e) {
    switch (e.engineCode()) {
        case isc_network_error:
        case isc_net_read_err:
        case isc_net_write_err:
        case isc_lost_db_connection:
        case isc_shutdown:
        case isc_att_shutdown:
        case isc_conn_lost:
            return true;
        default:
            return false;
    }
}

}  // namespace

TfrmPrincipal_Log::TfrmPrincipal_Log(QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::TfrmPrincipal_Log>()) {
    if (frmPrincipal_Log == nullptr)
        frmPrincipal_Log = this;
    ui->setupUi(this);
    // Tahoma 8 points is 11 pixels high; the system's sans-serif stands in for it.
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(11);
    setFont(font);
    dsLog = new widgets::DataSource(this);

    ui->edData1->setEditMask(QStringLiteral("!99/99/9999;1;_"));
    ui->edData2->setEditMask(QStringLiteral("!99/99/9999;1;_"));
    ui->edHora1->setEditMask(QStringLiteral("!99:99;1;_"));
    ui->edHora2->setEditMask(QStringLiteral("!99:99;1;_"));
    for (QLineEdit* e : {static_cast<QLineEdit*>(ui->edData1), static_cast<QLineEdit*>(ui->edData2),
                         static_cast<QLineEdit*>(ui->edHora1), static_cast<QLineEdit*>(ui->edHora2),
                         ui->edConteudo}) {
        e->setFrame(false);
        e->setStyleSheet(QStringLiteral(
            "QLineEdit { border: none; border-bottom: 3px solid palette(midlight); }"));
        e->installEventFilter(this);
    }
    for (QComboBox* c : {ui->cbUsers, ui->cbAcao, ui->cbTabelas}) {
        c->completer()->setCompletionMode(QCompleter::InlineCompletion);
        c->installEventFilter(this);
    }
    // Qt cuts a field's text at 32767 characters without a word; a pasted
    // longer text goes to the server whole, which answers it.
    for (QLineEdit* e : {ui->edConteudo, ui->cbUsers->lineEdit(), ui->cbAcao->lineEdit(),
                         ui->cbTabelas->lineEdit()}) {
        e->setMaxLength(std::numeric_limits<int>::max());
    }
    for (QLineEdit* e : {ui->DBEdit1, ui->DBEdit2, ui->DBEdit3, ui->DBEdit4, ui->DBEdit5}) {
        e->setFrame(false);
    }

    ui->BitBtn1->setIcon(widgets::glyph(widgets::Glyph::QuestionMark));
    ui->BitBtn2->setIcon(widgets::glyph(widgets::Glyph::BlankPage));
    ui->BitBtn3->setIcon(widgets::glyph(widgets::Glyph::Printer));
    ui->BitBtn4->setIcon(widgets::glyph(widgets::Glyph::DocumentWithArrow));
    ui->SpeedButton1->setIcon(widgets::glyph(widgets::Glyph::ExitDoor));
    ui->Image1->setPixmap(widgets::glyph(widgets::Glyph::NetworkedComputers).pixmap(48, 41));
    ui->Label9->raise();
    ui->pnOptions->installEventFilter(this);  // keeps its title bar full width

    ui->DBGrid1->verticalHeader()->setDefaultSectionSize(18);
    ui->DBGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ui->DBGrid1->setStyleSheet(
        QStringLiteral("QTableView { background: palette(button); } QHeaderView::section { "
                       "background: silver; }"));
    ui->Splitter1->setSizes({320, 456});
    ui->Splitter1->setStretchFactor(1, 1);

    connect(ui->BitBtn1, &QPushButton::clicked, this, widgets::guarded([this] { BitBtn1Click(); }));
    connect(ui->BitBtn2, &QPushButton::clicked, this, widgets::guarded([this] { BitBtn2Click(); }));
    connect(ui->BitBtn3, &QPushButton::clicked, this, widgets::guarded([this] { BitBtn3Click(); }));
    connect(ui->BitBtn4, &QPushButton::clicked, this, widgets::guarded([this] { BitBtn4Click(); }));
    connect(ui->SpeedButton1, &QToolButton::clicked, this,
            widgets::guarded([this] { SpeedButton1Click(); }));

    setWindowTitle(kCaptionTail);
    widgets::runGuarded([this] { FormCreate(); });
}

TfrmPrincipal_Log::~TfrmPrincipal_Log() {
    delete gridModel_;
    gridModel_ = nullptr;
    if (frmPrincipal_Log == this)
        frmPrincipal_Log = nullptr;
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

    if (os::fileExists(TdmLog::camIniUsr() + "system.ini"))
        return;

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
    if (!info)
        return {};
    return QStringLiteral("%1.%2.%3.%4")
        .arg(info->fileVersionMS >> 16)
        .arg(info->fileVersionMS & 0xFFFF)
        .arg(info->fileVersionLS >> 16)
        .arg(info->fileVersionLS & 0xFFFF);
}

void TfrmPrincipal_Log::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_ || event->spontaneous())
        return;
    shown_ = true;
    // The data module exists by now: bind the views to the search's result.
    if (dmLog != nullptr && dsLog->dataSet() == nullptr) {
        dsLog->setDataSet(&dmLog->cdsPesq);
        gridModel_ = new widgets::ResultSetModel(
            dmLog->cdsPesq,
            {QStringLiteral("DATA"), QStringLiteral("HORA"), QStringLiteral("ACAO"),
             QStringLiteral("TABELA"), QStringLiteral("USUARIO")},
            this);
        dsLog->bindGrid(ui->DBGrid1, gridModel_);
        ui->DBGrid1->setColumnWidth(0, 65);
        ui->DBGrid1->setColumnWidth(1, 50);
        ui->DBGrid1->setColumnWidth(2, 60);
        dsLog->bindField(ui->DBEdit1, QStringLiteral("DATA"));
        dsLog->bindField(ui->DBEdit2, QStringLiteral("HORA"));
        dsLog->bindField(ui->DBEdit3, QStringLiteral("USUARIO"));
        dsLog->bindField(ui->DBEdit4, QStringLiteral("ACAO"));
        dsLog->bindField(ui->DBEdit5, QStringLiteral("TABELA"));
        dsLog->bindField(ui->DBMemo1, QStringLiteral("LOG"));
    }
    ui->edData1->setFocus();
    widgets::runGuarded([this] { FormShow(); });
}

bool TfrmPrincipal_Log::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->pnOptions && event->type() == QEvent::Resize) {
        ui->Panel3->setGeometry(0, 0, ui->pnOptions->width(), 20);
    } else if (event->type() == QEvent::KeyPress) {
        // Only the eight filter fields: keys they ignore travel on to their parents.
        QWidget* field = nullptr;
        for (QWidget* f : std::initializer_list<QWidget*>{ui->edData1, ui->edData2, ui->edHora1,
                                                          ui->edHora2, ui->cbUsers, ui->cbAcao,
                                                          ui->cbTabelas, ui->edConteudo}) {
            if (watched == f)
                field = f;
        }
        if (field != nullptr) {
            widgets::runGuarded(
                [&] { edData1KeyDown(field, static_cast<QKeyEvent*>(event)->key()); });
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfrmPrincipal_Log::edData1KeyDown(QWidget* Sender, int Key) {
    if (Key == Qt::Key_Return || Key == Qt::Key_Enter || Key == Qt::Key_Down) {
        widgets::moveFocus(Sender, true);
    } else if (Key == Qt::Key_Up) {
        widgets::moveFocus(Sender, false);
    }
}

void TfrmPrincipal_Log::fillList(QComboBox* list, const char* statement) {
    list->clear();
    auto& q = dmLog->sqlAux;
    q.setCommandText(statement);
    q.open();
    while (!q.eof()) {
        list->addItem(widgets::fromCp1252(q.fieldAsText(0)));
        q.next();
    }
    q.close();
    // Items are offered, not chosen: the field stays empty until the operator picks one.
    list->setCurrentIndex(-1);
}

void TfrmPrincipal_Log::BitBtn1Click() {
    const FiltrosPesquisa filtros{ui->edData1->text(),          ui->edData2->text(),
                                  ui->edHora1->text(),          ui->edHora2->text(),
                                  ui->cbAcao->currentText(),    ui->cbUsers->currentText(),
                                  ui->cbTabelas->currentText(), ui->edConteudo->text()};
    const PesquisaMontada pesquisa = montaPesquisa(filtros);
    if (!pesquisa.ok()) {
        widgets::showMessage(widgets::MessageIcon::Information, QStringLiteral("Atenção"),
                             pesquisa.message);
        switch (pesquisa.field) {
            case CampoPesquisa::Data1:
                ui->edData1->setFocus();
                break;
            case CampoPesquisa::Data2:
                ui->edData2->setFocus();
                break;
            case CampoPesquisa::Hora1:
                ui->edHora1->setFocus();
                break;
            case CampoPesquisa::Hora2:
                ui->edHora2->setFocus();
                break;
            case CampoPesquisa::Nenhum:
                break;
        }
        return;
    }
    dmLog->cdsPesq.close();
    dmLog->sqlPesq.setCommandText(pesquisa.statement);
    runSearch();
    ui->pnRecordCount->setText(
        QStringLiteral("-> %1 registro(s) encontrado(s)").arg(dmLog->cdsPesq.recordCount()));
    ui->DBGrid1->setFocus();
}

void TfrmPrincipal_Log::runSearch() {
    // A connection lost earlier is made again here, with the settings read afresh.
    dmLog->BDLog.setConnected(true);

    // While the rows arrive the count line shows them and Esc cancels; the
    // operator's other input waits.
    const QString before = ui->pnRecordCount->text();
    bool cancelled = false;
    widgets::InputBlocker blocker([&] {
        cancelled = true;
        dmLog->dspPesq.cancel();
    });
    // The rows are fetched on a thread of their own, so Esc is seen also
    // while the server is still working on the first row.
    dmLog->dspPesq.setWaiting([this](std::size_t rows) {
        ui->pnRecordCount->setText(QStringLiteral("-> %1 registro(s) lido(s)...").arg(rows));
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    });
    struct StopWaiting {
        ~StopWaiting() { dmLog->dspPesq.setWaiting(nullptr); }
    } stopWaiting;
    try {
        dmLog->dspPesq.open(dmLog->cdsPesq);
    } catch (const firebird::DatabaseError& e) {
        ui->pnRecordCount->setText(before);
        if (cancelled && e.engineCode() == isc_cancelled) {
            throw std::runtime_error("Pesquisa cancelada pelo operador.");
        }
        if (connectionLost(e))
            dmLog->BDLog.close();
        throw;
    }
}

void TfrmPrincipal_Log::BitBtn2Click() {
    ui->edData1->clear();
    ui->edData2->clear();
    ui->edHora1->clear();
    ui->edHora2->clear();
    ui->cbUsers->setEditText(QString());
    ui->cbAcao->setEditText(QString());
    ui->cbTabelas->setEditText(QString());
    ui->edConteudo->clear();
    ui->edData1->setFocus();
}

void TfrmPrincipal_Log::BitBtn3Click() {
    auto& cds = dmLog->cdsPesq;
    if (!cds.active() || cds.recordCount() == 0)
        return;
    cds.first();
    LogReportCaptions captions;
    captions.data = QStringLiteral("Data: ") + ui->edData1->text() + QStringLiteral(" à ") +
                    ui->edData2->text();
    captions.hora = QStringLiteral("Hora: ") + ui->edHora1->text() + QStringLiteral(" à ") +
                    ui->edHora2->text();
    captions.usuario = QStringLiteral("Usuário: ") + ui->cbUsers->currentText();
    captions.acao = QStringLiteral("Ação: ") + ui->cbAcao->currentText();
    captions.tabela = QStringLiteral("Tabela: ") + ui->cbTabelas->currentText();
    captions.conteudo = QStringLiteral("Conteúdo: ") + ui->edConteudo->text();
    lastReportCaptions_ = captions;
    const ResultSetPipeline ppDBPipeline1(cds);
    previewLogReport(ppDBPipeline1, captions, this);
}

void TfrmPrincipal_Log::BitBtn4Click() {
    const std::string path = os::executableDirectory() + "Log.xml";
    if (!dmLog->cdsPesq.active())
        return;
    // Written beside the old file and renamed over it: a failure keeps the last export.
    if (auto error = exportXmlPacket(dmLog->cdsPesq, path)) {
        throw std::runtime_error("Cannot create file \"" + path + "\". " + *error);
    }
}

void TfrmPrincipal_Log::SpeedButton1Click() {
    close();
}

void TfrmPrincipal_Log::FormShow() {
    const QString version = VersaoExe();
    setWindowTitle(version.isEmpty() ? kCaptionTail
                                     : QStringLiteral("[%1] %2").arg(version, kCaptionTail));
    dmLog->BDLog.setConnected(true);
    fillList(ui->cbTabelas, "SELECT TABELA FROM TABLES ORDER BY TABELA ");
    fillList(ui->cbUsers, "SELECT USUARIO FROM USERS ORDER BY USUARIO ");

    ui->cbAcao->clear();
    auto& q = dmLog->sqlAux;
    q.setCommandText("SELECT ACAO FROM ACAO");
    q.open();
    if (q.eof()) {
        q.close();
        for (std::string_view word : schema::kActionVocabulary) {
            q.setCommandText("INSERT INTO ACAO (ACAO) VALUES ('" + std::string(word) + "')");
            q.execSQL();
        }
        fillList(ui->cbAcao, "SELECT ACAO FROM ACAO");
        return;
    }
    while (!q.eof()) {
        ui->cbAcao->addItem(widgets::fromCp1252(q.fieldAsText(0)));
        q.next();
    }
    q.close();
    ui->cbAcao->setCurrentIndex(-1);
}
