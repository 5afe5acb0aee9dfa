#include "control/EditRules.h"
#include "control/SectionGrids.h"
#include "model/FormatSettings.h"
#include "model/GridLayoutFile.h"
#include "model/RazdelFiles.h"
#include "model/Razdels.h"
#include "model/Totals.h"
#include "workspace/DBGrid.h"
#include "workspace/GuiErrors.h"
#include "workspace/RekvizityPanel.h"
#include "workspace/TMainF.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QStackedLayout>
#include <QStyleOptionViewItem>

using namespace Qt::StringLiterals;

namespace {

QColor buttonFace()
{
    return QApplication::palette().color(QPalette::Button);
}

// The text rectangle of a special cell: left +1, right -2, top +1.
QRect textRect(const QRect& cell)
{
    return cell.adjusted(1, 1, -2, 0);
}

void paintTotal(QPainter* p, const QStyleOptionViewItem& o, const QString& text)
{
    p->save();
    p->fillRect(o.rect, buttonFace());
    QFont f = o.font;
    f.setBold(true);
    p->setFont(f);
    p->setPen(Qt::black);
    p->setBrush(Qt::NoBrush);
    DrawCellText(p, textRect(o.rect), text, 1, 2);
    p->restore();
}

void paintLocked(QPainter* p, const QStyleOptionViewItem& o)
{
    p->fillRect(o.rect, buttonFace());
}

void paintColoured(QPainter* p, const QStyleOptionViewItem& o, const QColor& fill,
                   const QString& text, int horizontal)
{
    p->save();
    p->fillRect(o.rect, fill);
    p->setFont(o.font);
    p->setPen(Qt::black);
    p->setBrush(Qt::NoBrush);
    DrawCellText(p, textRect(o.rect), text, horizontal, 2);
    p->restore();
}

} // namespace

void TMainF::createGrids()
{
    for (const SectionGrid& d : SectionGrids()) {
        const TRazdel& r = Razdels()[d.position];
        auto* g = new DBGrid(r.GridName, Panel_Data);
        g->setDataSet(m_tables.razdel(d.position));
        g->setColumns(d.columns);
        g->setFrozenColumns(d.frozenColumns);
        g->setDefaultRowHeight(d.rowHeight);
        if (!d.titles)
            g->setShowTitles(false);
        if (!d.indicator)
            g->setShowIndicator(false);
        g->setMinimumSize(100, 60); // the splitters, not the grids, decide the room
        m_grids.insert(r.GridName, g);
        m_dataStack->addWidget(g);
        wireGrid(g, d.position);
    }
    Panel_00 = new RekvizityPanel(m_tables.razdel(PosRekvizity), &m_tables.terr(),
                                  *m_platform.keyboard, Panel_Data);
    Panel_00->setObjectName(u"Panel_00"_s);
    // The requisites keep the after-post rule of every section: each post is on disk at once.
    m_tables.razdel(PosRekvizity)->afterPost = [this](DataSet& t) { ClientDataSet_00AfterPost(t); };
    Panel_00->postHook = [this] {
        guarded([this] {
            if (DataSet* ds = m_tables.razdel(PosRekvizity); ds->isEditing())
                ds->post();
        });
    };
    m_dataStack->addWidget(Panel_00);
}

