#include "control/Control.h"

#include "control/ErrorList.h"
#include "control/QuietCursor.h"
#include "control/RazdelChecks.h"
#include "control/RekvizityChecks.h"
#include "model/DataSet.h"
#include "model/ReportTables.h"
#include "model/Settings.h"
#include "model/Totals.h"

using namespace Qt::StringLiterals;

namespace {

// The legal-entity flag of the requisites row; null, absent or unreadable reads false.
bool readIsUrLico(const ReportTables& tables)
{
    const DataSet* t = tables.FindDataSet(Razdels()[PosRekvizity].DataSetName);
    if (!t || !t->isOpen())
        return false;
    QuietCursor k(*t);
    const int f = k->fieldIndex(u"IsUrLico"_s);
    if (f < 0 || k->isEmpty())
        return false;
    try {
        return k->field(f).asBoolean();
    } catch (const DataSetError&) {
        return false; // a foreign file with a text that is no boolean
    }
}

} // namespace

QString ControlEnv::yearVstuplenMin() const
{
    return settings ? settings->GetYearVstuplenMin() : u"1990"_s;
}

QString ControlEnv::yearVstuplenMax() const
{
    return settings ? settings->GetYearVstuplenMax() : reportYear;
}

namespace {

void controlRazdel(int position, DataSet* table, ReportTables& tables, DataSet& err, int& e, int& w,
                   const ControlEnv& env, bool recalc)
{
    e = 0;
    w = 0;
    // Totals first, so the rules compare sums that have just been written.
    if (recalc)
        CalcRazdel(position, table);
    if (!table || !table->isOpen() || position < 0 || position >= RazdelCount)
        return;
    if (table->isEditing())
        table->post();
    const bool isUrLico = readIsUrLico(tables);

    ClearRazdelErr(err, Razdels()[position].Kod);
    const ErrSink sink{err, position, e, w};
    switch (position) {
    case PosRekvizity:
        ControlRekvizity(*table, isUrLico, env.today, sink);
        break;
    case PosRazdel1:
        ControlRazdel1(*table, tables, sink);
        break;
    case PosRazdel2:
        ControlRazdel2(*table, tables, sink);
        break;
    case PosRazdel3:
        ControlRazdel3(*table, tables, sink);
        break;
    case PosRazdel4:
        ControlRazdel4(*table, tables, sink);
        break;
    case PosQualityTest:
        ControlQualityTest(*table, sink);
        break;
    case PosMembership:
        ControlMembership(*table, MembershipYearLimits::from(env), sink);
        break;
    default:
        break;
    }
}

} // namespace

void ControlRazdel(int position, DataSet* table, ReportTables& tables, DataSet& err, int& e, int& w,
                   const ControlEnv& env)
{
    controlRazdel(position, table, tables, err, e, w, env, true);
}

void ControlAllRazdels(ReportTables& tables, DataSet& err, ControlCounts& counts,
                       const ControlEnv& env, int& allErr, int& allWarn)
{
    allErr = 0;
    allWarn = 0;
    // The relations between sections read other sections' totals, and a section only
    // recomputes its own when its turn comes. Bring them all up to date first, so that
    // totals loaded stale from a file give the same findings on the first run as later.
    // Nothing changes them between here and each section's rules.
    CalcAllRazdels(tables);
    for (int p = 0; p < RazdelCount; ++p) {
        int e = 0;
        int w = 0;
        controlRazdel(p, tables.FindDataSet(Razdels()[p].DataSetName), tables, err, e, w, env,
                      false);
        counts.RazdelErrCount[p] = e;
        counts.RazdelWarnCount[p] = w;
        allErr += e;
        allWarn += w;
    }
    counts.AllErrCount = allErr;
    counts.AllWarnCount = allWarn;
}
