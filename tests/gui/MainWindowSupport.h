#pragma once

#include "model/AppPaths.h"
#include "model/Clock.h"
#include "model/FixedClock.h"
#include "platform/KeyboardLayout.h"
#include "platform/Platform.h"
#include "support/RecordingUrls.h"
#include "support/ScriptedMessages.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStringList>
#include <QTabBar>
#include <QTemporaryDir>
#include <memory>

class DBGrid;
class DataSet;
class TMainF;
class MainWindowFixture;

class RecordingKeyboard final : public KeyboardLayout {
public:
    QStringList activated;
    void activate(const QString& id) override { activated << id; }
};

// Copies the section files of a control case of the test data into the data folder.
void copyCase(const MainWindowFixture& f, const QString& name);

// A main window on a temporary application folder with scripted outside world.
class MainWindowFixture {
public:
    explicit MainWindowFixture(const QDate& today = QDate(2010, 3, 15));
    ~MainWindowFixture();

    // Writes a settings value before the window is created.
    void setIni(const QString& section, const QString& key, const QString& value);
    TMainF& start();
    TMainF& window() { return *m_window; }
    void restart();

    QTemporaryDir dir;
    AppPaths paths;
    FixedClock clock;
    ScriptedMessages messages;
    RecordingKeyboard keyboard;
    RecordingUrls urls;
    Platform platform;

private:
    std::unique_ptr<TMainF> m_window;
};

// Driving the real window as a user does.
void clickSection(TMainF& w, int index);
void clickCell(DBGrid* grid, int row, const QString& field);
// Types any character into the focused widget (QTest::keyClicks types Latin-1 only).
void typeText(const QString& text);
void pressKey(Qt::Key key);

// A cell of a section file of 2009 on disk, by row code; "<no row>" when missing.
QString savedCell(const MainWindowFixture& f, int position, const QString& row,
                  const QString& field);
// The bytes of a section file of 2009 on disk (empty when there is none).
QByteArray savedFile(const MainWindowFixture& f, int position);
// A field of the first record of the requisites file of 2009 on disk.
QString savedRequisite(const MainWindowFixture& f, const QString& field);
// The window's parts as the user sees them, found by their names.
template <typename T> T* part(const QWidget& w, const char* name)
{
    T* found = w.findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no %s in the window", name);
    return found;
}
inline QAction* action(const QWidget& w, const char* name)
{
    return part<QAction>(w, name);
}
inline QWidget* errorsPanel(const QWidget& w)
{
    return part<QWidget>(w, "Panel_Errors");
}
inline QTabBar* errorTabs(const QWidget& w)
{
    return part<QTabBar>(w, "PageControl1");
}
inline QLabel* errorCaption(const QWidget& w)
{
    return part<QLabel>(w, "Lab_Err_Warn");
}

// A cell of a table by row code, read through a second cursor.
QString tableCell(DataSet* t, const QString& row, const QString& field);
