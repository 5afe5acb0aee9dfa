#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// The program's texts break lines with "\n\r"; a box shows each pair as one line break.
QString messageBoxText(const QString& text);
// A modal box with an OK button, the text shown as above.
void showMessageBox(QMessageBox::Icon icon, const QString& caption, const QString& text,
                    QWidget* parent);

// The two message boxes of the program, behind an interface so tests can answer them.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // The text with "!" appended, an exclamation icon and OK.
    virtual void InfoBox(const QString& text, const QString& caption) = 0;
    // The text with "?" appended, a question icon, Yes and No; true on Yes.
    virtual bool AskYesNo(const QString& text, const QString& caption) = 0;
    // A failure no handler caught: its text in an error box.
    virtual void ErrorBox(const QString& text) { InfoBox(text, QString()); }
    // The text unchanged, a question icon, Yes and No; true on Yes.
    virtual bool AskPlain(const QString& text, const QString& caption)
    {
        return AskYesNo(text, caption);
    }
    // The application's title, the caption of error boxes.
    virtual void setApplicationTitle(const QString&) {}
};

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
