#include "workspace/DBGrid.h"

#include "model/Windows1251.h"
#include "workspace/DBGridDelegate.h"
#include "workspace/FrozenView.h"
#include "workspace/GridFindDialog.h"
#include "workspace/GuiErrors.h"
#include "workspace/MultiLevelHeaderView.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QSet>
#include <QTimer>
#include <QValidator>
#include <QtMath>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr int kIndicatorWidth = 14;

QTextOption cellTextOption(Qt::Alignment align)
{
    QTextOption option(align);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    return option;
}

bool isPrintableKey(const QKeyEvent* event)
{
    const QString text = event->text();
    if (text.isEmpty() || !text.at(0).isPrint())
        return false;
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (mods & Qt::MetaModifier)
        return false;
    // AltGr arrives as Ctrl+Alt and types characters; Ctrl or Alt alone are commands.
    return bool(mods & Qt::ControlModifier) == bool(mods & Qt::AltModifier);
}

// Refuses any text Windows-1251 cannot hold: pasted or dropped text never turns into '?'.
class Win1251Validator : public QValidator {
public:
    Win1251Validator(QObject* parent, std::function<void()> refused)
        : QValidator(parent), m_refused(std::move(refused))
    {
    }
    State validate(QString& input, int&) const override
    {
        if (isWindows1251Text(input))
            return Acceptable;
        if (m_refused)
            m_refused();
        return Invalid;
    }

private:
    std::function<void()> m_refused;
};

} // namespace

bool isWindows1251Text(const QString& text)
{
    return fitsWindows1251(text);
}

void DrawCellText(QPainter* painter, QRect r, const QString& text, int horizontal, int vertical)
{
    QBrush brush = painter->brush();
    if (brush.style() != Qt::NoBrush) {
        brush.setStyle(Qt::SolidPattern);
        painter->setBrush(brush);
        painter->fillRect(r, brush.color());
    }
    const int w = r.width();
    const int h = r.height();
    const QRectF measure(1, 0, std::max(1, w - 1), 1'000'000);
    const int t =
        qCeil(painter->boundingRect(measure, text, cellTextOption(Qt::AlignLeft | Qt::AlignTop))
                  .height());
    if (vertical == 2 && t < h)
        r.setTop(r.top() + (h - t) / 2 - 1);
    else if (vertical == 1 && t < h)
        r.setTop(r.bottom() - t + 1);
    Qt::Alignment align = Qt::AlignLeft;
    if (horizontal == 2 && t < h)
        align = Qt::AlignHCenter;
    else if (horizontal == 1)
        align = Qt::AlignRight;
    painter->save();
    painter->setClipRect(r, Qt::IntersectClip);
    painter->drawText(QRectF(r), text, cellTextOption(align | Qt::AlignTop));
    painter->restore();
}

// ---------------------------------------------------------------- construction

DBGrid::DBGrid(const QString& objectName, QWidget* parent) : QTableView(parent)
{
    setObjectName(objectName);
    m_model = new DataSetModel(this);
    m_header = new MultiLevelHeaderView(this);
    m_header->setObjectName(objectName + u"_Titles"_s);
    setHorizontalHeader(m_header);
    m_header->setSectionsMovable(true);
    m_header->setSectionResizeMode(QHeaderView::Interactive);
    m_header->setMinimumSectionSize(8);
    setModel(m_model);
    m_delegate = new DBGridDelegate(this);
    setItemDelegate(m_delegate);

    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(true);
    setTabKeyNavigation(true);
    setCornerButtonEnabled(false);
    // Pixel scrolling keeps the frozen overlay and the grid on the same rows.
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);

    QHeaderView* rows = verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Interactive);
    rows->setMinimumSectionSize(8);
    rows->setFixedWidth(kIndicatorWidth);
    rows->setSectionsClickable(false);
    rows->setHighlightSections(false);

    connect(m_header, &QHeaderView::sectionResized, this, [this](int logical, int, int size) {
        if (size > 0 && logical < m_widths.size())
            m_widths[logical] = size;
        if (m_frozen && size > 0 && isFrozenColumn(logical) &&
            m_frozen->columnWidth(logical) != size)
            m_frozen->setColumnWidth(logical, size);
        updateFrozenGeometry();
        positionEditor();
    });
    connect(m_header, &QHeaderView::sectionMoved, this, [this] {
        syncFrozenColumns();
        positionEditor();
    });
    // All rows share one height: resizing one row resizes them all.
    connect(rows, &QHeaderView::sectionResized, this, [this](int, int, int size) {
        if (!m_settingRowHeight && size > 0)
            setDefaultRowHeight(size);
    });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { followTableCursor(); });
    connect(qApp, &QApplication::focusChanged, this, &DBGrid::focusChanged);
}

