// Against a real headless LibreOffice: our templates filled and printed to PDF, the
// apostrophe rule, the table export read back, and the failures of the office itself.
#include "ReportFixtureSupport.h"
#include "model/AppPaths.h"
#include "model/DataSet.h"
#include "model/Razdels.h"
#include "model/ReportTables.h"
#include "office/LibreOfficeApp.h"
#include "output/ExportFile.h"
#include "print/GridExport.h"
#include "print/GridSnapshot.h"
#include "print/PrintReport.h"
#include "support/ScriptedMessages.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <signal.h>

using namespace Qt::StringLiterals;

namespace {

// The text of a PDF, pages separated by form feeds: laid out as on paper, or in reading
// order (a cell's wrapped lines follow each other).
QString pdfText(const QString& pdf, bool layout = true)
{
    QProcess p;
    p.start(u"pdftotext"_s,
            layout ? QStringList{u"-layout"_s, pdf, u"-"_s} : QStringList{pdf, u"-"_s});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The preview keeps the text of the PDF it was shown.
struct TextPreview final : PrintPreview {
    QString text;
    void show(const QString& pdfPath, const QString&) override { text = pdfText(pdfPath); }
};

QByteArray fileHash(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

bool officeInstalled()
{
    const QString soffice =
        qEnvironmentVariable("FORM2AUDIT_SOFFICE", u"/usr/lib/libreoffice/program/soffice"_s);
    return QFile::exists(soffice);
}

} // namespace

class LibreOfficeTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<AppPaths> m_paths;
    std::unique_ptr<OfficeSession> m_session;

private Q_SLOTS:
    void initTestCase()
    {
        if (!officeInstalled()) {
            qWarning("########## LibreOffice is NOT installed: the office integration tests are "
                     "SKIPPED. "
                     "Install libreoffice-calc-nogui and poppler-utils. ##########");
            QSKIP("LibreOffice is not installed");
        }
        // The templates as the build put them beside the executables, copied to a fresh folder.
        m_paths = std::make_unique<AppPaths>(m_dir.filePath(u"form2audit"_s));
        for (const QString& name : {u"Shablon.xls"_s, u"Shablon_Chernovik.xls"_s})
            QVERIFY(QFile::copy(QStringLiteral(F2A_BIN_DIR) + u'/' + name, m_dir.filePath(name)));
        m_session = std::make_unique<OfficeSession>(OfficeConfig{{}, m_paths->TempDir(), 20000});
    }

    void cleanupTestCase()
    {
        if (!m_session)
            return;
        const qint64 group = m_session->processGroup();
        m_session.reset();
        // Nothing of the office is left behind.
        if (group > 0)
            QVERIFY(::kill(pid_t(-group), 0) != 0);
    }

    void printFilledForm_data()
    {
        QTest::addColumn<bool>("final");
        QTest::addColumn<bool>("legalEntity");
        QTest::newRow("final, legal entity") << true << true;
        QTest::newRow("draft, individual") << false << false;
    }
    void printFilledForm()
    {
        QFETCH(bool, final);
        QFETCH(bool, legalEntity);
        ReportTables tables;
        fillReport(tables, legalEntity);
        fillMembers(tables, 3);
        const QString shablon =
            final ? m_paths->ShablonFileName() : m_paths->ShablonChernovikFileName();
        const QByteArray before = fileHash(shablon);
        LibreOfficeApp app(*m_session);
        ScriptedMessages messages;
        TextPreview preview;
        QElapsedTimer timer;
        timer.start();
        QVERIFY(PrintRepExcel(tables, *m_paths, u"2009"_s,
                              final ? PrintMode::Final : PrintMode::Preview, app, messages,
                              preview));
        qInfo("print to preview: %lld ms", timer.elapsed());
        QVERIFY2(messages.infos.isEmpty(), qPrintable(messages.infos.join(u'\n')));
        const QString& t = preview.text;
        QVERIFY(t.contains(u"за 2009 год"_s));
        QVERIFY(t.contains(u"0609711"_s)); // leading zero kept as text
        QVERIFY(t.contains(u"01234567"_s));
        QVERIFY(t.contains(u"15.03.2010"_s));
        QVERIFY(t.contains(u"1000.0"_s));
        QVERIFY(t.contains(u"Объединение 3"_s));
        QVERIFY(!t.contains(u"Объединение 4"_s));
        QVERIFY(!t.contains(u'#'));  // every marker replaced
        QVERIFY(!t.contains(u'\'')); // no text-entry apostrophe shows
        if (legalEntity)
            QVERIFY(t.contains(u"Аудит (А)"_s));
        else
            QVERIFY(t.contains(u"Петров Пётр Петрович"_s));
        if (final) {
            const QString crc =
                MakeRepFile(tables, *m_paths, u"2009"_s, RepFileMode::ChecksumOnly).checksum;
            QVERIFY2(t.contains(u"КС = "_s + crc), qPrintable(t.right(400)));
        } else {
            QVERIFY(!t.contains(u"КС ="_s));
            QVERIFY(t.contains(u"ЧЕРНОВИК"_s));
        }
        QCOMPARE(fileHash(shablon), before);
        QVERIFY(QDir(m_paths->TempDir()).entryList({u"*.pdf"_s}).isEmpty());
    }

    // The longest values the editors take still give a compact form: four pages, no table
    // cut by a page break, no page left mostly empty, no caption or value cut off.
    void longestValuesPrintCompactly()
    {
        ReportTables tables;
        fillLongest(tables);
        LibreOfficeApp app(*m_session);
        ScriptedMessages messages;
        QTemporaryDir out;
        struct KeepPdf final : PrintPreview {
            QString path;
            void show(const QString& pdfPath, const QString&) override
            {
                QFile::copy(pdfPath, path);
            }
        } preview;
        preview.path = out.filePath(u"form.pdf"_s);
        QVERIFY(
            PrintRepExcel(tables, *m_paths, u"2009"_s, PrintMode::Final, app, messages, preview));
        QStringList pages = pdfText(preview.path).split(u'\f');
        if (pages.last().trimmed().isEmpty())
            pages.removeLast();
        QCOMPARE(pages.size(), 4);

        // Each table starts and ends on the page of its title.
        const struct {
            const char* title;
            const char* lastRow; // the last row's code and a value, as one printed line
        } tablesOnPages[] = {
            {"Раздел 1. Численность персонала", R"(\s04\s+9999\s+9999\.9\s*$)"},
            {"Раздел 2. Объем оказанных услуг", R"(\s11\s+999999999\.9\s+999999999\.9\s*$)"},
            {"Раздел 3. Характеристика организаций", R"(\s28\s+9999\s*$)"},
            {"Раздел 4. Выданные аудиторские заключения", R"(\s37(\s+9999){7}\s*$)"},
            {"Раздел 5. Внешняя проверка качества", R"(\s38\s+ДА\s*$)"},
            {"Раздел 5. Членство", R"(^\s*10\s.*\s20\s+2004\s*$)"},
        };
        auto pageOf = [&pages](const QRegularExpression& re) {
            for (int i = 0; i < pages.size(); ++i)
                if (re.match(pages[i]).hasMatch())
                    return i;
            return -1;
        };
        for (const auto& t : tablesOnPages) {
            const int titlePage =
                pageOf(QRegularExpression(QRegularExpression::escape(QString::fromUtf8(t.title))));
            QVERIFY2(titlePage >= 0, t.title);
            QCOMPARE(pageOf(QRegularExpression(QString::fromUtf8(t.lastRow),
                                               QRegularExpression::MultilineOption)),
                     titlePage);
        }
        QVERIFY(pages.last().contains(u"КС = "_s));
        for (const QString& page : std::as_const(pages)) {
            const qsizetype lines = page.split(u'\n').filter(QRegularExpression(u"\\S"_s)).count();
            QVERIFY2(lines >= 25, qPrintable(page));
        }

        // Captions and values whole, in reading order with line breaks as blanks.
        const QString text = pdfText(preview.path, false).simplified();
        DataSet& req = *tables.razdel(PosRekvizity);
        req.first();
        QStringList whole = {u"Наименование отчитывающейся аудиторской организации"_s,
                             u"Индивидуальный аудитор (фамилия, имя, отчество)"_s,
                             u"Руководитель организации (индивидуальный аудитор)"_s,
                             u"Должностное лицо, ответственное за составление формы"_s,
                             req.fieldByName(u"FullName"_s).asString() + u" ("_s +
                                 req.fieldByName(u"name"_s).asString() + u")"_s};
        for (const char* field :
             {"Address", "TelFax", "email", "rukovod", "PositionOtv", "FIOotv", "telOtv"})
            whole << req.fieldByName(QString::fromLatin1(field)).asString();
        DataSet& members = *tables.razdel(PosMembership);
        members.last();
        whole << members.fieldByName(u"NameRow"_s).asString();
        for (const QString& w : std::as_const(whole))
            QVERIFY2(text.contains(w.simplified()), qPrintable(w));
    }

    void apostropheShowsAsInTheOtherSpreadsheet_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("shown");
        QTest::newRow("text") << u"#M#"_s << u"'abc"_s << u"abc"_s;
        QTest::newRow("leading zeros") << u"#M#"_s << u"'007"_s << u"007"_s;
        QTest::newRow("formula-like") << u"#M#"_s << u"'=1+2"_s << u"=1+2"_s;
        QTest::newRow("date-like") << u"#M#"_s << u"'01.02.2024"_s << u"01.02.2024"_s;
        QTest::newRow("apostrophe alone") << u"#M#"_s << u"'"_s << QString();
        QTest::newRow("inside a text") << u"за #M# год"_s << u"2009"_s << u"за 2009 год"_s;
        QTest::newRow("any letter case") << u"#m#"_s << u"'x"_s << u"x"_s;
        QTest::newRow("without apostrophe") << u"#M#"_s << u"ДА"_s << u"ДА"_s;
    }
    void apostropheShowsAsInTheOtherSpreadsheet()
    {
        QFETCH(QString, cell);
        QFETCH(QString, value);
        QFETCH(QString, shown);
        LibreOfficeApp app(*m_session);
        app.create();
        // One marker at a time, and the batch of the print: the same visible result.
        for (const bool batch : {false, true}) {
            app.addWorkbook();
            app.setCellText(2, 2, cell);
            app.setCellText(1001, 1, u"#M#"_s); // outside the range: untouched
            if (batch)
                ReplaceAllInSheet(app, {{u"#M#"_s, value}});
            else
                QVERIFY(ReplaceInSheet(app, u"#M#"_s, value));
            QCOMPARE(app.readBlock(CellRange::cell(2, 2)), (QList<QStringList>{{shown}}));
            QCOMPARE(app.readBlock(CellRange::cell(1001, 1)), (QList<QStringList>{{u"#M#"_s}}));
            app.closeWorkbook();
        }
    }

