#include "workspace/RekvizityMemo.h"

#include "model/Windows1251.h"
#include "workspace/RekvizityInput.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

QString firstUnfit(const QString& text)
{
    const qsizetype i = firstUnfitWindows1251(text);
    return i < 0 ? QString() : characterAt(text, i);
}

QString normalisedBreaks(QString text)
{
    text.replace(u"\r\n"_s, u"\n"_s);
    text.replace(u'\r', u'\n');
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}

} // namespace

RekvizityMemo::RekvizityMemo(int lines, bool lineBreaks, QWidget* parent)
    : QPlainTextEdit(parent), m_lines(lines), m_lineBreaks(lineBreaks)
{
    setTabChangesFocus(true);
    document()->setDocumentMargin(2);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    if (lines > 1) {
        setLineWrapMode(QPlainTextEdit::WidgetWidth);
        setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    } else {
        setLineWrapMode(QPlainTextEdit::NoWrap);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    updateHeight();
}

QString RekvizityMemo::storedText() const
{
    QString text = toPlainText();
    text.replace(u'\n', u"\r\n"_s);
    return text;
}

void RekvizityMemo::showStoredText(const QString& text)
{
    const QString shown = normalisedBreaks(text);
    if (shown != toPlainText())
        setPlainText(shown);
}

void RekvizityMemo::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        event->accept();
        QChar c(u'\r');
        if (keyFilter && !keyFilter(c))
            return;
        if (!m_lineBreaks || isReadOnly())
            return;
        if (room() < 2) {
            refuse();
            return;
        }
        textCursor().insertText(u"\n"_s);
        ensureCursorVisible();
        return;
    }
    if (key == Qt::Key_Backspace && keyFilter) {
        QChar c(u'\b');
        if (!keyFilter(c)) {
            event->accept();
            return;
        }
    }
    const QString text = event->text();
    if (isTypedKey(event) && !isReadOnly()) {
        for (QChar c : text) {
            QChar k = c;
            if (keyFilter && !keyFilter(k)) {
                event->accept();
                return;
            }
        }
        if (!acceptable(text) || room() < text.size()) {
            event->accept();
            refuse();
            return;
        }
    }
    QPlainTextEdit::keyPressEvent(event);
}

void RekvizityMemo::inputMethodEvent(QInputMethodEvent* event)
{
    const QString commit = event->commitString();
    if (!commit.isEmpty() && (!acceptable(commit) || room() < commit.size())) {
        refuse();
        QInputMethodEvent stripped(event->preeditString(), event->attributes());
        QPlainTextEdit::inputMethodEvent(&stripped);
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
}

void RekvizityMemo::insertFromMimeData(const QMimeData* source)
{
    if (!source || !source->hasText() || isReadOnly())
        return;
    QString text = normalisedBreaks(source->text());
    if (!m_lineBreaks)
        text.replace(u'\n', u' ');
    for (QChar c : text) {
        if (c != u'\n' && accepts && !accepts(c)) {
            refuse();
            return;
        }
    }
    if (const QString bad = firstUnfit(text); !bad.isEmpty()) {
        if (pasteRefused)
            pasteRefused(bad);
        return;
    }
    int left = room();
    qsizetype take = 0;
    for (; take < text.size(); ++take) {
        left -= text[take] == u'\n' ? 2 : 1;
        if (left < 0)
            break;
    }
    if (take == 0 && !text.isEmpty()) {
        refuse();
        return;
    }
    textCursor().insertText(text.left(take));
    ensureCursorVisible();
}

void RekvizityMemo::changeEvent(QEvent* event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        updateHeight();
}

bool RekvizityMemo::acceptable(const QString& text) const
{
    for (QChar c : text)
        if (accepts && !accepts(c))
            return false;
    return fitsWindows1251(text);
}

int RekvizityMemo::room() const
{
    if (m_maxLength <= 0)
        return std::numeric_limits<int>::max();
    const QString selected = normalisedBreaks(textCursor().selectedText());
    const auto stored = [](const QString& t) { return int(t.size() + t.count(u'\n')); };
    return m_maxLength - (stored(toPlainText()) - stored(selected));
}

void RekvizityMemo::refuse()
{
    if (beep)
        beep();
}

void RekvizityMemo::updateHeight()
{
    const QFontMetrics fm(font());
    const int margin = int(2 * document()->documentMargin()) + 2 * frameWidth();
    setFixedHeight(fm.lineSpacing() * m_lines + margin + 2);
}
