// kelpra-tool through its real executable: each command, its errors and exit codes, and
// agreement with what the window shows and writes for the same record.
#include "support/app_fixture.h"
#include "support/dsc_records.h"
#include "support/pdf_words.h"
#include "support/test_helpers.h"
#include "support/testset_process.h"

#include "data/measurement_store.h"
#include "data/sample_set.h"
#include "data/text8.h"
#include "dsc/record_decoder.h"
#include "files/data_file.h"
#include "files/file_io.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QToolButton>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace kelpra;
using kelpra::test::control;
using kelpra::test::AppFixture;

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

QString binary(const char *name)
{
    return qEnvironmentVariable("KELPRA_BIN_DIR") + QLatin1Char('/') + QLatin1String(name);
}

// `fileSizeLimit` > 0: the tool may not write a file beyond that many bytes (SIGXFSZ is
// ignored, so a write past it fails as on a full disk).
Run runTool(const QStringList &args, int timeoutMs = 20000, rlim_t fileSizeLimit = 0)
{
    QProcess process;
    if (fileSizeLimit > 0) {
        process.setChildProcessModifier([fileSizeLimit] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{fileSizeLimit, fileSizeLimit};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        });
    }
    process.start(binary("kelpra-tool"), args);
    Run run;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

StationLines typedStation()
{
    return {QByteArray("Sailor 6222"), QByteArray("SN-0042"), QByteArray("Thrane"),
            QByteArray("\xCC\xE0\xF0\xE8\xFF"), // "Мария" in Windows-1251
            QByteArray("Baltic Lines"), QByteArray("5000 t"), QByteArray("Riga, Krasta 1"),
            QByteArray("+371 000 000")};
}

// The sample set as a full-set data file, written the way "Save all data" writes it.
QString writeSampleFile(const QString &name, bool markedAsSampleSet = false)
{
    MeasurementStore store;
    store.setSlot(0, sampleIdentificationLine());
    for (int slot = 1; slot <= 16; ++slot)
        store.setSlot(slot, sampleRecord(slot));
    store.setFromSampleSet(markedAsSampleSet);
    const QString path = test::here(name);
    if (writeWholeFile(path, buildFullSetFile(store, typedStation()).bytes))
        return QString();
    return path;
}

QString writeFullSet(const QString &name, const QList<QByteArray> &records)
{
    MeasurementStore store;
    store.setSlot(0, sampleIdentificationLine());
    for (int i = 0; i < records.size(); ++i)
        store.setSlot(i + 1, records[i]);
    const QString path = test::here(name);
    return writeWholeFile(path, buildFullSetFile(store, StationLines{}).bytes) ? QString() : path;
}

bool isInteger(const QJsonValue &value, int expected)
{
    return value.isDouble() && value.toDouble() == expected;
}

} // namespace

class TestKelpraTool : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void usageAndHelp_data();
    void usageAndHelp();
    void failuresAreOneLineAndExitTwo_data();
    void failuresAreOneLineAndExitTwo();
    void decodeAndReportAgreeWithTheWindow_data();
    void decodeAndReportAgreeWithTheWindow();
    void decodeReportsTheFormatSpecifierMessage();
    void decodeCarriesTheCheck();
    void checkOverTheSampleSet();
    void checkExitCodes_data();
    void checkExitCodes();
    void reportToFileAndItsErrors();
    void printPdfWritesOnePage();
    void downloadFromTheVirtualTestSet();
    void downloadFromASilentTestSetFails();
    void downloadKeepsRecordsHoldingCrLf();
    void downloadChecksItsOutputFirst();
    void failedWriteKeepsTheOldFile_data();
    void failedWriteKeepsTheOldFile();
    void printPdfToAFullDeviceFails();
    void outputToStandardOutput();
    void refusesWhatIsNoDataFile_data();
    void refusesWhatIsNoDataFile();
    void downloadFailuresSayWhy_data();
    void downloadFailuresSayWhy();
    void downloadNamesShiftedRecords();
    void changedAndRepairedFiles_data();
    void changedAndRepairedFiles();
    void downloadEscapesTheIdentification();
    void surveyOfADownloadedSet();

private:
    QString sampleFile;
};

void TestKelpraTool::initTestCase()
{
    QVERIFY(QFile::exists(binary("kelpra-tool")));
    // The engineer comes from details.txt in the current directory, for window and tool alike.
    QVERIFY(!writeWholeFile(QStringLiteral("details.txt"),
                            QByteArray("Survey Co\r\n+1 555\r\nHarbour 2\r\n\xC8\xE2\xE0\xED Petrov\r\n")));
    sampleFile = writeSampleFile(QStringLiteral("samples.bin"));
    QVERIFY(!sampleFile.isEmpty());
    // A single-record file whose record line is empty: slot 1 stays empty.
    QVERIFY(!writeWholeFile(QStringLiteral("norecord.bin"), QByteArray("0\r\n\r\n") + QByteArray("\r\n").repeated(8)));
}

