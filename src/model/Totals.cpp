#include "model/Totals.h"

#include "model/CellTests.h"
#include "model/DataSet.h"
#include "model/Razdels.h"
#include "model/ReportTables.h"

#include <vector>

using namespace Qt::StringLiterals;

namespace {

struct TotalCell {
    QString row;
    QString column;
    QStringList rows;    // rows summed in `column`; empty: sum `columns` of `row`
    QStringList columns; // columns summed within `row`
};

QStringList codes(int from, int to)
{
    QStringList out;
    for (int i = from; i <= to; ++i)
        out << u"%1"_s.arg(i, 2, 10, QChar(u'0'));
    return out;
}

std::vector<TotalCell> totalsOf(int position)
{
    switch (position) {
    case PosRazdel1:
        return {{u"02"_s, u"Graf03"_s, codes(3, 4), {}}};
    case PosRazdel2:
        return {{u"05"_s, u"Graf03"_s, codes(6, 10), {}}, {u"05"_s, u"Graf04"_s, codes(6, 10), {}}};
    case PosRazdel3:
        return {{u"12"_s, u"Graf03"_s, codes(13, 20), {}}};
    case PosRazdel4: {
        std::vector<TotalCell> out;
        for (int g = 4; g <= 9; ++g)
            out.push_back({u"29"_s, u"Graf%1"_s.arg(g, 2, 10, QChar(u'0')), codes(30, 36), {}});
        const QStringList parts = {u"Graf04"_s, u"Graf05"_s, u"Graf06"_s, u"Graf07"_s};
        for (const QString& row : codes(29, 36))
            out.push_back({row, u"Graf03"_s, {}, parts});
        return out;
    }
    default:
        return {};
    }
}

} // namespace

void CalcRazdel(int position, DataSet* table)
{
    const auto totals = totalsOf(position);
    if (totals.empty() || !table)
        return;
    if (table->state() == DataSetState::Edit)
        table->post();
    // Reads and writes go through a second cursor so the user's row and grid stay put.
    auto k = table->clone();
    k->disableControls();
    try {
        for (const TotalCell& t : totals) {
            const QString s = t.rows.isEmpty()
                                  ? SumGrafsOfRow(k.get(), u"KodRow"_s, t.row, t.columns)
                                  : SumGrafByRows(k.get(), u"KodRow"_s, t.column, t.rows);
            if (!k->locate(u"KodRow"_s, {t.row}, true))
                continue; // a table without its built-in total row
            if (!k->isEditing())
                k->edit();
            if (s == u"0"_s)
                k->fieldByName(t.column).clear();
            else
                k->fieldByName(t.column).setAsString(s);
        }
        if (k->isEditing())
            k->post();
    } catch (...) {
        k->cancel();
        k->enableControls();
        throw;
    }
    k->enableControls();
}

void CalcAllRazdels(ReportTables& tables)
{
    for (int p = 0; p < RazdelCount; ++p)
        CalcRazdel(p, tables.FindDataSet(Razdels()[p].DataSetName));
}
