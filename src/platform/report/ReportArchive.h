#pragma once

#include "Page.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

// Report archives: the laid-out pages with every drawn item, so a report can be
// shown and printed again without its data. A small versioned binary file:
// a magic word, the format version, the page count, then each page as a
// length-prefixed block of its items.
namespace report {

// Writes every page; like the PDF, through a temporary file renamed over the
// target. Throws FileError.
void writeArchive(const PageSource& source, const QString& path);

// The pages of an archive file, decoded one at a time when asked for.
class ArchivePages : public PageSource {
  public:
    // Throws FileError when the file cannot be read or is not an archive.
    static std::unique_ptr<ArchivePages> open(const QString& path);

    int pageCount() const override { return static_cast<int>(offsets_.size()); }
    Page page(int index) const override;

  private:
    struct Key {
        explicit Key() = default;
    };

  public:
    ArchivePages(Key, QByteArray data, std::vector<qsizetype> offsets, QString path);

  private:
    QByteArray data_;
    std::vector<qsizetype> offsets_;  // where each page's block starts in data_
    QString path_;
};

}  // namespace report
