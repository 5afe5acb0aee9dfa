// Window timings: start-up with seven filled section files, and one cell post with its save.

#include "dialogs/ShowDialog.h"
#include "model/AppPaths.h"
#include "model/Clock.h"
#include "model/FixedClock.h"
#include "model/FormatSettings.h"
#include "model/MessageBoxes.h"
#include "model/RazdelFiles.h"
#include "model/Razdels.h"
#include "model/UrlOpener.h"
#include "platform/KeyboardLayout.h"
#include "workspace/DBGrid.h"
#include "workspace/TMainF.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

class SilentBoxes final : public MessageBoxes {
public:
    void InfoBox(const QString&, const QString&) override {}
    bool AskYesNo(const QString&, const QString&) override { return true; }
};
class NoKeyboard final : public KeyboardLayout {
public:
    void activate(const QString&) override {}
};
class NoUrls final : public UrlOpener {
public:
    bool open(const QUrl&) override { return true; }
};

struct Env {
    QTemporaryDir dir;
    AppPaths paths{dir.path() + u"/form2audit"_s};
    FixedClock clock{QDate(2010, 3, 15)};
    SilentBoxes boxes;
    NoKeyboard keyboard;
    NoUrls urls;
    Platform platform{&clock, &boxes, &keyboard, &urls};

    Env()
    {
        const QString from = QStringLiteral(F2A_TEST_DATA "/control/consistent_report");
        for (const QString& f : QDir(from).entryList({u"*.XML"_s}, QDir::Files))
            QFile::copy(from + u'/' + f, paths.DataDir() + f);
    }
};

void BM_StartMainWindow(benchmark::State& state)
{
    Env env;
    for (auto _ : state) {
        TMainF w(env.paths, env.platform);
        w.show();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_StartMainWindow)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_PostCellWithSave(benchmark::State& state)
{
    Env env;
    TMainF w(env.paths, env.platform);
    w.show();
    w.selectRazdel(PosRazdel3);
    DataSet* t = w.currentDataSet();
    int value = 1;
    for (auto _ : state) {
        t->setRecNo(5);
        t->edit();
        t->fieldByName(u"Graf03"_s).setAsInteger(value++ % 9000 + 1);
        t->post(); // normalises, recomputes the totals and saves the section
    }
}
BENCHMARK(BM_PostCellWithSave)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SetFormatSettings();
    setDialogRunner([](QDialog&) { return int(QDialog::Rejected); });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