DBGrid::~DBGrid()
{
    m_alive.reset(); // the table's hooks fall silent
    disconnect(qApp, nullptr, this, nullptr);
    if (m_editor)
        m_editor->removeEventFilter(this);
    if (m_frozen)
        m_frozen->viewport()->removeEventFilter(this);
}

void DBGrid::setDataSet(DataSet* dataSet)
{
    if (dataSet == m_model->dataSet())
        return;
    closeCellEditor();
    if (DataSet* old = m_model->dataSet()) {
        old->onDataChange = nullptr;
        old->onStateChange = nullptr;
    }
    m_model->setDataSet(dataSet);
    if (dataSet) {
        const std::weak_ptr<int> alive = m_alive;
        dataSet->onDataChange = [this, alive](DataSet&) {
            if (!alive.expired())
                tableDataChanged();
        };
        dataSet->onStateChange = [this, alive](DataSet&) {
            if (!alive.expired())
                tableStateChanged();
        };
    }
    followTableCursor();
}

DataSet* DBGrid::dataSet() const
{
    return m_model->dataSet();
}

void DBGrid::setColumns(const QList<ColumnSpec>& columns)
{
    closeCellEditor();
    m_model->setColumns(columns);
    const int n = int(columns.size());
    for (int logical = 0; logical < n; ++logical) {
        const int visual = m_header->visualIndex(logical);
        if (visual != logical)
            m_header->moveSection(visual, logical);
        m_header->setSectionHidden(logical, false);
    }
    m_widths.clear();
    for (const ColumnSpec& c : columns)
        m_widths << c.width;
    m_sortMarkers = QList<int>(n, 0);
    for (int logical = 0; logical < n; ++logical)
        m_header->resizeSection(logical, columns[logical].width);
    m_lastColumn = 0;
    syncFrozenColumns();
    followTableCursor();
}

const QList<DBGrid::ColumnSpec>& DBGrid::columnSpecs() const
{
    return m_model->columns();
}

void DBGrid::setColumnTitle(const QString& field, const QString& title)
{
    m_model->setColumnTitle(columnOfField(field), title);
    updateGeometries(); // the title rows may need another height
}

bool DBGrid::isCellEditable(int column) const
{
    return !m_readOnly && m_model->isColumnEditable(column);
}

int DBGrid::columnOfField(const QString& field) const
{
    return m_model->columnOfField(field);
}

// ---------------------------------------------------------------- appearance

void DBGrid::setFrozenColumns(int n)
{
    m_frozenCount = std::max(0, n);
    if (m_frozenCount > 0 && !m_frozen) {
        auto* view = new FrozenView(this);
        view->setObjectName(objectName() + u"_Frozen"_s);
        auto* titles = new MultiLevelHeaderView(view);
        titles->setMaster(m_header);
        titles->setSectionsMovable(false);
        titles->setSectionResizeMode(QHeaderView::Interactive);
        titles->setMinimumSectionSize(8);
        view->setHorizontalHeader(titles);
        view->setModel(m_model);
        view->setSelectionModel(selectionModel());
        view->setItemDelegate(m_delegate);
        view->setFocusPolicy(Qt::NoFocus);
        view->verticalHeader()->hide();
        view->verticalHeader()->setMinimumSectionSize(8);
        view->setFrameShape(QFrame::NoFrame);
        view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
        view->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setSelectionMode(QAbstractItemView::SingleSelection);
        view->setWordWrap(true);
        view->setShowGrid(showGrid());
        titles->setVisible(m_showTitles);
        m_frozen = view;
        viewport()->stackUnder(m_frozen);
        m_frozen->viewport()->installEventFilter(this);
        connect(m_frozen->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(),
                &QAbstractSlider::setValue);
        connect(verticalScrollBar(), &QAbstractSlider::valueChanged, m_frozen->verticalScrollBar(),
                &QAbstractSlider::setValue);
        connect(titles, &QHeaderView::sectionResized, this, [this](int logical, int, int size) {
            if (size > 0 && columnWidth(logical) != size)
                setColumnWidth(logical, size);
        });
        setDefaultRowHeight(defaultRowHeight());
        m_frozen->show();
    }
    syncFrozenColumns();
}

