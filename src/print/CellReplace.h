#pragma once

#include <QList>
#include <QPair>
#include <QString>

// A cell's text after an ordered list of replacements, as a spreadsheet gives it when
// each replacement runs over the whole sheet in turn: any letter case, also inside the
// text. A replacement whose value starts with "'" leaves the text as text, without a
// leading apostrophe; other results are read by the spreadsheet like typed input.
struct ReplacedCell {
    QString text;
    bool changed = false;
    bool verbatim = false; // the last change came with an apostrophe: stored as text
};

ReplacedCell ReplaceInCellText(const QString& cell,
                               const QList<QPair<QString, QString>>& replacements);

// The typed-input reading of a replaced text that the batch writer reproduces: digits
// alone become a number.
bool ReadsAsNumber(const QString& text);
