#include "MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

using namespace Qt::StringLiterals;

void QtMessageBoxes::InfoBox(const QString& text, const QString& caption)
{
    QMessageBox box(QMessageBox::Warning, caption, text + u"!"_s, QMessageBox::Ok, m_parent);
    box.exec();
}

bool QtMessageBoxes::AskYesNo(const QString& text, const QString& caption)
{
    return AskPlain(text + u"?"_s, caption);
}

bool QtMessageBoxes::AskPlain(const QString& text, const QString& caption)
{
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::NoButton, m_parent);
    QPushButton* yes = box.addButton(u"Да"_s, QMessageBox::YesRole);
    box.addButton(u"Нет"_s, QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.exec();
    return box.clickedButton() == yes;
}

void QtMessageBoxes::ErrorBox(const QString& text)
{
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, m_parent);
    box.exec();
}