void TestKelpraTool::usageAndHelp_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("outputHas");
    QTest::newRow("no command") << QStringList() << 1 << QString();
    QTest::newRow("unknown command") << QStringList{"frobnicate"} << 1 << QString();
    QTest::newRow("version") << QStringList{"--version"} << 0 << QStringLiteral("kelpra-tool 2.5.0");
    QTest::newRow("help") << QStringList{"--help"} << 0 << QStringLiteral("print-pdf");
    QTest::newRow("decode help") << QStringList{"decode", "--help"} << 0 << QStringLiteral("--record");
    QTest::newRow("report help") << QStringList{"report", "--help"} << 0 << QStringLiteral("--output");
    QTest::newRow("print-pdf help") << QStringList{"print-pdf", "--help"} << 0 << QStringLiteral("PDF");
    QTest::newRow("download help") << QStringList{"download", "--help"} << 0 << QStringLiteral("--port");
    QTest::newRow("check help") << QStringList{"check", "--help"} << 0 << QStringLiteral("--json");
    QTest::newRow("help names check") << QStringList{"--help"} << 0 << QStringLiteral("check DATAFILE [--json]");
    QTest::newRow("check without file") << QStringList{"check"} << 1 << QString();
    QTest::newRow("check with --record") << QStringList{"check", "x.bin", "--record", "2"} << 1 << QString();
    QTest::newRow("decode without file") << QStringList{"decode"} << 1 << QString();
    QTest::newRow("record not a number") << QStringList{"decode", "x.bin", "--record", "two"} << 1 << QString();
    QTest::newRow("unknown option") << QStringList{"report", "x.bin", "--colour"} << 1 << QString();
    QTest::newRow("print-pdf without output") << QStringList{"print-pdf", "x.bin"} << 1 << QString();
    QTest::newRow("download without port") << QStringList{"download", "--output", "o.bin"} << 1 << QString();
    QTest::newRow("survey help") << QStringList{"survey", "--help"} << 0 << QStringLiteral("--csv FILE");
    QTest::newRow("help names survey") << QStringList{"--help"} << 0 << QStringLiteral("survey DATAFILE");
    QTest::newRow("survey, two outputs") << QStringList{"survey", "x.bin", "--json", "--pdf", "s.pdf"} << 1 << QString();
}

void TestKelpraTool::usageAndHelp()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, outputHas);
    const Run run = runTool(args);
    QCOMPARE(run.exitCode, exitCode);
    if (!outputHas.isEmpty())
        QVERIFY2(run.out.contains(outputHas.toUtf8()), run.out.constData());
    if (exitCode != 0)
        QVERIFY(!run.err.trimmed().isEmpty());
}

void TestKelpraTool::failuresAreOneLineAndExitTwo_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("errorHas");
    QTest::newRow("missing file") << QStringList{"decode", "missing.bin"} << QStringLiteral("File not found.");
    QTest::newRow("missing folder") << QStringList{"report", "no/such/dir.bin"} << QStringLiteral("Invalid filename.");
    QTest::newRow("not a data file") << QStringList{"decode", "details.txt"} << QStringLiteral("Invalid numeric input.");
    QTest::newRow("check missing file") << QStringList{"check", "missing.bin"} << QStringLiteral("File not found.");
    QTest::newRow("check not a data file") << QStringList{"check", "details.txt", "--json"}
                                           << QStringLiteral("Invalid numeric input.");
    QTest::newRow("record 0") << QStringList{"decode", "samples.bin", "--record", "0"} << QStringLiteral("record 0");
    QTest::newRow("record 17") << QStringList{"report", "samples.bin", "--record", "17"} << QStringLiteral("record 17");
    QTest::newRow("pdf record 20") << QStringList{"print-pdf", "samples.bin", "--record", "20", "--output", "p.pdf"}
                                   << QStringLiteral("record 20");
    QTest::newRow("decode empty record") << QStringList{"decode", "norecord.bin"}
                                         << QStringLiteral("Record 1 holds no data.");
    QTest::newRow("report empty record") << QStringList{"report", "norecord.bin", "--output", "empty.txt"}
                                         << QStringLiteral("Record 1 holds no data.");
    QTest::newRow("pdf empty record") << QStringList{"print-pdf", "norecord.bin", "--output", "empty.pdf"}
                                      << QStringLiteral("Record 1 holds no data.");
}

void TestKelpraTool::failuresAreOneLineAndExitTwo()
{
    QFETCH(QStringList, args);
    QFETCH(QString, errorHas);
    const Run run = runTool(args);
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.out.isEmpty());
    QVERIFY2(run.err.contains(errorHas.toUtf8()), run.err.constData());
    // A failed command leaves no output file behind.
    if (const qsizetype output = args.indexOf(QStringLiteral("--output")); output >= 0)
        QVERIFY(!QFile::exists(args.at(output + 1)));
    QCOMPARE(run.err.count('\n'), 1);
}

void TestKelpraTool::decodeAndReportAgreeWithTheWindow_data()
{
    QTest::addColumn<int>("record");
    for (int n = 1; n <= 16; ++n)
        QTest::newRow(qPrintable(QStringLiteral("record %1").arg(n))) << n;
}

