#include "ReportArchive.h"

#include "FileError.h"

#include <QDataStream>
#include <QFile>
#include "FileOutput.h"

#include <stdexcept>

namespace report {

namespace {

constexpr quint32 kMagic = 0x54524146;  // "TRAF"
constexpr quint16 kVersion = 1;
constexpr QDataStream::Version kStreamVersion = QDataStream::Qt_6_0;

QByteArray encodePage(const Page& page) {
    QByteArray block;
    QDataStream out(&block, QIODevice::WriteOnly);
    out.setVersion(kStreamVersion);
    out << page.size.width() << page.size.height();
    out << static_cast<quint32>(page.texts.size());
    for (const TextItem& t : page.texts) {
        out << t.pos.x() << t.pos.y() << t.width << t.text << t.font.family << t.font.pointSize
            << t.font.bold;
    }
    out << static_cast<quint32>(page.lines.size());
    for (const LineItem& l : page.lines) {
        out << l.from.x() << l.from.y() << l.to.x() << l.to.y() << l.weightPt;
    }
    return block;
}

// Sizes read from a file never exceed what the block can hold, so a damaged
// file cannot ask for a huge allocation.
bool plausibleCount(quint32 count, const QDataStream& in, qsizetype minItemBytes) {
    return count <= in.device()->bytesAvailable() / minItemBytes;
}

Page decodePage(const QByteArray& block) {
    QDataStream in(block);
    in.setVersion(kStreamVersion);
    Page page;
    double w = 0, h = 0;
    in >> w >> h;
    page.size = QSizeF(w, h);
    quint32 texts = 0;
    in >> texts;
    if (!plausibleCount(texts, in, 3 * 8 + 4 + 4 + 8 + 1))
        throw std::runtime_error("damaged page");
    page.texts.resize(texts);
    for (TextItem& t : page.texts) {
        double x = 0, y = 0;
        in >> x >> y >> t.width >> t.text >> t.font.family >> t.font.pointSize >> t.font.bold;
        t.pos = QPointF(x, y);
    }
    quint32 lines = 0;
    in >> lines;
    if (!plausibleCount(lines, in, 5 * 8))
        throw std::runtime_error("damaged page");
    page.lines.resize(lines);
    for (LineItem& l : page.lines) {
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        in >> x1 >> y1 >> x2 >> y2 >> l.weightPt;
        l.from = QPointF(x1, y1);
        l.to = QPointF(x2, y2);
    }
    if (in.status() != QDataStream::Ok)
        throw std::runtime_error("damaged page");
    return page;
}

[[noreturn]] void failRead(const QString& path, const QString& reason) {
    throw FileError(QStringLiteral("Não foi possível abrir o arquivo de relatório \"%1\": %2")
                        .arg(path, reason)
                        .toStdString());
}

}  // namespace

void writeArchive(const PageSource& source, const QString& path) {
    auto fail = [&](const QString& reason) {
        throw FileError(QStringLiteral("Não foi possível gravar o arquivo \"%1\": %2")
                            .arg(path, reason)
                            .toStdString());
    };
    FileOutput file(path);
    if (file.failure())
        fail(QString::fromStdString(*file.failure()));
    QDataStream out(&file);
    out.setVersion(kStreamVersion);
    const int count = source.pageCount();
    out << kMagic << kVersion << static_cast<quint32>(count);
    try {
        for (int i = 0; i < count; ++i)
            out << encodePage(source.page(i));
    } catch (const std::exception& e) {
        fail(QString::fromStdString(e.what()));
    }
    if (auto error = file.failure())
        fail(QString::fromStdString(*error));
    if (auto error = file.commit())
        fail(QString::fromStdString(*error));
}

std::unique_ptr<ArchivePages> ArchivePages::open(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        failRead(path, file.errorString());
    QByteArray data = file.readAll();
    QDataStream in(data);
    in.setVersion(kStreamVersion);
    quint32 magic = 0, count = 0;
    quint16 version = 0;
    in >> magic >> version >> count;
    if (in.status() != QDataStream::Ok || magic != kMagic) {
        failRead(path, QStringLiteral("não é um arquivo de relatório"));
    }
    if (version != kVersion)
        failRead(path, QStringLiteral("versão %1 desconhecida").arg(version));
    if (!plausibleCount(count, in, 4))
        failRead(path, QStringLiteral("arquivo danificado"));
    std::vector<qsizetype> offsets;
    offsets.reserve(count);
    for (quint32 i = 0; i < count; ++i) {
        offsets.push_back(in.device()->pos());
        quint32 length = 0;
        in >> length;
        if (in.status() != QDataStream::Ok || length == 0xFFFFFFFFu ||
            in.skipRawData(static_cast<int>(length)) != static_cast<int>(length)) {
            failRead(path, QStringLiteral("arquivo danificado"));
        }
    }
    return std::make_unique<ArchivePages>(Key{}, std::move(data), std::move(offsets), path);
}

ArchivePages::ArchivePages(Key, QByteArray data, std::vector<qsizetype> offsets, QString path)
    : data_(std::move(data)), offsets_(std::move(offsets)), path_(std::move(path)) {}

Page ArchivePages::page(int index) const {
    if (index < 0 || index >= pageCount())
        throw std::out_of_range("no such page");
    QDataStream in(data_);
    in.setVersion(kStreamVersion);
    in.device()->seek(offsets_[static_cast<std::size_t>(index)]);
    QByteArray block;
    in >> block;
    try {
        return decodePage(block);
    } catch (const std::runtime_error&) {
        failRead(path_, QStringLiteral("página %1 danificada").arg(index + 1));
    }
}

}  // namespace report
