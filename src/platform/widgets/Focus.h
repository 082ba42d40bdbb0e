#pragma once

class QWidget;

namespace widgets {

// Moves the focus to the next (or previous) control in the window's tab order
// that can take it, wrapping from the last to the first.
void moveFocus(QWidget* from, bool forward);

}  // namespace widgets
