// The download window against kelpra-testset on a real pseudo-terminal, through the
// QSerialPort-based port, the real main window and scripted prompts. Nothing here waits
// for a fixed time: every wait is for a condition.

#include "support/app_fixture.h"
#include "support/test_helpers.h"
#include "support/testset_process.h"

#include "data/measurement_store.h"
#include "data/sample_set.h"
#include "files/data_file.h"
#include "files/file_io.h"
#include "link/serial_port.h"
#include "link/download_exchange.h"

#include <QFile>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace kelpra;
using kelpra::test::control;
using kelpra::test::AppFixture;
using Kind = kelpra::test::ScriptedPrompts::Kind;

namespace {

const QString kSaveHint = QStringLiteral("Please use upper menu to save data in bin or txt format.");
const QString kPort = QStringLiteral("COM42");

// The virtual test set, reached by the program as port COM42.
class TestSet : public kelpra::test::TestSetProcess {
public:
    explicit TestSet(const QStringList &args) : TestSetProcess(args)
    {
        // The port map is read when the port is created, so this comes before the fixture.
        qputenv("KELPRA_COM42", path.toLocal8Bit());
    }
};

// What the test set sends for reply k when every reply is padded to `size` bytes.
QByteArray expectedReply(int k, int size, const QByteArray &record)
{
    QByteArray bytes = k == 0 ? sampleIdentificationLine() : record;
    return bytes + QByteArray(size - bytes.size(), k == 0 ? ' ' : '\0');
}

// The new set the test set plays back: the sample records in reverse order, so that
// record 1 (a copy of sample record 16) differs from what the window showed before.
QByteArray newRecord(int k) { return sampleRecord(17 - k); }

bool idle(AppFixture &f)
{
    return control<QPushButton>(f.downloadWindow(), "Download")->isEnabled()
        && f.downloadWindow().exchange().state() == DownloadExchange::State::Idle && f.prompts.pending() == 0;
}

QWidget *mainControl(AppFixture &f, const char *name)
{
    return f.mainWindow().findChild<QWidget *>(QLatin1String(name));
}

// Everything a download could change: the store, and what the main window shows of it.
QByteArrayList heldAndShown(AppFixture &f)
{
    QByteArrayList all;
    for (int k = 0; k < MeasurementStore::kSlotCount; ++k)
        all << f.store().slot(k);
    all << "record_count " + QByteArray::number(f.store().recordCount())
        << "display_index " + QByteArray::number(f.store().displayIndex());
    const FieldTexts fields = f.mainWindow().fieldTexts();
    for (auto it = fields.begin(); it != fields.end(); ++it)
        all << QByteArray(fieldName(it.key())) + '=' + it.value();
    for (const char *name : {"Prev", "Next", "Distress"})
        all << QByteArray(name) + (mainControl(f, name)->isHidden() ? " hidden" : " shown");
    return all;
}

// The fields of the call on display: the distress panel keeps what it showed last while
// hidden, so it is left out where a call follows a distress alert.
FieldTexts callFields(AppFixture &f)
{
    FieldTexts fields = f.mainWindow().fieldTexts();
    for (Field name : distressDisplayFields())
        fields.remove(name);
    fields.remove(Field::DistressErrorCheckVerdict);
    return fields;
}

int shownCount(const AppFixture &f, Kind kind)
{
    int n = 0;
    for (const auto &shown : f.prompts.shown)
        n += shown.kind == kind;
    return n;
}

} // namespace

class TestDownloadWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { QFile::remove("APD.TRC"), QFile::remove("APD.LOG"); }
    void completeDownloadShowsItsFirstRecord();
    void failedDownloadLeavesEverythingAsItWas_data();
    void failedDownloadLeavesEverythingAsItWas();
    void emulationDuringFailedDownloadStays();
    void shiftedDownloadIsNamed();
    void cancelledPickerEndsTheDownload();
    void portThatDoesNotOpenIsCalledInvalid();
    void initPortReopensThroughPicker_data();
    void initPortReopensThroughPicker();
};

