#include "ReportFixtureSupport.h"

#include "model/DataSet.h"
#include "model/Field.h"
#include "model/Razdels.h"

using namespace Qt::StringLiterals;

void fillReport(ReportTables& tables, bool legalEntity)
{
    DataSet& req = *tables.razdel(PosRekvizity);
    req.first();
    setField(req, u"IsUrLico"_s, legalEntity);
    setField(req, u"FullName"_s, legalEntity ? u"Аудит"_s : u"Петров Пётр Петрович"_s);
    setField(req, u"name"_s, legalEntity ? u"А"_s : QString());
    setField(req, u"Address"_s, u"101000, г. Москва, ул. Мясницкая, д. 7"_s);
    setField(req, u"OKUD"_s, u"0609711"_s);
    setField(req, u"OKPO"_s, u"01234567"_s);
    setField(req, u"OGRN"_s, u"1027700132195"_s);
    setField(req, u"TelFax"_s, u"(495) 111-22-33"_s);
    setField(req, u"email"_s, u"info@audit.ru"_s);
    setField(req, u"rukovod"_s, u"Иванов И. И."_s);
    setField(req, u"PositionOtv"_s, u"Главный бухгалтер"_s);
    setField(req, u"FIOotv"_s, u"Сидорова А. А."_s);
    setField(req, u"telOtv"_s, u"(495) 111-22-44"_s);
    setField(req, u"DataSost"_s, u"15.03.2010"_s);

    DataSet& r1 = *tables.razdel(PosRazdel1);
    r1.first();
    setField(r1, u"Graf03"_s, u"25"_s);
    DataSet& r2 = *tables.razdel(PosRazdel2);
    r2.first();
    setField(r2, u"Graf03"_s, u"1000"_s);
    setField(r2, u"Graf04"_s, u"12.5"_s);
    DataSet& r4 = *tables.razdel(PosRazdel4);
    r4.setRecNo(9);
    setField(r4, u"Graf03"_s, u"7"_s);
}

void fillMembers(ReportTables& tables, int count)
{
    DataSet& m = *tables.razdel(PosMembership);
    m.first();
    for (int i = 1; i <= count && !m.eof(); ++i, m.next()) {
        setField(m, u"NameRow"_s, u"Объединение %1"_s.arg(i));
        setField(m, u"Year"_s, QString::number(2000 + i));
    }
}

namespace {

// Words of Cyrillic text up to exactly `length` characters.
QString wordsOf(int length, const QString& seed)
{
    QString text;
    while (text.size() < length)
        text += (text.isEmpty() ? QString() : u" "_s) + seed;
    return text.left(length).trimmed().leftJustified(length, u'ж');
}

} // namespace

void fillLongest(ReportTables& tables)
{
    DataSet& req = *tables.razdel(PosRekvizity);
    req.first();
    setField(req, u"IsUrLico"_s, true);
    setField(req, u"FullName"_s, wordsOf(250, u"Общество с ограниченной ответственностью"_s));
    setField(req, u"name"_s, wordsOf(250, u"Аудиторская компания"_s));
    setField(req, u"Address"_s, wordsOf(255, u"г. Москва, Краснопресненская набережная"_s));
    setField(req, u"OKUD"_s, u"0609711"_s);
    setField(req, u"OKPO"_s, u"0123456789"_s);
    setField(req, u"OGRN"_s, u"102770013219512"_s);
    setField(req, u"TelFax"_s, wordsOf(50, u"(495) 111-22-33"_s));
    setField(req, u"email"_s, QString(u"a"_s.repeated(41) + u"@audit.ru"_s));
    setField(req, u"rukovod"_s, wordsOf(100, u"Константинопольский Вячеслав"_s));
    setField(req, u"PositionOtv"_s, wordsOf(100, u"Заместитель главного бухгалтера"_s));
    setField(req, u"FIOotv"_s, wordsOf(100, u"Александрова-Петрова Анастасия"_s));
    setField(req, u"telOtv"_s, u"(495) 111-22-44 доб. 1234"_s.left(25));
    setField(req, u"DataSost"_s, u"15.03.2010"_s);

    // The widest figures the key filters let through, in every row and column.
    const struct {
        int position;
        QStringList values; // by column from Graf03
    } figures[] = {
        {PosRazdel1, {u"9999"_s, u"9999.9"_s}},
        {PosRazdel2, {u"999999999.9"_s, u"999999999.9"_s}},
        {PosRazdel3, {u"9999"_s}},
        {PosRazdel4, {u"9999"_s, u"9999"_s, u"9999"_s, u"9999"_s, u"9999"_s, u"9999"_s, u"9999"_s}},
    };
    for (const auto& f : figures) {
        DataSet& t = *tables.razdel(f.position);
        for (t.first(); !t.eof(); t.next())
            for (int k = 0; k < f.values.size(); ++k)
                setField(t, u"Graf%1"_s.arg(k + 3, 2, 10, QChar(u'0')), f.values[k]);
    }
    DataSet& q = *tables.razdel(PosQualityTest);
    q.first();
    setField(q, u"ValueYes"_s, true);

    DataSet& m = *tables.razdel(PosMembership);
    int i = 0;
    for (m.first(); !m.eof(); m.next(), ++i) {
        if (i >= 5)
            setField(m, u"NameRow"_s,
                     wordsOf(255, u"Международная сеть независимых аудиторских фирм"_s));
        setField(m, u"Year"_s, QString::number(1995 + i));
    }
}

GridSnapshot errorListSnapshot(int records)
{
    GridSnapshot g;
    g.titles = {u"Номер ошибки"_s, u"Наименование ошибки"_s};
    g.pixelWidths = {80, 600};
    g.alignments = {int(Qt::AlignHCenter), int(Qt::AlignLeft)};
    g.zeroCharWidthPx = 7;
    g.fontFamily = u"Liberation Sans"_s;
    g.fontPointSize = 9;
    for (int i = 1; i <= records; ++i)
        g.rows << QStringList{QString::number(i),
                              i == 2 ? u"007"_s : u"Ошибка в строке %1"_s.arg(i)};
    return g;
}
