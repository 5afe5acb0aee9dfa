#include "workspace/DBGrid.h"
#include "workspace/ErrorsPanel.h"
#include "workspace/GuiErrors.h"
#include "workspace/SectionList.h"
#include "workspace/TMainF.h"
#include "workspace/TextEditorCommands.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

QAction* makeAction(QObject* owner, const QString& name, const QString& caption,
                    const QString& hint)
{
    auto* a = new QAction(caption, owner);
    a->setObjectName(name);
    a->setToolTip(hint);
    a->setStatusTip(hint);
    return a;
}

} // namespace

void TMainF::createActions()
{
    Act_PrintExcel_Chernovik =
        makeAction(this, u"Act_PrintExcel_Chernovik"_s, u"Просмотр отчёта"_s, u"Просмотр отчёта"_s);
    Act_PrintExcel = makeAction(this, u"Act_PrintExcel"_s, u"Печать отчёта"_s,
                                u"Печать отчёта для передачи в Минфин"_s);
    Act_SendRepToMail =
        makeAction(this, u"Act_SendRepToMail"_s, u"Отослать отчёт по электронной почте"_s,
                   u"Отослать отчёт по электронной почте"_s);
    Act_Export = makeAction(this, u"Act_Export"_s, u"Создать файл для передачи в Минфин"_s,
                            u"Создание файла для передачи в Минфин"_s);
    Act_Exit = makeAction(this, u"Act_Exit"_s, u"Выход"_s, u"Выход"_s);
    Act_Save = makeAction(this, u"Act_Save"_s, u"Сохранить"_s, u"Сохранить"_s);
    Act_OtmenaIspravlen = makeAction(this, u"Act_OtmenaIspravlen"_s, u"Отмена исправлений"_s,
                                     u"Отмена исправлений"_s);
    const QString logCaption = u"Показать ошибки и предупреждения текущего раздела"_s;
    Act_LogControl = makeAction(this, u"Act_LogControl"_s, logCaption, logCaption);
    const QString logAllCaption = u"Показать ошибки и предупреждения для всех разделов формы"_s;
    Act_LogControl_All = makeAction(this, u"Act_LogControl_All"_s, logAllCaption, logAllCaption);
    Act_Log_Common = makeAction(this, u"Act_Log_Common"_s, logCaption, logCaption);
    const QString hideCaption = u"Скрыть информацию об ошибках"_s;
    Act_HideGridErr = makeAction(this, u"Act_HideGridErr"_s, hideCaption, hideCaption);
    Act_ErrExcel = makeAction(this, u"Act_ErrExcel"_s, u"Вывести ошибки и предупреждения в Excel"_s,
                              u"Вывести ошибки в Excel"_s);
    const QString calcCaption = u"Рассчитать итоговые строки и графы для текущего раздела"_s;
    Act_CalcCurrRazdel = makeAction(this, u"Act_CalcCurrRazdel"_s, calcCaption, calcCaption);
    const QString calcAllCaption = u"Рассчитать итоговые строки и графы для всех разделов"_s;
    Act_CalcAllRazdels = makeAction(this, u"Act_CalcAllRazdels"_s, calcAllCaption, calcAllCaption);
    Act_About = makeAction(this, u"Act_About"_s, u"О программе"_s, u"О программе"_s);
    Act_BeginForm = makeAction(this, u"Act_BeginForm"_s, u"Перед началом работы..."_s, QString());
    Act_NextRazdel = makeAction(this, u"Act_NextRazdel"_s, u"Далее"_s, u"Следующий раздел"_s);
    Act_PrevRazdel = makeAction(this, u"Act_PrevRazdel"_s, u"Назад"_s, u"Предыдущий раздел"_s);
    Act_TestSrc = makeAction(this, u"Act_TestSrc"_s, u"Проверка контрольной суммы"_s, QString());
    Act_ChangeYearOfRep = makeAction(this, u"Act_ChangeYearOfRep"_s, u"Изменить отчётный год"_s,
                                     u"Изменить отчётный год"_s);
    Act_SetMayRedaktData = makeAction(this, u"Act_SetMayRedaktData"_s,
                                      u"Запретить править данные"_s, u"Запретить править данные"_s);
    Act_SetMayRedaktData->setCheckable(true);

    EditCut1 = makeAction(this, u"EditCut1"_s, u"Вырезать"_s,
                          u"Вырезает выделенное и вставляет его в буфер обмена"_s);
    EditCut1->setShortcut(QKeySequence(u"Ctrl+X"_s));
    EditCopy1 =
        makeAction(this, u"EditCopy1"_s, u"Копировать"_s, u"Копирует выделенное в буфер обмена"_s);
    EditCopy1->setShortcut(QKeySequence(u"Ctrl+C"_s));
    EditPaste1 = makeAction(this, u"EditPaste1"_s, u"Вставить"_s, u"Вставляет из буфера обмена"_s);
    EditPaste1->setShortcut(QKeySequence(u"Ctrl+V"_s));
    EditSelectAll1 =
        makeAction(this, u"EditSelectAll1"_s, u"Выделить всё"_s, u"Выделяет весь документ"_s);
    EditSelectAll1->setShortcut(QKeySequence(u"Ctrl+A"_s));
    EditUndo1 = makeAction(this, u"EditUndo1"_s, u"Отменить"_s, u"Отменяет последнее действие"_s);
    EditUndo1->setShortcut(QKeySequence(u"Ctrl+Z"_s));
    EditDelete1 = makeAction(this, u"EditDelete1"_s, u"Удалить"_s, u"Удаляет выделенное"_s);
    EditDelete1->setShortcut(QKeySequence(u"Ctrl+D"_s));
    // Shortcuts work wherever the focus is in the window, shown in a menu or not.
    for (QAction* a : {EditCut1, EditCopy1, EditPaste1, EditSelectAll1, EditUndo1, EditDelete1}) {
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a);
    }

    // Hidden in this build.
    for (QAction* a :
         {Act_SendRepToMail, Act_Export, Act_Save, Act_OtmenaIspravlen, Act_CalcCurrRazdel,
          Act_CalcAllRazdels, Act_TestSrc, Act_ChangeYearOfRep, Act_SetMayRedaktData})
        a->setVisible(false);

    connect(Act_Exit, &QAction::triggered, this, [this] { Act_ExitExecute(); });
    connect(Act_Save, &QAction::triggered, this,
            [this] { guarded([this] { Act_SaveExecute(); }); });
    connect(Act_OtmenaIspravlen, &QAction::triggered, this,
            [this] { guarded([this] { Act_OtmenaIspravlenExecute(); }); });
    connect(Act_CalcCurrRazdel, &QAction::triggered, this,
            [this] { guarded([this] { Act_CalcCurrRazdelExecute(); }); });
    connect(Act_CalcAllRazdels, &QAction::triggered, this,
            [this] { guarded([this] { Act_CalcAllRazdelsExecute(); }); });
    connect(Act_LogControl, &QAction::triggered, this,
            [this] { guarded([this] { Act_LogControlExecute(); }); });
    connect(Act_LogControl_All, &QAction::triggered, this,
            [this] { guarded([this] { Act_LogControl_AllExecute(); }); });
    connect(Act_Log_Common, &QAction::triggered, this, [this] {
        guarded([this] {
            if (ErrShowAll)
                Act_LogControl_AllExecute();
            else
                Act_LogControlExecute();
        });
    });
    connect(Act_HideGridErr, &QAction::triggered, this, [this] { Act_HideGridErrExecute(); });
    connect(Act_ErrExcel, &QAction::triggered, this,
            [this] { guarded([this] { Act_ErrExcelExecute(); }); });
    connect(Act_About, &QAction::triggered, this, [this] { Act_AboutExecute(); });
    connect(Act_BeginForm, &QAction::triggered, this, [this] { Act_BeginFormExecute(); });
    connect(Act_NextRazdel, &QAction::triggered, this,
            [this] { guarded([this] { Act_NextRazdelExecute(); }); });
    connect(Act_PrevRazdel, &QAction::triggered, this,
            [this] { guarded([this] { Act_PrevRazdelExecute(); }); });
    connect(Act_ChangeYearOfRep, &QAction::triggered, this,
            [this] { guarded([this] { Act_ChangeYearOfRepExecute(); }); });
    connect(Act_SetMayRedaktData, &QAction::triggered, this,
            [this] { guarded([this] { Act_SetMayRedaktDataExecute(); }); });
    connect(Act_Export, &QAction::triggered, this,
            [this] { guarded([this] { Act_ExportExecute(); }); });
    connect(Act_SendRepToMail, &QAction::triggered, this,
            [this] { guarded([this] { Act_SendRepToMailExecute(); }); });
    connect(Act_TestSrc, &QAction::triggered, this,
            [this] { guarded([this] { Act_TestSrcExecute(); }); });
    connect(Act_PrintExcel, &QAction::triggered, this,
            [this] { guarded([this] { Act_PrintExcelExecute(); }); });
    connect(Act_PrintExcel_Chernovik, &QAction::triggered, this,
            [this] { guarded([this] { Act_PrintExcel_ChernovikExecute(); }); });

    const auto onEditor = [this](void (TextEditorCommands::*command)()) {
        return [this, command] { (TextEditorCommands(focusedTextEditor()).*command)(); };
    };
    connect(EditCut1, &QAction::triggered, this, onEditor(&TextEditorCommands::cut));
    connect(EditCopy1, &QAction::triggered, this, onEditor(&TextEditorCommands::copy));
    connect(EditPaste1, &QAction::triggered, this, onEditor(&TextEditorCommands::paste));
    connect(EditSelectAll1, &QAction::triggered, this, onEditor(&TextEditorCommands::selectAll));
    connect(EditUndo1, &QAction::triggered, this, onEditor(&TextEditorCommands::undo));
    connect(EditDelete1, &QAction::triggered, this, onEditor(&TextEditorCommands::deleteSelection));
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        // The edit actions follow the focused editor's selection and undo state.
        for (const auto& c : std::as_const(m_editorWatch))
            disconnect(c);
        m_editorWatch = TextEditorCommands(now).watch(this, [this] { updateEditActions(); });
        updateEditActions();
    });
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this,
            [this] { updateEditActions(); });
}

