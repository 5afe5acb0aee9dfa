// Where the time of a print preview goes, step by step, beside the bare office start:
// a separate `soffice --convert-to pdf`, the start of our headless office, and on a warm
// office the template load, the replacements, the PDF export and the page rendering.

#include "ReportFixtureSupport.h"
#include "model/AppPaths.h"
#include "model/FormatSettings.h"
#include "model/MessageBoxes.h"
#include "model/RazdelFiles.h"
#include "model/Razdels.h"
#include "model/ReportTables.h"
#include "print/GridExport.h"
#include "print/GridSnapshot.h"
#include "print/OfficeModule.h"
#include "print/PrintReport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <benchmark/benchmark.h>
#include <memory>
#include <poppler-qt6.h>

using namespace Qt::StringLiterals;

namespace {

class SilentBoxes final : public MessageBoxes {
public:
    void InfoBox(const QString&, const QString&) override {}
    bool AskYesNo(const QString&, const QString&) override { return false; }
};

class KeepPdf final : public PrintPreview {
public:
    QString copy;
    void show(const QString& pdfPath, const QString&) override
    {
        QFile::remove(copy);
        QFile::copy(pdfPath, copy);
    }
};

QString soffice()
{
    return qEnvironmentVariable("FORM2AUDIT_SOFFICE", u"/usr/lib/libreoffice/program/soffice"_s);
}

// A filled report, the templates and one office kept warm between benchmarks.
struct Env {
    QTemporaryDir dir;
    AppPaths paths{dir.filePath(u"form2audit"_s)};
    ReportTables tables;
    std::unique_ptr<OfficeModule> module;
    QString pdf;

    Env()
    {
        QDir().mkpath(paths.DataDir());
        QDir().mkpath(paths.TempDir());
        const QString from = QStringLiteral(F2A_TEST_DATA "/control/consistent_report/");
        for (const QString& f : QDir(from).entryList({u"*.XML"_s}, QDir::Files))
            QFile::copy(from + f, paths.DataDir() + f);
        for (int p = 0; p < RazdelCount; ++p)
            LoadRazdel(tables.razdel(p), paths, Razdels()[p].Kod, u"2009"_s);
        for (const QString& name : {u"Shablon.xls"_s, u"Shablon_Chernovik.xls"_s})
            QFile::copy(QStringLiteral(F2A_BIN_DIR "/") + name, dir.filePath(name));
        pdf = dir.filePath(u"filled.pdf"_s);
    }
    // An application on the office kept warm between benchmarks.
    std::unique_ptr<SpreadsheetApp> warmApp()
    {
        if (!module)
            module = std::make_unique<OfficeModule>(moduleFile(),
                                                    OfficeConfig{{}, paths.TempDir(), 20000});
        std::unique_ptr<SpreadsheetApp> app = module->newApp();
        app->create();
        return app;
    }
    static QString moduleFile() { return QStringLiteral(F2A_BIN_DIR "/form2audit_office.so"); }
};

Env& env()
{
    static Env e;
    return e;
}

// Runs `f` outside the timing.
template <typename F> void untimed(benchmark::State& state, F&& f)
{
    state.PauseTiming();
    f();
    state.ResumeTiming();
}

void BM_BareOfficeConvertToPdf(benchmark::State& state)
{
    Env& e = env();
    for (auto _ : state) {
        QTemporaryDir profile;
        QProcess p;
        p.start(soffice(),
                {u"--headless"_s, u"--norestore"_s,
                 u"-env:UserInstallation=file://"_s + profile.path(), u"--convert-to"_s, u"pdf"_s,
                 u"--outdir"_s, profile.path(), e.dir.filePath(u"Shablon.xls"_s)});
        p.waitForFinished(60000);
    }
}
BENCHMARK(BM_BareOfficeConvertToPdf)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

void BM_OfficeStart(benchmark::State& state)
{
    Env& e = env();
    for (auto _ : state) {
        OfficeModule m(Env::moduleFile(), OfficeConfig{{}, e.paths.TempDir(), 20000});
        m.newApp()->create();
        untimed(state, [&] { m.shutdown(); });
    }
}
BENCHMARK(BM_OfficeStart)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

void openDraft(SpreadsheetApp& app, Env& e)
{
    app.openWorkbook(e.paths.ShablonChernovikFileName());
    app.unprotectSheet(QString::fromUtf16(kShablonPassword));
}

void BM_WarmOpenTemplate(benchmark::State& state)
{
    Env& e = env();
    std::unique_ptr<SpreadsheetApp> own = e.warmApp();
    SpreadsheetApp& app = *own;
    for (auto _ : state) {
        openDraft(app, e);
        untimed(state, [&] { app.closeWorkbook(); });
    }
}
BENCHMARK(BM_WarmOpenTemplate)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

void BM_WarmReplacements(benchmark::State& state)
{
    Env& e = env();
    std::unique_ptr<SpreadsheetApp> own = e.warmApp();
    SpreadsheetApp& app = *own;
    const QList<MarkerValue> markers = ReportMarkers(e.tables, u"2009"_s);
    for (auto _ : state) {
        untimed(state, [&] { openDraft(app, e); });
        ReplaceAllInSheet(app, markers);
        untimed(state, [&] { app.closeWorkbook(); });
    }
    state.counters["markers"] = double(markers.size());
}
BENCHMARK(BM_WarmReplacements)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

void BM_WarmPdfExport(benchmark::State& state)
{
    Env& e = env();
    std::unique_ptr<SpreadsheetApp> own = e.warmApp();
    SpreadsheetApp& app = *own;
    const QList<MarkerValue> markers = ReportMarkers(e.tables, u"2009"_s);
    for (auto _ : state) {
        untimed(state, [&] {
            openDraft(app, e);
            ReplaceAllInSheet(app, markers);
        });
        app.storeAs(e.pdf, FileFormat::Pdf);
        untimed(state, [&] { app.closeWorkbook(); });
    }
}
BENCHMARK(BM_WarmPdfExport)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

// The resident memory of one process, in KiB, from its status file.
double vmRssKb(const QString& statusFile)
{
    QFile status(statusFile);
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& l : status.readAll().split('\n'))
        if (l.startsWith("VmRSS:"))
            return l.mid(6).trimmed().split(' ').value(0).toDouble();
    return 0;
}

