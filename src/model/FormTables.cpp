#include "model/FormTables.h"

#include "model/Razdels.h"

using namespace Qt::StringLiterals;

namespace {

struct BuiltInRow {
    QString kod;
    QString name;
};

struct Region {
    int kod;
    QString name;
};

const BuiltInRow kRows1[] = {
    {u"01"_s, u"Численность (списочная и несписочная) работников - всего"_s},
    {u"02"_s, u"              из них аудиторов (сумма строк 03-04)"_s},
    {u"03"_s, u"                        в том числе: аудиторы, работающие по трудовому договору"_s},
    {u"04"_s,
     u"                                             аудиторы, работающие по гражданско-правовым договорам"_s},
};
const BuiltInRow kRows2[] = {
    {u"05"_s,
     u"Объем услуг (без НДС и аналогичных обязательных платежей) - всего (сумма строк 06-10)"_s},
    {u"06"_s, u"      в том числе: общий аудит"_s},
    {u"07"_s,
     u"                             аудит кредитных организаций, банковских групп и банковских холдингов (банковский аудит)"_s},
    {u"08"_s,
     u"                             аудит страховых организаций и обществ взаимного страхования (аудит страховщиков)"_s},
    {u"09"_s,
     u"                             аудит бирж, внебюджетных фондов и инвестиционных институтов"_s},
    {u"10"_s, u"                             прочие услуги"_s},
    {u"11"_s,
     u"                                    из них организациям, в которых проведен аудит"_s},
};
const BuiltInRow kRows3[] = {
    {u"12"_s, u"Количество организаций, в которых проведен аудит - всего (сумма строк 13-20)"_s},
    {u"13"_s,
     u"       в том числе количество организаций, выручка (нетто) которых от продажи товаров, продукции,  работ, услуг (за минусом НДС, акцизов и аналогичных обязательных платежей)   составляет: мене 1 млн. руб."_s},
    {u"14"_s, u"                           от 1 до 20 млн. руб."_s},
    {u"15"_s, u"                           от 20 до 200 млн. руб."_s},
    {u"16"_s, u"                           от 200 до 500 млн. руб."_s},
    {u"17"_s, u"                           от 500 до 1000 млн. руб.."_s},
    {u"18"_s, u"                           от 1000 до 2000 млн. руб.."_s},
    {u"19"_s, u"                           от 2000 до 4000 млн. руб.."_s},
    {u"20"_s, u"                           более 4000 млн. руб."_s},
    {u"21"_s,
     u"Из строки 12 - количество организаций, основными видами экономической деятельности которых являются\r\n                           добыча полезных ископаемых"_s},
    {u"22"_s, u"                           обрабатывающие производства"_s},
    {u"23"_s,
     u"                           производство, передача и распределение электроэнергии"_s},
    {u"24"_s, u"                           строительство"_s},
    {u"25"_s, u"                           транспорт"_s},
    {u"26"_s, u"                           связь"_s},
    {u"27"_s, u"                           сельское хозяйство"_s},
    {u"28"_s, u"                           оптовая и розничная торговля"_s},
};
const BuiltInRow kRows4[] = {
    {u"29"_s,
     u"Количество выданных аудиторских заключений(обязательный аудит) - всего (сумма строк 30-36)"_s},
    {u"30"_s, u"        в том числе: открытым акционерным обществам"_s},
    {u"31"_s, u"        кредитным организациям"_s},
    {u"32"_s, u"        страховым организациям и обществам взаимного страхования"_s},
    {u"33"_s, u"        биржам и инвестиционным фондам"_s},
    {u"34"_s, u"        унитарным предприятиям"_s},
    {u"35"_s, u"        организациям, финансовые показатели которых выше минимальных значений"_s},
    {u"36"_s, u"         в других случаях, предусмотренных законами"_s},
    {u"37"_s, u"Количество выданных аудиторских заключений (инициативный аудит) в отчетном году"_s},
};
const Region kRegions[] = {
    {1, u"Республика Адыгея"_s},
    {2, u"Республика Башкортостан"_s},
    {3, u"Республика Бурятия"_s},
    {4, u"Республика Алтай"_s},
    {5, u"Республика Дагестан"_s},
    {6, u"Республика Ингушетия"_s},
    {7, u"Кабардино-Балкарская  Республика"_s},
    {8, u"Республика Калмыкия"_s},
    {9, u"Карачаево-Черкесская Республика"_s},
    {10, u"Республика Карелия"_s},
    {11, u"Республика Коми"_s},
    {12, u"Республика Марий-Эл"_s},
    {13, u"Республика Мордовия"_s},
    {14, u"Республика Саха"_s},
    {15, u"Республика Северная Осетия-Алания"_s},
    {16, u"Республика Татарстан"_s},
    {17, u"Республика Тыва"_s},
    {18, u"Удмуртская Республика"_s},
    {19, u"Республика Хакасия"_s},
    {20, u"Чеченская Республика"_s},
    {21, u"Чувашская  Республика"_s},
    {22, u"Алтайский край"_s},
    {23, u"Краснодарский край"_s},
    {24, u"Красноярский край"_s},
    {25, u"Приморский край"_s},
    {26, u"Ставропольский край"_s},
    {27, u"Хабаровский край"_s},
    {28, u"Амурская область"_s},
    {29, u"Архангельская область"_s},
    {30, u"Астраханская область"_s},
    {31, u"Белгородская область"_s},
    {32, u"Брянская область"_s},
    {33, u"Владимирская область"_s},
    {34, u"Волгоградская область"_s},
    {35, u"Вологодская область"_s},
    {36, u"Воронежская область"_s},
    {37, u"Ивановская область"_s},
    {38, u"Иркутская область"_s},
    {39, u"Калининградская область"_s},
    {40, u"Калужская область"_s},
    {41, u"Камчатская область"_s},
    {42, u"Кемеровская область"_s},
    {43, u"Кировская область"_s},
    {44, u"Костромская область"_s},
    {45, u"Курганская область"_s},
    {46, u"Курская область"_s},
    {47, u"Ленинградская область"_s},
    {48, u"Липецкая область"_s},
    {49, u"Магаданская область"_s},
    {50, u"Московская область"_s},
    {51, u"Мурманская область"_s},
    {52, u"Нижегородская область"_s},
    {53, u"Новгородская область"_s},
    {54, u"Новосибирская область"_s},
    {55, u"Омская область"_s},
    {56, u"Оренбургская область"_s},
    {57, u"Орловская область"_s},
    {58, u"Пензенская область"_s},
    {59, u"Пермская область"_s},
    {60, u"Псковская область"_s},
    {61, u"Ростовская область"_s},
    {62, u"Рязанская область"_s},
    {63, u"Самарская  область"_s},
    {64, u"Саратовская область"_s},
    {65, u"Сахалинская область"_s},
    {66, u"Свердловская область"_s},
    {67, u"Смоленская область"_s},
    {68, u"Тамбовская область"_s},
    {69, u"Тверская область"_s},
    {70, u"Томская область"_s},
    {71, u"Тульская область"_s},
    {72, u"Тюменская область"_s},
    {73, u"Ульяновская область"_s},
    {74, u"Челябинская область"_s},
    {75, u"Читинская область"_s},
    {76, u"Ярославская область"_s},
    {77, u"г. Москва"_s},
    {78, u"г. Санкт-Петербург"_s},
    {79, u"Еврейская АО"_s},
    {80, u"Агинский Бурятский  АО"_s},
    {81, u"Коми-Пермяцкий АО"_s},
    {82, u"Корякский  АО"_s},
    {83, u"Ненецкий  АО"_s},
    {84, u"Таймырский (Долгано-Ненецкий АО)"_s},
    {85, u"Усть-Ордынский Бурятский АО"_s},
    {86, u"Ханты-Мансийский АО-Югра"_s},
    {87, u" Чукотский  АО"_s},
    {88, u"Эвенкийский  АО"_s},
    {89, u"Ямало-Ненецкий  АО"_s},
    {100, u"Территория  не  определена"_s},
};

std::unique_ptr<DataSet> makeTable(const QString& name, const QList<FieldDef>& fields)
{
    auto ds = std::make_unique<DataSet>(name, fields);
    ds->createDataSet();
    return ds;
}

// Appends rows without logging them: built-in rows are the table's initial content.
void fill(DataSet& ds, std::vector<RowValues> rows)
{
    ds.loadData(ds.fieldDefs(), std::move(rows));
}

template <size_t N> std::vector<RowValues> codeRows(const BuiltInRow (&rows)[N], int fieldCount)
{
    std::vector<RowValues> out;
    for (const BuiltInRow& r : rows) {
        RowValues v(fieldCount);
        v[0] = r.name;
        v[1] = r.kod;
        out.push_back(v);
    }
    return out;
}

QList<FieldDef> nameKodFields(int nameWidth)
{
    return {stringField(u"NameRow"_s, nameWidth, u"Наименование показателя|1"_s),
            stringField(u"KodRow"_s, 255, u"№ строки|2"_s)};
}

std::unique_ptr<DataSet> razdel1()
{
    auto f = nameKodFields(255);
    f << integerField(u"Graf03"_s, u"По состоянию на 31 декабря отчётного года|3"_s)
      << floatField(u"Graf04"_s, u"В среднем за отчетный год|4"_s);
    auto ds = makeTable(u"ClientDataSet_01"_s, f);
    fill(*ds, codeRows(kRows1, int(f.size())));
    return ds;
}

std::unique_ptr<DataSet> razdel2()
{
    auto f = nameKodFields(255);
    f << moneyField(u"Graf03"_s, u"За отчётный год    (в тыс, руб.)|3"_s)
      << moneyField(u"Graf04"_s, u"За предыдущий год   (в тыс, руб.)|4"_s);
    auto ds = makeTable(u"ClientDataSet_02"_s, f);
    fill(*ds, codeRows(kRows2, int(f.size())));
    return ds;
}

std::unique_ptr<DataSet> razdel3()
{
    auto f = nameKodFields(400);
    f << integerField(u"Graf03"_s, u"За отчётый год|3"_s);
    auto ds = makeTable(u"ClientDataSet_03"_s, f);
    fill(*ds, codeRows(kRows3, int(f.size())));
    return ds;
}

std::unique_ptr<DataSet> razdel4()
{
    auto f = nameKodFields(255);
    f << integerField(u"Graf03"_s, u"За отчётный год|ВСЕГО (сумма граф 4-7)|3"_s)
      << integerField(
             u"Graf04"_s,
             u"За отчётный год|в том числе|с выражением безоговорочно - положительного мнения|4"_s)
      << integerField(u"Graf05"_s,
                      u"За отчётный год|в том числе|с выражением мнения с оговоркой|5"_s)
      << integerField(u"Graf06"_s,
                      u"За отчётный год|в том числе|с выражением отрицательного мнения|6"_s)
      << integerField(u"Graf07"_s, u"За отчётный год|в том числе|с отказом от выражения мнения|7"_s)
      << integerField(
             u"Graf08"_s,
             u"За отчётный год|из графы 3|с выражением сомнения относительно непрерывности деятельности|8"_s)
      << integerField(
             u"Graf09"_s,
             u"За отчётный год|из графы 3|с указанием на значительную неопределенность|9"_s);
    auto ds = makeTable(u"ClientDataSet_04"_s, f);
    fill(*ds, codeRows(kRows4, int(f.size())));
    return ds;
}

std::unique_ptr<DataSet> qualityTest()
{
    const QList<FieldDef> f = {stringField(u"NameRow"_s, 255), stringField(u"NameYes"_s, 255),
                               booleanField(u"ValueYes"_s), stringField(u"NameNo"_s, 255),
                               calculated(booleanField(u"ValueNo"_s))};
    auto ds = makeTable(u"ClientDataSet_QualityTest"_s, f);
    ds->setOnCalcFields([](DataSet& t) {
        t.fieldByName(u"ValueNo"_s).setAsBoolean(!t.fieldByName(u"ValueYes"_s).asBoolean());
    });
    fill(*ds, {RowValues{u"Внешняя проверка качества работы в отчётном году пройдена"_s, u"ДА"_s,
                         false, u"НЕТ"_s, QVariant()}});
    return ds;
}

std::unique_ptr<DataSet> membership()
{
    const QList<FieldDef> f = {
        integerField(u"Num"_s, u"№ п/п|1"_s),
        stringField(
            u"NameRow"_s, 255,
            u"Наименование профессионального объединения или международной сети аудиторских организаций|2"_s),
        stringField(u"KodRow"_s, 255, u"Код объединения или сети|3"_s),
        integerField(u"Year"_s, u"Год вступления|4"_s)};
    auto ds = makeTable(u"ClientDataSet_05_11_30"_s, f);
    const QString named[5][2] = {
        {u"Некоммерческое Партнерство \"Аудиторская Палата России\""_s, u"11"_s},
        {u"Некоммерческое Партнерство \"Московская Аудиторская Палата\""_s, u"12"_s},
        {u"Некоммерческое партнерство \"Институт Профессиональных Аудиторов\""_s, u"13"_s},
        {u"Некоммерческое партнерство  \"Российская Коллегия аудиторов\""_s, u"14"_s},
        {u"Некоммерческое Партнерство \"Институт Профессиональных бухгалтеров и аудиторов России\""_s,
         u"16"_s},
    };
    std::vector<RowValues> rows;
    for (int num = 1; num <= 15; ++num) {
        RowValues v(4);
        v[0] = num;
        if (num <= 5) {
            v[1] = named[num - 1][0];
            v[2] = named[num - 1][1];
        } else {
            v[2] = num <= 10 ? u"20"_s : u"30"_s;
        }
        rows.push_back(v);
    }
    fill(*ds, std::move(rows));
    ds->setIndexFieldNames(u"Num"_s);
    ds->first();
    return ds;
}

std::unique_ptr<DataSet> rekvizity()
{
    const QList<FieldDef> f = {
        booleanField(u"IsUrLico"_s, u"Юридическое лицо"_s),
        stringField(u"name"_s, 255, u"Краткое наименование аудиторской организации"_s),
        stringField(
            u"FullName"_s, 255,
            u"Полное наименование аудиторской организации (ФИО индивидуального аудитора)"_s),
        stringField(u"Address"_s, 255, u"Почтовый адрес"_s),
        stringField(u"UrAdress"_s, 255, u"Юридический адрес"_s),
        integerField(
            u"KodGAI"_s,
            u"Субъект, где функционирует аудиторская организация (индивидуальный аудитор)"_s),
        stringField(u"OKUD"_s, 50, u"Код формы по ОКУД"_s),
        stringField(u"OKPO"_s, 20, u"ОКПО"_s),
        stringField(u"OGRN"_s, 15, u"ОГРН"_s),
        stringField(u"TelFax"_s, 100, u"Телефон/факс"_s),
        stringField(u"email"_s, 100, u"E-mail"_s),
        stringField(u"rukovod"_s, 255, u"Руководитель организации (индивидуальный аудитор)"_s),
        stringField(u"FIOotv"_s, 255, u"ФИО лица, ответственного за составление формы"_s),
        stringField(u"PositionOtv"_s, 255,
                    u"Должность лица, ответственного за составление формы"_s),
        stringField(u"telOtv"_s, 100, u"Номер контактного телефона"_s),
        dateField(u"DataSost"_s, u"Дата составления документа"_s),
    };
    auto ds = makeTable(u"ClientDataSet_00"_s, f);
    RowValues first(f.size());
    first[0] = true;
    first[6] = u"0609711"_s;
    fill(*ds, {first, RowValues(f.size())});
    return ds;
}

} // namespace

