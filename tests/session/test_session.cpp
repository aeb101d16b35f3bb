// The session alone, with no window: what a survey goes through, from the download to the
// saved file and the report, and what it says is unsaved on the way.

#include "data/navigation.h"
#include "data/sample_set.h"
#include "data/wire.h"
#include "files/data_file.h"
#include "report/text_report.h"
#include "session/session.h"

#include <QSignalSpy>
#include <QtTest>

using namespace kelpra;

namespace {

QList<QByteArray> sampleReplies()
{
    QList<QByteArray> replies{sampleIdentificationLine()};
    for (int k = 1; k <= wire::kRecordCount; ++k)
        replies << sampleRecord(k);
    return replies;
}

// The counters and arrows as the top line shows them: "received current total <>".
QString topLine(const Session &s)
{
    return QStringLiteral("%1 %2 %3 %4%5")
        .arg(QString::fromLatin1(s.text(Field::ReceivedCount)), QString::fromLatin1(s.text(Field::CurrentRecord)),
             QString::fromLatin1(s.text(Field::TotalRecords)), s.previousShown() ? "<" : "-",
             s.nextShown() ? ">" : "-");
}

} // namespace

class TestSession : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void surveyFromDownloadToReport();
    void unsavedIsWhatExitWouldLose_data();
    void unsavedIsWhatExitWouldLose();
    void guardsAndNotesNeverGoStale();
};

void TestSession::surveyFromDownloadToReport()
{
    Session s;
    QSignalSpy messages(&s, &Session::message);
    QCOMPARE(topLine(s), QStringLiteral("   ->"));
    QCOMPARE(s.statusText(), QStringLiteral("Please download the data from tester or load it from file."));

    // Download: the counters at once, the record once "Download Ok" has been read.
    s.downloadStarted();
    QCOMPARE(s.statusText(), kDecodeHint);
    s.acceptDownload(sampleReplies(), QStringLiteral("COM3"), QStringLiteral("/dev/ttyUSB2"),
                     QDateTime(QDate(2026, 12, 8), QTime(14, 3)));
    QCOMPARE(topLine(s), QStringLiteral("16 1 16 ->"));
    QCOMPARE(s.origin().kind, RecordOrigin::Kind::Download);
    QCOMPARE(s.fileNote(), QStringLiteral("Downloaded from COM3 at 14:03"));
    QVERIFY(s.text(Field::FormatDigits).isEmpty());
    s.decodeMessage();   // the decoded fields themselves: test_decode_navigation
    QCOMPARE(s.text(Field::FormatMeaning), QByteArray("Individual stations"));
    QCOMPARE(s.text(Field::Identification), identificationText(sampleIdentificationLine()));
    QCOMPARE(s.check()->verdict, checkRecord(sampleRecord(1)).verdict);

    // Steps: record 3 is a distress alert; the report takes its layout from the session.
    s.next();
    s.next();
    QCOMPARE(topLine(s), QStringLiteral("16 3 16 <>"));
    QVERIFY(s.distressShown());
    s.previous();
    s.previous();
    QVERIFY(!s.distressShown());

    // Typed over: the report writes what the fields show, not what was decoded.
    s.setText(Field::FormatMeaning, "typed over");
    s.setText(Field::VesselName, "Baltic Star");
    const QByteArray report = textReport(s.texts(), s.distressShown());
    QVERIFY(report.contains("Format Specifier:            120         typed over\r\n"));
    QVERIFY(report.contains("Vessel name: Baltic Star\r\n"));

    // Saved and loaded back: the same records and station lines, record 1 on display.
    const BuiltDataFile saved = s.fullSetFile();
    s.allSaved(QStringLiteral("/tmp/set.bin"));
    QCOMPARE(s.fileNote(), QStringLiteral("All records saved to set.bin"));
    const DataFileParse parsed = parseDataFile(saved.bytes);
    QVERIFY2(parsed.file, qPrintable(parsed.error));
    Session loaded;
    loaded.openFile(*parsed.file, QStringLiteral("/tmp/set.bin"));
    QCOMPARE(topLine(loaded), QStringLiteral("16 1 16 ->"));
    QCOMPARE(loaded.text(Field::VesselName), QByteArray("Baltic Star"));
    QCOMPARE(loaded.text(Field::FormatMeaning), QByteArray("Individual stations"));   // decoded afresh
    for (int k = 1; k <= wire::kRecordCount; ++k)
        QCOMPARE(loaded.store().slot(k), sampleRecord(k));
    QCOMPARE(loaded.fileNote(), QStringLiteral("Loaded set.bin: 16 records"));
    QVERIFY(messages.isEmpty());
}

