#include "workspace/SectionList.h"

#include <QGuiApplication>
#include <QMouseEvent>

SectionList::SectionList(QWidget* parent) : QListWidget(parent)
{
    setObjectName(QStringLiteral("LVRazdel"));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
}

void SectionList::mousePressEvent(QMouseEvent* event)
{
    m_clickPending = event->button() == Qt::LeftButton;
    if (event->button() == Qt::LeftButton && !itemAt(event->position().toPoint())) {
        clearSelection();
        event->accept();
    } else {
        QListWidget::mousePressEvent(event);
    }
    // A message box opened by the selection change took the release: the click ends here.
    if (m_clickPending && !(QGuiApplication::mouseButtons() & Qt::LeftButton)) {
        m_clickPending = false;
        Q_EMIT listClicked();
    }
}

void SectionList::mouseReleaseEvent(QMouseEvent* event)
{
    QListWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && m_clickPending) {
        m_clickPending = false;
        Q_EMIT listClicked();
    }
}
