#pragma once

#include <QString>

// The program's texts break lines with "\n\r"; a box shows each pair as one line break.
QString messageBoxText(const QString& text);

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
