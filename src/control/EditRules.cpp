#include "control/EditRules.h"

#include "model/CellTests.h"
#include "model/DataSet.h"
#include "model/FormatSettings.h"
#include "model/Razdels.h"

using namespace Qt::StringLiterals;

namespace {

int grafNo(const QString& field)
{
    if (!field.startsWith(u"Graf"_s, Qt::CaseInsensitive))
        return 0;
    return field.mid(4).toInt();
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Integer formed by the first `len` characters of a limit text; nullopt when not a number.
std::optional<long long> prefixValue(const QString& limit, int len)
{
    const auto v = parseInt(limit.left(len));
    if (!v)
        return std::nullopt;
    return *v;
}

void clearIfZero(DataSet& t, const QString& name, bool asFloat)
{
    auto f = t.findField(name);
    if (!f || f->isNull())
        return;
    try {
        if (asFloat ? f->asFloat() == 0.0 : f->asInteger() == 0)
            f->clear();
    } catch (const DataSetError&) {
        // a text that is no number stays for the control to report
    }
}

} // namespace

CellClass cellClass(int position, int recNo, const QString& field)
{
    const int g = grafNo(field);
    switch (position) {
    case PosRazdel1:
        if (recNo == 2 && g == 3)
            return CellClass::Total;
        if ((recNo == 3 || recNo == 4) && g == 4)
            return CellClass::Locked;
        break;
    case PosRazdel2:
        if (recNo == 1 && (g == 3 || g == 4))
            return CellClass::Total;
        break;
    case PosRazdel3:
        if (recNo == 1 && g == 3)
            return CellClass::Total;
        break;
    case PosRazdel4:
        if (g >= 3 && g <= 9) {
            if (recNo == 1 || (recNo <= 8 && g == 3))
                return CellClass::Total;
            if (recNo == 9 && g >= 4)
                return CellClass::Locked;
        }
        break;
    case PosMembership:
        if (recNo >= 1 && recNo <= 5 && field.compare(u"NameRow"_s, Qt::CaseInsensitive) == 0)
            return CellClass::FixedText;
        break;
    default:
        break;
    }
    return CellClass::Input;
}

EditVerdict beforeEditVerdict(int position, int recNo, const QString& selectedField)
{
    const bool graf03 = selectedField.compare(u"Graf03"_s, Qt::CaseInsensitive) == 0;
    const bool graf04 = selectedField.compare(u"Graf04"_s, Qt::CaseInsensitive) == 0;
    switch (position) {
    case PosRazdel1:
        if ((recNo == 3 || recNo == 4) && graf04)
            return EditVerdict::RefuseSilently;
        if (recNo == 2 && graf03)
            return EditVerdict::RefuseTotal;
        return EditVerdict::Allow;
    case PosRazdel2:
    case PosRazdel3:
        return recNo == 1 ? EditVerdict::RefuseTotal : EditVerdict::Allow;
    case PosRazdel4:
        if (recNo == 9)
            return graf03 ? EditVerdict::Allow : EditVerdict::RefuseSilently;
        if (recNo == 1)
            return EditVerdict::RefuseTotal;
        if (recNo >= 2 && recNo <= 8 && graf03)
            return EditVerdict::RefuseTotal;
        return EditVerdict::Allow;
    case PosMembership:
        if (recNo >= 1 && recNo <= 5 &&
            selectedField.compare(u"NameRow"_s, Qt::CaseInsensitive) == 0)
            return EditVerdict::RefuseFixedText;
        return EditVerdict::Allow;
    default:
        return EditVerdict::Allow;
    }
}

QString EditorState::candidate(QChar key) const
{
    QString s = text;
    const int start = std::clamp(selectionStart, 0, int(s.size()));
    const int len = std::clamp(selectionLength, 0, int(s.size()) - start);
    s.replace(start, len, key);
    return s;
}

std::optional<QChar> integerKeyFilter(QChar key, EditorState& editor)
{
    if (!isDigit(key))
        return std::nullopt;
    editor.maxLength = 4;
    return key;
}

std::optional<QChar> decimalKeyFilter(QChar key, EditorState& editor, int intDigits)
{
    SetFormatSettings();
    if (key == u',' || key == u'.' || key == u'/' || key == u'б' || key == u'ю')
        key = u'.';
    if (!isDigit(key) && key != u'.')
        return std::nullopt;
    const QString c = editor.candidate(key);
    if (!IsNumberText(c))
        return std::nullopt;
    const qsizetype point = c.indexOf(u'.');
    if (point >= 0 && c.size() - point - 1 > 1)
        return std::nullopt;
    if (point < 0 ? c.size() > intDigits : c.size() > intDigits + 2)
        return std::nullopt;
    return key;
}

std::optional<QChar> yearKeyFilter(QChar key, EditorState& editor, const QString& yearMin,
                                   const QString& yearMax)
{
    if (!isDigit(key))
        return std::nullopt;
    editor.maxLength = 4;
    const QString c = editor.candidate(key);
    const auto value = parseInt(c);
    if (!value)
        return std::nullopt;
    const int len = int(c.size());
    const auto lo = prefixValue(yearMin, len);
    const auto hi = prefixValue(yearMax, len);
    if ((lo && *value < *lo) || (hi && *value > *hi))
        return std::nullopt;
    return key;
}

QString RoundNumText(const QString& text, int decimals)
{
    if (text.trimmed().isEmpty())
        return text;
    const qsizetype p = text.indexOf(u'.') + 1; // 1-based position of the point
    if (p == 0)
        return text;
    const auto parsed = parseLongDouble(text);
    if (!parsed)
        return text;
    long double x = *parsed;
    long double half = 5;
    for (int i = 0; i < decimals + 1; ++i)
        half /= 10;
    x += x >= 0 ? half : -half;
    const QString s = formatFloatDigits(x, 15, u'.');
    return s.left(decimals == 0 ? p - 1 : p + decimals);
}

void normaliseRowBeforePost(int position, DataSet& table)
{
    switch (position) {
    case PosRazdel1:
        clearIfZero(table, u"Graf03"_s, false);
        clearIfZero(table, u"Graf04"_s, true);
        break;
    case PosRazdel2:
        for (const QString& name : {u"Graf03"_s, u"Graf04"_s}) {
            auto f = table.findField(name);
            if (f && !f->asString().trimmed().isEmpty())
                f->setAsString(RoundNumText(f->asString(), 1));
        }
        clearIfZero(table, u"Graf03"_s, true);
        clearIfZero(table, u"Graf04"_s, true);
        break;
    case PosRazdel3:
        clearIfZero(table, u"Graf03"_s, false);
        break;
    case PosRazdel4:
        for (int g = 3; g <= 9; ++g)
            clearIfZero(table, u"Graf%1"_s.arg(g, 2, 10, QChar(u'0')), false);
        break;
    case PosMembership:
        for (const QString& name : {u"NameRow"_s, u"Year"_s}) {
            auto f = table.findField(name);
            if (f && f->asString().isEmpty())
                f->clear();
        }
        break;
    default:
        break;
    }
}
