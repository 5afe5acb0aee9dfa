#include "output/ExportFile.h"

#include "model/AppPaths.h"
#include "model/DataSet.h"
#include "model/Razdels.h"
#include "model/ReportTables.h"
#include "model/Windows1251.h"
#include "output/Crc32.h"
#include "output/ZipPack.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString kScratchName = u"tttttt"_s;

// Rows and columns written for sections 1 to 4, whatever the tables hold.
struct SectionShape {
    int position;
    int rows;
    int lastGraf; // columns Graf03 .. Graf0<lastGraf>
};
constexpr SectionShape kSections[] = {
    {PosRazdel1, 4, 4},
    {PosRazdel2, 7, 4},
    {PosRazdel3, 17, 3},
    {PosRazdel4, 9, 9},
};

DataSet& tableAt(const ReportTables& tables, int position)
{
    const QString& name = Razdels()[position].DataSetName;
    DataSet* table = tables.FindDataSet(name);
    if (!table)
        throw DataSetError(u"Не найдена таблица %1"_s.arg(name));
    return *table;
}

// A second cursor in the table's own row order; the table's cursor stays where it is.
std::unique_ptr<DataSet> readCursor(const DataSet& table)
{
    std::unique_ptr<DataSet> cursor = table.clone();
    cursor->setIndexFieldNames(table.indexFieldNames());
    cursor->first();
    return cursor;
}

QString text(DataSet& cursor, const QString& field)
{
    return cursor.fieldByName(field).asString();
}

struct KeyedLine {
    const char16_t* key;
    const char16_t* field;
};

constexpr KeyedLine kHeadLines[] = {
    {u"ЮЛФЛ=", u"FullName"}, {u"ЮЛКН=", u"name"}, {u"АДРЮ=", u"UrAdress"}, {u"АДРП=", u"Address"},
    {u"РЕГИОН=", u"KodGAI"}, {u"ОКУД=", u"OKUD"}, {u"ОКПО=", u"OKPO"},     {u"ОГРН=", u"OGRN"},
};

constexpr KeyedLine kTailLines[] = {
    {u"ТЕЛФ=", u"TelFax"},        {u"ЕМЛ=", u"email"},    {u"РУКФФЛ=", u"rukovod"},
    {u"ДОЛОТЛ=", u"PositionOtv"}, {u"ОТЛИЦ=", u"FIOotv"}, {u"КОНТЕЛ=", u"telOtv"},
    {u"ДАТАОТ=", u"DataSost"},
};

template <std::size_t N>
void addKeyedLines(QStringList& lines, DataSet& cursor, const KeyedLine (&keyed)[N])
{
    for (const KeyedLine& k : keyed)
        lines << QString::fromUtf16(k.key) + text(cursor, QString::fromUtf16(k.field));
}

} // namespace

QString RepFileName(const QString& ogrn, bool isUrLico, const QString& year)
{
    return ogrn + (isUrLico ? u"--"_s : QString()) + year.mid(2, 2) + u"0.txt"_s;
}

QStringList RepFileLines(const ReportTables& tables)
{
    QStringList lines;

    auto req = readCursor(tableAt(tables, PosRekvizity));
    lines << u"ЛИЦО="_s + (req->fieldByName(u"IsUrLico"_s).asBoolean() ? u"2"_s : u"1"_s);
    addKeyedLines(lines, *req, kHeadLines);

    for (const SectionShape& s : kSections) {
        DataSet& table = tableAt(tables, s.position);
        auto cur = readCursor(table);
        lines << u"РД=%1"_s.arg(s.position);
        if (cur->recordCount() < s.rows)
            throw DataSetError(u"В таблице %1 %2 строк вместо %3"_s.arg(
                table.name(), QString::number(cur->recordCount()), QString::number(s.rows)));
        const bool money = s.position == PosRazdel2;
        for (int recNo = 1; recNo <= s.rows; ++recNo) {
            cur->setRecNo(recNo);
            QString line = text(*cur, u"KodRow"_s) + u'|';
            for (int graf = 3; graf <= s.lastGraf; ++graf) {
                const QString value = text(*cur, u"Graf0%1"_s.arg(graf));
                line += (money ? RepMoneyText(value) : value) + u'|';
            }
            lines << line;
        }
    }

    lines << u"РД=5"_s;
    auto quality = readCursor(tableAt(tables, PosQualityTest));
    lines << u"0|"_s + text(*quality, quality->fieldByName(u"ValueYes"_s).asBoolean()
                                          ? u"NameYes"_s
                                          : u"NameNo"_s);

    auto members = readCursor(tableAt(tables, PosMembership));
    int k = 0;
    for (; !members->eof(); members->next()) {
        const QString name = text(*members, u"NameRow"_s);
        const QString year = text(*members, u"Year"_s);
        if (IsBlankText(name) || IsBlankText(year))
            continue;
        lines << u"%1|%2|%3|%4"_s.arg(QString::number(++k), name, text(*members, u"KodRow"_s),
                                      year);
    }

    lines << u"#"_s;
    req->first();
    addKeyedLines(lines, *req, kTailLines);
    return lines;
}

