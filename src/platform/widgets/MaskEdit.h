#pragma once

#include <QLineEdit>

namespace widgets {

// A masked edit whose text reads back as the system expects it: separators
// included and a space for every position not typed ("  /  /    ").
// Qt's own QLineEdit::text() drops both.
class MaskEdit : public QLineEdit {
    Q_OBJECT
  public:
    explicit MaskEdit(QWidget* parent = nullptr);

    // A mask in the notation "!99/99/9999;1;_": "9" an optional digit, other
    // characters literal separators, then whether literals are kept and the
    // character shown for untyped positions.
    void setEditMask(const QString& mask);
    const QString& editMask() const noexcept { return editMask_; }

    // The text with separators and blanks, as the masked edit reads back.
    QString text() const;
    // Back to the blank mask.
    void clear();

  private:
    QString editMask_;
    QChar blank_ = u'_';
};

// Qt's input mask for a mask of that notation ("99/99/9999" becomes "00/00/0000;_").
QString qtInputMask(const QString& editMask);

}  // namespace widgets
