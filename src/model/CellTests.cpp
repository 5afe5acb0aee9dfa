#include "model/CellTests.h"

#include "model/DataSet.h"
#include "model/FormatSettings.h"

namespace {

// A second cursor with display updates suspended for the length of a scope.
class QuietClone {
public:
    explicit QuietClone(DataSet& source) : m_clone(source.clone()) { m_clone->disableControls(); }
    ~QuietClone() { m_clone->enableControls(); }
    DataSet* operator->() const { return m_clone.get(); }
    DataSet& operator*() const { return *m_clone; }

private:
    std::unique_ptr<DataSet> m_clone;
};

bool addCell(DataSet& cursor, int column, long double& sum)
{
    const QString text = cursor.field(column).asString();
    if (!IsNumberText(text))
        return false;
    sum += *parseLongDouble(text);
    return true;
}

} // namespace

bool IsNumberText(const QString& text)
{
    return parseFloat(text).has_value();
}

bool IsIntegerText(const QString& text)
{
    return parseInt(text).has_value();
}

bool IsDateText(const QString& text)
{
    return parseDate(text).has_value();
}

bool IsDigitsOnly(const QString& text)
{
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

QString SumGrafByRows(DataSet* table, const QString& keyField, const QString& column,
                      const QStringList& rowCodes)
{
    long double sum = 0;
    if (table && table->isOpen()) {
        QuietClone k(*table);
        const int col = k->fieldIndex(column);
        for (const QString& code : rowCodes)
            if (k->locate(keyField, {code}, true) && col >= 0)
                addCell(*k, col, sum);
    }
    return formatFloat(sum);
}

QString SumGrafsOfRow(DataSet* table, const QString& keyField, const QString& rowCode,
                      const QStringList& columns)
{
    if (!table || !table->isOpen())
        return {};
    QuietClone k(*table);
    if (!k->locate(keyField, {rowCode}, true))
        return {};
    long double sum = 0;
    for (const QString& column : columns) {
        const int col = k->fieldIndex(column);
        if (col >= 0)
            addCell(*k, col, sum);
    }
    return formatFloat(sum);
}
