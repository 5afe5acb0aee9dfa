#include "workspace/TextEditorCommands.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

TextEditorCommands::TextEditorCommands(QWidget* widget)
    : m_line(qobject_cast<QLineEdit*>(widget)), m_plain(qobject_cast<QPlainTextEdit*>(widget)),
      m_rich(qobject_cast<QTextEdit*>(widget))
{
}

QWidget* TextEditorCommands::textEditor(QWidget* widget)
{
    return TextEditorCommands(widget).isEditor() ? widget : nullptr;
}

void TextEditorCommands::cut()
{
    if (m_line)
        m_line->cut();
    else if (m_plain)
        m_plain->cut();
    else if (m_rich)
        m_rich->cut();
}

void TextEditorCommands::copy()
{
    if (m_line)
        m_line->copy();
    else if (m_plain)
        m_plain->copy();
    else if (m_rich)
        m_rich->copy();
}

void TextEditorCommands::paste()
{
    if (m_line)
        m_line->paste();
    else if (m_plain)
        m_plain->paste();
    else if (m_rich)
        m_rich->paste();
}

void TextEditorCommands::selectAll()
{
    if (m_line)
        m_line->selectAll();
    else if (m_plain)
        m_plain->selectAll();
    else if (m_rich)
        m_rich->selectAll();
}

void TextEditorCommands::undo()
{
    if (m_line)
        m_line->undo();
    else if (m_plain)
        m_plain->undo();
    else if (m_rich)
        m_rich->undo();
}

void TextEditorCommands::deleteSelection()
{
    if (m_line) {
        if (m_line->hasSelectedText())
            m_line->del();
    } else if (m_plain) {
        m_plain->textCursor().removeSelectedText();
    } else if (m_rich) {
        m_rich->textCursor().removeSelectedText();
    }
}

bool TextEditorCommands::hasSelection() const
{
    if (m_line)
        return m_line->hasSelectedText();
    if (m_plain)
        return m_plain->textCursor().hasSelection();
    if (m_rich)
        return m_rich->textCursor().hasSelection();
    return false;
}

bool TextEditorCommands::isUndoAvailable() const
{
    if (m_line)
        return m_line->isUndoAvailable();
    if (m_plain)
        return m_plain->document()->isUndoAvailable();
    if (m_rich)
        return m_rich->document()->isUndoAvailable();
    return false;
}

bool TextEditorCommands::isReadOnly() const
{
    if (m_line)
        return m_line->isReadOnly();
    if (m_plain)
        return m_plain->isReadOnly();
    if (m_rich)
        return m_rich->isReadOnly();
    return true;
}

QList<QMetaObject::Connection> TextEditorCommands::watch(QObject* context,
                                                         const std::function<void()>& changed) const
{
    QList<QMetaObject::Connection> out;
    if (m_line) {
        out << QObject::connect(m_line, &QLineEdit::selectionChanged, context, changed);
        out << QObject::connect(m_line, &QLineEdit::textChanged, context, changed);
    } else if (m_plain) {
        out << QObject::connect(m_plain, &QPlainTextEdit::selectionChanged, context, changed);
        out << QObject::connect(m_plain, &QPlainTextEdit::undoAvailable, context, changed);
    } else if (m_rich) {
        out << QObject::connect(m_rich, &QTextEdit::selectionChanged, context, changed);
        out << QObject::connect(m_rich, &QTextEdit::undoAvailable, context, changed);
    }
    return out;
}
