#include "model/ReportFiles.h"

#include "model/Datapacket.h"
#include "model/RazdelFiles.h"
#include "model/Razdels.h"
#include "model/ReportTables.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

QStringList ExistingReportFiles(const AppPaths& paths, const QString& year)
{
    QStringList found;
    for (const TRazdel& r : Razdels()) {
        const QString file = RazdelFileName(paths, r.Kod, year);
        if (QFileInfo::exists(file))
            found << file;
    }
    return found;
}

bool HasReportFiles(const AppPaths& paths, const QString& year)
{
    return !ExistingReportFiles(paths, year).isEmpty();
}

void LoadReportFiles(ReportTables& tables, const AppPaths& paths, const QString& year)
{
    for (int p = 0; p < RazdelCount; ++p) {
        const QString file = RazdelFileName(paths, Razdels()[p].Kod, year);
        if (QFileInfo::exists(file))
            loadTableFromFile(*tables.razdel(p), file);
    }
}

QStringList SaveReportFiles(ReportTables& tables, const AppPaths& paths, const QString& year,
                            const QList<int>& positions)
{
    QStringList written;
    for (int p = 0; p < RazdelCount; ++p) {
        if (!positions.isEmpty() && !positions.contains(p))
            continue;
        SaveRazdel(tables.razdel(p), paths, Razdels()[p].Kod, year);
        written << QFileInfo(RazdelFileName(paths, Razdels()[p].Kod, year)).absoluteFilePath();
    }
    return written;
}

QString PreviousYear(const QString& year)
{
    return QString::number(year.toInt() - 1);
}
