#include "ResultSetModel.h"

#include "dataset/ResultSet.h"
#include "dataset/ValueText.h"

#include <QStringDecoder>

namespace widgets {

QString fromCp1252(std::string_view bytes) {
    QStringDecoder decoder("windows-1252");
    return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

ResultSetModel::ResultSetModel(dataset::ResultSet& set, QStringList columns, QObject* parent)
    : QAbstractTableModel(parent), set_(&set), columns_(std::move(columns)) {
    listener_ = set_->subscribe([this](dataset::ResultSetEvent e) {
        if (e != dataset::ResultSetEvent::RowChanged)
            refresh();
    });
    refresh();
}

ResultSetModel::~ResultSetModel() {
    set_->unsubscribe(listener_);
}

void ResultSetModel::refresh() {
    beginResetModel();
    fields_.clear();
    for (const QString& name : columns_) {
        fields_.push_back(set_->active() ? set_->fieldIndex(name.toStdString()) : -1);
    }
    endResetModel();
}

int ResultSetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !set_->active() ? 0 : static_cast<int>(set_->recordCount());
}

int ResultSetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QString ResultSetModel::displayText(const dataset::ResultSet& set, std::size_t row, int field) {
    std::string scratch;
    return fromCp1252(dataset::valueText(set, row, field, scratch));
}

QVariant ResultSetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole || !set_->active())
        return {};
    return displayText(*set_, static_cast<std::size_t>(index.row()),
                       fields_[static_cast<std::size_t>(index.column())]);
}

QVariant ResultSetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return columns_.value(section);
    return {};
}

}  // namespace widgets