void TestKelpraTool::decodeAndReportAgreeWithTheWindow()
{
    QFETCH(int, record);
    // The window: "Open data" of the file, then Next to the record.
    AppFixture f;
    f.prompts.expectOpenFile(sampleFile);
    control<QToolButton>(f.mainWindow(), "SpeedButton1")->click();
    for (int i = 1; i < record; ++i)
        control<QToolButton>(f.mainWindow(), "Next")->click();
    QCOMPARE(f.store().displayIndex(), record);
    const QString reportPath = QDir::current().absoluteFilePath(QStringLiteral("window_report.txt"));
    f.prompts.expectSaveFile(reportPath);
    control<QToolButton>(f.mainWindow(), "SpeedButton4")->click();
    KELPRA_VERIFY_PROMPTS(f.prompts);

    // The tool: decode.
    const Run decode = runTool({"decode", sampleFile, "--record", QString::number(record)});
    QCOMPARE(decode.exitCode, 0);
    QJsonParseError error;
    const QJsonObject json = QJsonDocument::fromJson(decode.out, &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(json.value("record").toInt(), record);
    const bool distress = !control<QFrame>(f.mainWindow(), "Distress")->isHidden();
    QCOMPARE(json.value("distress").toBool(), distress);
    QVERIFY(json.value("messages").toArray().isEmpty());
    const QJsonObject fields = json.value("fields").toObject();
    QCOMPARE(fields.contains(QLatin1String("ECCCDheck")), distress);
    QCOMPARE(fields.contains(QLatin1String("ECCCheck")), !distress);
    QCOMPARE(fields.size(), distress ? 4 + 16 : 4 + 20);
    for (auto it = fields.begin(); it != fields.end(); ++it) {
        const std::optional<Field> field = fieldByName(it.key());
        QVERIFY2(field, qPrintable(it.key()));
        QCOMPARE(it.value().toString(), f.mainWindow().fieldText(*field));
    }

    // The tool: report, byte for byte the window's file.
    const Run report = runTool({"report", sampleFile, "--record", QString::number(record)});
    QCOMPARE(report.exitCode, 0);
    QByteArray windowReport;
    QVERIFY(!readWholeFile(reportPath, &windowReport));
    QCOMPARE(report.out, windowReport);
    QVERIFY(report.out.contains("\xC8\xE2\xE0\xED Petrov")); // the engineer, from details.txt
}

void TestKelpraTool::decodeReportsTheFormatSpecifierMessage()
{
    QByteArray record = sampleRecord(1);
    record[39] = char(116); // position 40: the second format specifier differs
    const QString path = QDir::current().absoluteFilePath(QStringLiteral("mismatch.bin"));
    QVERIFY(!writeWholeFile(path, buildSingleRecordFile(record, StationLines{}, false).bytes));
    const Run run = runTool({"decode", path});
    QCOMPARE(run.exitCode, 0);
    const QJsonObject json = QJsonDocument::fromJson(run.out).object();
    QCOMPARE(json.value("messages").toArray(), QJsonArray{QStringLiteral("Error in format specifier.")});
    QCOMPARE(json.value("fields").toObject().value(QLatin1String("FSdigit")).toString(), QStringLiteral("120"));
    // A single-record file has record 1 only.
    QCOMPARE(runTool({"decode", path, "--record", "2"}).exitCode, 2);
}

void TestKelpraTool::decodeCarriesTheCheck()
{
    // Record 1: a call from an aid to navigation to a ship, ECC 76 received, 35 computed.
    const Run call = runTool({"decode", sampleFile, "--record", "1"});
    QCOMPARE(call.exitCode, 0);
    QVERIFY2(call.out.contains("\"messages\": [], \"check\": {\"verdict\": \"fail\", \"kind\": \"call\", "
                               "\"format\": 120, \"ecc\": {\"received\": 76, \"computed\": 35, \"match\": false}"),
             call.out.constData());
    const QJsonObject check = QJsonDocument::fromJson(call.out).object().value("check").toObject();
    QCOMPARE(check.keys(),
             (QStringList{"address", "distressed", "ecc", "findings", "format", "kind", "self", "verdict"}));
    // An identity's members in this order; MID 999 has no flag state.
    QVERIFY2(call.out.contains("\"self\": {\"mmsi\": \"999999999\", \"equipment\": 0, \"type\": "
                               "\"aid-to-navigation\", \"mid\": 999, \"country\": null, \"iso\": null, "
                               "\"region\": null}"),
             call.out.constData());
    const QJsonObject address = check.value("address").toObject();
    QCOMPARE(address.value("mmsi"), QJsonValue("201323545"));
    QVERIFY(isInteger(address.value("equipment"), 0));
    QVERIFY(isInteger(address.value("mid"), 201));
    QCOMPARE(address.value("country"), QJsonValue("Albania"));
    QCOMPARE(address.value("iso"), QJsonValue("AL"));
    QCOMPARE(address.value("region"), QJsonValue("Europe"));
    QVERIFY(check.value("distressed").isNull());
    QStringList codes;
    for (const QJsonValue &finding : check.value("findings").toArray()) {
        const QJsonObject f = finding.toObject();
        QCOMPARE(f.keys(), (QStringList{"code", "severity", "text"}));
        QVERIFY(f.value("severity") == QJsonValue("fail") || f.value("severity") == QJsonValue("warn"));
        QVERIFY(f.value("text").toString().endsWith(QLatin1Char('.')));
        codes << f.value("code").toString();
    }
    QCOMPARE(codes, (QStringList{"eos-mismatch", "ecc-mismatch", "verdict-disagrees", "mid-unallocated"}));

    // Record 3: a distress alert, which has neither address nor a ship in distress of another.
    const Run alert = runTool({"decode", sampleFile, "--record", "3"});
    const QJsonObject distress = QJsonDocument::fromJson(alert.out).object().value("check").toObject();
    QCOMPARE(distress.value("kind"), QJsonValue("distress-alert"));
    QVERIFY(isInteger(distress.value("format"), 112));
    const QJsonObject ecc = distress.value("ecc").toObject();
    QVERIFY(isInteger(ecc.value("received"), 57));
    QVERIFY(isInteger(ecc.value("computed"), 75));
    QCOMPARE(ecc.value("match"), QJsonValue(false));
    QVERIFY(distress.value("address").isNull());
    QVERIFY(distress.value("distressed").isNull());
    QCOMPARE(distress.value("self").toObject().value("mmsi"), QJsonValue("999999999"));
}

void TestKelpraTool::checkOverTheSampleSet()
{
    const QList<int> failing{1, 2, 3, 6, 7, 11, 12, 16};
    const Run text = runTool({"check", sampleFile});
    QCOMPARE(text.exitCode, 3);
    QVERIFY(text.err.isEmpty());
    const QList<QByteArray> lines = text.out.trimmed().split('\n');
    QCOMPARE(lines.size(), 16);
    for (int n = 1; n <= 16; ++n) {
        const QStringList words = QString::fromUtf8(lines[n - 1]).simplified().split(QLatin1Char(' '));
        QCOMPARE(words.value(0), QString::number(n));
        QCOMPARE(words.value(4), failing.contains(n) ? QStringLiteral("fail") : QStringLiteral("warn"));
    }
    QCOMPARE(lines[0].simplified(),
             QByteArray("1 call 999999999 aid-to-navigation fail eos-mismatch ecc-mismatch verdict-disagrees "
                        "mid-unallocated"));

    const Run json = runTool({"check", sampleFile, "--json"});
    QCOMPARE(json.exitCode, 3);
    QJsonParseError error;
    const QJsonArray checks = QJsonDocument::fromJson(json.out, &error).array();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(checks.size(), 16);
    for (int n = 1; n <= 16; ++n) {
        const QJsonObject check = checks[n - 1].toObject();
        QVERIFY(isInteger(check.value("record"), n));
        QCOMPARE(check.value("verdict").toString(),
                 failing.contains(n) ? QStringLiteral("fail") : QStringLiteral("warn"));
        QCOMPARE(check.size(), 9);
    }
    QVERIFY(isInteger(checks[2].toObject().value("ecc").toObject().value("received"), 57));
    QVERIFY(isInteger(checks[2].toObject().value("ecc").toObject().value("computed"), 75));
}

void TestKelpraTool::checkExitCodes_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("output");

    // Two calls received off the air from correct equipment.
    const QByteArray alert = test::received({112, 112, 25, 58, 5, 99, 70, 107, 4, 52, 60, 13, 7, 12, 52, 109, 127, 52,
                                           127, 127});
    const QByteArray safety = test::received({116, 116, 108, 0, 23, 71, 0, 0, 109, 126, 4, 12, 50, 4, 12, 50, 127, 36,
                                            127, 127});
    // The calling station's column is as wide as its widest MMSI and flag state.
    QTest::newRow("correct calls pass")
        << writeFullSet(QStringLiteral("correct.bin"), {alert, safety}) << 0
        << QByteArray(" 1  distress-alert            255805997 (Madeira)  ship                    pass\n"
                      " 2  call                      002371000 (Greece)   coast                   pass\n");
    QByteArray brokenSafety = safety;
    brokenSafety[45] = char(100); // position 46, the self-identification's fifth symbol
    QTest::newRow("a failing record")
        << writeFullSet(QStringLiteral("broken.bin"), {alert, brokenSafety}) << 3
        << QByteArray(" 1  distress-alert            255805997 (Madeira)  ship                    pass\n"
                      " 2  call                      -                    invalid                 fail  symbol-invalid "
                      "ecc-mismatch verdict-disagrees\n");
    // A flag state longer than "United States of America" is not aligned with the others.
    QByteArray curacao = safety;
    curacao[41] = char(30); // self 0 23 71 0 0 becomes 30 61 71 0 0: 306171000, MID 306
    curacao[42] = char(61);
    curacao[55] = char(curacao[55] ^ 30 ^ 23 ^ 61); // the ECC at position 56
    QTest::newRow("a long flag state")
        << writeFullSet(QStringLiteral("long.bin"), {alert, curacao}) << 0
        << QByteArray(" 1  distress-alert            255805997 (Madeira)  ship                    pass\n"
                      " 2  call                      306171000 (Cura\xc3\xa7" "ao; Sint Maarten (Dutch part); Bonaire, "
                      "Sint Eustatius and Saba)  ship                    pass\n");
    const QString noRecord = QDir::current().absoluteFilePath(QStringLiteral("no_record.bin"));
    QVERIFY(!writeWholeFile(noRecord, buildSingleRecordFile(QByteArray(), StationLines{}, false).bytes));
    QTest::newRow("single-record file without its record")
        << noRecord << 3
        << QByteArray(" 1  unknown                   -          -                       fail  record-short\n");
    const QString none = QDir::current().absoluteFilePath(QStringLiteral("none.bin"));
    QVERIFY(!writeWholeFile(none, buildFullSetFile(MeasurementStore(), StationLines{}).bytes));
    QTest::newRow("full set without records") << none << 0 << QByteArray();
}

