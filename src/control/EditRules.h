#pragma once

#include <QChar>
#include <QString>
#include <optional>

class DataSet;

// What a value cell of a section grid is, by section position, record number
// (1-based in sort order) and field.
enum class CellClass { Input, Total, Locked, FixedText };

CellClass cellClass(int position, int recNo, const QString& field);

// The verdict of a table's before-edit rule for the selected column.
enum class EditVerdict { Allow, RefuseSilently, RefuseTotal, RefuseFixedText };

EditVerdict beforeEditVerdict(int position, int recNo, const QString& selectedField);

inline const QString kMsgTotalCell = QStringLiteral("Расчётная ячейка. Только чтение");
inline const QString kMsgInputForbidden = QStringLiteral("Ввод запрещен");

// A cell editor's state as the key filters see it.
struct EditorState {
    QString text;
    int selectionStart = 0; // caret when nothing is selected
    int selectionLength = 0;
    int maxLength = 32767; // the filter may lower it

    // The text with the selection replaced by `key` (inserted at the caret).
    QString candidate(QChar key) const;
};

// Each filter answers the character to insert, or nothing to refuse the key (the caller
// beeps). Backspace and Enter are not passed to them.
std::optional<QChar> integerKeyFilter(QChar key, EditorState& editor);
// At most `intDigits` digits before the point and one after; ',', '/', 'б', 'ю' become '.'.
std::optional<QChar> decimalKeyFilter(QChar key, EditorState& editor, int intDigits);
// Digits whose prefix stays within the prefixes of the two limits.
std::optional<QChar> yearKeyFilter(QChar key, EditorState& editor, const QString& yearMin,
                                   const QString& yearMax);

// The text rounded half away from zero to `decimals` decimals, keeping the length
// taken from the input text.
QString RoundNumText(const QString& text, int decimals);

// Normalises the row being posted: zeros cleared, money rounded to one decimal, empty
// membership texts stored as null. Positions without a rule are left alone.
void normaliseRowBeforePost(int position, DataSet& table);
