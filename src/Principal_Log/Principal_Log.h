#pragma once

#include <QMainWindow>
#include <QString>

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

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool shown_ = false;
};

extern TfrmPrincipal_Log* frmPrincipal_Log;

inline constexpr const char* kLaunchToken = "Quarzit_Bemmelsk";
