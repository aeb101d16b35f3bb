// The survey table of the core: each row as the window, the CSV and kelpra-tool show it,
// the CSV bytes and the summary. The texts of a record worked out without showing it are
// checked page by page against the protocol in test_survey_view.
#include "data/sample_set.h"
#include "session/survey_table.h"

#include "support/dsc_records.h"

#include <QtTest>

using namespace kelpra;
using kelpra::test::received;
using kelpra::test::sealed;

class TestSurveyTable : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void csvRow_data();
    void csvRow();
    void summary_data();
    void summary();
};

void TestSurveyTable::csvRow_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("line");   // the cells of record 7, as a line of the CSV file
    const QByteArray start = "7,24.05.23 10:52,2187.5 kHZ ,140,";   // the header received() gives
    QTest::newRow("distress alert, sample 3")
        << sampleRecord(3)
        << QByteArray("7,15.12.06 24:35,156.525 MHZ,128,Distress,,999999999,,all ships,,Ok,fail,"
                      "ecc-mismatch verdict-disagrees mid-unallocated");
    // 120: safety test call from ship 271000100 to coast station 002711000, both Türkiye.
    QTest::newRow("individual call between flag states")
        << received(sealed({120, 120, 0, 27, 11, 0, 0, 108, 27, 10, 0, 10, 0, 118, 126, 126, 126, 126, 126, 126, 126,
                            117}))
        << start + "Individual stations,Safety,271000100,T\xC3\xBCrkiye,002711000 (T\xC3\xBCrkiye),Test,Ok,pass,";
    // 102: the area 0140151020, safety, from ship 271000100, test, no frequencies; the test
    // set calls its right ECC wrong.
    QTest::newRow("area call")
        << received(sealed({102, 102, 1, 40, 15, 10, 20, 108, 27, 10, 0, 10, 0, 118, 126, 126, 126, 126, 126, 126, 126,
                            127}), '0')
        << start + "Geographical Area,Safety,271000100,T\xC3\xBCrkiye,"
                   "\"area 14\xC2\xB0N 015\xC2\xB0" "E, 10\xC2\xB0\xC3\x97" "20\xC2\xB0\",Test,Bad,warn,"
                   "verdict-disagrees";
    // 116: routine, from ship 306123450, F3E/G3E on VHF channel 16 twice; a quote in the
    // frequency text and commas in the country: quoted as RFC 4180 has it.
    QTest::newRow("all ships call")
        << received(sealed({116, 116, 100, 30, 61, 23, 45, 0, 100, 126, 90, 0, 16, 90, 0, 16, 127}), '1',
                    QByteArrayLiteral("01 240523 1052 _ 156\"525 MHZ   "))
        << QByteArray("7,24.05.23 10:52,\"156\"\"525 MHZ\",140,All ships,Routine,306123450,"
                      "\"Cura\xC3\xA7" "ao; Sint Maarten (Dutch part); Bonaire, Sint Eustatius and Saba\",all ships,"
                      "F3E/G3E All modes telephony,Ok,pass,");
    QTest::newRow("unknown format")
        << received({105, 105, 20, 13, 23, 54, 50, 100, 99, 99, 99, 99, 90, 100, 126})
        << start + "105,,,,,,Ok,fail,format-unknown";
    QTest::newRow("empty slot") << QByteArray() << QByteArray("7,holds no data,,,,,,,,,,,");
}

void TestSurveyTable::csvRow()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, line);
    // UTF-8 with a byte-order mark, the header of the column keys, CR LF line ends.
    QCOMPARE(surveyCsv({surveyRow(7, bytes)}),
             "\xEF\xBB\xBF"
             "record,date,frequency,rssi,format,category,self_mmsi,self_country,address,first_telecommand,tester_ecc,"
             "verdict,findings\r\n" + line + "\r\n");
}

void TestSurveyTable::summary_data()
{
    QTest::addColumn<QString>("verdicts");   // a row each: p pass, w warn, f fail, - holds no data
    QTest::addColumn<QString>("summary");
    QTest::newRow("mixed") << "ppppwppppfppwppw" << "16 records: 12 pass, 3 warn, 1 fail";
    QTest::newRow("one") << "p" << "1 record: 1 pass, 0 warn, 0 fail";
    QTest::newRow("one empty") << "wfwfwfwf-wfwfwfw" << "16 records: 0 pass, 8 warn, 7 fail, 1 holds no data";
    QTest::newRow("all empty") << "--" << "2 records: 0 pass, 0 warn, 0 fail, 2 hold no data";
    QTest::newRow("none") << "" << "0 records: 0 pass, 0 warn, 0 fail";
}

void TestSurveyTable::summary()
{
    QFETCH(QString, verdicts);
    QFETCH(QString, summary);
    QList<SurveyRow> rows;
    for (const QChar c : verdicts) {
        rows.append(SurveyRow());
        rows.last().empty = c == QLatin1Char('-');   // its check fails, yet it is counted apart
        rows.last().check.verdict = c == QLatin1Char('p')   ? CheckVerdict::Pass
                                    : c == QLatin1Char('w') ? CheckVerdict::Warn
                                                            : CheckVerdict::Fail;
    }
    QCOMPARE(surveySummary(rows), summary);
}

QTEST_GUILESS_MAIN(TestSurveyTable)
#include "test_survey_table.moc"
