#include "StartUp.h"

#include "Dados_Log/Dados_Log.h"
#include "Principal_Log/Principal_Log.h"
#include "widgets/Application.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

StartUp::StartUp() = default;

StartUp::~StartUp() {
    // The window goes first; the module disconnects on its way out.
    mainWindow_.reset();
    dataModule_.reset();
}

bool StartUp::run(widgets::Application& app) {
    mainWindow_ = std::make_unique<TfrmPrincipal_Log>();
    if (app.terminated()) {
        mainWindow_.reset();
        return false;
    }
    dataModule_.reset(TdmLog::Create());
    mainWindow_->showMaximized();
    return true;
}

int runTracora(int argc, char** argv) {
    // Qt takes its own options out of argv: keep the command line as given.
    std::vector<std::string> arguments(argv, argv + argc);
    widgets::Application app(argc, argv);
    app.setCommandLine(std::move(arguments));
    app.setTitle(QStringLiteral("Tracora"));
    app.setApplicationName(QStringLiteral("Tracora"));
    const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
    QLocale::setDefault(brazil);
    // Qt's own dialogs (print, files, standard buttons) speak Portuguese too.
    QTranslator qtTexts;
    if (qtTexts.load(brazil, QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        app.installTranslator(&qtTexts);
    }

    StartUp startUp;
    if (!startUp.run(app))
        return 1;
    return app.exec();
}
