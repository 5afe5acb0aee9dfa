#pragma once

#include <QWidget>
#include <functional>

// The boundary between the caption column and the editor column: dragging it moves the
// boundary for every row at once.
class RekvizityColumnGrip final : public QWidget {
public:
    explicit RekvizityColumnGrip(QWidget* parent);

    std::function<int()> columnWidth;
    std::function<void(int)> setColumnWidth;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent*) override { m_dragging = false; }
    void paintEvent(QPaintEvent*) override;

private:
    qreal m_startX = 0;
    int m_startWidth = 0;
    bool m_dragging = false;
};
