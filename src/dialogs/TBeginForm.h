#pragma once

#include <QDialog>
#include <QList>

class QLabel;
class QPushButton;

// What to know before filling in the report: six numbered notes and "Закрыть".
class TBeginForm : public QDialog {
    Q_OBJECT
public:
    explicit TBeginForm(QWidget* parent = nullptr);

    // The paragraph texts in order, and their number labels ("1." …).
    QList<QLabel*> Paragraphs;
    QList<QLabel*> Numbers;
    QPushButton* Button_Close = nullptr;
};
