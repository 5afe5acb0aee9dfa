#include "AppPaths.h"
#include "Clock.h"
#include "FormatSettings.h"
#include "KeyboardLayout.h"
#include "MessageBoxes.h"
#include "TMainF.h"
#include "UrlOpener.h"

#include <QApplication>
#include <QHelpEvent>
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

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    app.installEventFilter(new LongHints(&app));
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
    window.showMaximized();
    return app.exec();
}
