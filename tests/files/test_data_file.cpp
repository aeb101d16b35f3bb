#include "data/measurement_store.h"
#include "data/sample_set.h"
#include "data/text8.h"
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

// Where a downloaded record may hold the byte pair 13, 10 (positions counted from 1).
enum class PairAt { MeasurementNumber, Address, DistressTime, LastTwo };

// Sample record `k` with 13, 10 at the given place: the measurement number 3338, an MMSI
// with the digits 13 10, a distress time of 13:10, or positions 63-64.
QByteArray withPair(int k, PairAt at)
{
    QByteArray r = sampleRecord(k);
    const int position = at == PairAt::MeasurementNumber ? 1
                       : at == PairAt::Address           ? 42
                       : at == PairAt::DistressTime      ? 52
                                                         : 63;
    if (at == PairAt::DistressTime)
        r[38] = r[39] = char(112);
    r[position - 1] = '\r';
    r[position] = '\n';
    return r;
}

MeasurementStore storeOf(const QList<QByteArray> &records)
{
    MeasurementStore store;
    store.setSlot(0, sampleIdentificationLine());
    for (int i = 0; i < records.size(); ++i)
        store.setSlot(i + 1, records[i]);
    store.set_record_count(int(records.size()));
    return store;
}

} // namespace

class TestDataFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void singleRecordLayout();
    void fullSetLayout();
    void fullSetWritesUpToTheLastHeldSlot();

    void recordsHoldingCrLfRoundTrip_data();
    void recordsHoldingCrLfRoundTrip();
    void singleRecordHoldingCrLfRoundTrips_data();
    void singleRecordHoldingCrLfRoundTrips();
    void longRecordWithCrLfAfterByte64Warns();

    void parse_data();
    void parse();
    void refusesNonNumericFirstLine_data();
    void refusesNonNumericFirstLine();
    void refusesIncompleteFile_data();
    void refusesIncompleteFile();

    void applySingleEmptiesOtherSlots();
    void applyFullSetEmptiesUnsuppliedSlots();
    void typedLatinTextSavesReadable();
};

void TestDataFile::singleRecordLayout()
{
    const StationLines s = station("S");
    const QByteArray expected = QByteArray("0\r\n") + sampleRecord1() + "\r\n"
        + "S1\r\nS2\r\nS3\r\nS4\r\nS5\r\nS6\r\nS7\r\nS8\r\n";
    const BuiltDataFile built = buildSingleRecordFile(sampleRecord1(), s);
    QCOMPARE(built.bytes, expected);
    QVERIFY(built.warnings.isEmpty());

    // Nothing held: an empty record line and the station lines, ten lines in all.
    QCOMPARE(buildSingleRecordFile(QByteArray(), StationLines()).bytes,
             QByteArray("0\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n"));
}

void TestDataFile::fullSetLayout()
{
    MeasurementStore store = storeOf({sampleRecord1(), record('B', 64)});
    StationLines s = station("T");
    s[0] = "Sailor RT4822";
    const QByteArray expected = QByteArray("1\r\n") + sampleRecord1() + "\r\n" + record('B', 64)
        + "\r\n" + "dataend\r\n" + "2\r\n" + "Sailor RT4822\r\nT2\r\nT3\r\nT4\r\nT5\r\nT6\r\nT7\r\nT8\r\n";
    const BuiltDataFile built = buildFullSetFile(store, s);
    QCOMPARE(built.bytes, expected);
    QVERIFY(built.warnings.isEmpty());
}

void TestDataFile::fullSetWritesUpToTheLastHeldSlot()
{
    MeasurementStore store;
    QCOMPARE(recordsToSave(store), 0);
    store.setSlot(1, record('1', 64));
    store.setSlot(3, record('3', 64));
    QCOMPARE(recordsToSave(store), 3);
    // The empty slot 2 is an empty line, so slot 3 is not lost behind the gap.
    const BuiltDataFile built = buildFullSetFile(store, StationLines());
    QCOMPARE(built.bytes, QByteArray("1\r\n") + record('1', 64) + "\r\n\r\n" + record('3', 64)
                              + "\r\ndataend\r\n3\r\n" + stationBytes(StationLines()));
    const DataFileParse parsed = parseDataFile(built.bytes);
    QVERIFY2(parsed.file, qPrintable(parsed.error));
    QCOMPARE(parsed.file->records, (QList<QByteArray>{record('1', 64), QByteArray(), record('3', 64)}));
}

