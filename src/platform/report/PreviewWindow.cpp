#include "PreviewWindow.h"

#include "FileError.h"
#include "PagePainter.h"
#include "PageView.h"
#include "PdfExport.h"
#include "ReportArchive.h"
#include "widgets/Application.h"
#include "widgets/MessageBox.h"

#include <QAction>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace report {

namespace {

const QString kPdfFilter = QStringLiteral("Documento PDF (*.pdf)");
const QString kArchiveFilter = QStringLiteral("Arquivo de relatório (*.raf)");

QString documentsPath(const QString& name) {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).filePath(name);
}

}  // namespace

PreviewWindow::PreviewWindow(std::unique_ptr<PageSource> pages, QWidget* parent,
                             std::shared_ptr<PreviewServices> services)
    : QDialog(parent),
      services_(services ? std::move(services) : std::make_shared<PreviewServices>()) {
    setWindowTitle(QStringLiteral("Visualização de impressão"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setWindowState(windowState() | Qt::WindowMaximized);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildToolBar(layout);
    view_ = new PageView(this);
    view_->setObjectName(QStringLiteral("pageView"));
    layout->addWidget(view_, 1);
    status_ = new QLabel(this);
    status_->setContentsMargins(6, 2, 6, 2);
    layout->addWidget(status_);

    setPages(std::move(pages));
}

PreviewWindow::~PreviewWindow() = default;

QString PreviewWindow::defaultPdfPath() {
    return documentsPath(QStringLiteral("Report.pdf"));
}

QString PreviewWindow::defaultArchivePath() {
    return documentsPath(QStringLiteral("ReportArchive.raf"));
}

void PreviewWindow::buildToolBar(QVBoxLayout* layout) {
    auto* bar = new QToolBar(this);
    layout->addWidget(bar);
    auto add = [&](const QString& themeIcon, const QString& text, auto handler) {
        QAction* action = bar->addAction(QIcon::fromTheme(themeIcon), text);
        connect(action, &QAction::triggered, this, widgets::guarded(handler));
        return action;
    };
    add(QStringLiteral("document-print"), QStringLiteral("Imprimir"),
        [this] { printWithDialog(); });
    add(QStringLiteral("document-save-as"), QStringLiteral("Salvar como PDF"),
        [this] { savePdfAs(); });
    add(QStringLiteral("document-save"), QStringLiteral("Salvar arquivo de relatório"),
        [this] { saveArchiveAs(); });
    add(QStringLiteral("document-open"), QStringLiteral("Abrir arquivo de relatório"),
        [this] { openArchiveFrom(); });
    add(QStringLiteral("mail-send"), QStringLiteral("Enviar por e-mail"), [this] { emailPdf(); });
    add(QStringLiteral("window-close"), QStringLiteral("Fechar"), [this] { reject(); });
    // Navigation and search on a row of their own, so a narrow window keeps them.
    bar = new QToolBar(this);
    layout->addWidget(bar);
    first_ =
        add(QStringLiteral("go-first"), QStringLiteral("Primeira página"), [this] { goToPage(0); });
    previous_ = add(QStringLiteral("go-previous"), QStringLiteral("Página anterior"),
                    [this] { goToPage(current_ - 1); });
    pageBox_ = new QSpinBox(bar);
    pageBox_->setObjectName(QStringLiteral("pageNumber"));
    pageBox_->setKeyboardTracking(false);
    bar->addWidget(pageBox_);
    connect(pageBox_, &QSpinBox::valueChanged, this,
            [this](int value) { widgets::runGuarded([&] { goToPage(value - 1); }); });
    pageTotal_ = new QLabel(bar);
    pageTotal_->setContentsMargins(4, 0, 4, 0);
    bar->addWidget(pageTotal_);
    next_ = add(QStringLiteral("go-next"), QStringLiteral("Próxima página"),
                [this] { goToPage(current_ + 1); });
    last_ = add(QStringLiteral("go-last"), QStringLiteral("Última página"),
                [this] { goToPage(pageCount() - 1); });
    bar->addSeparator();
    searchBox_ = new QLineEdit(kSearchPrompt, bar);
    searchBox_->setObjectName(QStringLiteral("searchText"));
    searchBox_->setMaximumWidth(260);
    searchBox_->installEventFilter(this);
    bar->addWidget(searchBox_);
    connect(searchBox_, &QLineEdit::returnPressed, this,
            widgets::guarded([this] { findNext(searchBox_->text()); }));
    add(QStringLiteral("edit-find"), QStringLiteral("Localizar próximo"),
        [this] { findNext(searchBox_->text()); });
}

bool PreviewWindow::eventFilter(QObject* watched, QEvent* event) {
    // The prompt is selected on entry, so typing replaces it.
    if (watched == searchBox_ && event->type() == QEvent::FocusIn &&
        searchBox_->text() == kSearchPrompt) {
        QTimer::singleShot(0, searchBox_, &QLineEdit::selectAll);
    }
    return QDialog::eventFilter(watched, event);
}

void PreviewWindow::setPages(std::unique_ptr<PageSource> pages) {
    pages_ = std::move(pages);
    match_.reset();
    current_ = -1;
    showPage(0);
}

int PreviewWindow::pageCount() const {
    return pages_->pageCount();
}

const Page& PreviewWindow::shownPage() const {
    return view_->page();
}

void PreviewWindow::goToPage(int index) {
    if (pageCount() == 0)
        return;
    index = std::clamp(index, 0, pageCount() - 1);
    if (index != current_)
        showPage(index);
}

void PreviewWindow::showPage(int index) {
    current_ = index;
    view_->setPage(pageCount() > 0 ? pages_->page(index) : Page{QSizeF(210, 297), {}, {}});
    if (match_ && match_->page == index)
        view_->setHighlight(matchRect(view_->page(), *match_));
    updateNavigation();
}

void PreviewWindow::updateNavigation() {
    const int count = pageCount();
    const QSignalBlocker block(pageBox_);
    pageBox_->setRange(count > 0 ? 1 : 0, count);
    pageBox_->setValue(current_ + 1);
    pageTotal_->setText(QStringLiteral("de %1").arg(count));
    first_->setEnabled(current_ > 0);
    previous_->setEnabled(current_ > 0);
    next_->setEnabled(current_ + 1 < count);
    last_->setEnabled(current_ + 1 < count);
}

bool PreviewWindow::findNext(const QString& text) {
    if (text.isEmpty() || text == kSearchPrompt)
        return false;
    // A new text starts from the page on show; the same text goes on after its match.
    const std::optional<TextMatch> after = text == matchText_ ? match_ : std::nullopt;
    match_ = report::findNext(*pages_, text, after, current_);
    matchText_ = text;
    if (!match_) {
        view_->setHighlight(std::nullopt);
        setStatus(QStringLiteral("Texto não encontrado: %1").arg(text));
        return false;
    }
    setStatus(QStringLiteral("Encontrado na página %1").arg(match_->page + 1));
    if (match_->page != current_) {
        showPage(match_->page);
    } else {
        view_->setHighlight(matchRect(view_->page(), *match_));
    }
    return true;
}

void PreviewWindow::setStatus(const QString& text) {
    status_->setText(text);
}

QString PreviewWindow::statusText() const {
    return status_->text();
}

void PreviewWindow::showError(const QString& message) {
    const auto* app = widgets::Application::instance();
    widgets::showMessage(widgets::MessageIcon::Error, app != nullptr ? app->title() : windowTitle(),
                         message);
}

bool PreviewWindow::savePdf(const QString& path) {
    try {
        writePdf(*pages_, path, documentName_);
    } catch (const FileError& e) {
        showError(QString::fromStdString(e.what()));
        return false;
    }
    setStatus(QStringLiteral("Relatório salvo em %1").arg(path));
    return true;
}

bool PreviewWindow::saveArchive(const QString& path) {
    try {
        writeArchive(*pages_, path);
    } catch (const FileError& e) {
        showError(QString::fromStdString(e.what()));
        return false;
    }
    setStatus(QStringLiteral("Arquivo de relatório salvo em %1").arg(path));
    return true;
}

bool PreviewWindow::openArchive(const QString& path) {
    try {
        setPages(ArchivePages::open(path));
    } catch (const FileError& e) {
        showError(QString::fromStdString(e.what()));
        return false;
    }
    setStatus(QStringLiteral("Arquivo de relatório %1").arg(path));
    return true;
}

bool PreviewWindow::emailPdf() {
    // The mail program reads the attachment after we return, so the file stays.
    QTemporaryDir dir(QDir(QDir::tempPath()).filePath(QStringLiteral("tracora-mail-XXXXXX")));
    if (!dir.isValid()) {
        showError(QStringLiteral("Não foi possível criar a pasta temporária do anexo."));
        return false;
    }
    const QString file = dir.filePath(documentName_ + QStringLiteral(".pdf"));
    try {
        writePdf(*pages_, file, documentName_);
    } catch (const FileError& e) {
        showError(QString::fromStdString(e.what()));
        return false;
    }
    const QStringList arguments{QStringLiteral("--attach"), file, QStringLiteral("--subject"),
                                documentName_};
    if (!services_->startDetached(QStringLiteral("xdg-email"), arguments)) {
        showError(QStringLiteral(
            "Não foi possível iniciar o programa de e-mail (xdg-email). Verifique se o pacote "
            "xdg-utils está instalado."));
        return false;
    }
    dir.setAutoRemove(false);
    setStatus(QStringLiteral("E-mail preparado com o anexo %1").arg(file));
    return true;
}

bool PreviewWindow::print(QPrinter& printer) {
    printer.setFullPage(true);
    try {
        printPages(*pages_, printer);
    } catch (const std::runtime_error& e) {
        showError(QStringLiteral("Não foi possível imprimir: %1").arg(e.what()));
        return false;
    }
    return true;
}

void PreviewWindow::printWithDialog() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(documentName_);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(true);
    printer.setFromTo(1, pageCount());
    if (services_->choosePrinter(this, printer))
        print(printer);
}

void PreviewWindow::savePdfAs() {
    const QString path = services_->saveFileName(this, QStringLiteral("Salvar como PDF"),
                                                 defaultPdfPath(), kPdfFilter);
    if (!path.isEmpty())
        savePdf(path);
}

void PreviewWindow::saveArchiveAs() {
    const QString path = services_->saveFileName(
        this, QStringLiteral("Salvar arquivo de relatório"), defaultArchivePath(), kArchiveFilter);
    if (!path.isEmpty())
        saveArchive(path);
}

void PreviewWindow::openArchiveFrom() {
    const QString path =
        services_->openFileName(this, QStringLiteral("Abrir arquivo de relatório"),
                                QFileInfo(defaultArchivePath()).absolutePath(), kArchiveFilter);
    if (!path.isEmpty())
        openArchive(path);
}

}  // namespace report
