#include "control/Control.h"
#include "model/DataSet.h"
#include "model/ReportTables.h"

#include <QDate>
#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

void put(DataSet& t, const QString& field, const QVariant& value)
{
    t.edit();
    t.fieldByName(field).setValue(value);
    t.post();
}

// Every cell a user can type filled in; the totals are left to the control.
void fillReport(ReportTables& tables)
{
    DataSet& r = *tables.razdel(PosRekvizity);
    r.first();
    const std::pair<const char16_t*, QVariant> rekv[] = {
        {u"FullName", u"Общество с ограниченной ответственностью \"Аудит\""_s},
        {u"name", u"ООО \"Аудит\""_s},
        {u"UrAdress", u"г. Москва, ул. Тверская, д. 1"_s},
        {u"Address", u"г. Москва, ул. Тверская, д. 1"_s},
        {u"OKPO", u"12345678"_s},
        {u"OGRN", u"1027700132195"_s},
        {u"TelFax", u"123-45-67"_s},
        {u"email", u"audit@example.ru"_s},
        {u"rukovod", u"Иванов И. И."_s},
        {u"FIOotv", u"Петрова А. С."_s},
        {u"PositionOtv", u"Бухгалтер"_s},
        {u"telOtv", u"123-45-68"_s},
        {u"DataSost", QDate(2010, 3, 1)},
    };
    for (const auto& [field, value] : rekv)
        put(r, QString::fromUtf16(field), value);

    for (int p = PosRazdel1; p <= PosRazdel4; ++p) {
        DataSet& t = *tables.razdel(p);
        for (t.first(); !t.eof(); t.next())
            for (int f = 0; f < t.fieldCount(); ++f) {
                const QString name = t.fieldDefs()[f].name;
                if (name.startsWith(u"Graf"_s))
                    put(t, name, t.recNo() + f);
            }
    }
    put(*tables.razdel(PosQualityTest), u"ValueYes"_s, true);
    DataSet& m = *tables.razdel(PosMembership);
    for (m.first(); !m.eof(); m.next()) {
        if (m.recNo() > 5)
            put(m, u"NameRow"_s, u"Объединение %1"_s.arg(m.recNo()));
        put(m, u"Year"_s, 1995 + m.recNo());
    }
}

void BM_ControlAllRazdels(benchmark::State& state)
{
    ReportTables tables;
    fillReport(tables);
    const ControlEnv env{QDate(2010, 3, 15), nullptr, u"2009"_s};
    ControlCounts counts;
    int errors = 0;
    int warnings = 0;
    for (auto _ : state) {
        ControlAllRazdels(tables, tables.err(), counts, env, errors, warnings);
        benchmark::DoNotOptimize(errors);
    }
    state.counters["records"] = double(tables.err().recordCount());
}
BENCHMARK(BM_ControlAllRazdels)->Unit(benchmark::kMicrosecond);

} // namespace