void TestDataFile::recordsHoldingCrLfRoundTrip_data()
{
    QTest::addColumn<QList<QByteArray>>("records");
    const struct {
        PairAt at;
        const char *name;
    } places[] = {{PairAt::MeasurementNumber, "bytes 1-2"},
                  {PairAt::Address, "in the address"},
                  {PairAt::DistressTime, "distress time 13:10"},
                  {PairAt::LastTwo, "positions 63-64"}};
    for (const auto &place : places) {
        for (int n = 1; n <= 16; ++n) {
            // All records with the pair, and a mix with plain records in between.
            QList<QByteArray> all, mixed;
            for (int k = 1; k <= n; ++k) {
                all << withPair(k, place.at);
                mixed << (k % 3 == 1 ? sampleRecord(k) : withPair(k, place.at));
            }
            QTest::addRow("%s, %d records", place.name, n) << all;
            if (n > 1)
                QTest::addRow("%s, %d records, mixed", place.name, n) << mixed;
        }
    }
    // Several places in one record, pairs back to back, and a record that is all line ends.
    QByteArray many = withPair(5, PairAt::MeasurementNumber);
    many[41] = '\r';
    many[42] = '\n';
    many[62] = '\r';
    many[63] = '\n';
    QByteArray pairs;
    while (pairs.size() < 64)
        pairs += "\r\n";
    QTest::newRow("three pairs in one record") << QList<QByteArray>{sampleRecord(1), many, sampleRecord(3)};
    QTest::newRow("a record of 32 pairs") << QList<QByteArray>{pairs, sampleRecord(2), pairs, pairs};
    QTest::newRow("pair after an empty slot")
        << QList<QByteArray>{sampleRecord(1), QByteArray(), withPair(3, PairAt::LastTwo)};
    QTest::newRow("pair leads after an empty slot")
        << QList<QByteArray>{sampleRecord(1), QByteArray(), withPair(3, PairAt::MeasurementNumber)};
}

void TestDataFile::recordsHoldingCrLfRoundTrip()
{
    QFETCH(QList<QByteArray>, records);
    const MeasurementStore store = storeOf(records);
    const StationLines s = station("V");
    const BuiltDataFile built = buildFullSetFile(store, s);
    QVERIFY2(built.warnings.isEmpty(), qPrintable(built.warnings.join('\n')));
    QCOMPARE(built.bytes.left(3 + records[0].size() + 2), QByteArray("1\r\n") + records[0] + "\r\n");

    const DataFileParse parsed = parseDataFile(built.bytes);
    QVERIFY2(parsed.file, qPrintable(parsed.error));
    QCOMPARE(parsed.file->records, records);
    QCOMPARE(parsed.file->station, s);
    MeasurementStore loaded;
    applyDataFile(*parsed.file, loaded);
    for (int k = 1; k <= 16; ++k)
        QCOMPARE(loaded.slot(k), records.value(k - 1));
    // Saved again, the same bytes.
    QCOMPARE(buildFullSetFile(loaded, parsed.file->station).bytes, built.bytes);
}

void TestDataFile::singleRecordHoldingCrLfRoundTrips_data()
{
    QTest::addColumn<QByteArray>("rec");
    QTest::newRow("bytes 1-2") << withPair(1, PairAt::MeasurementNumber);
    QTest::newRow("in the address") << withPair(2, PairAt::Address);
    QTest::newRow("distress time 13:10") << withPair(3, PairAt::DistressTime);
    QTest::newRow("positions 63-64") << withPair(4, PairAt::LastTwo);
    QTest::newRow("only a pair") << QByteArray("\r\n");
    QTest::newRow("pair after byte 64") << sampleRecord(5) + "ab\r\ncd";
}

