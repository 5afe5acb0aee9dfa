#include "workspace/DataSetModel.h"

#include "model/FormatSettings.h"

using namespace Qt::StringLiterals;

DataSetModel::DataSetModel(QObject* parent) : QAbstractTableModel(parent) {}

// The table may already be gone when the grid is destroyed, so it is not touched here;
// the listener it keeps checks `m_alive` and stays silent.
DataSetModel::~DataSetModel() = default;

void DataSetModel::setDataSet(DataSet* dataSet)
{
    if (dataSet == m_ds)
        return;
    beginResetModel();
    if (m_ds && m_listener)
        m_ds->removeListener(m_listener);
    m_ds = dataSet;
    m_listener = 0;
    if (m_ds) {
        std::weak_ptr<int> alive = m_alive;
        m_listener = m_ds->addListener([this, alive](TableEvent event, RowId id) {
            if (!alive.expired())
                onTableEvent(event, id);
        });
    }
    m_rowCount = currentRecordCount();
    endResetModel();
}

void DataSetModel::setColumns(const QList<GridColumnSpec>& columns)
{
    beginResetModel();
    m_columns = columns;
    m_titles = QStringList(columns.size());
    m_rowCount = currentRecordCount();
    endResetModel();
}

const GridColumnSpec& DataSetModel::column(int column) const
{
    static const GridColumnSpec none;
    return column >= 0 && column < m_columns.size() ? m_columns[column] : none;
}

void DataSetModel::setColumnTitle(int column, const QString& title)
{
    if (column < 0 || column >= m_columns.size())
        return;
    m_titles[column] = title;
    Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
}

int DataSetModel::columnOfField(const QString& field) const
{
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].field.compare(field.trimmed(), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int DataSetModel::fieldIndexOf(int column) const
{
    if (!m_ds || column < 0 || column >= m_columns.size())
        return -1;
    return m_ds->fieldIndex(m_columns[column].field);
}

bool DataSetModel::isColumnEditable(int column) const
{
    const int fi = fieldIndexOf(column);
    if (fi < 0 || m_columns[column].readOnly)
        return false;
    const FieldDef& def = m_ds->fieldDefs()[fi];
    return !def.isCalculated() && !def.readOnly;
}

int DataSetModel::currentRecordCount() const
{
    return m_ds ? m_ds->recordCount() : 0;
}

QVariant DataSetModel::value(int row, int column) const
{
    const int fi = fieldIndexOf(column);
    if (fi < 0 || row < 0 || row >= m_rowCount || !m_ds->isOpen())
        return {};
    try {
        return m_ds->valueAt(row, fi);
    } catch (const std::exception&) {
        return {}; // a failing calculation shows an empty cell rather than ending the paint
    }
}

QString DataSetModel::editText(int row, int column) const
{
    const int fi = fieldIndexOf(column);
    if (fi < 0)
        return {};
    const FieldDef& def = m_ds->fieldDefs()[fi];
    const QVariant v = value(row, column);
    if (def.type == FieldType::Money && !v.isNull() && v.isValid())
        return formatMoneyForEdit(v.toDouble());
    return valueText(def, v);
}

QString DataSetModel::displayText(int row, int column) const
{
    const int fi = fieldIndexOf(column);
    if (fi < 0 || m_columns[column].checkBox)
        return {};
    const FieldDef& def = m_ds->fieldDefs()[fi];
    const QVariant v = value(row, column);
    if (def.type == FieldType::Money && !v.isNull() && v.isValid())
        return formatMoney(v.toDouble());
    return valueText(def, v);
}

void DataSetModel::refresh()
{
    if (currentRecordCount() != m_rowCount) {
        beginResetModel();
        m_rowCount = currentRecordCount();
        endResetModel();
        return;
    }
    if (m_rowCount == 0)
        return;
    if (!m_columns.isEmpty())
        Q_EMIT dataChanged(index(0, 0), index(m_rowCount - 1, int(m_columns.size()) - 1));
    Q_EMIT headerDataChanged(Qt::Vertical, 0, m_rowCount - 1);
}

void DataSetModel::onTableEvent(TableEvent event, RowId id)
{
    if (event == TableEvent::Reset || currentRecordCount() != m_rowCount) {
        refresh();
        return;
    }
    const int row = m_ds->visibleIndexOf(id);
    if (row >= 0 && !m_columns.isEmpty())
        Q_EMIT dataChanged(index(row, 0), index(row, int(m_columns.size()) - 1));
}

int DataSetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rowCount;
}

int DataSetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant DataSetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const int row = index.row();
    const int col = index.column();
    const GridColumnSpec& colDef = column(col);
    switch (role) {
    case Qt::DisplayRole:
        return displayText(row, col);
    case Qt::EditRole:
        return editText(row, col);
    case Qt::CheckStateRole:
        if (!colDef.checkBox || fieldIndexOf(col) < 0)
            return {};
        return value(row, col).toBool() ? Qt::Checked : Qt::Unchecked;
    case Qt::TextAlignmentRole:
        return int(colDef.align);
    default:
        return {};
    }
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical) {
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignCenter);
        if (role != Qt::DisplayRole || !m_ds || !m_ds->isOpen() || section != m_ds->recNo() - 1)
            return {};
        // The current row's marker: a pointer while browsing, an I-beam while editing.
        return m_ds->isEditing() ? u"I"_s : u"\u25BA"_s;
    }
    if (role != Qt::DisplayRole || section < 0 || section >= m_columns.size())
        return {};
    if (!m_titles[section].isEmpty())
        return m_titles[section];
    const int fi = fieldIndexOf(section);
    if (fi < 0)
        return m_columns[section].field;
    const FieldDef& def = m_ds->fieldDefs()[fi];
    return def.displayLabel.isEmpty() ? def.name : def.displayLabel;
}

Qt::ItemFlags DataSetModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    // Editing goes through the grid's own editor, never through the view's delegates.
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}
