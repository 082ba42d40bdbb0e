#pragma once

#include <QDialog>

// Asks for the server and the directory of the log database, tests them and
// saves them to system.ini. `Tag` tells the start-up whether a save happened.
class TFrmConfig_Conexao : public QDialog {
    Q_OBJECT
public:
    explicit TFrmConfig_Conexao(QWidget* owner = nullptr);
    ~TFrmConfig_Conexao() override;

    int Tag = 0;  // 1 once a configuration was saved
};