void TestDownloadWindow::completeDownloadShowsItsFirstRecord()
{
    QTemporaryDir dir;
    MeasurementStore played;
    played.setSlot(0, sampleIdentificationLine());
    for (int k = 1; k <= 16; ++k)
        played.setSlot(k, newRecord(k));
    const QString file = dir.filePath("reversed.bin");
    QVERIFY(!writeWholeFile(file, buildFullSetFile(played, StationLines{}).bytes));
    TestSet set({"--records", file, "--record-size", "100"});
    QVERIFY(!set.path.isEmpty());
    AppFixture f;
    f.mainWindow().showDownloadWindow();
    QVERIFY(f.downloadWindow().isVisible());

    // From an empty store: no "download first" message, only the picker and "Download Ok".
    bool newWhileOpen = false;
    f.prompts.expectPickPort(kPort);
    f.prompts.expectInformation(DownloadExchange::kDownloadOk, [&] {
        newWhileOpen = f.store().slot(1) == expectedReply(1, 100, newRecord(1));
    });
    control<QPushButton>(f.downloadWindow(), "Download")->click();
    QVERIFY(f.downloadWindow().isHidden());
    QVERIFY(!control<QPushButton>(f.downloadWindow(), "Download")->isEnabled() && !control<QPushButton>(f.downloadWindow(), "InitPort")->isEnabled());
    QCOMPARE(f.mainWindow().statusText(), DownloadExchange::kDecodeHint);
    QCOMPARE(f.mainWindow().fieldText(Field::TotalRecords), QString());   // counters only once it is complete

    QTRY_VERIFY_WITH_TIMEOUT(idle(f), 10000);
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QVERIFY(newWhileOpen);
    for (int k = 0; k < 17; ++k)
        QCOMPARE(f.store().slot(k), expectedReply(k, 100, newRecord(k)));
    QCOMPARE(f.store().recordCount(), 16);
    QCOMPARE(f.store().displayIndex(), 1);
    QCOMPARE(f.mainWindow().fieldText(Field::ReceivedCount), QStringLiteral("16"));
    QCOMPARE(f.mainWindow().fieldText(Field::CurrentRecord), QStringLiteral("1"));
    QCOMPARE(f.mainWindow().fieldText(Field::TotalRecords), QStringLiteral("16"));
    QVERIFY(mainControl(f, "Prev")->isHidden() && !mainControl(f, "Next")->isHidden());
    QCOMPARE(f.mainWindow().statusText(), kSaveHint);   // decoded once "Download Ok" was dismissed
    QVERIFY(f.mainWindow().fieldText(Field::Identification).startsWith(QLatin1String("GMDSS TESTER")));
    QVERIFY(!f.downloadWindow().port().isOpen());
    QCOMPARE(f.downloadWindow().port().portNumber(), 42);
    QCOMPARE(control<QProgressBar>(f.downloadWindow(), "ProgressBar1")->value(), 17);
    QVERIFY(control<QPushButton>(f.downloadWindow(), "InitPort")->isEnabled());
    QVERIFY(QFile::exists("APD.TRC") && QFile::exists("APD.LOG"));

    // The fields are those of record 1 of the new set: stepping away and back decodes it again.
    const FieldTexts shown = f.mainWindow().fieldTexts();
    const FieldTexts shownCall = callFields(f);
    QVERIFY(!shown.value(Field::FormatDigits).isEmpty());
    qobject_cast<QToolButton *>(mainControl(f, "Next"))->click();
    QVERIFY(f.mainWindow().fieldTexts() != shown);
    qobject_cast<QToolButton *>(mainControl(f, "Prev"))->click();
    QCOMPARE(f.mainWindow().fieldTexts(), shown);

    // Again, after "Emulation" and a step to record 3: the same port without the picker,
    // the bar from 0, and record 1 of the new set shown at the end, not of the sample set.
    control<QPushButton>(f.downloadWindow(), "Button1")->click();
    qobject_cast<QToolButton *>(mainControl(f, "Next"))->click();
    qobject_cast<QToolButton *>(mainControl(f, "Next"))->click();
    QCOMPARE(f.mainWindow().fieldText(Field::CurrentRecord), QStringLiteral("3"));
    const QByteArrayList sampleShown = heldAndShown(f);
    QFile::remove("APD.TRC");
    QFile::remove("APD.LOG");
    f.prompts.clear();
    f.prompts.expectInformation(DownloadExchange::kDownloadOk);
    control<QPushButton>(f.downloadWindow(), "Download")->click();
    QCOMPARE(control<QProgressBar>(f.downloadWindow(), "ProgressBar1")->value(), 0);
    QCOMPARE(heldAndShown(f), sampleShown);   // nothing changes while it runs
    // "Emulation" while it runs places the sample set at once; the download then replaces it.
    control<QPushButton>(f.downloadWindow(), "Button1")->click();
    QCOMPARE(f.store().slot(1), sampleRecord(1));
    QTRY_VERIFY_WITH_TIMEOUT(idle(f), 10000);
    KELPRA_VERIFY_PROMPTS(f.prompts);
    for (int k = 0; k < 17; ++k)
        QCOMPARE(f.store().slot(k), expectedReply(k, 100, newRecord(k)));
    QVERIFY(mainControl(f, "Distress")->isHidden());
    QCOMPARE(callFields(f), shownCall);
    // Only the port's first open period is recorded.
    QVERIFY(!QFile::exists("APD.TRC") && !QFile::exists("APD.LOG"));
}

