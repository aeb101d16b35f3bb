#include "data/measurement_store.h"
#include "files/data_file.h"

#include <QTest>

using namespace kelpra;

Q_DECLARE_METATYPE(kelpra::StationLines)

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

// Slot 1 of the sample set: the 31-byte header, then RSSI and the symbols (with a 0 and a
// lone 13 among them).
QByteArray sampleRecord1()
{
    return QByteArray("33 151206 2435 1 12577.0 kHZ   ")
         + bytes({128, 125, 125, 125, 125, 125, 125, 120, 120, 20, 13, 23, 54, 50, 100, 99, 99, 99,
                  99, 90, 100, 126, 90, 0, 6, 90, 0, 6, 117, 76, 127, 127, 0});
}

QByteArray filler(int n) { return QByteArray(n, '\0'); }

StationLines station(const char *prefix)
{
    StationLines s;
    for (int i = 0; i < 8; ++i)
        s[i] = QByteArray(prefix) + QByteArray::number(i + 1);
    return s;
}

QByteArray stationBytes(const StationLines &s)
{
    QByteArray out;
    for (const QByteArray &line : s)
        out += line + "\r\n";
    return out;
}

QByteArray record(char lead, int length)
{
    QByteArray r(length, 'x');
    r[0] = lead;
    return r;
}

} // namespace

class TestDataFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void singleRecordLayout();
    void fullSetLayout();
    void fullSetWritesOnlyHeldRecords();
    void loadedSlotSavesAsItsLine();

    void parse_data();
    void parse();
    void refusesNonNumericFirstLine_data();
    void refusesNonNumericFirstLine();

    void lineBufferHasNoLeftovers();
    void applySingleKeepsOtherSlots();
    void applyFullSetEmptiesUnsuppliedSlots();
};

void TestDataFile::singleRecordLayout()
{
    const StationLines s = station("S");
    const QByteArray expected = QByteArray("0\r\n") + sampleRecord1() + "\r\n"
        + "S1\r\nS2\r\nS3\r\nS4\r\nS5\r\nS6\r\nS7\r\nS8\r\n";
    QCOMPARE(buildSingleRecordFile(sampleRecord1(), s), expected);

    // Nothing held: an empty record line and the station lines, ten lines in all.
    const StationLines empty;
    QCOMPARE(buildSingleRecordFile(QByteArray(), empty),
             QByteArray("0\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n"));
}

void TestDataFile::fullSetLayout()
{
    MeasurementStore store;
    store.setSlot(0, "GMDSS TESTER S/N 001 rev 1.324");
    store.setSlot(1, sampleRecord1());
    store.setSlot(2, record('B', 64));
    StationLines s = station("T");
    s[0] = "Sailor RT4822";
    const QByteArray expected = QByteArray("1\r\n") + sampleRecord1() + "\r\n" + record('B', 64)
        + "\r\n" + "dataend\r\n" + "2\r\n" + "Sailor RT4822\r\nT2\r\nT3\r\nT4\r\nT5\r\nT6\r\nT7\r\nT8\r\n";
    QCOMPARE(buildFullSetFile(store, s), expected);
}

void TestDataFile::fullSetWritesOnlyHeldRecords()
{
    MeasurementStore store;
    QCOMPARE(recordsToSave(store), 0);
    for (int i = 1; i <= 3; ++i)
        store.setSlot(i, record(char('0' + i), 64));
    QCOMPARE(recordsToSave(store), 3);
    const QByteArray file = buildFullSetFile(store, StationLines());
    QCOMPARE(file.count("\r\n"), 1 + 3 + 2 + 8);
}

void TestDataFile::loadedSlotSavesAsItsLine()
{
    const QByteArray slot = sampleRecord1() + "\r\n" + filler(34);
    QCOMPARE(recordLineOf(slot), sampleRecord1());
    QCOMPARE(recordLineOf(sampleRecord1()), sampleRecord1());
    // A record ending in a lone CR keeps it: the line end is the later pair.
    QCOMPARE(recordLineOf(QByteArray("ab\r\r\n") + filler(95)), QByteArray("ab\r"));
}

