#include "widgets/Application.h"
#include "widgets/MessageBox.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

// Every test process gets the application object the viewer runs with, headless.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    widgets::Application app(argc, argv);
    app.setTitle(QStringLiteral("Tracora"));
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    // A modal box would wait forever headless: report it and go on.
    widgets::setMessageInterceptor([](const widgets::MessageRequest& m) {
        std::fprintf(stderr, "[message box] %s: %s\n", qPrintable(m.caption), qPrintable(m.text));
    });
    return RUN_ALL_TESTS();
}
