#include "control/ErrorListText.h"

#include "control/QuietCursor.h"
#include "model/DataSet.h"

#include <algorithm>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

struct Line {
    QString kod;
    bool warning;
    int num;
    QString text;
};

} // namespace

QString escapeLineText(const QString& text)
{
    QString s;
    s.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'\\':
            s += u"\\\\"_s;
            break;
        case u'\t':
            s += u"\\t"_s;
            break;
        case u'\r':
            s += u"\\r"_s;
            break;
        case u'\n':
            s += u"\\n"_s;
            break;
        default:
            s += c;
        }
    }
    return s;
}

namespace {

} // namespace

QStringList ErrorListLines(const DataSet& err)
{
    QuietCursor k(err);
    auto text = [&](const QString& name) { return k->fieldByName(name).asString(); };
    std::vector<Line> lines;
    for (k->first(); !k->eof(); k->next()) {
        const bool warning = k->fieldByName(u"IsWarning"_s).asBoolean();
        const int num = k->fieldByName(u"ErrorNum"_s).asInteger();
        const QStringList cells = {
            text(u"RazdelKod"_s),
            warning ? u"W"_s : u"E"_s,
            QString::number(num),
            text(u"FieldName"_s),
            text(u"KodRow_Value"_s),
            k->fieldByName(u"MayExitFromRazdel"_s).asBoolean() ? u"1"_s : u"0"_s,
            text(u"ErrorName"_s),
        };
        QStringList out;
        for (const QString& c : cells)
            out << escapeLineText(c);
        lines.push_back({text(u"RazdelKod"_s), warning, num, out.join(u'\t')});
    }
    std::stable_sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) {
        if (const int c = a.kod.compare(b.kod); c != 0)
            return c < 0;
        if (a.warning != b.warning)
            return !a.warning;
        return a.num < b.num;
    });
    QStringList out;
    for (const Line& l : lines)
        out << l.text;
    return out;
}

QString ErrorListSummary(int errors, int warnings)
{
    return u"Ошибок: %1, предупреждений: %2"_s.arg(errors).arg(warnings);
}
