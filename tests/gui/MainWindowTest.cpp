#include "MainWindowSupport.h"
#include "model/Datapacket.h"
#include "model/RazdelFiles.h"
#include "model/Razdels.h"
#include "model/Settings.h"
#include "output/ArchiveError.h"
#include "output/ExportFile.h"
#include "output/ZipPack.h"
#include "workspace/DBGrid.h"
#include "workspace/RekvizityPanel.h"
#include "workspace/TMainF.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QtTest>
#include <zlib.h>

using namespace Qt::StringLiterals;

class MainWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void captionFollowsTheReportingYear_data();
    void captionFollowsTheReportingYear();
    void typicalRoadSavesAndRecomputes();
    void totalsAndLockedCellsRefuseInput();
    void section2NoticesOncePerSettingsFile();
    void exitAnsweredNoStillPostsAndSaves();
    void forbiddenYearDisablesTheDataArea();
    void damagedFileIsSetAsideAndReported();
    void controlPanelForCurrentSection();
    void nextIsGatedByErrorsAndWarnings();
    void errorJumpLandsOnTheCell();
    void qualityReviewToggledThroughNo();
    void mailSubmissionLeavesOnlyTheNewArchive();
    void ctrlDDeletesTheSelection();
    void printWithWarningsAsksTheTwoConfirmations();
    void printAsksAboutEqualAuditCounts();
    void nextWithErrorsOnlyKeepsTheSection();
    void exportWritesTheArchiveAndChecksumVerifies();
};

void MainWindowTest::captionFollowsTheReportingYear_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("year");
    QTest::newRow("30 September") << QDate(2009, 9, 30) << u"2008"_s;
    QTest::newRow("1 October") << QDate(2009, 10, 1) << u"2009"_s;
}

void MainWindowTest::captionFollowsTheReportingYear()
{
    QFETCH(QDate, today);
    QFETCH(QString, year);
    MainWindowFixture f(today);
    TMainF& w = f.start();
    QCOMPARE(
        w.windowTitle(),
        u"Подготовка и контроль данных отчёта об аудиторской деятельности (форма 2-аудит) за "_s +
            year + u" год."_s);
    QCOMPARE(w.currentRazdel(), 0);
    QCOMPARE(part<QListWidget>(w, "LVRazdel")->count(), 7);
    QCOMPARE(part<QListWidget>(w, "LVRazdel")->item(6)->text(), u"Раздел 5 (ПАО и МСАО)"_s);
    QVERIFY(!action(w, "Act_SendRepToMail")->isVisible());
    QVERIFY(action(w, "Act_PrintExcel")->isVisible());
    QVERIFY(!errorsPanel(w)->isVisibleTo(&w));
    QCOMPARE(f.keyboard.activated.value(0), u"00000419"_s);
}

void MainWindowTest::typicalRoadSavesAndRecomputes()
{
    MainWindowFixture f;
    TMainF& w = f.start();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    clickSection(w, PosRazdel2);
    QCOMPARE(w.currentRazdel(), int(PosRazdel2));
    DBGrid* grid = w.FindGrid(u"DBGrid_02"_s);
    clickCell(grid, 1, u"Graf03"_s); // row 06
    typeText(u"1234,5"_s);
    QVERIFY(grid->isEditorOpen());
    QCOMPARE(grid->cellEditor()->text(), u"1234.5"_s);
    pressKey(Qt::Key_Tab); // leaving the column posts the row
    QCOMPARE(tableCell(w.currentDataSet(), u"06"_s, u"Graf03"_s), u"1234.5"_s);
    QCOMPARE(tableCell(w.currentDataSet(), u"05"_s, u"Graf03"_s), u"1234.5"_s);
    QCOMPARE(savedCell(f, PosRazdel2, u"06"_s, u"Graf03"_s), u"1234.5"_s);
    QCOMPARE(savedCell(f, PosRazdel2, u"05"_s, u"Graf03"_s), u"1234.5"_s);

    // a second decimal and a tenth digit are refused
    clickCell(grid, 2, u"Graf04"_s); // row 07
    typeText(u"7,25"_s);
    QCOMPARE(grid->cellEditor()->text(), u"7.2"_s);
    pressKey(Qt::Key_Down);
    QCOMPARE(savedCell(f, PosRazdel2, u"07"_s, u"Graf04"_s), u"7.2"_s);
    QCOMPARE(savedCell(f, PosRazdel2, u"05"_s, u"Graf04"_s), u"7.2"_s);
}