bool DBGrid::isFrozenColumn(int logical) const
{
    return m_frozen && m_frozenCount > 0 && m_header->visualIndex(logical) < m_frozenCount;
}

int DBGrid::frozenWidth() const
{
    int width = 0;
    for (int v = 0; v < std::min(m_frozenCount, m_header->count()); ++v) {
        const int logical = m_header->logicalIndex(v);
        if (!isColumnHidden(logical))
            width += columnWidth(logical);
    }
    return width;
}

void DBGrid::syncFrozenColumns()
{
    if (!m_frozen)
        return;
    QHeaderView* titles = m_frozen->horizontalHeader();
    for (int v = 0; v < m_header->count(); ++v) {
        const int logical = m_header->logicalIndex(v);
        const int at = titles->visualIndex(logical);
        if (at != v)
            titles->moveSection(at, v);
    }
    for (int logical = 0; logical < m_header->count(); ++logical) {
        const bool frozen = isFrozenColumn(logical) && !isColumnHidden(logical);
        m_frozen->setColumnHidden(logical, !frozen);
        if (frozen)
            m_frozen->setColumnWidth(logical, columnWidth(logical));
    }
    updateFrozenGeometry();
}

void DBGrid::updateFrozenGeometry()
{
    if (!m_frozen)
        return;
    const int width = frozenWidth();
    const int left = frameWidth() + (verticalHeader()->isVisible() ? verticalHeader()->width() : 0);
    const int titles = horizontalHeader()->isVisible() ? horizontalHeader()->height() : 0;
    m_frozen->setGeometry(left, frameWidth(), width, viewport()->height() + titles);
    m_frozen->setVisible(m_frozenCount > 0 && width > 0);
    static_cast<FrozenView*>(m_frozen)->refreshGeometries();
    m_frozen->horizontalHeader()->viewport()->update();
}

void DBGrid::setDefaultRowHeight(int height)
{
    if (height <= 0)
        return;
    m_settingRowHeight = true;
    QList<QHeaderView*> headers{verticalHeader()};
    if (m_frozen)
        headers << m_frozen->verticalHeader();
    for (QHeaderView* rows : headers) {
        rows->setMinimumSectionSize(std::min(rows->minimumSectionSize(), height));
        rows->setDefaultSectionSize(height);
        for (int r = 0; r < rows->count(); ++r)
            rows->resizeSection(r, height);
    }
    m_settingRowHeight = false;
    positionEditor();
}

int DBGrid::defaultRowHeight() const
{
    return verticalHeader()->defaultSectionSize();
}

void DBGrid::setShowTitles(bool show)
{
    m_showTitles = show;
    horizontalHeader()->setVisible(show);
    if (m_frozen)
        m_frozen->horizontalHeader()->setVisible(show);
    updateGeometries();
}

void DBGrid::setShowIndicator(bool show)
{
    m_showIndicator = show;
    verticalHeader()->setVisible(show);
    updateGeometries();
}

void DBGrid::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    updateFrozenGeometry();
}

void DBGrid::scrollContentsBy(int dx, int dy)
{
    QTableView::scrollContentsBy(dx, dy);
    positionEditor();
}

void DBGrid::updateGeometries()
{
    QTableView::updateGeometries();
    updateFrozenGeometry();
    positionEditor();
}

