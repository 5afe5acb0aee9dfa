#include "office/OfficeSession.h"

#include "office/OfficeProcess.h"
#include "office/OfficeSessionImpl.h"
#include "office/UnoText.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QUuid>
#include <condition_variable>
#include <mutex>

#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/bridge/XUnoUrlResolver.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/container/XHierarchicalNameAccess.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <cppuhelper/bootstrap.hxx>

using namespace Qt::StringLiterals;
using css::uno::Reference;
using css::uno::UNO_QUERY;

namespace {

QString programDir()
{
    return QString::fromUtf8(F2A_LO_PROGRAM_DIR);
}

// The component context of this process: made once, before the first connection.
Reference<css::uno::XComponentContext> localContext()
{
    static Reference<css::uno::XComponentContext> local;
    if (local.is())
        return local;
    const QString rc = programDir() + u"/fundamentalrc"_s;
    if (qEnvironmentVariableIsEmpty("URE_BOOTSTRAP")) {
        if (!QFile::exists(rc))
            throw SpreadsheetStartError(u"LibreOffice не установлен: нет файла "_s + rc);
        qputenv("URE_BOOTSTRAP", (u"vnd.sun.star.pathname:"_s + rc).toUtf8());
    }
    try {
        local = cppu::defaultBootstrap_InitialComponentContext();
        // A broken installation shows here as missing types, not as a crash later.
        Reference<css::container::XHierarchicalNameAccess> types(
            local->getValueByName(
                ou("/singletons/com.sun.star.reflection.theTypeDescriptionManager")),
            UNO_QUERY);
        if (!types.is() || !types->hasByHierarchicalName(ou("com.sun.star.frame.XDesktop2"))) {
            local.clear();
            throw SpreadsheetStartError(u"Типы LibreOffice не загружаются"_s);
        }
    } catch (const css::uno::Exception& e) {
        local.clear();
        throw SpreadsheetStartError(u"LibreOffice не запускается: "_s + qs(e.Message));
    }
    return local;
}

} // namespace

OfficeSession::OfficeSession(OfficeConfig config) : d(std::make_unique<Impl>())
{
    d->config = std::move(config);
    if (d->config.soffice.isEmpty())
        d->config.soffice =
            qEnvironmentVariable("FORM2AUDIT_SOFFICE", programDir() + u"/soffice"_s);
    if (d->config.workDir.isEmpty())
        d->config.workDir = QDir::tempPath();
    d->thread.setObjectName(u"office"_s);
    d->worker = new QObject;
    d->worker->moveToThread(&d->thread);
    QObject::connect(&d->thread, &QThread::finished, d->worker, &QObject::deleteLater);
    d->thread.start();
}

OfficeSession::~OfficeSession()
{
    shutdown();
    d->thread.quit();
    d->thread.wait();
}

qint64 OfficeSession::processGroup() const
{
    return d->group;
}

bool OfficeSession::isInstalled() const
{
    return QFileInfo(d->config.soffice).isExecutable();
}

void OfficeSession::startInBackground()
{
    if (!d->thread.isRunning())
        return;
    QMetaObject::invokeMethod(
        d->worker,
        [impl = d.get()] {
            try {
                impl->startIfNeeded();
            } catch (...) {
                // Reported when a command needs the office.
            }
        },
        Qt::QueuedConnection);
}

void OfficeSession::ensureStarted()
{
    run([impl = d.get()] { impl->startIfNeeded(); }, true);
}

int OfficeSession::startCount() const
{
    return d->starts;
}

void OfficeSession::setWaitObserver(OfficeWaitObserver* observer)
{
    d->observer = observer;
    d->cancelled = false;
}

bool OfficeSession::cancelRequested() const
{
    return d->cancelled;
}

void OfficeSession::shutdown()
{
    if (!d->thread.isRunning())
        return;
    // A start still waiting for the office gives up at once; the stop then finds nothing
    // half-started to wait for.
    d->abortStart = true;
    run([this] { d->stop(); });
    d->abortStart = false;
}

