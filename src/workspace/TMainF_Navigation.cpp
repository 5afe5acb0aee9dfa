#include "dialogs/ChangeYearDialog.h"
#include "dialogs/ShowDialog.h"
#include "dialogs/TAboutF.h"
#include "dialogs/TBeginForm.h"
#include "model/FormatSettings.h"
#include "model/GridLayoutFile.h"
#include "model/RazdelFiles.h"
#include "model/Razdels.h"
#include "model/Totals.h"
#include "workspace/DBGrid.h"
#include "workspace/GuiErrors.h"
#include "workspace/RekvizityPanel.h"
#include "workspace/SectionList.h"
#include "workspace/TMainF.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QTimer>

using namespace Qt::StringLiterals;

void TMainF::wireTables()
{
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected, const QItemSelection& deselected) {
                // Two steps, as a list view reports them: the item left, then the item entered.
                for (const QModelIndex& i : deselected.indexes())
                    guarded([&] { LVRazdelSelectItem(i.row(), false); });
                for (const QModelIndex& i : selected.indexes())
                    guarded([&] { LVRazdelSelectItem(i.row(), true); });
                updateActions();
            });
    connect(m_list, &SectionList::listClicked, this, [this] { LVRazdelClick(); });
}

void TMainF::selectRazdel(int index)
{
    if (index < 0 || index >= m_list->count())
        return;
    m_list->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
}

void TMainF::postCurrentEdit()
{
    if (CurrGrid && CurrGrid->isEditorOpen() && !CurrGrid->commitEditor())
        throw SilentAbort();
    if (CurrRazdelInd == PosRekvizity)
        Panel_00->commitPendingEdits();
    if (CurrDataSet && CurrDataSet->isEditing())
        CurrDataSet->post();
}

void TMainF::LVRazdelSelectItem(int index, bool selected)
{
    if (!selected) {
        // Leaving: totals, the pending edit (saved by the post), the grid layout.
        if (!currentSectionAvailable())
            return;
        CalcRazdel(CurrRazdelInd, CurrDataSet);
        postCurrentEdit();
        SaveGridLayout(CurrGrid, m_paths, Razdels()[CurrRazdelInd].Kod, m_reportYear);
        return;
    }

    CurrRazdelInd = index;
    const TRazdel& e = Razdels()[index];
    QString title = e.Title;
    if (!e.EdIzm.isEmpty())
        title += u" (единица измерения - "_s + e.EdIzm + u")"_s;
    Panel_Zagol->setAccessibleName(title);
    Panel_Zagol->setToolTip(title);
    Lab_Zag_01->setFixedWidth(index == PosQualityTest ? 350 : 100);
    Lab_Zag_01->setText(e.Zag_01);
    Lab_Zag_02->setText(e.Zag_02);
    Lab_Zag_03->setText(e.Zag_03);
    Lab_Zag_03->setVisible(!e.Zag_03.trimmed().isEmpty());

    CurrDataSet = OpenDataSet(e.DataSetName);
    CurrGrid = ShowGrid(e.GridName);
    CurrPanel = ShowPanel(e.PanelName, PanelGridNames);
    CurrControl = CurrGrid ? static_cast<QWidget*>(CurrGrid) : CurrPanel;
    if (!currentSectionAvailable())
        return;

    if (index == PosRekvizity)
        Panel_00->SetDigitFields();
    if (m_unsaved.contains(index)) {
        // Changes whose save failed are not replaced by the older file: they are saved
        // now, or stay in the table with the failure reported again.
        RestoreGridLayout(CurrGrid, m_paths, e.Kod, m_reportYear);
        guarded([&] { saveRazdelKeepingFailures(index); });
    } else {
        const LoadRazdelResult res =
            LoadRazdelAndLayout(CurrDataSet, CurrGrid, m_paths, e.Kod, m_reportYear);
        CurrDataSet->cancelUpdates();
        if (res.damaged)
            showLoadProblem(res.message);
    }
    if (index == PosRekvizity)
        Panel_00->refresh();

    if (index == PosRazdel2) {
        InfoBox(u"ВНИМАНИЕ!  В разделе "_s + e.NameForMsg.toUpper() + u"\n\r"_s +
                    u"данные измеряются в ТЫС.РУБ."_s,
                u"Сообщение"_s);
        if (m_settings.GetFirstTimeRazdel02())
            InfoBox(u"Внимание! Контроль данных за предыдущий год программой не осуществляется"_s,
                    u"Сообщение"_s);
        m_settings.SetFirstTimeRazdel02(false);
    }
    if (index == PosRekvizity) {
        Panel_00->DBCheckBoxEh1Click();
        FocusField(u"IsUrLico"_s, CurrDataSet);
    }
    if (!ErrShowAll) {
        const bool visible = errorsPanelVisible();
        runControl();
        PageControl1Change();
        setErrorsPanelVisible(visible);
    }
}

