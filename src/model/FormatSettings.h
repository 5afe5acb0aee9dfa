#pragma once

#include <QChar>
#include <QDate>
#include <QString>
#include <optional>

// Process-wide number and date formats. The application pins them at start so that
// the user's regional settings never change how cells are read or written.
struct FormatSettings {
    QChar decimalSeparator = u'.';
    QChar dateSeparator = u'.';
    QChar thousandSeparator = u' ';
    int currencyDecimals = 1;
};

const FormatSettings& formatSettings();
void setFormatSettings(const FormatSettings& settings);
// The formats the application always runs with.
void SetFormatSettings();

// Shortest general form with at most 15 significant digits, exponent as "1E-5".
QString formatFloat(double value);
QString formatFloat(long double value);
// Same with the given number of significant digits (the file layout uses 16).
QString formatFloatDigits(long double value, int digits, QChar separator);
// The shortest text that reads back as the same double, cut to `maxDigits` significant
// digits when it would need more.
QString formatFloatShortest(double value, int maxDigits, QChar separator);

// Strict conversions used for cell texts, no digit grouping. Floats allow leading and
// trailing blanks and an exponent; integers allow leading blanks only.
std::optional<double> parseFloat(const QString& text);
std::optional<long double> parseLongDouble(const QString& text);
std::optional<int> parseInt(const QString& text);
// A money amount as shown: thousands separated, one decimal ("1 234.5").
QString formatMoney(double value);
// A money amount as edited: fixed with the currency decimals, no grouping ("1234.0").
QString formatMoneyForEdit(double value);

std::optional<QDate> parseDate(const QString& text);
QString formatDate(const QDate& date);
