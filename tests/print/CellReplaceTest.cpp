#include "print/CellReplace.h"

#include <QtTest>

using namespace Qt::StringLiterals;

using Replacements = QList<QPair<QString, QString>>;

class CellReplaceTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void replacesAsWholeSheetPassesWould_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<Replacements>("replacements");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<bool>("verbatim");
        QTest::newRow("untouched")
            << u"Итого"_s << Replacements{{u"#A#"_s, u"'1"_s}} << u"Итого"_s << false << false;
        QTest::newRow("apostrophe dropped")
            << u"#A#"_s << Replacements{{u"#A#"_s, u"'0001"_s}} << u"0001"_s << true << true;
        QTest::newRow("apostrophe inside stays")
            << u"КС: #A#"_s << Replacements{{u"#A#"_s, u"'x"_s}} << u"КС: 'x"_s << true << true;
        QTest::newRow("any letter case, every occurrence")
            << u"#a# и #A#"_s << Replacements{{u"#A#"_s, u"1"_s}} << u"1 и 1"_s << true << false;
        QTest::newRow("a later marker in an earlier value")
            << u"#A#"_s << Replacements{{u"#A#"_s, u"'до #B#"_s}, {u"#B#"_s, u"2009"_s}}
            << u"до 2009"_s << true << false;
        QTest::newRow("an earlier marker in a later value stays")
            << u"#B#"_s << Replacements{{u"#A#"_s, u"x"_s}, {u"#B#"_s, u"'#A#"_s}} << u"#A#"_s
            << true << true;
        QTest::newRow("emptied") << u"#A#"_s << Replacements{{u"#A#"_s, QString()}} << QString()
                                 << true << false;
        QTest::newRow("empty marker ignored")
            << u"abc"_s << Replacements{{QString(), u"x"_s}} << u"abc"_s << false << false;
    }
    void replacesAsWholeSheetPassesWould()
    {
        QFETCH(QString, cell);
        QFETCH(Replacements, replacements);
        QFETCH(QString, text);
        QFETCH(bool, changed);
        QFETCH(bool, verbatim);
        const ReplacedCell r = ReplaceInCellText(cell, replacements);
        QCOMPARE(r.text, text);
        QCOMPARE(r.changed, changed);
        QCOMPARE(r.verbatim, verbatim);
    }

    void digitsAloneReadAsANumber()
    {
        QVERIFY(ReadsAsNumber(u"2009"_s));
        QVERIFY(!ReadsAsNumber(QString()));
        QVERIFY(!ReadsAsNumber(u"00A1B2C3"_s));
        QVERIFY(!ReadsAsNumber(u"-1"_s));
        QVERIFY(!ReadsAsNumber(u"1234567890123456"_s)); // beyond a double's exact digits
    }
};

QTEST_MAIN(CellReplaceTest)
#include "CellReplaceTest.moc"
