#include "workspace/TMainF.h"
#include "workspace/ErrorsPanel.h"

#include "dialogs/TAboutF.h"
#include "model/FormatSettings.h"
#include "model/MessageBoxes.h"
#include "model/RazdelFiles.h"
#include "model/Razdels.h"
#include "model/ReportYear.h"
#include "platform/KeyboardLayout.h"
#include "workspace/DBGrid.h"
#include "workspace/GuiErrors.h"
#include "workspace/RekvizityPanel.h"
#include "workspace/SectionList.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QClipboard>
#include <QLabel>
#include <QLibraryInfo>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStackedLayout>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace {

// Qt's own texts (editor menus, standard dialogs) in Russian, once per application.
void installQtTranslations()
{
    static bool installed = false;
    if (installed)
        return;
    auto* translator = new QTranslator(qApp);
    if (translator->load(u"qtbase_ru"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
        installed = true;
    } else {
        delete translator; // English menus then; the program itself works the same
    }
}

} // namespace

TMainF::TMainF(const AppPaths& paths, const Platform& platform, QWidget* parent)
    : QMainWindow(parent), m_paths(paths), m_platform(platform),
      m_reportYear(ReportYear(*platform.clock)), m_settings(paths.IniFileName(), m_reportYear)
{
    setObjectName(u"MainF"_s);
    installQtTranslations();
    setErrorSink([this](const QString& text) { m_platform.messages->ErrorBox(text); });
    createActions();
    createLayout();
    createGrids();
    createMenus();
    wireTables();
    FormCreate();
    // A session ending without the close question (logout, termination) still keeps the
    // cell being edited.
    connect(qApp, &QCoreApplication::aboutToQuit, this,
            [this] { guarded([this] { postCurrentEdit(); }); });
    qApp->installEventFilter(this);
}

TMainF::~TMainF()
{
    // Focus moves while the children go; nothing of this window may hear of them.
    qApp->removeEventFilter(this);
    disconnect(qApp, nullptr, this, nullptr);
    disconnect(QApplication::clipboard(), nullptr, this, nullptr);
    for (const auto& c : std::as_const(m_editorWatch))
        disconnect(c);
    // The grids let go of their tables before the tables go.
    for (DBGrid* g : std::as_const(m_grids))
        g->setDataSet(nullptr);
    if (Panel_Errors)
        Panel_Errors->detach();
    setErrorSink({});
}

QListWidget* TMainF::LVRazdel() const
{
    return m_list;
}

// ---------------------------------------------------------------- services

void TMainF::InfoBox(const QString& text, const QString& caption)
{
    m_platform.messages->InfoBox(text, caption);
}

bool TMainF::AskYesNo(const QString& text, const QString& caption)
{
    return m_platform.messages->AskYesNo(text, caption);
}

DataSet* TMainF::FindDataSet(const QString& name) const
{
    return name.isEmpty() ? nullptr : m_tables.FindDataSet(name);
}

DBGrid* TMainF::FindGrid(const QString& name) const
{
    for (auto it = m_grids.cbegin(); it != m_grids.cend(); ++it)
        if (it.key().compare(name, Qt::CaseInsensitive) == 0)
            return it.value();
    return nullptr;
}

DataSet* TMainF::OpenDataSet(const QString& name)
{
    DataSet* ds = FindDataSet(name);
    if (ds && !ds->isOpen())
        ds->open();
    return ds;
}

DBGrid* TMainF::ShowGrid(const QString& name)
{
    DBGrid* g = FindGrid(name);
    if (!g)
        return nullptr;
    m_dataStack->setCurrentWidget(g);
    g->setVisible(true);
    return g;
}

QWidget* TMainF::ShowPanel(const QString& name, const QStringList& names)
{
    QWidget* found = nullptr;
    const QList<QWidget*> panels = {Panel_00};
    for (QWidget* p : panels) {
        if (p->objectName().compare(name, Qt::CaseInsensitive) == 0)
            found = p;
        else if (names.contains(p->objectName(), Qt::CaseInsensitive))
            p->setVisible(false);
    }
    if (found) {
        m_dataStack->setCurrentWidget(found);
        found->setVisible(true);
    }
    return found;
}

bool TMainF::FocusField(const QString& fieldName, DataSet* table)
{
    if (!table || fieldName.trimmed().isEmpty())
        return false;
    auto f = table->findField(fieldName.trimmed());
    if (!f)
        return false;
    f->focusControl();
    return true;
}

