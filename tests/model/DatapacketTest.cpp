#include "model/Datapacket.h"
#include "TestSupport.h"
#include "model/FormTables.h"
#include "model/Razdels.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QString text1251(const QByteArray& bytes)
{
    return QStringDecoder("windows-1251").decode(bytes);
}

// Posts `values` (field name -> value) into the stored row at `recNo` (1-based, table order).
void setRow(DataSet& t, int recNo, const QList<std::pair<QString, QVariant>>& values)
{
    t.setRecNo(recNo);
    t.edit();
    for (const auto& [name, value] : values) {
        if (value.isNull())
            t.fieldByName(name).clear();
        else
            t.fieldByName(name).setValue(value);
    }
    t.post();
}

// Deterministic user data for every section, with the characters that need escaping.
void fillSample(DataSet& t, int pos)
{
    switch (pos) {
    case PosRekvizity:
        setRow(t, 1,
               {{u"name"_s, u"ООО \"Аудит & Ко\""_s},
                {u"FullName"_s, u"Общество <Аудит> 'Ко'"_s},
                {u"UrAdress"_s, u"C:\\Папка\tс табуляцией"_s},
                {u"Address"_s, u"  123456, г. Москва\r\nул. Ленина, 1"_s},
                {u"KodGAI"_s, 77},
                {u"OKPO"_s, u"12345678"_s},
                {u"OGRN"_s, u"1027700000000"_s},
                {u"email"_s, u"audit@example.ru"_s},
                {u"DataSost"_s, QDate(2009, 3, 5)}});
        break;
    case PosRazdel1:
        setRow(t, 1, {{u"Graf03"_s, 25}, {u"Graf04"_s, 24.5}});
        setRow(t, 2, {{u"Graf03"_s, 12}, {u"Graf04"_s, 0.1}});
        setRow(t, 3, {{u"Graf03"_s, -3}, {u"Graf04"_s, 1e-5}});
        setRow(t, 4, {{u"Graf04"_s, 1234567890123.5}});
        break;
    case PosRazdel2:
        setRow(t, 1, {{u"Graf03"_s, 1234.5}, {u"Graf04"_s, 1000.0}});
        setRow(t, 2, {{u"Graf03"_s, 12.3}});
        setRow(t, 3, {{u"Graf04"_s, 0.7}});
        break;
    case PosRazdel3:
        setRow(t, 1, {{u"Graf03"_s, 17}});
        setRow(t, 10, {{u"Graf03"_s, 4}});
        break;
    case PosRazdel4:
        setRow(t, 1,
               {{u"Graf03"_s, 10},
                {u"Graf04"_s, 6},
                {u"Graf05"_s, 2},
                {u"Graf06"_s, 1},
                {u"Graf07"_s, 1},
                {u"Graf08"_s, 3}});
        setRow(t, 9, {{u"Graf09"_s, 2147483647}});
        break;
    case PosQualityTest:
        setRow(t, 1, {{u"ValueYes"_s, true}});
        break;
    case PosMembership:
        setRow(t, 1, {{u"Year"_s, 2001}});
        setRow(t, 6, {{u"NameRow"_s, u"Ассоциация \"Содружество\""_s}, {u"Year"_s, 2008}});
        setRow(t, 11, {{u"NameRow"_s, u"Сеть 'BDO' & партнёры"_s}, {u"Year"_s, 1999}});
        break;
    }
    t.mergeChangeLog();
}

QList<FieldDef> dataFields(const DataSet& t)
{
    QList<FieldDef> out;
    for (const FieldDef& f : t.fieldDefs())
        if (!f.isCalculated())
            out << f;
    return out;
}

