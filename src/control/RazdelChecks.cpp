#include "control/RazdelChecks.h"

#include "control/Control.h"
#include "control/ErrorList.h"
#include "control/QuietCursor.h"
#include "model/CellTests.h"
#include "model/DataSet.h"
#include "model/FormatSettings.h"
#include "model/Razdels.h"
#include "model/ReportTables.h"

#include <initializer_list>

using namespace Qt::StringLiterals;

namespace {

const QString kKey = u"KodRow"_s;

// A sum as the sum routines return it, and its value for exact comparisons.
struct Amount {
    QString text;
    long double value = 0;
};

Amount amount(const QString& text)
{
    // Empty text (a row that does not exist) compares as 0.
    return {text, parseLongDouble(text).value_or(0)};
}

QString graf(int n)
{
    return u"Graf0"_s + QString::number(n);
}

QStringList codes(int from, int to)
{
    QStringList out;
    for (int i = from; i <= to; ++i)
        out << u"%1"_s.arg(i, 2, 10, QChar(u'0'));
    return out;
}

// Value of one row in column n.
Amount V(DataSet* t, const QString& row, int n)
{
    return amount(SumGrafByRows(t, kKey, graf(n), {row}));
}

// Sum of column n over the rows.
Amount S(DataSet* t, const QStringList& rows, int n)
{
    return amount(SumGrafByRows(t, kKey, graf(n), rows));
}

// Sum of the columns within one row.
Amount R(DataSet* t, const QString& row, std::initializer_list<int> columns)
{
    QStringList names;
    for (int n : columns)
        names << graf(n);
    return amount(SumGrafsOfRow(t, kKey, row, names));
}

DataSet* razdelTable(const ReportTables& tables, int position)
{
    return tables.FindDataSet(Razdels()[position].DataSetName);
}

// The quantities the relations between sections 2, 3 and 4 compare: revenue from
// audit, audited organisations, opinions issued.
Amount A2(DataSet* razdel2)
{
    return S(razdel2, {u"06"_s, u"07"_s, u"08"_s, u"09"_s}, 3);
}
Amount C3(DataSet* razdel3)
{
    return V(razdel3, u"12"_s, 3);
}
Amount D4(DataSet* razdel4)
{
    return S(razdel4, {u"29"_s, u"37"_s}, 3);
}

QString notFilled(int position)
{
    return u"Не заполнен "_s + Razdels()[position].Title;
}

QString cellText(DataSet& cursor, int fieldIndex)
{
    return fieldIndex < 0 ? QString() : cursor.field(fieldIndex).asString();
}

bool readBool(DataSet& cursor, const QString& fieldName)
{
    const int f = cursor.fieldIndex(fieldName);
    if (f < 0)
        return false;
    try {
        return cursor.field(f).asBoolean();
    } catch (const DataSetError&) {
        return false; // a foreign file with a text that is no boolean
    }
}

} // namespace

void ControlRazdel1(DataSet& table, const ReportTables& tables, const ErrSink& sink)
{
    DataSet* t = &table;
    if (IsRazdelEmpty(PosRazdel1, t)) {
        // With the other sections of figures empty as well the report is simply not
        // started yet, which is no reason to hold the user back.
        const bool othersEmpty = IsRazdelEmpty(PosRazdel2, razdelTable(tables, PosRazdel2)) &&
                                 IsRazdelEmpty(PosRazdel3, razdelTable(tables, PosRazdel3)) &&
                                 IsRazdelEmpty(PosRazdel4, razdelTable(tables, PosRazdel4));
        if (othersEmpty)
            sink.warning(notFilled(PosRazdel1), u"Graf03"_s, u"01"_s);
        else
            sink.error(notFilled(PosRazdel1), u"Graf03"_s, u"01"_s);
        return;
    }

    const Amount auditors = S(t, {u"03"_s, u"04"_s}, 3);
    if (V(t, u"02"_s, 3).value != auditors.value)
        sink.error(
            u"Численность аудиторов не равна суммарной численности аудиторов по договорам всех видов (строка 02 не равна сумме строк 03-04 (сумма = "_s +
                auditors.text + u" ) в графе 3)"_s,
            u"Graf03"_s, u"02"_s);

    for (int n : {3, 4}) {
        if (V(t, u"01"_s, n).value < V(t, u"02"_s, n).value)
            sink.error(
                u"Численность работников меньше численности аудиторов ( cтрока 01 меньше строки 02 в графе "_s +
                    QString::number(n) + u")"_s,
                graf(n), u"01"_s);
        // Row 01 filled while row 02 is 0 is deliberately not reported.
    }

    for (const QString& r : {u"01"_s, u"02"_s}) {
        if (V(t, r, 3).value != 0 && V(t, r, 4).value == 0)
            sink.error(u"В строке "_s + r + u" не заполнена графа 4, а графа 3 заполнена"_s,
                       u"Graf04"_s, r);
    }
}

