#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class AppPaths;
class ReportTables;

enum class RepFileMode {
    Submission,   // text in the export folder, checksummed, packed, then deleted
    ChecksumOnly, // scratch text in the temporary folder, checksummed, deleted
};

struct RepFileResult {
    QString archivePath; // submission mode only
    QString checksum;    // 8 upper-case hexadecimal digits
};

// The export file's name: OGRN, "--" for a legal entity, the year's last two digits,
// "0", ".txt".
QString RepFileName(const QString& ogrn, bool isUrLico, const QString& year);

// The lines of the export text, read through second cursors so that no table's current
// row moves. Throws DataSetError for a missing table or field.
QStringList RepFileLines(const ReportTables& tables);
// The lines in Windows-1251, each ended by CR LF. Throws DataSetError for text that
// code page cannot hold.
QByteArray RepFileBytes(const ReportTables& tables);

// Writes the export text of the year and checksums it. Submission mode leaves only the
// archive "<name>.zip" in `exportDir`; checksum-only mode leaves nothing behind. Files
// are replaced atomically; failures throw a UserError naming the file (ArchiveError from
// packing and checksumming). If packing fails, the text file stays in `exportDir`.
RepFileResult MakeRepFile(const ReportTables& tables, const QString& exportDir,
                          const QString& tempDir, const QString& year, RepFileMode mode);
// The same in the program's own Export and Temp folders.
RepFileResult MakeRepFile(const ReportTables& tables, const AppPaths& paths, const QString& year,
                          RepFileMode mode);

// The notice shown after a submission file was written.
QString RepFileMessage(const QString& archivePath);

// Blanks as the checks understand them: control characters and spaces.
bool IsBlankText(const QString& s);
// Money is written with at least one decimal: 1000 -> 1000.0; 12.25 stays.
QString RepMoneyText(const QString& value);