void MainWindowTest::totalsAndLockedCellsRefuseInput()
{
    MainWindowFixture f;
    TMainF& w = f.start();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    clickSection(w, PosRazdel1);
    DBGrid* grid = w.FindGrid(u"DBGrid_01"_s);
    f.messages.infos.clear();
    clickCell(grid, 1, u"Graf03"_s); // row 02: a total
    typeText(u"5"_s);
    QCOMPARE(f.messages.infos, QStringList{u"Расчётная ячейка. Только чтение"_s});
    QVERIFY(!grid->isEditorOpen());
    QCOMPARE(w.currentDataSet()->state(), DataSetState::Browse);

    f.messages.infos.clear();
    clickCell(grid, 2, u"Graf04"_s); // row 03, column 4: locked, silent
    typeText(u"5"_s);
    QVERIFY(f.messages.infos.isEmpty());
    QVERIFY(!grid->isEditorOpen());

    // 12345 stops at 1234 in an integer cell; 0 is stored empty
    clickCell(grid, 0, u"Graf03"_s);
    typeText(u"12345"_s);
    QCOMPARE(grid->cellEditor()->text(), u"1234"_s);
    pressKey(Qt::Key_Escape);
    clickCell(grid, 2, u"Graf03"_s);
    typeText(u"0"_s);
    pressKey(Qt::Key_Down);
    QCOMPARE(tableCell(w.currentDataSet(), u"03"_s, u"Graf03"_s), QString());

    // the membership names of rows 1-5 are fixed
    clickSection(w, PosMembership);
    DBGrid* m = w.FindGrid(u"DBGrid_05_11_30"_s);
    f.messages.infos.clear();
    clickCell(m, 0, u"NameRow"_s);
    typeText(u"x"_s);
    QCOMPARE(f.messages.infos, QStringList{u"Ввод запрещен"_s});
}

void MainWindowTest::section2NoticesOncePerSettingsFile()
{
    MainWindowFixture f;
    TMainF& w = f.start();
    const QString unit =
        u"ВНИМАНИЕ!  В разделе ОБЪЕМ ОКАЗАННЫХ УСЛУГ\n\rданные измеряются в ТЫС.РУБ."_s;
    const QString previous =
        u"Внимание! Контроль данных за предыдущий год программой не осуществляется"_s;
    w.selectRazdel(PosRazdel2);
    QCOMPARE(f.messages.infos, (QStringList{unit, previous}));
    w.selectRazdel(PosRazdel3);
    f.messages.infos.clear();
    w.selectRazdel(PosRazdel2);
    QCOMPARE(f.messages.infos, QStringList{unit});
    QCOMPARE(IniRead(f.paths.IniFileName(), u"Parms"_s, u"FirstTime_Razdel02"_s, QString()),
             u"0"_s);
    // the requisites header: no unit note, empty first label
    w.selectRazdel(PosRekvizity);
    QCOMPARE(part<QLabel>(w, "Lab_Zag_01")->text(), QString());
    QCOMPARE(part<QLabel>(w, "Lab_Zag_02")->text(),
             u"Данные аудиторской организации (индивидуального аудитора)."_s);
    QVERIFY(!part<QLabel>(w, "Lab_Zag_03")->isVisibleTo(&w));
    w.selectRazdel(PosQualityTest);
    QCOMPARE(part<QLabel>(w, "Lab_Zag_01")->width(), 350);
    w.selectRazdel(PosRazdel1);
    QCOMPARE(part<QLabel>(w, "Lab_Zag_01")->width(), 100);
}

void MainWindowTest::exitAnsweredNoStillPostsAndSaves()
{
    MainWindowFixture f;
    TMainF& w = f.start();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    clickSection(w, PosRazdel3);
    DBGrid* grid = w.FindGrid(u"DBGrid_03"_s);
    clickCell(grid, 3, u"Graf03"_s); // row 15
    typeText(u"42"_s);
    f.messages.answers = {false};
    w.close();
    QVERIFY(w.isVisible());
    QCOMPARE(f.messages.questions.last(), u"Вы действительно хотите выйти из приложения"_s);
    QCOMPARE(savedCell(f, PosRazdel3, u"15"_s, u"Graf03"_s), u"42"_s);
    QCOMPARE(savedCell(f, PosRazdel3, u"12"_s, u"Graf03"_s), u"42"_s);
    QCOMPARE(IniRead(f.paths.IniFileName(), u"Parms"_s, u"YearOfRep"_s, u"-"_s), u"-"_s);
    f.messages.answers = {true};
    w.close();
    QVERIFY(!w.isVisible());
    QCOMPARE(IniRead(f.paths.IniFileName(), u"Parms"_s, u"YearOfRep"_s, u"-"_s), u"2009"_s);
    QCOMPARE(IniRead(f.paths.IniFileName(), u"Parms"_s, u"FirstTime"_s, u"-"_s), u"0"_s);
}

