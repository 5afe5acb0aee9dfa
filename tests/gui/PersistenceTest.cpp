// Every way a user changes data ends on disk at once: the requisites panel's editors,
// every editable cell of every section grid, and the paths that post from outside an
// editor (leaving the section, closing the window, a save that failed).

#include "MainWindowSupport.h"
#include "model/DataSet.h"
#include "model/RazdelFiles.h"
#include "model/Razdels.h"
#include "workspace/DBGrid.h"
#include "workspace/RekvizityPanel.h"
#include "workspace/TMainF.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QWidget* panelEditor(TMainF& w, const QString& name)
{
    if (name == u"DBDateTimeEditEh1"_s)
        return part<RekvizityPanel>(w, "Panel_00")
            ->findChild<QLineEdit*>(u"DBDateTimeEditEh1_Text"_s);
    return part<RekvizityPanel>(w, "Panel_00")->findChild<QWidget*>(name);
}

// Moves into an editor the way a user does: a click, or Tab for the combo and check boxes.
void enterEditor(TMainF& w, const QString& name)
{
    QWidget* e = panelEditor(w, name);
    QVERIFY2(e, qPrintable(name));
    if (qobject_cast<QComboBox*>(e) || qobject_cast<QCheckBox*>(e)) {
        e->setFocus(Qt::TabFocusReason); // a click would already change them
    } else {
        QWidget* target = e;
        if (auto* memo = qobject_cast<QPlainTextEdit*>(e))
            target = memo->viewport();
        QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(5, 5));
    }
    QTRY_VERIFY2(e->hasFocus(), qPrintable(name));
}

// A target with no entering rule of its own, so only the editor left can have posted.
QString neutralTarget(const QString& left)
{
    return left == u"DBMemo_FullName"_s ? u"DBMemo10"_s : u"DBMemo_FullName"_s;
}

QStringList errorTexts(TMainF& w)
{
    QStringList out;
    auto k = w.tables().err().clone();
    for (k->first(); !k->eof(); k->next())
        out << k->fieldByName(u"ErrorName"_s).asString();
    return out;
}

QString requisite(TMainF& w, const QString& field)
{
    auto k = w.tables().razdel(PosRekvizity)->clone();
    k->first();
    return k->fieldByName(field).asString();
}

} // namespace

class PersistenceTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void requisitesEditorsReachTheDisk_data();
    void requisitesEditorsReachTheDisk();
    void everyPanelEditorReachesTheDisk();
    void everyEditableGridCellReachesTheDisk();
    void errorsPanelFollowsARequisitesFix();
    void closingKeepsAnEmptiedDate();
    void failedSaveIsNotReplacedByTheOlderFile();
};

void PersistenceTest::requisitesEditorsReachTheDisk_data()
{
    QTest::addColumn<QString>("editor");
    QTest::addColumn<QString>("input"); // typed text; "click" or "down" for the others
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("expected");
    QTest::newRow("memo") << u"DBMemo_FullName"_s << u"ООО «Аудит & Консалтинг»"_s << u"FullName"_s
                          << u"ООО «Аудит & Консалтинг»"_s;
    QTest::newRow("line") << u"DBMemo_Name"_s << u"Аудит"_s << u"name"_s << u"Аудит"_s;
    QTest::newRow("digits only") << u"DBMemoOGRN"_s << u"1027700132195"_s << u"OGRN"_s
                                 << u"1027700132195"_s;
    QTest::newRow("e-mail") << u"DBMemo12"_s << u"audit@example.ru"_s << u"email"_s
                            << u"audit@example.ru"_s;
    QTest::newRow("head, posts on entering only")
        << u"DBMemo11"_s << u"Иванов И.И."_s << u"rukovod"_s << u"Иванов И.И."_s;
    QTest::newRow("contact telephone")
        << u"DBMemo15"_s << u"123-45-67"_s << u"telOtv"_s << u"123-45-67"_s;
    QTest::newRow("date") << u"DBDateTimeEditEh1"_s << u"15.02.2010"_s << u"DataSost"_s
                          << u"15.02.2010"_s;
    QTest::newRow("region") << u"DBLookupComboboxEh1"_s << u"down"_s << u"KodGAI"_s
                            << u"<first region>"_s;
    QTest::newRow("legal-entity switch")
        << u"CheckBox2"_s << u"click"_s << u"IsUrLico"_s << u"False"_s;
}

