#include "control/ControlTestSupport.h"

#include "TestSupport.h"
#include "control/RekvizityChecks.h"
#include "model/DataSet.h"
#include "model/FormTables.h"
#include "model/Razdels.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The "00" lines after a run over valid requisites with some cells changed.
QStringList rekvizityLines(const std::vector<Cell>& changes)
{
    ReportTables t;
    setCells(t, validRekvizity());
    setCells(t, changes);
    runControl(t);
    return errLines(t.err(), u"00"_s);
}

QString line(char kind, const QString& field, const QString& msg)
{
    return u"00\t"_s + QLatin1Char(kind) + u"\t1\t"_s + field + u"\t\t0\t"_s + msg;
}

} // namespace

TEST(Rekvizity, ValidRequisitesGiveNoRecord)
{
    EXPECT_EQ(rekvizityLines({}), QStringList());
}

TEST(Rekvizity, FirstFailingRuleOfAFieldReports)
{
    struct Case {
        bool urLico;
        QString field;
        QVariant value;
        char kind; // 0: no record
        QString msg;
    } cases[] = {
        {true, u"FullName"_s, u"   "_s, 'E',
         u"Не указано наименование аудиторской организации (ФИО индивидуального аудитора)"_s},
        {true, u"name"_s, u" "_s, 'E', u"Не указано наименование аудиторской организации"_s},
        {false, u"name"_s, {}, 0, {}},
        {false, u"name"_s, u"ИП"_s, 'E',
         u"У индивидуального предпринимателя краткое наименование должно быть пустым"_s},
        {true, u"UrAdress"_s, {}, 'E', u"Не указан юридический адрес"_s},
        {true, u"Address"_s, u"\t"_s, 'E', u"Не указан  почтовый адрес"_s},
        // OKUD
        {true, u"OKUD"_s, {}, 'E', u"Не указан код формы по ОКУД"_s},
        {true, u"OKUD"_s, u"06097111"_s, 'E', u"Код формы по ОКУД должен содержать 7 знаков"_s},
        {true, u"OKUD"_s, u" 609711"_s, 'E', u"Код формы по ОКУД должен содержать только цифры"_s},
        {true, u"OKUD"_s, u"0000000"_s, 'E',
         u"Код формы по ОКУД не может состоять из одних нулей"_s},
        // OKPO: 8 digits for a legal entity, 8 or 10 for an individual
        {true, u"OKPO"_s, u"    "_s, 'W', u"Не указан код по ОКПО"_s},
        {true, u"OKPO"_s, u"0123456789"_s, 'E', u"Код по ОКПО должен содержать 8 знаков"_s},
        {false, u"OKPO"_s, u"0123456789"_s, 0, {}},
        {false, u"OKPO"_s, u"012345678"_s, 'E', u"Код по ОКПО должен содержать 8 или 10 знаков"_s},
        {true, u"OKPO"_s, u" 1234567"_s, 'E', u"Код по ОКПО должен содержать только цифры"_s},
        {false, u"OKPO"_s, u"0000000000"_s, 'E', u"Код по ОКПО не может состоять из одних нулей"_s},
        // OGRN: 13 digits for a legal entity, 15 for an individual
        {true, u"OGRN"_s, u"304770000000172"_s, 'E', u"В ОГРН должно быть 13 знаков"_s},
        {false, u"OGRN"_s, u"1027700132195"_s, 'E', u"В ОГРН должно быть 15 знаков"_s},
        {true, u"OGRN"_s, u"102770013219O"_s, 'E', u"В ОГРН должны быть только цифры"_s},
        {true, u"OGRN"_s, u"0000000000000"_s, 'E', u"В ОГРН не могут быть одни нули"_s},
        {true, u"OGRN"_s, u"0027700132195"_s, 'E',
         u"ОГРН юридического лица не может начинаться с 0,3 и 4"_s},
        {true, u"OGRN"_s, u"3027700132195"_s, 'E',
         u"ОГРН юридического лица не может начинаться с 0,3 и 4"_s},
        {true, u"OGRN"_s, u"4027700132195"_s, 'E',
         u"ОГРН юридического лица не может начинаться с 0,3 и 4"_s},
        {false, u"OGRN"_s, u"104770000000172"_s, 'E',
         u"ОГРН индивидуального предпрининмателя должно начинаться 3"_s},
        {true, u"OGRN"_s, u"1027700132194"_s, 'W', u"ОГРН некорректен"_s},
        {true, u"OGRN"_s, u"1027700132241"_s, 'W', u"ОГРН некорректен"_s},
        {false, u"OGRN"_s, u"304770000000171"_s, 'W', u"ОГРН некорректен"_s},
        // the other blank-field records are in the empty_report case
        // the compiling date, today being 15.03.2010
        {true, u"DataSost"_s, QDate(2010, 3, 15), 0, {}},
        {true, u"DataSost"_s, QDate(2010, 3, 16), 'E',
         u"Дата составления документа не может быть больше текущей даты (15.03.2010)"_s},
        {true, u"DataSost"_s, QDate(2008, 12, 31), 'E',
         u"Год даты составления документа не может быть меньше 2009 года"_s},
        {true, u"DataSost"_s, QDate(2009, 1, 1), 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field.toStdString() + " = " + c.value.toString().toStdString());
        const QStringList lines = rekvizityLines(
            {{PosRekvizity, {}, u"IsUrLico"_s, c.urLico},
             {PosRekvizity, {}, u"name"_s, c.urLico ? u"ООО"_s : QVariant()},
             {PosRekvizity, {}, u"OKPO"_s, c.urLico ? u"12345678"_s : u"0123456789"_s},
             {PosRekvizity, {}, u"OGRN"_s, c.urLico ? u"1027700132195"_s : u"304770000000127"_s},
             {PosRekvizity, {}, c.field, c.value}});
        if (c.kind == 0)
            EXPECT_EQ(lines, QStringList());
        else
            EXPECT_EQ(lines, QStringList{line(c.kind, c.field, c.msg)});
    }
}

