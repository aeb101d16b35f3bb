// Decoding of whole records: sample records 1 and 3 field by field, which fields each kind
// of record fills, the format specifier message, short and empty records and the edge cases.
#include "data/sample_set.h"
#include "dsc/record_decoder.h"
#include "support/sample_fields.h"

#include <QtTest>

using namespace kelpra;
using kelpra::test::rowFields;

Q_DECLARE_METATYPE(kelpra::Field)

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
        lines << QStringLiteral("%1=[%2]").arg(fieldKey(it.key()), QString::fromLatin1(it.value()));
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
        const DecodedRecord d = decodeRecord(sampleRecord(1));
        QCOMPARE(d.kind, DecodedRecord::Kind::Call);
        QVERIFY(!d.formatMismatch);
        QVERIFY(d.messages().isEmpty());
        const FieldTexts expected = test::sampleRecord1Fields();
        compareTexts(d.fields(), expected);
    }

    // A call fills the header and every call field with the verdict, and no distress field.
    void callFillsTheCallFields()
    {
        const DecodedRecord d = decodeRecord(sampleRecord(1));
        QCOMPARE(d.header.keys(), (QList<Field>{Field::MeasurementDate, Field::MeasurementNumber, Field::ReceivedFrequency, Field::SignalLevel}));
        QList<Field> expected = rowFields(kCallRows);
        expected << Field::ErrorCheckVerdict;
        std::sort(expected.begin(), expected.end());
        QCOMPARE(d.rows.keys(), expected);
    }

    // Sample slot 3, a distress alert.
    void sampleSlot3()
    {
        const DecodedRecord d = decodeRecord(sampleRecord(3));
        QCOMPARE(d.kind, DecodedRecord::Kind::Distress);
        QVERIFY(!d.formatMismatch);
        const FieldTexts expected = test::sampleRecord3Fields();
        compareTexts(d.fields(), expected);
    }

    // Slot 4 differs from slot 3 in frequency, coordinates, subsequent communication, ECC
    // and verdict.
    void sampleSlot4()
    {
        const DecodedRecord d = decodeRecord(sampleRecord(4));
        QVERIFY(d.distress());
        QVERIFY(d.messages().isEmpty());
        FieldTexts expected = test::sampleRecord3Fields();
        expected.insert(FieldTexts{
            {Field::ReceivedFrequency, "12577.0 kHZ"}, {Field::PositionDigits, "99 99 99 99 99 "},
            {Field::PositionMeaning, "No information"}, {Field::SubsequentDigits, "109"},
            {Field::SubsequentMeaning, "J3E telephony"}, {Field::DistressErrorCheck, "48"},
            {Field::DistressErrorCheckVerdict, "Bad"}});
        compareTexts(d.fields(), expected);
    }

    // A distress alert fills the header and every distress field with its verdict; the call
    // fields and their verdict are no part of it.
    void distressFillsTheDistressFields()
    {
        const DecodedRecord d = decodeRecord(sampleRecord(3));
        QCOMPARE(d.header.keys(), (QList<Field>{Field::MeasurementDate, Field::MeasurementNumber, Field::ReceivedFrequency, Field::SignalLevel}));
        QList<Field> expected = rowFields(kDistressRows);
        expected << Field::DistressErrorCheckVerdict;
        std::sort(expected.begin(), expected.end());
        QCOMPARE(d.rows.keys(), expected);
        QVERIFY(!d.fields().contains(Field::ErrorCheckVerdict));
        QVERIFY(!d.fields().contains(Field::FormatDigits));
    }

    void everySampleRecord()
    {
        for (int slot = 1; slot <= 16; ++slot) {
            const DecodedRecord d = decodeRecord(sampleRecord(slot));
            const bool distress = QList<int>{3, 4, 8, 9, 13, 14}.contains(slot);
            QCOMPARE(d.distress(), distress);
            QVERIFY(d.messages().isEmpty());
            QCOMPARE(d.fields().value(Field::MeasurementNumber), slot == 1 ? QByteArray("13107") : QByteArray("12337"));
        }
    }

    void byteIdenticalSlotsDecodeAlike()
    {
        for (auto pair : QList<QPair<int, int>>{{2, 7}, {4, 9}, {5, 15}, {6, 16}})
            QCOMPARE(decodeRecord(sampleRecord(pair.first)).fields(), decodeRecord(sampleRecord(pair.second)).fields());
    }

    // The header edge cases.
    void header_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Field>("field");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("MNO from characters 0 and 1") << callWith({}, "01 151206 2435 1 12577.0 kHZ   ")
                                                     << Field::MeasurementNumber << QByteArray("12337");
        QTest::newRow("MNO from characters 3 and 3") << callWith({}) << Field::MeasurementNumber << QByteArray("13107");
        QTest::newRow("MNO 65535") << callWith({{1, 255}, {2, 255}}) << Field::MeasurementNumber << QByteArray("65535");
        QTest::newRow("MNO 0") << callWith({{1, 0}, {2, 0}}) << Field::MeasurementNumber << QByteArray("0");
        QTest::newRow("MNO high byte") << callWith({{1, 1}, {2, 0}}) << Field::MeasurementNumber << QByteArray("256");
        QTest::newRow("time 2435") << callWith({}) << Field::MeasurementDate << QByteArray("15.12.06 24:35");
        QTest::newRow("date not validated") << callWith({}, "01 AB12x9 1z05 1 12577.0 kHZ   ") << Field::MeasurementDate
                                            << QByteArray("AB.12.x9 1z:05");
        QTest::newRow("MHZ as received") << callWith({}, kHeaderVhf) << Field::ReceivedFrequency << QByteArray("156.525 MHZ");
        QTest::newRow("RSSI 255") << callWith({{32, 255}}) << Field::SignalLevel << QByteArray("255");
        QTest::newRow("RSSI 0") << callWith({{32, 0}}) << Field::SignalLevel << QByteArray("0");
        QTest::newRow("verdict 1") << callWith({}) << Field::ErrorCheckVerdict << QByteArray("Ok");
        QTest::newRow("verdict 0") << callWith({}, "33 151206 2435 0 12577.0 kHZ   ") << Field::ErrorCheckVerdict
                                   << QByteArray("Bad");
        QTest::newRow("verdict space") << callWith({}, "33 151206 2435   12577.0 kHZ   ") << Field::ErrorCheckVerdict
                                       << QByteArray();
        QTest::newRow("distress verdict 0") << distressWith({}, "01 151206 2435 0 156.525 MHZ   ") << Field::DistressErrorCheckVerdict
                                            << QByteArray("Bad");
        QTest::newRow("distress verdict space") << distressWith({}, "01 151206 2435 X 156.525 MHZ   ")
                                                << Field::DistressErrorCheckVerdict << QByteArray();
    }
    void header()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Field, field);
        QFETCH(QByteArray, text);
        QCOMPARE(bytes.size(), 64);
        QCOMPARE(decodeRecord(bytes).fields().value(field), text);
    }

    // The edge cases of a call.
    void callFields_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Field>("field");
        QTest::addColumn<QByteArray>("text");
        const QList<QPair<int, int>> identity0{{41, 0}, {42, 21}, {43, 91}, {44, 23}, {45, 40}};
        QTest::newRow("identity below 10: digits") << callWith(identity0) << Field::AddressDigits
                                                   << QByteArray("00 21 91 23 40 ");
        QTest::newRow("identity below 10: meaning") << callWith(identity0) << Field::AddressMeaning
                                                    << QByteArray("002 191234");
        QTest::newRow("self identity below 10") << callWith({{47, 0}, {48, 21}, {49, 91}, {50, 23}, {51, 40}})
                                                << Field::SelfIdMeaning << QByteArray("002 191234");
        QTest::newRow("100 in address") << callWith({{43, 100}}) << Field::AddressDigits << QByteArray("20 13 100 54 50 ");
        QTest::newRow("FS1 all 126: digits") << callWith({{54, 126}, {55, 126}, {56, 126}}) << Field::Message1Digits
                                             << QByteArray("126 126 126 ");
        QTest::newRow("FS1 all 126: meaning") << callWith({{54, 126}, {55, 126}, {56, 126}}) << Field::Message1Meaning
                                              << QByteArray("No information");
        QTest::newRow("FS1 126 126 125") << callWith({{54, 126}, {55, 126}, {56, 125}}) << Field::Message1Meaning
                                         << QByteArray();
        QTest::newRow("FS2 1 25 77, own value") << callWith({{57, 1}, {58, 25}, {59, 77}}) << Field::Message2Meaning
                                                << QByteArray("1257.7 kHz");
        QTest::newRow("FS1 stays VHF beside it") << callWith({{57, 1}, {58, 25}, {59, 77}}) << Field::Message1Meaning
                                                 << QByteArray("VHF CH - 0006");
        QTest::newRow("FS1 first digit 5: digits") << callWith({{54, 50}, {55, 12}, {56, 34}}) << Field::Message1Digits
                                                   << QByteArray("50 12 34 ");
        QTest::newRow("FS1 first digit 5: meaning") << callWith({{54, 50}, {55, 12}, {56, 34}}) << Field::Message1Meaning
                                                    << QByteArray();
        QTest::newRow("FS1 HF/MF") << callWith({{54, 30}, {55, 12}, {56, 34}}) << Field::Message1Meaning
                                   << QByteArray("HF/MF CH - 01234");
        QTest::newRow("FS2 ITU-R") << callWith({{57, 80}, {58, 12}, {59, 34}}) << Field::Message2Meaning
                                   << QByteArray("ITU-R M.586 *");
        QTest::newRow("FS2 whole kHz") << callWith({{57, 12}, {58, 57}, {59, 70}}) << Field::Message2Meaning
                                       << QByteArray("12577 kHz");
        QTest::newRow("format 100 has no meaning") << callWith({{39, 100}, {40, 100}}) << Field::FormatMeaning << QByteArray();
        QTest::newRow("category 109 has no meaning") << callWith({{46, 109}}) << Field::CategoryMeaning << QByteArray();
        QTest::newRow("first telecommand 102") << callWith({{52, 102}}) << Field::FirstCommandMeaning << QByteArray();
        QTest::newRow("second telecommand 114") << callWith({{53, 114}}) << Field::SecondCommandMeaning << QByteArray();
        QTest::newRow("second telecommand 101") << callWith({{53, 101}}) << Field::SecondCommandMeaning
                                                << QByteArray("Congestion at maritime switching centre.");
        QTest::newRow("EOS2 from 62 and 63") << callWith({{62, 122}, {63, 127}}) << Field::EndOfSequence2 << QByteArray("122 127");
        QTest::newRow("EOS1 from 60") << callWith({{60, 122}}) << Field::EndOfSequence1 << QByteArray("122");
        QTest::newRow("ECC from 61") << callWith({{61, 0}}) << Field::ErrorCheck << QByteArray("0");
    }
    void callFields()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Field, field);
        QFETCH(QByteArray, text);
        const DecodedRecord d = decodeRecord(bytes);
        QVERIFY(!d.distress());
        QCOMPARE(d.fields().value(field), text);
    }

    // The edge cases of a distress alert.
    void distressFields_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Field>("field");
        QTest::addColumn<QByteArray>("text");
        const auto coordinates = [](int a, int b, int c, int d, int e) {
            return distressWith({{47, a}, {48, b}, {49, c}, {50, d}, {51, e}});
        };
        QTest::newRow("coordinates 99: digits") << coordinates(99, 99, 99, 99, 99) << Field::PositionDigits
                                                << QByteArray("99 99 99 99 99 ");
        QTest::newRow("coordinates 99: meaning") << coordinates(99, 99, 99, 99, 99) << Field::PositionMeaning
                                                 << QByteArray("No information");
        QTest::newRow("quadrant 3") << coordinates(31, 42, 20, 15, 33) << Field::PositionMeaning
                                    << QByteArray("SW latitude: 14.22\" longitude: 015.33\"");
        QTest::newRow("quadrant 5") << coordinates(51, 42, 20, 15, 33) << Field::PositionMeaning
                                    << QByteArray("No informationlatitude: 14.22\" longitude: 015.33\"");
        QTest::newRow("all below 10: digits") << coordinates(0, 5, 7, 0, 9) << Field::PositionDigits
                                              << QByteArray("00 05 07 00 09 ");
        QTest::newRow("all below 10: meaning") << coordinates(0, 5, 7, 0, 9) << Field::PositionMeaning
                                               << QByteArray("NE latitude: 00.50\" longitude: 700.09\"");
        QTest::newRow("time 88 30") << distressWith({{52, 88}, {53, 30}}) << Field::TimeMeaning << QByteArray("88 : 30");
        QTest::newRow("time 0 0: digits") << distressWith({{52, 0}, {53, 0}}) << Field::TimeDigits << QByteArray("00 00 ");
        QTest::newRow("time 0 0: meaning") << distressWith({{52, 0}, {53, 0}}) << Field::TimeMeaning << QByteArray("0 : 0");
        QTest::newRow("time 9 5") << distressWith({{52, 9}, {53, 5}}) << Field::TimeMeaning << QByteArray("9 : 5");
        QTest::newRow("time 14 30") << distressWith({{52, 14}, {53, 30}}) << Field::TimeMeaning << QByteArray("14 : 30");
        QTest::newRow("nature 111") << distressWith({{46, 111}}) << Field::NatureMeaning << QByteArray("No information");
        QTest::newRow("nature 112") << distressWith({{46, 112}}) << Field::NatureMeaning << QByteArray("EPIRB Emission");
        const QList<QPair<int, int>> identity0{{41, 0}, {42, 21}, {43, 91}, {44, 23}, {45, 40}};
        QTest::newRow("self identity below 10: digits") << distressWith(identity0) << Field::DistressSelfDigits
                                                        << QByteArray("00 21 91 23 40 ");
        QTest::newRow("self identity below 10: meaning") << distressWith(identity0) << Field::DistressSelfMeaning
                                                         << QByteArray("002 191234");
        QTest::newRow("subsequent communication 126") << distressWith({{54, 126}}) << Field::SubsequentMeaning
                                                      << QByteArray("No information");
        QTest::newRow("subsequent communication 102") << distressWith({{54, 102}}) << Field::SubsequentMeaning << QByteArray();
        QTest::newRow("EOSD2 from 57 and 58") << distressWith({{57, 122}, {58, 117}}) << Field::DistressEndOfSequence2
                                              << QByteArray("122 117");
    }
    void distressFields()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Field, field);
        QFETCH(QByteArray, text);
        const DecodedRecord d = decodeRecord(bytes);
        QVERIFY(d.distress());
        QCOMPARE(d.fields().value(field), text);
    }

    // Differing format specifier symbols: one message, and the fields show position 39.
    void callFormatMismatch()
    {
        const DecodedRecord d = decodeRecord(callWith({{39, 120}, {40, 116}}));
        QVERIFY(!d.distress());
        QVERIFY(d.formatMismatch);
        QCOMPARE(d.messages(), QStringList{"Error in format specifier."});
        QCOMPARE(d.fields().value(Field::FormatDigits), QByteArray("120"));
        QCOMPARE(d.fields().value(Field::FormatMeaning), QByteArray("Individual stations"));
        // Decoding completes as usual.
        QCOMPARE(d.fields().value(Field::EndOfSequence2), QByteArray("127 127"));
    }

    // Only position 39 decides: 120 then 112 is a call, 112 then 120 a distress alert.
    void positionFortyDoesNotDecide()
    {
        const DecodedRecord call = decodeRecord(callWith({{39, 120}, {40, 112}}));
        QVERIFY(!call.distress());
        QVERIFY(call.formatMismatch);
        QCOMPARE(call.fields().value(Field::FormatDigits), QByteArray("120"));

        const DecodedRecord distress = decodeRecord(distressWith({{39, 112}, {40, 120}}));
        QVERIFY(distress.distress());
        QVERIFY(distress.formatMismatch);
        QCOMPARE(distress.messages(), QStringList{"Error in format specifier."});
        QCOMPARE(distress.fields().value(Field::DistressFormatMeaning), QByteArray("Distress"));
        QVERIFY(!distress.fields().contains(Field::FormatDigits));
    }

    void decimalSeparator()
    {
        const QByteArray bytes = callWith({{54, 1}, {55, 25}, {56, 77}});
        QCOMPARE(decodeRecord(bytes, QStringLiteral(",")).fields().value(Field::Message1Meaning), QByteArray("1257,7 kHz"));
        QCOMPARE(decodeRecord(bytes).fields().value(Field::Message1Meaning), QByteArray("1257.7 kHz"));
    }

    // Positions behind 63 are not read: a 100-byte record (as data files hold) decodes as its
    // first 64 bytes.
    void longRecord()
    {
        for (int slot : {1, 3}) {
            QByteArray bytes = sampleRecord(slot);
            bytes.append(QByteArray(36, '\x7f'));
            QCOMPARE(decodeRecord(bytes).fields(), decodeRecord(sampleRecord(slot)).fields());
        }
    }

    // A record shorter than 64 bytes fills the fields whose positions it holds, as the full
    // record would, and leaves the others empty; nothing is read past its end.
    void shortRecord_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("slot");
        for (int slot : {1, 3}) {
            for (int length : {1, 2, 14, 15, 16, 28, 31, 32, 38, 39, 40, 45, 46, 55, 58, 60, 62, 63}) {
                QTest::newRow(qPrintable(QStringLiteral("slot %1 cut to %2").arg(slot).arg(length)))
                    << length << slot;
            }
        }
    }
    void shortRecord()
    {
        QFETCH(int, length);
        QFETCH(int, slot);
        // The last position each field is built from.
        static const QMap<Field, int> lastPosition{
            {Field::MeasurementNumber, 2},            {Field::MeasurementDate, 14},           {Field::ReceivedFrequency, 28},
            {Field::SignalLevel, 32},          {Field::ErrorCheckVerdict, 16},       {Field::DistressErrorCheckVerdict, 16},
            {Field::FormatDigits, 39},       {Field::FormatMeaning, 39},      {Field::AddressDigits, 45},
            {Field::AddressMeaning, 45},   {Field::CategoryDigits, 46},       {Field::CategoryMeaning, 46},
            {Field::SelfIdDigits, 51}, {Field::SelfIdMeaning, 51},       {Field::FirstCommandDigits, 52},
            {Field::FirstCommandMeaning, 52},     {Field::SecondCommandDigits, 53},        {Field::SecondCommandMeaning, 53},
            {Field::Message1Digits, 56},      {Field::Message1Meaning, 56},     {Field::Message2Digits, 59},
            {Field::Message2Meaning, 59},    {Field::EndOfSequence1, 60},           {Field::ErrorCheck, 61},
            {Field::EndOfSequence2, 63},          {Field::DistressFormatDigits, 39},       {Field::DistressFormatMeaning, 39},
            {Field::DistressSelfDigits, 45}, {Field::DistressSelfMeaning, 45}, {Field::NatureDigits, 46},
            {Field::NatureMeaning, 46}, {Field::PositionDigits, 51},       {Field::PositionMeaning, 51},
            {Field::TimeDigits, 53},     {Field::TimeMeaning, 53},    {Field::SubsequentDigits, 54},
            {Field::SubsequentMeaning, 54},     {Field::DistressEndOfSequence1, 55},          {Field::DistressErrorCheck, 56},
            {Field::DistressEndOfSequence2, 58},
        };
        // A detached copy of exactly `length` bytes, so that a read past it would be a read
        // past the allocation (caught under AddressSanitizer).
        const QByteArray cut(sampleRecord(slot).constData(), length);
        const DecodedRecord d = decodeRecord(cut);
        // Below position 39 the kind is unknown: the record shows as a call.
        QByteArray reference = sampleRecord(slot);
        if (length < 39)
            reference[38] = reference[39] = char(120);
        const FieldTexts full = decodeRecord(reference).fields();
        QCOMPARE(d.kind, decodeRecord(reference).kind);
        QCOMPARE(d.fields().keys(), full.keys());
        for (auto it = full.cbegin(); it != full.cend(); ++it) {
            QVERIFY2(lastPosition.contains(it.key()), fieldName(it.key()));
            const QByteArray expected = lastPosition.value(it.key()) <= length ? it.value() : QByteArray();
            QVERIFY2(d.fields().value(it.key()) == expected, fieldName(it.key()));
        }
        // The sample records' two format specifier symbols agree, and a cut one has no second.
        QVERIFY(!d.formatMismatch);
    }

    // A short record whose positions 39 and 40 differ still shows the message.
    void shortRecordFormatMismatch()
    {
        const QByteArray cut = callWith({{40, 116}}).left(40);
        const DecodedRecord d = decodeRecord(cut);
        QVERIFY(d.formatMismatch);
        QCOMPARE(d.fields().value(Field::FormatDigits), QByteArray("120"));
        QCOMPARE(d.fields().value(Field::AddressDigits), QByteArray());
    }

    // An empty slot is no call: nothing to show, no zeros, no message of the decoder.
    void emptyRecord()
    {
        const DecodedRecord d = decodeRecord(QByteArray());
        QVERIFY(d.empty());
        QVERIFY(!d.distress());
        QVERIFY(!d.formatMismatch);
        QVERIFY(d.fields().isEmpty());
        QVERIFY(d.messages().isEmpty());
        QCOMPARE(emptyRecordMessage(7), QStringLiteral("Record 7 holds no data."));
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
