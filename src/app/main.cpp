#include "AppPaths.h"
#include "Clock.h"
#include "DBGrid.h"
#include "FormatSettings.h"
#include "KeyboardLayout.h"
#include "QtMessageBoxes.h"
#include "TMainF.h"
#include "UrlOpener.h"

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

#ifdef FORM2AUDIT_WITH_OFFICE
#include "GridSnapshot.h"
#include "OfficeService.h"
#endif

#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QSocketNotifier>
#include <QTimer>
#include <QToolTip>
#include <QWidget>

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

#ifdef FORM2AUDIT_WITH_OFFICE
// What the error grid shows, for the workbook: visible columns in display order, all rows.
GridSnapshot snapshotOf(DBGrid* grid)
{
    GridSnapshot s;
    s.font = grid->font();
    s.zeroCharWidthPx = grid->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    auto* header = grid->horizontalHeader();
    QList<int> columns;
    for (int v = 0; v < header->count(); ++v) {
        const int logical = header->logicalIndex(v);
        if (grid->isColumnHidden(logical))
            continue;
        columns << logical;
        s.titles
            << grid->model()->headerData(logical, Qt::Horizontal).toString().replace(u'|', u' ');
        s.pixelWidths << grid->columnWidth(logical);
        const Qt::Alignment a = grid->columnSpecs().value(logical).align;
        s.alignments << int(a & Qt::AlignHorizontal_Mask);
    }
    for (int r = 0; r < grid->model()->rowCount(); ++r) {
        QStringList row;
        for (int c : std::as_const(columns))
            row << grid->model()->index(r, c).data().toString();
        s.rows << row;
    }
    return s;
}
#endif

#ifdef FORM2AUDIT_WITH_OFFICE
// Runs `action` once, right after the first paint of the watched widget, so that what it
// starts never delays the window's first appearance.
class AfterFirstPaint : public QObject {
public:
    AfterFirstPaint(QWidget* watched, std::function<void()> action)
        : QObject(watched), m_action(std::move(action))
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && m_action) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [a = std::exchange(m_action, {})] { a(); });
        }
        return false;
    }

private:
    std::function<void()> m_action;
};
#endif

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
    QApplication app(argc, argv);
    app.installEventFilter(new LongHints(&app));
#ifdef Q_OS_UNIX
    quitOnTerminationSignals(app);
#endif
    SetFormatSettings();
    QApplication::setApplicationName(QStringLiteral("form2audit"));
    QApplication::setApplicationVersion(QStringLiteral(FORM2AUDIT_VERSION));

    SystemClock clock;
    QtMessageBoxes boxes;
    SystemKeyboardLayout keyboard;
    DesktopUrlOpener urls;
    Platform platform{&clock, &boxes, &keyboard, &urls};

    TMainF window(AppPaths::forApplication(), platform);
    boxes.setParent(&window);
#ifdef FORM2AUDIT_WITH_OFFICE
    // Destroyed before the application: it shuts the office down.
    OfficeService office(
        window.tables(), window.paths(), [&window] { return window.reportYear(); }, boxes, &window);
    window.PrintRepExcel = [&office](bool finalMode) { office.printReport(finalMode); };
    window.exportGridToSpreadsheet = [&office](DBGrid* grid, const QStringList& titles) {
        office.exportGrid(snapshotOf(grid), titles);
    };
    // The office starts while the user reads the window, so the first print needs no wait.
    new AfterFirstPaint(window.centralWidget(), [&office, &window] {
        office.startEarly(window.settings().GetPreStartOffice());
    });
#endif
    window.showMaximized();
    return app.exec();
}
