#include "model/FormatSettings.h"

#include <QRegularExpression>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

using namespace Qt::StringLiterals;

namespace {

FormatSettings& current()
{
    static FormatSettings settings;
    return settings;
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

// Trims blanks and replaces the decimal separator by '.', refusing anything that is
// not a plain decimal number with an optional exponent.
std::optional<QByteArray> normaliseNumber(const QString& text, QChar separator)
{
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && isBlank(text[b]))
        ++b;
    while (e > b && isBlank(text[e - 1]))
        --e;
    if (b == e)
        return std::nullopt;
    QByteArray out;
    out.reserve(e - b);
    qsizetype i = b;
    if (text[i] == u'+' || text[i] == u'-')
        out.append(char(text[i++].unicode()));
    int digits = 0;
    while (i < e && text[i].isDigit() && text[i].unicode() < 128) {
        out.append(char(text[i++].unicode()));
        ++digits;
    }
    if (i < e && text[i] == separator) {
        out.append('.');
        ++i;
        while (i < e && text[i].unicode() < 128 && text[i].isDigit()) {
            out.append(char(text[i++].unicode()));
            ++digits;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (i < e && (text[i] == u'e' || text[i] == u'E')) {
        out.append('e');
        ++i;
        if (i < e && (text[i] == u'+' || text[i] == u'-'))
            out.append(char(text[i++].unicode()));
        int expDigits = 0;
        while (i < e && text[i].unicode() < 128 && text[i].isDigit()) {
            out.append(char(text[i++].unicode()));
            ++expDigits;
        }
        if (expDigits == 0)
            return std::nullopt;
    }
    if (i != e)
        return std::nullopt;
    return out;
}

} // namespace

const FormatSettings& formatSettings()
{
    return current();
}

void setFormatSettings(const FormatSettings& settings)
{
    current() = settings;
}

void SetFormatSettings()
{
    current() = FormatSettings{};
}

namespace {

// C writes "1e-05" / "1e+15"; the house form is "1E-5" / "1E15".
QString houseFloatText(const char* first, const char* last, QChar separator)
{
    QString s = QString::fromLatin1(first, last - first);
    const qsizetype ePos = s.indexOf(u'e');
    if (ePos >= 0) {
        QString mantissa = s.left(ePos);
        QString exponent = s.mid(ePos + 1);
        bool negative = exponent.startsWith(u'-');
        if (exponent.startsWith(u'+') || negative)
            exponent.remove(0, 1);
        while (exponent.size() > 1 && exponent.startsWith(u'0'))
            exponent.remove(0, 1);
        s = mantissa + u'E' + (negative ? QStringLiteral("-") : QString()) + exponent;
    }
    if (s == u"-0")
        s = QStringLiteral("0");
    if (separator != u'.')
        s.replace(u'.', separator);
    return s;
}

QString nonFiniteText(long double value)
{
    return value > 0 ? QStringLiteral("INF")
                     : (value < 0 ? QStringLiteral("-INF") : QStringLiteral("NAN"));
}

} // namespace

QString formatFloatDigits(long double value, int digits, QChar separator)
{
    if (std::isnan(value) || std::isinf(value))
        return nonFiniteText(value);
    // to_chars is locale-independent, unlike printf.
    char buf[128];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, digits);
    return houseFloatText(buf, res.ptr, separator);
}

QString formatFloatShortest(double value, int maxDigits, QChar separator)
{
    if (std::isnan(value) || std::isinf(value))
        return nonFiniteText(value);
    char buf[128];
    // The shortest round-trip digits, in scientific form: "d.ddde+XX".
    const auto sci = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
    const std::string_view text(buf, sci.ptr - buf);
    const size_t ePos = text.find('e');
    int digits = 0;
    for (char c : text.substr(0, ePos))
        digits += (c >= '0' && c <= '9') ? 1 : 0;
    int exponent = 0;
    std::from_chars(text.data() + ePos + (text[ePos + 1] == '+' ? 2 : 1), text.data() + text.size(),
                    exponent);
    // Whole numbers keep their zeros ("1000000", not "1E6") as far as the digits allow.
    const int precision = std::min(std::max(digits, exponent + 1), maxDigits);
    const auto res =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, precision);
    return houseFloatText(buf, res.ptr, separator);
}

