#include "model/Settings.h"
#include "TestSupport.h"
#include "model/Clock.h"
#include "model/DataSetError.h"
#include "model/FixedClock.h"
#include "model/ReportYear.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Makes `dir` read-only; answers false when permissions do not bite (running as root).
bool makeReadOnly(const QString& dir)
{
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner);
    QFile probe(dir + u"/probe"_s);
    if (probe.open(QIODevice::WriteOnly)) {
        probe.remove();
        return false;
    }
    return true;
}

void makeWritable(const QString& dir)
{
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

} // namespace

TEST(ReportYearTest, ChangesOnTheFirstOfOctober)
{
    const std::pair<QDate, QString> cases[] = {
        {QDate(2009, 9, 30), u"2008"_s},  {QDate(2009, 10, 1), u"2009"_s},
        {QDate(2009, 12, 31), u"2009"_s}, {QDate(2010, 1, 1), u"2009"_s},
        {QDate(2010, 3, 15), u"2009"_s},  {QDate(2000, 5, 1), u"1999"_s},
    };
    FixedClock clock(QDate(2000, 1, 1));
    for (const auto& [date, year] : cases) {
        EXPECT_EQ(ReportYear(date), year) << date.toString(Qt::ISODate).toStdString();
        clock.setToday(date);
        EXPECT_EQ(ReportYear(clock), year);
    }
}

TEST(SettingsBooleanTest, StrToBooleanTable)
{
    const std::pair<QString, bool> cases[] = {
        {u"false"_s, false},      {u"FALSE"_s, false}, {u"False"_s, false},
        {u"0"_s, false},          {u"-0"_s, false},    {u"abc"_s, false},
        {QString(), false},       {u" "_s, false},     {u"1.5"_s, false},
        {u"yes"_s, false},        {u" true"_s, false}, {u"2147483648"_s, false},
        {u"true"_s, true},        {u"TRUE"_s, true},   {u"tRuE"_s, true},
        {u"1"_s, true},           {u"2"_s, true},      {u"-1"_s, true},
        {u"+7"_s, true},          {u" 1"_s, true},     {u"2147483647"_s, true},
        {u"-2147483648"_s, true},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(StrToBoolean(text), expected) << '"' << text.toStdString() << '"';

    EXPECT_TRUE(StrToBoolean(BooleanToStr(true)));
    EXPECT_FALSE(StrToBoolean(BooleanToStr(false)));
}

TEST_F(SettingsTest, MayRedaktDataReadsTheReportingYearsSectionLeniently)
{
    struct Case {
        const char* name;
        QByteArray content;
        bool expected;
    };
    const Case cases[] = {
        {"word false", "[2008]\nMayRedaktData=false\n", false},
        {"word FALSE", "[2008]\nMayRedaktData=FALSE\n", false},
        {"word False", "[2008]\nMayRedaktData=False\n", false},
        {"zero", "[2008]\nMayRedaktData=0\n", false},
        {"no number", "[2008]\nMayRedaktData=abc\n", false},
        {"empty value", "[2008]\nMayRedaktData=\n", false},
        {"two", "[2008]\nMayRedaktData=2\n", true},
        {"minus one", "[2008]\nMayRedaktData=-1\n", true},
        {"key absent", "[2008]\nOther=0\n", true},
        {"other year only", "[2009]\nMayRedaktData=0\n", true},
        {"key in other letter case", "[2008]\nmayredaktdata=0\n", false},
    };
    // One file per case: QSettings notices outside changes by size and time only.
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = path(u"case%1.ini"_s.arg(++n));
        writeFile(file, c.content);
        EXPECT_EQ(Settings(file, u"2008"_s).GetMayRedaktData(), c.expected);
    }
    EXPECT_TRUE(Settings(path(u"missing.ini"_s), u"2008"_s).GetMayRedaktData());
}