void OfficeSession::run(const std::function<void()>& fn, bool detachable)
{
    if (QThread::currentThread() == &d->thread) {
        fn();
        return;
    }
    QCoreApplication* app = QCoreApplication::instance();
    const bool pump = app && QThread::currentThread() == app->thread();
    struct State {
        std::mutex mutex;
        std::condition_variable cv;
        bool done = false;
        std::exception_ptr error;
        QPointer<QEventLoop> loop;
    };
    auto state = std::make_shared<State>();
    QEventLoop loop;
    if (pump)
        state->loop = &loop;
    // A detachable job keeps its own copy of the work; any other may refer to the caller's
    // locals and is always waited for.
    std::function<void()> own;
    if (detachable)
        own = fn;
    const std::function<void()>* work = detachable ? nullptr : &fn;
    QMetaObject::invokeMethod(
        d->worker,
        [work, own, state] {
            std::exception_ptr error;
            try {
                if (work)
                    (*work)();
                else
                    own();
            } catch (...) {
                error = std::current_exception();
            }
            std::lock_guard lock(state->mutex);
            state->error = error;
            state->done = true;
            if (state->loop)
                QMetaObject::invokeMethod(state->loop, &QEventLoop::quit, Qt::QueuedConnection);
            state->cv.notify_all();
        },
        Qt::QueuedConnection);

    if (pump) {
        // Repaints go on while the office works; clicks and keys wait, unless the observer's
        // own window (application-modal) is there to take them.
        OfficeWaitObserver* observer = d->observer;
        QElapsedTimer elapsed;
        elapsed.start();
        QTimer tick;
        tick.setInterval(50);
        QObject::connect(&tick, &QTimer::timeout, &loop, &QEventLoop::quit);
        if (observer)
            tick.start();
        for (;;) {
            {
                std::lock_guard lock(state->mutex);
                if (state->done)
                    break;
            }
            if (observer && !d->cancelled && !observer->waitGoesOn(elapsed.elapsed()))
                d->cancelled = true;
            if (d->cancelled && detachable) {
                std::lock_guard lock(state->mutex);
                state->loop = nullptr;
                throw SpreadsheetCancelled(u"Отменено"_s);
            }
            const bool input = observer && observer->takesInput();
            loop.exec(input ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
        }
    }
    std::unique_lock lock(state->mutex);
    state->cv.wait(lock, [&] { return state->done; });
    state->loop = nullptr;
    if (state->error)
        std::rethrow_exception(state->error);
}

void OfficeSession::Impl::fail(const QString& reason)
{
    stop();
    throw SpreadsheetStartError(reason);
}

void OfficeSession::Impl::startIfNeeded()
{
    if (desktop.is() && !dead && process && process->state() != QProcess::NotRunning) {
        try {
            desktop->getFrames(); // answers while the office lives
            return;
        } catch (const css::uno::Exception&) {
        }
    }
    stop();
    start();
}

void OfficeSession::Impl::start()
{
    const Reference<css::uno::XComponentContext> local = localContext();
    static std::atomic<int> counter{0};
    const QString id = u"%1_%2"_s.arg(QCoreApplication::applicationPid()).arg(++counter);
    profileDir = QDir(config.workDir).absoluteFilePath(u"lo-profile-"_s + id);
    QDir(profileDir).removeRecursively();
    if (!QDir().mkpath(profileDir))
        fail(u"Не удалось создать папку "_s + profileDir);
    const QString pipe = u"form2audit_"_s + id + u'_' + QUuid::createUuid().toString(QUuid::Id128);

    process = new QProcess;
    process->setProgram(config.soffice);
    process->setArguments({u"--norestore"_s, u"--nologo"_s, u"--nodefault"_s, u"--nolockcheck"_s,
                           u"--accept=pipe,name="_s + pipe + u";urp;StarOffice.ComponentContext"_s,
                           u"--headless"_s, u"--invisible"_s,
                           u"-env:UserInstallation="_s +
                               QUrl::fromLocalFile(profileDir).toString(QUrl::FullyEncoded)});
    // An unread pipe would block the office: its output goes to a file.
    const QString log = profileDir + u"/soffice.log"_s;
    process->setStandardOutputFile(log);
    process->setStandardErrorFile(log, QIODevice::Append);
    // Its own process group: the script, the splash and the office die together.
    StartInOwnProcessGroup(*process);
    process->start();
    ++starts;
    if (!process->waitForStarted(5000))
        fail(u"LibreOffice не найден: "_s + config.soffice + u" ("_s + process->errorString() +
             u')');
    group = process->processId();
    KillGroupAtExit(group);

    Reference<css::bridge::XUnoUrlResolver> resolver = css::bridge::UnoUrlResolver::create(local);
    const rtl::OUString url =
        ou(u"uno:pipe,name="_s + pipe + u";urp;StarOffice.ComponentContext"_s);
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        try {
            remote.set(resolver->resolve(url), UNO_QUERY);
            if (remote.is())
                break;
        } catch (const css::connection::NoConnectException&) {
        } catch (const css::uno::Exception& e) {
            fail(u"LibreOffice не отвечает: "_s + qs(e.Message));
        }
        if (process->state() == QProcess::NotRunning &&
            (process->exitStatus() != QProcess::NormalExit || process->exitCode() != 0)) {
            QFile f(log);
            f.open(QIODevice::ReadOnly);
            fail(u"LibreOffice завершился с кодом %1: %2"_s.arg(process->exitCode())
                     .arg(QString::fromLocal8Bit(f.readAll()).trimmed()));
        }
        if (timer.elapsed() > config.startTimeoutMs)
            fail(u"LibreOffice не ответил за %1 с"_s.arg(config.startTimeoutMs / 1000));
        if (abortStart)
            fail(u"Запуск LibreOffice прерван"_s);
        if (process->state() != QProcess::NotRunning)
            process->waitForFinished(100);
        else
            QThread::msleep(100);
    }
    try {
        desktop = css::frame::Desktop::create(remote);
    } catch (const css::uno::Exception& e) {
        fail(u"LibreOffice не отвечает: "_s + qs(e.Message));
    }
    dead = false;
}

void OfficeSession::Impl::stop()
{
    // An office never reached (a start given up) is not asked to end: nothing of it needs
    // saving, and waiting for it would only hold up the caller.
    const bool asked = desktop.is();
    if (asked) {
        try {
            desktop->terminate();
        } catch (const css::uno::Exception&) {
            // The bridge goes away with the office: expected.
        }
    }
    desktop.clear();
    remote.clear();
    if (process) {
        if (asked && process->state() != QProcess::NotRunning)
            process->waitForFinished(5000);
        const qint64 pgid = group;
        if (pgid > 0) {
            KillProcessGroup(pgid); // whatever lingers of the group
            ForgetGroupAtExit(pgid);
        }
        if (process->state() != QProcess::NotRunning)
            process->waitForFinished(2000);
        delete process;
        process = nullptr;
    }
    group = 0;
    if (!profileDir.isEmpty()) {
        QDir(profileDir).removeRecursively();
        profileDir.clear();
    }
    dead = false;
}
