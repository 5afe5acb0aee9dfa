#pragma once

#include <QObject>
#include <functional>

class QWidget;

// Runs an action once, right after the first paint of the watched widget, so that what it
// starts never delays the window's first appearance.
class AfterFirstPaint : public QObject {
public:
    AfterFirstPaint(QWidget* watched, std::function<void()> action);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> m_action;
};
