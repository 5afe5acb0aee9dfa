#include "workspace/StartupGuard.h"
#include "MainWindowSupport.h"
#include "model/DataDirLock.h"
#include "workspace/AfterFirstPaint.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

class StartupGuardTest : public QObject {
    Q_OBJECT

private:
    static void touch(const QString& path)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("x");
    }

private Q_SLOTS:
    void aSecondWindowIsToldAndTouchesNothing()
    {
        QTemporaryDir data;
        QVERIFY(data.isValid());
        DataDirLock first(data.path());
        ScriptedMessages firstMessages;
        QVERIFY(ClaimDataFolder(first, data.path(), firstMessages));
        QVERIFY(firstMessages.errors.isEmpty());

        // Written by the first window's save in progress: the second window must not
        // take it for a leftover.
        touch(data.filePath(u"2009_02.XML.xUXsKC"_s));
        DataDirLock second(data.path());
        ScriptedMessages secondMessages;
        QVERIFY(!ClaimDataFolder(second, data.path(), secondMessages));
        QCOMPARE(secondMessages.errors, QStringList{DataFolderBusyText(data.path())});
        QVERIFY(secondMessages.errors.first().contains(u"уже запущена"_s));
        QVERIFY(QFile::exists(data.filePath(u"2009_02.XML.xUXsKC"_s)));
    }

    void aFolderThatTakesNoFilesIsSaidSo()
    {
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        // A file where the folder should be: no lock file can be written in it.
        const QString notADir = tmp.filePath(u"Data"_s);
        touch(notADir);
        DataDirLock lock(notADir);
        ScriptedMessages messages;
        QVERIFY(!ClaimDataFolder(lock, notADir, messages));
        QCOMPARE(messages.errors, QStringList{DataFolderUnwritableText(notADir)});
    }

    void theFirstWindowRemovesWhatAnInterruptedSaveLeft()
    {
        QTemporaryDir data;
        QVERIFY(data.isValid());
        touch(data.filePath(u"2009_02.XML.xUXsKC"_s));
        touch(data.filePath(u"2009_02.XML"_s));
        DataDirLock lock(data.path());
        ScriptedMessages messages;
        QVERIFY(ClaimDataFolder(lock, data.path(), messages));
        QVERIFY(!QFile::exists(data.filePath(u"2009_02.XML.xUXsKC"_s)));
        QVERIFY(QFile::exists(data.filePath(u"2009_02.XML"_s)));
        QVERIFY(messages.errors.isEmpty());
    }

    // What starts after the first paint (the office) never runs before the window is on
    // screen, and runs once.
    void theEarlyStartWaitsForTheFirstPaintAndRunsOnce()
    {
        QLabel window(u"Отчёт"_s);
        int runs = 0;
        new AfterFirstPaint(&window, [&runs] { ++runs; });
        QCoreApplication::processEvents();
        QCOMPARE(runs, 0);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_COMPARE(runs, 1);
        window.repaint();
        window.hide();
        window.show();
        QTest::qWait(50);
        QCOMPARE(runs, 1);
    }
};

QTEST_MAIN(StartupGuardTest)
#include "StartupGuardTest.moc"
