#pragma once

#include <QString>
#include <optional>

class DataSet;
class ReportTables;
struct ControlEnv;
struct ErrSink;

// The rules of sections 1 to 4. Each reads its own table and, for the relations
// between sections 2, 3 and 4, the other sections' tables as they stand.
void ControlRazdel1(DataSet& table, const ReportTables& tables, const ErrSink& sink);
void ControlRazdel2(DataSet& table, const ReportTables& tables, const ErrSink& sink);
void ControlRazdel3(DataSet& table, const ReportTables& tables, const ErrSink& sink);
void ControlRazdel4(DataSet& table, const ReportTables& tables, const ErrSink& sink);

// The external quality review: exactly one of the two answers must be ticked.
void ControlQualityTest(DataSet& table, const ErrSink& sink);

// Accepted years of joining, inclusive. A limit whose setting is no integer falls back
// to its default; a missing limit does not bound.
struct MembershipYearLimits {
    struct Limit {
        int value;
        QString text; // as inserted into messages
    };
    std::optional<Limit> min;
    std::optional<Limit> max;

    static MembershipYearLimits from(const ControlEnv& env);
};

// The membership in professional associations and international networks.
void ControlMembership(DataSet& table, const MembershipYearLimits& limits, const ErrSink& sink);