void TestKelpraTool::checkExitCodes()
{
    QFETCH(QString, file);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, output);
    QVERIFY(QFile::exists(file));
    const Run text = runTool({"check", file});
    QCOMPARE(text.exitCode, exitCode);
    QCOMPARE(text.out, output);
    const Run json = runTool({"check", file, "--json"});
    QCOMPARE(json.exitCode, exitCode);
    QJsonParseError error;
    const QJsonArray checks = QJsonDocument::fromJson(json.out, &error).array();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(checks.size(), int(output.count('\n')));
}

void TestKelpraTool::reportToFileAndItsErrors()
{
    const Run ok = runTool({"report", sampleFile, "--record", "3", "--output", "distress.txt"});
    QCOMPARE(ok.exitCode, 0);
    QVERIFY(ok.out.isEmpty());
    QByteArray bytes;
    QVERIFY(!readWholeFile(QStringLiteral("distress.txt"), &bytes));
    QCOMPARE(bytes.count("\r\n"), 35);
    // A path under a regular file cannot be created.
    const Run bad = runTool({"report", sampleFile, "--output", "details.txt/report.txt"});
    QCOMPARE(bad.exitCode, 2);
    QVERIFY2(bad.err.contains("Invalid filename."), bad.err.constData());
}

void TestKelpraTool::printPdfWritesOnePage()
{
    const Run run = runTool({"print-pdf", sampleFile, "--record", "3", "--output", "page.pdf"});
    QCOMPARE(run.exitCode, 0);
    QByteArray pdf;
    QVERIFY(!readWholeFile(QStringLiteral("page.pdf"), &pdf));
    QVERIFY(pdf.startsWith("%PDF"));
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {"-layout", "page.pdf", "-"});
    QVERIFY(text.waitForFinished(20000));
    const QString page = QString::fromUtf8(text.readAllStandardOutput());
    QVERIFY2(page.contains(QStringLiteral("PROTOCOL OF GMDSS RADIO SET TESTING")), qPrintable(page));
    QVERIFY(page.contains(QStringLiteral("Nature of Distress:")));
    QVERIFY(page.contains(QStringLiteral("Undesignated distress")));
    QVERIFY(page.contains(QString::fromUtf8("Мария")));
    QCOMPARE(page.count(QLatin1Char('\f')), 1);

    // The same metadata as the window's export: what it is, whose, and what made it.
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {"page.pdf"});
    QVERIFY(info.waitForFinished(20000));
    const QString meta = QString::fromUtf8(info.readAllStandardOutput());
    const QRegularExpression title(QStringLiteral("^Title: +PROTOCOL OF GMDSS RADIO SET TESTING \u2014 .*Мария.*, 15\\.12\\.06 24:35$"),
                                   QRegularExpression::MultilineOption);
    QVERIFY2(title.match(meta).hasMatch(), qPrintable(meta));
    QVERIFY2(meta.contains(QRegularExpression(QStringLiteral("^Creator: +Kelpra 2\\.5\\.0$"),
                                              QRegularExpression::MultilineOption)),
             qPrintable(meta));

    // No mark on real records; the sample set's page carries it, as in the window.
    QVERIFY(pdfSampleMark(readPdfWords(QStringLiteral("page.pdf"))).isEmpty());
    QCOMPARE(runTool({"print-pdf", writeSampleFile(QStringLiteral("sampleset.bin"), true), "--output", "sample.pdf"}).exitCode, 0);
    QCOMPARE(pdfSampleMark(readPdfWords(QStringLiteral("sample.pdf"))), QStringLiteral("SAMPLEDATA"));

    // A folder in the way: refused, and nothing is left behind.
    QVERIFY(QDir().mkdir(QStringLiteral("taken.pdf")));
    const Run bad = runTool({"print-pdf", sampleFile, "--output", "taken.pdf"});
    QCOMPARE(bad.exitCode, 2);
    QVERIFY2(bad.err.contains("taken.pdf: File access denied."), bad.err.constData());
    QVERIFY(QFileInfo(QStringLiteral("taken.pdf")).isDir());
}

