#pragma once

#include <QListWidget>

// The section list: one wide column of items, whole-row selection, read-only. A click
// on the empty area below the items removes the selection; every click is reported
// after the selection change it caused.
class SectionList : public QListWidget {
    Q_OBJECT
public:
    explicit SectionList(QWidget* parent = nullptr);

Q_SIGNALS:
    void listClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_clickPending = false; // a left press whose click is not reported yet
};
