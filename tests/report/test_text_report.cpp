// Golden tests of the text report: the expected lines are written out from the report
// layout (label, number of blanks, field text), not produced by the code under test.
#include "data/text8.h"
#include "report/text_report.h"
#include "support/sample_fields.h"

#include <QtTest>

using kelpra::Field;
using kelpra::FieldTexts;

namespace {

QByteArray sp(int n) { return QByteArray(n, ' '); }

QByteArray joinLines(const QList<QByteArray> &lines)
{
    QByteArray out;
    for (const QByteArray &l : lines)
        out += l + "\r\n";
    return out;
}

// Typed-in station data, and fields no report may print.
void addStationFields(FieldTexts &f)
{
    f[Field::RadioModel] = "Sailor RT5022";
    f[Field::RadioSerialNumber] = "A-10234";
    f[Field::RadioManufacturer] = "Thrane & Thrane";
    f[Field::VesselName] = "Kapitan Dranitsyn";
    f[Field::VesselOwner] = "Murmansk Shipping Co";
    f[Field::VesselCategory] = "Icebreaker/12919";
    f[Field::VesselAddress] = "15 Kominterna St, Murmansk";
    f[Field::VesselPhone] = "+7 8152 481000";
    f[Field::ControllerCompany] = "Morsvyaz Service";
    f[Field::ControllerPhone] = "+7 812 1234567";
    f[Field::ControllerAddress] = "Nevsky 1";
    f[Field::Engineer] = "I. Petrov";
    f[Field::MeasurementNumber] = "13107";
    f[Field::ErrorCheckVerdict] = "Ok";
    f[Field::DistressErrorCheckVerdict] = "Ok";
}

// Sample record 1 after decoding: an individual call.
FieldTexts callFields()
{
    FieldTexts f = kelpra::test::sampleRecord1Fields();
    addStationFields(f);
    // Left over from an earlier distress alert: hidden, so not reported.
    f[Field::DistressFormatDigits] = "112";
    f[Field::DistressFormatMeaning] = "Distress";
    return f;
}

// Sample record 3 after decoding: a distress alert (call rows emptied, header kept).
FieldTexts distressFields()
{
    FieldTexts f = kelpra::test::sampleRecord3Fields();
    addStationFields(f);
    return f;
}

const QByteArray kTitle = "                   PROTOCOL OF GMDSS RADIO SET TESTING             ";
const QByteArray kDashes = "----------------------------------------------------------------------";

} // namespace

class TestTextReport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void handWrittenConstants();
    void callVariantGolden();
    void distressVariantGolden();
    void emptyFieldsGiveCompleteCallReport();
    void lineCountFollowsPanelNotFields_data();
    void lineCountFollowsPanelNotFields();
    void longDigitsShiftMeaning();
    void fieldBytesCopiedUnchanged();
};

void TestTextReport::handWrittenConstants()
{
    // Guards the literals below against miscounting.
    QCOMPARE(kTitle.size(), 67);
    QCOMPARE(kTitle.indexOf("PROTOCOL"), 19);
    QCOMPARE(kDashes.size(), 70);
}

void TestTextReport::callVariantGolden()
{
    const QByteArray expected = joinLines({
        kTitle,
        "",
        "",
        "Model: Sailor RT5022" + sp(12) + "S/N: A-10234",
        "",
        "Date: 15.12.06 24:35",
        "",
        "",
        kDashes,
        "Frequency:" + sp(19) + "12577.0 kHZ",
        "Signal level(RSSI):" + sp(10) + "128",
        "",
        "Format Specifier:" + sp(12) + "120" + sp(9) + "Individual stations",
        "MMSI:" + sp(24) + "20 13 23 54 50 " + sp(9) + "201 323545",
        "Category:" + sp(20) + "100" + sp(9) + "Routine",
        "Self Identification(MMSI):" + sp(3) + "99 99 99 99 90 " + sp(9) + "999 999999",
        "First Telecommand:" + sp(11) + "100" + sp(9) + "F3E/G3E All modes telephony",
        "Second Telecommand:" + sp(10) + "126" + sp(9) + "No information",
        "Frequency or pos.no FS1:" + sp(5) + "90 00 06 " + sp(9) + "VHF CH - 0006",
        "Frequency or pos.no FS2:" + sp(5) + "90 00 06 " + sp(9) + "VHF CH - 0006",
        "End of sequence:" + sp(13) + "117",
        "ECC:" + sp(25) + "76",
        "End of sequence:" + sp(13) + "127 127",
        kDashes,
        "",
        "",
        "VESSEL DATA:",
        "Vessel name: Kapitan Dranitsyn",
        "Company owner: Murmansk Shipping Co",
        "Category/tonnage: Icebreaker/12919",
        "Company address: 15 Kominterna St, Murmansk",
        "Tel/Fax: +7 8152 481000",
        "",
        "",
        "",
        "",
        "Radioengineer:" + sp(29) + "I. Petrov",
    });
    const QByteArray actual = kelpra::textReport(callFields(), false);
    QCOMPARE(actual.count("\r\n"), 37);
    QCOMPARE(actual, expected);
}

