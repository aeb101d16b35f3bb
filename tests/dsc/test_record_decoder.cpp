// Decoding of whole records: sample records 1 and 3 field by
// field, the order of the writes, the format specifier message and the edge cases.
#include "data/sample_set.h"
#include "dsc/record_decoder.h"
#include "support/sample_fields.h"

#include <QtTest>

using namespace kelpra;

namespace {

const QByteArray kHeader1("33 151206 2435 1 12577.0 kHZ   ");
const QByteArray kHeaderVhf("01 151206 2435 1 156.525 MHZ   ");

// A record from its 31-character header and the values of positions 32 to 64.
QByteArray record(const QByteArray &header, const QList<int> &values)
{
    QByteArray bytes = header;
    for (int v : values)
        bytes.append(static_cast<char>(v));
    return bytes;
}

// Run A of the sample set with some positions replaced: {position, value}.
QByteArray callWith(const QList<QPair<int, int>> &changes, const QByteArray &header = kHeader1)
{
    QByteArray bytes = record(header, {128, 125, 125, 125, 125, 125, 125, 120, 120, 20, 13, 23, 54, 50, 100, 99, 99,
                                       99, 99, 90, 100, 126, 90, 0, 6, 90, 0, 6, 117, 76, 127, 127, 0});
    for (const auto &change : changes)
        bytes[change.first - 1] = static_cast<char>(change.second);
    return bytes;
}

// Run C of the sample set with some positions replaced.
QByteArray distressWith(const QList<QPair<int, int>> &changes, const QByteArray &header = kHeaderVhf)
{
    QByteArray bytes = record(header, {128, 125, 125, 125, 125, 125, 125, 112, 112, 99, 99, 99, 99, 90, 107, 1, 42,
                                       20, 15, 33, 88, 88, 100, 127, 57, 127, 127, 126, 117, 86, 127, 127, 0});
    for (const auto &change : changes)
        bytes[change.first - 1] = static_cast<char>(change.second);
    return bytes;
}

QString describe(const FieldTexts &texts)
{
    QStringList lines;
    for (auto it = texts.cbegin(); it != texts.cend(); ++it)
        lines << QStringLiteral("%1=[%2]").arg(it.key(), QString::fromLatin1(it.value()));
    return lines.join(QLatin1Char('\n'));
}

void compareTexts(const FieldTexts &actual, const FieldTexts &expected)
{
    if (actual != expected)
        QFAIL(qPrintable(QStringLiteral("actual:\n%1\nexpected:\n%2").arg(describe(actual), describe(expected))));
}

} // namespace

