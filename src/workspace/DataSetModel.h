#pragma once

#include "model/DataSet.h"
#include "model/GridColumnSpec.h"

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <memory>

// The visible rows of a table, in index order, as a table model. Rows being edited show
// their pending values; the vertical header marks the table's current row.
class DataSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DataSetModel(QObject* parent = nullptr);
    ~DataSetModel() override;

    void setDataSet(DataSet* dataSet);
    DataSet* dataSet() const { return m_ds; }

    void setColumns(const QList<GridColumnSpec>& columns);
    const QList<GridColumnSpec>& columns() const { return m_columns; }
    const GridColumnSpec& column(int column) const;
    // Replaces the column's title (normally the field's display label); empty restores it.
    void setColumnTitle(int column, const QString& title);
    // Column showing the field (case-insensitive), -1 when none does.
    int columnOfField(const QString& field) const;
    // Index of the column's field in the table, -1 when the table has no such field.
    int fieldIndexOf(int column) const;
    // A user may change the cell: the column is not read-only and its field is stored.
    bool isColumnEditable(int column) const;

    // The cell's text as the grid shows it (money grouped, check boxes without text).
    QString displayText(int row, int column) const;
    // The cell's value as text by the field conventions (the editor's text).
    QString editText(int row, int column) const;

    // The table's cursor, state or values changed: repaint, and follow a changed row count.
    void refresh();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    void onTableEvent(TableEvent event, RowId id);
    int currentRecordCount() const;
    QVariant value(int row, int column) const;

    DataSet* m_ds = nullptr;
    int m_listener = 0;
    int m_rowCount = 0;
    QList<GridColumnSpec> m_columns;
    QStringList m_titles; // per column, empty = the field's display label
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};