void TestDataFile::singleRecordHoldingCrLfRoundTrips()
{
    QFETCH(QByteArray, rec);
    const StationLines s = station("W");
    const BuiltDataFile built = buildSingleRecordFile(rec, s);
    QVERIFY2(built.warnings.isEmpty(), qPrintable(built.warnings.join('\n')));
    QCOMPARE(built.bytes, QByteArray("0\r\n") + rec + "\r\n" + stationBytes(s));
    const DataFileParse parsed = parseDataFile(built.bytes);
    QVERIFY2(parsed.file, qPrintable(parsed.error));
    QCOMPARE(parsed.file->kind, DataFileKind::SingleRecord);
    QCOMPARE(parsed.file->records, QList<QByteArray>{rec});
    QCOMPARE(parsed.file->station, s);
}

void TestDataFile::longRecordWithCrLfAfterByte64Warns()
{
    // 70 bytes, the pair at positions 66-67: followed by another record, the file cannot
    // tell where the first one ends.
    const QByteArray long70 = sampleRecord(1) + "x\r\nyyy";
    const BuiltDataFile built = buildFullSetFile(storeOf({long70, sampleRecord(2)}), StationLines());
    QCOMPARE(built.warnings.size(), 1);
    QVERIFY2(built.warnings[0].startsWith(QLatin1String("Record 1 ")), qPrintable(built.warnings[0]));
    QVERIFY(built.warnings[0].contains(QLatin1String("after its 64th byte")));
    // The file is still written as it stands.
    QVERIFY(built.bytes.startsWith(QByteArray("1\r\n") + long70 + "\r\n" + sampleRecord(2) + "\r\n"));

    // Alone in a set, or in a single-record file, it comes back whole: no warning.
    const BuiltDataFile alone = buildFullSetFile(storeOf({long70}), StationLines());
    QVERIFY(alone.warnings.isEmpty());
    QCOMPARE(parseDataFile(alone.bytes).file->records, QList<QByteArray>{long70});
    QVERIFY(buildSingleRecordFile(long70, StationLines()).warnings.isEmpty());

    // A line end in a station field would move the station lines.
    StationLines broken;
    broken[3] = "two\r\nlines";
    QCOMPARE(buildFullSetFile(storeOf({sampleRecord(1)}), broken).warnings.size(), 1);
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

    QTest::newRow("single record") << QByteArray("0\r\n") + r1 + "\r\n" + sBytes << false << QList<QByteArray>{r1}
                                   << 1 << s;
    QTest::newRow("single with nothing held")
        << QByteArray("0\r\n\r\n") + sBytes << false << QList<QByteArray>{QByteArray()} << 1 << s;
    QTest::newRow("blanks around 0")
        << QByteArray(" 0 \r\n") + r1 + "\r\n" + sBytes << false << QList<QByteArray>{r1} << 1 << s;
    StationLines noTel = s;
    noTel[7] = "S8";
    QTest::newRow("last line end missing")
        << QByteArray("0\r\n") + r1 + "\r\n" + sBytes.chopped(2) << false << QList<QByteArray>{r1} << 1 << noTel;
    // The first program wrote such a record as two lines; the station block is still the
    // last eight lines, so the record comes back whole.
    const QByteArray split = withPair(2, PairAt::Address);
    QTest::newRow("single record split by its own pair")
        << QByteArray("0\r\n") + split + "\r\n" + sBytes << false << QList<QByteArray>{split} << 1 << s;

    // Five measurements, then eleven 255-led records: all sixteen fill slots, five count.
    QByteArray full = "2\r\n";
    QList<QByteArray> fullRecords;
    for (int i = 1; i <= 16; ++i) {
        const QByteArray r = i <= 5 ? record(char('0' + i), 64) : record('\xff', 64);
        full += r + "\r\n";
        fullRecords << r;
    }
    QTest::newRow("2 is a full set, 255-led 6..16")
        << full + "dataend\r\n16\r\n" + sBytes << true << fullRecords << 5 << s;

    // The old layout: the count stood in RadioType's place, RadioType was never written.
    StationLines oldLayout = s;
    oldLayout[0] = QByteArray();
    QTest::newRow("old layout")
        << full + "dataend\r\n16\r\nS2\r\nS3\r\nS4\r\nS5\r\nS6\r\nS7\r\nS8\r\n" << true << fullRecords << 5
        << oldLayout;
    StationLines oldEmpty;
    QTest::newRow("old layout, empty fields")
        << QByteArray("1\r\n") + r1 + "\r\ndataend\r\n1\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n" << true
        << QList<QByteArray>{r1} << 1 << oldEmpty;
    const QList<QByteArray> oldSplit{sampleRecord(1), withPair(2, PairAt::Address), sampleRecord(3)};
    QTest::newRow("old layout, a record split by its pair")
        << QByteArray("1\r\n") + oldSplit[0] + "\r\n" + oldSplit[1] + "\r\n" + oldSplit[2]
               + "\r\ndataend\r\n3\r\nS2\r\nS3\r\nS4\r\nS5\r\nS6\r\nS7\r\nS8\r\n"
        << true << oldSplit << 3 << oldLayout;

    const QByteArray b = record('B', 64), c = record('\xff', 70);
    QTest::newRow("interrupted set")
        << QByteArray("1\r\n") + r1 + "\r\n" + b + "\r\n" + c + "\r\ndataend\r\n3\r\n" + sBytes << true
        << QList<QByteArray>{r1, b, c} << 2 << s;

    const QByteArray odd = bytes({'X', 13, 'a', 10, 'b', 0, 13, 13}) + QByteArray(60, 'y');
    QTest::newRow("lone CR, lone LF and zero are record bytes")
        << QByteArray("-7\r\n") + odd + "\r\ndataend\r\n1\r\n" + sBytes << true << QList<QByteArray>{odd} << 1 << s;

    const QByteArray longRecord = record('L', 130);
    QTest::newRow("record beyond 100 bytes")
        << QByteArray("1\r\n") + longRecord + "\r\n" + b + "\r\ndataend\r\n2\r\n" + sBytes << true
        << QList<QByteArray>{longRecord, b} << 2 << s;

    // Records the first version cut at their first CR LF: one short line each.
    QTest::newRow("records cut by an earlier version")
        << QByteArray("1\r\n") + r1.left(20) + "\r\n" + b + "\r\n\r\ndataend\r\n3\r\n" + sBytes << true
        << QList<QByteArray>{r1.left(20), b, QByteArray()} << 3 << s;

    QTest::newRow("no records") << QByteArray("1\r\ndataend\r\n0\r\n") + sBytes << true << QList<QByteArray>{} << 0
                                << s;
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

void TestDataFile::refusesIncompleteFile_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("reason");

    const QByteArray r = sampleRecord(1);
    const QByteArray sBytes = stationBytes(station("S"));
    QByteArray lfOnly = sBytes;
    lfOnly.replace("\r\n", "\n");
    QByteArray forty = "1\r\n";
    for (int i = 0; i < 40; ++i)
        forty += sampleRecord(1 + i % 16) + "\r\n";

    QTest::newRow("no line end") << QByteArray("0") << "ends after its first line";
    QTest::newRow("only the first line") << QByteArray("0\r\n") << "holds 0 lines";
    QTest::newRow("single without station lines") << QByteArray("0\r\n") + r + "\r\n" << "holds 1 lines";
    QTest::newRow("single, LF line ends") << QByteArray("0\n") + r + "\n" + lfOnly << "LF alone";
    QTest::newRow("full set, LF line ends")
        << QByteArray("1\n") + r + "\ndataend\n1\n" + lfOnly << "LF alone";
    QTest::newRow("40 record lines and no dataend") << forty + sBytes << "no \"dataend\"";
    QTest::newRow("file ends inside a record") << QByteArray("1\r\n") + r + "\r\nshort" << "no \"dataend\"";
    QTest::newRow("station block cut short")
        << QByteArray("1\r\n") + r + "\r\ndataend\r\n1\r\nS1\r\nS2\r\n" << "not followed by";
    QTest::newRow("count not a number") << QByteArray("1\r\n") + r + "\r\ndataend\r\nmany\r\n" + sBytes
                                        << "not a record count";
    QTest::newRow("count beyond 16") << QByteArray("1\r\n") + r + "\r\ndataend\r\n17\r\n" + sBytes
                                     << "not a record count";
    QTest::newRow("fewer lines than records")
        << QByteArray("1\r\n") + r + "\r\n" + r + "\r\ndataend\r\n5\r\n" + sBytes << "announces 5 records, but only 2";
    QTest::newRow("lines that form no records")
        << QByteArray("1\r\n") + r + "\r\nab\r\ncd\r\ndataend\r\n2\r\n" + sBytes << "cannot be read as the 2 records";
}

