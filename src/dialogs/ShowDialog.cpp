#include "dialogs/ShowDialog.h"

#include <QDialog>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>

namespace {
DialogRunner& currentRunner()
{
    static DialogRunner runner;
    return runner;
}
} // namespace

DialogRunner setDialogRunner(DialogRunner runner)
{
    return std::exchange(currentRunner(), std::move(runner));
}

int runDialog(QDialog& dialog)
{
    if (currentRunner())
        return currentRunner()(dialog);
    return dialog.exec();
}

bool ShowDialog(QDialog& dialog, const QString& caption)
{
    dialog.setWindowTitle(caption);
    // A null icon makes the window fall back to the application's icon.
    dialog.setWindowIcon(QIcon());
    return runDialog(dialog) == QDialog::Accepted;
}

void centreOnScreen(QWidget& window)
{
    QScreen* screen = window.screen();
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
}