void ControlRazdel2(DataSet& table, const ReportTables& tables, const ErrSink& sink)
{
    DataSet* t = &table;
    const bool empty = IsRazdelEmpty(PosRazdel2, t);
    if (empty)
        sink.warning(notFilled(PosRazdel2), u"Graf03"_s, u"05"_s);
    if (!empty && S(t, codes(5, 11), 4).value == 0)
        sink.warning(u"Не указан объем оказанных услуг за предыдущий год"_s, u"Graf04"_s, u"05"_s);

    for (int n : {3, 4}) {
        const QString col = QString::number(n);
        const Amount services = S(t, codes(6, 10), n);
        if (V(t, u"05"_s, n).value != services.value)
            sink.error(
                u"Полный объем услуг не равен сумме объемов всех видов услуг (строка 05 не равна сумме строк 06-10 (сумма = "_s +
                    services.text + u" )"_s + u" в графе "_s + col + u")"_s,
                graf(n), u"05"_s);
        if (V(t, u"10"_s, n).value < V(t, u"11"_s, n).value)
            sink.error(u"Строка 10 меньше строки 11 в графе "_s + col, graf(n), u"10"_s);
    }

    const Amount a2 = A2(t);
    const Amount c3 = C3(razdelTable(tables, PosRazdel3));
    const Amount d4 = D4(razdelTable(tables, PosRazdel4));
    if (a2.value != 0 && c3.value == 0)
        sink.crossError(u"Указан объем услуг от аудита - сумма строк 06..09 раздела 2 ( = "_s +
                            a2.text + u" ), но не указаны клиенты - строка 12 раздела 3"_s,
                        u"Graf03"_s, u"06"_s);
    if (a2.value != 0 && d4.value == 0)
        sink.crossError(
            u"Указан объем услуг от аудита - сумма строк 06..09 раздела 2 ( = "_s + a2.text +
                u" ), но не указано количество выданных заключений - сумма строк 29, 37 раздела 4"_s,
            u"Graf03"_s, u"06"_s);
}

