// Carry-over and restoring from an archive on the real main window, checked on disk.

#include "MainWindowSupport.h"
#include "model/Datapacket.h"
#include "model/RazdelFiles.h"
#include "model/Razdels.h"
#include "model/ReportFiles.h"
#include "model/ReportTables.h"
#include "model/Settings.h"
#include "output/ExportFile.h"
#include "workspace/DBGrid.h"
#include "workspace/TMainF.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

const QString kCases = QStringLiteral(F2A_TEST_DATA "/control/");

// The case's section files put into the fixture's data folder as the given year's.
void copyCase(MainWindowFixture& f, const QString& name, const QString& year)
{
    const QString from = kCases + name;
    for (const QString& file : QDir(from).entryList({u"2009_*.XML"_s}, QDir::Files))
        QVERIFY(QFile::copy(from + u'/' + file, f.paths.DataDir() + year + file.mid(4)));
}

QString savedValue(const MainWindowFixture& f, int position, const QString& keyField,
                   const QVariant& key, const QString& field, const QString& year = u"2009"_s)
{
    DataSet t(u"saved"_s);
    loadTableFromFile(t, RazdelFileName(f.paths, Razdels()[position].Kod, year));
    if (!keyField.isEmpty() && !t.locate(keyField, {key}))
        return u"<no row>"_s;
    if (keyField.isEmpty())
        t.first();
    return t.fieldByName(field).asString();
}

QAction* fileMenuAction(TMainF& w, const QString& text)
{
    for (QAction* menu : w.menuBar()->actions())
        if (menu->text() == u"Файл"_s)
            for (QAction* a : menu->menu()->actions())
                if (a->text() == text)
                    return a;
    return nullptr;
}

} // namespace

class YearDataTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void newYearAsksAfterTheInstructionsAndCarriesOver();
    void newYearAnsweredNoIsNotAskedAgain();
    void menuCarryOverFillsOnlyEmptyCells();
    void importReplacesTheYearAfterConfirmation();
    void importRefusesAMalformedText();
};

void YearDataTest::newYearAsksAfterTheInstructionsAndCarriesOver()
{
    MainWindowFixture f; // 15 March 2010: the 2009 report
    copyCase(f, u"consistent_report"_s, u"2008"_s);
    TMainF& w = f.start();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTRY_COMPARE(f.messages.questions.size(), 1);
    QVERIFY(f.messages.questions[0].contains(u"отчёта за 2008 год"_s));
    QVERIFY(f.messages.questions[0].startsWith(u"Данных отчёта за 2009 год ещё нет."_s));
    // Yes (the scripted default): all seven files of 2009 at once
    QTRY_COMPARE(ExistingReportFiles(f.paths, u"2009"_s).size(), RazdelCount);
    QCOMPARE(savedValue(f, PosRekvizity, {}, {}, u"OGRN"_s), u"1027700132195"_s);
    QCOMPARE(savedValue(f, PosRekvizity, {}, {}, u"DataSost"_s), QString());
    QCOMPARE(savedValue(f, PosRazdel2, u"KodRow"_s, u"06"_s, u"Graf04"_s),
             savedValue(f, PosRazdel2, u"KodRow"_s, u"06"_s, u"Graf03"_s, u"2008"_s));
    QCOMPARE(savedValue(f, PosRazdel2, u"KodRow"_s, u"06"_s, u"Graf03"_s), QString());
    QVERIFY(f.messages.infos.last().startsWith(u"Перенесено значений из отчёта за 2008 год: "_s));
    // the window shows what the files hold
    auto req = w.tables().razdel(PosRekvizity)->clone();
    req->first();
    QCOMPARE(req->fieldByName(u"OGRN"_s).asString(), u"1027700132195"_s);
}

void YearDataTest::newYearAnsweredNoIsNotAskedAgain()
{
    MainWindowFixture f;
    copyCase(f, u"consistent_report"_s, u"2008"_s);
    f.messages.answers = {false};
    TMainF& w = f.start();
    w.OfferCarryOver();
    QCOMPARE(f.messages.questions.size(), 1);
    QVERIFY(ExistingReportFiles(f.paths, u"2009"_s).isEmpty());
    QCOMPARE(IniRead(f.paths.IniFileName(), u"2009"_s, u"CarryOverDeclined"_s, {}), u"1"_s);
    f.restart();
    f.window().OfferCarryOver();
    QCOMPARE(f.messages.questions.size(), 1);
    QVERIFY(ExistingReportFiles(f.paths, u"2009"_s).isEmpty());
}

