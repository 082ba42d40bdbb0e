#include "Windows1252.h"

#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

#include <stdexcept>

namespace logwriter {

std::optional<std::string> toWindows1252(QStringView text) {
    QStringEncoder encoder("windows-1252");
    if (!encoder.isValid())
        throw std::runtime_error("Qt has no Windows-1252 encoder here");
    const QByteArray bytes = encoder(text);
    // The encoder puts a substitute in place of what it cannot write: decoding
    // back shows whether anything was lost.
    QStringDecoder decoder("windows-1252");
    if (encoder.hasError() || QString(decoder(bytes)) != text)
        return std::nullopt;
    return bytes.toStdString();
}

std::optional<std::string> utf8ToWindows1252(std::string_view utf8) {
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    // Bytes that are not UTF-8 turned into replacement characters, which 1252 lacks.
    return toWindows1252(text);
}

}  // namespace logwriter
