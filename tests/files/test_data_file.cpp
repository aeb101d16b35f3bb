#include "data/measurement_store.h"
#include "data/sample_set.h"
#include "data/text8.h"
#include "files/data_file.h"

#include <QRandomGenerator>
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

// What dos2unix does: every CR LF becomes LF.
QByteArray dos2unix(QByteArray in)
{
    return in.replace("\r\n", "\n");
}

// What unix2dos does: every LF not already after a CR becomes CR LF.
QByteArray unix2dos(const QByteArray &in)
{
    return dos2unix(in).replace("\n", "\r\n");
}

MeasurementStore storeOf(const QList<QByteArray> &records)
{
    MeasurementStore store;
    store.setSlot(0, sampleIdentificationLine());
    for (int i = 0; i < records.size(); ++i)
        store.setSlot(i + 1, records[i]);
    store.setRecordCount(int(records.size()));
    return store;
}

QList<QByteArray> sampleRecords()
{
    QList<QByteArray> records;
    for (int k = 1; k <= 16; ++k)
        records << sampleRecord(k);
    return records;
}

// The full set the program saves of `records`, under the station lines S1 to S8.
QByteArray savedSet(const QList<QByteArray> &records)
{
    return buildFullSetFile(storeOf(records), station("S")).bytes;
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
    void longRecordWithCrLfAfterByte64ComesBack();
    void randomRecordsRoundTrip();
    void integrityLineOutcomes();

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
    // The checksums in this and the next two tests come from python3's zlib.crc32 over the
    // bytes written out here.
    const QByteArray expected = QByteArray("0\r\n") + sampleRecord1() + "\r\n"
        + "S1\r\nS2\r\nS3\r\nS4\r\nS5\r\nS6\r\nS7\r\nS8\r\n" + "kelpra-integrity 1 - 1 64 a3223faa\r\n";
    const BuiltDataFile built = buildSingleRecordFile(sampleRecord1(), s, false);
    QCOMPARE(built.bytes, expected);
    QVERIFY(built.warnings.isEmpty());

    // Nothing held: an empty record line and the station lines, ten lines and the integrity line.
    QCOMPARE(buildSingleRecordFile(QByteArray(), StationLines(), false).bytes,
             QByteArray("0\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\nkelpra-integrity 1 - 1 0 aeab9bcf\r\n"));
}

void TestDataFile::fullSetLayout()
{
    MeasurementStore store = storeOf({sampleRecord1(), record('B', 64)});
    StationLines s = station("T");
    s[0] = "Sailor RT4822";
    const QByteArray expected = QByteArray("1\r\n") + sampleRecord1() + "\r\n" + record('B', 64)
        + "\r\n" + "dataend\r\n" + "2\r\n" + "Sailor RT4822\r\nT2\r\nT3\r\nT4\r\nT5\r\nT6\r\nT7\r\nT8\r\n"
        + "kelpra-integrity 1 - 2 64,64 2aa4362a\r\n";
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
    store.setFromSampleSet(true); // which the integrity line says
    // The empty slot 2 is an empty line, so slot 3 is not lost behind the gap.
    const BuiltDataFile built = buildFullSetFile(store, StationLines());
    QCOMPARE(built.bytes, QByteArray("1\r\n") + record('1', 64) + "\r\n\r\n" + record('3', 64)
                              + "\r\ndataend\r\n3\r\n" + stationBytes(StationLines())
                              + "kelpra-integrity 1 sample 3 64,0,64 da75cf1e\r\n");
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
    const BuiltDataFile built = buildSingleRecordFile(rec, s, false);
    QVERIFY2(built.warnings.isEmpty(), qPrintable(built.warnings.join('\n')));
    // The checksum is checked by the load below.
    QVERIFY(built.bytes.startsWith(QByteArray("0\r\n") + rec + "\r\n" + stationBytes(s) + "kelpra-integrity 1 - 1 "
                                   + QByteArray::number(rec.size()) + ' '));
    const DataFileParse parsed = parseDataFile(built.bytes);
    QVERIFY2(parsed.file, qPrintable(parsed.error));
    QCOMPARE(parsed.file->kind, DataFileKind::SingleRecord);
    QCOMPARE(parsed.file->records, QList<QByteArray>{rec});
    QCOMPARE(parsed.file->station, s);
}

