#include "control/ErrorList.h"
#include "control/ErrorsView.h"
#include "model/Clock.h"
#include "model/MessageBoxes.h"
#include "model/Razdels.h"
#include "workspace/DBGrid.h"
#include "workspace/ErrorsPanel.h"
#include "workspace/GuiErrors.h"
#include "workspace/SectionList.h"
#include "workspace/TMainF.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QTabBar>

using namespace Qt::StringLiterals;

namespace {
const QString kMsgCaption = u"Сообщение"_s;
const QString kAskCaption = u"Предупреждение"_s;
} // namespace

void TMainF::runControl()
{
    ControlEnv env;
    env.today = m_platform.clock->today();
    env.settings = &m_settings;
    env.reportYear = m_reportYear;
    int allErr = 0, allWarn = 0;
    ControlAllRazdels(m_tables, m_tables.err(), Counts, env, allErr, allWarn);
}

void TMainF::PageControl1Change()
{
    if (!m_tables.err().isOpen())
        return;
    Panel_Errors->apply(
        ErrorsViewFor(Panel_Errors->currentTab(), ErrShowAll, CurrRazdelInd, Counts));
    if (CurrRazdelInd < 0)
        return;
    setErrorsPanelVisible(true);
    updateActions();
}

void TMainF::ShowErrTab(int tab)
{
    Panel_Errors->setCurrentTabQuietly(tab);
    PageControl1Change();
}

void TMainF::Act_LogControlExecute()
{
    postCurrentEdit();
    ErrShowAll = false;
    Act_Log_CommonUpdate();
    runControl();
    ShowErrTab(0);
}

void TMainF::Act_LogControl_AllExecute()
{
    postCurrentEdit();
    ErrShowAll = true;
    Act_Log_CommonUpdate();
    runControl();
    ShowErrTab(0);
}

void TMainF::Act_HideGridErrExecute()
{
    setErrorsPanelVisible(false);
    updateActions();
}

void TMainF::DBGrid_ErrDblClick()
{
    DataSet& err = m_tables.err();
    if (!err.isOpen() || err.recordCount() == 0)
        return;
    const int razdelInd = err.fieldByName(u"RazdelInd"_s).asInteger();
    const QString fieldName = err.fieldByName(u"FieldName"_s).asString();
    const QString keyField = err.fieldByName(u"KodRow_FieldName"_s).asString();
    const bool hasKey = !err.fieldByName(u"KodRow_Value"_s).isNull();
    const QString keyValue = err.fieldByName(u"KodRow_Value"_s).asString();
    if (ErrShowAll)
        selectRazdel(razdelInd);
    if (CurrDataSet && CurrDataSet->isOpen() && CurrDataSet->recordCount() > 0 &&
        !fieldName.isEmpty())
        FocusField(fieldName, CurrDataSet);
    if (CurrGrid && !keyField.isEmpty() && hasKey && CurrDataSet) {
        CurrDataSet->locate(keyField, {keyValue}, true);
        SelectGridField(fieldName, CurrDataSet, CurrGrid);
    }
}

void TMainF::Act_ErrExcelExecute()
{
    if (m_tables.err().recordCount() == 0) {
        InfoBox(u"Нет записей"_s, kMsgCaption);
        return;
    }
    const QString title = (Panel_Errors->currentTab() == 1 ? u"Предупреждения"_s : u"Ошибки"_s) +
                          u" (всего - "_s + QString::number(m_tables.err().recordCount()) + u")"_s;
    if (exportGridToSpreadsheet)
        exportGridToSpreadsheet(Panel_Errors->grid(), {title});
    else
        InfoBox(u"Вывод в электронную таблицу недоступен: нет программы электронных таблиц"_s,
                kMsgCaption);
}

// ---------------------------------------------------------------- gates

