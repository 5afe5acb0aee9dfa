#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <optional>

// Windows-1251 is the code page of every file the program reads and writes; text it
// cannot hold is refused, never written as '?'.
inline constexpr char kWindows1251[] = "windows-1251";

bool fitsWindows1251(QStringView text);
// Index of the first character (a surrogate pair counts as one) the code page cannot
// hold; -1 when all fit.
qsizetype firstUnfitWindows1251(QStringView text);
// The character at `index` as the user sees it (both halves of a surrogate pair).
QString characterAt(QStringView text, qsizetype index);
// The bytes, or nothing when some character does not fit.
std::optional<QByteArray> encodeWindows1251(QStringView text);