void MainWindowTest::forbiddenYearDisablesTheDataArea()
{
    MainWindowFixture f;
    f.setIni(u"2009"_s, u"MayRedaktData"_s, u"0"_s);
    TMainF& w = f.start();
    QVERIFY(!part<QWidget>(w, "Panel_Data")->isEnabled());
    QVERIFY(action(w, "Act_LogControl_All")->isEnabled());
    QVERIFY(action(w, "Act_SetMayRedaktData")->isChecked());
    // toggling the (hidden) permission command allows editing again
    action(w, "Act_SetMayRedaktData")->trigger();
    QVERIFY(part<QWidget>(w, "Panel_Data")->isEnabled());
    QCOMPARE(IniRead(f.paths.IniFileName(), u"2009"_s, u"MayRedaktData"_s, QString()), u"1"_s);
}

void MainWindowTest::damagedFileIsSetAsideAndReported()
{
    MainWindowFixture f;
    QDir().mkpath(f.paths.DataDir());
    const QString file = RazdelFileName(f.paths, u"01"_s, u"2009"_s);
    {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("<?xml version=\"1.0\"?><DATAPACKET Version=\"2.0\"><METADATA>");
    }
    TMainF& w = f.start();
    QCOMPARE(f.messages.infos.size(), 1);
    QVERIFY(f.messages.infos[0].contains(u"2009_01.XML"_s));
    QVERIFY(QFile::exists(file + u".damaged"_s));
    QCOMPARE(w.tables().razdel(PosRazdel1)->recordCount(), 4); // built-in rows
    w.selectRazdel(PosRazdel1);
    QCOMPARE(f.messages.infos.size(), 1); // told once
}

void MainWindowTest::controlPanelForCurrentSection()
{
    MainWindowFixture f;
    TMainF& w = f.start();
    action(w, "Act_LogControl")->trigger();
    QVERIFY(errorsPanel(w)->isVisibleTo(&w));
    QCOMPARE(errorTabs(w)->currentIndex(), 0);
    QCOMPARE(errorTabs(w)->tabText(0), u"           Ошибки  (всего - 11)           "_s);
    QCOMPARE(errorTabs(w)->tabText(1), u"  Предупреждения  (всего -  2)  "_s);
    QCOMPARE(errorCaption(w)->text(), u"Ошибки в текущем разделе. Всего ошибок - 11"_s);
    QCOMPARE(w.tables().err().recordCount(), 11);
    // the warnings tab refilters without a new run
    errorTabs(w)->setCurrentIndex(1);
    QCOMPARE(w.tables().err().recordCount(), 2);
    QCOMPARE(errorCaption(w)->text(),
             u"Предупреждения в текущем разделе. Всего предупреждений - 2"_s);
    action(w, "Act_LogControl_All")->trigger();
    QCOMPARE(errorTabs(w)->tabText(0), u"           Ошибки  (всего -  11)           "_s);
    QVERIFY(action(w, "Act_HideGridErr")->isEnabled());
    action(w, "Act_HideGridErr")->trigger();
    QVERIFY(!errorsPanel(w)->isVisibleTo(&w));
}

