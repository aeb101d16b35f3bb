// The download window against kelpra-testset on a real pseudo-terminal, through the
// QSerialPort-based port, the real main window and scripted prompts.

#include "support/app_fixture.h"
#include "support/testset_process.h"

#include "data/measurement_store.h"
#include "data/sample_set.h"
#include "link/serial_port.h"
#include "link/download_exchange.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace kelpra;
using kelpra::test::AppFixture;
using Kind = kelpra::test::ScriptedPrompts::Kind;

namespace {

const QString kNoDataToDecode = QStringLiteral("Please download the data or read it from file before decoding!");
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
QByteArray expectedReply(int k, int size)
{
    QByteArray bytes = k == 0 ? sampleIdentificationLine() : sampleRecord(k);
    return bytes + QByteArray(size - bytes.size(), k == 0 ? ' ' : '\0');
}

bool idle(AppFixture &f)
{
    return f.downloadWindow().Download->isEnabled() && f.downloadWindow().exchange().state() == DownloadExchange::State::Idle
        && f.prompts.pending() == 0;
}

} // namespace

class TestDownloadWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { QFile::remove("APD.TRC"), QFile::remove("APD.LOG"); }
    void completeExchangeThenReusePort();
    void silentSetEndsAtDeadline();
    void shortReplyKeepsEarlierSlots();
    void hangupMidExchangeIsSurvived();
    void initPortReopensThroughPicker_data();
    void initPortReopensThroughPicker();
};

void TestDownloadWindow::completeExchangeThenReusePort()
{
    TestSet set({"--record-size", "100"});
    QVERIFY(!set.path.isEmpty());
    AppFixture f;
    f.mainWindow().showDownloadWindow();
    QVERIFY(f.downloadWindow().isVisible());

    // The first "no data" message stays open while the replies keep coming; by the time it
    // is dismissed slot 0 is filled, so the second decoding finds data and stays silent.
    int progressWhileOpen = -1;
    f.prompts.expectPickPort(kPort);
    f.prompts.expectInformation(kNoDataToDecode, [&] {
        QTest::qWait(400);
        progressWhileOpen = f.downloadWindow().ProgressBar1->value();
    });
    f.prompts.expectInformation(DownloadExchange::kDownloadOk);
    f.downloadWindow().Download->click();
    QVERIFY(f.downloadWindow().isHidden());
    QVERIFY(progressWhileOpen >= 2);
    QVERIFY(!f.downloadWindow().Download->isEnabled() && !f.downloadWindow().InitPort->isEnabled());
    QCOMPARE(f.mainWindow().Label22->text(), QStringLiteral("16"));
    QCOMPARE(f.mainWindow().total->text(), QStringLiteral("16"));
    QCOMPARE(f.mainWindow().current->text(), QStringLiteral("1"));
    QVERIFY(f.mainWindow().Prev->isHidden() && !f.mainWindow().Next->isHidden());
    QCOMPARE(f.mainWindow().statusText(), kSaveHint);

    QTRY_VERIFY_WITH_TIMEOUT(idle(f), 5000);
    QVERIFY2(f.prompts.ok(), qPrintable(f.prompts.problems()));
    for (int k = 0; k < 17; ++k)
        QCOMPARE(f.store().slot(k), expectedReply(k, 100));
    QVERIFY(!f.downloadWindow().ApdComPort1->isOpen());
    QCOMPARE(f.downloadWindow().ApdComPort1->portNumber(), 42);
    QCOMPARE(f.downloadWindow().ProgressBar1->value(), 17);
    QVERIFY(f.downloadWindow().InitPort->isEnabled());
    QVERIFY(QFile::exists("APD.TRC") && QFile::exists("APD.LOG"));
    QFile::remove("APD.TRC");
    QFile::remove("APD.LOG");

    // Again on the same port, no picker; "Emulation" works while the exchange runs and
    // the replies still to come overwrite the sample records.
    f.prompts.clear();
    f.prompts.expectInformation(DownloadExchange::kDownloadOk);
    f.downloadWindow().Download->click();
    QTest::qWait(150);
    QVERIFY(!f.downloadWindow().Download->isEnabled());
    QVERIFY(f.downloadWindow().Button1->isEnabled());
    f.downloadWindow().Button1->click();
    QCOMPARE(f.store().slot(16), sampleRecord(16));
    QTRY_VERIFY_WITH_TIMEOUT(idle(f), 5000);
    QVERIFY2(f.prompts.ok(), qPrintable(f.prompts.problems()));
    QCOMPARE(f.store().slot(16), expectedReply(16, 100));
    QCOMPARE(f.store().slot(0), sampleIdentificationLine());   // its reply had come before
    // Only the port's first open period is recorded.
    QVERIFY(!QFile::exists("APD.TRC") && !QFile::exists("APD.LOG"));
}

