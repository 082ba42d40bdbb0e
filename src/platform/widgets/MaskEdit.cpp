#include "MaskEdit.h"

namespace widgets {

namespace {

struct MaskParts {
    QString pattern;
    QChar blank = u'_';
};

MaskParts partsOf(const QString& mask) {
    const QStringList parts = mask.split(u';');
    MaskParts result;
    result.pattern = parts.value(0);
    if (result.pattern.startsWith(u'!'))
        result.pattern.remove(0, 1);
    if (parts.size() > 2 && !parts[2].isEmpty())
        result.blank = parts[2][0];
    return result;
}

}  // namespace

QString qtInputMask(const QString& editMask) {
    const MaskParts parts = partsOf(editMask);
    QString qt;
    for (QChar c : parts.pattern) {
        if (c == u'9') {
            qt += u'0';  // a digit that may be left out
        } else if (QStringLiteral("AaNnXx90Dd#HhBb><!{}[]\\").contains(c)) {
            qt += u'\\';
            qt += c;
        } else {
            qt += c;
        }
    }
    return qt + u';' + parts.blank;
}

MaskEdit::MaskEdit(QWidget* parent) : QLineEdit(parent) {}

void MaskEdit::setEditMask(const QString& mask) {
    editMask_ = mask;
    blank_ = partsOf(mask).blank;
    setInputMask(qtInputMask(mask));
    setMaxLength(partsOf(mask).pattern.size());
}

QString MaskEdit::text() const {
    if (editMask_.isEmpty())
        return QLineEdit::text();
    QString shown = displayText();
    shown.replace(blank_, u' ');
    return shown;
}

void MaskEdit::clear() {
    QLineEdit::clear();
    setCursorPosition(0);
}

}  // namespace widgets