class TestRecordDecoder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Every field of sample slot 1, and nothing else.
    void sampleSlot1()
    {
        const RecordDecoding d = decodeRecord(sampleRecord(1));
        QVERIFY(!d.distress);
        QVERIFY(!d.formatMismatch);
        QCOMPARE(d.messageAfter, -1);
        QVERIFY(d.messages.isEmpty());
        const FieldTexts expected = test::sampleRecord1Fields();
        compareTexts(d.fields(), expected);
    }

    // The write order of `showRecord` for a call.
    void callWriteOrder()
    {
        const RecordDecoding d = decodeRecord(sampleRecord(1));
        QStringList names;
        for (const FieldWrite &w : d.writes)
            names << w.name;
        const QStringList expected{"Date",     "MNO",        "Frequency", "RSSI",       "FSdigit",   "FSMeaning",
                                   "MMSIMeaning", "MMSIdigit", "CatDigit", "CatMeaning", "SelfMMSI", "SelfMMSIdigit",
                                   "FTdigit",  "FTMeaning",  "STdigit",   "STMeaning",  "FS1digit",  "FS1meaning",
                                   "FS2digit", "FS2meaning", "EOS1",      "ECC",        "ECCCheck",  "ECCCheck",
                                   "EOS2"};
        QCOMPARE(names, expected);
        QCOMPARE(d.headerWrites, 4);
        // ECCCheck is emptied, then given the verdict.
        QCOMPARE(d.writes.at(22), (FieldWrite{"ECCCheck", QByteArray()}));
        QCOMPARE(d.writes.at(23), (FieldWrite{"ECCCheck", "Ok"}));
    }

    // Sample slot 3, a distress alert.
    void sampleSlot3()
    {
        const RecordDecoding d = decodeRecord(sampleRecord(3));
        QVERIFY(d.distress);
        QVERIFY(!d.formatMismatch);
        QCOMPARE(d.messageAfter, -1);
        const FieldTexts expected = test::sampleRecord3Fields();
        compareTexts(d.fields(), expected);
    }

    // Slot 4 differs from slot 3 in frequency, coordinates, subsequent communication, ECC
    // and verdict.
    void sampleSlot4()
    {
        const RecordDecoding d = decodeRecord(sampleRecord(4));
        QVERIFY(d.distress);
        QVERIFY(d.messages.isEmpty());
        const FieldTexts expected{
            {"Date", "15.12.06 24:35"},
            {"MNO", "12337"},
            {"Frequency", "12577.0 kHZ"},
            {"RSSI", "128"},
            {"FSDdigit", "112"},
            {"FSDmeaning", "Distress"},
            {"SelfMMSIDdigit", "99 99 99 99 90 "},
            {"SelfMMSIDmeaning", "999 999999"},
            {"NATUREdigit", "107"},
            {"NATUREmeaning", "Undesignated distress"},
            {"DCdigits", "99 99 99 99 99 "},
            {"DCmeaning", "No information"},
            {"TIMEdigit", "88 88 "},
            {"TIMEmeaning", "No information"},
            {"SCdigit", "109"},
            {"SCmeaning", "J3E telephony"},
            {"EOSD1", "127"},
            {"ECCD", "48"},
            {"ECCCDheck", "Bad"},
            {"EOSD2", "127 127"},
        };
        compareTexts(d.fields(), expected);
    }

    // The write order of a distress alert: header, the emptying that `showDistress`
    // starts with, then its own steps.
    void distressWriteOrder()
    {
        const RecordDecoding d = decodeRecord(sampleRecord(3));
        QStringList names;
        for (const FieldWrite &w : d.writes)
            names << w.name;
        QStringList expected{"Date", "MNO", "Frequency", "RSSI"};
        expected << distressFieldsToClear();
        expected << QStringList{"FSDdigit",    "FSDmeaning", "SelfMMSIDmeaning", "SelfMMSIDdigit", "NATUREdigit",
                                "NATUREmeaning", "DCdigits", "DCmeaning",       "TIMEdigit",      "TIMEmeaning",
                                "SCdigit",     "SCmeaning",  "EOSD1",           "ECCD",           "ECCCDheck",
                                "ECCCDheck",   "EOSD2"};
        QCOMPARE(names, expected);
        for (int i = 4; i < 4 + 15; ++i)
            QVERIFY(d.writes.at(i).text.isEmpty());
        QCOMPARE(d.writes.at(4 + 15 + 14), (FieldWrite{"ECCCDheck", QByteArray()}));
        QCOMPARE(d.writes.at(4 + 15 + 15), (FieldWrite{"ECCCDheck", "Ok"}));
        // No call field is touched.
        for (const FieldWrite &w : d.writes.mid(4))
            QVERIFY2(!callFieldsToClear().contains(w.name) && w.name != QLatin1String("ECCCheck"), qPrintable(w.name));
    }

    void decodeDistressIsTheDistressPart()
    {
        for (int slot : {3, 4, 8}) {
            const RecordDecoding whole = decodeRecord(sampleRecord(slot));
            const RecordDecoding part = decodeDistress(sampleRecord(slot));
            QCOMPARE(part.headerWrites, 0);
            QVERIFY(part.distress);
            QCOMPARE(part.writes, whole.writes.mid(whole.headerWrites));
        }
    }

    void clearLists()
    {
        const QStringList call{"Date",      "MNO",        "Frequency", "RSSI",       "FSdigit",   "FSMeaning",
                               "MMSIdigit", "MMSIMeaning", "CatDigit", "CatMeaning", "SelfMMSI",  "SelfMMSIdigit",
                               "FTdigit",   "FTMeaning",  "STdigit",   "STMeaning",  "FS1digit",  "FS1meaning",
                               "FS2digit",  "FS2meaning", "EOS1",      "EOS2",       "ECC"};
        QCOMPARE(callFieldsToClear(), call);
        QCOMPARE(callFieldsToClear().size(), 23);
        const QStringList distress{"FSDdigit",  "FSDmeaning",  "SelfMMSIDdigit", "SelfMMSIDmeaning", "NATUREdigit",
                                   "NATUREmeaning", "DCdigits", "DCmeaning",     "TIMEdigit",        "TIMEmeaning",
                                   "SCdigit",   "SCmeaning",   "EOSD1",          "EOSD2",            "ECCD"};
        QCOMPARE(distressFieldsToClear(), distress);
        QCOMPARE(distressFieldsToClear().size(), 15);
    }

    void everySampleRecord()
    {
        for (int slot = 1; slot <= 16; ++slot) {
            const RecordDecoding d = decodeRecord(sampleRecord(slot));
            const bool distress = QList<int>{3, 4, 8, 9, 13, 14}.contains(slot);
            QCOMPARE(d.distress, distress);
            QVERIFY(d.messages.isEmpty());
            QCOMPARE(d.fields().value("MNO"), slot == 1 ? QByteArray("13107") : QByteArray("12337"));
        }
    }

    void byteIdenticalSlotsDecodeAlike()
    {
        for (auto pair : QList<QPair<int, int>>{{2, 7}, {4, 9}, {5, 15}, {6, 16}})
            QCOMPARE(decodeRecord(sampleRecord(pair.first)).writes, decodeRecord(sampleRecord(pair.second)).writes);
    }

    // The header edge cases.
    void header_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("MNO from characters 0 and 1") << callWith({}, "01 151206 2435 1 12577.0 kHZ   ")
                                                     << "MNO" << QByteArray("12337");
        QTest::newRow("MNO from characters 3 and 3") << callWith({}) << "MNO" << QByteArray("13107");
        QTest::newRow("MNO 65535") << callWith({{1, 255}, {2, 255}}) << "MNO" << QByteArray("65535");
        QTest::newRow("MNO 0") << callWith({{1, 0}, {2, 0}}) << "MNO" << QByteArray("0");
        QTest::newRow("MNO high byte") << callWith({{1, 1}, {2, 0}}) << "MNO" << QByteArray("256");
        QTest::newRow("time 2435") << callWith({}) << "Date" << QByteArray("15.12.06 24:35");
        QTest::newRow("date not validated") << callWith({}, "01 AB12x9 1z05 1 12577.0 kHZ   ") << "Date"
                                            << QByteArray("AB.12.x9 1z:05");
        QTest::newRow("MHZ as received") << callWith({}, kHeaderVhf) << "Frequency" << QByteArray("156.525 MHZ");
        QTest::newRow("RSSI 255") << callWith({{32, 255}}) << "RSSI" << QByteArray("255");
        QTest::newRow("RSSI 0") << callWith({{32, 0}}) << "RSSI" << QByteArray("0");
        QTest::newRow("verdict 1") << callWith({}) << "ECCCheck" << QByteArray("Ok");
        QTest::newRow("verdict 0") << callWith({}, "33 151206 2435 0 12577.0 kHZ   ") << "ECCCheck"
                                   << QByteArray("Bad");
        QTest::newRow("verdict space") << callWith({}, "33 151206 2435   12577.0 kHZ   ") << "ECCCheck"
                                       << QByteArray();
        QTest::newRow("distress verdict 0") << distressWith({}, "01 151206 2435 0 156.525 MHZ   ") << "ECCCDheck"
                                            << QByteArray("Bad");
        QTest::newRow("distress verdict space") << distressWith({}, "01 151206 2435 X 156.525 MHZ   ")
                                                << "ECCCDheck" << QByteArray();
    }
    void header()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, field);
        QFETCH(QByteArray, text);
        QCOMPARE(bytes.size(), 64);
        QCOMPARE(decodeRecord(bytes).fields().value(field), text);
    }

    // The edge cases of a call.
    void callFields_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QByteArray>("text");
        const QList<QPair<int, int>> identity0{{41, 0}, {42, 21}, {43, 91}, {44, 23}, {45, 40}};
        QTest::newRow("identity below 10: digits") << callWith(identity0) << "MMSIdigit"
                                                   << QByteArray("00 21 91 23 40 ");
        QTest::newRow("identity below 10: meaning") << callWith(identity0) << "MMSIMeaning"
                                                    << QByteArray("002 191234");
        QTest::newRow("self identity below 10") << callWith({{47, 0}, {48, 21}, {49, 91}, {50, 23}, {51, 40}})
                                                << "SelfMMSI" << QByteArray("002 191234");
        QTest::newRow("100 in address") << callWith({{43, 100}}) << "MMSIdigit" << QByteArray("20 13 100 54 50 ");
        QTest::newRow("FS1 all 126: digits") << callWith({{54, 126}, {55, 126}, {56, 126}}) << "FS1digit"
                                             << QByteArray("126 126 126 ");
        QTest::newRow("FS1 all 126: meaning") << callWith({{54, 126}, {55, 126}, {56, 126}}) << "FS1meaning"
                                              << QByteArray("No information");
        QTest::newRow("FS1 126 126 125") << callWith({{54, 126}, {55, 126}, {56, 125}}) << "FS1meaning"
                                         << QByteArray();
        QTest::newRow("FS2 1 25 77, own value") << callWith({{57, 1}, {58, 25}, {59, 77}}) << "FS2meaning"
                                                << QByteArray("1257.7 kHz");
        QTest::newRow("FS1 stays VHF beside it") << callWith({{57, 1}, {58, 25}, {59, 77}}) << "FS1meaning"
                                                 << QByteArray("VHF CH - 0006");
        QTest::newRow("FS1 first digit 5: digits") << callWith({{54, 50}, {55, 12}, {56, 34}}) << "FS1digit"
                                                   << QByteArray("50 12 34 ");
        QTest::newRow("FS1 first digit 5: meaning") << callWith({{54, 50}, {55, 12}, {56, 34}}) << "FS1meaning"
                                                    << QByteArray();
        QTest::newRow("FS1 HF/MF") << callWith({{54, 30}, {55, 12}, {56, 34}}) << "FS1meaning"
                                   << QByteArray("HF/MF CH - 01234");
        QTest::newRow("FS2 ITU-R") << callWith({{57, 80}, {58, 12}, {59, 34}}) << "FS2meaning"
                                   << QByteArray("ITU-R M.586 *");
        QTest::newRow("FS2 whole kHz") << callWith({{57, 12}, {58, 57}, {59, 70}}) << "FS2meaning"
                                       << QByteArray("12577 kHz");
        QTest::newRow("format 100 has no meaning") << callWith({{39, 100}, {40, 100}}) << "FSMeaning" << QByteArray();
        QTest::newRow("category 109 has no meaning") << callWith({{46, 109}}) << "CatMeaning" << QByteArray();
        QTest::newRow("first telecommand 102") << callWith({{52, 102}}) << "FTMeaning" << QByteArray();
        QTest::newRow("second telecommand 114") << callWith({{53, 114}}) << "STMeaning" << QByteArray();
        QTest::newRow("second telecommand 101") << callWith({{53, 101}}) << "STMeaning"
                                                << QByteArray("Congestion at maritime switching centre.");
        QTest::newRow("EOS2 from 62 and 63") << callWith({{62, 122}, {63, 127}}) << "EOS2" << QByteArray("122 127");
        QTest::newRow("EOS1 from 60") << callWith({{60, 122}}) << "EOS1" << QByteArray("122");
        QTest::newRow("ECC from 61") << callWith({{61, 0}}) << "ECC" << QByteArray("0");
    }
    void callFields()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, field);
        QFETCH(QByteArray, text);
        const RecordDecoding d = decodeRecord(bytes);
        QVERIFY(!d.distress);
        QCOMPARE(d.fields().value(field), text);
    }

    // The edge cases of a distress alert.
    void distressFields_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QByteArray>("text");
        const auto coordinates = [](int a, int b, int c, int d, int e) {
            return distressWith({{47, a}, {48, b}, {49, c}, {50, d}, {51, e}});
        };
        QTest::newRow("coordinates 99: digits") << coordinates(99, 99, 99, 99, 99) << "DCdigits"
                                                << QByteArray("99 99 99 99 99 ");
        QTest::newRow("coordinates 99: meaning") << coordinates(99, 99, 99, 99, 99) << "DCmeaning"
                                                 << QByteArray("No information");
        QTest::newRow("quadrant 3") << coordinates(31, 42, 20, 15, 33) << "DCmeaning"
                                    << QByteArray("SW latitude: 14.22\" longitude: 015.33\"");
        QTest::newRow("quadrant 5") << coordinates(51, 42, 20, 15, 33) << "DCmeaning"
                                    << QByteArray("No informationlatitude: 14.22\" longitude: 015.33\"");
        QTest::newRow("all below 10: digits") << coordinates(0, 5, 7, 0, 9) << "DCdigits"
                                              << QByteArray("00 05 07 00 09 ");
        QTest::newRow("all below 10: meaning") << coordinates(0, 5, 7, 0, 9) << "DCmeaning"
                                               << QByteArray("NE latitude: 00.50\" longitude: 700.09\"");
        QTest::newRow("time 88 30") << distressWith({{52, 88}, {53, 30}}) << "TIMEmeaning" << QByteArray("88 : 30");
        QTest::newRow("time 0 0: digits") << distressWith({{52, 0}, {53, 0}}) << "TIMEdigit" << QByteArray("00 00 ");
        QTest::newRow("time 0 0: meaning") << distressWith({{52, 0}, {53, 0}}) << "TIMEmeaning" << QByteArray("0 : 0");
        QTest::newRow("time 9 5") << distressWith({{52, 9}, {53, 5}}) << "TIMEmeaning" << QByteArray("9 : 5");
        QTest::newRow("time 14 30") << distressWith({{52, 14}, {53, 30}}) << "TIMEmeaning" << QByteArray("14 : 30");
        QTest::newRow("nature 111") << distressWith({{46, 111}}) << "NATUREmeaning" << QByteArray("No information");
        QTest::newRow("nature 112") << distressWith({{46, 112}}) << "NATUREmeaning" << QByteArray("EPIRB Emission");
        const QList<QPair<int, int>> identity0{{41, 0}, {42, 21}, {43, 91}, {44, 23}, {45, 40}};
        QTest::newRow("self identity below 10: digits") << distressWith(identity0) << "SelfMMSIDdigit"
                                                        << QByteArray("00 21 91 23 40 ");
        QTest::newRow("self identity below 10: meaning") << distressWith(identity0) << "SelfMMSIDmeaning"
                                                         << QByteArray("002 191234");
        QTest::newRow("subsequent communication 126") << distressWith({{54, 126}}) << "SCmeaning"
                                                      << QByteArray("No information");
        QTest::newRow("subsequent communication 102") << distressWith({{54, 102}}) << "SCmeaning" << QByteArray();
        QTest::newRow("EOSD2 from 57 and 58") << distressWith({{57, 122}, {58, 117}}) << "EOSD2"
                                              << QByteArray("122 117");
    }
    void distressFields()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, field);
        QFETCH(QByteArray, text);
        const RecordDecoding d = decodeRecord(bytes);
        QVERIFY(d.distress);
        QCOMPARE(d.fields().value(field), text);
    }

    // Differing format specifier symbols: one message, after FSdigit and FSMeaning, and the
    // fields show position 39.
    void callFormatMismatch()
    {
        const RecordDecoding d = decodeRecord(callWith({{39, 120}, {40, 116}}));
        QVERIFY(!d.distress);
        QVERIFY(d.formatMismatch);
        QCOMPARE(d.messages, QStringList{"Error in format specifier."});
        QCOMPARE(d.messageAfter, 6);
        QCOMPARE(d.writes.at(d.messageAfter - 2).name, QStringLiteral("FSdigit"));
        QCOMPARE(d.writes.at(d.messageAfter - 1).name, QStringLiteral("FSMeaning"));
        QCOMPARE(d.writes.at(d.messageAfter).name, QStringLiteral("MMSIMeaning"));
        QCOMPARE(d.fields().value("FSdigit"), QByteArray("120"));
        QCOMPARE(d.fields().value("FSMeaning"), QByteArray("Individual stations"));
        // Decoding completes as usual.
        QCOMPARE(d.fields().value("EOS2"), QByteArray("127 127"));
    }

    // Only position 39 decides: 120 then 112 is a call, 112 then 120 a distress alert.
    void positionFortyDoesNotDecide()
    {
        const RecordDecoding call = decodeRecord(callWith({{39, 120}, {40, 112}}));
        QVERIFY(!call.distress);
        QVERIFY(call.formatMismatch);
        QCOMPARE(call.fields().value("FSdigit"), QByteArray("120"));

        const RecordDecoding distress = decodeRecord(distressWith({{39, 112}, {40, 120}}));
        QVERIFY(distress.distress);
        QVERIFY(distress.formatMismatch);
        QCOMPARE(distress.messages, QStringList{"Error in format specifier."});
        QCOMPARE(distress.messageAfter, 4 + 15 + 2);
        QCOMPARE(distress.writes.at(distress.messageAfter - 2), (FieldWrite{"FSDdigit", "112"}));
        QCOMPARE(distress.writes.at(distress.messageAfter - 1), (FieldWrite{"FSDmeaning", "Distress"}));
        QCOMPARE(distress.fields().value("FSDmeaning"), QByteArray("Distress"));
        QVERIFY(!distress.fields().contains("FSdigit"));
    }

    void decimalSeparator()
    {
        const QByteArray bytes = callWith({{54, 1}, {55, 25}, {56, 77}});
        QCOMPARE(decodeRecord(bytes, QStringLiteral(",")).fields().value("FS1meaning"), QByteArray("1257,7 kHz"));
        QCOMPARE(decodeRecord(bytes).fields().value("FS1meaning"), QByteArray("1257.7 kHz"));
    }

    // Positions behind 63 are not read: a 100-byte record (as data files hold) decodes as its
    // first 64 bytes.
    void longRecord()
    {
        for (int slot : {1, 3}) {
            QByteArray bytes = sampleRecord(slot);
            bytes.append(QByteArray(36, '\x7f'));
            QCOMPARE(decodeRecord(bytes).writes, decodeRecord(sampleRecord(slot)).writes);
        }
    }

    // A record shorter than 64 bytes reads its missing positions as 0, never out of bounds.
    void shortRecord_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("slot");
        for (int slot : {1, 3}) {
            for (int length : {0, 1, 15, 16, 31, 38, 39, 40, 45, 55, 60, 63}) {
                QTest::newRow(qPrintable(QStringLiteral("slot %1 cut to %2").arg(slot).arg(length)))
                    << length << slot;
            }
        }
    }
    void shortRecord()
    {
        QFETCH(int, length);
        QFETCH(int, slot);
        // A detached copy of exactly `length` bytes, so that a read past it would be a read
        // past the allocation (caught under AddressSanitizer).
        const QByteArray cut(sampleRecord(slot).constData(), length);
        QByteArray padded = cut;
        padded.append(QByteArray(64 - length, '\0'));
        const RecordDecoding d = decodeRecord(cut);
        QCOMPARE(d.writes, decodeRecord(padded).writes);
        QCOMPARE(d.distress, decodeRecord(padded).distress);
        QCOMPARE(d.messages, decodeRecord(padded).messages);
    }

    void emptyRecord()
    {
        const RecordDecoding d = decodeRecord(QByteArray());
        QVERIFY(!d.distress);
        QVERIFY(!d.formatMismatch);
        const FieldTexts f = d.fields();
        QCOMPARE(f.value("MNO"), QByteArray("0"));
        QCOMPARE(f.value("RSSI"), QByteArray("0"));
        QCOMPARE(f.value("FSdigit"), QByteArray("0"));
        QCOMPARE(f.value("MMSIdigit"), QByteArray("00 00 00 00 00 "));
        QCOMPARE(f.value("FS1meaning"), QByteArray("0 kHz"));
        QCOMPARE(f.value("ECCCheck"), QByteArray());
        QCOMPARE(f.value("Frequency"), QByteArray(11, '\0'));
    }

    void recordByte()
    {
        const QByteArray bytes("\x01\xff", 2);
        QCOMPARE(kelpra::recordByte(bytes, 1), 1);
        QCOMPARE(kelpra::recordByte(bytes, 2), 255);
        QCOMPARE(kelpra::recordByte(bytes, 3), 0);
        QCOMPARE(kelpra::recordByte(bytes, 0), 0);
        QCOMPARE(kelpra::recordByte(bytes, -5), 0);
    }
};

QTEST_GUILESS_MAIN(TestRecordDecoder)
#include "test_record_decoder.moc"
