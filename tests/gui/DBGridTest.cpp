#include "workspace/DBGrid.h"
#include "model/FormTables.h"
#include "model/FormatSettings.h"
#include "workspace/GuiErrors.h"
#include "workspace/MultiLevelHeaderView.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <memory>

using namespace Qt::StringLiterals;
using Spec = DBGrid::ColumnSpec;

namespace {

constexpr Qt::Alignment kCentre = Qt::AlignHCenter | Qt::AlignVCenter;
constexpr Qt::Alignment kMiddle = Qt::AlignLeft | Qt::AlignVCenter;

QList<Spec> columnsOf(int position)
{
    switch (position) {
    case 1:
        return {{u"NameRow"_s, 452, true},
                {u"KodRow"_s, 40, true, kCentre},
                {u"Graf03"_s, 74, false, kMiddle},
                {u"Graf04"_s, 74, false, kMiddle}};
    case 2:
        return {{u"NameRow"_s, 450, true},
                {u"KodRow"_s, 40, true, kCentre},
                {u"Graf03"_s, 102, false, kMiddle},
                {u"Graf04"_s, 116, false, kMiddle}};
    case 3:
        return {{u"NameRow"_s, 570, true}, {u"KodRow"_s, 53, true}, {u"Graf03"_s, 81}};
    case 4: {
        QList<Spec> c{{u"NameRow"_s, 332, true}, {u"KodRow"_s, 32, true, kCentre}};
        for (int g = 3; g <= 9; ++g)
            c << Spec{u"Graf%1"_s.arg(g, 2, 10, QChar(u'0')), 60, false, kMiddle};
        return c;
    }
    case 5:
        return {{u"NameRow"_s, 330, true, kMiddle},
                {u"NameYes"_s, 35, true, Qt::AlignRight | Qt::AlignVCenter},
                {u"ValueYes"_s, 20, false, kCentre, true},
                {u"NameNo"_s, 35, true, Qt::AlignRight | Qt::AlignVCenter},
                {u"ValueNo"_s, 20, false, kCentre, true}};
    }
    return {};
}

// A shown, active grid over a fresh section table.
struct Fixture {
    std::unique_ptr<DataSet> table;
    std::unique_ptr<DBGrid> grid;
    int beeps = 0;

    explicit Fixture(int position, int frozen = 2)
        : table(createRazdelTable(position)),
          grid(std::make_unique<DBGrid>(u"DBGrid_0%1"_s.arg(position)))
    {
        grid->setDataSet(table.get());
        grid->setColumns(columnsOf(position));
        grid->setFrozenColumns(frozen);
        grid->setDefaultRowHeight(30);
        grid->onBeep = [this] { ++beeps; };
        grid->resize(900, 500);
        grid->show();
        QApplication::setActiveWindow(grid.get());
        grid->setFocus();
    }
    ~Fixture() { grid.reset(); }

    QModelIndex cell(int row, const QString& field) const
    {
        return grid->model()->index(row, grid->columnOfField(field));
    }
    void select(int row, const QString& field) const
    {
        table->setRecNo(row + 1);
        grid->setSelectedField(field);
    }
    void click(int row, const QString& field) const
    {
        const QRect r = grid->visualRect(cell(row, field));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, r.center());
    }
    // The stored value, as a second cursor reads it.
    QString stored(int row, const QString& field) const
    {
        auto reader = table->clone();
        reader->setRecNo(row + 1);
        return reader->fieldByName(field).asString();
    }
};

QWidget* focused()
{
    return QApplication::focusWidget();
}

void type(const QString& text)
{
    for (QChar c : text) {
        const Qt::Key key = c.unicode() < 128 ? Qt::Key(c.toUpper().unicode()) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, focused(), key, QString(c), Qt::NoModifier);
    }
}

void press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QTest::keyClick(focused(), key, mods);
}

QStringList titlesOf(int position)
{
    auto table = createRazdelTable(position);
    QStringList titles;
    for (const FieldDef& f : table->fieldDefs())
        titles << f.displayLabel;
    return titles;
}

// Bounding box of the dark (text) pixels.
QRect inkBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 100)
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

class DBGridTest : public QObject {
    Q_OBJECT

private:
    QStringList m_errors;

private Q_SLOTS:
    void initTestCase() { SetFormatSettings(); }
    void init()
    {
        m_errors.clear();
        setErrorSink([this](const QString& text) { m_errors << text; });
    }

