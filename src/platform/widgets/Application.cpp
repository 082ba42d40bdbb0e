#include "Application.h"

#include "MessageBox.h"

#include <QStringDecoder>

namespace widgets {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

Application* Application::instance() { return qobject_cast<Application*>(QApplication::instance()); }

QString errorBoxText(const QString& message) {
    if (!message.isEmpty() && message.back().unicode() > u'.') return message + u'.';
    return message;
}

namespace {

// Messages come from the server and the system as bytes: UTF-8 when they are
// valid UTF-8, else the 8-bit Windows-1252 text of the log database.
QString messageOf(const std::exception& e) {
    const QByteArray bytes(e.what());
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) return text;
    QStringDecoder cp1252("windows-1252");
    return cp1252.isValid() ? QString(cp1252.decode(bytes)) : QString::fromLatin1(bytes);
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