void TestSession::unsavedIsWhatExitWouldLose_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<bool>("unsaved");
    QTest::newRow("nothing yet") << "" << false;
    QTest::newRow("downloaded") << "download" << true;
    QTest::newRow("downloaded, all saved") << "download save-all" << false;
    QTest::newRow("downloaded, one record saved") << "download save-one" << true;
    QTest::newRow("sample set") << "sample" << false;
    QTest::newRow("station line typed") << "sample type-station" << true;
    QTest::newRow("station line typed, one record saved") << "sample type-station save-one" << false;
    QTest::newRow("decoded field typed over") << "sample type-decoded" << false;
    QTest::newRow("controller lines") << "controller" << false;
    QTest::newRow("downloaded, then a file opened") << "download open" << false;
    QTest::newRow("file opened, station line typed") << "open type-station" << true;
}

void TestSession::unsavedIsWhatExitWouldLose()
{
    QFETCH(QString, steps);
    QFETCH(bool, unsaved);
    Session s;
    Session other;   // for a file to open
    other.loadSampleSet();
    const DataFileParse file = parseDataFile(other.fullSetFile().bytes);
    QVERIFY(file.file);
    for (const QString &step : steps.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (step == "download")
            s.acceptDownload(sampleReplies(), QStringLiteral("COM1"), QStringLiteral("/dev/ttyUSB0"));
        else if (step == "sample")
            s.loadSampleSet();
        else if (step == "open")
            s.openFile(*file.file, QStringLiteral("set.bin"));
        else if (step == "save-all")
            s.allSaved(QStringLiteral("set.bin"));
        else if (step == "save-one")
            s.recordSaved(QStringLiteral("one.bin"));
        else if (step == "type-station")
            s.setText(Field::VesselOwner, "Baltic Lines");
        else if (step == "type-decoded")
            s.setText(Field::CategoryMeaning, "x");
        else if (step == "controller")
            s.setControllerLines({"Co", "Tel", "Addr", "Eng"});
    }
    QCOMPARE(s.unsaved(), unsaved);
}

void TestSession::guardsAndNotesNeverGoStale()
{
    Session s;
    // A download replaces the note of a file loaded before; the sample set clears it.
    s.loadSampleSet();
    QVERIFY(s.sampleData());
    const DataFileParse file = parseDataFile(s.fullSetFile().bytes);
    s.openFile(*file.file, QStringLiteral("set.bin"));
    QVERIFY(s.fileNote().startsWith(QLatin1String("Loaded set.bin")));
    s.acceptDownload(sampleReplies(), QStringLiteral("COM2"), QStringLiteral("/dev/ttyUSB1"));
    QVERIFY(!s.sampleData());
    QVERIFY(s.fileNote().startsWith(QLatin1String("Downloaded from COM2")));
    s.loadSampleSet();
    QCOMPARE(s.fileNote(), QString());

    // A changed file is named as such until other data replaces it.
    s.openFile(*file.file, QStringLiteral("set.bin"), true);
    s.recordSaved(QStringLiteral("one.bin"));
    QCOMPARE(s.fileNote(), QStringLiteral("Record saved to one.bin \u2014 changed file"));
    s.loadSampleSet();
    QCOMPARE(s.fileNote(), QString());

    // Only the records held can be put on display.
    QVERIFY(!s.showRecordAt(17));
    QVERIFY(s.showRecordAt(16));
    QCOMPARE(topLine(s), QStringLiteral("16 16 16 <-"));
}

QTEST_GUILESS_MAIN(TestSession)
#include "test_session.moc"