void ControlRazdel3(DataSet& table, const ReportTables& tables, const ErrSink& sink)
{
    DataSet* t = &table;
    if (IsRazdelEmpty(PosRazdel3, t))
        sink.warning(notFilled(PosRazdel3), u"Graf03"_s, u"12"_s);

    const Amount c3 = C3(t);
    const Amount byRevenue = S(t, codes(13, 20), 3);
    if (c3.value != byRevenue.value)
        sink.error(
            u"Количество клиентов аудита не равно сумме клиентов, разделенных по объему выручки(cтрока 12 не равна сумме строк 13-20 (сумма = "_s +
                byRevenue.text + u" )"_s + u" в графе "_s + u"3"_s + u")"_s,
            u"Graf03"_s, u"12"_s);
    const Amount byActivity = S(t, codes(21, 28), 3);
    if (c3.value < byActivity.value)
        sink.error(
            u"Количество клиентов аудита меньше суммы клиентов по заданным видам деятельности (cтрока 12 меньше суммы строк 21-28 (сумма = "_s +
                byActivity.text + u" )"_s + u" в графе "_s + u"3"_s + u")"_s,
            u"Graf03"_s, u"12"_s);

    const Amount a2 = A2(razdelTable(tables, PosRazdel2));
    const Amount d4 = D4(razdelTable(tables, PosRazdel4));
    if (c3.value > d4.value)
        sink.crossError(
            u"Количество клиентов аудита - строка 12 раздела 3 ( ="_s + c3.text + u" )"_s +
                u" больше количества всех выданных аудиторских заключений - сумма строк 29 и 37 раздела 4 ( = "_s +
                d4.text + u" )"_s,
            u"Graf03"_s, u"12"_s);
    if (c3.value != 0 && a2.value == 0)
        sink.crossError(
            u"Указаны клиенты - строка 12 раздела 3 ( = "_s + c3.text +
                u" ), но не указан объем оказанных услуг в области аудита - сумма строк 06..09 раздела 2"_s,
            u"Graf03"_s, u"12"_s);
    if (c3.value == 0 && a2.value != 0)
        sink.crossError(u"Указан объем услуг от аудита - сумма строк 06..09 раздела 2 ( = "_s +
                            a2.text + u" ), но не указаны клиенты - строка 12 раздела 3"_s,
                        u"Graf03"_s, u"12"_s);
}

void ControlRazdel4(DataSet& table, const ReportTables& tables, const ErrSink& sink)
{
    DataSet* t = &table;
    if (IsRazdelEmpty(PosRazdel4, t))
        sink.warning(notFilled(PosRazdel4), u"Graf03"_s, u"29"_s);

    const Amount statutory = R(t, u"29"_s, {3});
    if (statutory.value == R(t, u"37"_s, {3}).value && statutory.value != 0)
        sink.warning(
            u"Количество выданных аудиторских заключений по обязательному аудиту равно количеству выданных аудиторских заключений по инициативному аудиту"_s,
            u"Graf03"_s, u"29"_s);

    for (int n = 3; n <= 9; ++n) {
        const Amount byClient = S(t, codes(30, 36), n);
        if (V(t, u"29"_s, n).value != byClient.value)
            sink.error(u"Строка 29 не равна сумме строк 30-36 (сумма = "_s + byClient.text +
                           u" )"_s + u" в графе "_s + QString::number(n),
                       graf(n), u"29"_s);
    }

    for (int row = 29; row <= 36; ++row) {
        const QString r = QString::number(row);
        const Amount all = R(t, r, {3});
        const Amount byOpinion = R(t, r, {4, 5, 6, 7});
        if (all.value != byOpinion.value)
            sink.error(u"В строке "_s + r + u" графа 3 не равна сумме граф 4-7"_s +
                           u" (сумма = "_s + byOpinion.text + u" )"_s,
                       u"Graf03"_s, r);
        const Amount parts = R(t, r, {8, 9});
        if (all.value < parts.value)
            sink.error(u"В строке "_s + r + u" графа 3 меньше суммы граф 8-9"_s + u" (сумма = "_s +
                           parts.text + u" )"_s,
                       u"Graf03"_s, r);
    }

    const Amount d4 = D4(t);
    const Amount c3 = C3(razdelTable(tables, PosRazdel3));
    const Amount a2 = A2(razdelTable(tables, PosRazdel2));
    if (d4.value < c3.value)
        sink.crossError(
            u"Количество всех выданных аудиторских заключений - сумма строк 29 и 37 раздела 4 ( = "_s +
                d4.text + u" )"_s +
                u" меньше количества клиентов аудита - строка 12 раздела 3 ( = "_s + c3.text +
                u" )"_s,
            u"Graf03"_s, u"29"_s);
    if (d4.value != 0 && a2.value == 0)
        sink.crossError(
            u"Указано количество выданных аудиторских заключений - сумма строк 29, 37 раздела 4 ( = "_s +
                d4.text +
                u" ), но не указан объем оказанных услуг в области аудита - сумма строк 06, 07, 08, 09 раздела 2"_s,
            u"Graf03"_s, u"29"_s);
    if (d4.value == 0 && a2.value != 0)
        sink.crossError(
            u"Указан объем услуг от аудита - сумма строк 06, 07, 08, 09 раздела 2 ( = "_s +
                a2.text +
                u" ), но не указано количество выданных заключений - сумма строк 29, 37 раздела 4"_s,
            u"Graf03"_s, u"29"_s);
}