std::unique_ptr<DataSet> createRazdelTable(int position)
{
    switch (position) {
    case PosRekvizity:
        return rekvizity();
    case PosRazdel1: {
        auto ds = razdel1();
        ds->setIndexFieldNames(u"KodRow"_s);
        ds->first();
        return ds;
    }
    case PosRazdel2: {
        auto ds = razdel2();
        ds->setIndexFieldNames(u"KodRow"_s);
        ds->first();
        return ds;
    }
    case PosRazdel3: {
        auto ds = razdel3();
        ds->setIndexFieldNames(u"KodRow"_s);
        ds->first();
        return ds;
    }
    case PosRazdel4: {
        auto ds = razdel4();
        ds->setIndexFieldNames(u"KodRow"_s);
        ds->first();
        return ds;
    }
    case PosQualityTest:
        return qualityTest();
    case PosMembership:
        return membership();
    default:
        return nullptr;
    }
}

std::unique_ptr<DataSet> createTerrTable()
{
    const QList<FieldDef> f = {integerField(u"KodGai"_s), stringField(u"TerrName"_s, 255),
                               calculated(stringField(u"Kod_Name"_s, 255))};
    auto ds = makeTable(u"ClientDataSet_Terr"_s, f);
    ds->setOnCalcFields([](DataSet& t) {
        t.fieldByName(u"Kod_Name"_s)
            .setAsString(t.fieldByName(u"KodGai"_s).asString() + u"   "_s +
                         t.fieldByName(u"TerrName"_s).asString());
    });
    std::vector<RowValues> rows;
    for (const Region& r : kRegions)
        rows.push_back(RowValues{r.kod, r.name, QVariant()});
    fill(*ds, std::move(rows));
    ds->setIndexFieldNames(u"KodGai"_s);
    ds->first();
    return ds;
}

std::unique_ptr<DataSet> createErrTable()
{
    const QList<FieldDef> f = {
        stringField(u"RazdelName"_s, 255),    stringField(u"RazdelKod"_s, 255),
        stringField(u"ErrorKod"_s, 255),      stringField(u"ErrorName"_s, 255),
        booleanField(u"IsWarning"_s),         stringField(u"KodRow_FieldName"_s, 255),
        stringField(u"KodRow_Value"_s, 255),  stringField(u"FieldName"_s, 255),
        integerField(u"ErrorNum"_s),          integerField(u"RazdelInd"_s),
        booleanField(u"MayExitFromRazdel"_s),
    };
    auto ds = makeTable(u"ClientDataSet_Err"_s, f);
    ds->setIndexFieldNames(u"RazdelKod; ErrorNum"_s);
    return ds;
}
