// Filling the form template: the replacements, their order and the failures, against a
// recording spreadsheet application.
#include "print/PrintReport.h"
#include "RecordingSpreadsheetSupport.h"
#include "ReportFixtureSupport.h"
#include "model/AppPaths.h"
#include "model/DataSet.h"
#include "model/Razdels.h"
#include "model/ReportTables.h"
#include "output/Crc32.h"
#include "output/ExportFile.h"
#include "support/ScriptedMessages.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

struct RecordingPreview final : PrintPreview {
    QStringList shown;
    bool fileExisted = false;
    void show(const QString& pdfPath, const QString&) override
    {
        shown << pdfPath;
        fileExisted = QFile::exists(pdfPath);
    }
};

// Marker -> value as replaced, in order.
QList<QPair<QString, QString>> replacements(const RecordingSpreadsheet& app)
{
    QList<QPair<QString, QString>> out;
    for (const QString& c : app.callsStartingWith(u"replace A1:EL1000 "_s)) {
        const QString rest = c.mid(18);
        const int eq = int(rest.indexOf(u'\t'));
        out.append({rest.left(eq), rest.mid(eq + 1)});
    }
    return out;
}

QString valueOf(const QList<QPair<QString, QString>>& list, const QString& marker)
{
    for (const auto& p : list)
        if (p.first == marker)
            return p.second;
    return u"<absent>"_s;
}

} // namespace

class PrintReportTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<AppPaths> m_paths;

    void writeTemplates(bool final, bool draft)
    {
        for (const auto& [want, path] : {std::pair{final, m_paths->ShablonFileName()},
                                         std::pair{draft, m_paths->ShablonChernovikFileName()}}) {
            QFile::remove(path);
            if (want) {
                QFile f(path);
                QVERIFY(f.open(QIODevice::WriteOnly));
                f.write("template");
            }
        }
    }

