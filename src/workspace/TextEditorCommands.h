#pragma once

#include <QList>
#include <QMetaObject>
#include <functional>

class QLineEdit;
class QObject;
class QPlainTextEdit;
class QTextEdit;
class QWidget;

// The edit commands (cut, copy, paste, select all, undo, delete) on whichever kind of text
// editor it is given: the window's menus serve line, plain-text and rich-text editors alike.
// A widget of another kind makes an object that does nothing and answers false.
class TextEditorCommands {
public:
    explicit TextEditorCommands(QWidget* widget);

    // `widget` when it is a text editor, else nullptr.
    static QWidget* textEditor(QWidget* widget);
    bool isEditor() const { return m_line || m_plain || m_rich; }

    void cut();
    void copy();
    void paste();
    void selectAll();
    void undo();
    // Deletes the selection only: never the character after the cursor.
    void deleteSelection();

    bool hasSelection() const;
    bool isUndoAvailable() const;
    bool isReadOnly() const;

    // Calls `changed` whenever the editor's selection, text or undo state changes.
    QList<QMetaObject::Connection> watch(QObject* context,
                                         const std::function<void()>& changed) const;

private:
    QLineEdit* m_line = nullptr;
    QPlainTextEdit* m_plain = nullptr;
    QTextEdit* m_rich = nullptr;
};
