#include "MessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QStringDecoder>

namespace widgets {

namespace {

MessageInterceptor& interceptor() {
    static MessageInterceptor handler;
    return handler;
}

QMessageBox::Icon toQt(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Error:
            return QMessageBox::Critical;
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

QString systemText(const char* bytes) {
    const QByteArray data(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(data);
    if (!utf8.hasError())
        return text;
    QStringDecoder cp1252("windows-1252");
    return cp1252.isValid() ? QString(cp1252.decode(data)) : QString::fromLatin1(data);
}

MessageInterceptor setMessageInterceptor(MessageInterceptor handler) {
    return std::exchange(interceptor(), std::move(handler));
}

void showMessage(MessageIcon icon, const QString& caption, const QString& text) {
    if (interceptor()) {
        interceptor()({icon, caption, text});
        return;
    }
    // The system's texts break lines with CR, LF CR or CR LF; Qt wants LF.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QStringLiteral("\n\r"), QStringLiteral("\n"))
        .replace(u'\r', u'\n');
    QMessageBox box(toQt(icon), caption, shown, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

}  // namespace widgets
