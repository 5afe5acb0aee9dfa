#include "workspace/GridFindDialog.h"

#include "workspace/DBGrid.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

GridFindDialog::GridFindDialog(DBGrid* grid) : QDialog(grid), m_grid(grid)
{
    setObjectName(grid->objectName() + u"_Find"_s);
    setWindowTitle(u"Найти"_s);
    m_text = new QLineEdit(this);
    m_text->setObjectName(u"findText"_s);
    auto* next = new QPushButton(u"Найти далее"_s, this);
    next->setObjectName(u"findNext"_s);
    next->setDefault(true);
    auto* close = new QPushButton(u"Закрыть"_s, this);
    close->setObjectName(u"findClose"_s);
    m_status = new QLabel(this);
    m_status->setObjectName(u"findStatus"_s);
    auto* label = new QLabel(u"Найти:"_s, this);
    label->setBuddy(m_text);
    auto* layout = new QGridLayout(this);
    layout->addWidget(label, 0, 0);
    layout->addWidget(m_text, 0, 1);
    layout->addWidget(next, 0, 2);
    layout->addWidget(m_status, 1, 0, 1, 2);
    layout->addWidget(close, 1, 2);
    m_text->setMinimumWidth(200);
    connect(next, &QPushButton::clicked, this, [this] { findNext(); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    connect(m_text, &QLineEdit::textEdited, m_status, &QLabel::clear);
}

void GridFindDialog::start()
{
    m_status->clear();
    show();
    raise();
    activateWindow();
    m_text->setFocus();
    m_text->selectAll();
}

void GridFindDialog::findNext()
{
    m_status->clear();
    if (m_text->text().isEmpty())
        return;
    if (!m_grid->findNext(m_text->text())) {
        m_grid->refuseKey();
        m_status->setText(u"Текст не найден"_s);
    }
}