void TestDataFile::longRecordWithCrLfAfterByte64ComesBack()
{
    // 70 bytes, the pair at positions 66-67: followed by another record, only the lengths
    // of the integrity line tell where the first one ends.
    const QByteArray long70 = sampleRecord(1) + "x\r\nyyy";
    const BuiltDataFile built = buildFullSetFile(storeOf({long70, sampleRecord(2)}), StationLines());
    QVERIFY2(built.warnings.isEmpty(), qPrintable(built.warnings.join('\n')));
    QVERIFY(built.bytes.startsWith(QByteArray("1\r\n") + long70 + "\r\n" + sampleRecord(2) + "\r\n"));
    QCOMPARE(parseDataFile(built.bytes).file->records, (QList<QByteArray>{long70, sampleRecord(2)}));
    QVERIFY(buildSingleRecordFile(long70, StationLines(), false).warnings.isEmpty());

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

    // Written before the integrity line: a last (or only) record of 80 bytes holding 13, 10
    // after its 64th byte came back whole then, and still does.
    const QByteArray pairAfter64 = record('P', 70) + "\r\n" + record('Q', 8);
    QTest::newRow("last record holding 13, 10 after byte 64")
        << QByteArray("1\r\n") + b + "\r\n" + pairAfter64 + "\r\ndataend\r\n2\r\n" + sBytes << true
        << QList<QByteArray>{b, pairAfter64} << 2 << s;
    QTest::newRow("only record holding 13, 10 after byte 64")
        << QByteArray("1\r\n") + pairAfter64 + "\r\ndataend\r\n1\r\n" + sBytes << true
        << QList<QByteArray>{pairAfter64} << 1 << s;

    // Slots a load had filled, written whole, each the 100-byte line buffer and CR LF: the
    // record, its CR LF, then zero filler or what a longer line left behind (here a 70-byte
    // record and a CR LF of a line before it). The count stands in RadioType's place.
    const QByteArray long70 = record('L', 70);
    const QByteArray slot1 = r1 + "\r\n" + QByteArray(34, '\0');
    const QByteArray slot2 = long70 + "\r\n" + QByteArray(20, 'q') + "\r\n" + QByteArray(6, 'q');
    const QByteArray slot3 = b + "\r\n" + long70.mid(66) + QByteArray(30, 'q');
    QTest::newRow("slots written whole")
        << QByteArray("1\r\n") + slot1 + "\r\n" + slot2 + "\r\n" + slot3
               + "\r\ndataend\r\n3\r\nS2\r\nS3\r\nS4\r\nS5\r\nS6\r\nS7\r\nS8\r\n"
        << true << QList<QByteArray>{r1, long70, b} << 3 << oldLayout;

    // Empty lines after the integrity line, or its line end lost, change nothing.
    QTest::newRow("empty lines after the integrity line") << savedSet({r1, b}) + "\r\n\r\n" << true
                                                          << QList<QByteArray>{r1, b} << 2 << s;
    QTest::newRow("last line end lost") << savedSet({r1, b}).chopped(2) << true << QList<QByteArray>{r1, b} << 2 << s;
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

    // Counts that do not fit: 16 became 6, which would glue records 7 to 16 onto record 6;
    // a full set whose "1" became "0", which would load as one record.
    const QByteArray sixteen = sampleRecords().join("\r\n") + "\r\n";
    QTest::newRow("count 16 changed to 6")
        << QByteArray("1\r\n") + sixteen + "dataend\r\n6\r\n" + sBytes
        << "the file says it holds 6 records, but its lines do not form them.";
    QTest::newRow("first line 1 changed to 0")
        << QByteArray("0\r\n") + sixteen + "dataend\r\n16\r\n" + sBytes
        << "the file says it holds 1 records, but its lines do not form them.";

    // With an integrity line: the line damaged, or lengths that fit under no reading. An MMSI
    // holding the digits 10 beside one holding 13 10: neither unix2dos nor dos2unix is undone.
    const QString damaged = QStringLiteral("its integrity line is damaged.");
    QByteArray lone10 = sampleRecord(1);
    lone10[43] = '\n';
    const QByteArray both = savedSet({lone10, withPair(2, PairAt::Address)});
    QTest::newRow("unix2dos of records holding both") << unix2dos(both) << damaged;
    QTest::newRow("dos2unix of records holding both") << dos2unix(both) << damaged;
    QTest::newRow("first line 1 changed to 0, with integrity line")
        << "0" + savedSet(sampleRecords()).mid(1) << damaged;
    QTest::newRow("line cut to kelpra") << QByteArray("0\r\n") + r + "\r\n" + sBytes + "kelpra\r\n" << damaged;
    QTest::newRow("checksum cut") << both.chopped(5) << damaged;
    QTest::newRow("a length that does not fit") << QByteArray(both).replace(" 64,64 ", " 64,65 ") << damaged;
    QTest::newRow("fewer lengths than records") << QByteArray(both).replace(" 2 64,64 ", " 2 64 ") << damaged;
    QTest::newRow("unknown flag") << QByteArray(both).replace(" - 2 ", " fast 2 ") << damaged;
    // Lengths and checksum right, but a station field held a line end.
    StationLines nine = station("S");
    nine[4] = "two\r\nlines";
    QTest::newRow("nine station lines") << buildSingleRecordFile(r, nine, false).bytes
                                        << "its station block holds 9 lines instead of eight.";
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
    store.setRecordCount(16);
    store.setDisplayIndex(7);

    const DataFileParse parsed = parseDataFile(buildSingleRecordFile(sampleRecord1(), station("S"), false).bytes);
    QVERIFY(parsed.file);
    applyDataFile(*parsed.file, store);
    QCOMPARE(store.slot(0), QByteArray("GMDSS TESTER S/N (SAVED DATA) rev 2.5"));
    QCOMPARE(store.slot(1), sampleRecord1());
    // Nothing of the earlier set is left to be saved under this file's station data.
    QCOMPARE(store.recordCount(), 1);
    QCOMPARE(store.displayIndex(), 1);
    for (int i = 2; i <= 16; ++i)
        QVERIFY2(store.slot(i).isEmpty(), qPrintable(QString::number(i)));
    QCOMPARE(recordsToSave(store), 1);
}