void TestDownloadWindow::silentSetEndsAtDeadline()
{
    TestSet set({"--fault", "silent"});
    AppFixture f;
    QElapsedTimer clock;
    qint64 messageAt = -1;
    f.prompts.expectPickPort(kPort, [&] { clock.start(); });   // Timer1 starts after the picker
    f.prompts.expectInformation(kNoDataToDecode);
    f.prompts.expectInformation(kNoDataToDecode);
    f.prompts.expectInformation(DownloadExchange::kNoAnswer, [&] {
        messageAt = clock.elapsed();
        QVERIFY(!f.downloadWindow().Download->isEnabled());   // enabled only once dismissed
    });
    f.prompts.expectPickPort(std::nullopt);
    f.downloadWindow().startDownload();
    QTRY_VERIFY_WITH_TIMEOUT(idle(f), 5000);
    QVERIFY2(f.prompts.ok(), qPrintable(f.prompts.problems()));

    QVERIFY2(messageAt >= 1990 && messageAt < 4000, qPrintable(QString::number(messageAt)));
    QVERIFY(!f.downloadWindow().ApdComPort1->isOpen());
    QCOMPARE(f.downloadWindow().ApdComPort1->portNumber(), 0);
    QVERIFY(f.downloadWindow().InitPort->isEnabled());
    QCOMPARE(f.store().record_count(), 16);
    QVERIFY(f.store().slot(0).isEmpty());
}

void TestDownloadWindow::shortReplyKeepsEarlierSlots()
{
    TestSet set({"--record-size", "80", "--fault", "short", "--fault-record", "3"});
    AppFixture f;
    f.downloadWindow().Button1->click();   // the sample set: 64-byte records, distinct from 80-byte replies
    f.prompts.expectPickPort(kPort);
    f.prompts.expectInformation(DownloadExchange::kNoAnswer);
    f.prompts.expectPickPort(kPort);   // reopened at once and left open
    f.downloadWindow().startDownload();
    QTRY_VERIFY_WITH_TIMEOUT(idle(f), 5000);
    QVERIFY2(f.prompts.ok(), qPrintable(f.prompts.problems()));

    for (int k = 0; k < 17; ++k)
        QCOMPARE(f.store().slot(k), k < 3 ? expectedReply(k, 80) : (k == 0 ? sampleIdentificationLine() : sampleRecord(k)));
    QCOMPARE(f.downloadWindow().exchange().buffer().size(), 40);
    QCOMPARE(f.downloadWindow().ProgressBar1->value(), 4);
    QVERIFY(f.downloadWindow().ApdComPort1->isOpen());
    QCOMPARE(f.downloadWindow().ApdComPort1->portNumber(), 42);
}

void TestDownloadWindow::hangupMidExchangeIsSurvived()
{
    TestSet set({"--fault", "hangup", "--fault-record", "5"});
    AppFixture f;
    f.prompts.allowAny(Kind::Error);   // how the lost line shows depends on who notices first
    f.prompts.expectPickPort(kPort);
    f.prompts.expectInformation(kNoDataToDecode);
    f.prompts.expectInformation(kNoDataToDecode);
    f.prompts.expectInformation(DownloadExchange::kNoAnswer);
    f.prompts.expectPickPort(std::nullopt);
    f.downloadWindow().startDownload();
    QTRY_VERIFY_WITH_TIMEOUT(idle(f), 5000);
    QVERIFY2(f.prompts.ok(), qPrintable(f.prompts.problems()));

    for (int k = 0; k < 5; ++k)
        QCOMPARE(f.store().slot(k), expectedReply(k, 64));
    // The kernel drops what the port had not read yet when the other end hangs up, so
    // reply 5 is in whole or not at all.
    QVERIFY(f.store().slot(5).isEmpty() || f.store().slot(5) == expectedReply(5, 64));
    QVERIFY(f.store().slot(6).isEmpty());
    for (const auto &shown : f.prompts.shown)
        if (shown.kind == Kind::Error)
            QVERIFY2(shown.text.endsWith('.'), qPrintable(shown.text));
    QVERIFY(!f.downloadWindow().ApdComPort1->isOpen());
    // The program goes on: the sample set still comes in.
    f.downloadWindow().Button1->click();
    QCOMPARE(f.store().slot(6), sampleRecord(6));
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
    f.downloadWindow().ApdComPort1->setPortNumber(42);
    QVERIFY(!f.downloadWindow().ApdComPort1->open());
    f.prompts.expectPickPort(answer);
    f.downloadWindow().InitPort->click();
    QVERIFY2(f.prompts.ok(), qPrintable(f.prompts.problems()));
    QCOMPARE(f.downloadWindow().ApdComPort1->isOpen(), open);
    QCOMPARE(f.downloadWindow().ApdComPort1->portNumber(), number);
    qunsetenv("KELPRA_COM43");
}

QTEST_MAIN(TestDownloadWindow)
#include "test_download_window.moc"
