// Whole-report cases kept as data: tests/data/control/<case>/ holds the section files
// of the year (only the sections that differ from the built-in rows), an optional
// settings.ini and expected.txt, the output of `form2audit-cli check` for that folder.
//
// The section files are written from the definitions below. To rewrite them after a
// change of a definition, run core_tests with F2A_WRITE_CONTROL_CASES=1 set; the
// expected files are written by hand.

#include "control/ControlTestSupport.h"

#include "TestSupport.h"
#include "control/ErrorListText.h"
#include "model/Datapacket.h"
#include "model/FormTables.h"
#include "model/Razdels.h"
#include "model/ReportTables.h"
#include "model/Settings.h"
#include "model/Totals.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <set>

using namespace Qt::StringLiterals;

namespace {

QString casesDir()
{
    return QStringLiteral(F2A_TEST_DATA "/control");
}

QString sectionFile(const QString& dir, int pos)
{
    return dir + u'/' + kTestYear + u'_' + Razdels()[pos].Kod + u".XML"_s;
}

struct CaseDef {
    using Foreign = std::function<void(ReportTables&, std::set<int>&)>;
    CaseDef(QString n, std::vector<Cell> c, bool r = true, Foreign f = {})
        : name(std::move(n)), cells(std::move(c)), recalc(r), foreign(std::move(f))
    {
    }
    QString name;
    std::vector<Cell> cells;
    bool recalc; // false: the files keep totals that were never computed
    // Replaces a table by one the program itself would never write.
    Foreign foreign;
};

std::vector<Cell> operator+(std::vector<Cell> a, const std::vector<Cell>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<Cell> section1Only()
{
    std::vector<Cell> out;
    for (const Cell& c : consistentFigures())
        if (c.pos == PosRazdel1 || c.pos == PosQualityTest)
            out.push_back(c);
    return out;
}

std::vector<Cell> figuresWithoutMembership()
{
    std::vector<Cell> out;
    for (const Cell& c : consistentFigures())
        if (c.pos != PosMembership)
            out.push_back(c);
    return out;
}

// A membership table whose Year is text, as a foreign program might write it.
void foreignMembership(ReportTables& t, std::set<int>& touched)
{
    DataSet& m = *t.razdel(PosMembership);
    QList<FieldDef> fields = m.fieldDefs();
    std::vector<RowValues> rows;
    for (const Row& r : m.rows())
        rows.push_back(r.values);
    const int year = m.fieldIndex(u"Year"_s);
    fields[year] = stringField(u"Year"_s, 10);
    rows[5][1] = u"Ассоциация аудиторов Поволжья"_s; // Num 6, KodRow 20
    rows[5][year] = u"19a5"_s;
    rows[10][1] = u"Международная сеть \"Альфа\""_s; // Num 11, KodRow 30
    rows[10][year] = u"2003"_s;
    rows[11][year] = u"1980"_s; // Num 12, KodRow 30, no name
    m.loadData(fields, std::move(rows));
    touched.insert(PosMembership);
}

std::vector<CaseDef> caseDefs()
{
    const int M = PosMembership;
    const QString year = u"Year"_s;
    const QString name = u"NameRow"_s;
    return {
        {u"empty_report"_s, {}},
        {u"consistent_report"_s, validRekvizity() + consistentFigures()},
        {u"only_section1_stale_total"_s, validRekvizity() + section1Only(), false},
        // Every total missing from the files: relations must not read them stale.
        {u"stale_totals"_s, validRekvizity() + consistentFigures(), false},
        {u"section1_empty_section3_filled"_s,
         validRekvizity() + std::vector<Cell>{{PosRazdel3, u"13"_s, u"Graf03"_s, 4},
                                              {PosQualityTest, {}, u"ValueYes"_s, true},
                                              {M, u"1"_s, year, 2003}}},
        {u"audit_revenue_only"_s, validRekvizity() + section1Only() +
                                      std::vector<Cell>{{PosRazdel2, u"06"_s, u"Graf03"_s, 100.5},
                                                        {PosRazdel2, u"06"_s, u"Graf04"_s, 80},
                                                        {M, u"1"_s, year, 2003}}},
        {u"section4_row33"_s, validRekvizity() + section1Only() +
                                  std::vector<Cell>{{PosRazdel2, u"06"_s, u"Graf03"_s, 50},
                                                    {PosRazdel2, u"06"_s, u"Graf04"_s, 40},
                                                    {PosRazdel3, u"13"_s, u"Graf03"_s, 6},
                                                    {PosRazdel4, u"33"_s, u"Graf04"_s, 1},
                                                    {PosRazdel4, u"33"_s, u"Graf05"_s, 1},
                                                    {PosRazdel4, u"33"_s, u"Graf06"_s, 1},
                                                    {PosRazdel4, u"33"_s, u"Graf08"_s, 3},
                                                    {PosRazdel4, u"33"_s, u"Graf09"_s, 2},
                                                    {PosRazdel4, u"37"_s, u"Graf03"_s, 3},
                                                    {M, u"1"_s, year, 2003}}},
        {u"membership"_s, validRekvizity() + figuresWithoutMembership() +
                              std::vector<Cell>{
                                  {M, u"2"_s, year, 2005},
                                  {M, u"3"_s, year, 1989},
                                  {M, u"6"_s, name, u"Ассоциация аудиторов Поволжья"_s},
                                  {M, u"6"_s, year, 1990},
                                  {M, u"7"_s, name, u"Сибирская аудиторская ассоциация"_s},
                                  {M, u"8"_s, year, 2001},
                                  {M, u"12"_s, year, 1985},
                                  {M, u"13"_s, name, u"Международная сеть \"Альфа\""_s},
                                  {M, u"13"_s, year, 2010},
                                  {M, u"14"_s, name, u"Сеть \"Бета\""_s},
                                  {M, u"15"_s, name, u"Сеть \"Гамма\""_s},
                                  {M, u"15"_s, year, 2009},
                              }},
        {u"membership_settings"_s, validRekvizity() + figuresWithoutMembership() +
                                       std::vector<Cell>{
                                           {M, u"2"_s, year, 1999},
                                           {M, u"6"_s, name, u"Ассоциация аудиторов Поволжья"_s},
                                           {M, u"6"_s, year, 2006},
                                           {M, u"11"_s, name, u"Международная сеть \"Альфа\""_s},
                                           {M, u"11"_s, year, 2005},
                                       }},
        {u"membership_foreign_year"_s, validRekvizity() + figuresWithoutMembership(), true,
         foreignMembership},
        {u"individual_entrepreneur"_s,
         validRekvizity() + consistentFigures() +
             std::vector<Cell>{{PosRekvizity, {}, u"IsUrLico"_s, false},
                               {PosRekvizity, {}, u"name"_s, u"ИП Сидоров"_s},
                               {PosRekvizity, {}, u"OKPO"_s, u"0123456789"_s},
                               {PosRekvizity, {}, u"OGRN"_s, u"304770000000172"_s}}},
    };
}

// Writes the section files of a case into `dir`.
void writeCaseFiles(const CaseDef& def, const QString& dir)
{
    ReportTables t;
    setCells(t, def.cells);
    if (def.recalc)
        CalcAllRazdels(t);
    std::set<int> touched;
    for (const Cell& c : def.cells)
        touched.insert(c.pos);
    if (def.foreign)
        def.foreign(t, touched);
    for (int pos : touched)
        saveTableToFile(*t.razdel(pos), sectionFile(dir, pos));
}

struct Outcome {
    QStringList lines;
    int errors = 0;
    int warnings = 0;
};

// What `check --data dir` does, in-process.
Outcome runCase(const QString& dir)
{
    ReportTables t;
    for (int p = 0; p < RazdelCount; ++p)
        if (QFile::exists(sectionFile(dir, p)))
            loadTableFromFile(*t.razdel(p), sectionFile(dir, p));
    std::optional<Settings> settings;
    if (QFile::exists(dir + u"/settings.ini"_s))
        settings.emplace(dir + u"/settings.ini"_s, kTestYear);
    const ControlCounts counts = runControl(t, settings ? &*settings : nullptr);
    Outcome o{ErrorListLines(t.err()), counts.AllErrCount, counts.AllWarnCount};
    o.lines << ErrorListSummary(o.errors, o.warnings);
    return o;
}

QStringList caseFolders()
{
    return QDir(casesDir()).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

TEST(ControlGolden, InputFilesMatchTheirDefinitions)
{
    const bool write = qEnvironmentVariableIsSet("F2A_WRITE_CONTROL_CASES");
    for (const CaseDef& def : caseDefs()) {
        SCOPED_TRACE(def.name.toStdString());
        const QString committed = casesDir() + u'/' + def.name;
        if (write) {
            QDir().mkpath(committed);
            for (int p = 0; p < RazdelCount; ++p)
                QFile::remove(sectionFile(committed, p));
        }
        QTemporaryDir tmp;
        writeCaseFiles(def, write ? committed : tmp.path());
        if (write)
            continue;
        for (int p = 0; p < RazdelCount; ++p) {
            const bool made = QFile::exists(sectionFile(tmp.path(), p));
            EXPECT_EQ(QFile::exists(sectionFile(committed, p)), made)
                << Razdels()[p].Kod.toStdString();
            if (made) {
                EXPECT_EQ(readAll(sectionFile(committed, p)), readAll(sectionFile(tmp.path(), p)))
                    << Razdels()[p].Kod.toStdString();
            }
        }
    }
}

TEST(ControlGolden, EveryCaseGivesItsExpectedList)
{
    const QStringList folders = caseFolders();
    ASSERT_GE(folders.size(), qsizetype(caseDefs().size()));
    for (const QString& name : folders) {
        SCOPED_TRACE(name.toStdString());
        const QString dir = casesDir() + u'/' + name;
        QStringList expected = QString::fromUtf8(readAll(dir + u"/expected.txt"_s)).split(u'\n');
        if (!expected.isEmpty() && expected.last().isEmpty())
            expected.removeLast();
        const Outcome o = runCase(dir);
        EXPECT_EQ(o.lines.size(), expected.size());
        for (qsizetype i = 0; i < std::max(o.lines.size(), expected.size()); ++i)
            EXPECT_EQ(o.lines.value(i), expected.value(i)) << "line " << i + 1;
    }
}

TEST(ControlGolden, SecondRunGivesIdenticalRecordsAndCounts)
{
    for (const QString& name : caseFolders()) {
        SCOPED_TRACE(name.toStdString());
        const QString dir = casesDir() + u'/' + name;
        ReportTables t;
        for (int p = 0; p < RazdelCount; ++p)
            if (QFile::exists(sectionFile(dir, p)))
                loadTableFromFile(*t.razdel(p), sectionFile(dir, p));
        const ControlCounts first = runControl(t);
        const QStringList firstLines = ErrorListLines(t.err());
        const int rows = t.err().recordCount();
        const ControlCounts second = runControl(t);
        EXPECT_EQ(ErrorListLines(t.err()), firstLines);
        EXPECT_EQ(t.err().recordCount(), rows);
        EXPECT_EQ(second.RazdelErrCount, first.RazdelErrCount);
        EXPECT_EQ(second.RazdelWarnCount, first.RazdelWarnCount);
        EXPECT_EQ(second.AllErrCount, first.AllErrCount);
        EXPECT_EQ(second.AllWarnCount, first.AllWarnCount);
    }
}
