#include "DataSource.h"

#include "ResultSetModel.h"
#include "dataset/ResultSet.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace widgets {

DataSource::DataSource(QObject* parent) : QObject(parent) {}

DataSource::~DataSource() {
    if (set_ != nullptr)
        set_->unsubscribe(listener_);
}

void DataSource::setDataSet(dataset::ResultSet* set) {
    if (set_ != nullptr)
        set_->unsubscribe(listener_);
    set_ = set;
    if (set_ != nullptr) {
        listener_ = set_->subscribe([this](dataset::ResultSetEvent) { showCurrentRow(); });
    }
    showCurrentRow();
}

void DataSource::bindGrid(QAbstractItemView* grid, ResultSetModel* model) {
    grid_ = grid;
    grid->setModel(model);
    connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (syncing_ || set_ == nullptr || !set_->active() || !current.isValid())
                    return;
                set_->moveTo(static_cast<std::size_t>(current.row()));
            });
    // A reset model loses its selection model's current index: show the set's row again.
    connect(model, &QAbstractItemModel::modelReset, this, [this] { showCurrentRow(); });
}

void DataSource::bindField(QLineEdit* edit, const QString& field) {
    fields_.push_back({edit, nullptr, field});
    showCurrentRow();
}

void DataSource::bindField(QPlainTextEdit* memo, const QString& field) {
    fields_.push_back({nullptr, memo, field});
    showCurrentRow();
}

void DataSource::showCurrentRow() {
    const bool hasRow = set_ != nullptr && set_->active() && !set_->eof();
    for (const Binding& b : fields_) {
        QString text;
        if (hasRow) {
            text = ResultSetModel::displayText(*set_, set_->currentRow(),
                                               set_->fieldIndex(b.field.toStdString()));
        }
        if (b.edit != nullptr) {
            b.edit->setText(text);
            b.edit->setCursorPosition(0);
        }
        if (b.memo != nullptr)
            b.memo->setPlainText(text);
    }
    if (grid_ != nullptr && grid_->model() != nullptr) {
        syncing_ = true;
        if (hasRow) {
            const QModelIndex index = grid_->model()->index(
                static_cast<int>(set_->currentRow()), qMax(0, grid_->currentIndex().column()));
            grid_->selectionModel()->setCurrentIndex(
                index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        }
        syncing_ = false;
    }
}

}  // namespace widgets