private Q_SLOTS:
    void init()
    {
        m_paths = std::make_unique<AppPaths>(m_dir.filePath(u"form2audit"_s));
        writeTemplates(true, true);
    }

    void requisites_data()
    {
        QTest::addColumn<bool>("legalEntity");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("fio");
        QTest::newRow("legal entity") << true << u"'Аудит (А)"_s << QString();
        QTest::newRow("individual auditor") << false << QString() << u"'Петров Пётр Петрович"_s;
    }
    void requisites()
    {
        QFETCH(bool, legalEntity);
        QFETCH(QString, name);
        QFETCH(QString, fio);
        ReportTables tables;
        fillReport(tables, legalEntity);
        const auto m = ReportMarkers(tables, u"2009"_s);
        QCOMPARE(m.value(0), (MarkerValue{u"#Name#"_s, name}));
        QCOMPARE(m.value(1), (MarkerValue{u"#FIO#"_s, fio}));
        const QStringList order = {u"#Address#"_s, u"#OKUD#"_s,        u"#OKPO#"_s,
                                   u"#OGRN#"_s,    u"#TelFax#"_s,      u"#email#"_s,
                                   u"#rukovod#"_s, u"#PositionOtv#"_s, u"#FIOotv#"_s,
                                   u"#telOtv#"_s,  u"#DataSost#"_s};
        for (int i = 0; i < order.size(); ++i)
            QCOMPARE(m.value(2 + i).first, order[i]);
        QCOMPARE(valueOf(m, u"#OKPO#"_s), u"'01234567"_s);
        QCOMPARE(valueOf(m, u"#DataSost#"_s), u"'15.03.2010"_s);
    }

    void sectionCells_data()
    {
        QTest::addColumn<QString>("marker");
        QTest::addColumn<QString>("value");
        QTest::newRow("integer") << u"#Row01Graf03#"_s << u"'25"_s;
        QTest::newRow("empty cell") << u"#Row01Graf04#"_s << u"'"_s;
        QTest::newRow("money gets a decimal") << u"#Row05Graf03#"_s << u"'1000.0"_s;
        QTest::newRow("money keeps its decimals") << u"#Row05Graf04#"_s << u"'12.5"_s;
        QTest::newRow("last row of section 4") << u"#Row37Graf03#"_s << u"'7"_s;
        QTest::newRow("section 4 column 9") << u"#Row37Graf09#"_s << u"'"_s;
    }
    void sectionCells()
    {
        QFETCH(QString, marker);
        QFETCH(QString, value);
        ReportTables tables;
        fillReport(tables, true);
        QCOMPARE(valueOf(ReportMarkers(tables, u"2009"_s), marker), value);
    }

    void sectionOrder()
    {
        ReportTables tables;
        const auto m = ReportMarkers(tables, u"2009"_s);
        QStringList cells;
        for (const auto& p : m)
            if (p.first.startsWith(u"#Row"_s))
                cells << p.first;
        // 4x2 + 7x2 + 17x1 + 9x7, section by section, row by row, column by column.
        QCOMPARE(cells.size(), 8 + 14 + 17 + 63);
        QCOMPARE(cells.first(), u"#Row01Graf03#"_s);
        QCOMPARE(cells[1], u"#Row01Graf04#"_s);
        QCOMPARE(cells[8], u"#Row05Graf03#"_s);
        QCOMPARE(cells[22], u"#Row12Graf03#"_s);
        QCOMPARE(cells.last(), u"#Row37Graf09#"_s);
    }

    void membership_data()
    {
        QTest::addColumn<int>("filled");
        QTest::newRow("none") << 0;
        QTest::newRow("three") << 3;
        QTest::newRow("ten") << 10;
        QTest::newRow("eleven") << 11;
    }
    void membership()
    {
        QFETCH(int, filled);
        ReportTables tables;
        fillMembers(tables, filled);
        const auto m = ReportMarkers(tables, u"2009"_s);
        for (int k = 1; k <= std::max(filled, kMembershipRows); ++k) {
            const QString n = QString::number(k);
            if (k <= filled) {
                QCOMPARE(valueOf(m, u"#NumRow"_s + n + u'#'), u"'"_s + n);
                QCOMPARE(valueOf(m, u"#NameRow"_s + n + u'#'), u"'Объединение "_s + n);
                QCOMPARE(valueOf(m, u"#YearVstuplen"_s + n + u'#'),
                         u"'"_s + QString::number(2000 + k));
                QVERIFY(valueOf(m, u"#KodRow"_s + n + u'#').startsWith(u'\''));
            } else {
                for (const QString& name :
                     {u"NumRow"_s, u"NameRow"_s, u"KodRow"_s, u"YearVstuplen"_s})
                    QCOMPARE(valueOf(m, u'#' + name + n + u'#'), QString());
            }
        }
        // Nothing beyond the filled records and the ten rows of the form.
        const int last = std::max(filled, kMembershipRows);
        QCOMPARE(valueOf(m, u"#NumRow%1#"_s.arg(last + 1)), u"<absent>"_s);
    }

    void qualityAndYear_data()
    {
        QTest::addColumn<bool>("passed");
        QTest::addColumn<QString>("yes");
        QTest::addColumn<QString>("no");
        QTest::newRow("passed") << true << u"ДА"_s << QString();
        QTest::newRow("not passed") << false << QString() << u"НЕТ"_s;
    }
    void qualityAndYear()
    {
        QFETCH(bool, passed);
        QFETCH(QString, yes);
        QFETCH(QString, no);
        ReportTables tables;
        DataSet& q = *tables.razdel(PosQualityTest);
        q.first();
        setField(q, u"ValueYes"_s, passed);
        const auto m = ReportMarkers(tables, u"2009"_s);
        QCOMPARE(m.value(m.size() - 3), (MarkerValue{u"#Yes#"_s, yes}));
        QCOMPARE(m.value(m.size() - 2), (MarkerValue{u"#No#"_s, no}));
        QCOMPARE(m.last(), (MarkerValue{u"#Year#"_s, u"2009"_s}));
    }

    void printModes_data()
    {
        QTest::addColumn<bool>("final");
        QTest::newRow("final") << true;
        QTest::newRow("preview") << false;
    }
    void printModes()
    {
        QFETCH(bool, final);
        ReportTables tables;
        fillReport(tables, true);
        RecordingSpreadsheet app;
        ScriptedMessages messages;
        RecordingPreview preview;
        QVERIFY(PrintRepExcel(tables, *m_paths, u"2009"_s,
                              final ? PrintMode::Final : PrintMode::Preview, app, messages,
                              preview));
        QVERIFY(messages.log.isEmpty());
        const QString shablon = QDir::toNativeSeparators(
            final ? m_paths->ShablonFileName() : m_paths->ShablonChernovikFileName());
        QCOMPARE(app.calls.mid(0, 4), (QStringList{u"create"_s, u"visible 0"_s,
                                                   u"open "_s + shablon, u"unprotect vazu"_s}));
        const auto r = replacements(app);
        QCOMPARE(r.size(), ReportMarkers(tables, u"2009"_s).size() + 1);
        const auto last = r.last();
        if (final) {
            // The checksum of the export text the submission would carry.
            const QByteArray text = RepFileBytes(tables);
            QCOMPARE(last, (QPair<QString, QString>{
                               u"#FileCRC#"_s,
                               CRCText(~UpdateCRC32(0xFFFFFFFFu, text.constData(), text.size()))}));
        } else {
            QCOMPARE(last, (QPair<QString, QString>{u"КС = #FileCRC#"_s, QString()}));
            QCOMPARE(valueOf(r, u"#FileCRC#"_s), u"<absent>"_s);
        }
        // Every replacement while alerts are off, and alerts on again after the last.
        QString alerts = u"alerts 1"_s;
        qsizetype lastReplace = -1;
        for (qsizetype i = 0; i < app.calls.size(); ++i) {
            if (app.calls[i].startsWith(u"alerts"_s))
                alerts = app.calls[i];
            if (app.calls[i].startsWith(u"replace"_s)) {
                QCOMPARE(alerts, u"alerts 0"_s);
                lastReplace = i;
            }
        }
        QVERIFY(app.calls.indexOf(u"alerts 1"_s, lastReplace) > lastReplace);
        // The filled sheet as PDF in the scratch folder, shown, then the workbook closed unsaved.
        QCOMPARE(preview.shown.size(), 1);
        QVERIFY(preview.fileExisted);
        QVERIFY(preview.shown[0].startsWith(m_paths->TempDir()));
        QVERIFY(!QFile::exists(preview.shown[0]));
        QCOMPARE(app.calls.mid(app.calls.size() - 5),
                 (QStringList{u"visible 1"_s, u"alerts 0"_s, u"store pdf "_s + preview.shown[0],
                              u"close"_s, u"release"_s}));
        QVERIFY(app.callsStartingWith(u"store xls"_s).isEmpty());
    }

    void failures_data()
    {
        QTest::addColumn<bool>("final");
        QTest::addColumn<QString>("failing");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("calls");
        const QString t = u"<T>"_s;
        QTest::newRow("final template missing")
            << true << u"template"_s << u"Сообщение: Не найден файл шаблона для печати \n\r<T>"_s
            << QStringList{};
        QTest::newRow("draft template missing")
            << false << u"template"_s << u"Сообщение: Не найден файл шаблона для печати \n\r<T>"_s
            << QStringList{};
        QTest::newRow("no office")
            << true << u"create"_s
            << u"Сообщение: Ошибка при создании объекта Excel.Application\n\rВозможно не та версия EXCEL"_s
            << QStringList{u"create"_s};
        QTest::newRow("not a workbook")
            << true << u"open"_s << u"Сообщение: Ошибка при открытии файла <T>"_s
            << QStringList{u"create"_s, u"visible 0"_s, u"open <T>"_s, u"close"_s, u"release"_s};
        QTest::newRow("another password")
            << false << u"unprotect"_s << u"Сообщение: Ошибка при открытии файла <T>"_s
            << QStringList{u"create"_s,         u"visible 0"_s, u"open <T>"_s,
                           u"unprotect vazu"_s, u"close"_s,     u"release"_s};
    }
    void failures()
    {
        QFETCH(bool, final);
        QFETCH(QString, failing);
        QFETCH(QString, message);
        QFETCH(QStringList, calls);
        const QString shablon = QDir::toNativeSeparators(
            final ? m_paths->ShablonFileName() : m_paths->ShablonChernovikFileName());
        if (failing == u"template"_s)
            writeTemplates(!final, final);
        ReportTables tables;
        RecordingSpreadsheet app;
        app.failing << failing;
        ScriptedMessages messages;
        RecordingPreview preview;
        QVERIFY(!PrintRepExcel(tables, *m_paths, u"2009"_s,
                               final ? PrintMode::Final : PrintMode::Preview, app, messages,
                               preview));
        QCOMPARE(messages.log, QStringList{QString(message).replace(u"<T>"_s, shablon)});
        QStringList expected;
        for (const QString& c : calls)
            expected << QString(c).replace(u"<T>"_s, shablon);
        QCOMPARE(app.calls, expected);
        QVERIFY(preview.shown.isEmpty());
    }

    // The user cancelling at any step: no message, no preview, nothing left open or written.
    void cancelAtAnyStep_data()
    {
        QTest::addColumn<QString>("step");
        QTest::addColumn<bool>("opened");
        QTest::newRow("start") << u"create"_s << false;
        QTest::newRow("open") << u"open"_s << true;
        QTest::newRow("unprotect") << u"unprotect"_s << true;
        QTest::newRow("replacements") << u"replace"_s << true;
        QTest::newRow("pdf") << u"store"_s << true;
    }
    void cancelAtAnyStep()
    {
        QFETCH(QString, step);
        QFETCH(bool, opened);
        ReportTables tables;
        RecordingSpreadsheet app;
        app.cancelling << step;
        ScriptedMessages messages;
        RecordingPreview preview;
        QVERIFY(
            !PrintRepExcel(tables, *m_paths, u"2009"_s, PrintMode::Final, app, messages, preview));
        QVERIFY(messages.log.isEmpty());
        QVERIFY(preview.shown.isEmpty());
        // A cancelled replacement is not retried marker by marker.
        if (step == u"replace"_s)
            QCOMPARE(app.callsStartingWith(u"replace"_s).size(), 1);
        if (opened)
            QCOMPARE(app.calls.mid(app.calls.size() - 2), (QStringList{u"close"_s, u"release"_s}));
        else
            QCOMPARE(app.calls, QStringList{u"create"_s});
        QVERIFY(QDir(m_paths->TempDir()).entryList({u"*.pdf"_s}).isEmpty());
    }

    void failedReplacementGoesOn()
    {
        ReportTables tables;
        RecordingSpreadsheet app;
        app.failingMarkers << u"#OKPO#"_s;
        QVERIFY(!ReplaceInSheet(app, u"#OKPO#"_s, u"'1"_s));
        QCOMPARE(app.calls.last(), u"alerts 1"_s);
        ScriptedMessages messages;
        RecordingPreview preview;
        QVERIFY(
            PrintRepExcel(tables, *m_paths, u"2009"_s, PrintMode::Preview, app, messages, preview));
        QCOMPARE(preview.shown.size(), 1);
    }

    void emptyMarkerDoesNothing()
    {
        RecordingSpreadsheet app;
        QVERIFY(!ReplaceInSheet(app, QString(), u"x"_s));
        QCOMPARE(app.calls, (QStringList{u"alerts 0"_s, u"alerts 1"_s}));
    }

    void failureAfterOpeningClosesWorkbook()
    {
        ReportTables tables;
        RecordingSpreadsheet app;
        app.failing << u"store"_s;
        ScriptedMessages messages;
        RecordingPreview preview;
        QVERIFY_THROWS_EXCEPTION(
            SpreadsheetError,
            PrintRepExcel(tables, *m_paths, u"2009"_s, PrintMode::Final, app, messages, preview));
        QCOMPARE(app.calls.mid(app.calls.size() - 2), (QStringList{u"close"_s, u"release"_s}));
        QVERIFY(preview.shown.isEmpty());
        QVERIFY(QDir(m_paths->TempDir()).entryList({u"*.pdf"_s}).isEmpty());
    }
};

QTEST_GUILESS_MAIN(PrintReportTest)
#include "PrintReportTest.moc"
