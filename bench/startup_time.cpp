// Start-up until the main window is shown, in a process of its own: from the
// first line of main to the window exposed on the screen. Prints seconds.
//
//   bench_startup DIR        the viewer's start-up with DIR's system.ini
//   bench_startup --empty    the same application showing an empty main window

#include "Principal_Log/Principal_Log.h"
#include "Tracora/StartUp.h"
#include "os/Os.h"
#include "widgets/Application.h"
#include "widgets/MessageBox.h"

#include <QElapsedTimer>
#include <QLocale>
#include <QMainWindow>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Events are processed until the window is on the screen, at most ten seconds.
bool waitExposed(QWidget* window) {
    QElapsedTimer limit;
    limit.start();
    while (limit.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (window->windowHandle() != nullptr && window->windowHandle()->isExposed())
            return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    QElapsedTimer timer;
    timer.start();
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_startup DIR | --empty\n");
        return 2;
    }
    const std::string target = argv[1];
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // The command line the system's main module gives the viewer.
    std::vector<std::string> arguments{argv[0], kLaunchToken};
    int qtArgc = 1;
    widgets::Application app(qtArgc, argv);
    app.setCommandLine(arguments);
    app.setTitle(QStringLiteral("Tracora"));
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    // A message box would wait for an operator who is not there.
    bool message = false;
    widgets::setMessageInterceptor([&](const widgets::MessageRequest& m) {
        message = true;
        std::fprintf(stderr, "bench_startup: message: %s\n", qPrintable(m.text));
    });

    if (target == "--empty") {
        QMainWindow window;
        window.showMaximized();
        if (!waitExposed(&window))
            return 1;
        std::printf("%.6f\n", timer.nsecsElapsed() / 1e9);
        return 0;
    }
    os::setExecutableDirectoryForTesting(target.ends_with('/') ? target : target + "/");
    StartUp startUp;
    if (!startUp.run(app) || !waitExposed(startUp.mainWindow()))
        return 1;
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (message)
        return 1;
    std::printf("%.6f\n", seconds);
    return 0;
}
