#include "model/DataSet.h"
#include "model/Razdels.h"
#include "model/ReportTables.h"
#include "output/ExportFile.h"

#include <QDate>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

void set(DataSet& t, int recNo, const QString& field, const QVariant& value)
{
    t.setRecNo(recNo);
    t.edit();
    t.fieldByName(field).setValue(value);
    t.post();
}

// A report with every section filled, as a real submission would be.
void fillReport(ReportTables& t)
{
    DataSet& r = *t.razdel(PosRekvizity);
    set(r, 1, u"FullName"_s, u"Общество с ограниченной ответственностью \"Аудит-Консалтинг\""_s);
    set(r, 1, u"name"_s, u"ООО \"Аудит-Консалтинг\""_s);
    set(r, 1, u"UrAdress"_s, u"101000, г. Москва, ул. Мясницкая, д. 1"_s);
    set(r, 1, u"Address"_s, u"101000, г. Москва, а/я 15"_s);
    set(r, 1, u"KodGAI"_s, 77);
    set(r, 1, u"OKPO"_s, u"12345678"_s);
    set(r, 1, u"OGRN"_s, u"1333333339955"_s);
    set(r, 1, u"TelFax"_s, u"(495) 123-45-67"_s);
    set(r, 1, u"rukovod"_s, u"Иванов Иван Иванович"_s);
    set(r, 1, u"DataSost"_s, QDate(2009, 3, 5));
    for (int row = 1; row <= 4; ++row) {
        set(*t.razdel(PosRazdel1), row, u"Graf03"_s, 10 + row);
        set(*t.razdel(PosRazdel1), row, u"Graf04"_s, 9.5 + row);
    }
    for (int row = 1; row <= 7; ++row) {
        set(*t.razdel(PosRazdel2), row, u"Graf03"_s, 1000.0 * row + 0.5);
        set(*t.razdel(PosRazdel2), row, u"Graf04"_s, 900.0 * row);
    }
    for (int row = 1; row <= 17; ++row)
        set(*t.razdel(PosRazdel3), row, u"Graf03"_s, row);
    for (int row = 1; row <= 9; ++row)
        for (int g = 3; g <= 9; ++g)
            set(*t.razdel(PosRazdel4), row, u"Graf0%1"_s.arg(g), row + g);
    set(*t.razdel(PosQualityTest), 1, u"ValueYes"_s, true);
    for (int row = 1; row <= 15; row += 2) {
        set(*t.razdel(PosMembership), row, u"NameRow"_s, u"Объединение %1"_s.arg(row));
        set(*t.razdel(PosMembership), row, u"Year"_s, 2000 + row);
    }
}

void BM_MakeRepFileSubmission(benchmark::State& state)
{
    ReportTables tables;
    fillReport(tables);
    QTemporaryDir dir;
    const QString exportDir = dir.filePath(u"Export"_s);
    const QString tempDir = dir.filePath(u"Temp"_s);
    for (auto _ : state) {
        const RepFileResult r =
            MakeRepFile(tables, exportDir, tempDir, u"2008"_s, RepFileMode::Submission);
        benchmark::DoNotOptimize(r.checksum);
    }
}
BENCHMARK(BM_MakeRepFileSubmission)->Unit(benchmark::kMillisecond);

void BM_MakeRepFileChecksumOnly(benchmark::State& state)
{
    ReportTables tables;
    fillReport(tables);
    QTemporaryDir dir;
    const QString exportDir = dir.filePath(u"Export"_s);
    const QString tempDir = dir.filePath(u"Temp"_s);
    for (auto _ : state) {
        const RepFileResult r =
            MakeRepFile(tables, exportDir, tempDir, u"2008"_s, RepFileMode::ChecksumOnly);
        benchmark::DoNotOptimize(r.checksum);
    }
}
BENCHMARK(BM_MakeRepFileChecksumOnly)->Unit(benchmark::kMillisecond);

} // namespace
