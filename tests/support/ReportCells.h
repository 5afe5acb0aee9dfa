#pragma once

#include "model/DataSet.h"
#include "model/Field.h"
#include "model/Razdels.h"
#include "model/ReportTables.h"

#include <QString>
#include <QVariant>
#include <stdexcept>
#include <vector>

// Building reports in tests: cells written through the tables' own cursors and posted, as
// an edit in the window would. Header-only, so every test program can use it; a row that
// does not exist throws, which fails the test in either framework.

// Writes one cell of a table's record (1-based, table order) and posts it.
inline void setCell(DataSet& t, int recNo, const QString& field, const QVariant& value)
{
    t.setRecNo(recNo);
    t.edit();
    t.fieldByName(field).setValue(value);
    t.post();
}

// One cell of a report: the section position, the row (KodRow in sections 1 to 4, Num
// in the membership table, empty for the single-row tables), the field and its value
// (a null QVariant clears the cell).
struct Cell {
    int pos;
    QString row;
    QString field;
    QVariant value;
};

// Writes one cell by its row and posts it.
inline void setCell(DataSet& table, int pos, const QString& row, const QString& field,
                    const QVariant& value)
{
    bool found = true;
    if (pos == PosMembership)
        found = table.locate(QStringLiteral("Num"), {row.toInt()});
    else if (!row.isEmpty())
        found = table.locate(QStringLiteral("KodRow"), {row});
    else
        table.first();
    if (!found)
        throw std::invalid_argument("no row " + row.toStdString() + " in table " +
                                    std::to_string(pos));
    table.edit();
    table.fieldByName(field).setValue(value);
    table.post();
}

inline void setCells(ReportTables& tables, const std::vector<Cell>& cells)
{
    for (const Cell& c : cells)
        setCell(*tables.razdel(c.pos), c.pos, c.row, c.field, c.value);
}

// Writes a field of the table's current record as the user's text (a flag as a flag).
inline void setField(DataSet& table, const QString& field, const QVariant& value)
{
    table.edit();
    if (value.typeId() == QMetaType::Bool)
        table.fieldByName(field).setAsBoolean(value.toBool());
    else
        table.fieldByName(field).setAsString(value.toString());
    table.post();
}

// The text of one cell, read through a second cursor in the table's order.
inline QString cellText(const ReportTables& t, int pos, int recNo, const QString& field)
{
    auto k = t.razdel(pos)->clone();
    k->setIndexFieldNames(t.razdel(pos)->indexFieldNames());
    k->setRecNo(recNo);
    return k->fieldByName(field).asString();
}
