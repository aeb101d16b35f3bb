// The navigation rule and the fills: which record is on display, which of Prev and Next
// show and what the counters read, for every record count.
#include "data/measurement_store.h"
#include "data/navigation.h"
#include "data/sample_set.h"

#include <QtTest>

using namespace kelpra;

namespace {

// A store holding data with the given record count, record `index` on display.
MeasurementStore storeWith(int recordCount, int index)
{
    MeasurementStore store;
    store.setSlot(0, "TESTER");
    for (int slot = 1; slot <= 16; ++slot)
        store.setSlot(slot, sampleRecord(slot));
    store.setRecordCount(recordCount);
    store.setDisplayIndex(index);
    return store;
}

} // namespace

class TestNavigation : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Next and Prev from a given record with a given count: where they land and which
    // buttons then show.
    void step_data()
    {
        QTest::addColumn<bool>("forward");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<bool>("prev");
        QTest::addColumn<bool>("next");
        QTest::newRow("next 16: 1 to 2") << true << 16 << 1 << 2 << true << true;
        QTest::newRow("next 16: 15 to 16") << true << 16 << 15 << 16 << true << false;
        QTest::newRow("next 16: stays at 16") << true << 16 << 16 << 16 << true << false;
        QTest::newRow("next 5: 4 to 5") << true << 5 << 4 << 5 << true << false;
        QTest::newRow("next 5: 3 to 4") << true << 5 << 3 << 4 << true << true;
        QTest::newRow("next 2: 1 to 2") << true << 2 << 1 << 2 << true << false;
        QTest::newRow("next 1: stays at 1") << true << 1 << 1 << 1 << false << false;
        QTest::newRow("next 0: stays at 1") << true << 0 << 1 << 1 << false << false;
        QTest::newRow("prev 16: 2 to 1") << false << 16 << 2 << 1 << false << true;
        QTest::newRow("prev 16: 16 to 15") << false << 16 << 16 << 15 << true << true;
        QTest::newRow("prev 16: stays at 1") << false << 16 << 1 << 1 << false << true;
        QTest::newRow("prev 5: 5 to 4") << false << 5 << 5 << 4 << true << true;
        QTest::newRow("prev 1: stays at 1") << false << 1 << 1 << 1 << false << false;
    }
    void step()
    {
        QFETCH(bool, forward);
        QFETCH(int, count);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(bool, prev);
        QFETCH(bool, next);
        MeasurementStore store = storeWith(count, from);
        const std::optional<NavigationView> view = forward ? stepNext(store) : stepPrevious(store);
        QVERIFY(view);
        QCOMPARE(store.displayIndex(), to);
        QCOMPARE(view->displayIndex, to);
        QCOMPARE(view->prevVisible, prev);
        QCOMPARE(view->nextVisible, next);
        QCOMPARE(view->current, QString::number(to));
        // A step leaves the figures of the fills alone.
        QVERIFY(!view->received && !view->total);
    }

    // Without data nothing moves.
    void noData()
    {
        MeasurementStore store;
        store.setRecordCount(16);
        store.setDisplayIndex(3);
        QVERIFY(!stepNext(store));
        QVERIFY(!stepPrevious(store));
        QCOMPARE(store.displayIndex(), 3);
    }

    void recordsReplaced_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("held");
        QTest::addColumn<bool>("next");
        QTest::newRow("download of 16") << 16 << 16 << true;
        QTest::newRow("full set of 2") << 2 << 2 << true;
        QTest::newRow("full set of 1") << 1 << 1 << false;
        QTest::newRow("full set of 0") << 0 << 0 << false;
        QTest::newRow("single record over 16 held") << 16 << 1 << false;
    }
    void recordsReplaced()
    {
        QFETCH(int, count);
        QFETCH(int, held);
        QFETCH(bool, next);
        MeasurementStore store = storeWith(count, 7);
        const NavigationView view = kelpra::recordsReplaced(store, held);
        QCOMPARE(store.displayIndex(), 1);
        QCOMPARE(store.recordCount(), count);
        QCOMPARE(view.displayIndex, 1);
        QVERIFY(!view.prevVisible);
        QCOMPARE(view.nextVisible, next);
        QCOMPARE(view.current, QStringLiteral("1"));
        QCOMPARE(view.received, std::optional<QString>(QString::number(held)));
        QCOMPARE(view.total, std::optional<QString>(QString::number(held)));
    }

    void sampleSet()
    {
        MeasurementStore store = storeWith(3, 9);
        store.setSlot(5, "other");
        const NavigationView view = loadSampleSet(store);
        QCOMPARE(store.slot(0), QByteArray("GMDSS TESTER S/N 001 rev 1.324"));
        for (int slot = 1; slot <= 16; ++slot)
            QCOMPARE(store.slot(slot), sampleRecord(slot));
        QCOMPARE(store.recordCount(), 16);
        QCOMPARE(store.displayIndex(), 1);
        QVERIFY(!view.prevVisible);
        QVERIFY(view.nextVisible);
        QCOMPARE(view.received, std::optional<QString>(QStringLiteral("16")));
        QCOMPARE(view.total, std::optional<QString>(QStringLiteral("16")));
    }

    void identificationText_data()
    {
        QTest::addColumn<QByteArray>("slot");
        QTest::addColumn<QByteArray>("shown");
        QTest::newRow("as sent") << QByteArray("GMDSS TESTER S/N 001 rev 1.324")
                                 << QByteArray("GMDSS TESTER S/N 001 rev 1.324");
        QTest::newRow("zero bytes behind") << QByteArray("TESTER 7\0\0\0\0", 12) << QByteArray("TESTER 7");
        QTest::newRow("blanks and zeros mixed") << QByteArray("TESTER 7 \0 \0\r\n", 14) << QByteArray("TESTER 7");
        QTest::newRow("zero inside kept") << QByteArray("TES\0TER\0", 8) << QByteArray("TES\0TER", 7);
        QTest::newRow("leading blanks kept") << QByteArray("  TESTER") << QByteArray("  TESTER");
        QTest::newRow("only padding") << QByteArray("\0\0  ", 4) << QByteArray();
    }
    void identificationText()
    {
        QFETCH(QByteArray, slot);
        QFETCH(QByteArray, shown);
        QCOMPARE(kelpra::identificationText(slot), shown);
    }
};

QTEST_GUILESS_MAIN(TestNavigation)
#include "test_navigation.moc"
