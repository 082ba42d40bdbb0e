#pragma once

#include <QObject>
#include <QString>

#include <vector>

class QAbstractItemView;
class QLineEdit;
class QPlainTextEdit;

namespace dataset {
class ResultSet;
}

namespace widgets {

class ResultSetModel;

// Binds views to one result set so that they all follow its current row: the
// grid's selection moves it, and the field views show its values.
class DataSource : public QObject {
    Q_OBJECT
  public:
    explicit DataSource(QObject* parent = nullptr);
    ~DataSource() override;

    void setDataSet(dataset::ResultSet* set);
    dataset::ResultSet* dataSet() const noexcept { return set_; }

    void bindGrid(QAbstractItemView* grid, ResultSetModel* model);
    void bindField(QLineEdit* edit, const QString& field);
    void bindField(QPlainTextEdit* memo, const QString& field);

  private:
    void showCurrentRow();

    struct Binding {
        QLineEdit* edit = nullptr;
        QPlainTextEdit* memo = nullptr;
        QString field;
    };
    dataset::ResultSet* set_ = nullptr;
    std::size_t listener_ = 0;
    QAbstractItemView* grid_ = nullptr;
    std::vector<Binding> fields_;
    bool syncing_ = false;
};

}  // namespace widgets
