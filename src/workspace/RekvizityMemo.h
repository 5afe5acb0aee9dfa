#pragma once

#include <QPlainTextEdit>
#include <functional>

// A text editor bound to one field: the field's valid characters, the Windows-1251
// code page and a maximum length (line breaks count two characters, as they are
// stored) are enforced for typing and for pasting alike.
class RekvizityMemo final : public QPlainTextEdit {
public:
    RekvizityMemo(int lines, bool lineBreaks, QWidget* parent);

    int maxLength() const { return m_maxLength; }
    void setMaxLength(int length) { m_maxLength = length; }

    // Text as stored: line breaks as CR LF.
    QString storedText() const;
    void showStoredText(const QString& text);

    std::function<bool(QChar&)> keyFilter; // false: refused (the filter has beeped)
    std::function<bool(QChar)> accepts;    // the field's valid characters
    std::function<void()> beep;
    std::function<void(const QString&)> pasteRefused;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    void changeEvent(QEvent* event) override;

private:
    bool acceptable(const QString& text) const;
    int room() const;
    void refuse();
    void updateHeight();

    int m_lines;
    bool m_lineBreaks;
    int m_maxLength = 0;
};
