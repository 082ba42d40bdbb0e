#include "Focus.h"

#include <QWidget>

namespace widgets {

namespace {

bool takesFocus(const QWidget* w) {
    return (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(w->window()) &&
           !w->isHidden() && w->focusProxy() == nullptr;
}

}  // namespace

void moveFocus(QWidget* from, bool forward) {
    if (from == nullptr)
        return;
    QWidget* w = from;
    do {
        w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
        if (w != from && w->window() == from->window() && takesFocus(w)) {
            w->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return;
        }
    } while (w != from);
}

}  // namespace widgets