QWidget* TMainF::focusedTextEditor() const
{
    return TextEditorCommands::textEditor(QApplication::focusWidget());
}

bool TMainF::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride && type != QEvent::ContextMenu)
        return QMainWindow::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || !isAncestorOf(widget))
        return QMainWindow::eventFilter(watched, event);
    if (type == QEvent::ContextMenu) {
        // Editors inside the data area offer the area's menu, not their own.
        if (!Panel_Data->isAncestorOf(widget))
            return QMainWindow::eventFilter(watched, event);
        updateActions();
        PopupMenu1->exec(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    if (widget != focusedTextEditor() ||
        key->keyCombination() != QKeyCombination(Qt::ControlModifier, Qt::Key_D))
        return QMainWindow::eventFilter(watched, event);
    // The editors' own Ctrl+D deletes the character after the cursor; here it deletes only
    // a selection, through EditDelete1. The override is left unaccepted so the action's
    // shortcut gets the key; a key press that still arrives is answered here.
    if (type == QEvent::KeyPress) {
        updateEditActions();
        if (EditDelete1->isEnabled())
            EditDelete1->trigger();
    }
    return true;
}

void TMainF::updateEditActions()
{
    QWidget* w = focusedTextEditor();
    const TextEditorCommands editor(w);
    const bool selection = editor.hasSelection();
    const bool undo = editor.isUndoAvailable();
    const bool readOnly = editor.isReadOnly();
    const QMimeData* clip = QApplication::clipboard()->mimeData();
    // Keyboard shortcuts reach the editors themselves as well; the actions serve the menus.
    EditCut1->setEnabled(w && selection && !readOnly);
    EditCopy1->setEnabled(w && selection);
    EditPaste1->setEnabled(w && !readOnly && clip && clip->hasText());
    EditSelectAll1->setEnabled(w != nullptr);
    EditUndo1->setEnabled(w && undo && !readOnly);
    EditDelete1->setEnabled(w && selection && !readOnly);
}

void TMainF::createMenus()
{
    createYearDataActions();
    QMenu* file = menuBar()->addMenu(u"Файл"_s);
    file->addActions({Act_PrintExcel_Chernovik, Act_PrintExcel, Act_SendRepToMail, Act_Export});
    file->addSeparator();
    file->addActions({Act_CarryOver, Act_ImportRep});
    file->addSeparator();
    file->addAction(Act_Exit);
    QMenu* view = menuBar()->addMenu(u"Вид"_s);
    view->addAction(Act_LogControl);
    view->addAction(Act_LogControl_All);
    view->addSeparator();
    view->addActions({Act_HideGridErr, Act_CalcCurrRazdel, Act_CalcAllRazdels, Act_ErrExcel});
    QMenu* help = menuBar()->addMenu(u"Справка"_s);
    help->addActions({Act_BeginForm, Act_About});

    PopupMenu3 = new QMenu(this);
    PopupMenu3->setObjectName(u"PopupMenu3"_s);
    PopupMenu3->addActions({Act_LogControl, Act_LogControl_All});
    PopupMenu4 = new QMenu(this);
    PopupMenu4->setObjectName(u"PopupMenu4"_s);
    PopupMenu4->addActions({Act_CalcCurrRazdel, Act_CalcAllRazdels});

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(u"PopupMenu1"_s);
    PopupMenu1->addActions({Act_PrintExcel_Chernovik, Act_PrintExcel, Act_SendRepToMail});
    PopupMenu1->addSeparator();
    PopupMenu1->addActions({Act_Save, Act_OtmenaIspravlen, Act_LogControl, Act_LogControl_All,
                            Act_HideGridErr, Act_ErrExcel});
    PopupMenu1->addSeparator();
    QAction* clipboardCaption = PopupMenu1->addAction(u"РАБОТА С БУФЕРОМ ОБМЕНА"_s);
    clipboardCaption->setObjectName(u"N_Clipboard"_s);
    PopupMenu1->addActions({EditCopy1, EditSelectAll1, EditPaste1, EditUndo1});
    PopupMenu1->addSeparator();
    settingsSubmenu = PopupMenu1->addMenu(u"Настройки"_s);
    settingsSubmenu->setObjectName(u"N_Settings"_s);
    settingsSubmenu->addActions({Act_ChangeYearOfRep, Act_SetMayRedaktData});
    settingsSubmenu->menuAction()->setVisible(false);
    PopupMenu1->addSeparator();
    PopupMenu1->addActions({Act_About, Act_Exit, Act_TestSrc});

    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(u"PopupMenu2"_s);
    PopupMenu2->addActions({Act_HideGridErr, Act_ErrExcel});
    PopupMenu2->addSeparator();
    PopupMenu2->addActions({EditCopy1, EditSelectAll1});

    for (QMenu* m : {file, view, help, PopupMenu1, PopupMenu2, PopupMenu3, PopupMenu4})
        connect(m, &QMenu::aboutToShow, this, [this] { updateActions(); });

    for (QWidget* w : {Panel_Zagol, Panel_Data, BitBtn1->parentWidget()})
        connect(w, &QWidget::customContextMenuRequested, this,
                [this, w](const QPoint& p) { PopupMenu1->exec(w->mapToGlobal(p)); });
    Panel_Errors->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Panel_Errors, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { PopupMenu2->exec(Panel_Errors->mapToGlobal(p)); });

    // Toolbar: preview || print, mail | control drop-down | exit | totals drop-down, save,
    // export, undo
    QToolBar* bar = addToolBar(u"Панель инструментов"_s);
    bar->setObjectName(u"ToolBar1"_s);
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    bar->addAction(Act_PrintExcel_Chernovik);
    bar->addSeparator();
    bar->addSeparator();
    bar->addActions({Act_PrintExcel, Act_SendRepToMail});
    bar->addSeparator();
    logCommonButton = new QToolButton(bar);
    logCommonButton->setObjectName(u"ToolButton_Log"_s);
    logCommonButton->setDefaultAction(Act_Log_Common);
    logCommonButton->setMenu(PopupMenu3);
    logCommonButton->setPopupMode(QToolButton::MenuButtonPopup);
    bar->addWidget(logCommonButton);
    bar->addSeparator();
    bar->addAction(Act_Exit);
    bar->addSeparator();
    auto* calcButton = new QToolButton(bar);
    calcButton->setObjectName(u"ToolButton_Calc"_s);
    calcButton->setDefaultAction(Act_CalcCurrRazdel);
    calcButton->setMenu(PopupMenu4);
    calcButton->setPopupMode(QToolButton::MenuButtonPopup);
    QAction* calcHolder = bar->addWidget(calcButton);
    calcHolder->setVisible(false); // follows its action, hidden while totals are automatic
    bar->addActions({Act_Save, Act_Export, Act_OtmenaIspravlen});
}

