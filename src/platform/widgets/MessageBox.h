#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace widgets {

enum class MessageIcon { Error, Information, Warning };

struct MessageRequest {
    MessageIcon icon;
    QString caption;
    QString text;
};

// Text from the server or the system, as bytes: UTF-8 when it is valid UTF-8,
// else the 8-bit Windows-1252 of the log database.
QString systemText(const char* bytes);

// A modal message box with a single OK button, owned by the active window.
void showMessage(MessageIcon icon, const QString& caption, const QString& text);

// Tests see every message box here instead of a modal window; an empty handler
// restores the real boxes. Returns the handler it replaced.
using MessageInterceptor = std::function<void(const MessageRequest&)>;
MessageInterceptor setMessageInterceptor(MessageInterceptor interceptor);

}  // namespace widgets