// Same data field definitions (name, type, width) and the same stored values.
void expectSameContent(const DataSet& a, const DataSet& b)
{
    const QList<FieldDef> fa = dataFields(a);
    const QList<FieldDef> fb = dataFields(b);
    ASSERT_EQ(fa.size(), fb.size());
    for (qsizetype i = 0; i < fa.size(); ++i) {
        EXPECT_EQ(fa[i].name, fb[i].name);
        EXPECT_EQ(fa[i].type, fb[i].type) << fa[i].name.toStdString();
        EXPECT_EQ(fa[i].size, fb[i].size) << fa[i].name.toStdString();
    }
    ASSERT_EQ(a.rows().size(), b.rows().size());
    for (size_t r = 0; r < a.rows().size(); ++r)
        for (const FieldDef& f : fa) {
            const QVariant va = a.rows()[r].values.value(a.fieldIndex(f.name));
            const QVariant vb = b.rows()[r].values.value(b.fieldIndex(f.name));
            EXPECT_EQ(va.isNull(), vb.isNull()) << "row " << r << " " << f.name.toStdString();
            EXPECT_EQ(va, vb) << "row " << r << " " << f.name.toStdString() << ": "
                              << va.toString().toStdString() << " vs "
                              << vb.toString().toStdString();
        }
}

QString packetsDir()
{
    return QStringLiteral(F2A_TEST_DATA "/packets");
}

QString goldenName(int pos)
{
    return packetsDir() + u"/golden/"_s + Razdels()[pos].Kod + u".xml"_s;
}

QString stringOf(const char* s)
{
    return QString::fromUtf8(s);
}

} // namespace

// ------------------------------------------------------------------ round trips

class DatapacketRoundTrip : public ::testing::TestWithParam<int> {};

TEST_P(DatapacketRoundTrip, BuiltInTableThroughFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (bool filled : {false, true}) {
        auto table = createRazdelTable(GetParam());
        ASSERT_TRUE(table);
        if (filled)
            fillSample(*table, GetParam());
        const QString path = dir.filePath(u"t.xml"_s);
        saveTableToFile(*table, path);
        auto loaded = std::make_unique<DataSet>(u"empty"_s);
        loadTableFromFile(*loaded, path);
        expectSameContent(*table, *loaded);
        EXPECT_EQ(loaded->changeCount(), 0);
        // Saving what was loaded gives the same bytes.
        EXPECT_EQ(writeDatapacket(*loaded), readAll(path));
    }
}

INSTANTIATE_TEST_SUITE_P(AllSections, DatapacketRoundTrip, ::testing::Range(0, RazdelCount));

TEST(DatapacketWrite, KeepsLeadingSpacesLineBreaksAndQuotes)
{
    auto s3 = createRazdelTable(PosRazdel3);
    const QByteArray bytes3 = writeDatapacket(*s3);
    EXPECT_TRUE(text1251(bytes3).contains(
        u"являются&#013;&#010;                           добыча полезных ископаемых"_s));
    auto back3 = std::make_unique<DataSet>();
    const PacketData p3 = readDatapacket(bytes3);
    back3->loadData(p3.fields, p3.rows);
    ASSERT_TRUE(back3->locate(u"KodRow"_s, {u"21"_s}));
    EXPECT_EQ(back3->fieldByName(u"NameRow"_s).asString(),
              u"Из строки 12 - количество организаций, основными видами экономической "
              u"деятельности которых являются\r\n                           добыча полезных "
              u"ископаемых"_s);
    ASSERT_TRUE(back3->locate(u"KodRow"_s, {u"14"_s}));
    EXPECT_EQ(back3->fieldByName(u"NameRow"_s).asString(),
              u"                           от 1 до 20 млн. руб."_s);

    auto m = createRazdelTable(PosMembership);
    const QByteArray bytesM = writeDatapacket(*m);
    EXPECT_TRUE(text1251(bytesM).contains(
        u"NameRow=\"Некоммерческое Партнерство &quot;Аудиторская Палата России&quot;\""_s));
    const PacketData pm = readDatapacket(bytesM);
    EXPECT_EQ(pm.rows[0][1].toString(),
              u"Некоммерческое Партнерство \"Аудиторская Палата России\""_s);
}

TEST(DatapacketWrite, EscapesEverySpecialCharacter)
{
    DataSet t(u"t"_s, {stringField(u"S"_s, 255)});
    t.open();
    t.append();
    t.fieldByName(u"S"_s).setAsString(u" <a> & 'b' \"c\"\r\n\t\\ €№"_s);
    t.post();
    const QByteArray bytes = writeDatapacket(t);
    EXPECT_TRUE(text1251(bytes).contains(
        u"<ROW S=\" &lt;a&gt; &amp; &apos;b&apos; &quot;c&quot;&#013;&#010;&#009;&#092; €№\"/>"_s));
    const PacketData p = readDatapacket(bytes);
    EXPECT_EQ(p.rows[0][0].toString(), u" <a> & 'b' \"c\"\r\n\t\\ €№"_s);
}

