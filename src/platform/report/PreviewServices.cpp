#include "PreviewServices.h"

#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>

namespace report {

QString PreviewServices::saveFileName(QWidget* parent, const QString& caption,
                                      const QString& suggested, const QString& filter) {
    return QFileDialog::getSaveFileName(parent, caption, suggested, filter);
}

QString PreviewServices::openFileName(QWidget* parent, const QString& caption,
                                      const QString& directory, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, caption, directory, filter);
}

bool PreviewServices::choosePrinter(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool PreviewServices::startDetached(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}

}  // namespace report
