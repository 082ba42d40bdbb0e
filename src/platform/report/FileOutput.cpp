#include "FileOutput.h"

#include <QFile>

namespace report {

FileOutput::FileOutput(const QString& path) : file_(QFile::encodeName(path).toStdString()) {
    failure_ = file_.failure();
    open(QIODevice::WriteOnly);
}

qint64 FileOutput::writeData(const char* data, qint64 size) {
    if (failure_)
        return -1;
    file_.write({data, static_cast<std::size_t>(size)});
    failure_ = file_.failure();
    return failure_ ? -1 : size;
}

std::optional<std::string> FileOutput::commit() {
    QIODevice::close();
    return file_.commit();
}

}  // namespace report
