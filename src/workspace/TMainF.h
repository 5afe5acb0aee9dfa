#pragma once

#include "control/Control.h"
#include "control/Gates.h"
#include "model/AppPaths.h"
#include "model/ReportTables.h"
#include "model/Settings.h"
#include "platform/Platform.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QSet>
#include <QStringList>
#include <functional>
#include <memory>

class DBGrid;
class ErrorsPanel;
class QAction;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPushButton;
class QSplitter;
class QStackedLayout;
class QTabBar;
class QToolButton;
class RekvizityPanel;
class SectionList;

// The main window: owns the report's tables, one grid per section, the requisites
// panel, the errors panel, the menus and every action.
class TMainF : public QMainWindow {
    Q_OBJECT
public:
    TMainF(const AppPaths& paths, const Platform& platform, QWidget* parent = nullptr);
    ~TMainF() override;

    // What the program and its tests reach of the window; everything else is its own.
    ReportTables& tables() { return m_tables; }
    const AppPaths& paths() const { return m_paths; }
    Settings& settings() { return m_settings; }
    const QString& reportYear() const { return m_reportYear; }

    // The section shown: its place in the list, its table, and its grid (none for the
    // requisites panel).
    int currentRazdel() const { return CurrRazdelInd; }
    DataSet* currentDataSet() const { return CurrDataSet; }
    DBGrid* currentGrid() const { return CurrGrid; }
    // Selects a section as program code does (runs the selection steps).
    void selectRazdel(int index);
    DBGrid* FindGrid(const QString& name) const;

    // The errors panel: shown or not, the whole document's list or the section's, and the
    // counts of the last control run.
    bool errorsPanelVisible() const;
    bool wholeDocumentErrors() const { return ErrShowAll; }
    const ControlCounts& counts() const { return Counts; }

    // Offers to carry last year's report over (made once, when the window is first shown).
    void OfferCarryOver();

    // Output through the spreadsheet application, supplied by the printing layer.
    std::function<void(bool finalMode)> PrintRepExcel;
    std::function<void(DBGrid* grid, const QStringList& titles)> exportGridToSpreadsheet;
    // The open-file dialog of the import; tests answer it.
    std::function<QString(const QString& caption)> chooseImportFile;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    // Ctrl+D of the editors and context menus inside the data area.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // --- window state
    int CurrRazdelInd = 0;
    DataSet* CurrDataSet = nullptr;
    DBGrid* CurrGrid = nullptr;
    QWidget* CurrPanel = nullptr;
    QWidget* CurrControl = nullptr;
    QStringList PanelGridNames;
    bool ErrShowAll = false;
    ControlCounts Counts;

    bool currentSectionAvailable() const { return CurrDataSet && CurrControl; }

    // --- services
    void InfoBox(const QString& text, const QString& caption);
    bool AskYesNo(const QString& text, const QString& caption);
    DataSet* FindDataSet(const QString& name) const;
    DataSet* OpenDataSet(const QString& name);
    DBGrid* ShowGrid(const QString& name);
    QWidget* ShowPanel(const QString& name, const QStringList& names);
    bool FocusField(const QString& fieldName, DataSet* table);
    bool SelectGridField(const QString& fieldName, DataSet* table, DBGrid* grid);

    // --- components
    QListWidget* LVRazdel() const;
    QLabel* Lab_Zag_01 = nullptr;
    QLabel* Lab_Zag_02 = nullptr;
    QLabel* Lab_Zag_03 = nullptr;
    QWidget* Panel_Zagol = nullptr;
    QWidget* Panel_Data = nullptr;
    ErrorsPanel* Panel_Errors = nullptr;
    QWidget* Splitter17 = nullptr; // the handle above the errors panel
    RekvizityPanel* Panel_00 = nullptr;
    QPushButton* BitBtn1 = nullptr; // "Далее"
    QPushButton* BitBtn2 = nullptr; // "Назад"
    QPushButton* BitBtn4 = nullptr; // "Завершить"
    QToolButton* logCommonButton = nullptr;

