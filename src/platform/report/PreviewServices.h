#pragma once

#include <QString>
#include <QStringList>

class QPrinter;
class QWidget;

namespace report {

// What the preview asks of the desktop: file names, a printer, starting the
// mail program. Tests replace it to run the preview's actions headless.
class PreviewServices {
  public:
    virtual ~PreviewServices() = default;

    // The chosen file name, or empty text when the operator cancelled.
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& suggested,
                                 const QString& filter);
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& directory,
                                 const QString& filter);
    // Shows the system's print dialog; false when cancelled.
    virtual bool choosePrinter(QWidget* parent, QPrinter& printer);
    virtual bool startDetached(const QString& program, const QStringList& arguments);
};

}  // namespace report