void TestKelpraTool::downloadFromTheVirtualTestSet()
{
    const test::TestSetProcess testset({});
    QVERIFY2(testset.path.startsWith(QLatin1String("/dev/")), qPrintable(testset.path));
    const Run run = runTool({"download", "--port", testset.path, "--output", "downloaded.bin"});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.startsWith("GMDSS TESTER"), run.out.constData());
    // Progress on standard error: one line per stored reply, then the verdict.
    QVERIFY2(run.err.contains("reply 16 of 17 received\nDownload Ok\n"), run.err.constData());
    QByteArray bytes;
    QVERIFY(!readWholeFile(QStringLiteral("downloaded.bin"), &bytes));
    const DataFileParse parse = parseDataFile(bytes);
    QVERIFY(parse.file);
    QCOMPARE(parse.file->kind, DataFileKind::FullSet);
    QCOMPARE(parse.file->records.size(), 16);
    for (int k = 1; k <= 16; ++k)
        QCOMPARE(parse.file->records[k - 1], sampleRecord(k));
    for (const QByteArray &line : parse.file->station)
        QVERIFY(line.isEmpty());
}

void TestKelpraTool::downloadFromASilentTestSetFails()
{
    const test::TestSetProcess testset({"--fault", "silent"});
    QVERIFY(!testset.path.isEmpty());
    const Run run = runTool({"download", "--port", testset.path, "--output", "never.bin"});
    QCOMPARE(run.exitCode, 2);
    // The cause, naming the device it was given, and nothing else on the line.
    QCOMPARE(run.err, "kelpra-tool: No answer from COM1 (" + testset.path.toLocal8Bit() + ").\n");
    QVERIFY(!QFile::exists(QStringLiteral("never.bin")));
}

