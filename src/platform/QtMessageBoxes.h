#pragma once

#include "model/MessageBoxes.h"

#include <QMessageBox>

class QWidget;

// A modal box with an OK button, the text shown with one line break per "\n\r".
void showMessageBox(QMessageBox::Icon icon, const QString& caption, const QString& text,
                    QWidget* parent);

// Real modal boxes over the given parent.
class QtMessageBoxes final : public MessageBoxes {
public:
    explicit QtMessageBoxes(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }
    void InfoBox(const QString& text, const QString& caption) override;
    bool AskYesNo(const QString& text, const QString& caption) override;
    void ErrorBox(const QString& text) override;
    bool AskPlain(const QString& text, const QString& caption) override;
    void setApplicationTitle(const QString& title) override { m_title = title; }

private:
    QWidget* m_parent;
    QString m_title;
};