    // The whole form filled by the batch reads exactly as when filled marker by marker,
    // also when a typed value holds another marker's text.
    void batchFillEqualsOneByOne_data()
    {
        QTest::addColumn<bool>("final");
        QTest::newRow("final") << true;
        QTest::newRow("draft") << false;
    }
    void batchFillEqualsOneByOne()
    {
        QFETCH(bool, final);
        ReportTables tables;
        fillReport(tables, true);
        fillMembers(tables, 4);
        DataSet& req = *tables.razdel(PosRekvizity);
        req.first();
        setField(req, u"rukovod"_s, u"Иванов #year# и #OKPO#"_s);
        QList<MarkerValue> markers = ReportMarkers(tables, u"2009"_s);
        markers.append({u"#FileCRC#"_s, u"00A1B2C3"_s});
        const QString shablon =
            final ? m_paths->ShablonFileName() : m_paths->ShablonChernovikFileName();
        const CellRange sheet{1, 1, 200, 40};
        LibreOfficeApp app(*m_session);
        app.create();
        QList<QList<QStringList>> results;
        for (const bool batch : {false, true}) {
            app.openWorkbook(shablon);
            app.unprotectSheet(QString::fromUtf16(kShablonPassword));
            if (batch)
                ReplaceAllInSheet(app, markers);
            else
                for (const MarkerValue& m : std::as_const(markers))
                    ReplaceInSheet(app, m.first, m.second);
            results << app.readBlock(sheet);
            app.closeWorkbook();
        }
        QCOMPARE(results[1], results[0]);
        QString all;
        for (const QStringList& row : std::as_const(results[1]))
            all += row.join(u'|');
        // markers are replaced in order: #OKPO# came before the head's name, #Year# after it
        QVERIFY(all.contains(u"Иванов 2009 и #OKPO#"_s));
        QVERIFY(!all.contains(u"#Name#"_s, Qt::CaseInsensitive));
    }