void TestDownloadWindow::failedDownloadLeavesEverythingAsItWas_data()
{
    // Replies are numbered from 1, the identification line; --fault-record counts from 0.
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("cause");   // a pattern; %1 stands for the device
    QTest::newRow("silent") << QStringList{"--fault", "silent"} << QStringLiteral("No answer from COM42 \\(%1\\)\\.");
    QTest::newRow("short reply 1") << QStringList{"--fault", "short", "--fault-record", "0"}
                                   << QStringLiteral("Reply 1 of 17 incomplete \\(40 bytes\\) when the 2 s limit ran out\\.");
    QTest::newRow("short reply 8") << QStringList{"--fault", "short", "--fault-record", "7"}
                                   << QStringLiteral("Reply 8 of 17 incomplete \\(40 bytes\\) when the 2 s limit ran out\\.");
    QTest::newRow("slow") << QStringList{"--fault", "slow", "--delay", "300"}
                          << QStringLiteral("Reply ([2-9]|1[0-7]) of 17 (incomplete \\(\\d+ bytes\\) when the 2 s limit ran "
                                            "out|did not come within the 2 s limit)\\.");
    QTest::newRow("hang-up after reply 8") << QStringList{"--fault", "hangup", "--fault-record", "7"}
                                           << QStringLiteral("The port closed: \\S.*\\.");
}

void TestDownloadWindow::failedDownloadLeavesEverythingAsItWas()
{
    QFETCH(QStringList, args);
    QFETCH(QString, cause);
    TestSet set(args);
    QVERIFY(!set.path.isEmpty());
    AppFixture f;
    // Held before: the sample set, at record 5, with a station field typed in.
    control<QPushButton>(f.downloadWindow(), "Button1")->click();
    for (int i = 0; i < 4; ++i)
        qobject_cast<QToolButton *>(mainControl(f, "Next"))->click();
    f.mainWindow().setFieldText(Field::VesselName, QStringLiteral("Kelpie"));
    const QByteArrayList before = heldAndShown(f);

    f.prompts.allowAny(Kind::Information);   // checked below: exactly one
    f.prompts.expectPickPort(kPort);
    f.prompts.expectPickPort(std::nullopt);   // the picker after the failure, cancelled
    f.downloadWindow().startDownload();
    QTRY_VERIFY_WITH_TIMEOUT(idle(f), 10000);
    KELPRA_VERIFY_PROMPTS(f.prompts);

    QCOMPARE(heldAndShown(f), before);
    QCOMPARE(shownCount(f, Kind::Information), 1);
    QCOMPARE(shownCount(f, Kind::Error), 0);
    QString message;
    for (const auto &shown : f.prompts.shown)
        if (shown.kind == Kind::Information)
            message = shown.text;
    const QStringList lines = message.split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.at(0), DownloadExchange::kNoAnswer);
    const QRegularExpression pattern(
        QRegularExpression::anchoredPattern(QString(cause).replace("%1", QRegularExpression::escape(set.path))));
    QVERIFY2(pattern.match(lines.at(1)).hasMatch(), qPrintable(lines.at(1)));
    // The picker after it says what failed: the port itself is not blamed.
    QCOMPARE(f.prompts.shown.last().kind, Kind::PickPort);
    QCOMPARE(f.prompts.shown.last().text,
             QStringLiteral("The download failed: ") + lines.at(1) + QStringLiteral("\nChoose the port again, or another one."));
    QVERIFY(!f.downloadWindow().port().isOpen());
    QCOMPARE(f.downloadWindow().port().portNumber(), 0);
    QVERIFY(control<QPushButton>(f.downloadWindow(), "Download")->isEnabled() && control<QPushButton>(f.downloadWindow(), "InitPort")->isEnabled());
}

