#include "workspace/RekvizityColumnGrip.h"

#include <QMouseEvent>
#include <QPainter>

using namespace Qt::StringLiterals;

RekvizityColumnGrip::RekvizityColumnGrip(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"Splitter_Rekvizity"_s);
    setCursor(Qt::SplitHCursor);
    setFocusPolicy(Qt::NoFocus);
}

void RekvizityColumnGrip::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_startX = event->globalPosition().x();
    m_startWidth = columnWidth ? columnWidth() : 0;
    m_dragging = true;
}

void RekvizityColumnGrip::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging && setColumnWidth)
        setColumnWidth(m_startWidth + int(event->globalPosition().x() - m_startX));
}

void RekvizityColumnGrip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Mid));
    const int x = width() / 2;
    painter.drawLine(x, 0, x, height());
}