    void wrongPasswordIsAnOpeningFailure()
    {
        LibreOfficeApp app(*m_session);
        app.create();
        app.addWorkbook();
        app.protectSheet(u"other"_s, SheetProtection::Everything);
        const QString path = m_dir.filePath(u"Shablon.xls"_s);
        const QString saved = m_dir.filePath(u"saved.xls"_s);
        QFile::copy(path, saved);
        app.storeAs(path, FileFormat::Xls);
        app.closeWorkbook();
        ReportTables tables;
        ScriptedMessages messages;
        TextPreview preview;
        const bool printed =
            PrintRepExcel(tables, *m_paths, u"2009"_s, PrintMode::Final, app, messages, preview);
        QFile::remove(path);
        QFile::rename(saved, path);
        QVERIFY(!printed);
        QCOMPARE(messages.infos,
                 QStringList{u"Ошибка при открытии файла "_s + QDir::toNativeSeparators(path)});
    }

    void exportReadBack_data()
    {
        QTest::addColumn<int>("records");
        QTest::newRow("three warnings") << 3;
        QTest::newRow("300 errors") << 300;
    }
    void exportReadBack()
    {
        QFETCH(int, records);
        LibreOfficeApp app(*m_session);
        app.create();
        const GridSnapshot g = errorListSnapshot(records);
        QTemporaryDir out;
        QString handed;
        GridExportEnv env;
        env.app = &app;
        env.tempDir = out.path();
        env.message = [](const QString& text, const QString&, bool) { QFAIL(qPrintable(text)); };
        env.handOver = [&handed](const QString& path) {
            handed = path;
            return QString();
        };
        GridExportOptions options;
        options.progId = u"Excel.Application"_s;
        options.cellPrefix = u"'"_s;
        const QString title = u"Ошибки (всего - %1)"_s.arg(records);
        QElapsedTimer timer;
        timer.start();
        QVERIFY(ExportGridToExcel({title}, g, options, env));
        qInfo("export of %d records: %lld ms", records, timer.elapsed());
        QCOMPARE(QFileInfo(handed).fileName(), title + u".xlsx"_s);

        app.openWorkbook(handed);
        const auto cells = app.readBlock({1, 1, 5, 2});
        QCOMPARE(cells[0][0], title);
        QCOMPARE(cells[1], (QStringList{u"Номер ошибки"_s, u"Наименование ошибки"_s}));
        QCOMPARE(cells[2], (QStringList{u"1"_s, u"Ошибка в строке 1"_s}));
        QCOMPARE(cells[3], (QStringList{u"2"_s, u"007"_s}));
        QCOMPARE(
            app.readBlock(CellRange::cell(records + 2, 2)),
            (QList<QStringList>{{records == 2 ? u"007"_s : u"Ошибка в строке %1"_s.arg(records)}}));
        app.closeWorkbook();
    }

