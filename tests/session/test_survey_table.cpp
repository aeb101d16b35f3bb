// The survey table of the core: each row as the window, the CSV and kelpra-tool show it,
// the summary, the CSV bytes, and the texts of a record worked out without showing it.
#include "data/sample_set.h"
#include "session/session.h"
#include "session/survey_table.h"

#include "support/dsc_records.h"

#include <QtTest>

#include <optional>

using namespace kelpra;
using kelpra::test::received;
using kelpra::test::sealed;

Q_DECLARE_METATYPE(std::optional<int>)

namespace {

// 102: the area 0140151020, safety, from ship 271000100 (Türkiye), test, no frequencies;
// the test set calls its right ECC wrong.
const QByteArray kAreaCall = received(
    sealed({102, 102, 1, 40, 15, 10, 20, 108, 27, 10, 0, 10, 0, 118, 126, 126, 126, 126, 126, 126, 126, 127}), '0');
// 116: routine, from ship 306123450, F3E/G3E on VHF channel 16 twice. Its frequency text
// holds a quote.
const QByteArray kAllShipsCall = received(
    sealed({116, 116, 100, 30, 61, 23, 45, 0, 100, 126, 90, 0, 16, 90, 0, 16, 127}), '1',
    QByteArrayLiteral("01 240523 1052 _ 156\"525 MHZ   "));
// 120: safety test call from ship 271000100 to coast station 002711000, both Türkiye.
const QByteArray kIndividualCall = received(
    sealed({120, 120, 0, 27, 11, 0, 0, 108, 27, 10, 0, 10, 0, 118, 126, 126, 126, 126, 126, 126, 126, 117}));

SurveyRow rowWithVerdict(int record, std::optional<CheckVerdict> verdict)
{
    SurveyRow row;
    row.record = record;
    row.empty = !verdict;
    row.check.verdict = verdict.value_or(CheckVerdict::Fail);
    return row;
}

} // namespace

class TestSurveyTable : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void rowCells_data();
    void rowCells();
    void summary_data();
    void summary();
    void csvFile();
    void textsWithRecordAsShown();
};

void TestSurveyTable::rowCells_data()
{
    QTest::addColumn<int>("record");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("cells");   // record, date, ..., verdict, findings
    QTest::addColumn<std::optional<int>>("category");
    QTest::addColumn<std::optional<int>>("firstTelecommand");
    const QString sampleDate = QStringLiteral("15.12.06 24:35");
    const QString date = QStringLiteral("24.05.23 10:52");
    QTest::newRow("individual call, sample 1")
        << 1 << sampleRecord(1)
        << QStringList{"1", sampleDate, "12577.0 kHZ", "128", "Individual stations", "Routine", "999999999", "",
                       "201323545 (Albania)", "F3E/G3E All modes telephony", "Ok", "fail",
                       "eos-mismatch ecc-mismatch verdict-disagrees mid-unallocated"}
        << std::optional<int>(100) << std::optional<int>(100);
    QTest::newRow("distress alert, sample 3")
        << 3 << sampleRecord(3)
        << QStringList{"3", sampleDate, "156.525 MHZ", "128", "Distress", "", "999999999", "", "all ships", "", "Ok",
                       "fail", "ecc-mismatch verdict-disagrees mid-unallocated"}
        << std::optional<int>() << std::optional<int>();
    QTest::newRow("individual call between flag states")
        << 2 << kIndividualCall
        << QStringList{"2", date, "2187.5 kHZ ", "140", "Individual stations", "Safety", "271000100",
                       QString::fromUtf8("Türkiye"), QString::fromUtf8("002711000 (Türkiye)"), "Test", "Ok", "pass",
                       ""}
        << std::optional<int>(108) << std::optional<int>(118);
    QTest::newRow("area call")
        << 4 << kAreaCall
        << QStringList{"4", date, "2187.5 kHZ ", "140", "Geographical Area", "Safety", "271000100",
                       QString::fromUtf8("Türkiye"), QString::fromUtf8("area 14°N 015°E, 10°×20°"), "Test", "Bad",
                       "warn", "verdict-disagrees"}
        << std::optional<int>(108) << std::optional<int>(118);
    QTest::newRow("all ships call")
        << 5 << kAllShipsCall
        << QStringList{"5", date, "156\"525 MHZ", "140", "All ships", "Routine", "306123450",
                       QString::fromUtf8("Curaçao; Sint Maarten (Dutch part); Bonaire, Sint Eustatius and Saba"),
                       "all ships", "F3E/G3E All modes telephony", "Ok", "pass", ""}
        << std::optional<int>(100) << std::optional<int>(100);
    QTest::newRow("unknown format")
        << 6 << received({105, 105, 20, 13, 23, 54, 50, 100, 99, 99, 99, 99, 90, 100, 126})
        << QStringList{"6", date, "2187.5 kHZ ", "140", "105", "", "", "", "", "", "Ok", "fail", "format-unknown"}
        << std::optional<int>() << std::optional<int>();
    QTest::newRow("empty slot") << 7 << QByteArray()
                                << QStringList{"7", "holds no data", "", "", "", "", "", "", "", "", "", "", ""}
                                << std::optional<int>() << std::optional<int>();
}