void TMainF::LVRazdelClick()
{
    SetFormatSettings();
    if (CurrGrid && Panel_Data->isEnabled())
        CurrGrid->setFocus(Qt::MouseFocusReason);
    if (CurrDataSet && CurrRazdelInd == PosRekvizity)
        FocusField(u"FullName"_s, CurrDataSet);
}

// ---------------------------------------------------------------- shell commands

void TMainF::Act_SaveExecute()
{
    if (!currentSectionAvailable())
        return;
    postCurrentEdit();
    const QString& kod = Razdels()[CurrRazdelInd].Kod;
    saveRazdelKeepingFailures(CurrRazdelInd);
    InfoBox(SaveRazdelMessage(RazdelFileName(m_paths, kod, m_reportYear)), u"Сообщение"_s);
}

void TMainF::Act_OtmenaIspravlenExecute()
{
    if (!AskYesNo(u"Вы действительно хотите отменить все сделанные изменения"_s,
                  u"Предупреждение"_s))
        return;
    if (!CurrDataSet)
        return;
    if (CurrGrid && CurrGrid->isEditorOpen())
        CurrGrid->clearFocus();
    CurrDataSet->cancelUpdates();
    if (CurrRazdelInd == PosRekvizity)
        Panel_00->refresh();
}

void TMainF::Act_ExitExecute()
{
    close();
}

void TMainF::Act_CalcCurrRazdelExecute()
{
    CalcRazdel(CurrRazdelInd, CurrDataSet);
}

void TMainF::Act_CalcAllRazdelsExecute()
{
    CalcAllRazdels(m_tables);
}

bool TMainF::FormCloseQuery()
{
    guarded([this] { postCurrentEdit(); });
    if (CurrRazdelInd >= 0 && CurrRazdelInd < RazdelCount)
        guarded([this] {
            SaveGridLayout(CurrGrid, m_paths, Razdels()[CurrRazdelInd].Kod, m_reportYear);
        });
    if (!AskYesNo(u"Вы действительно хотите выйти из приложения"_s, u"Предупреждение"_s))
        return false;
    guarded([this] {
        m_settings.SaveYearOfRep(m_reportYear);
        m_settings.SetFirstTime(false);
    });
    return true;
}

void TMainF::closeEvent(QCloseEvent* event)
{
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

// ---------------------------------------------------------------- activation, dialogs

bool TMainF::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && !m_activatedOnce) {
        m_activatedOnce = true;
        // After the window is on screen, not inside the activation itself.
        QTimer::singleShot(0, this, [this] {
            Act_BeginFormExecute();
            guarded([this] { OfferCarryOver(); });
        });
    }
    return QMainWindow::event(event);
}

void TMainF::Act_BeginFormExecute()
{
    TBeginForm form(this);
    ShowDialog(form, Act_BeginForm->text());
}

void TMainF::Act_AboutExecute()
{
    TAboutF about(*m_platform.urls, this);
    ShowDialog(about, Act_About->text());
}

void TMainF::Act_ChangeYearOfRepExecute()
{
    postCurrentEdit();
    const ChangeYearResult r = ChangeYearDialog(u"Изменить отчётный год"_s, m_reportYear,
                                                *m_platform.clock, *m_platform.messages, this);
    if (!r.accepted)
        return;
    m_settings.SaveYearOfRep(r.year);
    setWindowTitle(applicationTitle() + u" за "_s + m_reportYear + u" год."_s);
    if (currentSectionAvailable()) {
        const LoadRazdelResult res =
            LoadRazdel(CurrDataSet, m_paths, Razdels()[CurrRazdelInd].Kod, m_reportYear);
        if (res.damaged)
            showLoadProblem(res.message);
        if (CurrRazdelInd == PosRekvizity)
            Panel_00->refresh();
    }
}

void TMainF::Act_SetMayRedaktDataUpdate()
{
    Act_SetMayRedaktData->setChecked(!m_settings.GetMayRedaktData());
}

void TMainF::Act_SetMayRedaktDataExecute()
{
    // QAction flips the mark on trigger; the mark as last updated is its opposite.
    const bool mark = !Act_SetMayRedaktData->isChecked();
    if (mark == m_settings.GetMayRedaktData())
        return;
    m_settings.SetMayRedaktData(mark);
    applyEditingPermission();
    Act_SetMayRedaktDataUpdate();
}