void TestDataFile::applyFullSetEmptiesUnsuppliedSlots()
{
    MeasurementStore store;
    for (int i = 1; i <= 16; ++i)
        store.setSlot(i, record('z', 64));
    store.setRecordCount(16);
    const DataFileParse parsed = parseDataFile(QByteArray("1\r\n") + record('A', 64) + "\r\n" + record('B', 64)
                                               + "\r\ndataend\r\n2\r\n" + stationBytes(StationLines()));
    QVERIFY2(parsed.file, qPrintable(parsed.error));
    applyDataFile(*parsed.file, store);
    QCOMPARE(store.recordCount(), 2);
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

void TestDataFile::randomRecordsRoundTrip()
{
    // Records of any bytes and lengths 0 to 200, 1 to 16 of them, sample and measured, through
    // both writers; then through unix2dos and dos2unix, which are either undone exactly or
    // named, never read silently wrong.
    QRandomGenerator rng(20240517);
    const StationLines s = station("R");
    int repaired = 0, refused = 0;
    for (int round = 0; round < 300; ++round) {
        QList<QByteArray> records(1 + int(rng.bounded(16)));
        for (QByteArray &r : records) {
            r.resize(int(rng.bounded(201)));
            for (char &c : r)
                c = char(rng.bounded(256));
            if (round % 5 == 0) // full of line-end bytes, the cases that need the lengths most
                r.replace('a', '\n').replace('b', '\r');
        }
        const bool sample = round % 2;
        MeasurementStore store = storeOf(records);
        store.setFromSampleSet(sample);
        QList<QPair<BuiltDataFile, QList<QByteArray>>> files;
        for (const QByteArray &r : records.mid(0, 2))
            files.append({buildSingleRecordFile(r, s, sample), {r}});
        while (!records.isEmpty() && records.back().isEmpty())
            records.removeLast();
        files.append({buildFullSetFile(store, s), records});
        for (const auto &[built, written] : files) {
            QVERIFY(built.warnings.isEmpty());
            const DataFileParse parsed = parseDataFile(built.bytes);
            QVERIFY2(parsed.file, qPrintable(parsed.error));
            QCOMPARE(parsed.integrity, FileIntegrity::Verified);
            QCOMPARE(parsed.file->records, written);
            QCOMPARE(parsed.file->station, s);
            QCOMPARE(parsed.file->sample, sample);

            // unix2dos cannot be undone when a record held 13, 10; dos2unix when one held a lone 10.
            const QByteArray all = written.join('\0');
            const bool pairs = all.contains("\r\n"), loneLfs = unix2dos(all) != all;
            for (const auto &[bytes, undoable, repair] :
                 {std::tuple(unix2dos(built.bytes), !pairs, LineEndRepair::LfToCrLf),
                  std::tuple(dos2unix(built.bytes), !loneLfs, LineEndRepair::CrLfToLf)}) {
                if (bytes == built.bytes)
                    continue;
                const DataFileParse back = parseDataFile(bytes);
                if (back.file) {
                    QCOMPARE(back.repair, repair);
                    QCOMPARE(back.note, QStringLiteral("The file had its line ends converted by another program; "
                                                         "restored, the checksum matches."));
                    QCOMPARE(back.file->records, written);
                    QCOMPARE(back.file->station, s);
                    ++repaired;
                } else {
                    QVERIFY2(!undoable, qPrintable(back.error));
                    QVERIFY2(back.integrity == FileIntegrity::Changed
                                 || back.error == QLatin1String("Not a complete data file: its integrity line is damaged."),
                             qPrintable(back.error));
                    ++refused;
                }
            }
        }
    }
    QVERIFY(repaired > 100); // both outcomes were met
    QVERIFY(refused > 10);
}

void TestDataFile::integrityLineOutcomes()
{
    const QByteArray saved = savedSet(sampleRecords());
    // The count line 16 changed to 6: named and refused, or, accepted, read by the lengths.
    const QByteArray six = QByteArray(saved).replace("dataend\r\n16\r\n", "dataend\r\n6\r\n");
    const DataFileParse refused = parseDataFile(six);
    QVERIFY(!refused.file && refused.integrity == FileIntegrity::Changed);
    const QString changed = QStringLiteral("The file was changed after it was saved: records may not be what was measured.");
    QCOMPARE(refused.error, changed);
    const DataFileParse accepted = parseDataFile(six, DataFileReading{QString(), true});
    QVERIFY2(accepted.file && accepted.integrity == FileIntegrity::Changed, qPrintable(accepted.error));
    QCOMPARE(accepted.note, changed);
    QCOMPARE(accepted.file->records, sampleRecords());
    QCOMPARE(parseDataFile(QByteArray(saved).replace("kelpra-integrity 1 ", "kelpra-integrity 2 ")).error,
             QStringLiteral("The file was written by a newer version of Kelpra (integrity version 2)."));
}

QTEST_GUILESS_MAIN(TestDataFile)
#include "test_data_file.moc"
