#include "Clock.h"
#include "DBGrid.h"
#include "ErrorList.h"
#include "GuiErrors.h"
#include "MessageBoxes.h"
#include "Razdels.h"
#include "SectionList.h"
#include "TMainF.h"

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
    DataSet& err = m_tables.err();
    if (!err.isOpen())
        return;
    const int tab = PageControl1->currentIndex();
    QString filter = u"IsWarning="_s + (tab == 1 ? u"true"_s : u"false"_s);
    err.setFilter(filter);
    err.setFiltered(true);
    if (CurrRazdelInd < 0)
        return;
    const int razdelName = DBGrid_Err->columnOfField(u"RazdelName"_s);
    if (!ErrShowAll) {
        filter += u" and RazdelKod='"_s + Razdels()[CurrRazdelInd].Kod + u"'"_s;
        err.setFilter(filter);
        DBGrid_Err->setColumnHidden(razdelName, true);
        PageControl1->setTabText(0, u"           Ошибки  (всего - "_s +
                                        QString::number(Counts.RazdelErrCount[CurrRazdelInd]) +
                                        u")           "_s);
        PageControl1->setTabText(1, u"  Предупреждения  (всего -  "_s +
                                        QString::number(Counts.RazdelWarnCount[CurrRazdelInd]) +
                                        u")  "_s);
    } else {
        for (const QString& f : {u"RazdelName"_s, u"ErrorNum"_s, u"ErrorName"_s})
            DBGrid_Err->setColumnHidden(DBGrid_Err->columnOfField(f), false);
        PageControl1->setTabText(0, u"           Ошибки  (всего -  "_s +
                                        QString::number(Counts.AllErrCount) + u")           "_s);
        PageControl1->setTabText(1, u"  Предупреждения  (всего -  "_s +
                                        QString::number(Counts.AllWarnCount) + u")  "_s);
    }
    DBGrid_Err->setColumnTitle(u"ErrorNum"_s,
                               tab == 0 ? u"Номер ошибки"_s : u"Номер предупреждения"_s);
    DBGrid_Err->setColumnTitle(u"ErrorName"_s, tab == 0 ? u"Наименование ошибки"_s
                                                        : u"Наименование предупреждения"_s);
    if (tab == 0)
        Lab_Err_Warn->setText(ErrShowAll
                                  ? u"Ошибки в целом по документу. Всего ошибок - "_s +
                                        QString::number(Counts.AllErrCount)
                                  : u"Ошибки в текущем разделе. Всего ошибок - "_s +
                                        QString::number(Counts.RazdelErrCount[CurrRazdelInd]));
    else
        Lab_Err_Warn->setText(
            ErrShowAll ? u"Предупреждения в целом по документу. Всего предупреждений - "_s +
                             QString::number(Counts.AllWarnCount)
                       : u"Предупреждения в текущем разделе. Всего предупреждений - "_s +
                             QString::number(Counts.RazdelWarnCount[CurrRazdelInd]));
    setErrorsPanelVisible(true);
    updateActions();
}

void TMainF::ShowErrTab(int tab)
{
    if (PageControl1->currentIndex() != tab) {
        const QSignalBlocker block(PageControl1);
        PageControl1->setCurrentIndex(tab);
    }
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
    const QString title = (PageControl1->currentIndex() == 1 ? u"Предупреждения"_s : u"Ошибки"_s) +
                          u" (всего - "_s + QString::number(m_tables.err().recordCount()) + u")"_s;
    if (exportGridToSpreadsheet)
        exportGridToSpreadsheet(DBGrid_Err, {title});
    else
        InfoBox(u"Вывод в электронную таблицу недоступен: нет программы электронных таблиц"_s,
                kMsgCaption);
}

// ---------------------------------------------------------------- gates

bool TMainF::ControlBeforeLeaveRazdel(LeaveTarget target)
{
    postCurrentEdit();
    ErrShowAll = false;
    runControl();
    const int e = Counts.RazdelErrCount[CurrRazdelInd];
    const int w = Counts.RazdelWarnCount[CurrRazdelInd];
    const bool blocked = !CanExitFromRazdel(CurrRazdelInd, m_tables.err());
    const bool print = target == LeaveTarget::Print;
    const QString lead = print ? u"Прежде чем перейти к печати,\n\r"_s
                               : u"Прежде чем перейти к новому разделу,\n\r"_s;
    const QString m1 =
        lead +
        u"исправьте ошибки текущего раздела\n\rи просмотрите информацию о предупреждениях текущего раздела"_s;
    const QString m2 = lead + u"просмотрите информацию о предупреждениях текущего раздела"_s;
    const QString m3 = lead + u"исправьте ошибки текущего раздела"_s;
    if (e > 0 && w > 0) {
        if (blocked) {
            ShowErrTab(0);
            InfoBox(m1, kMsgCaption);
            return false;
        }
        if (!errorsPanelVisible()) {
            if (target == LeaveTarget::Prev) {
                ShowErrTab(1);
                InfoBox(m2, kMsgCaption);
            } else {
                InfoBox(m2, kMsgCaption);
                ShowErrTab(1);
            }
            return false;
        }
    }
    if (e > 0 && w == 0 && blocked) {
        ShowErrTab(0);
        InfoBox(m3, kMsgCaption);
        return false;
    }
    if (!errorsPanelVisible() && e == 0 && w > 0) {
        ShowErrTab(1);
        InfoBox(m2, kMsgCaption);
        return false;
    }
    return true;
}

