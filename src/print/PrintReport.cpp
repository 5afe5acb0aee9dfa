#include "print/PrintReport.h"

#include "model/AppPaths.h"
#include "model/DataSet.h"
#include "model/DataSetError.h"
#include "model/MessageBoxes.h"
#include "model/Razdels.h"
#include "model/ReportTables.h"
#include "output/ExportFile.h"
#include "print/SpreadsheetApp.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString kMsgCaption = u"Сообщение"_s;

struct SectionShape {
    int position;
    int rows;
    int lastGraf;
};
// The cells the form prints: the same rows and columns as the export file.
constexpr SectionShape kSections[] = {
    {PosRazdel1, 4, 4},
    {PosRazdel2, 7, 4},
    {PosRazdel3, 17, 3},
    {PosRazdel4, 9, 9},
};

std::unique_ptr<DataSet> readCursor(const ReportTables& tables, int position)
{
    const QString& name = Razdels()[position].DataSetName;
    const DataSet* table = tables.FindDataSet(name);
    if (!table)
        throw DataSetError(u"Не найдена таблица %1"_s.arg(name));
    std::unique_ptr<DataSet> cursor = table->clone();
    cursor->setIndexFieldNames(table->indexFieldNames());
    cursor->first();
    return cursor;
}

QString marker(const QString& name)
{
    return u'#' + name + u'#';
}

} // namespace

QList<MarkerValue> ReportMarkers(const ReportTables& tables, const QString& year)
{
    QList<MarkerValue> out;
    const auto add = [&out](const QString& name, const QString& value) {
        out.append({marker(name), value});
    };

    auto req = readCursor(tables, PosRekvizity);
    const auto field = [&req](const QString& name) { return req->fieldByName(name).asString(); };
    if (req->fieldByName(u"IsUrLico"_s).asBoolean()) {
        add(u"Name"_s, u"'"_s + field(u"FullName"_s) + u" ("_s + field(u"name"_s) + u")"_s);
        add(u"FIO"_s, QString());
    } else {
        add(u"Name"_s, QString());
        add(u"FIO"_s, u"'"_s + field(u"FullName"_s));
    }
    for (const QString& name :
         {u"Address"_s, u"OKUD"_s, u"OKPO"_s, u"OGRN"_s, u"TelFax"_s, u"email"_s, u"rukovod"_s,
          u"PositionOtv"_s, u"FIOotv"_s, u"telOtv"_s, u"DataSost"_s})
        add(name, u"'"_s + field(name));

    for (const SectionShape& s : kSections) {
        auto cur = readCursor(tables, s.position);
        const bool money = s.position == PosRazdel2;
        const int rows = std::min(s.rows, cur->recordCount());
        for (int recNo = 1; recNo <= rows; ++recNo) {
            cur->setRecNo(recNo);
            const QString kod = cur->fieldByName(u"KodRow"_s).asString();
            for (int graf = 3; graf <= s.lastGraf; ++graf) {
                const QString value = cur->fieldByName(u"Graf0%1"_s.arg(graf)).asString();
                add(u"Row%1Graf0%2"_s.arg(kod).arg(graf),
                    u"'"_s + (money ? RepMoneyText(value) : value));
            }
        }
    }

    auto members = readCursor(tables, PosMembership);
    int k = 0;
    for (; !members->eof(); members->next()) {
        const QString name = members->fieldByName(u"NameRow"_s).asString();
        const QString joined = members->fieldByName(u"Year"_s).asString();
        if (IsBlankText(name) || IsBlankText(joined))
            continue;
        const QString n = QString::number(++k);
        add(u"NumRow"_s + n, u"'"_s + n);
        add(u"NameRow"_s + n, u"'"_s + name);
        add(u"KodRow"_s + n, u"'"_s + members->fieldByName(u"KodRow"_s).asString());
        add(u"YearVstuplen"_s + n, u"'"_s + joined);
    }
    for (int empty = k + 1; empty <= kMembershipRows; ++empty) {
        const QString n = QString::number(empty);
        for (const QString& name : {u"NumRow"_s, u"NameRow"_s, u"KodRow"_s, u"YearVstuplen"_s})
            add(name + n, QString());
    }

    auto quality = readCursor(tables, PosQualityTest);
    const bool passed = quality->fieldByName(u"ValueYes"_s).asBoolean();
    add(u"Yes"_s, passed ? u"ДА"_s : QString());
    add(u"No"_s, passed ? QString() : u"НЕТ"_s);
    add(u"Year"_s, year);
    return out;
}