void YearDataTest::menuCarryOverFillsOnlyEmptyCells()
{
    MainWindowFixture f;
    copyCase(f, u"consistent_report"_s, u"2008"_s);
    f.setIni(u"2009"_s, u"CarryOverDeclined"_s, u"1"_s);
    {
        // a name typed this year
        ReportTables typed;
        DataSet* req = typed.razdel(PosRekvizity);
        req->first();
        req->edit();
        req->fieldByName(u"name"_s).setAsString(u"ООО \"Новое имя\""_s);
        req->post();
        SaveReportFiles(typed, f.paths, u"2009"_s, {PosRekvizity});
    }
    TMainF& w = f.start();

    QAction* carry = fileMenuAction(w, u"Перенести данные из отчёта за предыдущий год…"_s);
    QVERIFY(carry);
    carry->trigger();
    QCOMPARE(savedValue(f, PosRekvizity, {}, {}, u"name"_s), u"ООО \"Новое имя\""_s);
    QCOMPARE(savedValue(f, PosRekvizity, {}, {}, u"OGRN"_s), u"1027700132195"_s);
    QCOMPARE(savedValue(f, PosRazdel2, u"KodRow"_s, u"06"_s, u"Graf04"_s), u"1500.5"_s);
    QVERIFY(f.messages.infos.last().contains(u"Реквизиты отчёта: "_s));
    QVERIFY(f.messages.errors.isEmpty());

    // nothing left: said so, nothing written again
    carry->trigger();
    QVERIFY(f.messages.infos.last().contains(u"переносить нечего"_s));
}

void YearDataTest::importReplacesTheYearAfterConfirmation()
{
    MainWindowFixture f;
    // the archive of the consistent report, made as the export makes it
    ReportTables source;
    AppPaths casePaths(f.dir.path() + u"/case/form2audit"_s);
    casePaths.setDataDirOverride(kCases + u"consistent_report"_s);
    LoadReportFiles(source, casePaths, u"2009"_s);
    const QString archive = MakeRepFile(source, f.dir.path() + u"/mail"_s, QString(), u"2009"_s,
                                        RepFileMode::Submission)
                                .archivePath;

    copyCase(f, u"stale_totals"_s, u"2009"_s);
    const QByteArray before = [&] {
        QFile file(RazdelFileName(f.paths, u"01"_s, u"2009"_s));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    TMainF& w = f.start();
    QAction* load = fileMenuAction(w, u"Загрузить отчёт из архива…"_s);
    QVERIFY(load);
    QString askedCaption;
    w.chooseImportFile = [&](const QString& caption) {
        askedCaption = caption;
        return archive;
    };

    // No to replacing: nothing changes
    f.messages.answers = {false};
    load->trigger();
    QCOMPARE(askedCaption, u"Загрузить отчёт из архива…"_s);
    QVERIFY2(!f.messages.questions.isEmpty(),
             qPrintable((f.messages.infos + f.messages.errors).join(u"|"_s)));
    QVERIFY(
        f.messages.questions.last().startsWith(u"Отчёт за 2009 год уже есть в папке данных."_s));
    QVERIFY(!QFile::exists(RazdelFileName(f.paths, u"01"_s, u"2009"_s) + u".replaced"_s));

    f.messages.answers = {true};
    load->trigger();
    QVERIFY(f.messages.errors.isEmpty());
    QVERIFY(f.messages.infos.last().startsWith(u"Отчёт за 2009 год загружен из файла"_s));
    QFile kept(RazdelFileName(f.paths, u"01"_s, u"2009"_s) + u".replaced"_s);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), before);
    ReportTables restored;
    LoadReportFiles(restored, f.paths, u"2009"_s);
    QCOMPARE(RepFileBytes(restored), RepFileBytes(source));
    // and the window shows it
    QCOMPARE(RepFileBytes(w.tables()), RepFileBytes(source));
    QCOMPARE(w.currentRazdel(), int(PosRekvizity));
}

void YearDataTest::importRefusesAMalformedText()
{
    MainWindowFixture f;
    copyCase(f, u"consistent_report"_s, u"2009"_s);
    const QString bad = f.dir.path() + u"/1027700132195--090.txt"_s;
    {
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\xcb\xc8\xd6\xce=2\r\n\xde\xcb\xd4\xcb=x\r\n"); // ЛИЦО=2, ЮЛФЛ=x, then nothing
    }
    const QStringList before = QDir(f.paths.DataDir()).entryList(QDir::Files);
    TMainF& w = f.start();
    w.chooseImportFile = [&](const QString&) { return bad; };
    action(w, "Act_ImportRep")->trigger();
    QVERIFY(f.messages.questions.isEmpty());
    QVERIFY(f.messages.infos.last().contains(u"не является файлом отчёта для Минфина"_s));
    QVERIFY(f.messages.infos.last().contains(u"Строка 3: "_s));
    QCOMPARE(QDir(f.paths.DataDir()).entryList(QDir::Files), before);
}

QTEST_MAIN(YearDataTest)
#include "YearDataTest.moc"
