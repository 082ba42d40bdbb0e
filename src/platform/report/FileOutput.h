#pragma once

#include "os/Os.h"

#include <QIODevice>
#include <QString>

#include <optional>
#include <string>

namespace report {

// A write-only device whose bytes go to a file replaced only when all of them
// are on the disk. Qt's own save file let a PDF writer's failed writes pass
// unseen and put an empty file in place of the old one on a full disk; this
// one checks every write and the final flush.
class FileOutput : public QIODevice {
  public:
    explicit FileOutput(const QString& path);
    // The failure so far (the temporary file could not be made, a write failed).
    const std::optional<std::string>& failure() const noexcept { return failure_; }
    // Puts the file in place; the operating system's text for a failure.
    std::optional<std::string> commit();

    bool isSequential() const override { return true; }

  protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;

  private:
    os::ReplacementFile file_;
    std::optional<std::string> failure_;
};

}  // namespace report