void MainWindowTest::nextIsGatedByErrorsAndWarnings()
{
    MainWindowFixture f;
    TMainF& w = f.start();
    // the requisites hold errors: Next refuses with M1 (errors and warnings)
    action(w, "Act_NextRazdel")->trigger();
    QCOMPARE(f.messages.infos.last(), u"Прежде чем перейти к новому разделу,\n\rисправьте ошибки "
                                      u"текущего раздела\n\rи просмотрите "
                                      u"информацию о предупреждениях текущего раздела"_s);
    QCOMPARE(w.currentRazdel(), 0);
    // section 1 has only its not-filled warning: first press shows it, second passes
    w.selectRazdel(PosRazdel1);
    action(w, "Act_HideGridErr")->trigger();
    action(w, "Act_NextRazdel")->trigger();
    QCOMPARE(
        f.messages.infos.last(),
        u"Прежде чем перейти к новому разделу,\n\rпросмотрите информацию о предупреждениях текущего раздела"_s);
    QCOMPARE(w.currentRazdel(), int(PosRazdel1));
    QVERIFY(errorsPanel(w)->isVisibleTo(&w));
    action(w, "Act_NextRazdel")->trigger();
    QCOMPARE(w.currentRazdel(), int(PosRazdel2));
    QVERIFY(!errorsPanel(w)->isVisibleTo(&w));
    // section 2: the thousands question, No keeps the section
    action(w, "Act_HideGridErr")->trigger();
    action(w, "Act_NextRazdel")->trigger(); // shows the warnings
    f.messages.answers = {false};
    action(w, "Act_NextRazdel")->trigger();
    QVERIFY(f.messages.questions.last().startsWith(u"Единицы измерения введенных данных"_s));
    QCOMPARE(w.currentRazdel(), int(PosRazdel2));
    // Next hid the panel before asking, so Back first shows the warnings again
    action(w, "Act_PrevRazdel")->trigger();
    QCOMPARE(w.currentRazdel(), int(PosRazdel2));
    QVERIFY(errorsPanel(w)->isVisibleTo(&w));
    action(w, "Act_PrevRazdel")->trigger();
    QCOMPARE(w.currentRazdel(), int(PosRazdel1));
}

void MainWindowTest::errorJumpLandsOnTheCell()
{
    MainWindowFixture f;
    // section 4 row 33 with columns that do not add up
    TMainF& w = f.start();
    DataSet* t = w.tables().razdel(PosRazdel4);
    QVERIFY(t->locate(u"KodRow"_s, {u"33"_s}));
    t->edit();
    t->fieldByName(u"Graf08"_s).setAsInteger(5);
    t->post();
    action(w, "Act_LogControl_All")->trigger();
    DataSet& err = w.tables().err();
    QVERIFY(err.locate(u"RazdelInd;KodRow_Value"_s, {int(PosRazdel4), u"33"_s}));
    const QString field = err.fieldByName(u"FieldName"_s).asString();
    // A double click on the list's current record.
    auto* errGrid = part<DBGrid>(w, "DBGrid_Err");
    Q_EMIT errGrid->doubleClicked(errGrid->currentIndex());
    QCOMPARE(w.currentRazdel(), int(PosRazdel4));
    QCOMPARE(w.currentDataSet()->fieldByName(u"KodRow"_s).asString(), u"33"_s);
    QCOMPARE(w.currentGrid()->selectedField(), field);
}

void MainWindowTest::qualityReviewToggledThroughNo()
{
    MainWindowFixture f;
    TMainF& w = f.start();
    w.selectRazdel(PosQualityTest);
    DataSet* q = w.currentDataSet();
    QVERIFY(!q->fieldByName(u"ValueYes"_s).asBoolean());
    Q_EMIT w.currentGrid()->cellClicked(1, u"ValueNo"_s);
    QVERIFY(q->fieldByName(u"ValueYes"_s).asBoolean());
    QVERIFY(!q->fieldByName(u"ValueNo"_s).asBoolean());
    DataSet saved(u"saved"_s);
    loadTableFromFile(saved, RazdelFileName(f.paths, u"QualityTest"_s, u"2009"_s));
    QVERIFY(saved.fieldByName(u"ValueYes"_s).asBoolean());
    Q_EMIT w.currentGrid()->cellClicked(1, u"ValueNo"_s);
    QVERIFY(!q->fieldByName(u"ValueYes"_s).asBoolean());
}

