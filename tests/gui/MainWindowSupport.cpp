#include "MainWindowSupport.h"

#include "dialogs/ShowDialog.h"
#include "model/DataSet.h"
#include "model/Datapacket.h"
#include "model/RazdelFiles.h"
#include "model/Razdels.h"
#include "model/Settings.h"
#include "workspace/DBGrid.h"
#include "workspace/TMainF.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QListWidget>
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

void clickSection(TMainF& w, int index)
{
    QListWidget* list = part<QListWidget>(w, "LVRazdel");
    const QRect r = list->visualItemRect(list->item(index));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
}

void clickCell(DBGrid* grid, int row, const QString& field)
{
    const QModelIndex idx = grid->model()->index(row, grid->columnOfField(field));
    grid->scrollTo(idx);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(idx).center());
}

void typeText(const QString& text)
{
    for (QChar c : text) {
        QWidget* target = QApplication::focusWidget();
        QVERIFY(target);
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &release);
    }
}

void pressKey(Qt::Key key)
{
    QWidget* target = QApplication::focusWidget();
    QVERIFY(target);
    QTest::keyClick(target, key);
}

QString savedCell(const MainWindowFixture& f, int position, const QString& row,
                  const QString& field)
{
    DataSet t(u"saved"_s);
    loadTableFromFile(t, RazdelFileName(f.paths, Razdels()[position].Kod, u"2009"_s));
    if (!t.locate(u"KodRow"_s, {row}))
        return u"<no row>"_s;
    return t.fieldByName(field).asString();
}

QByteArray savedFile(const MainWindowFixture& f, int position)
{
    QFile file(RazdelFileName(f.paths, Razdels()[position].Kod, u"2009"_s));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString savedRequisite(const MainWindowFixture& f, const QString& field)
{
    const QString path = RazdelFileName(f.paths, Razdels()[PosRekvizity].Kod, u"2009"_s);
    if (!QFile::exists(path))
        return u"<no file>"_s;
    DataSet t(u"saved"_s);
    loadTableFromFile(t, path);
    t.first();
    return t.fieldByName(field).asString();
}

QString tableCell(DataSet* t, const QString& row, const QString& field)
{
    auto k = t->clone();
    if (!k->locate(u"KodRow"_s, {row}))
        return u"<no row>"_s;
    return k->fieldByName(field).asString();
}

void copyCase(const MainWindowFixture& f, const QString& name)
{
    const QString from = QStringLiteral(F2A_TEST_DATA "/control/") + name;
    for (const QString& file : QDir(from).entryList({u"*.XML"_s}, QDir::Files))
        QVERIFY(QFile::copy(from + u'/' + file, f.paths.DataDir() + file));
}
