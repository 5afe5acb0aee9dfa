#pragma once

#include "model/AppPaths.h"
#include "model/DataSetError.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class ReportTables;

// A text that is not a well-formed export text: the line (1-based) and the reason.
class ImportError : public DataSetError {
public:
    ImportError(int line, const QString& reason);
    int line() const { return m_line; }
    const QString& reason() const { return m_reason; }

private:
    int m_line;
    QString m_reason;
};

// Reads an export text back into `tables` (fresh tables holding their built-in rows): the
// requisites, the rows of sections 1 to 4, the quality review answer and the membership
// records, matched to the built-in rows by code (other associations and networks into
// the free rows of their code, from the first). The text must be exactly what the export
// writes for the values read, byte for byte; otherwise ImportError names the first line
// that differs. Answers notes, each "Строка N: ...", on what the text could not carry
// unambiguously (a value holding a line break).
QStringList ImportRepText(const QByteArray& bytes, ReportTables& tables);

// The reporting year from an export file or archive name ("…--080.zip" -> "2008"), empty
// when the name does not end with two digits and "0".
QString RepYearFromFileName(const QString& fileName);

// An export text read from a submission archive (.zip, with the stored password) or from
// a text file (.txt), within the limits of ZipLimits.
struct RepSource {
    QString path;
    QString entryName; // the name inside the archive; the file's own name for a text
    QByteArray bytes;
};
// Throws a UserError with the reason (ArchiveError for an archive that cannot be read).
RepSource ReadRepSource(const QString& path, bool requirePassword);
// The year from the file's name, else from the entry's name; empty when neither has one.
QString RepSourceYear(const RepSource& source);

struct ImportWriteResult {
    QStringList written;    // the seven section files
    QStringList movedAside; // the year's previous files, kept unchanged
};
// Writes all seven section files of `year`. Files already there are first renamed aside
// ("<name>.replaced", ".replaced.1", ...), never overwritten. Throws DataSetError.
ImportWriteResult WriteImportedReport(ReportTables& tables, const AppPaths& paths,
                                      const QString& year);