void TestDataFile::parse_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("fullSet");
    QTest::addColumn<QList<QByteArray>>("records");
    QTest::addColumn<int>("counted");
    QTest::addColumn<StationLines>("stationLines");

    const QByteArray r1 = sampleRecord1();
    const StationLines s = station("S");
    const QByteArray sBytes = stationBytes(s);

    QTest::newRow("single record")
        << QByteArray("0\r\n") + r1 + "\r\n" + sBytes << false
        << QList<QByteArray>{r1 + "\r\n" + filler(34)} << 1 << s;
    QTest::newRow("single with nothing held")
        << QByteArray("0\r\n\r\n") + sBytes << false
        << QList<QByteArray>{QByteArray("\r\n") + filler(98)} << 1 << s;
    QTest::newRow("single ends after first line")
        << QByteArray("0\r\n") << false << QList<QByteArray>{} << 0 << StationLines();
    QTest::newRow("blanks around 0")
        << QByteArray(" 0 \r\n") + r1 + "\r\n" << false
        << QList<QByteArray>{r1 + "\r\n" + filler(34)} << 1 << StationLines();

    // Five measurements, then eleven 255-led records: all sixteen fill slots, five count.
    QByteArray full = "2\r\n";
    QList<QByteArray> fullSlots;
    for (int i = 1; i <= 16; ++i) {
        const QByteArray r = i <= 5 ? record(char('0' + i), 64) : record('\xff', 64);
        full += r + "\r\n";
        fullSlots << r + "\r\n" + filler(34);
    }
    QTest::newRow("2 is a full set, 255-led 6..16")
        << full + "dataend\r\n16\r\n" + sBytes << true << fullSlots << 5 << s;

    StationLines oldLayout;
    for (int i = 0; i < 7; ++i)
        oldLayout[i] = s[i + 1];
    QTest::newRow("old layout: count replaced RadioType")
        << full + "dataend\r\n16\r\nS2\r\nS3\r\nS4\r\nS5\r\nS6\r\nS7\r\nS8\r\n" << true << fullSlots << 5
        << oldLayout;

    const QByteArray b = record('B', 64), c = record('\xff', 70);
    QTest::newRow("interrupted set stops at dataend")
        << QByteArray("1\r\n") + r1 + "\r\n" + b + "\r\n" + c + "\r\ndataend\r\n3\r\n" + sBytes << true
        << QList<QByteArray>{r1 + "\r\n" + filler(34), b + "\r\n" + filler(34), c + "\r\n" + filler(28)}
        << 2 << s;

    const QByteArray odd = bytes({'X', 13, 'a', 10, 'b', 0, 13, 13}) + QByteArray(60, 'y');
    QTest::newRow("lone CR, lone LF and zero are record bytes")
        << QByteArray("-7\r\n") + odd + "\r\ndataend\r\n1\r\n" + sBytes << true
        << QList<QByteArray>{odd + "\r\n" + filler(30)} << 1 << s;

    const QByteArray longRecord = record('L', 130);
    QTest::newRow("line beyond 100 bytes kept whole, next line in place")
        << QByteArray("1\r\n") + longRecord + "\r\n" + b + "\r\ndataend\r\n2\r\n" + sBytes << true
        << QList<QByteArray>{longRecord + "\r\n", b + "\r\n" + filler(34)} << 2 << s;

    QTest::newRow("file ends inside a record")
        << QByteArray("1\r\n") + b + "\r\nshort" << true
        << QList<QByteArray>{b + "\r\n" + filler(34), QByteArray("short\r\n") + filler(93)} << 2
        << StationLines();

    StationLines partial;
    partial[0] = "Model";
    partial[1] = "SN";
    QTest::newRow("station lines cut short, LF-only line end")
        << QByteArray("0\r\n") + r1 + "\r\nModel\nSN" << false
        << QList<QByteArray>{r1 + "\r\n" + filler(34)} << 1 << partial;
}

