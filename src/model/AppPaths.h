#pragma once

#include <QString>

// Everything the program keeps on disk lies beside the executable. The folders are
// created on demand each time their path is asked for. Paths end with '/'.
class AppPaths {
public:
    // `executablePath` is the executable's full path.
    explicit AppPaths(const QString& executablePath);
    // The running program's paths.
    static AppPaths forApplication();

    QString ExeDir() const;
    QString IniFileName() const;
    QString TempDir() const;
    QString DataDir() const;
    QString ExportDir() const;
    QString ShablonFileName() const;
    QString ShablonChernovikFileName() const;
    QString GridLayoutFileName(const QString& code, const QString& year) const;

    // Section files are read from another folder (the command-line companion's --data).
    void setDataDirOverride(const QString& dir);

private:
    QString ensureDir(const QString& dir) const;

    QString m_exeDir;
    QString m_exeName;
    QString m_dataOverride;
};

// A name without its extension: what follows the last '.' and the '.' are removed.
QString StripExtension(const QString& fileName);
