#pragma once

#include "control/Control.h"
#include "model/ReportTables.h"
#include "support/ReportCells.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

// The reporting year and the day the tests run the control on.
inline const QString kTestYear = QStringLiteral("2009");
inline const QDate kTestToday{2010, 3, 15};

// Requisites that pass every rule for a legal entity.
std::vector<Cell> validRekvizity();
// Sections 1 to 4, the quality review and one membership row, consistent once the
// totals are computed.
std::vector<Cell> consistentFigures();

// A full run with the test date and year and default settings.
ControlCounts runControl(ReportTables& tables, const Settings* settings = nullptr);
// The error list in the check command's line format, restricted to one section's code
// when `kod` is given.
QStringList errLines(const DataSet& err, const QString& kod = {});