void TestDownloadWindow::emulationDuringFailedDownloadStays()
{
    TestSet set({"--fault", "short", "--fault-record", "3"});
    AppFixture f;
    f.prompts.expectPickPort(kPort);
    f.prompts.expectInformation(DownloadExchange::kNoAnswer
                                + "\nReply 4 of 17 incomplete (40 bytes) when the 2 s limit ran out.");
    f.prompts.expectPickPort(kPort);   // reopened at once and left open
    f.downloadWindow().startDownload();
    control<QPushButton>(f.downloadWindow(), "Button1")->click();
    const QByteArrayList sample = heldAndShown(f);
    QCOMPARE(f.store().slot(0), sampleIdentificationLine());
    QTRY_VERIFY_WITH_TIMEOUT(idle(f), 10000);
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QCOMPARE(heldAndShown(f), sample);
    QVERIFY(f.downloadWindow().port().isOpen());
    QCOMPARE(f.downloadWindow().port().portNumber(), 42);
}

void TestDownloadWindow::shiftedDownloadIsNamed()
{
    // Three bytes of noise at the start of record 2's reply.
    TestSet set({"--fault", "noise", "--fault-record", "2"});
    AppFixture f;
    f.prompts.expectPickPort(kPort);
    f.prompts.expectInformation(DownloadExchange::kDownloadOk
                                + QStringLiteral("\nRecord 2 does not look like a measurement record: stray bytes "
                                                 "on the line may have shifted it. Download again to be sure."));
    f.downloadWindow().startDownload();
    QTRY_VERIFY_WITH_TIMEOUT(idle(f), 10000);
    KELPRA_VERIFY_PROMPTS(f.prompts);
    // Kept as it came: the user decides.
    QCOMPARE(f.store().slot(2), QByteArray("\xFF\x00\xFF", 3) + sampleRecord(2));
}

void TestDownloadWindow::cancelledPickerEndsTheDownload()
{
    AppFixture f;
    const QByteArrayList before = heldAndShown(f);
    f.prompts.expectPickPort(std::nullopt);
    control<QPushButton>(f.downloadWindow(), "Download")->click();
    // At once: no exchange, no failure box, no second picker.
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QCOMPARE(f.downloadWindow().exchange().state(), DownloadExchange::State::Idle);
    QVERIFY(control<QPushButton>(f.downloadWindow(), "Download")->isEnabled());
    QCOMPARE(heldAndShown(f), before);
}

void TestDownloadWindow::portThatDoesNotOpenIsCalledInvalid()
{
    qputenv("KELPRA_COM43", "/dev/kelpra-no-such-device");
    AppFixture f;
    f.prompts.allowAny(Kind::Information);
    f.prompts.expectPickPort(QStringLiteral("COM43"));
    f.prompts.expectPickPort(std::nullopt);
    f.downloadWindow().startDownload();
    QTRY_VERIFY_WITH_TIMEOUT(idle(f), 10000);
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QCOMPARE(f.prompts.shown.last().text,
             QStringLiteral("The configured serial port is not valid.\nPlease choose another port."));
    qunsetenv("KELPRA_COM43");
}

void TestDownloadWindow::initPortReopensThroughPicker_data()
{
    QTest::addColumn<std::optional<QString>>("answer");
    QTest::addColumn<bool>("open");
    QTest::addColumn<int>("number");
    QTest::newRow("port chosen") << std::optional<QString>(kPort) << true << 42;
    QTest::newRow("picker cancelled") << std::optional<QString>() << false << 0;
    QTest::newRow("absent port chosen") << std::optional<QString>("COM43") << false << 43;
}

void TestDownloadWindow::initPortReopensThroughPicker()
{
    QFETCH(std::optional<QString>, answer);
    QFETCH(bool, open);
    QFETCH(int, number);
    TestSet set({});
    qputenv("KELPRA_COM43", "/dev/kelpra-no-such-device");
    AppFixture f;
    f.downloadWindow().port().setPortNumber(42);
    QVERIFY(!f.downloadWindow().port().open());
    f.prompts.expectPickPort(answer);
    control<QPushButton>(f.downloadWindow(), "InitPort")->click();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QCOMPARE(f.downloadWindow().port().isOpen(), open);
    QCOMPARE(f.downloadWindow().port().portNumber(), number);
    qunsetenv("KELPRA_COM43");
}

QTEST_MAIN(TestDownloadWindow)
#include "test_download_window.moc"
