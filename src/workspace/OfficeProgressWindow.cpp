#include "workspace/OfficeProgressWindow.h"

#include "print/OfficeModule.h"

#include <QProgressDialog>

using namespace Qt::StringLiterals;

OfficeProgressWindow::OfficeProgressWindow(OfficeModule& office, QWidget* parent, QString text,
                                           int delayMs)
    : m_office(office), m_parent(parent), m_text(std::move(text)), m_delayMs(delayMs)
{
    m_office.setWaitObserver(this);
}

OfficeProgressWindow::~OfficeProgressWindow()
{
    m_office.setWaitObserver(nullptr);
}

bool OfficeProgressWindow::waitGoesOn(qint64 elapsedMs)
{
    if (!m_dialog && !m_done && elapsedMs >= m_delayMs) {
        m_dialog = std::make_unique<QProgressDialog>(m_text, u"Отмена"_s, 0, 0, m_parent);
        m_dialog->setObjectName(u"OfficeProgress"_s);
        m_dialog->setWindowTitle(u"Сообщение"_s);
        m_dialog->setWindowModality(Qt::ApplicationModal);
        m_dialog->setMinimumDuration(0);
        m_dialog->setAutoClose(false);
        m_dialog->setAutoReset(false);
        m_dialog->show();
    }
    return !(m_dialog && m_dialog->wasCanceled());
}

bool OfficeProgressWindow::takesInput() const
{
    return m_dialog && m_dialog->isVisible();
}

void OfficeProgressWindow::finish()
{
    m_done = true;
    m_dialog.reset();
}
