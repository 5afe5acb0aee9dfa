#include "print/CellReplace.h"

ReplacedCell ReplaceInCellText(const QString& cell,
                               const QList<QPair<QString, QString>>& replacements)
{
    ReplacedCell out{cell, false, false};
    for (const auto& [what, with] : replacements) {
        if (what.isEmpty() || !out.text.contains(what, Qt::CaseInsensitive))
            continue;
        out.text.replace(what, with, Qt::CaseInsensitive);
        out.changed = true;
        out.verbatim = with.startsWith(u'\'');
        if (out.verbatim && out.text.startsWith(u'\''))
            out.text.remove(0, 1);
    }
    return out;
}

bool ReadsAsNumber(const QString& text)
{
    if (text.isEmpty() || text.size() > 15)
        return false;
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}