QString formatFloat(long double value)
{
    return formatFloatDigits(value, 15, current().decimalSeparator);
}

QString formatFloat(double value)
{
    return formatFloat(static_cast<long double>(value));
}

std::optional<long double> parseLongDouble(const QString& text)
{
    const auto norm = normaliseNumber(text, current().decimalSeparator);
    if (!norm)
        return std::nullopt;
    const char* first = norm->constData();
    const char* last = first + norm->size();
    if (*first == '+')
        ++first; // from_chars takes no plus sign
    long double v = 0;
    const auto res = std::from_chars(first, last, v);
    if (res.ec != std::errc() || res.ptr != last || std::isinf(v))
        return std::nullopt;
    return v;
}

std::optional<double> parseFloat(const QString& text)
{
    const auto v = parseLongDouble(text);
    if (!v)
        return std::nullopt;
    if (std::fabs(*v) > static_cast<long double>(std::numeric_limits<double>::max()))
        return std::nullopt;
    return static_cast<double>(*v);
}

std::optional<int> parseInt(const QString& text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && isBlank(text[i]))
        ++i;
    if (i == n)
        return std::nullopt;
    bool negative = false;
    if (text[i] == u'+' || text[i] == u'-') {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == n)
        return std::nullopt;
    long long v = 0;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (c.unicode() < u'0' || c.unicode() > u'9')
            return std::nullopt;
        v = v * 10 + (c.unicode() - u'0');
        if (v > 2147483648LL)
            return std::nullopt;
    }
    if (negative)
        v = -v;
    if (v > std::numeric_limits<int>::max() || v < std::numeric_limits<int>::min())
        return std::nullopt;
    return static_cast<int>(v);
}

std::optional<QDate> parseDate(const QString& text)
{
    const QString t = text.trimmed();
    const QStringList parts = t.split(current().dateSeparator);
    if (parts.size() != 3)
        return std::nullopt;
    int values[3];
    for (int k = 0; k < 3; ++k) {
        const QString& p = parts[k];
        if (p.isEmpty() || p.size() > (k == 2 ? 4 : 2))
            return std::nullopt;
        for (QChar c : p)
            if (c.unicode() < u'0' || c.unicode() > u'9')
                return std::nullopt;
        values[k] = p.toInt();
    }
    int year = values[2];
    if (parts[2].size() <= 2)
        year += year < 50 ? 2000 : 1900; // two-digit years, as the usual short-date rule
    const QDate d(year, values[1], values[0]);
    if (!d.isValid())
        return std::nullopt;
    return d;
}

QString formatDate(const QDate& date)
{
    const QChar s = current().dateSeparator;
    return QStringLiteral("%1%2%3%4%5")
        .arg(date.day(), 2, 10, QChar(u'0'))
        .arg(s)
        .arg(date.month(), 2, 10, QChar(u'0'))
        .arg(s)
        .arg(date.year(), 4, 10, QChar(u'0'));
}

QString formatMoneyForEdit(double value)
{
    const FormatSettings& f = current();
    QString text = QString::number(value, 'f', f.currencyDecimals);
    if (f.decimalSeparator != u'.')
        text.replace(u'.', f.decimalSeparator);
    return text;
}

QString formatMoney(double value)
{
    const FormatSettings& f = current();
    QString digits = QString::number(value, 'f', f.currencyDecimals);
    const bool negative = digits.startsWith(u'-');
    if (negative)
        digits.remove(0, 1);
    qsizetype point = digits.indexOf(u'.');
    QString fraction;
    if (point >= 0) {
        fraction = f.decimalSeparator + digits.mid(point + 1);
        digits.truncate(point);
    }
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, f.thousandSeparator);
    if (negative && (digits != u"0" || fraction.contains(QRegularExpression(u"[1-9]"_s))))
        digits.prepend(u'-');
    return digits + fraction;
}
