#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

class Settings;

// One submission archive (or export text) checked without writing anything anywhere.
struct ArchiveCheck {
    QString path;
    bool opened = false; // read, parsed and run through the control
    QString reason;      // why it was not, otherwise empty
    QString checksum;    // CRC-32 of the text
    QString ogrn;
    QString shortName;
    QString year;
    int errors = 0;
    int warnings = 0;
};

// Reads the archive (stored password, one entry named after the archive) or the text,
// reads the report back from the text and runs the control on it. Never throws: every
// failure becomes the reason. `settings` may be null (every setting takes its default);
// it is only read.
ArchiveCheck CheckRepArchive(const QString& path, const QDate& today, const Settings* settings);

// The .zip and .txt files named or found below the named folders, recursively, without
// following links to folders; sorted, each once. Names that do not exist go to `missing`.
QStringList FindRepArchives(const QStringList& paths, QStringList* missing);

// Checks every file on `threads` worker threads (0: one per core). Each report has its own
// tables, so the workers share nothing but the read-only inputs. Results in file order.
QList<ArchiveCheck> CheckRepArchives(const QStringList& files, const QDate& today,
                                     const Settings* settings, int threads = 0);

// path, "открыт", checksum, OGRN, short name, year, errors, warnings — TAB-separated; for an
// archive that did not open: path, "не открыт", the reason. Texts are escaped to stay on
// one line.
QString ArchiveCheckLine(const ArchiveCheck& check);
// "Архивов: N, открыто: M, с ошибками: K, не прочитано: L".
QString ArchiveCheckSummary(const QList<ArchiveCheck>& checks);
// 2 when any could not be read, else 1 when any has errors, else 0.
int ArchiveCheckExitCode(const QList<ArchiveCheck>& checks);