void PersistenceTest::requisitesEditorsReachTheDisk()
{
    QFETCH(QString, editor);
    QFETCH(QString, input);
    QFETCH(QString, field);
    QFETCH(QString, expected);
    MainWindowFixture f;
    TMainF& w = f.start();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    part<RekvizityPanel>(w, "Panel_00")->setRegionRowVisible(true);
    if (expected == u"<first region>"_s)
        expected = qobject_cast<QComboBox*>(panelEditor(w, editor))->itemData(1).toString();

    enterEditor(w, editor);
    if (input == u"down"_s)
        pressKey(Qt::Key_Down);
    else if (input == u"click"_s)
        QTest::mouseClick(panelEditor(w, editor), Qt::LeftButton, {}, QPoint(5, 5));
    else
        typeText(input);
    enterEditor(w, neutralTarget(editor));
    QCOMPARE(requisite(w, field), expected);
    QCOMPARE(savedRequisite(f, field), expected);

    // leaving the section and coming back shows it again
    clickSection(w, PosRazdel1);
    QCOMPARE(w.currentRazdel(), int(PosRazdel1));
    clickSection(w, PosRekvizity);
    QCOMPARE(w.currentRazdel(), int(PosRekvizity));
    QCOMPARE(requisite(w, field), expected);
    if (auto* memo = qobject_cast<QPlainTextEdit*>(panelEditor(w, editor)))
        QCOMPARE(memo->toPlainText(), expected);

    // and so does the next start
    f.messages.answers = {true};
    QVERIFY(w.close());
    f.restart();
    QCOMPARE(requisite(f.window(), field), expected);
    QVERIFY(f.messages.errors.isEmpty());
}

// Whatever editors the panel grows, a change in any of them is on disk once it is left.
void PersistenceTest::everyPanelEditorReachesTheDisk()
{
    MainWindowFixture f;
    TMainF& w = f.start();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    part<RekvizityPanel>(w, "Panel_00")->setRegionRowVisible(true);
    QList<QWidget*> editors;
    for (QWidget* e : part<RekvizityPanel>(w, "Panel_00")->findChildren<QWidget*>())
        if (e->isEnabled() && e->isVisibleTo(part<RekvizityPanel>(w, "Panel_00")) &&
            !e->objectName().isEmpty() &&
            (qobject_cast<QPlainTextEdit*>(e) || qobject_cast<QCheckBox*>(e) ||
             qobject_cast<QComboBox*>(e) || e == panelEditor(w, u"DBDateTimeEditEh1"_s)))
            editors << e;
    QVERIFY(editors.size() >= 16);
    int dateDay = 10;
    for (QWidget* e : std::as_const(editors)) {
        const QString name =
            e == panelEditor(w, u"DBDateTimeEditEh1"_s) ? u"DBDateTimeEditEh1"_s : e->objectName();
        const QByteArray before = savedFile(f, PosRekvizity);
        enterEditor(w, name);
        if (qobject_cast<QComboBox*>(e))
            pressKey(Qt::Key_Down);
        else if (qobject_cast<QCheckBox*>(e))
            QTest::mouseClick(e, Qt::LeftButton, {}, QPoint(5, 5));
        else if (name == u"DBDateTimeEditEh1"_s)
            typeText(u"%1.03.2010"_s.arg(++dateDay));
        else
            typeText(u"1"_s); // a digit goes into every text field
        enterEditor(w, neutralTarget(name));
        QVERIFY2(savedFile(f, PosRekvizity) != before, qPrintable(name));
    }
}

