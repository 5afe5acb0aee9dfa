#pragma once

#include <QString>
#include <functional>
#include <utility>

class QDialog;
class QWidget;

// Shows a dialog modally with the given caption and without an icon of its own (the
// application's icon shows); true when it was closed with OK.
bool ShowDialog(QDialog& dialog, const QString& caption);

// Creates a dialog of the given kind, shows it as above and destroys it.
template <typename D, typename... Args>
bool ShowDialog(const QString& caption, QWidget* parent, Args&&... args)
{
    D dialog(std::forward<Args>(args)..., parent);
    return ShowDialog(dialog, caption);
}

// Replaces the modal loop (tests script dialogs without blocking). An empty runner
// restores QDialog::exec(). Answers the runner that was in place.
using DialogRunner = std::function<int(QDialog&)>;
DialogRunner setDialogRunner(DialogRunner runner);

// Runs the dialog through the current runner and answers its result code.
int runDialog(QDialog& dialog);

// Moves a top-level window to the middle of the screen it is on (or the primary one).
void centreOnScreen(QWidget& window);
