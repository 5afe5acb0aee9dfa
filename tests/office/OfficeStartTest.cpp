// The office's life around the window, through the module the program loads: started early
// in the background, a print asked for while it starts, closing during the start, no start
// without an office or when switched off, cancelling a wait, a crash between two prints.
#include "ReportFixtureSupport.h"
#include "model/AppPaths.h"
#include "model/ReportTables.h"
#include "print/GridSnapshot.h"
#include "print/OfficeModule.h"
#include "print/PrintReport.h"
#include "support/ScriptedMessages.h"
#include "workspace/OfficeService.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QtTest>
#include <cstdio>
#include <cstdlib>
#include <signal.h>

using namespace Qt::StringLiterals;

namespace {

struct CountingPreview final : PrintPreview {
    int shown = 0;
    void show(const QString& pdfPath, const QString&) override
    {
        QVERIFY(QFile::exists(pdfPath));
        ++shown;
    }
};

// Cancels every wait that goes on for `afterMs` or longer.
struct CancellingObserver final : OfficeWaitObserver {
    qint64 afterMs = 0;
    int cancels = 0;
    bool waitGoesOn(qint64 elapsedMs) override
    {
        if (elapsedMs < afterMs)
            return true;
        ++cancels;
        return false;
    }
    bool takesInput() const override { return false; }
};

QString moduleFile()
{
    return QStringLiteral(F2A_BIN_DIR "/form2audit_office.so");
}

bool officeInstalled()
{
    return QFile::exists(
        qEnvironmentVariable("FORM2AUDIT_SOFFICE", u"/usr/lib/libreoffice/program/soffice"_s));
}

bool groupAlive(qint64 group)
{
    return group > 0 && ::kill(pid_t(-group), 0) == 0;
}

// Sets an environment variable for the life of this object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QString& value) : m_name(name), m_saved(qgetenv(name))
    {
        if (!value.isNull())
            qputenv(name, QFile::encodeName(value));
    }
    ~ScopedEnv()
    {
        if (m_saved.isNull())
            qunsetenv(m_name);
        else
            qputenv(m_name, m_saved);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* m_name;
    QByteArray m_saved;
};

} // namespace

class OfficeStartTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<AppPaths> m_paths;
    ReportTables m_tables;
    // The window's service finds the module of this build.
    std::unique_ptr<ScopedEnv> m_moduleEnv;

    std::unique_ptr<OfficeModule> newModule() const
    {
        return std::make_unique<OfficeModule>(moduleFile(),
                                              OfficeConfig{{}, m_paths->TempDir(), 20000});
    }
    bool print(OfficeModule& module, CountingPreview& preview, ScriptedMessages& messages)
    {
        const auto app = module.newApp();
        return PrintRepExcel(m_tables, *m_paths, u"2009"_s, PrintMode::Preview, *app, messages,
                             preview);
    }
    QStringList scratchFiles() const
    {
        return QDir(m_paths->TempDir()).entryList({u"*.pdf"_s, u"*.xlsx"_s}, QDir::Files);
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
        fillReport(m_tables, true);
        m_moduleEnv = std::make_unique<ScopedEnv>("FORM2AUDIT_OFFICE_MODULE", moduleFile());
    }

    // A print asked for while the early start runs waits for that start: one office.
    void printDuringTheBackgroundStart()
    {
        const auto module = newModule();
        module->startEarly();
        QVERIFY(module->opened());
        QTRY_VERIFY(module->opened()->processGroup() > 0); // the office is on its way
        ScriptedMessages messages;
        CountingPreview preview;
        QVERIFY2(print(*module, preview, messages), qPrintable(messages.log.join(u'\n')));
        QCOMPARE(preview.shown, 1);
        QCOMPARE(module->opened()->startCount(), 1);
        // and a second print uses the same office
        QVERIFY(print(*module, preview, messages));
        QCOMPARE(preview.shown, 2);
        QCOMPARE(module->opened()->startCount(), 1);
    }

    // Closing the window while the office starts leaves no office behind, quickly.
    void closingDuringTheStart()
    {
        qint64 group = 0;
        QElapsedTimer timer;
        {
            const auto module = newModule();
            module->startEarly();
            QTRY_VERIFY(module->opened()->processGroup() > 0);
            group = module->opened()->processGroup();
            timer.start();
        }
        QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed())));
        QTRY_VERIFY_WITH_TIMEOUT(!groupAlive(group), 3000);
    }

    // No office program, no office module, or the setting off: nothing starts early and
    // nothing is said until the user prints.
    void noEarlyStart_data()
    {
        QTest::addColumn<QString>("soffice");
        QTest::addColumn<QString>("module");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("office not installed") << u"no/soffice"_s << QString() << true;
        QTest::newRow("module not installed") << QString() << u"no/module.so"_s << true;
        QTest::newRow("switched off") << QString() << QString() << false;
    }
    void noEarlyStart()
    {
        QFETCH(QString, soffice);
        QFETCH(QString, module);
        QFETCH(bool, allowed);
        ScopedEnv sofficeEnv("FORM2AUDIT_SOFFICE",
                             soffice.isEmpty() ? QString() : m_dir.filePath(soffice));
        ScopedEnv moduleEnv("FORM2AUDIT_OFFICE_MODULE",
                            module.isEmpty() ? QString() : m_dir.filePath(module));
        ScriptedMessages messages;
        OfficeService service(
            m_tables, *m_paths, [] { return u"2009"_s; }, messages);
        service.startEarly(allowed);
        QTest::qWait(300);
        // Only a missing office program gets as far as loading the module.
        SpreadsheetOffice* office = service.module().opened();
        QCOMPARE(office != nullptr, !soffice.isEmpty());
        if (office) {
            QCOMPARE(office->startCount(), 0);
            QCOMPARE(office->processGroup(), 0);
        }
        QVERIFY(messages.log.isEmpty());
    }

    // Cancelling the wait for the start ends the command at once; the start goes on and the
    // next command finds the office ready.
    void cancellingTheWaitForTheStart()
    {
        const auto module = newModule();
        CancellingObserver observer;
        observer.afterMs = 100;
        module->setWaitObserver(&observer);
        ScriptedMessages messages;
        CountingPreview preview;
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!print(*module, preview, messages));
        QVERIFY2(timer.elapsed() < 1500, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(observer.cancels > 0);
        QVERIFY(messages.log.isEmpty());
        QCOMPARE(preview.shown, 0);
        module->setWaitObserver(nullptr);
        QVERIFY2(print(*module, preview, messages), qPrintable(messages.log.join(u'\n')));
        QCOMPARE(preview.shown, 1);
        QCOMPARE(module->opened()->startCount(), 1);
    }

    // Cancelling during the work of a print: nothing shown, nothing left in the scratch
    // folder, and the office still serves the next print.
    void cancellingAPrint()
    {
        const auto module = newModule();
        ScriptedMessages messages;
        CountingPreview preview;
        QVERIFY(print(*module, preview, messages)); // a warm office
        CancellingObserver observer;                // cancels the first call it sees
        module->setWaitObserver(&observer);
        QVERIFY(!print(*module, preview, messages));
        QVERIFY(observer.cancels > 0);
        QCOMPARE(preview.shown, 1);
        QVERIFY(messages.log.isEmpty());
        QVERIFY(scratchFiles().isEmpty());
        module->setWaitObserver(nullptr);
        QVERIFY(print(*module, preview, messages));
        QCOMPARE(preview.shown, 2);
        QCOMPARE(module->opened()->startCount(), 1);
    }

    // The progress window of the window's service: shown after its delay with the command's
    // text; its "Отмена" ends the command quietly.
    void progressWindowCancels_data()
    {
        QTest::addColumn<bool>("print");
        QTest::addColumn<QString>("text");
        QTest::newRow("print") << true << u"Подготовка печатной формы…"_s;
        QTest::newRow("table export") << false << u"Подготовка таблицы…"_s;
    }
    void progressWindowCancels()
    {
        QFETCH(bool, print);
        QFETCH(QString, text);
        ScriptedMessages messages;
        QWidget window;
        window.show();
        OfficeService service(
            m_tables, *m_paths, [] { return u"2009"_s; }, messages, &window);
        service.setProgressDelayMs(0);
        QStringList seen;
        QTimer poll;
        poll.setInterval(20);
        QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* p = qobject_cast<QProgressDialog*>(w); p && p->isVisible()) {
                    seen << p->labelText();
                    p->cancel();
                }
        });
        poll.start();
        if (print) {
            service.printReport(false);
        } else {
            GridSnapshot grid;
            grid.titles = QStringList{u"№"_s, u"Текст"_s};
            grid.pixelWidths = {40, 200};
            grid.alignments = {0, 0};
            grid.fontFamily = u"Arial"_s;
            grid.fontPointSize = 8;
            grid.zeroCharWidthPx = 7;
            grid.rows = {QStringList{u"1"_s, u"Ошибка"_s}};
            service.exportGrid(grid, {u"Ошибки (всего - 1)"_s});
        }
        poll.stop();
        QVERIFY(!seen.isEmpty());
        QCOMPARE(seen.first(), text);
        QVERIFY(messages.log.isEmpty());
        QVERIFY(scratchFiles().isEmpty());
        // The office is still usable.
        CountingPreview preview;
        QVERIFY(this->print(service.module(), preview, messages));
        QCOMPARE(preview.shown, 1);
    }

    // The program ending through exit() while its office runs (the window system gone) takes
    // the office with it.
    void exitWithoutShutdownLeavesNoOffice()
    {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"F2A_EXIT_WITH_OFFICE"_s, u"1"_s);
        env.insert(u"F2A_WORK_DIR"_s, m_paths->TempDir());
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForFinished(60000));
        const qint64 group = child.readAllStandardOutput().trimmed().toLongLong();
        QVERIFY2(group > 0, child.readAllStandardError().constData());
        QTest::qWait(3000);
        const bool alive = groupAlive(group);
        if (alive)
            ::kill(pid_t(-group), SIGKILL);
        QVERIFY(!alive);
    }

    // A crash of the office between two prints: the second one starts a new office.
    void crashBetweenTwoPrints()
    {
        const auto module = newModule();
        ScriptedMessages messages;
        CountingPreview preview;
        QVERIFY(print(*module, preview, messages));
        const qint64 group = module->opened()->processGroup();
        ::kill(pid_t(-group), SIGKILL);
        QTRY_VERIFY(!groupAlive(group));
        QVERIFY2(print(*module, preview, messages), qPrintable(messages.log.join(u'\n')));
        QCOMPARE(preview.shown, 2);
        QCOMPARE(module->opened()->startCount(), 2);
    }
};

// The child of exitWithoutShutdownLeavesNoOffice: starts the office, says its process group and
// ends through exit() at once, as the program does when the window system goes away.
int exitWithOfficeRunning()
{
    int argc = 1;
    char name[] = "child";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    auto* module = new OfficeModule(moduleFile(),
                                    OfficeConfig{{}, qEnvironmentVariable("F2A_WORK_DIR"), 20000});
    module->startEarly();
    for (int i = 0; i < 400 && !(module->opened() && module->opened()->processGroup() > 0); ++i)
        QThread::msleep(50);
    QThread::msleep(500);
    std::printf("%lld\n", module->opened() ? module->opened()->processGroup() : 0LL);
    std::fflush(stdout);
    std::exit(0);
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsSet("F2A_EXIT_WITH_OFFICE"))
        return exitWithOfficeRunning();
    QApplication app(argc, argv);
    OfficeStartTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "OfficeStartTest.moc"
