// The download exchange on a simulated clock: every timing below is exact to the microsecond.

#include "data/wire.h"
#include "link/download_exchange.h"
#include "sim_line.h"

#include <QtTest>

using namespace kelpra;
using namespace kelpra::test;

namespace {

constexpr qint64 kMs = 1000;
constexpr qint64 kByteUs = wire::kByteUs;
using Fault = VirtualTestSet::Fault;

// Records what the exchange tells the program, in one journal with the port's events.
struct JournalObserver : DownloadObserver {
    JournalObserver(SimClock &clock, QStringList &journal) : clock(clock), journal(journal) {}

    void started() override { journal << "started"; }
    void progress(int received) override { progress_ << received; }
    void finished(const DownloadOutcome &outcome) override
    {
        journal << "finished " + outcome.message();
        outcomes << qMakePair(clock.now(), outcome);
        journal << "dismissed";
    }

    SimClock &clock;
    QStringList &journal;
    QList<int> progress_;
    QList<QPair<qint64, DownloadOutcome>> outcomes;
};

VirtualTestSet::Options testSet(int size = 64, qint64 turnaroundUs = 1000, Fault fault = Fault::None,
                                int faultReply = 1)
{
    VirtualTestSet::Options options;
    options.recordSize = size;
    options.turnaroundNs = turnaroundUs * 1000;
    options.fault = fault;
    options.faultReply = faultReply;
    options.slowTurnaroundNs = 80 * kMs * 1000;
    return options;
}

// The exchange on a port the user has chosen (COM3), against the virtual test set.
struct Rig {
    explicit Rig(VirtualTestSet::Options options = testSet()) : set(clock, link, std::move(options))
    {
        link.setPortNumber(3);
        link.journal = &journal;
        t1.journal = &journal;
    }
    QStringList after(const QString &entry) const { return journal.mid(journal.lastIndexOf(entry)); }
    const DownloadOutcome &outcome() const { return observer.outcomes.constLast().second; }
    QList<QByteArray> expectedReplies() const
    {
        QList<QByteArray> all;
        for (int k = 0; k < wire::kReplyCount; ++k)
            all << set.set.replyFor(k);
        return all;
    }

    SimClock clock;
    QStringList journal;
    SimLink link{clock};
    SimTimer t1{clock};
    SimTimer t2{clock};
    JournalObserver observer{clock, journal};
    SimTestSet set;
    DownloadExchange exchange{link, t1, t2, observer};
};

QList<QByteArray> commands(int count)
{
    QList<QByteArray> all{wire::kIdentifyCommand};
    for (int k = 1; k < count; ++k)
        all << wire::recordCommand(k);
    return all;
}

QList<QByteArray> sentBytes(const SimLink &link)
{
    QList<QByteArray> out;
    for (const auto &s : link.sent)
        out << s.bytes;
    return out;
}

} // namespace

Q_DECLARE_METATYPE(kelpra::LinkError)

namespace {

const QString kFailedPrefix = DownloadExchange::kNoAnswer + QLatin1Char('\n');

} // namespace

class TestDownloadExchange : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void completeExchange_data();
    void completeExchange();
    void replyEndsAfterPause_data();
    void replyEndsAfterPause();
    void failedExchange_data();
    void failedExchange();
    void strayBytesCountTowardsNextReply();
    void shiftedRecordsAreNamed();
    void noiseBeforeTheFirstCommandIsDropped();
    void downloadCommandSteps();
    void progressStartsAfreshAndPortReused();
    void bytesOutsideExchangeDropped();
    void causeLines_data();
    void causeLines();
};

void TestDownloadExchange::completeExchange_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<qint64>("turnaroundUs");
    QTest::newRow("64-byte replies") << 64 << qint64(1000);
    QTest::newRow("100-byte replies") << 100 << qint64(1000);
    QTest::newRow("120-byte replies, slow turnaround") << 120 << qint64(20000);
}

