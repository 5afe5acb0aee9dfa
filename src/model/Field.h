#pragma once

#include "model/FieldDef.h"

#include <QDate>
#include <QString>
#include <QVariant>
#include <optional>

class DataSet;

// A handle to one field of a cursor: reads and writes the cursor's current row.
class Field {
public:
    Field(DataSet* dataSet, int index) : m_ds(dataSet), m_index(index) {}

    const FieldDef& def() const;
    const QString& fieldName() const { return def().name; }
    int index() const { return m_index; }
    DataSet& dataSet() const { return *m_ds; }

    QVariant value() const;
    bool isNull() const;
    QString asString() const;
    int asInteger() const;
    double asFloat() const;
    bool asBoolean() const;
    QDate asDate() const;

    void setValue(const QVariant& value);
    void setAsString(const QString& text);
    void setAsInteger(int value);
    void setAsFloat(double value);
    void setAsBoolean(bool value);
    void setAsDate(const QDate& value);
    void clear();

    void focusControl() const;
    void setValidChars(std::optional<QString> chars);
    bool acceptsChar(QChar c) const;

private:
    DataSet* m_ds;
    int m_index;
};