void TestTextReport::distressVariantGolden()
{
    const QByteArray expected = joinLines({
        kTitle,
        "",
        "",
        "Model: Sailor RT5022" + sp(12) + "S/N: A-10234",
        "",
        "Date: 15.12.06 24:35",
        "",
        "",
        kDashes,
        "Frequency:" + sp(19) + "156.525 MHZ",
        "Signal level(RSSI):" + sp(10) + "128",
        "",
        "Format Specifier:" + sp(12) + "112" + sp(9) + "Distress",
        "Self MMSI:" + sp(19) + "99 99 99 99 90 " + sp(9) + "999 999999",
        "Nature of distress:" + sp(10) + "107" + sp(9) + "Undesignated distress",
        "Distress coordinates:" + sp(8) + "01 42 20 15 33 " + sp(9) + "NE latitude: 14.22\" longitude: 015.33\"",
        "Time:" + sp(24) + "88 88 " + sp(9) + "No information",
        "Subsequent communication:" + sp(4) + "100" + sp(9) + "F3E/G3E All modes telephony",
        "End of sequence:" + sp(13) + "127",
        "ECC:" + sp(25) + "57",
        "End of sequence:" + sp(13) + "127 127",
        kDashes,
        "",
        "",
        "VESSEL DATA:",
        "Vessel name:" + sp(8) + "Kapitan Dranitsyn",
        "Company owner:" + sp(6) + "Murmansk Shipping Co",
        "Category/tonnage:" + sp(3) + "Icebreaker/12919",
        "Company address:" + sp(4) + "15 Kominterna St, Murmansk",
        "Tel/Fax:" + sp(12) + "+7 8152 481000",
        "",
        "",
        "",
        "",
        "Radioengineer:" + sp(29) + "I. Petrov",
    });
    const QByteArray actual = kelpra::textReport(distressFields(), true);
    QCOMPARE(actual.count("\r\n"), 35);
    QCOMPARE(actual, expected);
}

void TestTextReport::emptyFieldsGiveCompleteCallReport()
{
    const QByteArray actual = kelpra::textReport(FieldTexts(), false);
    QVERIFY(actual.endsWith("\r\n"));
    const QList<QByteArray> lines = actual.chopped(1).split('\n');
    QCOMPARE(lines.size(), 37);
    for (const QByteArray &l : lines)
        QVERIFY2(l.endsWith('\r'), l.constData());   // CR LF everywhere, never a bare LF

    QCOMPARE(lines[0].chopped(1), kTitle);            // trailing blanks of the title kept
    QCOMPARE(lines[3].chopped(1), QByteArray("Model:             S/N: "));
    QCOMPARE(lines[5].chopped(1), QByteArray("Date: "));
    QCOMPARE(lines[9].chopped(1), QByteArray("Frequency:                   "));
    QCOMPARE(lines[12].chopped(1), QByteArray("Format Specifier:                     "));
    QCOMPARE(lines[12].chopped(1).size(), 38);
    QCOMPARE(lines[20].chopped(1), QByteArray("End of sequence:             "));
    QCOMPARE(lines[27].chopped(1), QByteArray("Vessel name: "));
    QCOMPARE(lines[31].chopped(1), QByteArray("Tel/Fax: "));
    QCOMPARE(lines[36].chopped(1), QByteArray("Radioengineer:                             "));
    QCOMPARE(lines[36].chopped(1).size(), 43);
}

void TestTextReport::lineCountFollowsPanelNotFields_data()
{
    QTest::addColumn<bool>("distressFieldsFilled");
    QTest::addColumn<bool>("distressShown");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QByteArray>("line13");

    QTest::newRow("call shown, stale distress fields")
        << true << false << 37 << QByteArray("Format Specifier:" + sp(12) + sp(9));
    QTest::newRow("distress shown") << true << true << 35
                                    << QByteArray("Format Specifier:" + sp(12) + "112" + sp(9) + "Distress");
    QTest::newRow("distress shown, its fields typed empty")
        << false << true << 35 << QByteArray("Format Specifier:" + sp(12) + sp(9));
}

void TestTextReport::lineCountFollowsPanelNotFields()
{
    QFETCH(bool, distressFieldsFilled);
    QFETCH(bool, distressShown);
    QFETCH(int, lines);
    QFETCH(QByteArray, line13);

    const FieldTexts fields = distressFieldsFilled ? distressFields() : FieldTexts();
    const QByteArray report = kelpra::textReport(fields, distressShown);
    QCOMPARE(report.count("\r\n"), lines);
    QCOMPARE(report.split('\n').at(12), line13 + "\r");
}

void TestTextReport::longDigitsShiftMeaning()
{
    FieldTexts f;
    f[Field::AddressDigits] = "100 101 102 103 104 105 106 107 ";
    f[Field::AddressMeaning] = "xyz";
    const QByteArray line14 = kelpra::textReport(f, false).split('\n').at(13);
    QCOMPARE(line14, "MMSI:" + sp(24) + "100 101 102 103 104 105 106 107 " + sp(9) + "xyz\r");
}

void TestTextReport::fieldBytesCopiedUnchanged()
{
    FieldTexts f;
    // "Капитан" typed into the vessel name, as the window hands it over.
    f[Field::VesselName] = kelpra::toText8(QString::fromUtf8("\xD0\x9A\xD0\xB0\xD0\xBF\xD0\xB8\xD1\x82\xD0\xB0\xD0\xBD"));
    f[Field::Engineer] = QByteArray("a\tb  ");
    const QByteArray report = kelpra::textReport(f, false);
    QVERIFY(report.contains("\r\nVessel name: \xCA\xE0\xEF\xE8\xF2\xE0\xED\r\n"));
    QVERIFY(report.endsWith("Radioengineer:" + sp(29) + "a\tb  \r\n"));
}

QTEST_GUILESS_MAIN(TestTextReport)
#include "test_text_report.moc"