void DBGrid::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    if (!m_frozen || m_frozenCount == 0 || !index.isValid()) {
        QTableView::scrollTo(index, hint);
        return;
    }
    QScrollBar* bar = horizontalScrollBar();
    const int before = bar->value();
    QTableView::scrollTo(index, hint);
    if (isFrozenColumn(index.column())) {
        bar->setValue(before); // a frozen cell is always in view
        return;
    }
    const int covered = frozenWidth() - columnViewportPosition(index.column());
    if (covered > 0)
        bar->setValue(bar->value() - covered);
}

// ---------------------------------------------------------------- cursor

QString DBGrid::selectedField() const
{
    const QModelIndex cur = currentIndex();
    return cur.isValid() ? m_model->column(cur.column()).field : QString();
}

void DBGrid::setSelectedField(const QString& field)
{
    const int col = columnOfField(field);
    if (col < 0)
        return;
    int row = currentIndex().isValid() ? currentIndex().row() : -1;
    if (row < 0 && dataSet())
        row = dataSet()->recNo() - 1;
    if (row < 0) {
        m_lastColumn = col;
        return;
    }
    goToCell(m_model->index(row, col), false);
}

int DBGrid::recNo() const
{
    return dataSet() ? dataSet()->recNo() : 0;
}

int DBGrid::firstVisibleColumn() const
{
    for (int v = 0; v < m_header->count(); ++v)
        if (!isColumnHidden(m_header->logicalIndex(v)))
            return m_header->logicalIndex(v);
    return -1;
}

void DBGrid::tableDataChanged()
{
    m_model->refresh();
    if (m_syncDepth == 0)
        followTableCursor();
    Q_EMIT dataSetDataChanged();
}

void DBGrid::tableStateChanged()
{
    DataSet* ds = dataSet();
    if (m_editor && ds && !ds->isEditing())
        closeCellEditor(); // posted or cancelled from code
    m_model->refresh();
    Q_EMIT dataSetStateChanged(ds ? ds->state() : DataSetState::Inactive);
}

void DBGrid::followTableCursor()
{
    DataSet* ds = dataSet();
    if (!ds || !ds->isOpen() || m_model->rowCount() == 0 || m_model->columnCount() == 0)
        return;
    const int row = ds->recNo() - 1;
    if (row < 0 || row >= m_model->rowCount())
        return;
    const QModelIndex cur = currentIndex();
    if (cur.isValid() && cur.row() == row)
        return;
    int col = cur.isValid() ? cur.column() : m_lastColumn;
    if (col < 0 || col >= m_model->columnCount() || isColumnHidden(col))
        col = firstVisibleColumn();
    if (col < 0)
        return;
    closeCellEditor();
    setCurrentSilently(m_model->index(row, col));
}

void DBGrid::setCurrentSilently(const QModelIndex& index)
{
    ++m_syncDepth;
    QItemSelectionModel::SelectionFlags flags = QItemSelectionModel::ClearAndSelect;
    if (selectionBehavior() == QAbstractItemView::SelectRows)
        flags |= QItemSelectionModel::Rows;
    selectionModel()->setCurrentIndex(index, flags);
    --m_syncDepth;
    scrollTo(index);
}

bool DBGrid::leaveCurrentCell(const QModelIndex& target, bool byUser)
{
    const QModelIndex cur = currentIndex();
    if (m_editor) {
        if (!commitEditor())
            return false;
        closeCellEditor();
    }
    if (byUser && cur.isValid() && target.column() != cur.column())
        Q_EMIT columnExited();
    DataSet* ds = dataSet();
    if (ds && ds->isOpen() && target.row() != ds->recNo() - 1) {
        ++m_syncDepth;
        // Leaving the row posts a changed row (or drops an untouched edit), as the table does.
        const bool moved = guarded([&] { ds->setRecNo(target.row() + 1); });
        --m_syncDepth;
        if (!moved || ds->recNo() - 1 != target.row()) {
            m_model->refresh();
            return false;
        }
    }
    return true;
}

bool DBGrid::goToCell(const QModelIndex& target, bool byUser)
{
    if (!target.isValid())
        return false;
    if (target == currentIndex())
        return true;
    if (!leaveCurrentCell(target, byUser))
        return false;
    setCurrentSilently(target);
    return true;
}