TEST(DatapacketWrite, ClearedCellIsNullNotZero)
{
    auto t = createRazdelTable(PosRazdel1);
    setRow(*t, 2, {{u"Graf03"_s, 7}, {u"Graf04"_s, 1.5}});
    setRow(*t, 2, {{u"Graf03"_s, QVariant()}, {u"Graf04"_s, QVariant()}});
    const QByteArray bytes = writeDatapacket(*t);
    EXPECT_FALSE(bytes.contains(QByteArray("Graf03"_ba + "="))) << bytes.constData();
    const PacketData p = readDatapacket(bytes);
    auto back = std::make_unique<DataSet>();
    back->loadData(p.fields, p.rows);
    back->setRecNo(2);
    EXPECT_TRUE(back->fieldByName(u"Graf03"_s).isNull());
    EXPECT_TRUE(back->fieldByName(u"Graf04"_s).isNull());
    EXPECT_EQ(back->fieldByName(u"Graf03"_s).asString(), QString());
}

TEST(DatapacketWrite, MoneyAndDateLayout)
{
    auto s2 = createRazdelTable(PosRazdel2);
    setRow(*s2, 2, {{u"Graf03"_s, 12.3}});
    const QByteArray b2 = writeDatapacket(*s2);
    EXPECT_TRUE(b2.contains(R"(<FIELD attrname="Graf03" fieldtype="r8" SUBTYPE="Money"/>)"));
    EXPECT_TRUE(b2.contains(R"(KodRow="06" Graf03="12.3"/>)")) << b2.constData();

    auto s0 = createRazdelTable(PosRekvizity);
    setRow(*s0, 1, {{u"DataSost"_s, QDate(2009, 3, 5)}});
    const QByteArray b0 = writeDatapacket(*s0);
    EXPECT_TRUE(b0.contains(R"(<FIELD attrname="DataSost" fieldtype="date"/>)"));
    EXPECT_TRUE(b0.contains(R"( DataSost="20090305"/>)")) << b0.constData();
    EXPECT_TRUE(b0.contains(R"(<FIELD attrname="IsUrLico" fieldtype="boolean"/>)"));
    EXPECT_TRUE(b0.contains(R"(<ROW IsUrLico="TRUE" OKUD="0609711")"));
}

TEST(DatapacketWrite, FloatsUseAPointAndSixteenDigits)
{
    DataSet t(u"t"_s, {floatField(u"F"_s), integerField(u"I"_s)});
    t.open();
    const double values[] = {0.1, 1e-5, 1234567890123.5, -2.5, 1e20, 2.0 / 3.0};
    const char* expected[] = {"0.1",  "1E-5", "1234567890123.5",
                              "-2.5", "1E20", "0.6666666666666666"};
    for (double v : values) {
        t.append();
        t.fieldByName(u"F"_s).setAsFloat(v);
        t.fieldByName(u"I"_s).setAsInteger(-42);
        t.post();
    }
    const QByteArray bytes = writeDatapacket(t);
    for (const char* e : expected)
        EXPECT_TRUE(bytes.contains(QByteArray("F=\""_ba + e + "\" I=\"-42\"/>"))) << e << "\n"
                                                                      << bytes.constData();
    const PacketData p = readDatapacket(bytes);
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(p.rows[i][0].toDouble(), values[i]);
}

