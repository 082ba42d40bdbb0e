#pragma once

#include "Page.h"
#include "PreviewServices.h"
#include "TextSearch.h"

#include <QDialog>

#include <memory>
#include <optional>

class QAction;
class QLabel;
class QLineEdit;
class QPrinter;
class QSpinBox;
class QVBoxLayout;

namespace report {

class PageView;

// The print preview: one page at a time zoomed to the page width, navigation,
// text search, printing, saving as PDF or as a report archive, opening an
// archive, and e-mail with the PDF attached. Opens maximised. The actions that
// need a file name or a printer ask the services; the functions below do the
// work with what they are given and report failures in a message box.
class PreviewWindow : public QDialog {
    Q_OBJECT
  public:
    explicit PreviewWindow(std::unique_ptr<PageSource> pages, QWidget* parent = nullptr,
                           std::shared_ptr<PreviewServices> services = nullptr);
    ~PreviewWindow() override;

    static inline const QString kSearchPrompt = QStringLiteral("<Texto a localizar>");
    // In the user's documents folder.
    static QString defaultPdfPath();
    static QString defaultArchivePath();

    // The title of the PDF and the subject of the e-mail ("Report").
    void setDocumentName(const QString& name) { documentName_ = name; }

    const PageSource& pages() const noexcept { return *pages_; }
    int pageCount() const;
    int currentPage() const noexcept { return current_; }  // 0-based
    const Page& shownPage() const;
    void goToPage(int index);

    // Finds the next match after the current one and shows its page; false,
    // with a note in the status line, when the text occurs nowhere.
    bool findNext(const QString& text);
    const std::optional<TextMatch>& currentMatch() const noexcept { return match_; }

    bool savePdf(const QString& path);
    bool saveArchive(const QString& path);
    // Shows the archive's pages instead of the current ones.
    bool openArchive(const QString& path);
    bool emailPdf();
    bool print(QPrinter& printer);

    // Toolbar handlers: ask for a file name or a printer, then do the above.
    void printWithDialog();
    void savePdfAs();
    void saveArchiveAs();
    void openArchiveFrom();

    QLineEdit* searchBox() const noexcept { return searchBox_; }
    QString statusText() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildToolBar(QVBoxLayout* layout);
    void setPages(std::unique_ptr<PageSource> pages);
    void showPage(int index);
    void updateNavigation();
    void showError(const QString& message);
    void setStatus(const QString& text);

    std::unique_ptr<PageSource> pages_;
    std::shared_ptr<PreviewServices> services_;
    QString documentName_ = QStringLiteral("Report");
    int current_ = 0;
    std::optional<TextMatch> match_;
    QString matchText_;

    PageView* view_ = nullptr;
    QSpinBox* pageBox_ = nullptr;
    QLabel* pageTotal_ = nullptr;
    QLineEdit* searchBox_ = nullptr;
    QLabel* status_ = nullptr;
    QAction* first_ = nullptr;
    QAction* previous_ = nullptr;
    QAction* next_ = nullptr;
    QAction* last_ = nullptr;
};

}  // namespace report