QModelIndex DBGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex cur = currentIndex();
    const QModelIndex target = QTableView::moveCursor(action, modifiers);
    if (!cur.isValid() || !target.isValid() || target == cur)
        return cur.isValid() ? cur : target;
    if (!leaveCurrentCell(target, true))
        return cur;
    return target;
}

void DBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (current.isValid())
        m_lastColumn = current.column();
    if (m_editor && m_editorIndex != current)
        closeCellEditor();
    DataSet* ds = dataSet();
    if (m_syncDepth == 0 && current.isValid() && ds && ds->isOpen() &&
        current.row() != ds->recNo() - 1) {
        // Moved by code through the view: the table follows, or the view goes back.
        ++m_syncDepth;
        guarded([&] { ds->setRecNo(current.row() + 1); });
        --m_syncDepth;
        if (ds->recNo() - 1 != current.row() && ds->recNo() > 0)
            setCurrentSilently(m_model->index(ds->recNo() - 1, current.column()));
    }
    if (m_frozen)
        m_frozen->viewport()->update();
}

// ---------------------------------------------------------------- keys

void DBGrid::refuseKey()
{
    if (onBeep)
        onBeep();
    else
        QApplication::beep();
}

void DBGrid::refusePaste()
{
    // Reported once the paste has finished, outside the editor's own processing.
    QTimer::singleShot(0, this, [this] {
        const QString text =
            u"Текст содержит символы, которые нельзя сохранить в кодировке Windows-1251"_s;
        if (pasteRefused)
            pasteRefused(text);
        else
            reportError(text);
    });
}

bool DBGrid::acceptsCharacter(QChar key, int column)
{
    if (!isWindows1251Text(QString(key)))
        return false;
    const int fi = m_model->fieldIndexOf(column);
    return fi < 0 || dataSet()->field(fi).acceptsChar(key);
}