void MainWindowTest::mailSubmissionLeavesOnlyTheNewArchive()
{
    MainWindowFixture f;
    copyCase(f, u"consistent_report"_s);
    {
        QFile old(f.paths.ExportDir() + u"1111111111111--070.zip"_s);
        QVERIFY(old.open(QIODevice::WriteOnly));
    }
    TMainF& w = f.start();
    f.messages.answers = {true, true};
    action(w, "Act_SendRepToMail")->trigger();
    QCOMPARE(f.urls.opened.size(), 1);
    const QString link = f.urls.opened[0].toString(QUrl::FullyDecoded);
    QVERIFY(link.startsWith(
        u"mailto:2audit@minfin.ru?subject=Отчёт по форме № 2-аудит&body=Добавьте к письму файл "_s));
    const QStringList left = QDir(f.paths.ExportDir()).entryList(QDir::Files);
    QCOMPARE(left.size(), 1);
    QVERIFY(left[0].endsWith(u".zip"_s));
    QVERIFY(link.contains(left[0]));
    QVERIFY(f.messages.infos.last().startsWith(
        u"Если не удалось отослать отчёт по электронной почте из программы"_s));
    QVERIFY(f.messages.infos.last().endsWith(u"по электронному адресу: 2audit@minfin.ru"_s));

    // No to the sending question: the archive stays, no message opens
    f.messages.answers = {true, false};
    action(w, "Act_SendRepToMail")->trigger();
    QCOMPARE(f.urls.opened.size(), 1);
    QCOMPARE(QDir(f.paths.ExportDir()).entryList(QDir::Files).size(), 1);
}

void MainWindowTest::exportWritesTheArchiveAndChecksumVerifies()
{
    MainWindowFixture f;
    copyCase(f, u"consistent_report"_s);
    TMainF& w = f.start();
    f.messages.answers = {true};
    action(w, "Act_Export")->trigger();
    const QString prefix = u"Данные для отправки в Минфин записаны в файл \n\r"_s;
    const QString written = f.messages.infos.value(f.messages.infos.size() - 2);
    QVERIFY2(written.startsWith(prefix), qPrintable(written));
    // The archive named in the message is on disk, alone in the export folder.
    const QString archive = QDir::fromNativeSeparators(written.mid(prefix.size()));
    QCOMPARE(QFileInfo(archive).fileName(), u"1027700132195--090.zip"_s);
    QVERIFY(QFile::exists(archive));
    QCOMPARE(QDir(f.paths.ExportDir()).entryList(QDir::Files),
             QStringList{QFileInfo(archive).fileName()});
    // It is encrypted: a wrong password opens nothing, the right one gives the export text.
    QTemporaryDir unpacked;
    QVERIFY_THROWS_EXCEPTION(ArchiveError,
                             UnZipRepFile(archive, unpacked.path() + u"/"_s, u"wrong"_s));
    const auto files = UnZipRepFile(archive, unpacked.path() + u"/"_s, RepZipPassword);
    QCOMPARE(files.size(), 1);
    QCOMPARE(files[0].name, u"1027700132195--090.txt"_s);
    QFile text(files[0].path);
    QVERIFY(text.open(QIODevice::ReadOnly));
    const QByteArray bytes = text.readAll();
    QCOMPARE(bytes, RepFileBytes(w.tables()));

    // the checksum command reports a missing archive and creates nothing
    f.messages.errors.clear();
    const QString checked = f.paths.ExportDir() + u"1333333339955--080.zip"_s;
    action(w, "Act_TestSrc")->trigger();
    QCOMPARE(f.messages.errors.size(), 1);
    QVERIFY(!QFile::exists(checked));

    // Given an archive of the name it checks, holding the exported text, it shows the
    // CRC-32 of that text as zlib computes it.
    const QString checkedText = f.paths.ExportDir() + u"1333333339955--080.txt"_s;
    QVERIFY(QFile::copy(files[0].path, checkedText));
    QCOMPARE(ZipRepFile(checkedText, RepZipPassword), checked);
    QVERIFY(QFile::remove(checkedText));
    action(w, "Act_TestSrc")->trigger();
    QCOMPARE(f.messages.errors.size(), 1);
    const uLong crc =
        crc32(0, reinterpret_cast<const Bytef*>(bytes.constData()), uInt(bytes.size()));
    QCOMPARE(f.messages.infos.last(), u"%1"_s.arg(quint32(crc), 8, 16, QChar(u'0')).toUpper());

    // a report with errors is refused with the export text
    MainWindowFixture g;
    TMainF& w2 = g.start();
    g.messages.answers = {true};
    action(w2, "Act_Export")->trigger();
    QVERIFY(g.messages.infos.last().endsWith(u"\n\rСначало надо исправить ошибки"_s));
    QVERIFY(QDir(g.paths.ExportDir()).entryList(QDir::Files).isEmpty());
}