void TestKelpraTool::downloadFailuresSayWhy_data()
{
    QTest::addColumn<QStringList>("faults");
    QTest::addColumn<QString>("port");    // empty: the test set's device
    QTest::addColumn<QString>("cause");
    QTest::newRow("short reply 8") << QStringList{"--fault", "short", "--fault-record", "7"} << QString()
                                   << "Reply 8 of 17 incomplete (40 bytes) when the 2 s limit ran out.";
    QTest::newRow("hang-up after reply 8") << QStringList{"--fault", "hangup", "--fault-record", "7"} << QString()
                                           << "The port closed: ";
    QTest::newRow("absent device") << QStringList{} << "/dev/kelpra-no-such-device"
                                   << "Cannot open /dev/kelpra-no-such-device: ";
}

void TestKelpraTool::downloadFailuresSayWhy()
{
    QFETCH(QStringList, faults);
    QFETCH(QString, port);
    QFETCH(QString, cause);
    const test::TestSetProcess testset(faults);
    QVERIFY(!testset.path.isEmpty());
    const Run run = runTool({"download", "--port", port.isEmpty() ? testset.path : port, "--output", "never.bin"});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains("\nkelpra-tool: " + cause.toLocal8Bit()) || run.err.startsWith("kelpra-tool: " + cause.toLocal8Bit()),
             run.err.constData());
    QVERIFY2(run.err.endsWith(".\n") && run.err.count("kelpra-tool: ") == 1, run.err.constData());
    QVERIFY(!QFile::exists(QStringLiteral("never.bin")));
}

void TestKelpraTool::downloadNamesShiftedRecords()
{
    const test::TestSetProcess testset({"--fault", "noise", "--fault-record", "2"});
    const Run run = runTool({"download", "--port", testset.path, "--output", "shifted.bin"});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.err.contains("Download Ok\nRecord 2 does not look like a measurement record: stray bytes on the "
                              "line may have shifted it. Download again to be sure.\n"),
             run.err.constData());
    QVERIFY(QFile::exists(QStringLiteral("shifted.bin")));
}

void TestKelpraTool::downloadKeepsRecordsHoldingCrLf()
{
    // The test set sends records whose bytes hold 13, 10: as measurement number 3338, in an
    // MMSI, as a distress time 13:10 and at positions 63-64.
    MeasurementStore store;
    store.setSlot(0, sampleIdentificationLine());
    QList<QByteArray> records;
    for (int k = 1; k <= 16; ++k) {
        QByteArray r = sampleRecord(k);
        const int at = (k - 1) % 4;
        const int position = at == 0 ? 1 : at == 1 ? 42 : at == 2 ? 52 : 63;
        if (at == 2)
            r[38] = r[39] = char(112);
        r[position - 1] = '\r';
        r[position] = '\n';
        records << r;
        store.setSlot(k, r);
    }
    const QString source = QDir::current().absoluteFilePath(QStringLiteral("crlf-source.bin"));
    QVERIFY(!writeWholeFile(source, buildFullSetFile(store, StationLines{}).bytes));

    const test::TestSetProcess testset({"--records", source});
    QVERIFY(!testset.path.isEmpty());
    const Run run = runTool({"download", "--port", testset.path, "--output", "crlf.bin"});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.err.endsWith("Download Ok\n"), run.err.constData()); // and no warning
    QByteArray bytes;
    QVERIFY(!readWholeFile(QStringLiteral("crlf.bin"), &bytes));
    const DataFileParse parse = parseDataFile(bytes);
    QVERIFY2(parse.file, qPrintable(parse.error));
    QCOMPARE(parse.file->records, records);

    // decode and report see the records as the test set sent them.
    for (int k : {1, 2, 3, 4, 16}) {
        const Run decode = runTool({"decode", "crlf.bin", "--record", QString::number(k)});
        QCOMPARE(decode.exitCode, 0);
        const QJsonObject fields = QJsonDocument::fromJson(decode.out).object().value("fields").toObject();
        const FieldTexts expected = decodeRecord(records[k - 1]).fields();
        QCOMPARE(fields.size(), expected.size());
        for (auto it = expected.begin(); it != expected.end(); ++it)
            QCOMPARE(fields.value(fieldKey(it.key())).toString(), fromText8(it.value()));
    }
    const Run decode1 = runTool({"decode", "crlf.bin"});
    QCOMPARE(QJsonDocument::fromJson(decode1.out).object().value("fields").toObject().value("MNO").toString(),
             QStringLiteral("3338"));
    QCOMPARE(runTool({"report", "crlf.bin", "--record", "3"}).out, runTool({"report", source, "--record", "3"}).out);
}

void TestKelpraTool::downloadChecksItsOutputFirst()
{
    // With a folder that does not exist the download never starts: the answer is about the
    // file at once, not about a test set that does not answer.
    const Run run = runTool({"download", "--port", "/dev/kelpra-no-such-port", "--output", "no/such/dir/dl.bin"});
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.err, QByteArray("kelpra-tool: no/such/dir/dl.bin: Invalid filename.\n"));
    QVERIFY(run.out.isEmpty());
}

void TestKelpraTool::failedWriteKeepsTheOldFile_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("download");
    QTest::newRow("report") << QStringList{"report", "samples.bin", "--record", "2", "--output", "kept"} << false;
    QTest::newRow("print-pdf") << QStringList{"print-pdf", "samples.bin", "--output", "kept"} << false;
    QTest::newRow("download") << QStringList{"download", "--output", "kept"} << true;
}