void DBGrid::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Find)) {
        showFindDialog();
        return;
    }
    const int key = event->key();
    // The rows are fixed: nothing inserts or deletes one.
    if (key == Qt::Key_Insert ||
        (key == Qt::Key_Delete && (event->modifiers() & Qt::ControlModifier))) {
        event->accept();
        return;
    }
    if (!m_editor) {
        const QModelIndex cur = currentIndex();
        switch (key) {
        case Qt::Key_Escape:
            if (dataSet() && dataSet()->isEditing())
                guarded([&] { dataSet()->cancel(); });
            event->accept();
            return;
        case Qt::Key_F2:
            openCellEditor();
            event->accept();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->accept();
            return;
        case Qt::Key_Backspace:
            if (cur.isValid() && isCellEditable(cur.column()) &&
                !m_model->column(cur.column()).checkBox && beginEdit())
                openEditor(QString(), false, true);
            event->accept();
            return;
        case Qt::Key_Space:
            if (cur.isValid() && m_model->column(cur.column()).checkBox) {
                toggleCheckBox(cur);
                event->accept();
                return;
            }
            break;
        default:
            break;
        }
        if (isPrintableKey(event)) {
            typeCharacter(event->text().at(0));
            event->accept();
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

void DBGrid::typeCharacter(QChar key)
{
    const QModelIndex cur = currentIndex();
    if (!cur.isValid() || !dataSet() || m_model->column(cur.column()).checkBox)
        return;
    if (!acceptsCharacter(key, cur.column())) {
        refuseKey();
        return;
    }
    QChar typed = key;
    if (keyFilter) {
        const std::optional<QChar> filtered = keyFilter(key, nullptr);
        if (!filtered) {
            refuseKey();
            return;
        }
        typed = *filtered;
    }
    if (!isCellEditable(cur.column()))
        return;
    if (!beginEdit())
        return;
    openEditor(QString(typed), false, true);
}

bool DBGrid::beginEdit()
{
    DataSet* ds = dataSet();
    const QModelIndex cur = currentIndex();
    if (!ds || !ds->isOpen() || !cur.isValid())
        return false;
    if (ds->recNo() - 1 != cur.row()) {
        ++m_syncDepth;
        const bool moved = guarded([&] { ds->setRecNo(cur.row() + 1); });
        --m_syncDepth;
        if (!moved || ds->recNo() - 1 != cur.row())
            return false;
    }
    if (ds->isEditing())
        return true;
    // The table's before-edit rule may refuse, silently or with its own message.
    return guarded([&] { ds->edit(); }) && ds->isEditing();
}

bool DBGrid::openCellEditor()
{
    const QModelIndex cur = currentIndex();
    if (m_editor)
        return true;
    if (!cur.isValid() || !isCellEditable(cur.column()) || m_model->column(cur.column()).checkBox)
        return false;
    if (!beginEdit())
        return false;
    openEditor(m_model->editText(cur.row(), cur.column()), true, false);
    return true;
}

void DBGrid::openEditor(const QString& text, bool selectAll, bool modified)
{
    const QModelIndex cur = currentIndex();
    if (m_editor || !cur.isValid())
        return;
    scrollTo(cur); // out from under the frozen columns too
    const GridColumnSpec& colDef = m_model->column(cur.column());
    QWidget* host = isFrozenColumn(cur.column()) ? m_frozen->viewport() : viewport();
    auto* editor = new QLineEdit(host);
    editor->setObjectName(objectName() + u"_Editor"_s);
    editor->setFrame(false);
    editor->setAutoFillBackground(true);
    editor->setAlignment((colDef.align & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter);
    const int fi = m_model->fieldIndexOf(cur.column());
    if (fi >= 0) {
        const FieldDef& def = dataSet()->fieldDefs()[fi];
        if (def.type == FieldType::String && def.size > 0)
            editor->setMaxLength(def.size);
    }
    editor->setValidator(new Win1251Validator(editor, [this] { refusePaste(); }));
    editor->setText(text);
    if (selectAll)
        editor->selectAll();
    else
        editor->end(false);
    editor->installEventFilter(this);
    connect(editor, &QLineEdit::textEdited, this, [this] { m_editorModified = true; });
    m_editor = editor;
    m_editorIndex = cur;
    m_editorModified = modified;
    positionEditor();
    editor->show();
    editor->setFocus(Qt::OtherFocusReason);
}

void DBGrid::positionEditor()
{
    if (!m_editor || !m_editorIndex.isValid())
        return;
    const bool frozen = m_frozen && m_editor->parentWidget() == m_frozen->viewport();
    const QRect cell = frozen ? m_frozen->visualRect(m_editorIndex) : visualRect(m_editorIndex);
    m_editor->setGeometry(cell.adjusted(0, 0, -1, -1));
}

void DBGrid::closeCellEditor()
{
    if (!m_editor)
        return;
    QLineEdit* editor = m_editor;
    m_editor = nullptr;
    m_editorIndex = QPersistentModelIndex();
    m_editorModified = false;
    editor->removeEventFilter(this);
    if (editor->hasFocus())
        setFocus(Qt::OtherFocusReason);
    editor->hide();
    editor->deleteLater();
}

bool DBGrid::commitEditor()
{
    if (!m_editor || !m_editorModified)
        return true;
    DataSet* ds = dataSet();
    const QString field = m_model->column(m_editorIndex.column()).field;
    const QString text = m_editor->text();
    const bool ok = ds && guarded([&] {
                        if (!ds->isEditing())
                            ds->edit();
                        ds->fieldByName(field).setAsString(text);
                    });
    if (ok) {
        m_editorModified = false;
    } else if (m_editor) {
        m_editor->setFocus(Qt::OtherFocusReason);
        m_editor->selectAll();
    }
    return ok;
}

void DBGrid::cancelEditing()
{
    closeCellEditor();
    if (dataSet() && dataSet()->isEditing())
        guarded([&] { dataSet()->cancel(); });
}

bool DBGrid::handleEditorKey(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Find)) {
        showFindDialog();
        return true;
    }
    QLineEdit* editor = m_editor;
    switch (event->key()) {
    case Qt::Key_Escape:
        cancelEditing();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (commitEditor())
            closeCellEditor();
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        keyPressEvent(event);
        return true;
    case Qt::Key_Left:
        if (editor->cursorPosition() == 0 && !editor->hasSelectedText()) {
            keyPressEvent(event);
            return true;
        }
        return false;
    case Qt::Key_Right:
        if (editor->cursorPosition() == editor->text().size() && !editor->hasSelectedText()) {
            keyPressEvent(event);
            return true;
        }
        return false;
    default:
        break;
    }
    if (!isPrintableKey(event))
        return false;
    const QChar key = event->text().at(0);
    if (!acceptsCharacter(key, m_editorIndex.column())) {
        refuseKey();
        return true;
    }
    if (!keyFilter)
        return false;
    const std::optional<QChar> typed = keyFilter(key, editor);
    if (!typed) {
        refuseKey();
        return true;
    }
    if (*typed == key)
        return false; // typed by the editor itself, within its maximum length
    editor->insert(QString(*typed));
    m_editorModified = true;
    return true;
}

bool DBGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (m_editor && watched == m_editor && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (!handleEditorKey(key))
            return false;
        key->accept(); // handled here: it must not travel on to the editor's parents
        return true;
    }
    if (m_frozen && watched == m_frozen->viewport()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const QModelIndex index = m_frozen->indexAt(mouse->position().toPoint());
            if (mouse->button() == Qt::LeftButton && index.isValid()) {
                if (event->type() == QEvent::MouseButtonPress)
                    pressCell(index);
                else if (event->type() == QEvent::MouseButtonDblClick)
                    doubleClickCell(index);
                else if (m_pressed.isValid() && index == m_pressed)
                    releaseCell(index);
            }
            if (event->type() == QEvent::MouseButtonRelease)
                m_pressed = QPersistentModelIndex();
            return true;
        }
        case QEvent::MouseMove:
            return true;
        default:
            break;
        }
    }
    return QTableView::eventFilter(watched, event);
}

