#include "model/AppPaths.h"
#include "model/Clock.h"
#include "model/DataDirLock.h"
#include "model/FormatSettings.h"
#include "model/SystemClock.h"
#include "platform/DesktopUrlOpener.h"
#include "platform/KeyboardLayout.h"
#include "platform/QtMessageBoxes.h"
#include "platform/SystemKeyboardLayout.h"
#include "workspace/DBGrid.h"
#include "workspace/StartupGuard.h"
#include "workspace/TMainF.h"

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include "print/GridSnapshot.h"
#include "workspace/AfterFirstPaint.h"
#include "workspace/OfficeService.h"

#include <QApplication>
#include <QHelpEvent>
#include <QIcon>
#include <QSocketNotifier>
#include <QToolTip>
#include <QWidget>
#include <cstdio>
#include <optional>
#include <string_view>

namespace {

// Hints stay on screen for a minute.
class LongHints : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ToolTip)
            return false;
        auto* w = qobject_cast<QWidget*>(watched);
        if (!w || w->toolTip().isEmpty())
            return false;
        auto* help = static_cast<QHelpEvent*>(event);
        QToolTip::showText(help->globalPos(), w->toolTip(), w, QRect(), 60000);
        return true;
    }
};

// --version and --help are answered on standard output, without a display.
std::optional<int> answerInfoOption(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg(argv[i]);
        if (arg == "--version" || arg == "-v") {
            std::fputs("form2audit " FORM2AUDIT_VERSION "\n", stdout);
            return 0;
        }
        if (arg == "--help" || arg == "-h") {
            std::fputs(
                "form2audit — подготовка, проверка, печать и сдача отчёта по форме № 2-аудит\n"
                "\n"
                "Использование: form2audit [--help] [--version]\n"
                "\n"
                "  --help     показать эту справку\n"
                "  --version  показать версию программы\n"
                "\n"
                "Если рядом с программой лежит файл portable, данные (папка Data), настройки\n"
                "и шаблоны хранятся рядом с ней. Иначе данные хранятся в\n"
                "~/.local/share/form2audit, настройки в ~/.config/form2audit/form2audit.ini,\n"
                "временные файлы в ~/.cache/form2audit.\n"
                "Командная строка без окна: form2audit-cli --help\n",
                stdout);
            return 0;
        }
    }
    return std::nullopt;
}

#ifdef Q_OS_UNIX
// A termination request (logout, kill) ends the event loop, so the office and the files
// are closed by the destructors instead of being left behind.
int g_signalPipe[2] = {-1, -1};

void onTerminationSignal(int)
{
    const char c = 1;
    [[maybe_unused]] const auto n = ::write(g_signalPipe[1], &c, 1);
}

void quitOnTerminationSignals(QApplication& app)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [notifier] {
        notifier->setEnabled(false);
        char c;
        [[maybe_unused]] const auto n = ::read(g_signalPipe[0], &c, 1);
        QCoreApplication::exit(0); // not quit(): that would ask the exit question
    });
    struct sigaction sa {};
    sa.sa_handler = onTerminationSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(sig, &sa, nullptr);
}
#endif

} // namespace

int main(int argc, char** argv)
{
    if (const std::optional<int> code = answerInfoOption(argc, argv))
        return *code;
    QApplication app(argc, argv);
    app.installEventFilter(new LongHints(&app));
#ifdef Q_OS_UNIX
    quitOnTerminationSignals(app);
#endif
    SetFormatSettings();
    QApplication::setApplicationName(QStringLiteral("form2audit"));
    QApplication::setApplicationVersion(QStringLiteral(FORM2AUDIT_VERSION));
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/form2audit-%1.png").arg(size));
    QApplication::setWindowIcon(icon);

    SystemClock clock;
    QtMessageBoxes boxes;
    SystemKeyboardLayout keyboard;
    DesktopUrlOpener urls;
    Platform platform{&clock, &boxes, &keyboard, &urls};

    // One window per data folder; a second one leaves every file alone.
    const AppPaths paths = AppPaths::forApplication();
    DataDirLock lock(paths.DataDir());
    if (!ClaimDataFolder(lock, paths.DataDir(), boxes))
        return 1;

    TMainF window(paths, platform);
    boxes.setParent(&window);
    // Destroyed before the application: it shuts the office down.
    OfficeService office(
        window.tables(), window.paths(), [&window] { return window.reportYear(); }, boxes, &window);
    window.PrintRepExcel = [&office](bool finalMode) { office.printReport(finalMode); };
    window.exportGridToSpreadsheet = [&office](DBGrid* grid, const QStringList& titles) {
        office.exportGrid(snapshotOf(grid), titles);
    };
    // The office starts while the user reads the window, so that the first print needs no wait.
    new AfterFirstPaint(window.centralWidget(), [&office, &window] {
        office.startEarly(window.settings().GetPreStartOffice());
    });
    window.showMaximized();
    return app.exec();
}