bool TMainF::SelectGridField(const QString& fieldName, DataSet* table, DBGrid* grid)
{
    if (!table || fieldName.trimmed().isEmpty())
        return false;
    if (!table->findField(fieldName.trimmed()) || !grid)
        return false;
    grid->setSelectedField(fieldName.trimmed());
    return true;
}

// ---------------------------------------------------------------- creation

void TMainF::FormCreate()
{
    // The errors panel and the hidden commands start hidden.
    ErrShowAll = false;
    setErrorsPanelVisible(false);
    Act_SendRepToMail->setVisible(false);
    Panel_00->setRegionRowVisible(false);
    // Number formats, the Russian keyboard layout, the caption with the reporting year.
    SetFormatSettings();
    m_platform.keyboard->activate(kLayoutRussian);
    // Not the display name: that would be appended to every window's caption.
    QApplication::setApplicationDisplayName(QString());
    m_platform.messages->setApplicationTitle(applicationTitle());
    setWindowTitle(applicationTitle() + u" за "_s + m_reportYear + u" год."_s);
    // Whether the reporting year may be edited.
    applyEditingPermission();
    // The section list and the names of every section's panel and grid.
    {
        const QSignalBlocker block(m_list);
        m_list->clear();
        for (const TRazdel& r : Razdels())
            m_list->addItem(r.ListCaption);
    }
    PanelGridNames.clear();
    for (const TRazdel& r : Razdels())
        PanelGridNames << r.PanelName << r.GridName;
    // No control has run yet.
    Counts = ControlCounts{};
    // Every section's file over its built-in rows, with its grid layout.
    for (int p = 0; p < RazdelCount; ++p) {
        const TRazdel& r = Razdels()[p];
        CurrDataSet = OpenDataSet(r.DataSetName);
        CurrGrid = ShowGrid(r.GridName);
        CurrPanel = ShowPanel(r.PanelName, PanelGridNames);
        CurrControl = CurrGrid ? static_cast<QWidget*>(CurrGrid) : CurrPanel;
        if (!currentSectionAvailable())
            return;
        const LoadRazdelResult res =
            LoadRazdelAndLayout(CurrDataSet, CurrGrid, m_paths, r.Kod, m_reportYear);
        if (res.damaged)
            showLoadProblem(res.message);
        if (p == PosRekvizity)
            Panel_00->refresh();
    }
    // The first section is shown.
    if (m_list->count() > 0) {
        CurrRazdelInd = 0;
        selectRazdel(0);
    }
    updateActions();
}

void TMainF::showLoadProblem(const QString& message)
{
    // Shown once, when the damaged file was set aside.
    InfoBox(message, u"Сообщение"_s);
}

void TMainF::applyEditingPermission()
{
    const bool may = m_settings.GetMayRedaktData();
    Panel_Data->setEnabled(may);
    Act_CalcCurrRazdel->setEnabled(may);
    Act_CalcAllRazdels->setEnabled(may);
}

