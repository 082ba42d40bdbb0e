#include "MessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace widgets {

namespace {

MessageInterceptor& interceptor() {
    static MessageInterceptor handler;
    return handler;
}

QMessageBox::Icon toQt(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Error: return QMessageBox::Critical;
        case MessageIcon::Information: return QMessageBox::Information;
        case MessageIcon::Warning: return QMessageBox::Warning;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

MessageInterceptor setMessageInterceptor(MessageInterceptor handler) {
    return std::exchange(interceptor(), std::move(handler));
}

void showMessage(MessageIcon icon, const QString& caption, const QString& text) {
    if (interceptor()) {
        interceptor()({icon, caption, text});
        return;
    }
    QMessageBox box(toQt(icon), caption, text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

}  // namespace widgets
