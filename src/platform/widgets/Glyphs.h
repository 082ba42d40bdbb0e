#pragma once

#include <QIcon>

namespace widgets {

// The pictures the system's buttons carry.
enum class Glyph {
    NetworkedComputers,
    FloppyDisk,
    Door,
    QuestionMark,
    BlankPage,
    Printer,
    DocumentWithArrow,
    ExitDoor,
};

// The desktop theme's icon when it has one, else a simple picture of our own;
// both have a greyed variant for disabled buttons.
QIcon glyph(Glyph which);

}  // namespace widgets
