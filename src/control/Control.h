#pragma once

#include "model/Razdels.h"

#include <QDate>
#include <QString>
#include <array>

class DataSet;
class ReportTables;
class Settings;

// Counts of the last completed control run, by section position.
struct ControlCounts {
    std::array<int, RazdelCount> RazdelErrCount{};
    std::array<int, RazdelCount> RazdelWarnCount{};
    int AllErrCount = 0;
    int AllWarnCount = 0;
};

// What the rules need from outside the report.
struct ControlEnv {
    QDate today;                        // the compiling date may not be later
    const Settings* settings = nullptr; // null: every setting takes its default
    QString reportYear;                 // default of the latest year of joining

    // Limits of the year of joining, as stored.
    QString yearVstuplenMin() const;
    QString yearVstuplenMax() const;
};

// Checks one section: recomputes its totals, replaces its records in the error list
// with the findings of its rules, and leaves their numbers of errors and warnings in
// `e` and `w`. A missing or closed table, or a position outside 0..6, keeps the
// section's old records and counts nothing.
void ControlRazdel(int position, DataSet* table, ReportTables& tables, DataSet& err, int& e, int& w,
                   const ControlEnv& env);

// Checks every section in position order and fills `counts`; `allErr` and `allWarn`
// receive the totals.
void ControlAllRazdels(ReportTables& tables, DataSet& err, ControlCounts& counts,
                       const ControlEnv& env, int& allErr, int& allWarn);