// A value is written as the shortest text that reads back to it, so what was typed comes
// back as typed; a value needing 17 digits is cut to 16.
TEST(DatapacketWrite, FloatsAreWrittenAsTheShortestTextThatReadsBack)
{
    struct Case {
        double value;
        const char* written;
    };
    const Case cases[] = {
        {9609901.3, "9609901.3"},
        {1234567.8, "1234567.8"},
        {0.3, "0.3"},
        {1000000.0, "1000000"},
        {123456789012.3, "123456789012.3"},
        {-0.05, "-0.05"},
        {1e-5, "1E-5"},
        {1e20, "1E20"},
        {9007199254740993.0, "9007199254740992"},
        {0.1 + 0.2, "0.3"}, // 0.30000000000000004 needs 17 digits
        {2.0 / 3.0, "0.6666666666666666"},
    };
    DataSet t(u"t"_s, {floatField(u"F"_s)});
    t.open();
    for (const Case& c : cases) {
        t.append();
        t.fieldByName(u"F"_s).setAsFloat(c.value);
        t.post();
    }
    // The way the program produces money values: typed text into the field.
    t.append();
    t.fieldByName(u"F"_s).setAsString(u"9609901.3"_s);
    t.post();
    const QByteArray bytes = writeDatapacket(t);
    for (const Case& c : cases)
        EXPECT_TRUE(bytes.contains(QByteArray("F=\""_ba + c.written + "\"/>"))) << c.written << "\n"
                                                                    << bytes.constData();
    EXPECT_FALSE(bytes.contains("9609901.300000001"));
    const PacketData p = readDatapacket(bytes);
    ASSERT_EQ(p.rows.size(), std::size(cases) + 1);
    for (size_t i = 0; i < std::size(cases); ++i) {
        if (i != 9) { // the cut one
            EXPECT_EQ(p.rows[i][0].toDouble(), cases[i].value) << cases[i].written;
        }
    }
    EXPECT_EQ(p.rows.back()[0].toDouble(), 9609901.3);

    // A file written with sixteen digits always reads back as it did.
    QByteArray before = bytes;
    before.replace("F=\"9609901.3\"", "F=\"9609901.300000001\"");
    EXPECT_EQ(readDatapacket(before).rows[0][0].toDouble(), 9609901.300000001);
}

TEST(DatapacketWrite, CalculatedFieldIsNotWrittenButStillComputed)
{
    auto q = createRazdelTable(PosQualityTest);
    const QByteArray bytes = writeDatapacket(*q);
    EXPECT_FALSE(bytes.contains("ValueNo"));
    QTemporaryDir dir;
    const QString path = dir.filePath(u"q.xml"_s);
    saveTableToFile(*q, path);
    auto other = createRazdelTable(PosQualityTest);
    setRow(*other, 1, {{u"ValueYes"_s, true}});
    EXPECT_FALSE(other->fieldByName(u"ValueNo"_s).asBoolean());
    loadTableFromFile(*other, path);
    other->first();
    EXPECT_FALSE(other->fieldByName(u"ValueYes"_s).asBoolean());
    EXPECT_TRUE(other->fieldByName(u"ValueNo"_s).asBoolean());
    EXPECT_TRUE(other->fieldByName(u"ValueNo"_s).def().isCalculated());
}

TEST(DatapacketWrite, PendingEditIsNotWritten)
{
    auto t = createRazdelTable(PosRazdel1);
    const QByteArray before = writeDatapacket(*t);
    t->first();
    t->edit();
    t->fieldByName(u"Graf03"_s).setAsInteger(99);
    EXPECT_EQ(writeDatapacket(*t), before);
    t->cancel();
}

TEST(DatapacketWrite, WritesStoredOrderNotTheView)
{
    DataSet t(u"t"_s, {integerField(u"N"_s)});
    t.open();
    for (int n : {3, 1, 2}) {
        t.append();
        t.fieldByName(u"N"_s).setAsInteger(n);
        t.post();
    }
    t.setIndexFieldNames(u"N"_s);
    t.setFilter(u"N=1"_s);
    t.setFiltered(true);
    EXPECT_TRUE(writeDatapacket(t).contains(R"(<ROW N="3"/><ROW N="1"/><ROW N="2"/>)"));
}

TEST(DatapacketWrite, RefusesCharactersOutsideWindows1251)
{
    auto t = createRazdelTable(PosMembership);
    setRow(*t, 7, {{u"NameRow"_s, u"Сеть 中国"_s}});
    try {
        writeDatapacket(*t);
        FAIL() << "no error";
    } catch (const DataSetError& e) {
        EXPECT_TRUE(e.message().contains(u"NameRow"_s)) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(u"«中»"_s)) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(u"U+4E2D"_s)) << e.message().toStdString();
    }
    setRow(*t, 7, {{u"NameRow"_s, u"a\x01"_s}});
    EXPECT_THROW(writeDatapacket(*t), DataSetError);
}

