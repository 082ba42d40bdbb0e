#pragma once

#include <memory>

class TdmLog;
class TfrmPrincipal_Log;
namespace widgets {
class Application;
}

// The program's start-up: main window first (its creation runs the launch
// guard and the configuration check), then the data module, then the window
// is shown. The event loop is the caller's.
class StartUp {
public:
    StartUp();
    ~StartUp();
    // False when the start was refused: nothing is shown and the program ends.
    bool run(widgets::Application& app);

    TfrmPrincipal_Log* mainWindow() const noexcept { return mainWindow_.get(); }

private:
    std::unique_ptr<TfrmPrincipal_Log> mainWindow_;
    std::unique_ptr<TdmLog> dataModule_;
};

// Everything main does: application, title, locale, start-up, event loop.
int runTracora(int argc, char** argv);
