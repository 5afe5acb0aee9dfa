#include "model/ReportTables.h"

#include "model/FormTables.h"

ReportTables::ReportTables() : m_terr(createTerrTable()), m_err(createErrTable())
{
    for (int p = 0; p < RazdelCount; ++p)
        m_razdels[p] = createRazdelTable(p);
}

DataSet* ReportTables::FindDataSet(const QString& name) const
{
    for (const auto& t : m_razdels)
        if (t && t->name().compare(name, Qt::CaseInsensitive) == 0)
            return t.get();
    if (m_terr->name().compare(name, Qt::CaseInsensitive) == 0)
        return m_terr.get();
    if (m_err->name().compare(name, Qt::CaseInsensitive) == 0)
        return m_err.get();
    return nullptr;
}

DataSet* ReportTables::razdel(int position) const
{
    if (position < 0 || position >= RazdelCount)
        return nullptr;
    return m_razdels[position].get();
}