    void officeDyingIsNoticed()
    {
        LibreOfficeApp app(*m_session);
        app.create();
        app.addWorkbook();
        const qint64 group = m_session->processGroup();
        QVERIFY(group > 0);
        ::kill(pid_t(-group), SIGKILL);
        QTest::qWait(500);
        QVERIFY_THROWS_EXCEPTION(SpreadsheetError, app.setCellText(1, 1, u"x"_s));
        // The next command starts a fresh office.
        ReportTables tables;
        ScriptedMessages messages;
        TextPreview preview;
        QVERIFY2(
            PrintRepExcel(tables, *m_paths, u"2009"_s, PrintMode::Preview, app, messages, preview),
            qPrintable(messages.infos.join(u'\n')));
        QVERIFY(m_session->processGroup() != group);
    }

    void warmAndColdTimes()
    {
        ReportTables tables;
        fillReport(tables, true);
        ScriptedMessages messages;
        TextPreview preview;
        OfficeSession cold(OfficeConfig{{}, m_paths->TempDir(), 20000});
        LibreOfficeApp app(cold);
        for (const char* kind : {"cold", "warm"}) {
            QElapsedTimer timer;
            timer.start();
            QVERIFY(PrintRepExcel(tables, *m_paths, u"2009"_s, PrintMode::Final, app, messages,
                                  preview));
            qInfo("%s print to preview (with pdftotext of the page): %lld ms", kind,
                  timer.elapsed());
        }
    }

