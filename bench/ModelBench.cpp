#include "model/AppPaths.h"
#include "model/Datapacket.h"
#include "model/FormTables.h"
#include "model/RazdelFiles.h"
#include "model/Razdels.h"
#include "model/Totals.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

// Every input cell of a section filled with a small number.
void fillSection(DataSet& t)
{
    for (t.first(); !t.eof(); t.next()) {
        t.edit();
        for (int f = 0; f < t.fieldCount(); ++f) {
            const FieldDef& d = t.fieldDefs()[f];
            if (d.isCalculated())
                continue;
            if (d.type == FieldType::Integer && d.name != u"Num"_s)
                t.field(f).setAsInteger(t.recNo() + f);
            else if (d.type == FieldType::Float || d.type == FieldType::Money)
                t.field(f).setAsFloat(t.recNo() * 1.5);
        }
        t.post();
    }
}

void BM_SaveSection(benchmark::State& state)
{
    QTemporaryDir dir;
    AppPaths paths(dir.path() + u"/form2audit"_s);
    const int pos = int(state.range(0));
    auto t = createRazdelTable(pos);
    fillSection(*t);
    for (auto _ : state)
        SaveRazdel(t.get(), paths, Razdels()[pos].Kod, u"2009"_s);
    state.SetLabel(Razdels()[pos].Kod.toStdString());
}
BENCHMARK(BM_SaveSection)->DenseRange(0, 6)->Unit(benchmark::kMicrosecond);

void BM_LoadSection(benchmark::State& state)
{
    QTemporaryDir dir;
    AppPaths paths(dir.path() + u"/form2audit"_s);
    const int pos = int(state.range(0));
    auto t = createRazdelTable(pos);
    fillSection(*t);
    SaveRazdel(t.get(), paths, Razdels()[pos].Kod, u"2009"_s);
    for (auto _ : state) {
        const auto r = LoadRazdel(t.get(), paths, Razdels()[pos].Kod, u"2009"_s);
        benchmark::DoNotOptimize(r.loaded);
    }
    state.SetLabel(Razdels()[pos].Kod.toStdString());
}
BENCHMARK(BM_LoadSection)->DenseRange(0, 6)->Unit(benchmark::kMicrosecond);

void BM_CalcRazdel4(benchmark::State& state)
{
    auto t = createRazdelTable(PosRazdel4);
    fillSection(*t);
    for (auto _ : state)
        CalcRazdel(PosRazdel4, t.get());
}
BENCHMARK(BM_CalcRazdel4)->Unit(benchmark::kMicrosecond);

void BM_Load10000Rows(benchmark::State& state)
{
    DataSet big(u"Big"_s, {integerField(u"Num"_s), stringField(u"NameRow"_s, 255),
                           stringField(u"KodRow"_s, 255), moneyField(u"Sum"_s), dateField(u"Day"_s)});
    std::vector<RowValues> rows;
    for (int i = 0; i < 10000; ++i)
        rows.push_back({i, u"Строка номер %1 с кавычками \"и\" <знаками>"_s.arg(i), u"%1"_s.arg(i % 90),
                        i * 0.1, QDate(2009, 1, 1).addDays(i % 365)});
    big.loadData(big.fieldDefs(), std::move(rows));
    QTemporaryDir dir;
    const QString file = dir.path() + u"/big.XML"_s;
    saveTableToFile(big, file);
    DataSet target(u"Target"_s);
    for (auto _ : state)
        loadTableFromFile(target, file);
    state.SetLabel(std::to_string(target.recordCount()) + " rows");
}
BENCHMARK(BM_Load10000Rows)->Unit(benchmark::kMillisecond);

} // namespace
