#pragma once

#include "model/DataSetError.h"
#include "model/FieldDef.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class Field;
class TableData;
struct FilterExpression;

using RowId = quint64;
using RowValues = QVector<QVariant>;

enum class DataSetState { Inactive, Browse, Edit, Insert };

// What a bound view hears about the shared rows of a table.
enum class TableEvent {
    Reset,      // definitions, row set, order or many values changed
    RowChanged, // the values of one row changed
};

struct Row {
    RowId id = 0;
    RowValues values; // one slot per field; calculated slots stay empty
};

// An in-memory table and its cursor. Clones share the rows, the change log and the
// listeners of the table they were made from, and keep their own cursor, state,
// index, filter and hooks.
class DataSet {
public:
    using Hook = std::function<void(DataSet&)>;
    using Listener = std::function<void(TableEvent, RowId)>;

    explicit DataSet(const QString& name = {}, const QList<FieldDef>& fields = {});
    ~DataSet();
    DataSet(const DataSet&) = delete;
    DataSet& operator=(const DataSet&) = delete;

    // A second cursor over the same rows, without this cursor's index, filter and hooks.
    std::unique_ptr<DataSet> clone() const;

    const QString& name() const { return m_name; }
    void setName(const QString& name) { m_name = name; }

    // --- definitions
    const QList<FieldDef>& fieldDefs() const;
    int fieldCount() const;
    int fieldIndex(const QString& name) const; // case-insensitive, -1 when absent
    std::optional<Field> findField(const QString& name);
    Field fieldByName(const QString& name); // throws DataSetError when absent
    Field field(int index);
    void setValidChars(const QString& fieldName, std::optional<QString> chars);

    // --- lifecycle
    void open();
    void close();
    bool isOpen() const { return m_state != DataSetState::Inactive; }
    DataSetState state() const { return m_state; }
    bool isEditing() const
    {
        return m_state == DataSetState::Edit || m_state == DataSetState::Insert;
    }
    void createDataSet(); // empty table from the current definitions, open
    void emptyDataSet();  // removes all rows and clears the change log
    // Replaces definitions and rows (a file load): data fields come from `fields`;
    // calculated fields and display settings of same-named fields are kept.
    void loadData(const QList<FieldDef>& fields, std::vector<RowValues> rows);

    // --- navigation over the visible rows in index order
    void first();
    void last();
    void next();
    void prior();
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    int recordCount() const;
    bool isEmpty() const { return recordCount() == 0; }
    int recNo() const; // 1-based, 0 when there is no current row
    void setRecNo(int recNo);
    bool locate(const QString& fieldNames, const QVariantList& values,
                bool caseInsensitive = false);
    RowId bookmark() const { return m_cur; }
    bool bookmarkValid(RowId bookmark) const;
    void gotoBookmark(RowId bookmark);

    // --- editing
    void edit();
    void insert();
    void append();
    void post();
    void cancel();
    void deleteRecord();
    int changeCount() const;
    void mergeChangeLog();
    void cancelUpdates();

    // --- order and filter
    void setIndexFieldNames(const QString& names);
    const QString& indexFieldNames() const { return m_indexNames; }
    void setFilter(const QString& expression); // throws DataSetError for a bad expression
    const QString& filter() const { return m_filterText; }
    void setFiltered(bool on);
    bool filtered() const { return m_filtered; }

    // --- bound controls
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disableCount > 0; }
    int addListener(Listener listener);
    void removeListener(int id);

    // Hooks of the owner; a clone starts without them.
    Hook beforeEdit;
    Hook afterEdit;
    Hook beforePost;
    Hook afterPost;
    Hook onStateChange;
    Hook onDataChange;
    // Moves the input focus to the control bound to a field (set by the window).
    std::function<void(const QString& fieldName)> onFocusField;
    // Computes calculated fields of the current row; shared with clones.
    void setOnCalcFields(Hook hook);

    // --- raw access (views, files, fields)
    const std::vector<Row>& rows() const; // stored rows in table order
    RowId currentRowId() const { return m_cur; }
    int visibleIndexOf(RowId id) const; // 0-based, -1 when not visible
    RowId visibleRowId(int visibleIndex) const;
    QVariant value(int fieldIndex) const; // current row, pending values while editing
    QVariant valueAt(int visibleIndex, int fieldIndex) const;
    void setValue(int fieldIndex, const QVariant& value); // converts to the field's type
    // Visible rows' values in index order (a snapshot, calculated fields left empty).
    std::vector<const Row*> visibleRows() const;

private:
    explicit DataSet(std::shared_ptr<TableData> data, const QString& name);

    const std::vector<int>& view() const;
    void invalidateView();
    int currentPos() const; // position of m_cur in the view, -1
    void moveTo(int pos);
    void requireOpen() const;
    void requireBrowseRow() const;
    const RowValues& currentValues() const;
    QVariant calcValue(const RowValues& values, int fieldIndex) const;
    void setState(DataSetState state);
    void notifyData();
    void notifyShared(TableEvent event, RowId id);
    void resyncAfterChange();

    friend class Field;
    friend class TableData;

    std::shared_ptr<TableData> m_data;
    QString m_name;
    DataSetState m_state = DataSetState::Browse;
    mutable RowId m_cur = 0;
    mutable int m_curPos = -1; // hint; validated against m_cur
    bool m_eof = true;
    bool m_bof = true;
    RowValues m_pending;
    bool m_modified = false;
    RowId m_pendingId = 0;
    int m_insertAt = -1; // stored position for an inserted row
    QString m_indexNames;
    std::vector<int> m_indexFields;
    QString m_filterText;
    std::shared_ptr<FilterExpression> m_filterExpr;
    bool m_filtered = false;
    int m_disableCount = 0;
    bool m_sharedPending = false;
    bool m_dataPending = false;
    mutable std::vector<int> m_view;
    mutable quint64 m_viewStamp = 0;
    mutable bool m_viewDirty = true;
    // Calculation context: the row values being calculated and their calculated slots.
    mutable const RowValues* m_calcRow = nullptr;
    mutable RowValues* m_calcOut = nullptr;
};

// Text of a value by the field conventions: integers in decimal, floats in the shortest
// general form, dates dd.mm.yyyy, booleans True/False, empty for null.
QString valueText(const FieldDef& def, const QVariant& value);
// Converts a text to the field's type; empty text gives null. Throws DataSetError.
QVariant valueFromText(const FieldDef& def, const QString& text);
// Converts any value to the field's type. Throws DataSetError.
QVariant convertValue(const FieldDef& def, const QVariant& value);

#include "model/Field.h"