TEST_F(SettingsTest, DefaultsWithoutAFile)
{
    const QString file = path(u"form2audit.ini"_s);
    const Settings settings(file, ReportYear(FixedClock(QDate(2009, 9, 15))));

    EXPECT_TRUE(settings.GetFirstTimeRazdel02());
    EXPECT_TRUE(settings.GetMayRedaktData());
    EXPECT_EQ(settings.GetYearVstuplenMin(), u"1990"_s);
    EXPECT_EQ(settings.GetYearVstuplenMax(), u"2008"_s);
    EXPECT_EQ(settings.GetEmailForRep(), u"2audit@minfin.ru"_s);
    EXPECT_EQ(IniRead(file, u"Parms"_s, u"FirstTime"_s, u"def"_s), u"def"_s);
    // Reading never creates the file.
    EXPECT_FALSE(QFile::exists(file));
}

TEST_F(SettingsTest, ReadsHandWrittenValues)
{
    const QString file = path(u"form2audit.ini"_s);
    writeFile(file, "[Parms]\n"
                    "YearVstuplen_Min=1995\n"
                    "YearVstuplen_Max=2007\n"
                    "Email_ForRep=a@example.ru, b@example.ru\n"
                    "FirstTime_Razdel02=0\n");
    const Settings settings(file, u"2008"_s);
    EXPECT_EQ(settings.GetYearVstuplenMin(), u"1995"_s);
    EXPECT_EQ(settings.GetYearVstuplenMax(), u"2007"_s);
    EXPECT_EQ(settings.GetEmailForRep(), u"a@example.ru, b@example.ru"_s);
    EXPECT_FALSE(settings.GetFirstTimeRazdel02());
}

TEST_F(SettingsTest, SectionsAndKeysIgnoreLetterCase)
{
    const QString file = path(u"form2audit.ini"_s);
    writeFile(file, "[parms]\nemail_forrep=x@example.ru\nfirsttime_razdel02=1\n[general]\nK=v\n");
    Settings settings(file, u"2008"_s);
    EXPECT_EQ(settings.GetEmailForRep(), u"x@example.ru"_s);
    EXPECT_EQ(IniRead(file, u"General"_s, u"k"_s, QString()), u"v"_s);

    // The existing spelling is overwritten, not doubled.
    settings.SetFirstTimeRazdel02(false);
    EXPECT_FALSE(settings.GetFirstTimeRazdel02());
    EXPECT_EQ(readFile(file).toLower().count("firsttime_razdel02"), 1);
}

TEST_F(SettingsTest, WritesGoToTheirSections)
{
    const QString file = path(u"form2audit.ini"_s);
    Settings settings(file, u"2009"_s);
    writeFile(file, "[Parms]\nYearVstuplen_Min=1991\n");

    settings.SetFirstTimeRazdel02(false);
    settings.SetFirstTime(false);
    settings.SaveYearOfRep(u"2009"_s);
    settings.SetMayRedaktData(false);

    EXPECT_FALSE(settings.GetFirstTimeRazdel02());
    EXPECT_FALSE(settings.GetMayRedaktData());
    EXPECT_TRUE(Settings(file, u"2008"_s).GetMayRedaktData());
    EXPECT_EQ(settings.GetYearVstuplenMin(), u"1991"_s);

    const QByteArray text = readFile(file);
    for (const char* line : {"[Parms]", "FirstTime=0", "FirstTime_Razdel02=0", "YearOfRep=2009",
                             "YearVstuplen_Min=1991", "[2009]", "MayRedaktData=0"})
        EXPECT_TRUE(text.contains(line)) << line;
}

TEST_F(SettingsTest, ValuesRoundTripExactly)
{
    const QString file = path(u"form2audit.ini"_s);
    const QString values[] = {
        u"Иванов Пётр Ёжиков"_s,
        u"Список: а, б; в = «г»"_s,
        u"  spaces around  "_s,
        u"C:\\Temp\\x"_s,
        u"@at start"_s,
        u"\"quoted\""_s,
        QString(),
    };
    int n = 0;
    for (const QString& value : values) {
        const QString key = u"Key%1"_s.arg(++n);
        IniWrite(file, u"Parms"_s, key, value);
        EXPECT_EQ(IniRead(file, u"Parms"_s, key, u"default"_s), value);
    }
    // Earlier keys survive later writes.
    EXPECT_EQ(IniRead(file, u"Parms"_s, u"Key1"_s, QString()), values[0]);
}

