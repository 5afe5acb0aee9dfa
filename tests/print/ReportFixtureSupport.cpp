#include "ReportFixtureSupport.h"

#include "DataSet.h"
#include "Field.h"
#include "Razdels.h"

using namespace Qt::StringLiterals;

void setField(DataSet& table, const QString& field, const QVariant& value)
{
    table.edit();
    if (value.typeId() == QMetaType::Bool)
        table.fieldByName(field).setAsBoolean(value.toBool());
    else
        table.fieldByName(field).setAsString(value.toString());
    table.post();
}

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