void TestKelpraTool::failedWriteKeepsTheOldFile()
{
    QFETCH(QStringList, args);
    QFETCH(bool, download);
    QDir dir(QDir::current().absoluteFilePath(QStringLiteral("limited")));
    dir.removeRecursively();
    QVERIFY(QDir::current().mkdir(QStringLiteral("limited")));
    const QString kept = dir.filePath(QStringLiteral("kept"));
    const QByteArray old = QByteArray("the file from before\r\n").repeated(10);
    QVERIFY(!writeWholeFile(kept, old));
    args.replace(args.indexOf("kept"), kept);

    std::unique_ptr<test::TestSetProcess> testset;
    if (download) {
        testset = std::make_unique<test::TestSetProcess>(QStringList{});
        QVERIFY(!testset->path.isEmpty());
        args << "--port" << testset->path;
    }
    // Every file the tool would write is far larger than this.
    const Run run = runTool(args, 20000, 400);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.endsWith(QStringLiteral("kelpra-tool: %1: I/O error %2.\n").arg(kept).arg(EFBIG).toUtf8()),
             run.err.constData());
    QByteArray now;
    QVERIFY(!readWholeFile(kept, &now));
    QCOMPARE(now, old);
    QCOMPARE(dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"kept"});
    // A download is not called good before its file is in place.
    QVERIFY2(!run.err.contains("Download Ok"), run.err.constData());
}

void TestKelpraTool::printPdfToAFullDeviceFails()
{
    if (!QFileInfo::exists(QStringLiteral("/dev/full")))
        QSKIP("no /dev/full here");
    const Run run = runTool({"print-pdf", sampleFile, "--output", "/dev/full"});
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.err, QByteArray("kelpra-tool: /dev/full: Disk full.\n"));
}

void TestKelpraTool::outputToStandardOutput()
{
    // A device is written directly, never replaced.
    const Run viaOutput = runTool({"report", sampleFile, "--record", "5", "--output", "/dev/stdout"});
    QCOMPARE(viaOutput.exitCode, 0);
    const Run plain = runTool({"report", sampleFile, "--record", "5"});
    QCOMPARE(viaOutput.out, plain.out);
    QCOMPARE(plain.out.count("\r\n"), 37);
}

void TestKelpraTool::refusesWhatIsNoDataFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::newRow("FIFO") << "fifo.bin" << "Not a data file: it is a named pipe.";
    QTest::newRow("device") << "/dev/zero" << "Not a data file: it is a device.";
    QTest::newRow("folder") << "." << "Not a data file: it is a folder.";
    QTest::newRow("2 MiB") << "huge.bin" << "far larger than any data file";
    QTest::newRow("LF line ends") << "lf.bin" << "Not a complete data file: its lines end in LF alone";
}

void TestKelpraTool::refusesWhatIsNoDataFile()
{
    QFETCH(QString, name);
    QFETCH(QString, reason);
    QFile::remove(QStringLiteral("fifo.bin"));
    QCOMPARE(::mkfifo("fifo.bin", 0600), 0);
    QFile huge(QStringLiteral("huge.bin"));
    QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(2 * 1024 * 1024));
    huge.close();
    // An older file (no integrity line) copied in text mode.
    QByteArray lf = "0\n" + sampleRecord(1) + "\n";
    for (const QByteArray &line : typedStation())
        lf += line + "\n";
    QVERIFY(!writeWholeFile(QStringLiteral("lf.bin"), lf));

    // A FIFO nobody writes to would hold up a reader for ever: it must not be opened.
    const Run run = runTool({"decode", name});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(reason.toUtf8()), run.err.constData());
    QCOMPARE(run.err.count('\n'), 1);
}

void TestKelpraTool::changedAndRepairedFiles_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("err");

    QByteArray bytes;
    QVERIFY(!readWholeFile(sampleFile, &bytes));
    // A measurement number edited by hand, and a copy through dos2unix.
    QByteArray changed = bytes;
    changed[3] = '7';
    QVERIFY(!writeWholeFile(QStringLiteral("changed.bin"), changed));
    QVERIFY(!writeWholeFile(QStringLiteral("converted.bin"), QByteArray(bytes).replace("\r\n", "\n")));
    QFile::remove(QStringLiteral("link.bin"));
    QVERIFY(QFile::link(sampleFile, QStringLiteral("link.bin")));

    const QByteArray refused = "kelpra-tool: changed.bin was changed after it was saved (use --accept-changed to read it).\n";
    const QByteArray accepted = "kelpra-tool: changed.bin was changed after it was saved: records may not be what was "
                                "measured.\n";
    QTest::newRow("decode refuses") << QStringList{"decode", "changed.bin"} << 2 << refused;
    QTest::newRow("check refuses") << QStringList{"check", "changed.bin"} << 2 << refused;
    QTest::newRow("decode accepts") << QStringList{"decode", "changed.bin", "--accept-changed"} << 0 << accepted;
    QTest::newRow("check accepts") << QStringList{"check", "changed.bin", "--accept-changed"} << 3 << accepted;
    QTest::newRow("report accepts") << QStringList{"report", "changed.bin", "--accept-changed"} << 0 << accepted;
    QTest::newRow("survey refuses") << QStringList{"survey", "changed.bin", "--csv", "r.csv"} << 2 << refused;
    QTest::newRow("survey accepts") << QStringList{"survey", "changed.bin", "--accept-changed"} << 3 << accepted;
    QTest::newRow("repaired") << QStringList{"decode", "converted.bin"} << 0
                              << QByteArray("kelpra-tool: converted.bin had its line ends converted by another "
                                            "program; restored, the checksum matches.\n");
    // Their own data file, directly or through a link, is never written over.
    const QByteArray own = "kelpra-tool: " + sampleFile.toLocal8Bit()
                           + ": this is the data file being read; choose another --output.\n";
    QTest::newRow("report onto its data file") << QStringList{"report", sampleFile, "--output", sampleFile} << 2 << own;
    QTest::newRow("print-pdf onto its data file through a link")
        << QStringList{"print-pdf", sampleFile, "--output", "link.bin"} << 2
        << QByteArray("kelpra-tool: link.bin: this is the data file being read; choose another --output.\n");
    const QByteArray noName = "kelpra-tool: --output needs a file name\n";
    QTest::newRow("survey onto its data file") << QStringList{"survey", sampleFile, "--pdf", "link.bin"} << 2
        << QByteArray("kelpra-tool: link.bin: this is the data file being read; choose another --pdf.\n");
    QTest::newRow("report, empty output") << QStringList{"report", sampleFile, "--output", ""} << 1 << noName;
    QTest::newRow("download, empty output") << QStringList{"download", "--port", "/dev/null", "--output", ""} << 1
                                            << noName;
}

