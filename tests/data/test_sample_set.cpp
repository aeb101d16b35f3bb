// The built-in sample data set, compared byte for byte with a copy typed out by hand.
#include "data/measurement_store.h"
#include "data/sample_set.h"

#include <QtTest>

using namespace kelpra;

namespace {

// Positions 32 to 64 of the seven runs, typed out by hand.
const char *runText(char run)
{
    switch (run) {
    case 'A': return "128, 125, 125, 125, 125, 125, 125, 120, 120, 20, 13, 23, 54, 50, 100, 99, 99, 99, 99, 90, 100, 126, 90, 0, 6, 90, 0, 6, 117, 76, 127, 127, 0";
    case 'B': return "128, 125, 125, 125, 125, 125, 125, 120, 120, 21, 95, 57, 62, 40, 108, 99, 99, 99, 99, 90, 118, 126, 126, 126, 126, 126, 126, 126, 117, 86, 127, 127, 0";
    case 'C': return "128, 125, 125, 125, 125, 125, 125, 112, 112, 99, 99, 99, 99, 90, 107, 1, 42, 20, 15, 33, 88, 88, 100, 127, 57, 127, 127, 126, 117, 86, 127, 127, 0";
    case 'D': return "128, 125, 125, 125, 125, 125, 125, 112, 112, 99, 99, 99, 99, 90, 107, 99, 99, 99, 99, 99, 88, 88, 109, 127, 48, 127, 127, 126, 117, 86, 127, 127, 0";
    case 'E': return "128, 125, 125, 125, 125, 125, 125, 120, 120, 21, 95, 57, 62, 40, 100, 99, 99, 99, 99, 90, 109, 126, 126, 126, 126, 126, 126, 126, 127, 79, 127, 127, 0";
    case 'F': return "128, 125, 125, 125, 125, 125, 125, 120, 120, 21, 95, 57, 62, 40, 100, 99, 99, 99, 99, 90, 100, 126, 90, 0, 6, 90, 0, 6, 117, 76, 127, 127, 0";
    case 'G': return "128, 125, 125, 125, 125, 125, 125, 112, 112, 99, 99, 99, 99, 90, 107, 99, 99, 99, 99, 99, 88, 88, 100, 127, 57, 127, 127, 126, 117, 86, 127, 127, 0";
    }
    return "";
}

QByteArray runBytes(char run)
{
    QByteArray bytes;
    for (const QByteArray &value : QByteArray(runText(run)).split(','))
        bytes.append(static_cast<char>(value.trimmed().toInt()));
    return bytes;
}

} // namespace

