#include "MainWindowSupport.h"

#include "Settings.h"
#include "ShowDialog.h"
#include "TMainF.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QtTest>

using namespace Qt::StringLiterals;

MainWindowFixture::MainWindowFixture(const QDate& today)
    : paths(dir.path() + u"/form2audit"_s),
      clock(today), platform{&clock, &messages, &keyboard, &urls}
{
    // Modal dialogs close at once instead of blocking the test.
    setDialogRunner([](QDialog&) { return int(QDialog::Rejected); });
}

MainWindowFixture::~MainWindowFixture()
{
    m_window.reset();
    setDialogRunner({});
}

void MainWindowFixture::setIni(const QString& section, const QString& key, const QString& value)
{
    IniWrite(paths.IniFileName(), section, key, value);
}

TMainF& MainWindowFixture::start()
{
    m_window = std::make_unique<TMainF>(paths, platform);
    m_window->resize(1022, 766);
    m_window->show();
    return *m_window;
}

void MainWindowFixture::restart()
{
    m_window.reset();
    start();
}

void copyCase(const MainWindowFixture& f, const QString& name)
{
    const QString from = QStringLiteral(F2A_TEST_DATA "/control/") + name;
    for (const QString& file : QDir(from).entryList({u"*.XML"_s}, QDir::Files))
        QVERIFY(QFile::copy(from + u'/' + file, f.paths.DataDir() + file));
}
