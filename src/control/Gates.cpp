#include "control/Gates.h"

#include "model/DataSet.h"
#include "model/MessageBoxes.h"
#include "model/Razdels.h"

using namespace Qt::StringLiterals;

namespace {

const QString kMsgCaption = u"Сообщение"_s;
const QString kAskCaption = u"Предупреждение"_s;

QString count(int n)
{
    return QString::number(n);
}

} // namespace

bool LeaveRazdelGate(LeaveTarget target, GateHost& host, MessageBoxes& messages)
{
    const SectionGateCounts c = host.runSectionControl();
    const QString lead = target == LeaveTarget::Print
                             ? u"Прежде чем перейти к печати,\n\r"_s
                             : u"Прежде чем перейти к новому разделу,\n\r"_s;
    const QString m1 =
        lead +
        u"исправьте ошибки текущего раздела\n\rи просмотрите информацию о предупреждениях текущего раздела"_s;
    const QString m2 = lead + u"просмотрите информацию о предупреждениях текущего раздела"_s;
    const QString m3 = lead + u"исправьте ошибки текущего раздела"_s;
    if (c.errors > 0 && c.warnings > 0) {
        if (c.blocked) {
            host.showTab(0);
            messages.InfoBox(m1, kMsgCaption);
            return false;
        }
        if (!host.panelVisible()) {
            // Back shows the list before the message, Next and print after it.
            if (target == LeaveTarget::Prev) {
                host.showTab(1);
                messages.InfoBox(m2, kMsgCaption);
            } else {
                messages.InfoBox(m2, kMsgCaption);
                host.showTab(1);
            }
            return false;
        }
    }
    if (c.errors > 0 && c.warnings == 0 && c.blocked) {
        host.showTab(0);
        messages.InfoBox(m3, kMsgCaption);
        return false;
    }
    if (!host.panelVisible() && c.errors == 0 && c.warnings > 0) {
        host.showTab(1);
        messages.InfoBox(m2, kMsgCaption);
        return false;
    }
    return true;
}

NextStep NextRazdelGate(int current, int count, GateHost& host, MessageBoxes& messages)
{
    const bool wasVisible = host.panelVisible();
    if (current >= count - 1) {
        if (!LeaveRazdelGate(LeaveTarget::Print, host, messages))
            return NextStep::Stay;
        host.showTab(1);
        host.setPanelVisible(wasVisible);
        return NextStep::Print;
    }
    if (!LeaveRazdelGate(LeaveTarget::Next, host, messages))
        return NextStep::Stay;
    host.hidePanelOnly();
    if (current == PosRazdel2 &&
        !messages.AskPlain(
            u"Единицы измерения введенных данных\n\rраздела ОБЪЕМ ОКАЗАННЫХ УСЛУГ -\n\rТЫС.РУБ.? "_s,
            kMsgCaption))
        return NextStep::Stay;
    return NextStep::SelectNext;
}

bool OutputGate(OutputKind kind, GateHost& host, MessageBoxes& messages)
{
    const bool wasVisible = host.panelVisible();
    const bool wasShowAll = host.showAll();
    const OutputGateCounts c = host.runReportControl();
    if (c.errors > 0) {
        const QString ending = kind == OutputKind::Mail
                                   ? u"Перед отправкой отчёта необходимо устранить ошибки"_s
                                   : u"Перед печатью необходимо устранить ошибки"_s;
        const QString head = u"В данных отчёта есть ошибки (всего - "_s + count(c.errors);
        const QString text =
            c.warnings == 0 ? QString(head + u")."_s + u"\n\r"_s + ending)
                            : QString(head + u")"_s + u"\n\r"_s + u"и предупреждения (всего - "_s +
                                      count(c.warnings) + u")."_s + u"\n\r"_s + ending);
        switch (kind) {
        case OutputKind::Print:
            host.showFirstRecord(0);
            messages.InfoBox(text, kMsgCaption);
            host.updateCommonAction();
            break;
        case OutputKind::Export:
            messages.InfoBox(u"В данных отчёта есть ошибки (всего - "_s + count(c.errors) + u")"_s +
                                 u"\n\r"_s + u"Сначало надо исправить ошибки"_s,
                             kMsgCaption);
            host.showFirstRecord(0);
            break;
        case OutputKind::Mail:
            host.showFirstRecord(0);
            messages.InfoBox(text, kMsgCaption);
            break;
        }
        return false;
    }
    if (c.warnings == 0)
        return true;

    if (kind != OutputKind::Print) {
        // The export text has no full stop after the count, the mail text has one.
        if (messages.AskYesNo(u"В данных отчёта есть предупреждения (всего - "_s +
                                  count(c.warnings) +
                                  (kind == OutputKind::Export ? u")"_s : u")."_s) + u"\n\r"_s +
                                  u"Показать предупреждения"_s,
                              kAskCaption)) {
            host.showFirstRecord(1);
            return false;
        }
        return true;
    }

    host.setPanelVisible(false);
    host.showTab(1);
    if (messages.AskYesNo(u"В данных отчёта есть предупреждения (всего - "_s + count(c.warnings) +
                              u")."_s + u"\n\r"_s + u"Показать предупреждения"_s,
                          kAskCaption)) {
        host.showFirstRecord(1);
        host.updateCommonAction();
        return false;
    }
    if (c.zeroPreviousYear &&
        !messages.AskYesNo(u"Действительно ли объем оказанных услуг за предыдущий год равен нулю"_s,
                           kAskCaption)) {
        host.jumpToRecord(u"05"_s, PosRazdel2);
        return false;
    }
    if (c.equalAudits &&
        !messages.AskYesNo(
            u"Действительно ли количество выданных аудиторских заключений по ОБЯЗАТЕЛЬНОМУ "
            u"аудиту\n\r"
            u"равно количеству выданных аудиторских заключений по ИНИЦИАТИВНОМУ аудиту"_s,
            kAskCaption)) {
        host.jumpToRecord(u"29"_s, PosRazdel4);
        return false;
    }
    host.setShowAll(wasShowAll);
    host.showFirstRecord(1);
    host.setPanelVisible(wasVisible);
    return true;
}

bool HasWarningAt(DataSet& err, const QString& kodRow, int razdelInd)
{
    if (!err.isOpen())
        return false;
    auto k = err.clone();
    for (k->first(); !k->eof(); k->next())
        if (k->fieldByName(u"IsWarning"_s).asBoolean() &&
            k->fieldByName(u"RazdelInd"_s).asInteger() == razdelInd &&
            k->fieldByName(u"KodRow_Value"_s).asString() == kodRow)
            return true;
    return false;
}

OutputGateCounts OutputCountsOf(DataSet& err, int errors, int warnings)
{
    return {errors, warnings, HasWarningAt(err, u"05"_s, PosRazdel2),
            HasWarningAt(err, u"29"_s, PosRazdel4)};
}