    // --- actions
    QAction* Act_PrintExcel_Chernovik = nullptr;
    QAction* Act_PrintExcel = nullptr;
    QAction* Act_SendRepToMail = nullptr;
    QAction* Act_Export = nullptr;
    QAction* Act_Exit = nullptr;
    QAction* Act_Save = nullptr;
    QAction* Act_OtmenaIspravlen = nullptr;
    QAction* Act_LogControl = nullptr;
    QAction* Act_LogControl_All = nullptr;
    QAction* Act_Log_Common = nullptr;
    QAction* Act_HideGridErr = nullptr;
    QAction* Act_ErrExcel = nullptr;
    QAction* Act_CalcCurrRazdel = nullptr;
    QAction* Act_CalcAllRazdels = nullptr;
    QAction* Act_About = nullptr;
    QAction* Act_BeginForm = nullptr;
    QAction* Act_NextRazdel = nullptr;
    QAction* Act_PrevRazdel = nullptr;
    QAction* Act_TestSrc = nullptr;
    QAction* Act_ChangeYearOfRep = nullptr;
    QAction* Act_SetMayRedaktData = nullptr;
    QAction* Act_CarryOver = nullptr;
    QAction* Act_ImportRep = nullptr;
    QAction* EditCut1 = nullptr;
    QAction* EditCopy1 = nullptr;
    QAction* EditPaste1 = nullptr;
    QAction* EditSelectAll1 = nullptr;
    QAction* EditUndo1 = nullptr;
    QAction* EditDelete1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QMenu* PopupMenu2 = nullptr;
    QMenu* PopupMenu3 = nullptr;
    QMenu* PopupMenu4 = nullptr;
    QMenu* settingsSubmenu = nullptr;

    // --- handlers
    void FormCreate();
    void LVRazdelSelectItem(int index, bool selected);
    void LVRazdelClick();
    void Act_SaveExecute();
    void Act_OtmenaIspravlenExecute();
    void Act_ExitExecute();
    void Act_CalcCurrRazdelExecute();
    void Act_CalcAllRazdelsExecute();
    void Act_ChangeYearOfRepExecute();
    void Act_SetMayRedaktDataUpdate();
    void Act_SetMayRedaktDataExecute();
    void Act_AboutExecute();
    void Act_BeginFormExecute();
    void Act_NextRazdelExecute();
    void Act_PrevRazdelExecute();
    void Act_LogControlExecute();
    void Act_LogControl_AllExecute();
    void Act_Log_CommonUpdate();
    void Act_HideGridErrExecute();
    void Act_ErrExcelExecute();
    void Act_PrintExcelExecute();
    void Act_PrintExcel_ChernovikExecute();
    void Act_ExportExecute();
    void Act_SendRepToMailExecute();
    void Act_TestSrcExecute();
    // Year to year and machine to machine (TMainF_YearData.cpp).
    void Act_CarryOverExecute();
    void Act_ImportRepExecute();
    void PageControl1Change();
    void ShowErrTab(int tab);
    void DBGrid_ErrDblClick();
    void ClientDataSet_00AfterPost(DataSet& table);
    void DBGrid_04ColExit();
    void DBGrid_QualityTestCellClick(int recNo, const QString& field);
    // Runs the control over the whole report and keeps its counts.
    void runControl();
    // Refreshes every action's visible/enabled/caption state.
    void updateActions();

    // The section gate and the pre-output gate; their decisions live in the core.
    bool ControlBeforeLeaveRazdel(LeaveTarget target);
    bool ControlBeforeOutput(OutputKind kind);

    void setErrorsPanelVisible(bool visible);

    class WindowGates;
    friend class WindowGates;
    // The window as the core's gates and output workflows drive it.
    std::unique_ptr<GateHost> newGateHost();

    void createActions();
    void createYearDataActions();
    void reloadReport();
    bool refusedWhileLocked();
    void createMenus();
    void createLayout();
    void createGrids();
    void wireTables();
    void wireGrid(DBGrid* grid, int position);
    void applyEditingPermission();
    void postCurrentEdit();
    void showLoadProblem(const QString& message);
    void updateEditActions();
    QWidget* focusedTextEditor() const;
    bool FormCloseQuery();
    void locateErrorRecord(const QString& kodRow, int razdelInd);
    void printReport(bool finalMode);
    // Saves a section's file; a section whose save failed is remembered until a save
    // succeeds, so that entering it again does not reload the older file over its data.
    void saveRazdelKeepingFailures(int position);

    AppPaths m_paths;
    Platform m_platform;
    QString m_reportYear;
    Settings m_settings;
    ReportTables m_tables;
    SectionList* m_list = nullptr;
    QStackedLayout* m_dataStack = nullptr;
    QSplitter* m_rightSplitter = nullptr;
    QHash<QString, DBGrid*> m_grids;
    bool m_activatedOnce = false;
    QList<QMetaObject::Connection> m_editorWatch;
    QSet<int> m_unsaved;
};