// Resident memory of every process of a process group, in MiB.
double groupRssMb(qint64 group)
{
    double kb = 0;
    for (const QString& pid : QDir(u"/proc"_s).entryList(QDir::Dirs)) {
        QFile stat(u"/proc/"_s + pid + u"/stat"_s);
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (comm) state ppid pgrp ...": the fields after the command's closing bracket
        const QByteArray line = stat.readAll();
        const QList<QByteArray> f = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (f.size() >= 3 && f[2].toLongLong() == group)
            kb += vmRssKb(u"/proc/"_s + pid + u"/status"_s);
    }
    return kb / 1024;
}

double ownRssMb()
{
    return vmRssKb(u"/proc/self/status"_s) / 1024;
}

void renderAll(const QString& pdf, int dpi)
{
    std::unique_ptr<Poppler::Document> doc = Poppler::Document::load(pdf);
    doc->setRenderHint(Poppler::Document::Antialiasing);
    doc->setRenderHint(Poppler::Document::TextAntialiasing);
    for (int i = 0; i < doc->numPages(); ++i)
        benchmark::DoNotOptimize(doc->page(i)->renderToImage(dpi, dpi));
}

// A warm print from the click to the PDF handed to the preview (0) or on to the rendered
// pages of the preview (1), on the office kept from before.
void BM_WarmPreview(benchmark::State& state)
{
    Env& e = env();
    SilentBoxes boxes;
    KeepPdf keep;
    keep.copy = e.pdf;
    const bool render = state.range(0) != 0;
    for (auto _ : state) {
        std::unique_ptr<SpreadsheetApp> app = e.warmApp();
        PrintRepExcel(e.tables, e.paths, u"2009"_s, PrintMode::Preview, *app, boxes, keep);
        if (render)
            renderAll(e.pdf, 150);
    }
    // What the window and the office it keeps hold after previews.
    state.counters["office_rss_MiB"] = groupRssMb(e.module->opened()->processGroup());
    state.counters["own_rss_MiB"] = ownRssMb();
}
BENCHMARK(BM_WarmPreview)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();

// The error list as a workbook on a warm office, from the click to the file handed over.
void BM_WarmErrorListExport(benchmark::State& state)
{
    Env& e = env();
    const int records = int(state.range(0));
    const GridSnapshot g = errorListSnapshot(records);
    GridExportOptions options;
    options.progId = u"Excel.Application"_s;
    options.alignList = {u"-1"_s};
    options.headerShade = true;
    options.cellPrefix = u"'"_s;
    QTemporaryDir out;
    for (auto _ : state) {
        std::unique_ptr<SpreadsheetApp> app = e.warmApp();
        GridExportEnv env;
        env.app = app.get();
        env.tempDir = out.path();
        env.message = [&state](const QString& text, const QString&, bool) {
            state.SkipWithError(qPrintable(text));
        };
        env.handOver = [](const QString&) { return QString(); };
        ExportGridToExcel({u"Ошибки (всего - %1)"_s.arg(records)}, g, options, env);
    }
}
BENCHMARK(BM_WarmErrorListExport)
    ->Arg(300)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();

// Loading the module and asking for the early start: what runs on the window's thread right
// after its first paint.
void BM_EarlyStartCall(benchmark::State& state)
{
    Env& e = env();
    for (auto _ : state) {
        OfficeModule m(Env::moduleFile(), OfficeConfig{{}, e.paths.TempDir(), 20000});
        m.startEarly();
        untimed(state, [&] { m.shutdown(); });
    }
}
BENCHMARK(BM_EarlyStartCall)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// From the click to the pages of the preview, with the office started in the background when
// the window appeared 10 s earlier.
void BM_FirstPreviewTenSecondsAfterStart(benchmark::State& state)
{
    Env& e = env();
    SilentBoxes boxes;
    KeepPdf keep;
    keep.copy = e.pdf;
    for (auto _ : state) {
        state.PauseTiming();
        OfficeModule m(Env::moduleFile(), OfficeConfig{{}, e.paths.TempDir(), 20000});
        m.startEarly();
        QThread::sleep(10);
        state.ResumeTiming();
        {
            std::unique_ptr<SpreadsheetApp> app = m.newApp();
            PrintRepExcel(e.tables, e.paths, u"2009"_s, PrintMode::Preview, *app, boxes, keep);
        }
        renderAll(e.pdf, 150);
        state.PauseTiming();
        state.counters["starts"] = m.opened() ? m.opened()->startCount() : 0;
        m.shutdown();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstPreviewTenSecondsAfterStart)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->UseRealTime();

// Rendering every page of the filled form, at the resolution given.
void BM_RenderPages(benchmark::State& state)
{
    Env& e = env();
    if (!QFile::exists(e.pdf)) {
        state.SkipWithError("no PDF: run the warm benchmarks first");
        return;
    }
    const int dpi = int(state.range(0));
    for (auto _ : state)
        renderAll(e.pdf, dpi);
}
BENCHMARK(BM_RenderPages)->Arg(300)->Arg(150)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    SetFormatSettings();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    env().module.reset();
    return 0;
}