// ------------------------------------------------------------------ golden bytes

class DatapacketGolden : public ::testing::TestWithParam<int> {};

TEST_P(DatapacketGolden, WriterOutputMatchesByteForByte)
{
    auto table = createRazdelTable(GetParam());
    fillSample(*table, GetParam());
    const QByteArray bytes = writeDatapacket(*table);
    const QString path = goldenName(GetParam());
    if (qEnvironmentVariableIsSet("F2A_UPDATE_GOLDEN")) {
        QDir().mkpath(packetsDir() + u"/golden"_s);
        writeAll(path, bytes);
    }
    const QByteArray golden = readAll(path);
    ASSERT_FALSE(golden.isEmpty()) << "missing " << path.toStdString();
    EXPECT_EQ(bytes, golden);
    EXPECT_TRUE(golden.startsWith(
        R"(<?xml version="1.0" standalone="yes"?>  <DATAPACKET Version="2.0"><METADATA><FIELDS>)"));
    EXPECT_TRUE(golden.endsWith("</ROWDATA></DATAPACKET>"));
    EXPECT_FALSE(golden.contains('\n'));
    EXPECT_FALSE(golden.contains('\r'));
}

INSTANTIATE_TEST_SUITE_P(AllSections, DatapacketGolden, ::testing::Range(0, RazdelCount));

// ------------------------------------------------------------------ reading

struct SampleCase {
    const char* file;
    int rows;
};

class DatapacketSample : public ::testing::TestWithParam<SampleCase> {};

