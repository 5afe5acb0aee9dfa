#include "control/ErrorsView.h"

#include "model/Razdels.h"

using namespace Qt::StringLiterals;

ErrorsView ErrorsViewFor(int tab, bool wholeDocument, int razdel, const ControlCounts& counts)
{
    ErrorsView v;
    v.filter = u"IsWarning="_s + (tab == 1 ? u"true"_s : u"false"_s);
    if (razdel < 0 || razdel >= RazdelCount)
        return v;
    v.texts = true;
    v.sectionColumn = wholeDocument;
    const int errors = wholeDocument ? counts.AllErrCount : counts.RazdelErrCount[razdel];
    const int warnings = wholeDocument ? counts.AllWarnCount : counts.RazdelWarnCount[razdel];
    if (!wholeDocument)
        v.filter += u" and RazdelKod='"_s + Razdels()[razdel].Kod + u"'"_s;
    // The section's errors tab has one blank less after the dash: kept as the form shows it.
    v.errorsTab =
        (wholeDocument ? u"           Ошибки  (всего -  "_s : u"           Ошибки  (всего - "_s) +
        QString::number(errors) + u")           "_s;
    v.warningsTab = u"  Предупреждения  (всего -  "_s + QString::number(warnings) + u")  "_s;
    v.numberTitle = tab == 0 ? u"Номер ошибки"_s : u"Номер предупреждения"_s;
    v.nameTitle = tab == 0 ? u"Наименование ошибки"_s : u"Наименование предупреждения"_s;
    if (tab == 0)
        v.caption = (wholeDocument ? u"Ошибки в целом по документу. Всего ошибок - "_s
                                   : u"Ошибки в текущем разделе. Всего ошибок - "_s) +
                    QString::number(errors);
    else
        v.caption =
            (wholeDocument ? u"Предупреждения в целом по документу. Всего предупреждений - "_s
                           : u"Предупреждения в текущем разделе. Всего предупреждений - "_s) +
            QString::number(warnings);
    return v;
}
