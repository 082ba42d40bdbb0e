#pragma once

#include <QChar>
#include <QString>

#include <string_view>

namespace report {

// The character a Windows-1252 byte prints as. Control characters and the five
// unassigned bytes print as a space, so that measuring and drawing agree.
QChar printableChar(unsigned char byte);

// The Windows-1252 byte of a character, or -1 when the code page lacks it.
int cp1252Byte(QChar c);

// The printable text of Windows-1252 bytes.
QString decodePrintable(std::string_view bytes);

}  // namespace report
