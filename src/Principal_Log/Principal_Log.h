#pragma once

#include "LogReport.h"

#include <QMainWindow>
#include <QString>

#include <memory>

namespace Ui {
class TfrmPrincipal_Log;
}
namespace widgets {
class DataSource;
class ResultSetModel;
}  // namespace widgets

// The main window: filters, the result of the last search and its detail.
class TfrmPrincipal_Log : public QMainWindow {
    Q_OBJECT
  public:
    // Runs FormCreate while it is constructed; when that refuses the start, the
    // application is told to terminate and the window must not be shown.
    explicit TfrmPrincipal_Log(QWidget* parent = nullptr);
    ~TfrmPrincipal_Log() override;

    // The executable's file version as "a.b.c.d"; empty when the file carries none.
    static QString VersaoExe();

    void FormCreate();
    void FormShow();
    // Enter and Down move to the next field, Up to the previous; the key goes on.
    void edData1KeyDown(QWidget* Sender, int Key);
    void BitBtn1Click();  // search
    void BitBtn2Click();  // new search
    void BitBtn3Click();  // print
    void BitBtn4Click();  // export XML
    void SpeedButton1Click();

    std::unique_ptr<Ui::TfrmPrincipal_Log> ui;
    // What the last print put into the report's six filter labels.
    const LogReportCaptions& lastReportCaptions() const noexcept { return lastReportCaptions_; }
    widgets::DataSource* dsLog;

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void runSearch();
    void fillList(class QComboBox* list, const char* statement);
    bool shown_ = false;
    LogReportCaptions lastReportCaptions_;
    widgets::ResultSetModel* gridModel_ = nullptr;
};

extern TfrmPrincipal_Log* frmPrincipal_Log;

inline constexpr const char* kLaunchToken = "Quarzit_Bemmelsk";