void TestDownloadExchange::completeExchange()
{
    QFETCH(int, size);
    QFETCH(qint64, turnaroundUs);
    Rig rig(testSet(size, turnaroundUs));
    // Each command goes out exactly 25 ms after the last byte of the previous reply.
    QList<qint64> gaps;
    rig.link.onSend = [&, answer = rig.link.onSend](const QByteArray &command) {
        if (rig.link.lastRxUs >= 0)
            gaps << rig.clock.now() - rig.link.lastRxUs;
        answer(command);
    };
    rig.exchange.download();
    rig.clock.runAll();

    QCOMPARE(sentBytes(rig.link), commands(17));
    QCOMPARE(gaps, QList<qint64>(16, 25 * kMs));
    QCOMPARE(rig.observer.outcomes.size(), 1);
    QCOMPARE(rig.observer.outcomes.at(0).first, rig.link.lastRxUs + 25 * kMs);
    QVERIFY(rig.outcome().ok());
    // All 17 replies whole, zeros included, and only at the end.
    QCOMPARE(rig.outcome().replies(), rig.expectedReplies());
    QCOMPARE(rig.outcome().replies().at(16).size(), size);
    QCOMPARE(rig.after("send 4210"), (QStringList{"send 4210", "close", "finished Download Ok", "dismissed"}));
    QCOMPARE(rig.observer.progress_, (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}));
    QVERIFY(!rig.link.isOpen());
    QCOMPARE(rig.link.portNumber(), 3);
    QCOMPARE(rig.t1.starts, 1);
    QVERIFY(!rig.t1.isActive() && !rig.t2.isActive());
    QCOMPARE(rig.exchange.state(), DownloadExchange::State::Idle);
}

void TestDownloadExchange::replyEndsAfterPause_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("oneBurst");
    QTest::newRow("64 bytes, one by one") << 64 << false;
    QTest::newRow("100 bytes, one by one") << 100 << false;
    QTest::newRow("64 bytes in one notification") << 64 << true;
    QTest::newRow("100 bytes in one notification") << 100 << true;
}

void TestDownloadExchange::replyEndsAfterPause()
{
    QFETCH(int, size);
    QFETCH(bool, oneBurst);
    Rig rig(testSet(64, 1000, Fault::Silent));   // a test set that says nothing by itself
    rig.exchange.download();
    const QByteArray reply = simReply(0, size);
    if (oneBurst) {
        rig.link.burst(reply, 5 * kMs);
        rig.clock.advanceTo(5 * kMs);
    } else {
        rig.link.lineSend(reply, 5 * kMs, kByteUs);
        rig.clock.advanceTo(5 * kMs + 62 * kByteUs);   // 63 bytes in
        QCOMPARE(rig.exchange.replyLength(), 63);
        QVERIFY(!rig.t2.isActive());
        QCOMPARE(rig.exchange.state(), DownloadExchange::State::AwaitingReply);
        rig.clock.advanceBy(kByteUs);                    // the 64th
        QVERIFY(rig.t2.isActive());
        QCOMPARE(rig.exchange.state(), DownloadExchange::State::ReplyEnding);
        rig.clock.advanceTo(5 * kMs + (size - 1) * kByteUs);
    }
    const qint64 last = rig.clock.now();
    QCOMPARE(rig.exchange.buffer(), reply);

    rig.clock.advanceTo(last + 25 * kMs - 1);
    QVERIFY(rig.exchange.replies().isEmpty());
    QCOMPARE(rig.link.sent.size(), 1);
    rig.clock.advanceTo(last + 25 * kMs);
    QCOMPARE(rig.exchange.replies(), QList<QByteArray>{reply});
    QVERIFY(rig.observer.outcomes.isEmpty());   // aside until all 17 are in
    QCOMPARE(sentBytes(rig.link), commands(2));
    QCOMPARE(rig.exchange.replyIndex(), 1);
    QCOMPARE(rig.exchange.replyLength(), 0);
    QCOMPARE(rig.observer.progress_, QList<int>{1});
}

void TestDownloadExchange::failedExchange_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("faultReply");
    QTest::addColumn<QString>("port");   // "" the port chosen; "none"; "refused"; "denied"
    QTest::addColumn<int>("commandsSent");
    QTest::addColumn<QString>("cause");

    const int none = int(Fault::None);
    QTest::newRow("silent") << int(Fault::Silent) << 1 << "" << 1 << "No answer from COM3 (/dev/sim3).";
    QTest::newRow("short reply 1") << int(Fault::Short) << 0 << "" << 1
                                   << "Reply 1 of 17 incomplete (40 bytes) when the 2 s limit ran out.";
    QTest::newRow("short reply 8") << int(Fault::Short) << 7 << "" << 8
                                   << "Reply 8 of 17 incomplete (40 bytes) when the 2 s limit ran out.";
    // 80 ms turnaround: about 14 replies fit into the deadline, the next never begins.
    QTest::newRow("slow") << int(Fault::Slow) << 1 << "" << 15 << "Reply 15 of 17 did not come within the 2 s limit.";
    QTest::newRow("hang-up after reply 8") << int(Fault::HangUp) << 7 << "" << 8
                                           << "The port closed: Input/output error.";
    QTest::newRow("no port chosen") << none << 1 << "none" << 0 << "Cannot open the port: No port selected.";
    QTest::newRow("port refused") << none << 1 << "refused" << 0
                                  << "Cannot open /dev/sim3: Device or resource busy.";
    QTest::newRow("permission denied") << none << 1 << "denied" << 0
                                       << "Cannot open /dev/sim3: Permission denied. Serial ports belong to the "
                                          "dialout group: join it (sudo adduser $USER dialout) and log in again.";
    QTest::newRow("B3 send fails") << int(Fault::WriteError) << 3 << "" << 3 << "The port closed: Write fault.";
    QTest::newRow("a read fails") << int(Fault::ReadError) << 2 << "" << 3 << "The port closed: Read fault.";
}

