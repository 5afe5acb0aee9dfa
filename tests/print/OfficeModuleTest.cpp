#include "print/OfficeModule.h"
#include "model/AppPaths.h"
#include "model/ReportTables.h"
#include "print/PrintReport.h"
#include "support/ScriptedMessages.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

struct NoPreview final : PrintPreview {
    int shown = 0;
    void show(const QString&, const QString&) override { ++shown; }
};

} // namespace

// The office module is loaded only at the first create(); without it the callers see the
// failed start they already report.
class OfficeModuleTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aMissingOrForeignModuleIsAFailedStart_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: no file at all
        QTest::addColumn<QString>("said");
        QTest::newRow("no module") << QByteArray() << u"Не найден модуль печати"_s;
        QTest::newRow("not a library") << QByteArray("junk") << u"LibreOffice не установлен"_s;
    }

    void aMissingOrForeignModuleIsAFailedStart()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, said);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString file = dir.filePath(u"form2audit_office.so"_s);
        if (!content.isEmpty()) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        qunsetenv("FORM2AUDIT_OFFICE_MODULE");
        OfficeModule module(file, OfficeConfig{{}, dir.path(), 1000});
        const auto app = module.newApp();
        // Nothing is loaded before create(); closing an app never created is harmless.
        closeQuietly(*app);
        try {
            app->create();
            QFAIL("create() did not fail");
        } catch (const SpreadsheetStartError& e) {
            QVERIFY2(e.message().contains(said), qPrintable(e.message()));
        }
        QVERIFY_THROWS_EXCEPTION(SpreadsheetError, app->openWorkbook(file));
        QVERIFY_THROWS_EXCEPTION(SpreadsheetStartError, module.office());
    }

    void theEnvironmentNamesAnotherModule()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString elsewhere = dir.filePath(u"elsewhere.so"_s);
        qputenv("FORM2AUDIT_OFFICE_MODULE", elsewhere.toUtf8());
        OfficeModule module(dir.filePath(u"form2audit_office.so"_s), OfficeConfig{});
        qunsetenv("FORM2AUDIT_OFFICE_MODULE");
        try {
            module.office();
            QFAIL("office() did not fail");
        } catch (const SpreadsheetStartError& e) {
            QVERIFY2(e.message().contains(QDir::toNativeSeparators(elsewhere)),
                     qPrintable(e.message()));
        }
    }

    void printingWithoutTheModuleShowsTheCreationFailure()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const AppPaths paths(dir.filePath(u"form2audit"_s));
        for (const QString& name : {paths.ShablonFileName(), paths.ShablonChernovikFileName()}) {
            QFile f(name);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("template");
        }
        qunsetenv("FORM2AUDIT_OFFICE_MODULE");
        OfficeModule module(paths.OfficeModuleFileName(), OfficeConfig{{}, paths.TempDir(), 1000});
        const auto app = module.newApp();
        ReportTables tables;
        ScriptedMessages messages;
        NoPreview preview;
        QVERIFY(
            !PrintRepExcel(tables, paths, u"2009"_s, PrintMode::Preview, *app, messages, preview));
        QCOMPARE(messages.infos.size(), 1);
        QVERIFY2(messages.infos.first().startsWith(u"Ошибка при создании объекта"_s),
                 qPrintable(messages.infos.first()));
        QCOMPARE(preview.shown, 0);
    }
};

QTEST_GUILESS_MAIN(OfficeModuleTest)
#include "OfficeModuleTest.moc"