void TMainF::createLayout()
{
    resize(1022, 766);
    if (const QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());

    auto* central = new QWidget(this);
    auto* outer = new QSplitter(Qt::Horizontal, central);
    outer->setObjectName(u"Splitter1"_s);
    auto* centralLayout = new QVBoxLayout(central);
    centralLayout->setContentsMargins(0, 0, 0, 0);
    centralLayout->addWidget(outer);
    setCentralWidget(central);

    // Left: "Разделы" over the section list.
    auto* left = new QWidget(outer);
    left->setObjectName(u"Panel_Left"_s);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(2, 2, 2, 2);
    auto* heading = new QLabel(u"Разделы"_s, left);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    leftLayout->addWidget(heading);
    m_list = new SectionList(left);
    leftLayout->addWidget(m_list);
    outer->addWidget(left);

    // Right: header, data area, errors panel, bottom bar.
    auto* right = new QWidget(outer);
    right->setObjectName(u"Panel_Right"_s);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(0);

    Panel_Zagol = new QWidget(right);
    Panel_Zagol->setObjectName(u"Panel_Zagol"_s);
    auto* zagol = new QHBoxLayout(Panel_Zagol);
    zagol->setContentsMargins(4, 4, 4, 4);
    Lab_Zag_01 = new QLabel(Panel_Zagol);
    Lab_Zag_01->setObjectName(u"Lab_Zag_01"_s);
    Lab_Zag_01->setAlignment(Qt::AlignRight | Qt::AlignTop);
    Lab_Zag_02 = new QLabel(Panel_Zagol);
    Lab_Zag_02->setObjectName(u"Lab_Zag_02"_s);
    Lab_Zag_02->setFont(bold);
    Lab_Zag_02->setWordWrap(true);
    Lab_Zag_02->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Lab_Zag_03 = new QLabel(Panel_Zagol);
    Lab_Zag_03->setObjectName(u"Lab_Zag_03"_s);
    Lab_Zag_03->setWordWrap(true);
    Lab_Zag_03->setAlignment(Qt::AlignRight | Qt::AlignTop);
    Lab_Zag_03->setFixedWidth(240);
    zagol->addWidget(Lab_Zag_01);
    zagol->addWidget(Lab_Zag_02, 1);
    zagol->addWidget(Lab_Zag_03);
    rightLayout->addWidget(Panel_Zagol);

    m_rightSplitter = new QSplitter(Qt::Vertical, right);
    m_rightSplitter->setObjectName(u"Splitter_Right"_s);
    m_rightSplitter->setChildrenCollapsible(false);
    Panel_Data = new QWidget(m_rightSplitter);
    Panel_Data->setObjectName(u"Panel_Data"_s);
    m_dataStack = new QStackedLayout(Panel_Data);

    Panel_Errors = new ErrorsPanel(m_tables.err(), m_rightSplitter);
    connect(Panel_Errors, &ErrorsPanel::closeClicked, this, [this] { Act_HideGridErrExecute(); });
    connect(Panel_Errors, &ErrorsPanel::tabChanged, this, [this] { PageControl1Change(); });
    connect(Panel_Errors, &ErrorsPanel::recordChosen, this,
            [this] { guarded([this] { DBGrid_ErrDblClick(); }); });
    m_rightSplitter->addWidget(Panel_Data);
    m_rightSplitter->addWidget(Panel_Errors);
    m_rightSplitter->setStretchFactor(0, 3);
    m_rightSplitter->setStretchFactor(1, 1);
    Splitter17 = m_rightSplitter->handle(1);
    Splitter17->setObjectName(u"Splitter17"_s);
    rightLayout->addWidget(m_rightSplitter, 1);

    auto* bottom = new QWidget(right);
    bottom->setObjectName(u"Panel_Bottom"_s);
    auto* bottomLayout = new QHBoxLayout(bottom);
    bottomLayout->setContentsMargins(4, 4, 4, 4);
    bottomLayout->addStretch(1);
    BitBtn2 = new QPushButton(u"Назад"_s, bottom);
    BitBtn2->setObjectName(u"BitBtn2"_s);
    BitBtn1 = new QPushButton(u"Далее"_s, bottom);
    BitBtn1->setObjectName(u"BitBtn1"_s);
    BitBtn4 = new QPushButton(u"Завершить"_s, bottom);
    BitBtn4->setObjectName(u"BitBtn4"_s);
    BitBtn4->setToolTip(u"Последний раздел. Далее будет печать."_s);
    BitBtn1->setToolTip(Act_NextRazdel->toolTip());
    BitBtn2->setToolTip(Act_PrevRazdel->toolTip());
    for (QPushButton* b : {BitBtn2, BitBtn1, BitBtn4}) {
        b->setMinimumWidth(100);
        bottomLayout->addWidget(b);
    }
    connect(BitBtn2, &QPushButton::clicked, this, [this] { Act_PrevRazdel->trigger(); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { Act_NextRazdel->trigger(); });
    connect(BitBtn4, &QPushButton::clicked, this, [this] { Act_NextRazdel->trigger(); });
    rightLayout->addWidget(bottom);

    outer->addWidget(right);
    outer->setStretchFactor(0, 0);
    outer->setStretchFactor(1, 1);
    right->setMinimumWidth(200);
    Panel_Data->setMinimumSize(100, 100);
    outer->setSizes({170, 852});
    left->setMinimumWidth(120);

    // The right part's context menu.
    for (QWidget* w : {Panel_Zagol, Panel_Data, bottom})
        w->setContextMenuPolicy(Qt::CustomContextMenu);
}

void TMainF::setErrorsPanelVisible(bool visible)
{
    Panel_Errors->setVisible(visible);
    Splitter17->setVisible(visible);
}

bool TMainF::errorsPanelVisible() const
{
    return !Panel_Errors->isHidden();
}
