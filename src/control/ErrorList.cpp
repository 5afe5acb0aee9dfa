#include "control/ErrorList.h"

#include "control/QuietCursor.h"
#include "model/DataSet.h"
#include "model/FormatSettings.h"
#include "model/Razdels.h"

using namespace Qt::StringLiterals;

namespace {

bool hasRows(const DataSet* table)
{
    return table && table->isOpen() && !table->isEmpty();
}

// Text of a field of the cursor's row; empty when the table has no such field.
QString cellText(DataSet& cursor, int fieldIndex)
{
    return fieldIndex < 0 ? QString() : cursor.field(fieldIndex).asString();
}

// A figure holds a value when its text is not empty: a null number reads as empty
// text, and posted rows never keep a typed 0.
bool anyRowHolds(const DataSet* table, const QStringList& columns)
{
    if (!hasRows(table))
        return false;
    QuietCursor k(*table);
    std::vector<int> idx;
    for (const QString& c : columns)
        idx.push_back(k->fieldIndex(c));
    for (k->first(); !k->eof(); k->next())
        for (int i : idx)
            if (!cellText(*k, i).isEmpty())
                return true;
    return false;
}

bool membershipHolds(const DataSet* table)
{
    if (!hasRows(table))
        return false;
    QuietCursor k(*table);
    const int kod = k->fieldIndex(u"KodRow"_s);
    const int name = k->fieldIndex(u"NameRow"_s);
    const int year = k->fieldIndex(u"Year"_s);
    for (k->first(); !k->eof(); k->next()) {
        // Codes up to 16 are the listed associations with built-in names: only a year
        // counts there.
        const bool hasYear = !trimBlanks(cellText(*k, year)).isEmpty();
        if (membershipKod(cellText(*k, kod)) <= 16) {
            if (hasYear)
                return true;
        } else if (hasYear || !trimBlanks(cellText(*k, name)).isEmpty()) {
            return true;
        }
    }
    return false;
}

} // namespace

QString trimBlanks(const QString& text)
{
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && text[b] <= u' ')
        ++b;
    while (e > b && text[e - 1] <= u' ')
        --e;
    return text.mid(b, e - b);
}

int membershipKod(const QString& kodRow)
{
    return parseInt(kodRow).value_or(0);
}

void AddErr(const QString& msg, bool isWarning, int position, const QString& fieldName,
            const QString& kodRowValue, DataSet& err, int& e, int& w, bool mayExit)
{
    const TRazdel& r = Razdels()[position];
    QuietCursor k(err);
    k->append();
    k->fieldByName(u"ErrorName"_s).setAsString(msg);
    k->fieldByName(u"ErrorNum"_s).setAsInteger(isWarning ? ++w : ++e);
    k->fieldByName(u"RazdelKod"_s).setAsString(r.Kod);
    k->fieldByName(u"RazdelName"_s).setAsString(r.Title);
    k->fieldByName(u"KodRow_FieldName"_s).setAsString(r.KeyFieldName);
    k->fieldByName(u"FieldName"_s).setAsString(fieldName);
    k->fieldByName(u"KodRow_Value"_s).setAsString(kodRowValue);
    k->fieldByName(u"IsWarning"_s).setAsBoolean(isWarning);
    k->fieldByName(u"RazdelInd"_s).setAsInteger(position);
    k->fieldByName(u"MayExitFromRazdel"_s).setAsBoolean(mayExit);
    k->post();
}

bool ClearRazdelErr(DataSet& err, const QString& kod)
{
    err.setFiltered(false);
    err.disableControls();
    const int kodField = err.fieldIndex(u"RazdelKod"_s);
    err.first();
    while (!err.eof()) {
        if (err.field(kodField).asString() == kod)
            err.deleteRecord();
        else
            err.next();
    }
    err.enableControls();
    return true;
}

bool CanExitFromRazdel(int position, DataSet& err)
{
    QuietCursor k(err);
    return !k->locate(u"RazdelInd;MayExitFromRazdel;IsWarning"_s, {position, false, false});
}

bool IsRazdelEmpty(int position, DataSet* table)
{
    if (!hasRows(table))
        return true;
    switch (position) {
    case PosRazdel1:
    case PosRazdel2:
        return !anyRowHolds(table, {u"Graf03"_s, u"Graf04"_s});
    case PosRazdel3:
        return !anyRowHolds(table, {u"Graf03"_s});
    case PosRazdel4:
        return !anyRowHolds(table, {u"Graf03"_s, u"Graf04"_s, u"Graf05"_s, u"Graf06"_s, u"Graf07"_s,
                                    u"Graf08"_s, u"Graf09"_s});
    case PosMembership:
        return !membershipHolds(table);
    default:
        return false;
    }
}