TEST(Rekvizity, EmptyRowOfAnIndividual)
{
    ReportTables t;
    setCell(*t.razdel(0), 0, {}, u"IsUrLico"_s, false);
    runControl(t);
    const QStringList lines = errLines(t.err(), u"00"_s);
    QStringList fields;
    for (const QString& l : lines)
        fields << l.section(u'\t', 1, 3);
    // No short-name error for an individual; the built-in OKUD passes.
    EXPECT_EQ(fields, (QStringList{u"E\t1\tFullName"_s, u"E\t2\tUrAdress"_s, u"E\t3\tAddress"_s,
                                   u"E\t4\tOGRN"_s, u"E\t5\tTelFax"_s, u"E\t6\trukovod"_s,
                                   u"E\t7\tFIOotv"_s, u"E\t8\tPositionOtv"_s, u"E\t9\ttelOtv"_s,
                                   u"E\t10\tDataSost"_s, u"W\t1\tOKPO"_s, u"W\t2\temail"_s}));
}

TEST(Rekvizity, NullFlagReadsAsIndividual)
{
    EXPECT_EQ(rekvizityLines({{PosRekvizity, {}, u"IsUrLico"_s, QVariant()}}),
              QStringList{line(
                  'E', u"name"_s,
                  u"У индивидуального предпринимателя краткое наименование должно быть пустым"_s)} +
                  QStringList{u"00\tE\t2\tOGRN\t\t0\tВ ОГРН должно быть 15 знаков"_s});
}

TEST(Rekvizity, ForeignTableWithTextDateAndMissingField)
{
    // A requisites file from elsewhere: the date held as text, no e-mail field.
    ReportTables t;
    setCells(t, validRekvizity());
    DataSet& r = *t.razdel(PosRekvizity);
    QList<FieldDef> fields;
    std::vector<RowValues> rows(r.rows().size());
    for (int f = 0; f < r.fieldCount(); ++f) {
        const FieldDef& d = r.fieldDefs()[f];
        if (d.name == u"email"_s)
            continue;
        fields << (d.name == u"DataSost"_s ? stringField(d.name, 20) : d);
        for (size_t i = 0; i < rows.size(); ++i)
            rows[i] << r.rows()[i].values[f];
    }
    rows[0][fields.size() - 1] = u"2010-03-01"_s;
    r.loadData(fields, std::move(rows));
    runControl(t);
    EXPECT_EQ(errLines(t.err(), u"00"_s),
              QStringList{line('E', u"DataSost"_s,
                               u"Дата составления документа имеет неправильный формат"_s)});
}

TEST(Rekvizity, OgrnCheckDigit)
{
    struct Case {
        QString ogrn;
        bool ok;
    } cases[] = {
        {u"1027700132195"_s, true},    {u"1027700132194"_s, false},
        {u"1027700132240"_s, true},   // 102770013224 mod 11 = 10 -> 0
        {u"1027700132241"_s, false},  // 10 itself never matches a digit
        {u"304770000000172"_s, true}, // 30477000000017 mod 13 = 12 -> 2
        {u"304770000000127"_s, true}, // beyond 32 bits: 30477000000012 mod 13 = 7
        {u"304770000000122"_s, false}, {u"12"_s, false},
        {u"10277001321a5"_s, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsOgrnCheckDigitOk(c.ogrn), c.ok) << c.ogrn.toStdString();
}