void TestKelpraTool::changedAndRepairedFiles()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, err);
    QByteArray before;
    QVERIFY(!readWholeFile(sampleFile, &before));
    const Run run = runTool(args);
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.err, err);
    QCOMPARE(run.out.isEmpty(), exitCode != 0 && exitCode != 3);
    QByteArray after;
    QVERIFY(!readWholeFile(sampleFile, &after));
    QCOMPARE(after, before);
    QVERIFY(!QFile::exists(QStringLiteral("r.txt")) && !QFile::exists(QStringLiteral("r.pdf"))
            && !QFile::exists(QStringLiteral("r.csv")));
    // Restored, the records are those saved: decoded as the file before the conversion.
    if (QByteArray(QTest::currentDataTag()) == "repaired")
        QCOMPARE(run.out, runTool({"decode", sampleFile}).out);
}

void TestKelpraTool::downloadEscapesTheIdentification()
{
    // An identification line with an escape sequence and a bell: shown, not obeyed.
    const test::TestSetProcess testset({"--identification", QStringLiteral("GMDSS\x1b[31mTESTER\x07")});
    QVERIFY(!testset.path.isEmpty());
    const Run run = runTool({"download", "--port", testset.path, "--output", "escaped.bin"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QByteArray("GMDSS\\x1b[31mTESTER\\x07\n"));
    QVERIFY2(run.err.endsWith("reply 16 of 17 received\nDownload Ok\n"), run.err.constData());
    QByteArray bytes;
    QVERIFY(!readWholeFile(QStringLiteral("escaped.bin"), &bytes));
    QCOMPARE(parseDataFile(bytes).integrity, FileIntegrity::Verified);
}

void TestKelpraTool::surveyOfADownloadedSet()
{
    const test::TestSetProcess testset({});
    QVERIFY(!testset.path.isEmpty());
    QCOMPARE(runTool({"download", "--port", testset.path, "--output", "set.bin"}).exitCode, 0);

    // Each JSON row is the record's check exactly as `check --json` gives it, and what the
    // window shows of the record.
    const Run check = runTool({"check", "set.bin", "--json"});
    const Run survey = runTool({"survey", "set.bin", "--json"});
    QCOMPARE(survey.exitCode, check.exitCode);
    QCOMPARE(survey.exitCode, 3);
    QJsonParseError error;
    const QJsonArray rows = QJsonDocument::fromJson(survey.out, &error).array();
    QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString()));
    const QJsonArray checks = QJsonDocument::fromJson(check.out).array();
    QCOMPARE(rows.size(), 16);
    QCOMPARE(checks.size(), 16);
    const QStringList shown{"date", "frequency", "rssi", "category", "first_telecommand", "tester_ecc"};
    for (int i = 0; i < rows.size(); ++i) {
        QJsonObject row = rows[i].toObject();
        QCOMPARE(row.value("date").toString(), QStringLiteral("15.12.06 24:35"));
        // No category for a distress alert: null, not 0.
        QCOMPARE(row.value("category").isNull(), row.value("kind").toString() == QLatin1String("distress-alert"));
        for (const QString &key : shown) {
            QVERIFY2(row.contains(key), qPrintable(key));
            row.remove(key);
        }
        QCOMPARE(row, checks[i].toObject());
    }

    // As text: a line per record, then how the survey stands.
    const Run text = runTool({"survey", "set.bin"});
    QCOMPARE(text.exitCode, 3);
    const QList<QByteArray> lines = text.out.split('\n');
    QCOMPARE(lines.size(), 19);   // titles, 16 records, the summary, and the final line end
    QVERIFY2(lines[1].startsWith("  1  15.12.06 24:35  12577.0 kHZ"), lines[1].constData());
    QCOMPARE(lines[17], QByteArray("16 records: 0 pass, 8 warn, 8 fail"));

    // The report, the engineer's name from details.txt.
    QCOMPARE(runTool({"survey", "set.bin", "--pdf", "set.pdf"}).exitCode, 3);
    const PdfText pdf = readPdfWords(QStringLiteral("set.pdf"));
    QCOMPARE(pdf.pages.size(), 17);
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {QStringLiteral("set.pdf")});
    QVERIFY(info.waitForFinished(30000));
    const QString meta = QString::fromUtf8(info.readAllStandardOutput());
    QVERIFY2(meta.contains(QString::fromUtf8("Author:          Иван Petrov\n")), qPrintable(meta));
}

QTEST_MAIN(TestKelpraTool)
#include "test_kelpra_tool.moc"
