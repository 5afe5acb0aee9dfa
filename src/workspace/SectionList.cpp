#include "SectionList.h"

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
    if (event->button() == Qt::LeftButton && !itemAt(event->position().toPoint())) {
        clearSelection();
        event->accept();
        return;
    }
    QListWidget::mousePressEvent(event);
}

void SectionList::mouseReleaseEvent(QMouseEvent* event)
{
    QListWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        Q_EMIT listClicked();
}