void TestDataFile::parse()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, fullSet);
    QFETCH(QList<QByteArray>, records);
    QFETCH(int, counted);
    QFETCH(StationLines, stationLines);

    const DataFileParse parsed = parseDataFile(file);
    QVERIFY2(parsed.file.has_value(), qPrintable(parsed.error));
    QCOMPARE(parsed.file->kind == DataFileKind::FullSet, fullSet);
    QCOMPARE(parsed.file->records, records);
    if (fullSet)
        QCOMPARE(parsed.file->countedRecords(), counted);
    for (int i = 0; i < 8; ++i)
        QCOMPARE(parsed.file->station[i], stationLines[i]);
}

void TestDataFile::refusesNonNumericFirstLine_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("empty first line") << QByteArray("\r\n") + record('A', 64) + "\r\n";
    QTest::newRow("text") << QByteArray("data\r\n");
    QTest::newRow("digits then text") << QByteArray("1x\r\n");
    QTest::newRow("sign only") << QByteArray("-\r\n");
    QTest::newRow("beyond int") << QByteArray("99999999999\r\n");
    QTest::newRow("binary") << bytes({0xff, 0, 13, 10});
}

void TestDataFile::refusesNonNumericFirstLine()
{
    QFETCH(QByteArray, file);
    const DataFileParse parsed = parseDataFile(file);
    QVERIFY(!parsed.file.has_value());
    QCOMPARE(parsed.error, QStringLiteral("Invalid numeric input"));
}

void TestDataFile::lineBufferHasNoLeftovers()
{
    // A long line followed by a short one: the short one's slot is zero beyond its CR LF.
    const QByteArray file = QByteArray("1\r\n") + QByteArray(97, 'L') + "\r\nSS\r\n";
    const DataFileParse parsed = parseDataFile(file);
    QVERIFY(parsed.file);
    QCOMPARE(parsed.file->records.value(1), QByteArray("SS\r\n") + filler(96));
}

void TestDataFile::applySingleKeepsOtherSlots()
{
    MeasurementStore store;
    store.setSlot(0, "GMDSS TESTER S/N 001 rev 1.324");
    for (int i = 1; i <= 16; ++i)
        store.setSlot(i, record(char('a' + i), 64));
    store.set_record_count(16);
    store.set_display_index(7);

    const DataFileParse parsed = parseDataFile(QByteArray("0\r\n") + sampleRecord1() + "\r\n");
    QVERIFY(parsed.file);
    applyDataFile(*parsed.file, store);
    QCOMPARE(store.slot(0), QByteArray("GMDSS TESTER S/N (SAVED DATA) rev 2.5"));
    QCOMPARE(store.slot(1), sampleRecord1() + "\r\n" + filler(34));
    QCOMPARE(store.record_count(), 16);
    QCOMPARE(store.display_index(), 1);
    for (int i = 2; i <= 16; ++i)
        QCOMPARE(store.slot(i), record(char('a' + i), 64));
}

void TestDataFile::applyFullSetEmptiesUnsuppliedSlots()
{
    MeasurementStore store;
    for (int i = 1; i <= 16; ++i)
        store.setSlot(i, record('z', 64));
    store.set_record_count(16);
    const DataFileParse parsed =
        parseDataFile(QByteArray("1\r\n") + record('A', 64) + "\r\n" + record('B', 64) + "\r\ndataend\r\n2\r\n");
    QVERIFY(parsed.file);
    applyDataFile(*parsed.file, store);
    QCOMPARE(store.record_count(), 2);
    QCOMPARE(store.slot(2), record('B', 64) + "\r\n" + filler(34));
    for (int i = 3; i <= 16; ++i)
        QVERIFY2(store.slot(i).isEmpty(), qPrintable(QString::number(i)));
    QCOMPARE(recordsToSave(store), 2);
}

QTEST_GUILESS_MAIN(TestDataFile)
#include "test_data_file.moc"