void TMainF::wireGrid(DBGrid* grid, int position)
{
    DataSet* table = m_tables.razdel(position);
    // FocusField on a section table lands on its grid with the field's column selected.
    table->onFocusField = [grid](const QString& field) {
        grid->setFocus(Qt::OtherFocusReason);
        grid->setSelectedField(field);
    };

    // Refusals before an edit starts, by the selected column of the current grid.
    if ((position >= PosRazdel1 && position <= PosRazdel4) || position == PosMembership) {
        table->beforeEdit = [this, position](DataSet& t) {
            if (!CurrGrid)
                return;
            switch (beforeEditVerdict(position, t.recNo(), CurrGrid->selectedField())) {
            case EditVerdict::Allow:
                return;
            case EditVerdict::RefuseSilently:
                throw SilentAbort();
            case EditVerdict::RefuseTotal:
                InfoBox(kMsgTotalCell, u"Сообщение"_s);
                throw SilentAbort();
            case EditVerdict::RefuseFixedText:
                InfoBox(kMsgInputForbidden, u"Сообщение"_s);
                throw SilentAbort();
            }
        };
        table->beforePost = [position](DataSet& t) { normaliseRowBeforePost(position, t); };
    }
    table->afterPost = [this](DataSet& t) { ClientDataSet_00AfterPost(t); };

    // Drawing of totals, locked and fixed cells.
    grid->drawCell = [position, grid](QPainter* p, const QStyleOptionViewItem& o, int recNo,
                                      const QString& field) -> bool {
        const CellLook look = CellLookFor(position, recNo, field);
        if (look == CellLook::Plain)
            return false;
        if (look == CellLook::Locked) {
            paintLocked(p, o);
            return true;
        }
        const int col = grid->columnOfField(field);
        const QString text =
            col >= 0 ? grid->model()->index(recNo - 1, col).data().toString() : QString();
        switch (look) {
        case CellLook::Total:
            paintTotal(p, o, text);
            break;
        case CellLook::FixedName:
            paintColoured(p, o, buttonFace(), text, 0);
            break;
        case CellLook::FirstCodes:
            paintColoured(p, o, QColor(0xC0, 0xDC, 0xC0), text, 2);
            break;
        default:
            paintColoured(p, o, QColor(0xA6, 0xCA, 0xF0), text, 2);
            break;
        }
        return true;
    };

    // Key filters.
    grid->keyFilter = [this, position, grid](QChar key, QLineEdit* editor) -> std::optional<QChar> {
        EditorState st;
        if (editor) {
            st.text = editor->text();
            st.selectionStart =
                editor->hasSelectedText() ? editor->selectionStart() : editor->cursorPosition();
            st.selectionLength = editor->hasSelectedText() ? int(editor->selectedText().size()) : 0;
            st.maxLength = editor->maxLength();
        }
        std::optional<QChar> out = key;
        const KeyRule rule = KeyRuleFor(position, grid->selectedField());
        switch (rule) {
        case KeyRule::Integer:
            out = integerKeyFilter(key, st);
            break;
        case KeyRule::Decimal4:
        case KeyRule::Decimal9:
            SetFormatSettings(); // the decimal point of the form, whatever the locale says
            out = decimalKeyFilter(key, st, rule == KeyRule::Decimal4 ? 4 : 9);
            break;
        case KeyRule::Year:
            out = yearKeyFilter(key, st, m_settings.GetYearVstuplenMin(),
                                m_settings.GetYearVstuplenMax());
            break;
        case KeyRule::Any:
            break;
        }
        if (editor && st.maxLength != editor->maxLength())
            editor->setMaxLength(st.maxLength);
        return out;
    };

    if (position >= PosRazdel1 && position <= PosRazdel4) {
        connect(grid, &DBGrid::columnExited, this,
                [this] { guarded([this] { DBGrid_04ColExit(); }); });
        connect(grid, &DBGrid::dataSetStateChanged, this, [this, grid](DataSetState s) {
            // Back in browse after a post or a cancel: the totals follow.
            if (s == DataSetState::Browse && CurrGrid == grid)
                guarded([this] { CalcRazdel(CurrRazdelInd, CurrDataSet); });
        });
    }
    // Stepping off the totals when the grid gains focus.
    connect(grid, &DBGrid::entered, this, [this, grid, position] {
        guarded([&] {
            DataSet* t = grid->dataSet();
            if (position == PosRazdel2 || position == PosRazdel3 || position == PosRazdel4) {
                if (t->recNo() == 1) {
                    t->setRecNo(2);
                    if (position == PosRazdel4 &&
                        grid->selectedField().compare(u"Graf03"_s, Qt::CaseInsensitive) == 0)
                        grid->setSelectedField(u"Graf04"_s);
                }
            } else if (position == PosMembership) {
                CurrGrid = grid;
                if (t->recNo() >= 1 && t->recNo() <= 5)
                    grid->setSelectedField(u"Year"_s);
            }
        });
    });
    if (position == PosQualityTest)
        connect(grid, &DBGrid::cellClicked, this, [this](int recNo, const QString& field) {
            guarded([&] { DBGrid_QualityTestCellClick(recNo, field); });
        });
}

void TMainF::DBGrid_04ColExit()
{
    CalcRazdel(CurrRazdelInd, CurrDataSet);
}

void TMainF::DBGrid_QualityTestCellClick(int, const QString& field)
{
    if (field.compare(u"ValueNo"_s, Qt::CaseInsensitive) != 0)
        return;
    DataSet* t = m_tables.razdel(PosQualityTest);
    if (!t->isEditing())
        t->edit();
    t->fieldByName(u"ValueYes"_s).setAsBoolean(t->fieldByName(u"ValueNo"_s).asBoolean());
    t->post();
}

void TMainF::ClientDataSet_00AfterPost(DataSet& table)
{
    if (!currentSectionAvailable())
        return;
    // The table that was posted is the one saved, also when it is not the current section.
    int position = CurrRazdelInd;
    for (int p = 0; p < RazdelCount; ++p)
        if (m_tables.razdel(p) == &table)
            position = p;
    if (m_tables.razdel(position)->changeCount() > 0)
        saveRazdelKeepingFailures(position);
    if (errorsPanelVisible()) {
        runControl();
        PageControl1Change();
    }
}

void TMainF::saveRazdelKeepingFailures(int position)
{
    const TRazdel& r = Razdels()[position];
    m_unsaved.insert(position);
    SaveRazdelAndLayout(m_tables.razdel(position), FindGrid(r.GridName), m_paths, r.Kod,
                        m_reportYear);
    m_unsaved.remove(position);
}
