#include "workspace/AfterFirstPaint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

AfterFirstPaint::AfterFirstPaint(QWidget* watched, std::function<void()> action)
    : QObject(watched), m_action(std::move(action))
{
    watched->installEventFilter(this);
}

bool AfterFirstPaint::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint && m_action) {
        watched->removeEventFilter(this);
        // After the paint has reached the screen, not inside it.
        QTimer::singleShot(0, this, [a = std::exchange(m_action, {})] { a(); });
    }
    return false;
}
