#include "output/ArchiveCheck.h"

#include "control/Control.h"
#include "control/ErrorListText.h"
#include "model/AppPaths.h"
#include "model/DataSet.h"
#include "model/Razdels.h"
#include "model/ReportTables.h"
#include "model/Settings.h"
#include "output/Crc32.h"
#include "output/ExportImport.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QThread>
#include <atomic>
#include <optional>
#include <thread>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

QString crcText(const QByteArray& bytes)
{
    return CRCText(~UpdateCRC32(0xFFFFFFFFu, bytes.constData(), bytes.size()));
}

void check(ArchiveCheck& c, const QDate& today, const Settings* settings)
{
    const bool archive = QFileInfo(c.path).suffix().compare(u"zip"_s, Qt::CaseInsensitive) == 0;
    const RepSource source = ReadRepSource(c.path, true);
    if (archive) {
        const QString expected = StripExtension(QFileInfo(c.path).fileName()) + u".txt"_s;
        if (source.entryName != expected)
            throw DataSetError(
                u"файл в архиве называется «%1», а не «%2»"_s.arg(source.entryName, expected));
    }
    c.year = RepYearFromFileName(c.path);
    if (c.year.isEmpty())
        throw DataSetError(u"по имени файла не определить отчётный год"_s);
    c.checksum = crcText(source.bytes);

    ReportTables tables;
    try {
        ImportRepText(source.bytes, tables);
    } catch (const ImportError& e) {
        throw DataSetError(u"текст не читается как отчёт: "_s + e.message());
    }
    auto req = tables.razdel(PosRekvizity)->clone();
    req->first();
    c.ogrn = req->fieldByName(u"OGRN"_s).asString();
    c.shortName = req->fieldByName(u"name"_s).asString();

    // The default latest year of joining is the archive's own year.
    std::optional<Settings> own;
    if (settings)
        own.emplace(settings->iniFileName(), c.year);
    const ControlEnv env{today, own ? &*own : nullptr, c.year};
    ControlCounts counts;
    ControlAllRazdels(tables, tables.err(), counts, env, c.errors, c.warnings);
    c.opened = true;
}

} // namespace

ArchiveCheck CheckRepArchive(const QString& path, const QDate& today, const Settings* settings)
{
    ArchiveCheck c;
    c.path = path;
    try {
        check(c, today, settings);
    } catch (const UserError& e) {
        c.opened = false;
        c.reason = e.message();
    } catch (const std::exception& e) {
        c.opened = false;
        c.reason = QString::fromLocal8Bit(e.what());
    }
    if (!c.opened)
        c.errors = c.warnings = 0;
    return c;
}

QStringList FindRepArchives(const QStringList& paths, QStringList* missing)
{
    QStringList found;
    const auto wanted = [](const QFileInfo& info) {
        const QString s = info.suffix().toLower();
        return s == u"zip"_s || s == u"txt"_s;
    };
    for (const QString& p : paths) {
        const QFileInfo info(p);
        if (info.isFile()) {
            found << p;
        } else if (info.isDir()) {
            QDirIterator it(p, QDir::Files | QDir::NoDotAndDotDot | QDir::Hidden,
                            QDirIterator::Subdirectories);
            QStringList inside;
            while (it.hasNext()) {
                const QString file = it.next();
                if (wanted(it.fileInfo()))
                    inside << file;
            }
            inside.sort();
            found << inside;
        } else if (missing) {
            *missing << p;
        }
    }
    found.removeDuplicates();
    return found;
}

QList<ArchiveCheck> CheckRepArchives(const QStringList& files, const QDate& today,
                                     const Settings* settings, int threads)
{
    QList<ArchiveCheck> results(files.size());
    if (threads <= 0)
        threads = std::max(1, QThread::idealThreadCount());
    threads = int(std::min<qsizetype>(threads, std::max<qsizetype>(files.size(), 1)));
    std::atomic<qsizetype> next{0};
    const auto work = [&] {
        for (qsizetype i = next++; i < files.size(); i = next++)
            results[i] = CheckRepArchive(files[i], today, settings);
    };
    std::vector<std::thread> workers;
    for (int t = 1; t < threads; ++t)
        workers.emplace_back(work);
    work();
    for (std::thread& w : workers)
        w.join();
    return results;
}

QString ArchiveCheckLine(const ArchiveCheck& c)
{
    if (!c.opened)
        return QStringList{escapeLineText(c.path), u"не открыт"_s, escapeLineText(c.reason)}.join(
            u'\t');
    return QStringList{escapeLineText(c.path),
                       u"открыт"_s,
                       c.checksum,
                       escapeLineText(c.ogrn),
                       escapeLineText(c.shortName),
                       c.year,
                       QString::number(c.errors),
                       QString::number(c.warnings)}
        .join(u'\t');
}

QString ArchiveCheckSummary(const QList<ArchiveCheck>& checks)
{
    qsizetype opened = 0, withErrors = 0;
    for (const ArchiveCheck& c : checks) {
        opened += c.opened ? 1 : 0;
        withErrors += c.opened && c.errors > 0 ? 1 : 0;
    }
    return u"Архивов: %1, открыто: %2, с ошибками: %3, не прочитано: %4"_s.arg(checks.size())
        .arg(opened)
        .arg(withErrors)
        .arg(checks.size() - opened);
}

int ArchiveCheckExitCode(const QList<ArchiveCheck>& checks)
{
    int code = 0;
    for (const ArchiveCheck& c : checks) {
        if (!c.opened)
            return 2;
        if (c.errors > 0)
            code = 1;
    }
    return code;
}