void TestDownloadExchange::failedExchange()
{
    QFETCH(int, fault);
    QFETCH(int, faultReply);
    QFETCH(QString, port);
    QFETCH(int, commandsSent);
    QFETCH(QString, cause);

    Rig rig(testSet(64, 1000, Fault(fault), faultReply));
    if (port == "none")
        rig.link.setPortNumber(0);
    if (port == "refused")
        rig.link.openRefusal = QStringLiteral("Device or resource busy");
    if (port == "denied")
        rig.link.openRefusal = QStringLiteral("Permission denied");
    rig.exchange.download();
    QVERIFY(rig.t1.isActive());
    rig.clock.runAll();

    QCOMPARE(rig.link.sent.size(), commandsSent);
    QCOMPARE(rig.observer.outcomes.size(), 1);   // one message, however the line broke
    QCOMPARE(rig.observer.outcomes.at(0).first, 2000 * kMs);
    QVERIFY(!rig.outcome().ok());
    QVERIFY(rig.outcome().replies().isEmpty());
    QCOMPARE(rig.outcome().causeLine(), cause);
    QCOMPARE(rig.outcome().message(), kFailedPrefix + cause);
    // The port is closed and forgotten before the message; asking for another is the
    // window's business, not the exchange's.
    QCOMPARE(rig.after("port 0"), (QStringList{"port 0", "finished " + kFailedPrefix + cause, "dismissed"}));
    QCOMPARE(rig.link.closes, commandsSent > 0 ? 1 : 0);
    QCOMPARE(rig.link.portNumber(), 0);
    QCOMPARE(rig.t1.starts, 1);
    QVERIFY(!rig.t1.isActive() && !rig.t2.isActive());
    QCOMPARE(rig.exchange.state(), DownloadExchange::State::Idle);
}

void TestDownloadExchange::strayBytesCountTowardsNextReply()
{
    Rig rig;
    const QByteArray stray("\x00stray", 6);
    rig.link.onSend = [&, answer = rig.link.onSend](const QByteArray &command) {
        if (command == wire::recordCommand(5))
            rig.link.burst(stray, 200);   // before the set's own answer
        answer(command);
    };
    rig.exchange.download();
    rig.clock.runAll();

    QVERIFY(rig.outcome().ok());
    QCOMPARE(rig.outcome().replies().at(5), stray + rig.set.set.replyFor(5));
    QCOMPARE(rig.outcome().replies().at(6), rig.set.set.replyFor(6));
}

void TestDownloadExchange::shiftedRecordsAreNamed()
{
    // Three bytes 40 ms after record 1 (more than the 25 ms pause) go into record 2's reply.
    VirtualTestSet::Options options;
    options.fault = Fault::Stray;
    options.faultReply = 1;
    Rig rig(options);
    rig.exchange.download();
    rig.clock.runAll();
    QVERIFY(rig.outcome().ok());
    QCOMPARE(rig.outcome().replies().at(2), VirtualTestSet::kStrayBytes + rig.set.set.replyFor(2));
    const QString warning = QStringLiteral("Record 2 does not look like a measurement record: stray bytes on the "
                                           "line may have shifted it. Download again to be sure.");
    QCOMPARE(rig.outcome().warnings(), QStringList{warning});   // how it is said: test_download_window

    // A slot the test set never filled fits the layout.
    QVERIFY(wire::looksLikeMeasurementRecord(QByteArray(64, '\xff')));
    QVERIFY(!wire::looksLikeMeasurementRecord(QByteArray(20, ' ')));
}

