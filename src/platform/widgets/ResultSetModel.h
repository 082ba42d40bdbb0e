#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include <vector>

namespace dataset {
class ResultSet;
}

namespace widgets {

// A read-only table over some fields of a result set, computed on demand: a
// grid of a million rows costs nothing until its cells are drawn. Text is the
// log's 8-bit Windows-1252, decoded for display only; dates dd/MM/yyyy, times
// HH:mm:ss.
class ResultSetModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    ResultSetModel(dataset::ResultSet& set, QStringList columns, QObject* parent = nullptr);
    ~ResultSetModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The text a view shows for a field of a row.
    static QString displayText(const dataset::ResultSet& set, std::size_t row, int field);

  private:
    void refresh();

    dataset::ResultSet* set_;
    QStringList columns_;
    std::vector<int> fields_;  // the set's field of each column; -1 when absent
    std::size_t listener_ = 0;
};

// The Windows-1252 bytes of the log as text.
QString fromCp1252(std::string_view bytes);

}  // namespace widgets
