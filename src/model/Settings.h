#pragma once

#include <QString>

class QSettings;

// INI access by section and key. Every call opens the file, reads or writes one key and
// closes it again; nothing is cached between calls.
//
// Reading answers `def` when the file, the section or the key is missing. Section and key
// are matched exactly first and then ignoring letter case, as in hand-edited Windows INI
// files. An unquoted value holding commas is split into a list by QSettings; it is joined
// back with ", ".
QString IniRead(const QString& file, const QString& section, const QString& key,
                const QString& def);
// Writes one key; the file is replaced atomically. Throws DataSetError naming the file
// and the reason when it cannot be written.
void IniWrite(const QString& file, const QString& section, const QString& key,
              const QString& value);

// "FALSE"/"TRUE" in any letter case, otherwise a 32-bit integer that is not 0 (leading
// blanks allowed, as by parseInt); anything else, the empty text included, is false.
bool StrToBoolean(const QString& text);
QString BooleanToStr(bool value);

// Writes the pending changes of `settings` to disk. When they cannot be written, throws
// DataSetError with `failureText` + ": " + the reason.
void syncIniOrThrow(QSettings& settings, const QString& file, const QString& failureText);

// The program's settings: section "Parms" and one section per reporting year.
class Settings {
public:
    Settings(const QString& iniFileName, const QString& reportYear);

    const QString& iniFileName() const { return m_iniFileName; }
    const QString& reportYear() const { return m_reportYear; }

    bool GetFirstTimeRazdel02() const;
    void SetFirstTimeRazdel02(bool value);
    void SetFirstTime(bool value);

    // Editing permission of the reporting year. A key present with an empty value is
    // false, a key absent is true.
    bool GetMayRedaktData() const;
    void SetMayRedaktData(bool value);

    // Limits of the year of joining, as stored: callers take prefixes of the text or
    // convert it to an integer themselves.
    QString GetYearVstuplenMin() const;
    QString GetYearVstuplenMax() const;

    // The reporting year's answer No to carrying last year's report over: not asked again.
    bool GetCarryOverDeclined() const;
    void SetCarryOverDeclined(bool value);

    void SaveYearOfRep(const QString& year);
    QString GetEmailForRep() const;
    // Whether the office is started in the background once the window is up ("Parms",
    // "PreStartOffice"; on unless "0").
    bool GetPreStartOffice() const;

private:
    QString read(const QString& section, const QString& key, const QString& def) const;
    void write(const QString& section, const QString& key, const QString& value);

    QString m_iniFileName;
    QString m_reportYear;
};
