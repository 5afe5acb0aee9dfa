#pragma once

#include <QString>

// Where the program keeps its files. Two layouts:
// - portable: everything lies beside the executable (Data/, Temp/, Export/, the settings
//   file, the grid layouts, the templates). A file named `portable` beside the executable
//   chooses it; the build tree has one.
// - installed: nothing is written beside the executable. Data/, Export/, the grid layouts
//   and the user's own templates go in the per-user data folder (~/.local/share/form2audit),
//   the settings file in the configuration folder (~/.config/form2audit/form2audit.ini),
//   scratch files in the cache folder (~/.cache/form2audit); the installed templates are
//   read from share/form2audit beside the installation's bin/.
// The folders are created on demand each time their path is asked for. Paths end with '/'.
class AppPaths {
public:
    enum class Layout { Portable, Installed };

    // `executablePath` is the executable's full path.
    explicit AppPaths(const QString& executablePath, Layout layout = Layout::Portable);
    // The running program's paths, in the layout its folder asks for.
    static AppPaths forApplication();
    // Portable when the marker file lies in `exeDir`.
    static Layout layoutOf(const QString& exeDir);

    Layout layout() const { return m_layout; }
    QString ExeDir() const;
    QString IniFileName() const;
    QString TempDir() const;
    QString DataDir() const;
    QString ExportDir() const;
    QString ShablonFileName() const;
    QString ShablonChernovikFileName() const;
    QString GridLayoutFileName(const QString& code, const QString& year) const;
    // The library that drives the spreadsheet application, loaded when first needed.
    QString OfficeModuleFileName() const;

    // Section files are read from another folder (the command-line companion's --data).
    void setDataDirOverride(const QString& dir);

private:
    QString ensureDir(const QString& dir) const;
    // Where files written by the program go: the executable's folder or the user's one.
    QString userDir() const;
    QString shablon(const QString& name) const;

    QString m_exeDir;
    QString m_exeName;
    Layout m_layout;
    QString m_dataOverride;
};

// The name of the marker file of the portable layout.
inline constexpr char16_t kPortableMarker[] = u"portable";

// A name without its extension: what follows the last '.' and the '.' are removed.
QString StripExtension(const QString& fileName);
