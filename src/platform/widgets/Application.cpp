#include "Application.h"

#include "MessageBox.h"

namespace widgets {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

Application* Application::instance() {
    return qobject_cast<Application*>(QApplication::instance());
}

QString errorBoxText(const QString& message) {
    if (!message.isEmpty() && message.back().unicode() > u'.')
        return message + u'.';
    return message;
}

namespace {

QString messageOf(const std::exception& e) {
    return systemText(e.what());
}

}  // namespace

QString innermostMessage(std::exception_ptr error) {
    QString message;
    while (error) {
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            message = messageOf(e);
            error = nullptr;
            try {
                std::rethrow_if_nested(e);
            } catch (...) {
                error = std::current_exception();
            }
        } catch (...) {
            message = QStringLiteral("Unknown error");
            error = nullptr;
        }
    }
    return message;
}

void Application::handleException(std::exception_ptr error) {
    showMessage(MessageIcon::Error, title_, errorBoxText(innermostMessage(error)));
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        handleException(std::current_exception());
        return false;
    }
}

void runGuarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (...) {
        if (auto* app = Application::instance()) {
            app->handleException(std::current_exception());
        } else {
            showMessage(MessageIcon::Error, QString(),
                        errorBoxText(innermostMessage(std::current_exception())));
        }
    }
}

}  // namespace widgets