// Every grid: in each column the first cell that takes input is changed and posted with
// the keyboard; the section's file must change with it.
void PersistenceTest::everyEditableGridCellReachesTheDisk()
{
    MainWindowFixture f;
    TMainF& w = f.start();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    int gridsWalked = 0;
    for (int position = 0; position < RazdelCount; ++position) {
        DBGrid* grid = w.FindGrid(Razdels()[position].GridName);
        if (!grid)
            continue;
        ++gridsWalked;
        clickSection(w, position);
        QCOMPARE(w.currentRazdel(), position);
        DataSet* table = w.tables().razdel(position);
        int columnsWalked = 0;
        for (const FieldDef& def : table->fieldDefs()) {
            const QString field = def.name;
            const int col = grid->columnOfField(field);
            if (col < 0 || grid->isColumnHidden(col))
                continue;
            const QString value = field.compare(u"Year"_s, Qt::CaseInsensitive) == 0 ? u"2005"_s
                                  : def.type == FieldType::String                    ? u"Союз"_s
                                                                                     : u"7"_s;
            for (int row = 0; row < table->recordCount(); ++row) {
                const QByteArray before = savedFile(f, position);
                clickCell(grid, row, field);
                if (!table->isEditing() && savedFile(f, position) == before) {
                    typeText(value);
                    if (!grid->isEditorOpen()) {
                        pressKey(Qt::Key_Escape);
                        continue;
                    }
                }
                // leaving the row posts it
                pressKey(row + 1 < table->recordCount() ? Qt::Key_Down : Qt::Key_Up);
                QVERIFY2(!table->isEditing(), qPrintable(field));
                QVERIFY2(savedFile(f, position) != before,
                         qPrintable(u"%1 row %2 %3"_s.arg(position).arg(row + 1).arg(field)));
                ++columnsWalked;
                break;
            }
        }
        QVERIFY2(columnsWalked > 0, qPrintable(Razdels()[position].GridName));
    }
    QCOMPARE(gridsWalked, RazdelCount - 1); // every section but the requisites panel
}

void PersistenceTest::errorsPanelFollowsARequisitesFix()
{
    MainWindowFixture f;
    TMainF& w = f.start();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    const QString missingName =
        u"Не указано наименование аудиторской организации (ФИО индивидуального аудитора)"_s;
    action(w, "Act_LogControl")->trigger();
    QVERIFY(errorsPanel(w)->isVisibleTo(&w));
    QVERIFY(errorTexts(w).contains(missingName));
    const int before = int(errorTexts(w).size());

    enterEditor(w, u"DBMemo_FullName"_s);
    typeText(u"ООО «Аудит»"_s);
    enterEditor(w, u"DBMemo10"_s);
    QVERIFY(!errorTexts(w).contains(missingName));
    QCOMPARE(errorTexts(w).size(), before - 1);
}

// A date emptied in its editor is taken when the window closes with the editor open.
void PersistenceTest::closingKeepsAnEmptiedDate()
{
    MainWindowFixture f;
    TMainF& w = f.start();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    enterEditor(w, u"DBDateTimeEditEh1"_s);
    typeText(u"15.02.2010"_s);
    enterEditor(w, u"DBMemo_FullName"_s);
    QCOMPARE(savedRequisite(f, u"DataSost"_s), u"15.02.2010"_s);

    enterEditor(w, u"DBDateTimeEditEh1"_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    pressKey(Qt::Key_Backspace);
    f.messages.answers = {true};
    QVERIFY(w.close());
    QCOMPARE(savedRequisite(f, u"DataSost"_s), QString());
}

// A save that fails is reported; entering the section again keeps the unsaved values
// instead of reloading the older file, and the next save writes them.
void PersistenceTest::failedSaveIsNotReplacedByTheOlderFile()
{
    MainWindowFixture f;
    TMainF& w = f.start();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    const QString path = RazdelFileName(f.paths, u"00"_s, u"2009"_s);
    QVERIFY(QDir().mkpath(path)); // a folder where the file should go: every save fails

    enterEditor(w, u"DBMemo_FullName"_s);
    typeText(u"ООО «Аудит»"_s);
    enterEditor(w, u"DBMemo10"_s);
    QCOMPARE(f.messages.errors.size(), 1);
    QVERIFY(f.messages.errors[0].contains(u"2009_00.XML"_s));

    clickSection(w, PosRazdel1);
    clickSection(w, PosRekvizity);
    QCOMPARE(w.currentRazdel(), int(PosRekvizity));
    QCOMPARE(requisite(w, u"FullName"_s), u"ООО «Аудит»"_s);
    QVERIFY(QFileInfo(path).isDir()); // not set aside as a damaged file

    QVERIFY(QDir(path).removeRecursively());
    clickSection(w, PosRazdel1);
    clickSection(w, PosRekvizity);
    QCOMPARE(savedRequisite(f, u"FullName"_s), u"ООО «Аудит»"_s);
}

QTEST_MAIN(PersistenceTest)
#include "PersistenceTest.moc"
