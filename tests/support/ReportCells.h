#pragma once

#include "DataSet.h"
#include "ReportTables.h"

#include <QString>
#include <QVariant>

// Writes one cell of a table's record through its own cursor and posts it.
inline void setCell(DataSet& t, int recNo, const QString& field, const QVariant& value)
{
    t.setRecNo(recNo);
    t.edit();
    t.fieldByName(field).setValue(value);
    t.post();
}

// The text of one cell, read through a second cursor in the table's order.
inline QString cellText(const ReportTables& t, int pos, int recNo, const QString& field)
{
    auto k = t.razdel(pos)->clone();
    k->setIndexFieldNames(t.razdel(pos)->indexFieldNames());
    k->setRecNo(recNo);
    return k->fieldByName(field).asString();
}
