#pragma once

#include "firebird/ServiceManager.h"
#include "firebird/SqlConnection.h"

#include <QDialog>

#include <memory>

class QLabel;
namespace Ui {
class TFrmConfig_Conexao;
}

// Asks for the server and the directory of the log database, tests them and
// saves them to system.ini. `Tag` tells the start-up whether a save happened.
class TFrmConfig_Conexao : public QDialog {
    Q_OBJECT
  public:
    explicit TFrmConfig_Conexao(QWidget* owner = nullptr);
    ~TFrmConfig_Conexao() override;

    void BitBtn1Click();  // test the connection
    void BitBtn2Click();  // save the settings
    void BitBtn3Click();  // close

    // The text of the status bar's panel.
    QString statusText() const;

    int Tag = 0;  // 1 once a configuration was saved
    std::unique_ptr<Ui::TFrmConfig_Conexao> ui;
    firebird::ServiceManager IBSecurityService1;
    firebird::SqlConnection SQLConnection1;

  private:
    void setStatus(const QString& text);
    QLabel* statusPanel_;
};

// The directory with its separator appended when it ends in neither "/" nor "\"
// (after any trailing blanks, which stay); the separator is the first one the
// text holds, else "\".
QString normalizeDirectory(const QString& directory);
// "Conexão estabelecida em SS segundos." for an elapsed time: whole seconds of
// the minute, as two digits.
QString connectionTimeText(qint64 elapsedMilliseconds);
