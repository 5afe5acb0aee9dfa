#pragma once

#include "model/DataSet.h"
#include "model/GridLayout.h"
#include "workspace/DataSetModel.h"

#include <QPointer>
#include <QTableView>
#include <functional>
#include <optional>

class QLineEdit;
class QStyleOptionViewItem;
class MultiLevelHeaderView;
class DBGridDelegate;
class GridFindDialog;

// Paints `text` into `r` word-wrapped (long words broken too), after filling `r` with the
// painter's brush when it has one. horizontal: 0 left, 1 right, 2 centre; vertical:
// 0 top, 1 bottom, 2 centre. A centred text taller than the cell is drawn left-aligned.
void DrawCellText(QPainter* painter, QRect r, const QString& text, int horizontal, int vertical);

// True when every character of `text` exists in Windows-1251.
bool isWindows1251Text(const QString& text);

// A data grid bound to a table: shows its visible rows, is the table's cursor view and
// edits existing rows in place (rows are never inserted or deleted).
class DBGrid : public QTableView, public GridLayoutHost {
    Q_OBJECT
public:
    using ColumnSpec = GridColumnSpec;
    // Called for every printable key typed into a cell (`editor` is nullptr before the
    // cell editor opens). nullopt refuses the key with a beep; otherwise the character
    // returned is typed. The filter may set the editor's maximum length.
    using KeyFilter = std::function<std::optional<QChar>(QChar key, QLineEdit* editor)>;
    // Called after a cell has been painted; answers true when it painted over the cell.
    using DrawCellHook = std::function<bool(QPainter* painter, const QStyleOptionViewItem& option,
                                            int recNo, const QString& field)>;

    explicit DBGrid(const QString& objectName, QWidget* parent = nullptr);
    ~DBGrid() override;

    // Binds the grid to a table and takes over its onDataChange and onStateChange hooks
    // (re-emitted as signals). Call setDataSet(nullptr) before the table is destroyed
    // while the grid lives on.
    void setDataSet(DataSet* dataSet);
    DataSet* dataSet() const;

    void setColumns(const QList<ColumnSpec>& columns);
    const QList<ColumnSpec>& columnSpecs() const;
    void setColumnTitle(const QString& field, const QString& title);
    // A read-only grid browses only: no cell editor, no check-box toggling, no grey.
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool isReadOnly() const { return m_readOnly; }
    // Logical column of a field (case-insensitive), -1 when the grid does not show it.
    int columnOfField(const QString& field) const;

    // The first n columns (in display order) stay in place while scrolling right.
    void setFrozenColumns(int n);
    int frozenColumns() const { return m_frozenCount; }
    void setDefaultRowHeight(int height);
    int defaultRowHeight() const;
    void setShowTitles(bool show);
    bool showTitles() const { return m_showTitles; }
    // A narrow column on the left marking the current row (pointer, I-beam while editing).
    void setShowIndicator(bool show);
    bool showIndicator() const { return m_showIndicator; }

    // The selected column by field name; empty when there is none.
    QString selectedField() const;
    void setSelectedField(const QString& field);
    // The table's record number (1-based), 0 without a table.
    int recNo() const;

    // The in-place editor, or nullptr while it is closed.
    QLineEdit* cellEditor() const;
    bool isEditorOpen() const { return cellEditor() != nullptr; }
    // Starts editing the current cell as F2 does; false when the edit was refused.
    bool openCellEditor();
    // Writes the editor's text into the field (the row stays in edit). Answers false, with
    // the failure reported and the editor kept open, when the text does not convert.
    // Call it before posting the table from code.
    bool commitEditor();

    void showFindDialog();

    GridLayout currentLayout() const override;
    void applyLayout(const GridLayout& layout) override;

    KeyFilter keyFilter;
    DrawCellHook drawCell;
    // Shown instead of reportError when pasted text holds characters Windows-1251 lacks.
    std::function<void(const QString& message)> pasteRefused;
    // Replaces QApplication::beep() for refused keys when set.
    std::function<void()> onBeep;

Q_SIGNALS:
    void dataSetDataChanged();
    void dataSetStateChanged(DataSetState state);
    // The user moved from one column to another; sent before the move, after the
    // editor's text has been written into the field.
    void columnExited();
    // The grid gained the input focus from another control of its window.
    void entered();
    void cellClicked(int recNo, const QString& field);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void updateGeometries() override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

public:
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

private:
    friend class DBGridDelegate;
    friend class GridFindDialog;

    void tableDataChanged();
    void tableStateChanged();
    void followTableCursor();
    // Moves the current cell as the user does: writes the editor, reports the column
    // change, moves the table (posting a changed row). False when something refused.
    bool goToCell(const QModelIndex& target, bool byUser);
    bool leaveCurrentCell(const QModelIndex& target, bool byUser);
    void setCurrentSilently(const QModelIndex& index);
    bool isCellEditable(int column) const;

    void typeCharacter(QChar key);
    bool acceptsCharacter(QChar key, int column);
    bool beginEdit();
    void openEditor(const QString& text, bool selectAll, bool modified);
    void closeCellEditor();
    void cancelEditing();
    void positionEditor();
    bool handleEditorKey(QKeyEvent* event);
    void refuseKey();
    void refusePaste();

    void pressCell(const QModelIndex& index);
    void releaseCell(const QModelIndex& index);
    void doubleClickCell(const QModelIndex& index);
    void toggleCheckBox(const QModelIndex& index);
    void focusChanged(QWidget* old, QWidget* now);
    bool isWithin(const QWidget* widget) const;
    bool hasFocusWithin() const;

    void syncFrozenColumns();
    void updateFrozenGeometry();
    bool isFrozenColumn(int logical) const;
    int frozenWidth() const;
    int firstVisibleColumn() const;

    bool findNext(const QString& text);

    DataSetModel* m_model = nullptr;
    MultiLevelHeaderView* m_header = nullptr;
    QTableView* m_frozen = nullptr;
    DBGridDelegate* m_delegate = nullptr;
    QPointer<QLineEdit> m_editor;
    QPersistentModelIndex m_editorIndex;
    bool m_editorModified = false;
    QPersistentModelIndex m_pressed;
    GridFindDialog* m_findDialog = nullptr;
    int m_syncDepth = 0;
    int m_lastColumn = 0;
    int m_frozenCount = 0;
    bool m_showTitles = true;
    bool m_showIndicator = true;
    bool m_settingRowHeight = false;
    bool m_readOnly = false;
    bool m_windowFocusWithin = false; // the window's last focused control is in this grid
    QList<int> m_widths;              // per logical column, kept while a column is hidden
    QList<int> m_sortMarkers;         // per logical column
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};
