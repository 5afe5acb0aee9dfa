// The office's life around the window: started early in the background, a print asked for
// while it starts, closing during the start, cancelling a wait, a crash between two prints.
#include "AppPaths.h"
#include "LibreOfficeApp.h"
#include "MessageBoxes.h"
#include "OfficeService.h"
#include "PrintReport.h"
#include "ReportFixtureSupport.h"
#include "ReportTables.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QtTest>
#include <signal.h>

using namespace Qt::StringLiterals;

namespace {

struct Messages final : MessageBoxes {
    QStringList shown;
    void InfoBox(const QString& text, const QString&) override { shown << text; }
    bool AskYesNo(const QString&, const QString&) override { return false; }
};

struct CountingPreview final : PrintPreview {
    int shown = 0;
    void show(const QString& pdfPath, const QString&) override
    {
        QVERIFY(QFile::exists(pdfPath));
        ++shown;
    }
};

// Cancels the first wait that goes on for longer than `afterMs`.
struct CancellingObserver final : OfficeWaitObserver {
    qint64 afterMs = 0;
    int cancels = 0;
    void waitStarted() override {}
    bool waitGoesOn(qint64 elapsedMs) override
    {
        if (elapsedMs < afterMs)
            return true;
        ++cancels;
        return false;
    }
    bool takesInput() const override { return false; }
    void waitEnded() override {}
};

bool officeInstalled()
{
    return QFile::exists(
        qEnvironmentVariable("FORM2AUDIT_SOFFICE", u"/usr/lib/libreoffice/program/soffice"_s));
}

bool groupAlive(qint64 group)
{
    return group > 0 && ::kill(pid_t(-group), 0) == 0;
}

} // namespace

class OfficeSessionTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<AppPaths> m_paths;

    OfficeConfig config() const { return OfficeConfig{{}, m_paths->TempDir(), 20000}; }
    bool print(OfficeSession& session, CountingPreview& preview, Messages& messages)
    {
        ReportTables tables;
        fillReport(tables, true);
        LibreOfficeApp app(session);
        return PrintRepExcel(tables, *m_paths, u"2009"_s, PrintMode::Preview, app, messages,
                             preview);
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!officeInstalled())
            QSKIP("LibreOffice is not installed");
        m_paths = std::make_unique<AppPaths>(m_dir.filePath(u"form2audit"_s));
        QDir().mkpath(m_paths->TempDir());
        for (const QString& name : {u"Shablon.xls"_s, u"Shablon_Chernovik.xls"_s})
            QVERIFY(QFile::copy(QStringLiteral(F2A_BIN_DIR) + u'/' + name, m_dir.filePath(name)));
    }

    // A print asked for while the early start runs waits for that start: one office.
    void printDuringTheBackgroundStart()
    {
        OfficeSession session(config());
        session.startInBackground();
        QTRY_VERIFY(session.processGroup() > 0); // the office is on its way
        Messages messages;
        CountingPreview preview;
        QVERIFY2(print(session, preview, messages), qPrintable(messages.shown.join(u'\n')));
        QCOMPARE(preview.shown, 1);
        QCOMPARE(session.startCount(), 1);
        // and a second print uses the same office at once
        QVERIFY(print(session, preview, messages));
        QCOMPARE(session.startCount(), 1);
    }

    // Closing the window while the office starts leaves no office behind, quickly.
    void closingDuringTheStart()
    {
        qint64 group = 0;
        QElapsedTimer timer;
        {
            OfficeSession session(config());
            session.startInBackground();
            QTRY_VERIFY(session.processGroup() > 0);
            group = session.processGroup();
            timer.start();
        }
        QVERIFY2(timer.elapsed() < 4000, qPrintable(QString::number(timer.elapsed())));
        QTRY_VERIFY_WITH_TIMEOUT(!groupAlive(group), 3000); // killed processes are gone soon
    }

    // No office at all: nothing starts early and nothing is said until the user prints.
    void noEarlyStartWithoutOfficeOrWhenSwitchedOff_data()
    {
        QTest::addColumn<bool>("installed");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("not installed") << false << true;
        QTest::newRow("switched off") << true << false;
    }
    void noEarlyStartWithoutOfficeOrWhenSwitchedOff()
    {
        QFETCH(bool, installed);
        QFETCH(bool, allowed);
        const QByteArray saved = qgetenv("FORM2AUDIT_SOFFICE");
        if (!installed)
            qputenv("FORM2AUDIT_SOFFICE", QFile::encodeName(m_dir.filePath(u"no/soffice"_s)));
        {
            ReportTables tables;
            Messages messages;
            OfficeService service(
                tables, *m_paths, [] { return u"2009"_s; }, messages);
            QCOMPARE(service.session().isInstalled(), installed);
            service.startEarly(allowed);
            QTest::qWait(300);
            QCOMPARE(service.session().startCount(), 0);
            QCOMPARE(service.session().processGroup(), 0);
            QVERIFY(messages.shown.isEmpty());
        }
        if (saved.isNull())
            qunsetenv("FORM2AUDIT_SOFFICE");
        else
            qputenv("FORM2AUDIT_SOFFICE", saved);
    }

    // Cancelling the wait for the start ends the command at once; the start goes on and the
    // next command finds the office ready.
    void cancellingTheWaitForTheStart()
    {
        OfficeSession session(config());
        CancellingObserver observer;
        observer.afterMs = 100;
        session.setWaitObserver(&observer);
        QElapsedTimer timer;
        timer.start();
        QVERIFY_THROWS_EXCEPTION(SpreadsheetCancelled, session.ensureStarted());
        QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed())));
        session.setWaitObserver(nullptr);
        session.clearCancel();
        Messages messages;
        CountingPreview preview;
        QVERIFY(print(session, preview, messages));
        QCOMPARE(session.startCount(), 1);
    }

    // Cancelling during the work of a print: nothing shown, nothing left in the scratch
    // folder, and the office still serves the next print.
    void cancellingAPrint()
    {
        OfficeSession session(config());
        session.ensureStarted();
        CancellingObserver observer;
        session.setWaitObserver(&observer); // cancels the first call it sees
        Messages messages;
        CountingPreview preview;
        QVERIFY(!print(session, preview, messages));
        QCOMPARE(preview.shown, 0);
        QVERIFY(messages.shown.isEmpty());
        QVERIFY(observer.cancels > 0);
        QVERIFY(QDir(m_paths->TempDir()).entryList({u"*.pdf"_s}, QDir::Files).isEmpty());
        session.setWaitObserver(nullptr);
        session.clearCancel();
        QVERIFY(print(session, preview, messages));
        QCOMPARE(preview.shown, 1);
        QCOMPARE(session.startCount(), 1);
    }

    // The progress window of the service: shown after its delay, its "Отмена" ends the
    // print quietly.
    void progressWindowCancels()
    {
        ReportTables tables;
        fillReport(tables, true);
        Messages messages;
        QWidget window;
        window.show();
        OfficeService service(
            tables, *m_paths, [] { return u"2009"_s; }, messages, &window);
        service.setProgressDelayMs(0);
        bool seen = false;
        QTimer poll;
        poll.setInterval(20);
        QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* p = qobject_cast<QProgressDialog*>(w); p && p->isVisible()) {
                    QCOMPARE(p->labelText(), u"Подготовка печатной формы…"_s);
                    seen = true;
                    p->cancel();
                }
        });
        poll.start();
        service.printReport(false); // cancelled: returns without a preview or a message
        poll.stop();
        QVERIFY(seen);
        QVERIFY(messages.shown.isEmpty());
    }

    // A crash of the office between two prints: the second one starts a new office.
    void crashBetweenTwoPrints()
    {
        OfficeSession session(config());
        Messages messages;
        CountingPreview preview;
        QVERIFY(print(session, preview, messages));
        const qint64 group = session.processGroup();
        ::kill(pid_t(-group), SIGKILL);
        QTRY_VERIFY(!groupAlive(group));
        QVERIFY2(print(session, preview, messages), qPrintable(messages.shown.join(u'\n')));
        QCOMPARE(preview.shown, 2);
        QCOMPARE(session.startCount(), 2);
    }
};

QTEST_MAIN(OfficeSessionTest)
#include "OfficeSessionTest.moc"
