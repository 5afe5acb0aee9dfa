#pragma once

#include "model/FieldDef.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <vector>

// A filter: comparisons of a field with a literal joined by "and", e.g.
// "RazdelKod='01' and IsWarning=false".
struct FilterExpression {
    enum class Op { Eq, Ne, Lt, Le, Gt, Ge };
    struct Condition {
        QString fieldName;
        Op op = Op::Eq;
        QVariant literal; // QString, double or bool
    };
    std::vector<Condition> conditions;

    // Throws DataSetError on a text it cannot read.
    static FilterExpression parse(const QString& text);
    // `fieldIndex` resolves a name against the table, -1 when absent.
    bool matches(const QList<FieldDef>& fields, const QVector<QVariant>& values,
                 const std::vector<int>& fieldIndexes) const;
};
