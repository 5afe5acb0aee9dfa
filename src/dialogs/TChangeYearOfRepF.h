#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QSpinBox;

// The reporting-year dialog: a year field stepped only with its arrows, "Принять"
// (OK, default) and "Выход" (Cancel); the close box counts as Cancel.
class TChangeYearOfRepF : public QDialog {
    Q_OBJECT
public:
    explicit TChangeYearOfRepF(QWidget* parent = nullptr);

    QLabel* Label_Instruction = nullptr;
    QSpinBox* SpinEdit_Year = nullptr;
    QPushButton* Button_Accept = nullptr;
    QPushButton* Button_Exit = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool m_placed = false;
};