void TestDataFile::refusesIncompleteFile()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, reason);
    const DataFileParse parsed = parseDataFile(file);
    QVERIFY(!parsed.file.has_value());
    QVERIFY2(parsed.error.startsWith(QLatin1String("Not a complete data file: ")), qPrintable(parsed.error));
    QVERIFY2(parsed.error.contains(reason), qPrintable(parsed.error));
}

void TestDataFile::applySingleEmptiesOtherSlots()
{
    MeasurementStore store;
    store.setSlot(0, "GMDSS TESTER S/N 001 rev 1.324");
    for (int i = 1; i <= 16; ++i)
        store.setSlot(i, record(char('a' + i), 64));
    store.set_record_count(16);
    store.set_display_index(7);

    const DataFileParse parsed = parseDataFile(buildSingleRecordFile(sampleRecord1(), station("S")).bytes);
    QVERIFY(parsed.file);
    applyDataFile(*parsed.file, store);
    QCOMPARE(store.slot(0), QByteArray("GMDSS TESTER S/N (SAVED DATA) rev 2.5"));
    QCOMPARE(store.slot(1), sampleRecord1());
    // Nothing of the earlier set is left to be saved under this file's station data.
    QCOMPARE(store.record_count(), 1);
    QCOMPARE(store.display_index(), 1);
    for (int i = 2; i <= 16; ++i)
        QVERIFY2(store.slot(i).isEmpty(), qPrintable(QString::number(i)));
    QCOMPARE(recordsToSave(store), 1);
}

