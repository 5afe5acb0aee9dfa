#include "workspace/ErrorsPanel.h"

#include "control/ErrorsView.h"
#include "model/DataSet.h"
#include "workspace/DBGrid.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

ErrorsPanel::ErrorsPanel(DataSet& errors, QWidget* parent) : QWidget(parent), m_errors(errors)
{
    setObjectName(u"Panel_Errors"_s);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* head = new QHBoxLayout;
    m_caption = new QLabel(u"Ошибки и предупреждения"_s, this);
    m_caption->setObjectName(u"Lab_Err_Warn"_s);
    QFont bold = m_caption->font();
    bold.setBold(true);
    m_caption->setFont(bold);
    m_caption->setAlignment(Qt::AlignCenter);
    auto* close = new QPushButton(u"Закрыть"_s, this);
    close->setObjectName(u"Panel5"_s);
    close->setFlat(true);
    connect(close, &QPushButton::clicked, this, &ErrorsPanel::closeClicked);
    head->addWidget(m_caption, 1);
    head->addWidget(close);
    layout->addLayout(head);

    m_tabs = new QTabBar(this);
    m_tabs->setObjectName(u"PageControl1"_s);
    m_tabs->setShape(QTabBar::RoundedNorth);
    m_tabs->setExpanding(false);
    m_tabs->addTab(u"Ошибки"_s);
    m_tabs->addTab(u"Предупреждения"_s);
    m_tabs->setCurrentIndex(1);
    connect(m_tabs, &QTabBar::currentChanged, this, &ErrorsPanel::tabChanged);
    layout->addWidget(m_tabs);

    constexpr Qt::Alignment top = Qt::AlignLeft | Qt::AlignTop;
    m_grid = new DBGrid(u"DBGrid_Err"_s, this);
    m_grid->setDataSet(&m_errors);
    m_grid->setColumns({{u"RazdelKod"_s, 64, false, top, false},
                        {u"RazdelName"_s, 400, false, top, false},
                        {u"ErrorNum"_s, 64, false, Qt::AlignHCenter | Qt::AlignTop, false},
                        {u"ErrorKod"_s, 64, false, top, false},
                        {u"ErrorName"_s, 998, false, top, false}});
    m_grid->setReadOnly(true);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setColumnTitle(u"RazdelKod"_s, u"Код раздела"_s);
    m_grid->setColumnTitle(u"RazdelName"_s, u"Наменование раздела"_s);
    m_grid->setColumnTitle(u"ErrorNum"_s, u"Номер ошибки"_s);
    m_grid->setColumnTitle(u"ErrorKod"_s, u"Код ошибки"_s);
    m_grid->setColumnTitle(u"ErrorName"_s, u"Наименование ошибки"_s);
    for (const QString& hidden : {u"RazdelKod"_s, u"RazdelName"_s, u"ErrorKod"_s})
        m_grid->setColumnHidden(m_grid->columnOfField(hidden), true);
    m_grid->setShowIndicator(true);
    m_grid->setContextMenuPolicy(Qt::NoContextMenu);
    layout->addWidget(m_grid);
    connect(m_grid, &DBGrid::cellClicked, this, &ErrorsPanel::recordChosen);
    connect(m_grid, &QAbstractItemView::doubleClicked, this, &ErrorsPanel::recordChosen);
}

ErrorsPanel::~ErrorsPanel() = default;

int ErrorsPanel::currentTab() const
{
    return m_tabs->currentIndex();
}

void ErrorsPanel::setCurrentTabQuietly(int tab)
{
    if (m_tabs->currentIndex() == tab)
        return;
    const QSignalBlocker block(m_tabs);
    m_tabs->setCurrentIndex(tab);
}

void ErrorsPanel::apply(const ErrorsView& view)
{
    m_errors.setFilter(view.filter);
    m_errors.setFiltered(true);
    if (!view.texts)
        return;
    const int sectionName = m_grid->columnOfField(u"RazdelName"_s);
    if (view.sectionColumn) {
        for (const QString& f : {u"RazdelName"_s, u"ErrorNum"_s, u"ErrorName"_s})
            m_grid->setColumnHidden(m_grid->columnOfField(f), false);
    } else {
        m_grid->setColumnHidden(sectionName, true);
    }
    m_tabs->setTabText(0, view.errorsTab);
    m_tabs->setTabText(1, view.warningsTab);
    m_grid->setColumnTitle(u"ErrorNum"_s, view.numberTitle);
    m_grid->setColumnTitle(u"ErrorName"_s, view.nameTitle);
    m_caption->setText(view.caption);
}

void ErrorsPanel::detach()
{
    m_grid->setDataSet(nullptr);
}