// ---------------------------------------------------------------- mouse

void DBGrid::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid())
        pressCell(index);
}

void DBGrid::mouseMoveEvent(QMouseEvent* event)
{
    event->accept(); // one cell is selected at a time; dragging selects nothing
}

void DBGrid::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && m_pressed.isValid() && index == m_pressed)
        releaseCell(index);
    m_pressed = QPersistentModelIndex();
}

void DBGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid())
        doubleClickCell(index);
}

void DBGrid::pressCell(const QModelIndex& index)
{
    m_pressed = QPersistentModelIndex();
    if (!isWithin(QApplication::focusWidget()))
        setFocus(Qt::MouseFocusReason);
    if (goToCell(index, true)) {
        m_pressed = index;
        Q_EMIT pressed(index);
    }
}

void DBGrid::releaseCell(const QModelIndex& index)
{
    toggleCheckBox(index);
    Q_EMIT clicked(index);
    Q_EMIT cellClicked(index.row() + 1, m_model->column(index.column()).field);
}

void DBGrid::doubleClickCell(const QModelIndex& index)
{
    // A second click on a check box toggles it again.
    if (m_model->column(index.column()).checkBox) {
        pressCell(index);
        return;
    }
    if (index != currentIndex())
        return;
    Q_EMIT doubleClicked(index);
    openCellEditor();
}

void DBGrid::toggleCheckBox(const QModelIndex& index)
{
    const GridColumnSpec& colDef = m_model->column(index.column());
    DataSet* ds = dataSet();
    if (!colDef.checkBox || !ds || !isCellEditable(index.column()))
        return;
    guarded([&] {
        if (!ds->isEditing())
            ds->edit();
        Field field = ds->fieldByName(colDef.field);
        field.setAsBoolean(!field.asBoolean());
        ds->post();
    });
}

// ---------------------------------------------------------------- focus

bool DBGrid::hasFocusWithin() const
{
    return isWithin(QApplication::focusWidget());
}

bool DBGrid::isWithin(const QWidget* widget) const
{
    return widget && (widget == this || isAncestorOf(widget));
}

