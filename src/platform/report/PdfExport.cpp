#include "PdfExport.h"

#include "FileError.h"
#include "FileOutput.h"
#include "PagePainter.h"

#include <QPageLayout>
#include <QPdfWriter>

namespace report {

namespace {

[[noreturn]] void fail(const QString& path, const QString& reason) {
    throw FileError(QStringLiteral("Não foi possível gravar o arquivo \"%1\": %2")
                        .arg(path, reason)
                        .toStdString());
}

}  // namespace

void writePdf(const PageSource& source, const QString& path, const QString& title) {
    FileOutput file(path);
    if (file.failure())
        fail(path, QString::fromStdString(*file.failure()));
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
    if (auto error = file.commit())
        fail(path, QString::fromStdString(*error));
}

}  // namespace report