// The window as the gates see it.
class TMainF::WindowGates final : public GateHost {
public:
    explicit WindowGates(TMainF& w) : m_w(w) {}
    SectionGateCounts runSectionControl() override
    {
        m_w.postCurrentEdit();
        m_w.ErrShowAll = false;
        m_w.runControl();
        const int i = m_w.CurrRazdelInd;
        return {m_w.Counts.RazdelErrCount[i], m_w.Counts.RazdelWarnCount[i],
                !CanExitFromRazdel(i, m_w.m_tables.err())};
    }
    OutputGateCounts runReportControl() override
    {
        m_w.postCurrentEdit();
        m_w.ErrShowAll = true;
        m_w.runControl();
        return OutputCountsOf(m_w.m_tables.err(), m_w.Counts.AllErrCount, m_w.Counts.AllWarnCount);
    }
    bool panelVisible() const override { return m_w.errorsPanelVisible(); }
    void setPanelVisible(bool visible) override { m_w.setErrorsPanelVisible(visible); }
    void hidePanelOnly() override { m_w.Panel_Errors->setVisible(false); }
    void showTab(int tab) override { m_w.ShowErrTab(tab); }
    void showFirstRecord(int tab) override
    {
        m_w.ShowErrTab(tab);
        m_w.Panel_Errors->grid()->setFocus(Qt::OtherFocusReason);
        m_w.m_tables.err().first();
        m_w.DBGrid_ErrDblClick();
    }
    void jumpToRecord(const QString& kodRow, int razdelInd) override
    {
        m_w.locateErrorRecord(kodRow, razdelInd);
        m_w.DBGrid_ErrDblClick();
    }
    bool showAll() const override { return m_w.ErrShowAll; }
    void setShowAll(bool showAll) override { m_w.ErrShowAll = showAll; }
    void updateCommonAction() override { m_w.Act_Log_CommonUpdate(); }

private:
    TMainF& m_w;
};

std::unique_ptr<GateHost> TMainF::newGateHost()
{
    return std::make_unique<WindowGates>(*this);
}

bool TMainF::ControlBeforeLeaveRazdel(LeaveTarget target)
{
    WindowGates gates(*this);
    return LeaveRazdelGate(target, gates, *m_platform.messages);
}

void TMainF::locateErrorRecord(const QString& kodRow, int razdelInd)
{
    DataSet& err = m_tables.err();
    err.locate(u"KodRow_Value;RazdelInd"_s, {kodRow, razdelInd});
}

bool TMainF::ControlBeforeOutput(OutputKind kind)
{
    WindowGates gates(*this);
    return OutputGate(kind, gates, *m_platform.messages);
}

// ---------------------------------------------------------------- next, back, print

void TMainF::Act_NextRazdelExecute()
{
    const int current = m_list->currentRow() >= 0 ? m_list->currentRow() : CurrRazdelInd;
    WindowGates gates(*this);
    switch (NextRazdelGate(current, m_list->count(), gates, *m_platform.messages)) {
    case NextStep::Stay:
        return;
    case NextStep::Print:
        Act_PrintExcelExecute();
        return;
    case NextStep::SelectNext:
        selectRazdel(current + 1);
        return;
    }
}

void TMainF::Act_PrevRazdelExecute()
{
    const int current = m_list->currentRow() >= 0 ? m_list->currentRow() : CurrRazdelInd;
    if (!ControlBeforeLeaveRazdel(LeaveTarget::Prev))
        return;
    selectRazdel(current - 1);
}

void TMainF::Act_PrintExcelExecute()
{
    if (!AskYesNo(u"Вы действительно хотите напечатать отчёт для передачи в Минфин"_s, kAskCaption))
        return;
    if (!ControlBeforeOutput(OutputKind::Print))
        return;
    printReport(true);
}

void TMainF::Act_PrintExcel_ChernovikExecute()
{
    if (CurrDataSet && CurrDataSet->isEditing())
        postCurrentEdit();
    printReport(false);
}

void TMainF::printReport(bool finalMode)
{
    if (PrintRepExcel) {
        PrintRepExcel(finalMode);
        return;
    }
    InfoBox(u"Печать отчёта недоступна: не найдена программа электронных таблиц"_s, kMsgCaption);
}
