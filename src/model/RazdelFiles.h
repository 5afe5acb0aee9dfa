#pragma once

#include "model/AppPaths.h"
#include "model/DataSet.h"

#include <QString>

class GridLayoutHost;

// Data folder + year + "_" + code + ".XML".
QString RazdelFileName(const AppPaths& paths, const QString& code, const QString& year);

struct LoadRazdelResult {
    bool loaded = false;  // the file was read into the table
    bool damaged = false; // the file could not be read; the table kept its content
    QString message;      // for the user when damaged: the file, the reason, where it went
    QString movedTo;      // the damaged file's new name, empty when it could not be moved
};

// Loads the section's file of the year into the table, replacing its definitions and
// rows. A file that cannot be read or parsed leaves the table as it was and is renamed
// aside unchanged ("<name>.damaged", then ".damaged.1", ...), so that no later save
// overwrites it.
LoadRazdelResult LoadRazdel(DataSet* table, const AppPaths& paths, const QString& code,
                            const QString& year);

// Keeps a file that must not be overwritten: renamed to the first free "<path><suffix>",
// "<path><suffix>.1", ..., or copied there when it cannot be renamed. Answers the new
// name, empty on failure (the reason in `error`).
QString MoveFileAside(const QString& path, const QString& suffix, QString* error = nullptr);

// Merges the change log and replaces the section's file atomically. False without a
// table. Throws DataSetError naming the file when it cannot be written.
bool SaveRazdel(DataSet* table, const AppPaths& paths, const QString& code, const QString& year);

// The notice shown after an explicit save.
QString SaveRazdelMessage(const QString& path);

LoadRazdelResult LoadRazdelAndLayout(DataSet* table, GridLayoutHost* grid, const AppPaths& paths,
                                     const QString& code, const QString& year);
bool SaveRazdelAndLayout(DataSet* table, GridLayoutHost* grid, const AppPaths& paths,
                         const QString& code, const QString& year);
