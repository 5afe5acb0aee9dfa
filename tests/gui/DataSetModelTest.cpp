// The grid's model checked by Qt's own model tester while the table underneath changes
// in every way the program changes it: broken row or column signals show in views only
// as glitches, here they fail the test.

#include "workspace/DataSetModel.h"
#include "model/DataSet.h"
#include "model/FormTables.h"
#include "model/Razdels.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>

using namespace Qt::StringLiterals;

class DataSetModelTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void tableChangesKeepTheModelConsistent();
    void switchingAndDroppingTheTable();
};

namespace {

QList<GridColumnSpec> membershipColumns()
{
    return {{u"Num"_s, 24, true}, {u"NameRow"_s, 200}, {u"KodRow"_s, 42, true}, {u"Year"_s, 64}};
}

} // namespace

void DataSetModelTest::tableChangesKeepTheModelConsistent()
{
    auto table = createRazdelTable(PosMembership);
    DataSetModel model;
    model.setColumns(membershipColumns());
    model.setDataSet(table.get());
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const int rows = model.rowCount();
    QCOMPARE(rows, table->recordCount());
    QCOMPARE(model.columnCount(), 4);

    // an edit shows its pending value, then the posted one
    table->setRecNo(7);
    table->edit();
    table->fieldByName(u"NameRow"_s).setAsString(u"Союз аудиторов"_s);
    QCOMPARE(model.editText(6, 1), u"Союз аудиторов"_s);
    table->post();
    QCOMPARE(model.displayText(6, 1), u"Союз аудиторов"_s);

    // rows come and go
    table->append();
    table->fieldByName(u"NameRow"_s).setAsString(u"Новая"_s);
    table->post();
    QCOMPARE(model.rowCount(), rows + 1);
    table->last();
    table->deleteRecord();
    QCOMPARE(model.rowCount(), rows);

    // a filter and a new sort order reach the model through the grid, which refreshes it
    // when the table's cursor moves
    table->setFilter(u"Num > 10"_s);
    table->setFiltered(true);
    model.refresh();
    QCOMPARE(model.rowCount(), table->recordCount());
    QCOMPARE(model.displayText(0, 0), u"11"_s);
    table->setFiltered(false);
    model.refresh();
    QCOMPARE(model.rowCount(), rows);
    table->setIndexFieldNames(u"KodRow"_s);
    model.refresh();
    table->setIndexFieldNames(u"Num"_s);
    model.refresh();

    // the change log undone, and a whole new content loaded
    table->cancelUpdates();
    QCOMPARE(model.displayText(6, 1), QString());
    auto fresh = createRazdelTable(PosMembership);
    std::vector<RowValues> two{fresh->rows()[0].values, fresh->rows()[1].values};
    table->loadData(fresh->fieldDefs(), two);
    QCOMPARE(model.rowCount(), 2);
}

void DataSetModelTest::switchingAndDroppingTheTable()
{
    auto a = createRazdelTable(PosMembership);
    auto b = createRazdelTable(PosMembership);
    b->last();
    b->deleteRecord();
    DataSetModel model;
    model.setColumns(membershipColumns());
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(model.rowCount(), 0);
    model.setDataSet(a.get());
    QCOMPARE(model.rowCount(), a->recordCount());
    model.setDataSet(b.get());
    QCOMPARE(model.rowCount(), b->recordCount());
    model.setDataSet(nullptr);
    QCOMPARE(model.rowCount(), 0);
}

QTEST_MAIN(DataSetModelTest)
#include "DataSetModelTest.moc"
