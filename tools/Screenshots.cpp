// Renders the main window with a sample report, section by section, into PNG files
// (the pictures of the README). Usage: form2audit_screens DATA_DIR OUT_DIR

#include "dialogs/ShowDialog.h"
#include "model/AppPaths.h"
#include "model/Clock.h"
#include "model/FixedClock.h"
#include "model/FormatSettings.h"
#include "model/MessageBoxes.h"
#include "model/Razdels.h"
#include "model/UrlOpener.h"
#include "platform/KeyboardLayout.h"
#include "workspace/TMainF.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {
class QuietBoxes final : public MessageBoxes {
public:
    void InfoBox(const QString&, const QString&) override {}
    bool AskYesNo(const QString&, const QString&) override { return false; }
};
class NoKeyboard final : public KeyboardLayout {
public:
    void activate(const QString&) override {}
};
class NoUrls final : public UrlOpener {
public:
    bool open(const QUrl&) override { return false; }
};
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 3)
        return 2;
    SetFormatSettings();
    setDialogRunner([](QDialog&) { return int(QDialog::Rejected); });
    QTemporaryDir dir;
    AppPaths paths(dir.path() + u"/form2audit"_s);
    const QString from = QString::fromLocal8Bit(argv[1]);
    for (const QString& f : QDir(from).entryList({u"*.XML"_s}, QDir::Files))
        QFile::copy(from + u'/' + f, paths.DataDir() + f);
    FixedClock clock(QDate(2010, 3, 15));
    QuietBoxes boxes;
    NoKeyboard keyboard;
    NoUrls urls;
    TMainF w(paths, {&clock, &boxes, &keyboard, &urls});
    w.resize(1280, 860);
    w.show();
    const QString out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(out);
    auto shot = [&](const QString& name) {
        QApplication::processEvents();
        w.grab().save(out + u'/' + name);
    };
    shot(u"window-requisites.png"_s);
    w.selectRazdel(PosRazdel2);
    shot(u"window-section2.png"_s);
    w.selectRazdel(PosRazdel4);
    w.findChild<QAction*>(u"Act_LogControl_All"_s)->trigger();
    shot(u"window-section4-errors.png"_s);
    return 0;
}