void MainWindowTest::ctrlDDeletesTheSelection()
{
    MainWindowFixture f;
    TMainF& w = f.start();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QWidget* editor = part<RekvizityPanel>(w, "Panel_00")->editorForField(u"TelFax"_s);
    QVERIFY(editor);
    editor->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), editor);
    typeText(u"123-45"_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home, Qt::ShiftModifier);
    QVERIFY(action(w, "EditDelete1")->isEnabled());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_D, Qt::ControlModifier);
    auto* line = qobject_cast<QLineEdit*>(editor);
    auto* plain = qobject_cast<QPlainTextEdit*>(editor);
    const QString text = line ? line->text() : plain ? plain->toPlainText() : u"?"_s;
    QCOMPARE(text, QString());
}

void MainWindowTest::printWithWarningsAsksTheTwoConfirmations()
{
    MainWindowFixture f;
    copyCase(f, u"consistent_report"_s);
    TMainF& w = f.start();
    // clear section 2's previous year: a warning on row 05 follows
    DataSet* s2 = w.tables().razdel(PosRazdel2);
    for (s2->first(); !s2->eof(); s2->next()) {
        s2->edit();
        s2->fieldByName(u"Graf04"_s).clear();
        s2->post();
    }
    // yes to print, no to "show warnings", no to the zero-volume question
    f.messages.answers = {true, false, false};
    action(w, "Act_PrintExcel")->trigger();
    QCOMPARE(f.messages.questions.value(2),
             u"Действительно ли объем оказанных услуг за предыдущий год равен нулю"_s);
    QVERIFY(f.messages.questions.value(1).startsWith(
        u"В данных отчёта есть предупреждения (всего - "_s));
    QCOMPARE(w.currentRazdel(), int(PosRazdel2));
    QCOMPARE(w.currentDataSet()->fieldByName(u"KodRow"_s).asString(), u"05"_s);
    QCOMPARE(w.currentGrid()->selectedField(), u"Graf04"_s);
    QVERIFY(w.wholeDocumentErrors());
}

void MainWindowTest::printAsksAboutEqualAuditCounts()
{
    MainWindowFixture f;
    copyCase(f, u"consistent_report"_s);
    TMainF& w = f.start();
    // as many initiative audits as statutory ones: a warning on row 29 of section 4
    DataSet* s4 = w.tables().razdel(PosRazdel4);
    QVERIFY(s4->locate(u"KodRow"_s, {u"37"_s}));
    s4->edit();
    s4->fieldByName(u"Graf03"_s).setAsString(tableCell(s4, u"29"_s, u"Graf03"_s));
    s4->post();
    // yes to print, no to "show warnings", no to the equal-counts question
    f.messages.answers = {true, false, false};
    action(w, "Act_PrintExcel")->trigger();
    QCOMPARE(f.messages.questions.size(), 3);
    QCOMPARE(
        f.messages.questions.value(2),
        u"Действительно ли количество выданных аудиторских заключений по ОБЯЗАТЕЛЬНОМУ "
        u"аудиту\n\rравно количеству выданных аудиторских заключений по ИНИЦИАТИВНОМУ аудиту"_s);
    QCOMPARE(w.currentRazdel(), int(PosRazdel4));
    QCOMPARE(w.currentDataSet()->fieldByName(u"KodRow"_s).asString(), u"29"_s);
    QCOMPARE(w.currentGrid()->selectedField(), u"Graf03"_s);
}

void MainWindowTest::nextWithErrorsOnlyKeepsTheSection()
{
    MainWindowFixture f;
    copyCase(f, u"consistent_report"_s);
    TMainF& w = f.start();
    DataSet* req = w.tables().razdel(PosRekvizity);
    req->first();
    req->edit();
    req->fieldByName(u"FullName"_s).clear();
    req->post();
    action(w, "Act_NextRazdel")->trigger();
    QCOMPARE(f.messages.infos.last(),
             u"Прежде чем перейти к новому разделу,\n\rисправьте ошибки текущего раздела"_s);
    QCOMPARE(w.currentRazdel(), int(PosRekvizity));
    QVERIFY(errorsPanel(w)->isVisibleTo(&w));
    QCOMPARE(errorTabs(w)->currentIndex(), 0);
    QCOMPARE(w.counts().RazdelWarnCount[PosRekvizity], 0);
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
