#include "InputBlocker.h"

#include <QApplication>
#include <QKeyEvent>

namespace widgets {

InputBlocker::InputBlocker(std::function<void()> onEscape) : onEscape_(std::move(onEscape)) {
    qApp->installEventFilter(this);
}

InputBlocker::~InputBlocker() {
    qApp->removeEventFilter(this);
}

bool InputBlocker::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && onEscape_)
                onEscape_();
            return true;
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::Close:
        case QEvent::ContextMenu:
            return true;
        default:
            return QObject::eventFilter(watched, event);
    }
}

}  // namespace widgets
