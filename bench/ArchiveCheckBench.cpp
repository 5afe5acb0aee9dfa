#include "model/DataSet.h"
#include "model/Razdels.h"
#include "model/ReportTables.h"
#include "output/ArchiveCheck.h"
#include "output/ExportFile.h"
#include "support/RandomReport.h"

#include <QDate>
#include <QStringList>
#include <QTemporaryDir>
#include <atomic>
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <thread>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int kArchives = 10000;

// 10 000 submission archives of random reports, made once for all runs.
const QStringList& archives()
{
    static QTemporaryDir dir;
    static const QStringList files = [] {
        QStringList paths(kArchives);
        std::atomic<int> next{0};
        const auto make = [&] {
            for (int i = next++; i < kArchives; i = next++) {
                ReportTables t;
                std::mt19937 rng(unsigned(i) + 1);
                fillRandomReport(t, rng);
                DataSet& req = *t.razdel(PosRekvizity);
                req.first();
                req.edit();
                req.fieldByName(u"OGRN"_s).setAsString(QString::number(1000000000000LL + i));
                req.post();
                paths[i] = MakeRepFile(t, dir.path(), QString(), u"2009"_s,
                                       RepFileMode::Submission)
                               .archivePath;
            }
        };
        std::vector<std::thread> workers;
        for (unsigned w = 1; w < std::max(1u, std::thread::hardware_concurrency()); ++w)
            workers.emplace_back(make);
        make();
        for (std::thread& w : workers)
            w.join();
        return paths;
    }();
    return files;
}

double peakMemoryMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

// The check-archives run over all 10 000 archives with the given number of workers.
void BM_CheckArchives(benchmark::State& state)
{
    const QStringList& files = archives();
    const int threads = int(state.range(0));
    qsizetype opened = 0;
    for (auto _ : state) {
        const QList<ArchiveCheck> checks =
            CheckRepArchives(files, QDate(2010, 3, 15), nullptr, threads);
        opened = 0;
        for (const ArchiveCheck& c : checks)
            opened += c.opened ? 1 : 0;
        benchmark::DoNotOptimize(opened);
    }
    if (opened != files.size())
        state.SkipWithError("some archives did not open");
    const double perRun = double(files.size());
    state.counters["archives_per_s"] =
        benchmark::Counter(perRun * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["per_core_per_s"] = benchmark::Counter(
        perRun * double(state.iterations()) / threads, benchmark::Counter::kIsRate);
    state.counters["peak_rss_MiB"] = peakMemoryMiB();
}
BENCHMARK(BM_CheckArchives)
    ->Arg(1)
    ->Arg(2)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

} // namespace