void TMainF::updateActions()
{
    const bool available = currentSectionAvailable();
    Act_Save->setEnabled(available);
    Act_OtmenaIspravlen->setEnabled(Act_Save->isEnabled());
    Act_PrintExcel->setEnabled(available);
    Act_Export->setEnabled(available);
    Act_LogControl->setEnabled(available);
    Act_HideGridErr->setEnabled(errorsPanelVisible());
    const int tab = Panel_Errors->currentTab();
    DataSet& err = m_tables.err();
    Act_ErrExcel->setEnabled(err.isOpen() && err.recordCount() > 0);
    Act_ErrExcel->setText(tab == 1 ? u"Вывести предупреждения в Excel"_s
                                   : u"Вывести ошибки в Excel"_s);
    Act_Log_CommonUpdate();
    // Next / finish and back
    const bool last = CurrRazdelInd >= m_list->count() - 1;
    BitBtn1->setVisible(!last);
    BitBtn4->setVisible(last);
    Act_PrevRazdel->setEnabled(CurrRazdelInd > 0);
    BitBtn2->setEnabled(Act_PrevRazdel->isEnabled());
    // Totals commands: caption by section
    QString calc;
    switch (CurrRazdelInd) {
    case 1:
        calc = u"Рассчитать итоговую строку 02 для текущего раздела"_s;
        break;
    case 2:
        calc = u"Рассчитать итоговую строку 05 для текущего раздела"_s;
        break;
    case 3:
        calc = u"Рассчитать итоговую строку 12 для текущего раздела"_s;
        break;
    case 4:
        calc = u"Рассчитать итоговую строку 29 и итоговую графу 3 для текущего раздела"_s;
        break;
    default:
        calc = u"Рассчитать итоговые строки и графы для текущего раздела"_s;
    }
    Act_CalcCurrRazdel->setText(calc);
    Act_CalcCurrRazdel->setToolTip(calc);
    Act_CalcCurrRazdel->setEnabled(Panel_Data->isEnabled() && CurrRazdelInd > 0 &&
                                   CurrRazdelInd <= 4);
    Act_SetMayRedaktDataUpdate();
    updateEditActions();
}

void TMainF::Act_Log_CommonUpdate()
{
    QAction* mirrored = ErrShowAll ? Act_LogControl_All : Act_LogControl;
    Act_Log_Common->setText(mirrored->text());
    Act_Log_Common->setToolTip(mirrored->toolTip());
    Act_Log_Common->setIcon(mirrored->icon());
    Act_Log_Common->setEnabled(mirrored->isEnabled());
}
