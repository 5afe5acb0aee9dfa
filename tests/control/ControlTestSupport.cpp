#include "control/ControlTestSupport.h"

#include "control/ErrorListText.h"
#include "model/DataSet.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

std::vector<Cell> validRekvizity()
{
    const int p = PosRekvizity;
    return {
        {p, {}, u"IsUrLico"_s, true},
        {p, {}, u"FullName"_s, u"Общество с ограниченной ответственностью \"Аудит-Плюс\""_s},
        {p, {}, u"name"_s, u"ООО \"Аудит-Плюс\""_s},
        {p, {}, u"UrAdress"_s, u"125009, г. Москва, ул. Тверская, д. 1"_s},
        {p, {}, u"Address"_s, u"125009, г. Москва, ул. Тверская, д. 1"_s},
        {p, {}, u"OKPO"_s, u"12345678"_s},
        {p, {}, u"OGRN"_s, u"1027700132195"_s},
        {p, {}, u"TelFax"_s, u"(495) 123-45-67"_s},
        {p, {}, u"email"_s, u"audit@example.ru"_s},
        {p, {}, u"rukovod"_s, u"Иванов Иван Иванович"_s},
        {p, {}, u"FIOotv"_s, u"Петрова Анна Сергеевна"_s},
        {p, {}, u"PositionOtv"_s, u"Главный бухгалтер"_s},
        {p, {}, u"telOtv"_s, u"(495) 123-45-68"_s},
        {p, {}, u"DataSost"_s, QDate(2010, 3, 1)},
    };
}

std::vector<Cell> consistentFigures()
{
    const QString g3 = u"Graf03"_s, g4 = u"Graf04"_s, g5 = u"Graf05"_s, g8 = u"Graf08"_s;
    return {
        // Section 1: row 02 = 03 + 04 = 10 in column 3.
        {PosRazdel1, u"01"_s, g3, 25},
        {PosRazdel1, u"01"_s, g4, 24.5},
        {PosRazdel1, u"02"_s, g4, 9.5},
        {PosRazdel1, u"03"_s, g3, 8},
        {PosRazdel1, u"03"_s, g4, 7.5},
        {PosRazdel1, u"04"_s, g3, 2},
        {PosRazdel1, u"04"_s, g4, 2},
        // Section 2: audit revenue A2 = 1700.5.
        {PosRazdel2, u"06"_s, g3, 1500.5},
        {PosRazdel2, u"07"_s, g3, 200},
        {PosRazdel2, u"10"_s, g3, 300.5},
        {PosRazdel2, u"11"_s, g3, 100},
        {PosRazdel2, u"06"_s, g4, 1400},
        {PosRazdel2, u"10"_s, g4, 250},
        {PosRazdel2, u"11"_s, g4, 50},
        // Section 3: 10 audited organisations, 7 of them in listed activities.
        {PosRazdel3, u"13"_s, g3, 3},
        {PosRazdel3, u"14"_s, g3, 5},
        {PosRazdel3, u"15"_s, g3, 2},
        {PosRazdel3, u"22"_s, g3, 4},
        {PosRazdel3, u"28"_s, g3, 3},
        // Section 4: 10 statutory and 2 voluntary opinions.
        {PosRazdel4, u"30"_s, g4, 5},
        {PosRazdel4, u"30"_s, g5, 1},
        {PosRazdel4, u"35"_s, g4, 4},
        {PosRazdel4, u"35"_s, g8, 1},
        {PosRazdel4, u"37"_s, g3, 2},
        {PosQualityTest, {}, u"ValueYes"_s, true},
        {PosMembership, u"1"_s, u"Year"_s, 2003},
    };
}

ControlCounts runControl(ReportTables& tables, const Settings* settings)
{
    ControlCounts counts;
    int e = 0;
    int w = 0;
    ControlAllRazdels(tables, tables.err(), counts, ControlEnv{kTestToday, settings, kTestYear}, e,
                      w);
    return counts;
}

QStringList errLines(const DataSet& err, const QString& kod)
{
    QStringList out;
    for (const QString& line : ErrorListLines(err))
        if (kod.isEmpty() || line.startsWith(kod + u'\t'))
            out << line;
    return out;
}