void DBGrid::focusChanged(QWidget* old, QWidget* now)
{
    if ((!old || !now) && isWithin(old ? old : now)) {
        viewport()->update();
        if (m_frozen)
            m_frozen->viewport()->update();
    }
    // Entering is judged within this window: focus that comes back to the grid after another
    // window (a message box, another program) is not an entry, but focus that reaches the grid
    // from another control of this window is, even when a box stood between the two.
    const bool inThisWindow = now && now->window() == window();
    const bool entering = inThisWindow && isWithin(now) && !m_windowFocusWithin;
    if (inThisWindow)
        m_windowFocusWithin = isWithin(now);
    if (entering)
        Q_EMIT entered();
    if (!old || !now)
        return;
    const bool wasIn = isWithin(old);
    const bool isIn = isWithin(now);
    if (wasIn != isIn) {
        viewport()->update();
        if (m_frozen)
            m_frozen->viewport()->update();
    }
    // Leaving for another control of the window keeps what was typed, as a data grid does.
    if (wasIn && !isIn && m_editor && now->window() == window() && commitEditor())
        closeCellEditor();
}

// ---------------------------------------------------------------- find

void DBGrid::showFindDialog()
{
    if (!m_findDialog)
        m_findDialog = new GridFindDialog(this);
    m_findDialog->start();
}

bool DBGrid::findNext(const QString& text)
{
    QList<int> columns;
    for (int v = 0; v < m_header->count(); ++v) {
        const int logical = m_header->logicalIndex(v);
        if (!isColumnHidden(logical))
            columns << logical;
    }
    const QModelIndex cur = currentIndex();
    const int startRow = cur.isValid() ? cur.row() : 0;
    const int startPos = cur.isValid() ? int(columns.indexOf(cur.column())) : -1;
    for (int row = startRow; row < m_model->rowCount(); ++row) {
        for (int pos = row == startRow ? startPos + 1 : 0; pos < columns.size(); ++pos) {
            if (m_model->displayText(row, columns[pos]).contains(text, Qt::CaseInsensitive)) {
                goToCell(m_model->index(row, columns[pos]), true);
                return true;
            }
        }
    }
    return false;
}

// ---------------------------------------------------------------- layout

GridLayout DBGrid::currentLayout() const
{
    GridLayout layout;
    for (int v = 0; v < m_header->count(); ++v) {
        const int logical = m_header->logicalIndex(v);
        GridColumnLayout column;
        column.fieldName = m_model->column(logical).field;
        column.width = m_widths.value(logical);
        column.sortMarker = m_sortMarkers.value(logical);
        column.visible = !isColumnHidden(logical);
        layout.columns << column;
    }
    layout.rowHeight = defaultRowHeight();
    return layout;
}

void DBGrid::applyLayout(const GridLayout& layout)
{
    const int n = m_model->columnCount();
    if (layout.columns.size() != n)
        return;
    QList<int> logicals;
    QSet<int> seen;
    for (const GridColumnLayout& c : layout.columns) {
        const int logical = columnOfField(c.fieldName);
        if (logical < 0 || seen.contains(logical))
            return; // a layout of other columns
        seen.insert(logical);
        logicals << logical;
    }
    closeCellEditor();
    for (int v = 0; v < n; ++v) {
        const int at = m_header->visualIndex(logicals[v]);
        if (at != v)
            m_header->moveSection(at, v);
    }
    for (int v = 0; v < n; ++v) {
        const int logical = logicals[v];
        const GridColumnLayout& c = layout.columns[v];
        setColumnHidden(logical, false);
        if (c.width > 0) {
            m_widths[logical] = c.width;
            setColumnWidth(logical, c.width);
        }
        m_sortMarkers[logical] = c.sortMarker;
        setColumnHidden(logical, !c.visible);
    }
    if (layout.rowHeight > 0)
        setDefaultRowHeight(layout.rowHeight);
    syncFrozenColumns();
    const QModelIndex cur = currentIndex();
    if (cur.isValid() && isColumnHidden(cur.column()) && firstVisibleColumn() >= 0)
        setCurrentSilently(m_model->index(cur.row(), firstVisibleColumn()));
}

QLineEdit* DBGrid::cellEditor() const
{
    return m_editor;
}