void TestDataFile::applyFullSetEmptiesUnsuppliedSlots()
{
    MeasurementStore store;
    for (int i = 1; i <= 16; ++i)
        store.setSlot(i, record('z', 64));
    store.set_record_count(16);
    const DataFileParse parsed = parseDataFile(QByteArray("1\r\n") + record('A', 64) + "\r\n" + record('B', 64)
                                               + "\r\ndataend\r\n2\r\n" + stationBytes(StationLines()));
    QVERIFY2(parsed.file, qPrintable(parsed.error));
    applyDataFile(*parsed.file, store);
    QCOMPARE(store.record_count(), 2);
    QCOMPARE(store.slot(2), record('B', 64));
    for (int i = 3; i <= 16; ++i)
        QVERIFY2(store.slot(i).isEmpty(), qPrintable(QString::number(i)));
    QCOMPARE(recordsToSave(store), 2);
}

void TestDataFile::typedLatinTextSavesReadable()
{
    // What the station fields hold once typed text is fitted: readable Latin, and
    // Cyrillic as typed.
    const QString typedVessel = QString::fromUtf8("S\u00f8fart \u00c6r\u00f8 GmbH");
    const QString typedOwner = QString::fromUtf8("\u041c\u043e\u0440\u0441\u0432\u044f\u0437\u044c \u0141\u00f3d\u017a");
    StationLines s;
    s[3] = toText8(fitText8(typedVessel).text);
    s[4] = toText8(fitText8(typedOwner).text);
    const DataFileParse parsed = parseDataFile(buildFullSetFile(storeOf({sampleRecord(1)}), s).bytes);
    QVERIFY2(parsed.file, qPrintable(parsed.error));
    QCOMPARE(fromText8(parsed.file->station[3]), QStringLiteral("Sofart AEro GmbH"));
    QCOMPARE(fromText8(parsed.file->station[4]),
             QString::fromUtf8("\u041c\u043e\u0440\u0441\u0432\u044f\u0437\u044c Lodz"));
    QVERIFY(!parsed.file->station[3].contains('\x1a'));
}

QTEST_GUILESS_MAIN(TestDataFile)
#include "test_data_file.moc"