void ControlQualityTest(DataSet& table, const ErrSink& sink)
{
    QuietCursor k(table);
    // ValueNo is calculated from ValueYes; both are read as they stand now.
    if (readBool(*k, u"ValueYes"_s) == readBool(*k, u"ValueNo"_s))
        sink.error(u"Во внешней проверке качества должно быть отмечено ДА или НЕТ"_s,
                   u"ValueYes"_s);
}

MembershipYearLimits MembershipYearLimits::from(const ControlEnv& env)
{
    auto limit = [](const QString& stored, const QString& fallback) -> std::optional<Limit> {
        for (const QString& text : {stored, fallback})
            if (const auto v = parseInt(text))
                return Limit{*v, text};
        return std::nullopt;
    };
    return {limit(env.yearVstuplenMin(), u"1990"_s), limit(env.yearVstuplenMax(), env.reportYear)};
}

void ControlMembership(DataSet& table, const MembershipYearLimits& limits, const ErrSink& sink)
{
    if (IsRazdelEmpty(PosMembership, &table)) {
        sink.warning(notFilled(PosMembership), u"Year"_s, u"1"_s);
        return;
    }
    QuietCursor k(table);
    // Walk in the user's row order: it decides the numbers of the findings.
    k->setIndexFieldNames(table.indexFieldNames());
    const int numField = k->fieldIndex(u"Num"_s);
    const int nameField = k->fieldIndex(u"NameRow"_s);
    const int kodField = k->fieldIndex(u"KodRow"_s);
    const int yearField = k->fieldIndex(u"Year"_s);
    const QString rowPrefix = u"В строке номер "_s;
    for (k->first(); !k->eof(); k->next()) {
        const QString name = trimBlanks(cellText(*k, nameField));
        const QString yearText = cellText(*k, yearField);
        const QString year = trimBlanks(yearText);
        if (name.isEmpty() && year.isEmpty())
            continue;
        const QString kodRow = cellText(*k, kodField);
        const bool userRow = membershipKod(kodRow) > 16; // names typed by the user
        const bool association = kodRow == u"20"_s;
        const QString no = cellText(*k, numField);

        if (userRow && !name.isEmpty() && year.isEmpty()) {
            sink.error(rowPrefix + no +
                           (association ? u"  указано ПАО, но не указан год вступления"_s
                                        : u"  указана сеть, но не указан год вступления"_s),
                       u"Year"_s, no);
            continue;
        }
        if (userRow && name.isEmpty() && !year.isEmpty())
            sink.error(rowPrefix + no +
                           (association ? u" указан год, но не указано ПАО"_s
                                        : u" указан год, но не указана сеть"_s),
                       u"NameRow"_s, no);
        if (year.isEmpty())
            continue;

        const std::optional<int> value = parseInt(year);
        if (!value) {
            // Only a foreign file can hold this; report it instead of stopping the run.
            sink.error(rowPrefix + no + u" год вступления ("_s + yearText +
                           u") не является целым числом"_s,
                       u"Year"_s, no);
            continue;
        }
        if (limits.min && *value < limits.min->value)
            sink.error(rowPrefix + no + u" год вступления ("_s + yearText + u")"_s + u" меньше "_s +
                           limits.min->text,
                       u"Year"_s, no);
        else if (limits.max && *value > limits.max->value)
            sink.error(rowPrefix + no + u" год вступления ("_s + yearText + u")"_s + u" больше "_s +
                           limits.max->text,
                       u"Year"_s, no);
    }
}