void TestSurveyTable::rowCells()
{
    QFETCH(int, record);
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, cells);
    QFETCH(std::optional<int>, category);
    QFETCH(std::optional<int>, firstTelecommand);
    const SurveyRow row = surveyRow(record, bytes);
    QStringList got;
    for (int c = 0; c < kSurveyColumnCount; ++c)
        got << surveyCell(row, static_cast<SurveyColumn>(c));
    QCOMPARE(got, cells);
    QCOMPARE(row.category, category);
    QCOMPARE(row.firstTelecommand, firstTelecommand);
    // The check is the one `kelpra-tool check` gives, an empty slot's too.
    QCOMPARE(row.check.findings, checkRecord(bytes).findings);
}

void TestSurveyTable::summary_data()
{
    QTest::addColumn<QList<int>>("counts");   // pass, warn, fail, empty
    QTest::addColumn<QString>("summary");
    QTest::newRow("mixed") << QList<int>{12, 3, 1, 0} << "16 records: 12 pass, 3 warn, 1 fail";
    QTest::newRow("one") << QList<int>{1, 0, 0, 0} << "1 record: 1 pass, 0 warn, 0 fail";
    QTest::newRow("one empty") << QList<int>{0, 8, 7, 1} << "16 records: 0 pass, 8 warn, 7 fail, 1 holds no data";
    QTest::newRow("all empty") << QList<int>{0, 0, 0, 2} << "2 records: 0 pass, 0 warn, 0 fail, 2 hold no data";
    QTest::newRow("none") << QList<int>{0, 0, 0, 0} << "0 records: 0 pass, 0 warn, 0 fail";
}

void TestSurveyTable::summary()
{
    QFETCH(QList<int>, counts);
    QFETCH(QString, summary);
    const std::optional<CheckVerdict> kinds[] = {CheckVerdict::Pass, CheckVerdict::Warn, CheckVerdict::Fail,
                                                 std::nullopt};
    QList<SurveyRow> rows;
    // Interleaved, as a survey has them.
    for (int round = 0; round < 16; ++round) {
        for (int k = 0; k < 4; ++k) {
            if (round < counts[k])
                rows.append(rowWithVerdict(static_cast<int>(rows.size()) + 1, kinds[k]));
        }
    }
    QCOMPARE(surveySummary(rows), summary);
}

void TestSurveyTable::csvFile()
{
    const QList<SurveyRow> rows{surveyRow(1, kIndividualCall), surveyRow(2, kAllShipsCall), surveyRow(3, QByteArray()),
                                surveyRow(4, sampleRecord(1))};
    const QByteArray expected =
        "\xEF\xBB\xBF"
        "record,date,frequency,rssi,format,category,self_mmsi,self_country,address,first_telecommand,tester_ecc,"
        "verdict,findings\r\n"
        "1,24.05.23 10:52,2187.5 kHZ ,140,Individual stations,Safety,271000100,T\xC3\xBCrkiye,"
        "002711000 (T\xC3\xBCrkiye),Test,Ok,pass,\r\n"
        "2,24.05.23 10:52,\"156\"\"525 MHZ\",140,All ships,Routine,306123450,"
        "\"Cura\xC3\xA7""ao; Sint Maarten (Dutch part); Bonaire, Sint Eustatius and Saba\",all ships,"
        "F3E/G3E All modes telephony,Ok,pass,\r\n"
        "3,holds no data,,,,,,,,,,,\r\n"
        "4,15.12.06 24:35,12577.0 kHZ,128,Individual stations,Routine,999999999,,201323545 (Albania),"
        "F3E/G3E All modes telephony,Ok,fail,eos-mismatch ecc-mismatch verdict-disagrees mid-unallocated\r\n";
    QCOMPARE(surveyCsv(rows), expected);
}

void TestSurveyTable::textsWithRecordAsShown()
{
    Session session;
    session.loadSampleSet();
    session.setText(Field::VesselName, "Baltic Star");
    for (int record = 1; record <= 16; ++record) {
        QVERIFY(session.showRecordAt(5));
        const FieldTexts onDisplay = session.texts();
        const RecordTexts worked = session.textsWithRecord(record);
        // Nothing on view changed.
        QCOMPARE(session.displayIndex(), 5);
        QCOMPARE(session.texts(), onDisplay);
        QVERIFY(session.showRecordAt(record));
        QCOMPARE(worked.distress, session.distressShown());
        // The counters name the record on display; everything else is as showing it leaves it.
        FieldTexts shown = session.texts();
        shown.insert(Field::CurrentRecord, onDisplay.value(Field::CurrentRecord));
        QCOMPARE(worked.texts, shown);
    }
}

QTEST_GUILESS_MAIN(TestSurveyTable)
#include "test_survey_table.moc"
