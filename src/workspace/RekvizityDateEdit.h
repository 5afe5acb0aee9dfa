#pragma once

#include <QDate>
#include <QLineEdit>
#include <QWidget>
#include <functional>

class QToolButton;

// A date field: a line edit ("dd.MM.yyyy", empty for no date) with a button that drops
// down a calendar. An empty text is a real state, unlike QDateEdit, so a null date can
// be shown and entered.
class RekvizityDateEdit final : public QWidget {
public:
    explicit RekvizityDateEdit(QWidget* parent);

    QLineEdit* lineEdit() const { return m_edit; }
    QString text() const { return m_edit->text(); }
    void setText(const QString& text);

    bool dirty = false; // typed text not yet taken into the field
    std::function<void()> onEdited;
    std::function<void(QDate)> onPicked;
    std::function<void()> beep;

    void showCalendar();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* m_edit;
    QToolButton* m_button;
};
