#pragma once

#include "model/MessageBoxes.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// Message boxes that write down what was shown and answer questions from a script. Every
// test folder uses this one; a test that drives other recorded steps too (the gates' host)
// writes them into `log`, so the transcript keeps the order of boxes and steps.
class ScriptedMessages : public MessageBoxes {
public:
    QStringList infos;            // InfoBox texts as passed (without the "!")
    QStringList infoCaptions;     // their captions
    QStringList questions;        // AskYesNo and AskPlain texts
    QStringList questionCaptions; // their captions
    QStringList errors;           // ErrorBox texts
    // Every box in order: "caption: text" for a message, "caption? text -> yes|no" for a
    // question, "error: text" for an error box.
    QStringList log;
    QList<bool> answers;    // taken in order
    bool unscripted = true; // the answer once the script has run out
    // Runs when a question is asked, before it is answered (the world may change while a
    // box is open).
    std::function<void(const QString& question)> onQuestion;

    void InfoBox(const QString& text, const QString& caption) override
    {
        infos << text;
        infoCaptions << caption;
        log << caption + QStringLiteral(": ") + text;
    }
    bool AskYesNo(const QString& text, const QString& caption) override
    {
        return answer(text, caption);
    }
    bool AskPlain(const QString& text, const QString& caption) override
    {
        return answer(text, caption);
    }
    void ErrorBox(const QString& text) override
    {
        errors << text;
        log << QStringLiteral("error: ") + text;
    }

private:
    bool answer(const QString& text, const QString& caption)
    {
        questions << text;
        questionCaptions << caption;
        if (onQuestion)
            onQuestion(text);
        const bool yes = answers.isEmpty() ? unscripted : answers.takeFirst();
        log << caption + QStringLiteral("? ") + text +
                   (yes ? QStringLiteral(" -> yes") : QStringLiteral(" -> no"));
        return yes;
    }
};
