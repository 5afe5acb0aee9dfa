#pragma once

#include <QString>
#include <functional>

class Clock;
class MessageBoxes;
class QWidget;
class TChangeYearOfRepF;

struct ChangeYearResult {
    bool accepted = false;
    QString year; // the new year as four-digit text when accepted
};

// Lets the user pick a reporting year between 2007 and the current calendar year.
// Leaving with a changed year but without accepting it asks first; declining shows the
// dialog again. `exec` replaces the modal loop (tests); by default the dialog's exec().
ChangeYearResult ChangeYearDialog(const QString& caption, const QString& currentYear,
                                  const Clock& clock, MessageBoxes& boxes,
                                  QWidget* parent = nullptr,
                                  std::function<int(TChangeYearOfRepF&)> exec = {});