class TestSampleSet : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void identificationLine()
    {
        QCOMPARE(sampleIdentificationLine(), QByteArray("GMDSS TESTER S/N 001 rev 1.324"));
        QCOMPARE(sampleIdentificationLine().size(), 30);
    }

    void records_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<char>("run");
        QTest::newRow("1") << 1 << QByteArray("33 151206 2435 1 12577.0 kHZ   ") << 'A';
        QTest::newRow("2") << 2 << QByteArray("01 151206 2435 0 12577.0 kHZ   ") << 'B';
        QTest::newRow("3") << 3 << QByteArray("01 151206 2435 1 156.525 MHZ   ") << 'C';
        QTest::newRow("4") << 4 << QByteArray("01 151206 2435 0 12577.0 kHZ   ") << 'D';
        QTest::newRow("5") << 5 << QByteArray("01 151206 2435 0 12577.0 kHZ   ") << 'E';
        QTest::newRow("6") << 6 << QByteArray("01 151206 2435 1 12577.0 kHZ   ") << 'F';
        QTest::newRow("7") << 7 << QByteArray("01 151206 2435 0 12577.0 kHZ   ") << 'B';
        QTest::newRow("8") << 8 << QByteArray("01 151206 2435 1 156.525 MHZ   ") << 'G';
        QTest::newRow("9") << 9 << QByteArray("01 151206 2435 0 12577.0 kHZ   ") << 'D';
        QTest::newRow("10") << 10 << QByteArray("01 151206 2435 1 12577.0 kHZ   ") << 'E';
        QTest::newRow("11") << 11 << QByteArray("01 151206 2435 0 12577.0 kHZ   ") << 'F';
        QTest::newRow("12") << 12 << QByteArray("01 151206 2435 1 12577.0 kHZ   ") << 'B';
        QTest::newRow("13") << 13 << QByteArray("01 151206 2435 0 156.525 MHZ   ") << 'G';
        QTest::newRow("14") << 14 << QByteArray("01 151206 2435 1 12577.0 kHZ   ") << 'D';
        QTest::newRow("15") << 15 << QByteArray("01 151206 2435 0 12577.0 kHZ   ") << 'E';
        QTest::newRow("16") << 16 << QByteArray("01 151206 2435 1 12577.0 kHZ   ") << 'F';
    }

    void records()
    {
        QFETCH(int, slot);
        QFETCH(QByteArray, header);
        QFETCH(char, run);
        QCOMPARE(header.size(), 31);
        const QByteArray run33 = runBytes(run);
        QCOMPARE(run33.size(), 33);
        const QByteArray record = sampleRecord(slot);
        QCOMPARE(record.size(), 64);
        QCOMPARE(record, header + run33);
        QCOMPARE(record.at(63), '\0'); // every record ends in the byte 0
        // Runs C, D and G are distress alerts, the others calls.
        const bool distress = run == 'C' || run == 'D' || run == 'G';
        QCOMPARE(static_cast<unsigned char>(record.at(38)), distress ? 112 : 120);
    }

    void outsideTheSetIsEmpty()
    {
        QVERIFY(sampleRecord(0).isEmpty());
        QVERIFY(sampleRecord(17).isEmpty());
        QVERIFY(sampleRecord(-1).isEmpty());
    }

    void pairsAreByteIdentical_data()
    {
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::newRow("2 and 7") << 2 << 7;
        QTest::newRow("4 and 9") << 4 << 9;
        QTest::newRow("5 and 15") << 5 << 15;
        QTest::newRow("6 and 16") << 6 << 16;
    }

    void pairsAreByteIdentical()
    {
        QFETCH(int, a);
        QFETCH(int, b);
        QCOMPARE(sampleRecord(a), sampleRecord(b));
    }

    void otherRecordsDiffer()
    {
        // Only the four pairs above are byte-identical.
        const QList<QPair<int, int>> pairs = {{2, 7}, {4, 9}, {5, 15}, {6, 16}};
        for (int a = 1; a <= 16; ++a) {
            for (int b = a + 1; b <= 16; ++b) {
                if (pairs.contains({a, b}))
                    continue;
                QVERIFY2(sampleRecord(a) != sampleRecord(b), qPrintable(QStringLiteral("%1 %2").arg(a).arg(b)));
            }
        }
    }

    void sampleMarkEndsWithTheNextFill_data()
    {
        QTest::addColumn<int>("slot");
        QTest::newRow("identification line") << 0;
        QTest::newRow("a record") << 7;
        QTest::newRow("an emptied slot") << 16;
    }
    void sampleMarkEndsWithTheNextFill()
    {
        QFETCH(int, slot);
        MeasurementStore store;
        QVERIFY(!store.fromSampleSet());
        store.setSlot(0, sampleIdentificationLine());
        store.setFromSampleSet(true);
        // Counters and the record on display do not change where the data came from.
        store.setDisplayIndex(3);
        store.setRecordCount(16);
        QVERIFY(store.fromSampleSet());
        store.setSlot(slot, slot == 16 ? QByteArray() : QByteArray("real"));
        QVERIFY(!store.fromSampleSet());
        // A slot number outside the store writes nothing and changes nothing.
        store.setFromSampleSet(true);
        store.setSlot(17, QByteArray("x"));
        QVERIFY(store.fromSampleSet());
    }

    void zeroBytesSurviveTheStore()
    {
        MeasurementStore store;
        store.setSlot(0, sampleIdentificationLine());
        for (int slot = 1; slot <= 16; ++slot)
            store.setSlot(slot, sampleRecord(slot));
        for (int slot = 1; slot <= 16; ++slot) {
            const QByteArray held = store.slot(slot);
            QCOMPARE(held.size(), 64);
            QCOMPARE(held, sampleRecord(slot));
        }
        // Run A holds FS1 = 90 0 6: the zero at position 55 is kept, and so is what follows it.
        const QByteArray first = store.slot(1);
        QCOMPARE(static_cast<unsigned char>(first.at(54)), 0);
        QCOMPARE(static_cast<unsigned char>(first.at(55)), 6);
        QCOMPARE(static_cast<unsigned char>(first.at(62)), 127);
        QVERIFY(store.holdsData());
    }
};

QTEST_GUILESS_MAIN(TestSampleSet)
#include "test_sample_set.moc"