    void typedValueIsWrittenThenPosted_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("shown");
        QTest::newRow("section 1 integer") << 1 << 0 << u"Graf03"_s << u"12"_s << u"12"_s;
        QTest::newRow("section 1 float") << 1 << 1 << u"Graf04"_s << u"12.5"_s << u"12.5"_s;
        QTest::newRow("section 2 money") << 2 << 1 << u"Graf03"_s << u"1234.5"_s << u"1 234.5"_s;
        QTest::newRow("section 4 integer") << 4 << 3 << u"Graf05"_s << u"7"_s << u"7"_s;
    }
    void typedValueIsWrittenThenPosted()
    {
        QFETCH(int, position);
        QFETCH(int, row);
        QFETCH(QString, field);
        QFETCH(QString, keys);
        QFETCH(QString, shown);
        Fixture f(position);
        f.select(row, field);
        type(keys);
        QVERIFY(f.grid->cellEditor());
        QCOMPARE(f.grid->cellEditor()->text(), keys);
        QCOMPARE(f.table->state(), DataSetState::Edit);

        press(Qt::Key_Return); // into the field, the row stays in edit
        QVERIFY(!f.grid->cellEditor());
        QCOMPARE(f.table->state(), DataSetState::Edit);
        QCOMPARE(f.table->fieldByName(field).asString(), keys);
        QCOMPARE(f.stored(row, field), QString());
        QCOMPARE(f.cell(row, field).data().toString(), shown);

        press(Qt::Key_Down); // leaving the row posts it
        QCOMPARE(f.table->state(), DataSetState::Browse);
        QCOMPARE(f.table->recNo(), row + 2);
        QCOMPARE(f.stored(row, field), keys);
        QCOMPARE(f.table->changeCount(), 1);
        QCOMPARE(f.cell(row, field).data().toString(), shown);
    }

    void leavingTheRowPosts_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("down") << u"down"_s;
        QTest::newRow("up") << u"up"_s;
        QTest::newRow("click") << u"click"_s;
        QTest::newRow("code") << u"code"_s;
    }
    void leavingTheRowPosts()
    {
        QFETCH(QString, how);
        Fixture f(1);
        f.select(1, u"Graf04"_s);
        type(u"3"_s);
        if (how == u"down")
            press(Qt::Key_Down);
        else if (how == u"up")
            press(Qt::Key_Up);
        else if (how == u"click")
            f.click(3, u"Graf03"_s);
        else {
            QVERIFY(f.grid->commitEditor()); // what the window does before moving the table
            f.table->setRecNo(4);
        }
        QCOMPARE(f.table->state(), DataSetState::Browse);
        QCOMPARE(f.stored(1, u"Graf04"_s), u"3"_s);
        QVERIFY(!f.grid->cellEditor());
        QCOMPARE(f.grid->currentIndex().row(), f.table->recNo() - 1);
    }

    void escapeCancels()
    {
        Fixture f(1);
        f.select(0, u"Graf03"_s);
        type(u"55"_s);
        press(Qt::Key_Escape);
        QVERIFY(!f.grid->cellEditor());
        QCOMPARE(f.table->state(), DataSetState::Browse);
        QCOMPARE(f.table->fieldByName(u"Graf03"_s).asString(), QString());

        type(u"7"_s);
        press(Qt::Key_Return);
        press(Qt::Key_Escape); // also after the text went into the field
        QCOMPARE(f.table->state(), DataSetState::Browse);
        QCOMPARE(f.table->changeCount(), 0);
        QCOMPARE(f.cell(0, u"Graf03"_s).data().toString(), QString());
    }

    void refusedEditOpensNothing_data()
    {
        QTest::addColumn<bool>("withMessage");
        QTest::newRow("silent") << false;
        QTest::newRow("error") << true;
    }
    void refusedEditOpensNothing()
    {
        QFETCH(bool, withMessage);
        Fixture f(2);
        int calls = 0;
        f.table->beforeEdit = [&](DataSet&) {
            ++calls;
            if (withMessage)
                throw DataSetError(u"Расчётная ячейка. Только чтение"_s);
            throw SilentAbort();
        };
        f.select(0, u"Graf03"_s);
        type(u"5"_s);
        press(Qt::Key_F2);
        QTest::mouseDClick(f.grid->viewport(), Qt::LeftButton, {},
                           f.grid->visualRect(f.cell(0, u"Graf03"_s)).center());
        QCOMPARE(calls, 3);
        QVERIFY(!f.grid->cellEditor());
        QCOMPARE(f.table->state(), DataSetState::Browse);
        QCOMPARE(m_errors.size(), withMessage ? 3 : 0);
        QCOMPARE(f.beeps, 0);
    }

    void keyFilterRefusesAndReplaces_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text"); // editor text, empty when it never opened
        QTest::addColumn<int>("beeps");
        QTest::newRow("letters refused") << u"1a2"_s << u"12"_s << 1;
        QTest::newRow("comma becomes point") << u"7,2"_s << u"7.2"_s << 0;
        QTest::newRow("Russian full stop key") << u"7ю5"_s << u"7.5"_s << 0;
        QTest::newRow("maximum length") << u"12345"_s << u"1234"_s << 0;
        QTest::newRow("first key refused") << u"x1"_s << u"1"_s << 1;
    }
    void keyFilterRefusesAndReplaces()
    {
        QFETCH(QString, keys);
        QFETCH(QString, text);
        QFETCH(int, beeps);
        Fixture f(1);
        QList<bool> sawEditor;
        f.grid->keyFilter = [&](QChar key, QLineEdit* editor) -> std::optional<QChar> {
            sawEditor << (editor != nullptr);
            if (editor)
                editor->setMaxLength(4);
            if (key == u',' || key == u'ю')
                return u'.';
            if (key.isDigit() || key == u'.')
                return key;
            return std::nullopt;
        };
        f.select(0, u"Graf04"_s);
        type(keys);
        QVERIFY(f.grid->cellEditor());
        QCOMPARE(f.grid->cellEditor()->text(), text);
        QCOMPARE(f.beeps, beeps);
        QCOMPARE(sawEditor.size(), keys.size());
        QVERIFY(!sawEditor.first()); // the first key arrives before the editor opens
    }

    void charactersOutsideWindows1251AreRefused()
    {
        Fixture f(1);
        int filtered = 0;
        f.grid->keyFilter = [&](QChar key, QLineEdit*) -> std::optional<QChar> {
            ++filtered;
            return key;
        };
        QString refusal;
        f.grid->pasteRefused = [&](const QString& message) { refusal = message; };
        f.select(0, u"Graf04"_s);
        type(u"中"_s);
        QVERIFY(!f.grid->cellEditor());
        QCOMPARE(f.table->state(), DataSetState::Browse);
        type(u"1中2"_s);
        QCOMPARE(f.grid->cellEditor()->text(), u"12"_s);
        QCOMPARE(f.beeps, 2);
        QCOMPARE(filtered, 2); // the filter never sees a refused character

        QApplication::clipboard()->setText(u"3✓"_s);
        f.grid->cellEditor()->paste();
        QTRY_VERIFY(!refusal.isEmpty());
        QVERIFY(refusal.contains(u"Windows-1251"_s));
        QCOMPARE(f.grid->cellEditor()->text(), u"12"_s);
        QApplication::clipboard()->setText(u"3"_s);
        f.grid->cellEditor()->paste();
        QCOMPARE(f.grid->cellEditor()->text(), u"123"_s);
    }

    void conversionFailureKeepsEditorOpen()
    {
        Fixture f(1);
        f.select(0, u"Graf03"_s);
        type(u"1x"_s);
        press(Qt::Key_Return);
        QCOMPARE(m_errors.size(), 1);
        QVERIFY(f.grid->cellEditor());
        press(Qt::Key_Down); // cannot leave either
        QCOMPARE(m_errors.size(), 2);
        QCOMPARE(f.table->recNo(), 1);
        press(Qt::Key_End);
        press(Qt::Key_Backspace);
        press(Qt::Key_Return);
        QCOMPARE(m_errors.size(), 2);
        QVERIFY(!f.grid->cellEditor());
        QCOMPARE(f.table->fieldByName(u"Graf03"_s).asString(), u"1"_s);
    }

    void refusedPostKeepsTheRow_data()
    {
        QTest::addColumn<bool>("withMessage");
        QTest::newRow("silent") << false;
        QTest::newRow("error") << true;
    }
    void refusedPostKeepsTheRow()
    {
        QFETCH(bool, withMessage);
        Fixture f(3);
        f.table->beforePost = [&](DataSet&) {
            if (withMessage)
                throw DataSetError(u"Нельзя"_s);
            throw SilentAbort();
        };
        f.select(2, u"Graf03"_s);
        type(u"5"_s);
        press(Qt::Key_Down);
        QCOMPARE(m_errors, withMessage ? QStringList{u"Нельзя"_s} : QStringList{});
        QCOMPARE(f.table->recNo(), 3);
        QCOMPARE(f.grid->currentIndex().row(), 2);
        QCOMPARE(f.table->state(), DataSetState::Edit);
        QCOMPARE(f.table->fieldByName(u"Graf03"_s).asString(), u"5"_s);
    }

    void cursorFollowsBothWays()
    {
        Fixture f(2);
        f.grid->setSelectedField(u"Graf04"_s);
        f.click(3, u"Graf03"_s);
        QCOMPARE(f.table->recNo(), 4);
        QCOMPARE(f.grid->selectedField(), u"Graf03"_s);
        press(Qt::Key_Down);
        QCOMPARE(f.table->recNo(), 5);

        QVERIFY(f.table->locate(u"KodRow"_s, {u"06"_s}));
        QCOMPARE(f.grid->currentIndex().row(), 1);
        QCOMPARE(f.grid->selectedField(), u"Graf03"_s);
        f.table->setRecNo(7);
        QCOMPARE(f.grid->currentIndex().row(), 6);
        QCOMPARE(f.grid->recNo(), 7);
        f.grid->setSelectedField(u"graf04"_s);
        QCOMPARE(f.grid->currentIndex().column(), f.grid->columnOfField(u"Graf04"_s));
        QCOMPARE(f.table->recNo(), 7);
    }

    void columnExitedOnColumnChange()
    {
        Fixture f(1);
        QSignalSpy exited(f.grid.get(), &DBGrid::columnExited);
        QString valueSeen;
        connect(f.grid.get(), &DBGrid::columnExited, this,
                [&] { valueSeen = f.table->fieldByName(u"Graf03"_s).asString(); });
        f.grid->setSelectedField(u"Graf03"_s);
        f.click(0, u"Graf04"_s);
        QCOMPARE(exited.size(), 1);
        press(Qt::Key_Down);
        QCOMPARE(exited.size(), 1);
        press(Qt::Key_Left);
        QCOMPARE(exited.size(), 2);
        f.grid->setSelectedField(u"NameRow"_s); // a move by code is not the user's
        QCOMPARE(exited.size(), 2);

        f.grid->setSelectedField(u"Graf03"_s);
        type(u"42"_s);
        press(Qt::Key_Tab);
        QCOMPARE(exited.size(), 3);
        QCOMPARE(valueSeen, u"42"_s); // the typed text is in the field when the signal comes
    }

    void checkBoxTogglesAndPosts()
    {
        Fixture f(5);
        f.grid->setShowTitles(false);
        QSignalSpy clicked(f.grid.get(), &DBGrid::cellClicked);
        const QModelIndex yes = f.cell(0, u"ValueYes"_s);
        const QModelIndex no = f.cell(0, u"ValueNo"_s);
        f.click(0, u"ValueYes"_s);
        QCOMPARE(f.stored(0, u"ValueYes"_s), u"True"_s);
        QCOMPARE(f.table->state(), DataSetState::Browse);
        QCOMPARE(f.table->changeCount(), 1);
        QCOMPARE(yes.data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
        QCOMPARE(no.data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));

        press(Qt::Key_Space);
        QCOMPARE(f.stored(0, u"ValueYes"_s), u"False"_s);

        f.click(0, u"ValueNo"_s); // calculated: only reported
        QCOMPARE(f.stored(0, u"ValueYes"_s), u"False"_s);
        QCOMPARE(clicked.size(), 2);
        QCOMPARE(clicked.last().at(0).toInt(), 1);
        QCOMPARE(clicked.last().at(1).toString(), u"ValueNo"_s);

        f.table->beforeEdit = [](DataSet&) { throw SilentAbort(); };
        f.click(0, u"ValueYes"_s);
        QCOMPARE(f.stored(0, u"ValueYes"_s), u"False"_s);
        QCOMPARE(f.table->changeCount(), 2);
    }

    void frozenColumnsStayWhenScrolled()
    {
        Fixture f(4);
        f.grid->resize(500, 400);
        QApplication::processEvents();
        auto* frozen = f.grid->findChild<QTableView*>(u"DBGrid_04_Frozen"_s);
        QVERIFY(frozen && frozen->isVisible());
        QCOMPARE(frozen->width(), 332 + 32);
        QScrollBar* bar = f.grid->horizontalScrollBar();
        QVERIFY(bar->maximum() > 0);
        bar->setValue(bar->maximum());
        QVERIFY(f.grid->columnViewportPosition(0) < 0);
        QCOMPARE(frozen->columnViewportPosition(0), 0);
        QCOMPARE(frozen->columnViewportPosition(1), 332);
        QVERIFY(frozen->isColumnHidden(2));

        const QRect kod = frozen->visualRect(f.cell(5, u"KodRow"_s));
        QTest::mouseClick(frozen->viewport(), Qt::LeftButton, {}, kod.center());
        QCOMPARE(f.grid->selectedField(), u"KodRow"_s);
        QCOMPARE(f.table->recNo(), 6);
        QCOMPARE(bar->value(), bar->maximum()); // clicking a frozen cell does not scroll

        press(Qt::Key_Right); // to Graf03: it comes out from under the frozen part
        QCOMPARE(f.grid->selectedField(), u"Graf03"_s);
        QVERIFY(f.grid->columnViewportPosition(2) >= 332 + 32);
    }

    void headerCells_data()
    {
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("occurrence");
        QTest::addColumn<QRect>("span"); // columns as x, rows as y

        const QStringList s4 = titlesOf(4);
        QTest::newRow("year over 3..9") << s4 << u"За отчётный год"_s << 0 << QRect(2, 0, 7, 1);
        QTest::newRow("of which 4..7") << s4 << u"в том числе"_s << 0 << QRect(3, 1, 4, 1);
        QTest::newRow("of column 3") << s4 << u"из графы 3"_s << 0 << QRect(7, 1, 2, 1);
        QTest::newRow("total stretches")
            << s4 << u"ВСЕГО (сумма граф 4-7)"_s << 0 << QRect(2, 1, 1, 2);
        QTest::newRow("name stretches")
            << s4 << u"Наименование показателя"_s << 0 << QRect(0, 0, 1, 3);
        QTest::newRow("numbers at the bottom") << s4 << u"1"_s << 0 << QRect(0, 3, 1, 1);
        QTest::newRow("column 9") << s4 << u"9"_s << 0 << QRect(8, 3, 1, 1);

        const QStringList apart{u"A|x"_s, u"B|y"_s, u"A|z"_s};
        QTest::newRow("not neighbours: first") << apart << u"A"_s << 0 << QRect(0, 0, 1, 1);
        QTest::newRow("not neighbours: second") << apart << u"A"_s << 1 << QRect(2, 0, 1, 1);
        const QStringList parents{u"P|B|1"_s, u"Q|B|2"_s};
        QTest::newRow("other parent") << parents << u"B"_s << 1 << QRect(1, 1, 1, 1);
        const QStringList single{u"Год"_s, u"A|B|1"_s};
        QTest::newRow("one level fills") << single << u"Год"_s << 0 << QRect(0, 0, 1, 3);
        const QStringList lastLevels{u"A|1"_s, u"A|1"_s};
        QTest::newRow("last level never joined") << lastLevels << u"1"_s << 1 << QRect(1, 1, 1, 1);
    }
    void headerCells()
    {
        QFETCH(QStringList, titles);
        QFETCH(QString, text);
        QFETCH(int, occurrence);
        QFETCH(QRect, span);
        QList<QRect> found;
        for (const HeaderCell& c : layoutHeaderCells(titles))
            if (c.text == text)
                found << QRect(QPoint(c.firstColumn, c.firstRow), QPoint(c.lastColumn, c.lastRow));
        QVERIFY(occurrence < found.size());
        QCOMPARE(found[occurrence], span);
    }

    void headerFollowsMovedAndNarrowedColumns()
    {
        Fixture f(4);
        auto* header = qobject_cast<MultiLevelHeaderView*>(f.grid->horizontalHeader());
        QVERIFY(header);
        const int graf05 = f.grid->columnOfField(u"Graf05"_s);
        header->moveSection(header->visualIndex(graf05), header->count() - 1);
        QList<QPair<int, int>> ofWhich;
        for (const HeaderCell& c : header->cells())
            if (c.text == u"в том числе")
                ofWhich << qMakePair(c.firstColumn, c.lastColumn);
        const int graf04 = f.grid->columnOfField(u"Graf04"_s);
        const int graf07 = f.grid->columnOfField(u"Graf07"_s);
        QCOMPARE(ofWhich, (QList<QPair<int, int>>{{graf04, graf07}, {graf05, graf05}}));

        const int before = header->titleHeight();
        f.grid->setColumnWidth(graf04, 30);
        QVERIFY(header->titleHeight() > before);
        QTRY_COMPARE(header->height(), header->titleHeight());
    }

    void layoutRoundTrip()
    {
        Fixture a(4);
        auto* header = a.grid->horizontalHeader();
        header->moveSection(header->visualIndex(a.grid->columnOfField(u"Graf06"_s)), 2);
        a.grid->setColumnWidth(a.grid->columnOfField(u"NameRow"_s), 400);
        a.grid->setColumnHidden(a.grid->columnOfField(u"Graf08"_s), true);
        a.grid->setDefaultRowHeight(44);
        GridLayout layout = a.grid->currentLayout();
        QCOMPARE(layout.columns.size(), 9);
        QCOMPARE(layout.columns[2].fieldName, u"Graf06"_s);
        QCOMPARE(layout.columns[0].width, 400);
        QCOMPARE(layout.rowHeight, 44);
        const auto hidden = std::find_if(layout.columns.cbegin(), layout.columns.cend(),
                                         [](const GridColumnLayout& c) { return !c.visible; });
        QCOMPARE(hidden->fieldName, u"Graf08"_s);
        QCOMPARE(hidden->width, 60); // a hidden column keeps its width
        layout.columns[4].sortMarker = -1;

        Fixture b(4);
        b.grid->applyLayout(layout);
        QCOMPARE(b.grid->currentLayout(), layout);
        QVERIFY(b.grid->isColumnHidden(b.grid->columnOfField(u"Graf08"_s)));
        QCOMPARE(b.grid->rowHeight(3), 44);
    }

    void foreignLayoutIsIgnored_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("other field") << u"rename"_s;
        QTest::newRow("column missing") << u"drop"_s;
        QTest::newRow("column twice") << u"twice"_s;
    }
    void foreignLayoutIsIgnored()
    {
        QFETCH(QString, change);
        Fixture f(1);
        const GridLayout before = f.grid->currentLayout();
        GridLayout other = before;
        other.rowHeight = 50;
        other.columns[0].width = 10;
        if (change == u"rename")
            other.columns[3].fieldName = u"Graf09"_s;
        else if (change == u"drop")
            other.columns.removeLast();
        else
            other.columns[3].fieldName = u"Graf03"_s;
        f.grid->applyLayout(other);
        QCOMPARE(f.grid->currentLayout(), before);
    }

    void noRowIsEverAdded()
    {
        Fixture f(1);
        f.select(3, u"Graf03"_s);
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_PageDown, Qt::Key_Insert, Qt::Key_Tab,
                            Qt::Key_Tab, Qt::Key_Tab})
            press(key);
        press(Qt::Key_End, Qt::ControlModifier);
        press(Qt::Key_Delete, Qt::ControlModifier);
        type(u"9"_s);
        press(Qt::Key_Down); // nowhere to go: the row stays in edit
        QCOMPARE(f.table->recordCount(), 4);
        QCOMPARE(f.grid->model()->rowCount(), 4);
        QCOMPARE(f.table->recNo(), 4);
        QCOMPARE(f.table->state(), DataSetState::Edit);
        QVERIFY(f.grid->cellEditor());
    }

    void enteredWhenFocusComesFromOutside()
    {
        auto table = createRazdelTable(2);
        QWidget window;
        auto* before = new QLineEdit(&window);
        auto* grid = new DBGrid(u"DBGrid_02"_s, &window);
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(before);
        layout->addWidget(grid);
        grid->setDataSet(table.get());
        grid->setColumns(columnsOf(2));
        window.show();
        QApplication::setActiveWindow(&window);
        before->setFocus();
        QSignalSpy entered(grid, &DBGrid::entered);
        grid->setFocus();
        QCOMPARE(entered.size(), 1);
        grid->setSelectedField(u"Graf03"_s);
        type(u"1"_s); // into the grid's own editor and back
        press(Qt::Key_Escape);
        QCOMPARE(entered.size(), 1);
        before->setFocus();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(2, 3)).center());
        QCOMPARE(entered.size(), 2);
        QCOMPARE(table->recNo(), 3);
        grid->setDataSet(nullptr);
    }

    void indicatorMarksCurrentRow()
    {
        Fixture f(1);
        f.select(2, u"Graf04"_s);
        auto marker = [&](int row) {
            return f.grid->model()->headerData(row, Qt::Vertical).toString();
        };
        QCOMPARE(marker(1), QString());
        const QString browsing = marker(2);
        QVERIFY(!browsing.isEmpty());
        type(u"1"_s);
        QVERIFY(!marker(2).isEmpty());
        QVERIFY(marker(2) != browsing);
        f.grid->setShowIndicator(false);
        QVERIFY(f.grid->verticalHeader()->isHidden());
    }

    void findMovesToTheNextMatch()
    {
        Fixture f(3);
        f.select(0, u"NameRow"_s);
        press(Qt::Key_F, Qt::ControlModifier);
        auto* dialog = f.grid->findChild<QDialog*>();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->windowTitle(), u"Найти"_s);
        auto* text = dialog->findChild<QLineEdit*>(u"findText"_s);
        auto* next = dialog->findChild<QPushButton*>(u"findNext"_s);
        auto* status = dialog->findChild<QLabel*>(u"findStatus"_s);
        QCOMPARE(next->text(), u"Найти далее"_s);

        text->setText(u"МЛН. РУБ"_s);
        next->click();
        QCOMPARE(f.table->recNo(), 2);
        next->click();
        QCOMPARE(f.table->recNo(), 3);
        QCOMPARE(f.grid->selectedField(), u"NameRow"_s);

        text->setText(u"28"_s); // a row code, in another column
        next->click();
        QCOMPARE(f.table->recNo(), 17);
        QCOMPARE(f.grid->selectedField(), u"KodRow"_s);

        text->setText(u"нет такого"_s);
        next->click();
        QCOMPARE(status->text(), u"Текст не найден"_s);
        QCOMPARE(f.beeps, 1);
        QCOMPARE(f.table->recNo(), 17);
    }

    void drawCellTextPlacement_data()
    {
        QTest::addColumn<int>("horizontal");
        QTest::addColumn<int>("vertical");
        QTest::addColumn<QString>("where"); // expected ink position: h = l/r/c, v = t/b/m
        QTest::newRow("left top") << 0 << 0 << u"lt"_s;
        QTest::newRow("right middle") << 1 << 2 << u"rm"_s;
        QTest::newRow("centre bottom") << 2 << 1 << u"cb"_s;
        QTest::newRow("centre middle") << 2 << 2 << u"cm"_s;
    }
    void drawCellTextPlacement()
    {
        QFETCH(int, horizontal);
        QFETCH(int, vertical);
        QFETCH(QString, where);
        QImage image(120, 80, QImage::Format_RGB32);
        image.fill(Qt::white);
        const QRect cell(10, 10, 100, 60);
        {
            QPainter p(&image);
            p.setBrush(QColor(192, 192, 192));
            p.setPen(Qt::black);
            DrawCellText(&p, cell, u"88"_s, horizontal, vertical);
        }
        QCOMPARE(image.pixelColor(cell.topLeft()), QColor(192, 192, 192)); // filled
        const QRect ink = inkBox(image);
        QVERIFY(cell.contains(ink));
        const QPoint c = ink.center();
        switch (where.at(0).unicode()) {
        case 'l':
            QVERIFY(ink.left() < cell.left() + 5);
            break;
        case 'r':
            QVERIFY(ink.right() > cell.right() - 5);
            break;
        default:
            QVERIFY(qAbs(c.x() - cell.center().x()) <= 3);
        }
        switch (where.at(1).unicode()) {
        case 't':
            QVERIFY(ink.top() < cell.top() + 8);
            break;
        case 'b':
            QVERIFY(ink.bottom() > cell.bottom() - 8);
            break;
        default:
            QVERIFY(qAbs(c.y() - cell.center().y()) <= 4);
        }
    }

    void drawCellTextTooTallIsLeftAligned()
    {
        QImage image(60, 30, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter p(&image);
            p.setBrush(Qt::white);
            p.setPen(Qt::black);
            DrawCellText(&p, QRect(0, 0, 60, 20), u"8888 8888 8888 8888"_s, 2, 2);
        }
        const QRect ink = inkBox(image);
        QVERIFY(ink.left() < 4);
        QVERIFY(ink.bottom() < 20); // wrapped lines stay inside the cell
    }
};

QTEST_MAIN(DBGridTest)
#include "DBGridTest.moc"