    void missingOffice()
    {
        OfficeSession bogus(
            OfficeConfig{m_dir.filePath(u"no-such-office/soffice"_s), m_paths->TempDir(), 20000});
        LibreOfficeApp app(bogus);
        ReportTables tables;
        ScriptedMessages messages;
        TextPreview preview;
        QElapsedTimer timer;
        timer.start();
        QVERIFY(
            !PrintRepExcel(tables, *m_paths, u"2009"_s, PrintMode::Final, app, messages, preview));
        QVERIFY(timer.elapsed() < 20000);
        QCOMPARE(
            messages.infos,
            QStringList{
                u"Ошибка при создании объекта Excel.Application\n\rВозможно не та версия EXCEL"_s});
    }

    void hangingOffice()
    {
        // A program that never answers on the pipe: refused after the deadline.
        QTemporaryDir dir;
        const QString script = dir.filePath(u"soffice"_s);
        QFile f(script);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\nsleep 60\n");
        f.close();
        f.setPermissions(f.permissions() | QFile::ExeOwner);
        OfficeSession hanging(OfficeConfig{script, m_paths->TempDir(), 1500});
        QElapsedTimer timer;
        timer.start();
        QVERIFY_THROWS_EXCEPTION(SpreadsheetStartError, hanging.ensureStarted());
        QVERIFY(timer.elapsed() >= 1500 && timer.elapsed() < 10000);
        QCOMPARE(hanging.processGroup(), 0);
    }

    void cliPdf_data()
    {
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<bool>("checksum");
        QTest::newRow("final") << QStringList{} << 0 << true;
        QTest::newRow("draft") << QStringList{u"--draft"_s} << 0 << false;
        QTest::newRow("no templates")
            << QStringList{u"--templates"_s, u"/nonexistent"_s} << 2 << false;
    }
    void cliPdf()
    {
        QFETCH(QStringList, extra);
        QFETCH(int, exitCode);
        QFETCH(bool, checksum);
        QTemporaryDir dir;
        const QString pdf = dir.filePath(u"form.pdf"_s);
        QProcess p;
        p.start(QStringLiteral(F2A_CLI), QStringList{u"pdf"_s, u"--out"_s, pdf, u"--data"_s,
                                                     QStringLiteral(F2A_TEST_DATA_DIR), u"--year"_s,
                                                     u"2009"_s, u"--today"_s, u"2010-03-01"_s} +
                                             extra);
        QVERIFY(p.waitForFinished(60000));
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        QCOMPARE(p.exitCode(), exitCode);
        QCOMPARE(QFile::exists(pdf), exitCode == 0);
        static const QRegularExpression crc(u"checksum: ([0-9A-F]{8})"_s);
        const auto m = crc.match(out);
        QCOMPARE(m.hasMatch(), checksum);
        if (checksum)
            QVERIFY(pdfText(pdf).contains(u"КС = "_s + m.captured(1)));
    }
};

QTEST_MAIN(LibreOfficeTest)
#include "LibreOfficeTest.moc"