QByteArray RepFileBytes(const ReportTables& tables)
{
    QByteArray bytes;
    for (const QString& line : RepFileLines(tables)) {
        // A character the code page lacks would be written as '?' and change the figures.
        const auto encoded = encodeWindows1251(line);
        if (!encoded)
            throw DataSetError(u"Строку «%1» нельзя записать в кодировке Windows-1251"_s.arg(line));
        bytes += *encoded;
        bytes += "\r\n";
    }
    return bytes;
}

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    const auto fail = [&](const QString& reason) {
        throw DataSetError(
            u"Не удалось записать файл «%1»: %2"_s.arg(QDir::toNativeSeparators(path), reason));
    };
    if (!file.open(QIODevice::WriteOnly))
        fail(file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        fail(reason);
    }
    if (!file.commit())
        fail(file.errorString());
}

void removeFile(const QString& path)
{
    QFile file(path);
    if (!file.remove())
        throw DataSetError(u"Не удалось удалить файл «%1»: %2"_s.arg(QDir::toNativeSeparators(path),
                                                                     file.errorString()));
}

QString folderPath(const QString& dir, const QString& name)
{
    QDir().mkpath(dir); // a failure shows at the write, naming the file
    return QDir(dir).absoluteFilePath(name);
}

} // namespace

RepFileResult MakeRepFile(const ReportTables& tables, const QString& exportDir,
                          const QString& tempDir, const QString& year, RepFileMode mode)
{
    // The name comes from the requisites' current record, the table is not moved.
    DataSet& requisites = tableAt(tables, PosRekvizity);
    const QString name = RepFileName(requisites.fieldByName(u"OGRN"_s).asString(),
                                     requisites.fieldByName(u"IsUrLico"_s).asBoolean(), year);
    const QString textPath = folderPath(exportDir, name);
    const QByteArray bytes = RepFileBytes(tables);

    RepFileResult result;
    if (mode == RepFileMode::ChecksumOnly) {
        const QString scratch = folderPath(tempDir, kScratchName);
        writeFile(scratch, bytes);
        result.checksum = FileCRCText(scratch);
        removeFile(scratch);
        return result;
    }

    writeFile(textPath, bytes);
    result.checksum = FileCRCText(textPath);
    const QString archive = ZipRepFile(textPath, RepZipPassword);
    removeFile(textPath);
    result.archivePath = archive;
    return result;
}

RepFileResult MakeRepFile(const ReportTables& tables, const AppPaths& paths, const QString& year,
                          RepFileMode mode)
{
    return MakeRepFile(tables, paths.ExportDir(),
                       mode == RepFileMode::ChecksumOnly ? paths.TempDir() : QString(), year, mode);
}

QString RepFileMessage(const QString& archivePath)
{
    return u"Данные для отправки в Минфин записаны в файл \n\r"_s +
           QDir::toNativeSeparators(archivePath);
}

bool IsBlankText(const QString& s)
{
    for (QChar c : s)
        if (c.unicode() > u' ')
            return false;
    return true;
}

QString RepMoneyText(const QString& value)
{
    if (IsBlankText(value) || value.contains(u'.'))
        return value;
    return value + u".0"_s;
}
