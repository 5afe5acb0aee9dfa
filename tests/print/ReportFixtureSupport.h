#pragma once

#include "model/ReportTables.h"
#include "print/GridSnapshot.h"
#include "support/ReportCells.h"

#include <QString>
#include <QStringList>

// A legal entity's (or individual's) requisites and a few figures in every section.
void fillReport(ReportTables& tables, bool legalEntity);
// Fills the first `count` membership records with names, codes and years.
void fillMembers(ReportTables& tables, int count);
// Every field at the longest value its editor takes: requisites, every figure of every
// section, and all membership records.
void fillLongest(ReportTables& tables);
// The error list as the window's grid shows it, with `records` numbered errors; the second
// reads "007", a text that must not turn into a number.
GridSnapshot errorListSnapshot(int records);