TEST_P(DatapacketSample, LoadsWithVisibleRowCount)
{
    const QString path =
        QStringLiteral(F2A_SAMPLE_PACKETS "/") + QString::fromLatin1(GetParam().file);
    DataSet t;
    loadTableFromFile(t, path);
    EXPECT_EQ(t.recordCount(), GetParam().rows);
    EXPECT_EQ(t.changeCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Delphi, DatapacketSample,
    ::testing::Values(SampleCase{"dbdemos_clients.xml", 5}, SampleCase{"dbdemos_country.xml", 18},
                      SampleCase{"dbdemos_customer.xml", 55},
                      SampleCase{"dbdemos_employee.xml", 42},
                      SampleCase{"dbdemos_holdings.xml", 36}, SampleCase{"dbdemos_industry.xml", 7},
                      SampleCase{"dbdemos_items.xml", 945}, SampleCase{"dbdemos_orders.xml", 205},
                      SampleCase{"dbdemos_parts.xml", 59}, SampleCase{"dbdemos_reservat.xml", 100},
                      SampleCase{"jvdbgrid_country_changelog.xml", 18}));

TEST(DatapacketRead, DelphiTypesAndValues)
{
    DataSet orders;
    loadTableFromFile(orders, QStringLiteral(F2A_SAMPLE_PACKETS "/dbdemos_orders.xml"));
    EXPECT_EQ(orders.fieldByName(u"ShipDate"_s).def().type, FieldType::Date);
    EXPECT_EQ(orders.fieldByName(u"ItemsTotal"_s).def().type, FieldType::Money);
    EXPECT_EQ(orders.fieldByName(u"TaxRate"_s).def().type, FieldType::Float);
    EXPECT_EQ(orders.fieldByName(u"EmpNo"_s).def().type, FieldType::Integer);
    orders.first();
    EXPECT_EQ(orders.fieldByName(u"ShipDate"_s).asDate(),
              QDate(1988, 5, 3)); // 19880503T12:00:00000
    EXPECT_EQ(orders.fieldByName(u"SaleDate"_s).asDate(), QDate(1988, 4, 12));

    DataSet industry;
    loadTableFromFile(industry, QStringLiteral(F2A_SAMPLE_PACKETS "/dbdemos_industry.xml"));
    EXPECT_EQ(industry.fieldByName(u"IND_CODE"_s).def().type, FieldType::Integer); // i2
    EXPECT_EQ(industry.fieldByName(u"IND_NAME"_s).def().size, 5);
    industry.setRecNo(2);
    EXPECT_EQ(industry.fieldByName(u"LONG_NAME"_s).asString(), u"Auto & Truck"_s);
    EXPECT_EQ(industry.fieldByName(u"IND_CODE"_s).asInteger(), 3710);

    DataSet reservat;
    loadTableFromFile(reservat, QStringLiteral(F2A_SAMPLE_PACKETS "/dbdemos_reservat.xml"));
    EXPECT_EQ(reservat.fieldByName(u"Paid"_s).def().type, FieldType::Boolean);
    EXPECT_EQ(reservat.fieldByName(u"Amt_Paid"_s).def().type, FieldType::Money);
    EXPECT_EQ(reservat.fieldByName(u"Pay_Notes"_s).def().type, FieldType::String); // bin.hex Text
    reservat.first();
    EXPECT_TRUE(reservat.fieldByName(u"Paid"_s).asBoolean());
    EXPECT_EQ(reservat.fieldByName(u"Amt_Paid"_s).asFloat(), 20.0);
    EXPECT_EQ(reservat.fieldByName(u"Card_Exp"_s).asDate(), QDate(1996, 11, 30));
}

TEST(DatapacketRead, ChangeLogShowsCurrentImagesInPlace)
{
    DataSet t;
    loadTableFromFile(t, QStringLiteral(F2A_SAMPLE_PACKETS "/jvdbgrid_country_changelog.xml"));
    ASSERT_EQ(t.recordCount(), 18);
    t.first();
    EXPECT_EQ(t.fieldByName(u"Name"_s).asString(), u"Argentina"_s);
    EXPECT_EQ(t.fieldByName(u"Text"_s).asString(),
              u"This is memo line 1\r\nThis is memo line 2\r\nThis is memo line 3\r\nThis is memo "
              u"line 4\r\n"_s);
    t.setRecNo(2);
    EXPECT_EQ(t.fieldByName(u"Name"_s).asString(), u"Bolivia"_s);
    t.last();
    EXPECT_EQ(t.fieldByName(u"Name"_s).asString(), u"Venezuela"_s);
}

TEST(DatapacketRead, EncodingsAndLenientMetadata)
{
    // UTF-8 named in the declaration, lower-case width, unknown PARAMS, blanks and comments.
    const QString doc =
        u"<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<!-- c -->\n"
        u"<DATAPACKET Version=\"2.0\">\n <METADATA><FIELDS>"
        u"<FIELD attrname=\"Имя\" fieldtype=\"string\" width=\"30\" required=\"true\"/>"
        u"<FIELD attrname=\"F\" fieldtype=\"r8\"/><FIELD attrname=\"B\" fieldtype=\"boolean\"/>"
        u"<FIELD attrname=\"Big\" fieldtype=\"i8\"/><FIELD attrname=\"Blob\" fieldtype=\"bin.hex\" "
        u"SUBTYPE=\"Binary\" WIDTH=\"1\"/></FIELDS>"
        u"<PARAMS LCID=\"1049\" MD_FIELDLINKS=\"x\"/></METADATA>\n<ROWDATA>"
        u"<ROW Имя=\"Привет &#8364; &lt;&#x41;&gt;\" F=\"-1.5E+3\" B=\"true\" "
        u"Big=\"9007199254740993\" Blob=\"AQID\"/>"
        u"<ROW F=\"2e-3\" B=\"False\"/></ROWDATA></DATAPACKET>\n"_s;
    const PacketData p = readDatapacket(doc.toUtf8());
    ASSERT_EQ(p.fields.size(), 5);
    EXPECT_EQ(p.fields[0].name, u"Имя"_s);
    EXPECT_EQ(p.fields[0].size, 30);
    EXPECT_EQ(p.fields[3].type, FieldType::Float);
    EXPECT_EQ(p.fields[4].type, FieldType::String);
    EXPECT_EQ(p.fields[4].size, 0);
    ASSERT_EQ(p.rows.size(), 2u);
    EXPECT_EQ(p.rows[0][0].toString(), u"Привет € <A>"_s);
    EXPECT_EQ(p.rows[0][1].toDouble(), -1500.0);
    EXPECT_EQ(p.rows[0][2].toBool(), true);
    EXPECT_EQ(p.rows[0][4].toString(), u"AQID"_s);
    EXPECT_TRUE(p.rows[1][0].isNull());
    EXPECT_EQ(p.rows[1][1].toDouble(), 0.002);
    EXPECT_EQ(p.rows[1][2].toBool(), false);

    // The layout we write: no encoding attribute means Windows-1251; empty PARAMS.
    const QString ours =
        u"<?xml version=\"1.0\" standalone=\"yes\"?>  <DATAPACKET Version=\"2.0\"><METADATA>"
        u"<FIELDS><FIELD attrname=\"NameRow\" fieldtype=\"string\" WIDTH=\"255\"/></FIELDS>"
        u"<PARAMS/></METADATA><ROWDATA><ROW NameRow=\"Численность №1 «x»\"/></ROWDATA></DATAPACKET>"_s;
    const PacketData q = readDatapacket(QStringEncoder("windows-1251").encode(ours));
    EXPECT_EQ(q.rows[0][0].toString(), u"Численность №1 «x»"_s);
}

TEST(DatapacketRead, EntityBombIsRefusedQuickly)
{
    QElapsedTimer timer;
    timer.start();
    try {
        readDatapacket(readAll(packetsDir() + u"/damaged/entity_bomb.xml"_s));
        FAIL() << "no error";
    } catch (const DatapacketError& e) {
        EXPECT_TRUE(e.message().contains(u"DOCTYPE"_s)) << e.message().toStdString();
    }
    EXPECT_LT(timer.elapsed(), 200);
}

// ------------------------------------------------------------------ damaged corpus

struct DamagedCase {
    const char* file;
    bool loads;          // read successfully despite looking odd
    const char* mention; // part of the reason, UTF-8; empty for any
};

class DatapacketDamaged : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(DatapacketDamaged, GivesAClearReason)
{
    const QByteArray bytes =
        readAll(packetsDir() + u"/damaged/"_s + QString::fromLatin1(GetParam().file));
    if (GetParam().loads) {
        EXPECT_NO_THROW(readDatapacket(bytes));
        return;
    }
    try {
        readDatapacket(bytes);
        FAIL() << "no error for " << GetParam().file;
    } catch (const DatapacketError& e) {
        EXPECT_TRUE(e.message().startsWith(u"Файл повреждён: "_s)) << e.message().toStdString();
        EXPECT_FALSE(e.reason().isEmpty());
        EXPECT_TRUE(e.reason().contains(stringOf(GetParam().mention)))
            << GetParam().file << ": " << e.reason().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Corpus, DatapacketDamaged,
    ::testing::Values(
        DamagedCase{"good.xml", true, ""}, DamagedCase{"unknown_fieldtype.xml", true, ""},
        DamagedCase{"truncated.xml", false, "обрывается"},
        DamagedCase{"wrong_root.xml", false, "DATAPAKET"},
        DamagedCase{"missing_metadata.xml", false, "METADATA"},
        DamagedCase{"missing_fields.xml", false, "FIELDS"},
        DamagedCase{"missing_rowdata.xml", false, "ROWDATA"},
        DamagedCase{"no_fields_defined.xml", false, "поля"},
        DamagedCase{"unknown_element.xml", false, "COLUMN"},
        DamagedCase{"row_with_child.xml", false, "ROW"},
        DamagedCase{"text_in_rowdata.xml", false, "текст"},
        DamagedCase{"trailing_junk.xml", false, ""}, DamagedCase{"nested_type.xml", false, "Flag"},
        DamagedCase{"bad_integer.xml", false, "запись 1, поле «Graf03»: «12a»"},
        DamagedCase{"integer_overflow.xml", false, "«Graf03»: число «99999999999» не помещается"},
        DamagedCase{"bad_float.xml", false, "поле «Graf04»: «1,5»"},
        DamagedCase{"bad_date.xml", false, "поле «Day»: «20090230» не является датой"},
        DamagedCase{"bad_boolean.xml", false, "поле «Flag»: «yes»"},
        DamagedCase{"undeclared_field.xml", false, "Graf99"},
        DamagedCase{"undeclared_entity.xml", false, "строка 1, столбец"},
        DamagedCase{"entity_bomb.xml", false, "DOCTYPE"},
        DamagedCase{"external_entity.xml", false, "DOCTYPE"},
        DamagedCase{"bad_utf8.xml", false, "UTF-8"},
        DamagedCase{"unknown_encoding.xml", false, "x-klingon"},
        DamagedCase{"binary_junk.bin", false, ""}, DamagedCase{"empty.xml", false, "пуст"}));

TEST(DatapacketLoad, ErrorsNameTheFileAndLeaveTheTable)
{
    auto t = createRazdelTable(PosRazdel1);
    fillSample(*t, PosRazdel1);
    const QByteArray before = writeDatapacket(*t);
    const QString bad = packetsDir() + u"/damaged/bad_integer.xml"_s;
    try {
        loadTableFromFile(*t, bad);
        FAIL() << "no error";
    } catch (const DatapacketError& e) {
        EXPECT_TRUE(e.message().startsWith(u"Файл «"_s + bad + u"» повреждён: "_s))
            << e.message().toStdString();
    }
    EXPECT_EQ(writeDatapacket(*t), before);

    const QString missing = packetsDir() + u"/damaged/no_such_file.xml"_s;
    try {
        loadTableFromFile(*t, missing);
        FAIL() << "no error";
    } catch (const DatapacketError& e) {
        EXPECT_TRUE(e.message().contains(missing)) << e.message().toStdString();
    }
    EXPECT_EQ(writeDatapacket(*t), before);
}

TEST(DatapacketLoad, FileDefinitionsReplaceTheTables)
{
    DataSet other(u"x"_s,
                  {stringField(u"NameRow"_s, 100), integerField(u"Extra"_s), dateField(u"When"_s)});
    other.open();
    other.append();
    other.fieldByName(u"Extra"_s).setAsInteger(5);
    other.post();
    QTemporaryDir dir;
    const QString path = dir.filePath(u"o.xml"_s);
    saveTableToFile(other, path);

    auto q = createRazdelTable(PosQualityTest);
    loadTableFromFile(*q, path);
    const QList<FieldDef> f = dataFields(*q);
    ASSERT_EQ(f.size(), 3);
    EXPECT_EQ(f[0].name, u"NameRow"_s);
    EXPECT_EQ(f[0].size, 100);
    EXPECT_EQ(f[1].name, u"Extra"_s);
    EXPECT_EQ(f[2].type, FieldType::Date);
    EXPECT_FALSE(q->findField(u"ValueYes"_s).has_value());
    EXPECT_EQ(q->recordCount(), 1);
    q->first();
    EXPECT_EQ(q->fieldByName(u"extra"_s).asInteger(), 5);
}

// ------------------------------------------------------------------ saving

TEST(DatapacketSave, FailureLeavesTheOldFileWhole)
{
    QTemporaryDir dir;
    auto t = createRazdelTable(PosMembership);
    const QString path = dir.filePath(u"m.xml"_s);
    saveTableToFile(*t, path);
    const QByteArray old = readAll(path);

    setRow(*t, 8, {{u"NameRow"_s, u"网络"_s}});
    try {
        saveTableToFile(*t, path);
        FAIL() << "no error";
    } catch (const DataSetError& e) {
        EXPECT_TRUE(e.message().contains(path)) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(u"NameRow"_s)) << e.message().toStdString();
    }
    EXPECT_EQ(readAll(path), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{u"m.xml"_s});

    // A directory where the file should be.
    const QString asDir = dir.filePath(u"d.xml"_s);
    ASSERT_TRUE(QDir().mkpath(asDir + u"/inner"_s));
    setRow(*t, 8, {{u"NameRow"_s, u"Сеть"_s}});
    EXPECT_THROW(saveTableToFile(*t, asDir), DataSetError);
    EXPECT_TRUE(QFileInfo(asDir + u"/inner"_s).isDir());
}
