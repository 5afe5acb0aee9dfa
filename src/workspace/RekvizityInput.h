#pragma once

#include <QDate>
#include <QString>
#include <optional>

class QKeyEvent;

// Text a key puts into an editor; shortcuts (Ctrl+V …) are not typing. Ctrl+Alt is
// AltGr on Windows and does type.
bool isTypedKey(const QKeyEvent* event);

// A date as typed into a requisites date field: "dd.MM.yyyy" or eight digits.
std::optional<QDate> parseTypedDate(const QString& text);
