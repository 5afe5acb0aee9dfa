#pragma once

#include "model/DataSet.h"
#include "model/Razdels.h"

#include <array>
#include <memory>

// The eight tables of a report: the seven sections with their built-in rows,
// the regions list and the error list.
class ReportTables {
public:
    ReportTables();

    // The table with the given component name, nullptr when there is none.
    DataSet* FindDataSet(const QString& name) const;
    // The table of the section at a position 0..6, nullptr otherwise.
    DataSet* razdel(int position) const;
    DataSet& terr() const { return *m_terr; }
    DataSet& err() const { return *m_err; }

private:
    std::array<std::unique_ptr<DataSet>, RazdelCount> m_razdels;
    std::unique_ptr<DataSet> m_terr;
    std::unique_ptr<DataSet> m_err;
};
