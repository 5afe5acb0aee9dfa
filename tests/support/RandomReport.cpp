#include "RandomReport.h"
#include "ReportCells.h"

#include "model/DataSet.h"
#include "model/Razdels.h"
#include "model/ReportTables.h"
#include "model/Totals.h"

#include <QDate>

using namespace Qt::StringLiterals;

namespace {

const QString kLetters = u"абвгдеёжзийклмнопрстуфхцчшщъыьэюяАБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЭЮЯ"
                         u"abcdefghijklmnopqrstuvwxyzQWERTY0123456789"_s;
const QString kPunct = u" |=.,;:-\"'()/№«»&<>\\\t"_s;

int pick(std::mt19937& rng, int lo, int hi)
{
    return std::uniform_int_distribution<int>(lo, hi)(rng);
}

bool chance(std::mt19937& rng, int percent)
{
    return pick(rng, 1, 100) <= percent;
}

QString randomText(std::mt19937& rng, int maxLen, bool lineBreaks)
{
    const int len = pick(rng, 1, maxLen);
    QString s;
    if (chance(rng, 20))
        s += u"  "_s; // leading blanks
    while (s.size() < len) {
        const int kind = pick(rng, 0, 99);
        if (kind < 75)
            s += kLetters[pick(rng, 0, int(kLetters.size()) - 1)];
        else if (kind < 95)
            s += kPunct[pick(rng, 0, int(kPunct.size()) - 1)];
        else if (lineBreaks) {
            // A continuation starts with a letter: never like a key or a record.
            const QString breaks[] = {u"\r\nж"_s, u"\n"_s, u"\rж"_s};
            s += breaks[pick(rng, 0, 2)];
        }
    }
    if (chance(rng, 20))
        s += u" "_s; // trailing blank
    return s.left(maxLen);
}

QVariant maybe(std::mt19937& rng, const QVariant& value)
{
    return chance(rng, 15) ? QVariant() : value;
}

} // namespace

void fillRandomReport(ReportTables& tables, std::mt19937& rng, const RandomReportOptions& o)
{
    DataSet& r = *tables.razdel(PosRekvizity);
    const auto text = [&](int maxLen) { return maybe(rng, randomText(rng, maxLen, o.lineBreaks)); };
    setCell(r, 1, u"IsUrLico"_s, chance(rng, 70));
    setCell(r, 1, u"FullName"_s, text(120));
    setCell(r, 1, u"name"_s, text(60));
    setCell(r, 1, u"UrAdress"_s, text(100));
    setCell(r, 1, u"Address"_s, text(100));
    setCell(r, 1, u"KodGAI"_s, maybe(rng, pick(rng, 1, 89)));
    setCell(r, 1, u"OKPO"_s, maybe(rng, QString::number(pick(rng, 10000000, 99999999))));
    setCell(r, 1, u"OGRN"_s,
            maybe(rng, u"10%1%2"_s.arg(pick(rng, 100000, 999999)).arg(pick(rng, 10000, 99999))));
    setCell(r, 1, u"TelFax"_s, text(40));
    setCell(r, 1, u"email"_s, text(40));
    setCell(r, 1, u"rukovod"_s, text(80));
    setCell(r, 1, u"FIOotv"_s, text(80));
    setCell(r, 1, u"PositionOtv"_s, text(80));
    setCell(r, 1, u"telOtv"_s, text(40));
    setCell(r, 1, u"DataSost"_s, maybe(rng, QDate(2009, 1, 1).addDays(pick(rng, 0, 500))));

    DataSet& s1 = *tables.razdel(PosRazdel1);
    for (int row = 1; row <= 4; ++row) {
        setCell(s1, row, u"Graf03"_s, maybe(rng, pick(rng, 1, 400)));
        if (row <= 2)
            setCell(s1, row, u"Graf04"_s,
                    maybe(rng, pick(rng, 1, 4000) / (chance(rng, 50) ? 10.0 : 1.0)));
    }
    DataSet& s2 = *tables.razdel(PosRazdel2);
    for (int row = 1; row <= 7; ++row)
        for (const QString& g : {u"Graf03"_s, u"Graf04"_s})
            setCell(s2, row, g,
                    maybe(rng, pick(rng, -50, 999999) / (chance(rng, 60) ? 10.0 : 1.0)));
    DataSet& s3 = *tables.razdel(PosRazdel3);
    for (int row = 1; row <= 17; ++row)
        setCell(s3, row, u"Graf03"_s, maybe(rng, pick(rng, 1, 300)));
    DataSet& s4 = *tables.razdel(PosRazdel4);
    for (int row = 1; row <= 9; ++row)
        for (int g = 3; g <= (row == 9 ? 3 : 9); ++g)
            setCell(s4, row, u"Graf0%1"_s.arg(g), maybe(rng, pick(rng, 1, 200)));
    setCell(*tables.razdel(PosQualityTest), 1, u"ValueYes"_s, chance(rng, 50));

    // Named associations keep their rows; others and networks fill their free rows from
    // the first, as a restored report does.
    DataSet& m = *tables.razdel(PosMembership);
    for (int row = 1; row <= 5; ++row)
        if (chance(rng, 40))
            setCell(m, row, u"Year"_s, pick(rng, 0, 2009));
    for (int first : {6, 11}) {
        const int count = pick(rng, 0, 5);
        for (int row = first; row < first + count; ++row) {
            setCell(m, row, u"NameRow"_s, QString(randomText(rng, 100, o.lineBreaks) + u'x'));
            setCell(m, row, u"Year"_s, pick(rng, 1990, 2009));
        }
    }
    if (o.totals)
        CalcAllRazdels(tables);
}