TEST_F(SettingsTest, WriteToAnUnusablePathFails)
{
    writeFile(path(u"plain"_s), "x");
    ASSERT_TRUE(QDir().mkpath(path(u"folder.ini"_s)));
    const std::pair<QString, QString> cases[] = {
        {path(u"plain/form2audit.ini"_s), u"не является папкой"_s},
        {path(u"plain/sub/form2audit.ini"_s), u"не существует"_s},
        {path(u"folder.ini"_s), u"на месте файла находится папка"_s},
    };
    for (const auto& [target, reason] : cases) {
        SCOPED_TRACE(target.toStdString());
        try {
            IniWrite(target, u"Parms"_s, u"YearOfRep"_s, u"2008"_s);
            ADD_FAILURE() << "no exception";
        } catch (const DataSetError& e) {
            EXPECT_EQ(
                e.message().left(e.message().indexOf(u": "_s)),
                u"Не удалось записать файл настроек «%1»"_s.arg(QDir::toNativeSeparators(target)));
            EXPECT_TRUE(e.message().contains(reason)) << e.what();
        }
    }
}

TEST_F(SettingsTest, WriteWithoutPermissionFailsAndKeepsTheFile)
{
    const QByteArray original = "[Parms]\nYearOfRep=2007\n";
    const QString folder = path(u"ro"_s);
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString inReadOnlyFolder = folder + u"/form2audit.ini"_s;
    const QString missing = folder + u"/new.ini"_s;
    const QString readOnlyFile = path(u"readonly.ini"_s);
    // QSettings reports only its first error; a parse error must not hide the failed write.
    const QString damaged = folder + u"/damaged.ini"_s;
    writeFile(damaged, "[Parms\nYearOfRep=2007\n");
    writeFile(inReadOnlyFolder, original);
    writeFile(readOnlyFile, original);
    QFile::setPermissions(readOnlyFile, QFile::ReadOwner);

    if (!makeReadOnly(folder)) {
        makeWritable(folder);
        GTEST_SKIP() << "file permissions are not enforced for this user";
    }
    // The file in the read-only folder is itself writable: only a direct overwrite could
    // succeed there, and the replacement is atomic or nothing.
    const std::pair<QString, QString> cases[] = {
        {inReadOnlyFolder, u"нет права записи в папку"_s},
        {missing, u"нет права записи в папку"_s},
        {damaged, u"нет права записи в папку"_s},
        {readOnlyFile, u"файл доступен только для чтения"_s},
    };
    for (const auto& [target, reason] : cases) {
        SCOPED_TRACE(target.toStdString());
        try {
            Settings(target, u"2008"_s).SaveYearOfRep(u"2008"_s);
            ADD_FAILURE() << "no exception";
        } catch (const DataSetError& e) {
            EXPECT_TRUE(e.message().startsWith(u"Не удалось записать файл настроек «%1»: "_s.arg(
                QDir::toNativeSeparators(target))))
                << e.what();
            EXPECT_TRUE(e.message().contains(reason)) << e.what();
        }
    }
    makeWritable(folder);
    EXPECT_EQ(readFile(inReadOnlyFolder), original);
    EXPECT_EQ(readFile(readOnlyFile), original);
    EXPECT_FALSE(QFile::exists(missing));
}

// The early office start is on unless the file plainly says no.
TEST_F(SettingsTest, PreStartOfficeIsOffOnlyForAPlainNo)
{
    const struct {
        const char* line;
        bool expected;
    } cases[] = {
        {"", true},
        {"PreStartOffice=1\n", true},
        {"PreStartOffice=\n", true},
        {"PreStartOffice=yes\n", true},
        {"PreStartOffice=0\n", false},
        {"PreStartOffice= 0 \n", false},
        {"prestartoffice=false\n", false},
    };
    for (const auto& c : cases) {
        const QString file = path(u"form2audit.ini"_s);
        writeFile(file, QByteArray("[Parms]\n") + c.line);
        EXPECT_EQ(Settings(file, u"2008"_s).GetPreStartOffice(), c.expected) << c.line;
    }
}