void TestDownloadExchange::noiseBeforeTheFirstCommandIsDropped()
{
    Rig rig;
    QVERIFY(!rig.link.open());
    rig.link.onDataAvailable = nullptr;   // on the line, not yet read
    rig.link.burst(QByteArray("\x00noise", 6), 0);
    rig.clock.advanceBy(1);
    DownloadExchange exchange{rig.link, rig.t1, rig.t2, rig.observer};
    exchange.download();
    rig.clock.runAll();
    QCOMPARE(rig.journal.mid(rig.journal.indexOf(QStringLiteral("discard 6")), 2),
             (QStringList{QStringLiteral("discard 6"), QStringLiteral("send 444c")}));
    QVERIFY(rig.outcome().ok());
    QCOMPARE(rig.outcome().replies(), rig.expectedReplies());
}

void TestDownloadExchange::downloadCommandSteps()
{
    Rig rig;
    rig.exchange.download();

    // The port opens for "DL", the deadline starts right after it.
    QCOMPARE(rig.journal, (QStringList{"open", "send 444c", "start 2000", "started"}));
    QCOMPARE(rig.exchange.state(), DownloadExchange::State::AwaitingReply);

    rig.exchange.download();   // a second start while one runs is refused
    QCOMPARE(rig.link.sent.size(), 1);
    QCOMPARE(rig.t1.starts, 1);
}

void TestDownloadExchange::progressStartsAfreshAndPortReused()
{
    Rig rig;
    rig.exchange.download();
    rig.clock.runAll();
    rig.exchange.download();
    rig.clock.runAll();

    QList<int> once;
    for (int p = 1; p <= 16; ++p)
        once << p;
    QCOMPARE(rig.observer.progress_, once + once);
    QCOMPARE(rig.journal.count("started"), 2);
    QCOMPARE(rig.journal.count("open"), 2);
    QCOMPARE(rig.link.closes, 2);
    QCOMPARE(sentBytes(rig.link), commands(17) + commands(17));
    QCOMPARE(rig.observer.outcomes.size(), 2);
    QCOMPARE(rig.outcome().replies(), rig.expectedReplies());
}

void TestDownloadExchange::bytesOutsideExchangeDropped()
{
    Rig rig(testSet(64, 1000, Fault::Silent));
    rig.exchange.download();
    rig.clock.runAll();
    // The user chose the port again after the failure: it is open, and noise arrives.
    rig.link.setPortNumber(3);
    QVERIFY(!rig.link.open());
    const int sent = rig.link.sent.size();
    rig.link.burst(simReply(9, 100, 'x'), 1 * kMs);
    rig.clock.runAll();
    QCOMPARE(rig.link.sent.size(), sent);
    QVERIFY(!rig.t2.isActive());
    QVERIFY(rig.exchange.buffer().isEmpty());
    QCOMPARE(rig.observer.outcomes.size(), 1);
}

void TestDownloadExchange::causeLines_data()
{
    QTest::addColumn<LinkError>("error");
    QTest::addColumn<QString>("line");
    using K = LinkError::Kind;
    QTest::newRow("no port chosen") << LinkError{K::NoPortChosen, {}, "No port selected"}
                                    << "Cannot open the port: No port selected.";
    QTest::newRow("absent device") << LinkError{K::CannotOpen, "/dev/ttyUSB0", "No such file or directory"}
                                   << "Cannot open /dev/ttyUSB0: No such file or directory.";
    QTest::newRow("reason with its own full stop") << LinkError{K::CannotOpen, "/dev/ttyS0", "Device busy."}
                                                   << "Cannot open /dev/ttyS0: Device busy.";
    QTest::newRow("permission denied gets the dialout hint")
        << LinkError{K::CannotOpen, "/dev/ttyUSB1", "Permission denied"}
        << "Cannot open /dev/ttyUSB1: Permission denied. Serial ports belong to the dialout group: join it "
           "(sudo adduser $USER dialout) and log in again.";
    QTest::newRow("device went away") << LinkError{K::Closed, "/dev/ttyUSB0", "Input/output error"}
                                      << "The port closed: Input/output error.";
}

void TestDownloadExchange::causeLines()
{
    QFETCH(LinkError, error);
    QFETCH(QString, line);
    const DownloadOutcome outcome = DownloadOutcome::fromLinkError(error);
    QVERIFY(!outcome.ok());
    QCOMPARE(outcome.causeLine(), line);
    QCOMPARE(outcome.message().split('\n'), (QStringList{DownloadExchange::kNoAnswer, line}));
    QCOMPARE(DownloadOutcome::success({}).message(), DownloadExchange::kDownloadOk);
    QVERIFY(DownloadOutcome::success({}).causeLine().isEmpty());
}


QTEST_GUILESS_MAIN(TestDownloadExchange)
#include "test_download_exchange.moc"
