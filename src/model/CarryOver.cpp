#include "model/CarryOver.h"

#include "control/ErrorListText.h"
#include "model/DataSet.h"
#include "model/Razdels.h"
#include "model/ReportFiles.h"
#include "model/ReportTables.h"
#include "model/Totals.h"

using namespace Qt::StringLiterals;

namespace {

// The requisites that stay from year to year; the date the form is drawn up does not.
const char16_t* const kRequisites[] = {
    u"IsUrLico", u"name",    u"FullName", u"Address",     u"UrAdress",
    u"KodGAI",   u"OKUD",    u"OKPO",     u"OGRN",        u"TelFax",
    u"email",    u"rukovod", u"FIOotv",   u"PositionOtv", u"telOtv",
};
const char16_t* const kMembership[] = {u"NameRow", u"KodRow", u"Year"};
const char16_t* const kRazdel2Rows[] = {u"06", u"07", u"08", u"09", u"10", u"11"};

bool isEmptyValue(const QVariant& v)
{
    return v.isNull() || !v.isValid() ||
           (v.typeId() == QMetaType::QString && v.toString().isEmpty());
}

class Carrier {
public:
    Carrier(CarryOverMode mode, CarryOverResult& result) : m_mode(mode), m_result(result) {}

    // Copies one value from the previous year's current row into this year's current row.
    void copy(int position, const QString& row, DataSet& from, const QString& fromField,
              DataSet& to, const QString& toField)
    {
        const auto source = from.findField(fromField);
        auto target = to.findField(toField);
        if (!source || !target || source->isNull())
            return;
        const QVariant value = source->value();
        if (m_mode == CarryOverMode::EmptyCellsOnly && !isEmptyValue(target->value()))
            return;
        if (!target->isNull() && target->asString() == source->asString())
            return;
        to.edit();
        target->setValue(value);
        to.post();
        m_result.cells.append({position, row, target->fieldName(), target->asString()});
    }

private:
    CarryOverMode m_mode;
    CarryOverResult& m_result;
};

std::unique_ptr<DataSet> cursor(const ReportTables& tables, int position)
{
    auto k = tables.razdel(position)->clone();
    k->first();
    return k;
}

} // namespace

CarryOverResult CarryOver(const ReportTables& previous, ReportTables& current, CarryOverMode mode)
{
    CarryOverResult result;
    Carrier carrier(mode, result);

    {
        auto from = cursor(previous, PosRekvizity);
        auto to = cursor(current, PosRekvizity);
        if (!from->eof() && !to->eof())
            for (const char16_t* f : kRequisites)
                carrier.copy(PosRekvizity, QString(), *from, QString::fromUtf16(f), *to,
                             QString::fromUtf16(f));
    }
    {
        auto from = cursor(previous, PosRazdel2);
        auto to = cursor(current, PosRazdel2);
        for (const char16_t* row : kRazdel2Rows) {
            const QString kod = QString::fromUtf16(row);
            if (from->locate(u"KodRow"_s, {kod}) && to->locate(u"KodRow"_s, {kod}))
                carrier.copy(PosRazdel2, kod, *from, u"Graf03"_s, *to, u"Graf04"_s);
        }
    }
    {
        auto from = cursor(previous, PosMembership);
        auto to = cursor(current, PosMembership);
        for (; !from->eof(); from->next()) {
            const QVariant num = from->fieldByName(u"Num"_s).value();
            if (num.isNull() || !to->locate(u"Num"_s, {num}))
                continue;
            // A row holding another association this year keeps all its cells.
            const QString name = to->fieldByName(u"NameRow"_s).asString();
            if (!name.trimmed().isEmpty() && name != from->fieldByName(u"NameRow"_s).asString())
                continue;
            for (const char16_t* f : kMembership)
                carrier.copy(PosMembership, num.toString(), *from, QString::fromUtf16(f), *to,
                             QString::fromUtf16(f));
        }
    }

    CalcRazdel(PosRazdel2, current.razdel(PosRazdel2));
    for (int p = 0; p < RazdelCount; ++p)
        if (current.razdel(p)->changeCount() > 0)
            result.changedPositions << p;
    return result;
}

std::optional<CarryOverResult> CarryOverFiles(const AppPaths& paths, const QString& year,
                                              CarryOverMode mode)
{
    const QString previousYear = PreviousYear(year);
    if (!HasReportFiles(paths, previousYear))
        return std::nullopt;
    ReportTables previous;
    LoadReportFiles(previous, paths, previousYear);
    ReportTables current;
    LoadReportFiles(current, paths, year);
    CarryOverResult result = CarryOver(previous, current, mode);
    if (mode == CarryOverMode::NewYear)
        SaveReportFiles(current, paths, year);
    else if (!result.changedPositions.isEmpty())
        SaveReportFiles(current, paths, year, result.changedPositions);
    return result;
}

QStringList CarryOverLines(const CarryOverResult& result)
{
    QStringList lines;
    for (const CarriedCell& c : result.cells)
        lines << QStringList{Razdels()[c.position].Kod, c.row, c.field, escapeLineText(c.value)}
                     .join(u'\t');
    return lines;
}

QString CarryOverSummary(const CarryOverResult& result, const QString& previousYear)
{
    return u"Перенесено значений из отчёта за %1 год: %2"_s.arg(previousYear)
        .arg(result.cells.size());
}

QString CarryOverMessage(const CarryOverResult& result, const QString& previousYear)
{
    if (result.cells.isEmpty())
        return u"Из отчёта за %1 год переносить нечего: все переносимые ячейки уже заполнены"_s.arg(
            previousYear);
    QString text = CarryOverSummary(result, previousYear);
    for (int p = 0; p < RazdelCount; ++p) {
        qsizetype n = 0;
        for (const CarriedCell& c : result.cells)
            n += c.position == p ? 1 : 0;
        if (n > 0)
            text += u"\n\r"_s + Razdels()[p].ListCaption + u": "_s + QString::number(n);
    }
    return text;
}

QString CarryOverQuestion(const QString& previousYear, const QString& year)
{
    return u"Данных отчёта за %1 год ещё нет.\n\r"
           u"Перенести из отчёта за %2 год реквизиты, сведения о членстве в объединениях\n\r"
           u"и объём услуг за %2 год (графа 4 раздела 2)"_s.arg(year, previousYear);
}
