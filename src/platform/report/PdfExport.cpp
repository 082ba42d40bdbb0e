#include "PdfExport.h"

#include "FileError.h"
#include "PagePainter.h"

#include <QPageLayout>
#include <QPdfWriter>
#include <QSaveFile>

namespace report {

namespace {

[[noreturn]] void fail(const QString& path, const QString& reason) {
    throw FileError(QStringLiteral("Não foi possível gravar o arquivo \"%1\": %2")
                        .arg(path, reason)
                        .toStdString());
}

}  // namespace

void writePdf(const PageSource& source, const QString& path, const QString& title) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        fail(path, file.errorString());
    {
        QPdfWriter writer(&file);
        writer.setTitle(title);
        writer.setResolution(1200);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
        try {
            paintPages(source, writer, 0, source.pageCount() - 1);
        } catch (const std::exception& e) {
            fail(path, QString::fromStdString(e.what()));
        }
    }
    if (!file.commit())
        fail(path, file.errorString());
}

}  // namespace report