void TMainF::locateErrorRecord(const QString& kodRow, int razdelInd)
{
    DataSet& err = m_tables.err();
    err.locate(u"KodRow_Value;RazdelInd"_s, {kodRow, razdelInd});
}

bool TMainF::ControlBeforeOutput(OutputKind kind)
{
    const bool wasVisible = errorsPanelVisible();
    const bool wasShowAll = ErrShowAll;
    postCurrentEdit();
    ErrShowAll = true;
    runControl();
    const int e = Counts.AllErrCount;
    const int w = Counts.AllWarnCount;
    auto showRecord = [this](int tab) {
        ShowErrTab(tab);
        DBGrid_Err->setFocus(Qt::OtherFocusReason);
        m_tables.err().first();
        DBGrid_ErrDblClick();
    };
    if (e > 0) {
        const QString ending = kind == OutputKind::Mail
                                   ? u"Перед отправкой отчёта необходимо устранить ошибки"_s
                                   : u"Перед печатью необходимо устранить ошибки"_s;
        const QString t = w == 0 ? u"В данных отчёта есть ошибки (всего - "_s + QString::number(e) +
                                       u")."_s + u"\n\r"_s + ending
                                 : u"В данных отчёта есть ошибки (всего - "_s + QString::number(e) +
                                       u")"_s + u"\n\r"_s + u"и предупреждения (всего - "_s +
                                       QString::number(w) + u")."_s + u"\n\r"_s + ending;
        switch (kind) {
        case OutputKind::Print:
            showRecord(0);
            InfoBox(t, kMsgCaption);
            Act_Log_CommonUpdate();
            break;
        case OutputKind::Export:
            InfoBox(u"В данных отчёта есть ошибки (всего - "_s + QString::number(e) + u")"_s +
                        u"\n\r"_s + u"Сначало надо исправить ошибки"_s,
                    kMsgCaption);
            showRecord(0);
            break;
        case OutputKind::Mail:
            showRecord(0);
            InfoBox(t, kMsgCaption);
            break;
        }
        return false;
    }
    if (w > 0) {
        switch (kind) {
        case OutputKind::Print: {
            setErrorsPanelVisible(false);
            ShowErrTab(1);
            if (AskYesNo(u"В данных отчёта есть предупреждения (всего - "_s + QString::number(w) +
                             u")."_s + u"\n\r"_s + u"Показать предупреждения"_s,
                         kAskCaption)) {
                showRecord(1);
                Act_Log_CommonUpdate();
                return false;
            }
            DataSet& err = m_tables.err();
            if (err.locate(u"KodRow_Value;RazdelInd"_s, {u"05"_s, PosRazdel2}) &&
                !AskYesNo(u"Действительно ли объем оказанных услуг за предыдущий год равен нулю"_s,
                          kAskCaption)) {
                locateErrorRecord(u"05"_s, PosRazdel2);
                DBGrid_ErrDblClick();
                return false;
            }
            if (err.locate(u"KodRow_Value;RazdelInd"_s, {u"29"_s, PosRazdel4}) &&
                !AskYesNo(
                    u"Действительно ли количество выданных аудиторских заключений по ОБЯЗАТЕЛЬНОМУ "
                    u"аудиту\n\r"
                    u"равно количеству выданных аудиторских заключений по ИНИЦИАТИВНОМУ аудиту"_s,
                    kAskCaption)) {
                locateErrorRecord(u"29"_s, PosRazdel4);
                DBGrid_ErrDblClick();
                return false;
            }
            ErrShowAll = wasShowAll;
            showRecord(1);
            setErrorsPanelVisible(wasVisible);
            return true;
        }
        case OutputKind::Export:
        case OutputKind::Mail:
            // The export text has no full stop after the count, the mail text has one.
            if (AskYesNo(u"В данных отчёта есть предупреждения (всего - "_s + QString::number(w) +
                             (kind == OutputKind::Export ? u")"_s : u")."_s) + u"\n\r"_s +
                             u"Показать предупреждения"_s,
                         kAskCaption)) {
                showRecord(1);
                return false;
            }
            return true;
        }
    }
    return true;
}

// ---------------------------------------------------------------- next, back, print

void TMainF::Act_NextRazdelExecute()
{
    const bool wasVisible = errorsPanelVisible();
    const int current = m_list->currentRow() >= 0 ? m_list->currentRow() : CurrRazdelInd;
    if (current >= m_list->count() - 1) {
        if (!ControlBeforeLeaveRazdel(LeaveTarget::Print))
            return;
        ShowErrTab(1);
        setErrorsPanelVisible(wasVisible);
        Act_PrintExcelExecute();
        return;
    }
    if (!ControlBeforeLeaveRazdel(LeaveTarget::Next))
        return;
    Panel_Errors->setVisible(false); // the splitter keeps its state
    if (current == PosRazdel2 &&
        !m_platform.messages->AskPlain(
            u"Единицы измерения введенных данных\n\rраздела ОБЪЕМ ОКАЗАННЫХ УСЛУГ -\n\rТЫС.РУБ.? "_s,
            kMsgCaption))
        return;
    selectRazdel(current + 1);
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
