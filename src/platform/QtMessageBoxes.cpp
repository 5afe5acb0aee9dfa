#include "platform/QtMessageBoxes.h"

#include <QApplication>
#include <QPushButton>

using namespace Qt::StringLiterals;

void showMessageBox(QMessageBox::Icon icon, const QString& caption, const QString& text,
                    QWidget* parent)
{
    QMessageBox box(icon, caption, messageBoxText(text), QMessageBox::Ok, parent);
    box.exec();
}

void QtMessageBoxes::InfoBox(const QString& text, const QString& caption)
{
    showMessageBox(QMessageBox::Warning, caption, text + u"!"_s, m_parent);
}

bool QtMessageBoxes::AskYesNo(const QString& text, const QString& caption)
{
    return AskPlain(text + u"?"_s, caption);
}

bool QtMessageBoxes::AskPlain(const QString& text, const QString& caption)
{
    QMessageBox box(QMessageBox::Question, caption, messageBoxText(text), QMessageBox::NoButton,
                    m_parent);
    QPushButton* yes = box.addButton(u"Да"_s, QMessageBox::YesRole);
    box.addButton(u"Нет"_s, QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.exec();
    return box.clickedButton() == yes;
}

void QtMessageBoxes::ErrorBox(const QString& text)
{
    showMessageBox(QMessageBox::Critical,
                   m_title.isEmpty() ? QApplication::applicationName() : m_title, text, m_parent);
}