bool ReplaceInSheet(SpreadsheetApp& app, const QString& what, const QString& value)
{
    bool result = false;
    try {
        app.setDisplayAlerts(false);
        if (!what.isEmpty())
            result = app.replaceInRange(QString::fromUtf16(kShablonRange), what, value);
    } catch (const SpreadsheetCancelled&) {
        throw; // the user stopped the print: no further calls
    } catch (...) {
        result = false;
    }
    try {
        app.setDisplayAlerts(true);
    } catch (...) {
    }
    return result;
}

void ReplaceAllInSheet(SpreadsheetApp& app, const QList<MarkerValue>& markers)
{
    bool done = false;
    try {
        app.setDisplayAlerts(false);
        app.replaceAllInRange(QString::fromUtf16(kShablonRange), markers);
        done = true;
    } catch (const SpreadsheetCancelled&) {
        throw;
    } catch (...) {
    }
    try {
        app.setDisplayAlerts(true);
    } catch (...) {
    }
    if (done)
        return;
    // One by one, each failure on its own, as the markers always were.
    for (const MarkerValue& mv : markers)
        ReplaceInSheet(app, mv.first, mv.second);
}

bool PrintRepExcel(const ReportTables& tables, const AppPaths& paths, const QString& year,
                   PrintMode mode, SpreadsheetApp& app, MessageBoxes& messages,
                   PrintPreview& preview, const QString& shablonDir)
{
    QString shablon =
        mode == PrintMode::Final ? paths.ShablonFileName() : paths.ShablonChernovikFileName();
    if (!shablonDir.isEmpty())
        shablon = QDir(shablonDir).absoluteFilePath(QFileInfo(shablon).fileName());
    shablon = QDir::toNativeSeparators(shablon);
    if (!QFileInfo(shablon).isFile()) {
        messages.InfoBox(u"Не найден файл шаблона для печати \n\r"_s + shablon, kMsgCaption);
        return false;
    }
    try {
        app.create();
    } catch (const SpreadsheetCancelled&) {
        return false;
    } catch (const SpreadsheetError&) {
        messages.InfoBox(u"Ошибка при создании объекта "_s +
                             QString::fromUtf16(kSpreadsheetProgId) + u"\n\r"_s +
                             u"Возможно не та версия EXCEL"_s,
                         kMsgCaption);
        return false;
    }

    try {
        app.setVisible(false);
        app.openWorkbook(shablon);
        app.unprotectSheet(QString::fromUtf16(kShablonPassword));
    } catch (const SpreadsheetCancelled&) {
        closeQuietly(app);
        return false;
    } catch (const SpreadsheetError&) {
        closeQuietly(app);
        messages.InfoBox(u"Ошибка при открытии файла "_s + shablon, kMsgCaption);
        return false;
    }

    QString pdf;
    try {
        ReplaceAllInSheet(app, ReportMarkers(tables, year));
        if (mode == PrintMode::Final) {
            const QString crc =
                MakeRepFile(tables, paths, year, RepFileMode::ChecksumOnly).checksum;
            ReplaceInSheet(app, marker(u"FileCRC"_s), crc);
        } else {
            ReplaceInSheet(app, u"КС = "_s + marker(u"FileCRC"_s), QString());
        }

        app.setVisible(true);
        app.setDisplayAlerts(false);
        pdf = QDir(paths.TempDir())
                  .absoluteFilePath(u"print-"_s + QUuid::createUuid().toString(QUuid::Id128) +
                                    u".pdf"_s);
        app.storeAs(pdf, FileFormat::Pdf);
        preview.show(pdf, QFileInfo(shablon).fileName());
        QFile::remove(pdf);
        app.closeWorkbook();
        app.release();
    } catch (const SpreadsheetCancelled&) {
        if (!pdf.isEmpty())
            QFile::remove(pdf);
        closeQuietly(app);
        return false;
    } catch (...) {
        if (!pdf.isEmpty())
            QFile::remove(pdf);
        closeQuietly(app);
        throw;
    }
    return true;
}
