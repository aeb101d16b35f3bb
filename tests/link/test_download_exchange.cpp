// The download exchange on a simulated clock: every timing below is exact to the microsecond.

#include "data/measurement_store.h"
#include "link/download_exchange.h"
#include "sim_line.h"

#include <QtTest>

using namespace kelpra;
using namespace kelpra::test;

namespace {

constexpr qint64 kMs = 1000;

// Records what the exchange tells the program, in one journal with the port's events.
struct JournalObserver : DownloadObserver {
    JournalObserver(SimClock &clock, QStringList &journal) : clock(clock), journal(journal) {}

    void started() override { journal << "started"; }
    void progress(int received) override { progress_ << received; }
    void finished(const DownloadOutcome &outcome) override
    {
        journal << "finished " + outcome.message();
        outcomes << qMakePair(clock.now(), outcome);
        if (whileMessageOpen)
            whileMessageOpen(outcome);
        journal << "dismissed";
    }

    SimClock &clock;
    QStringList &journal;
    QList<int> progress_;
    QList<QPair<qint64, DownloadOutcome>> outcomes;
    // Runs while the message that reports the outcome is open.
    std::function<void(const DownloadOutcome &)> whileMessageOpen;
};

struct Rig {
    explicit Rig(QList<QByteArray> replies = simReplies(64), qint64 turnaroundUs = 1000)
        : set(link, std::move(replies), turnaroundUs)
    {
        link.journal = &journal;
        t1.journal = &journal;
    }
    // A store holding an earlier download, shown at record 5 of 9.
    void fillOld()
    {
        for (int k = 0; k < MeasurementStore::kSlotCount; ++k)
            store.setSlot(k, simReply(k, 64, 'o'));
        store.set_record_count(9);
        store.set_display_index(5);
    }
    void verifyOld() const
    {
        for (int k = 0; k < MeasurementStore::kSlotCount; ++k)
            QCOMPARE(store.slot(k), simReply(k, 64, 'o'));
        QCOMPARE(store.record_count(), 9);
        QCOMPARE(store.display_index(), 5);
    }
    QStringList after(const QString &entry) const { return journal.mid(journal.lastIndexOf(entry)); }
    QString causeLine() const { return observer.outcomes.isEmpty() ? QString() : observer.outcomes.last().second.causeLine(); }

    SimClock clock;
    QStringList journal;
    SimLink link{clock};
    SimTimer t1{clock};
    SimTimer t2{clock};
    MeasurementStore store;
    JournalObserver observer{clock, journal};
    SimTestSet set;
    DownloadExchange exchange{link, t1, t2, store, observer};
};

QList<QByteArray> commands(int count)
{
    QList<QByteArray> all{QByteArrayLiteral("DL")};
    for (int k = 1; k < count; ++k)
        all << QByteArray("B") + char(k);
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
    void storeChangesOnlyWhenAllRepliesAreIn();
    void failedExchangeKeepsStore_data();
    void failedExchangeKeepsStore();
    void storeChangedDuringExchangeIsReplacedOrKept_data();
    void storeChangedDuringExchangeIsReplacedOrKept();
    void strayBytesCountTowardsNextReply();
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
    Rig rig(simReplies(size), turnaroundUs);
    rig.fillOld();
    rig.exchange.download();
    rig.clock.runAll();

    QCOMPARE(sentBytes(rig.link), commands(17));
    for (int k = 0; k < 17; ++k)
        QCOMPARE(rig.store.slot(k), rig.set.replies.at(k));   // whole, zeros included
    QCOMPARE(rig.store.record_count(), 16);
    QCOMPARE(rig.store.display_index(), 1);
    // Each command goes out exactly 25 ms after the last byte of the previous reply.
    const qint64 replyUs = turnaroundUs + (size - 1) * SimTestSet::kByteUs;
    for (int k = 1; k < 17; ++k)
        QCOMPARE(rig.link.sent.at(k).atUs - rig.link.sent.at(k - 1).atUs, replyUs + 25 * kMs);
    QCOMPARE(rig.observer.outcomes.size(), 1);
    QCOMPARE(rig.observer.outcomes.at(0).first, rig.link.lastRxUs + 25 * kMs);
    QVERIFY(rig.observer.outcomes.at(0).second.ok());
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
    Rig rig(QList<QByteArray>{});   // a test set that says nothing by itself
    rig.exchange.download();
    const QByteArray reply = simReply(0, size);
    if (oneBurst) {
        rig.link.burst(reply, 5 * kMs);
        rig.clock.advanceTo(5 * kMs);
    } else {
        rig.link.lineSend(reply, 5 * kMs, SimTestSet::kByteUs);
        rig.clock.advanceTo(5 * kMs + 62 * SimTestSet::kByteUs);   // 63 bytes in
        QCOMPARE(rig.exchange.replyLength(), 63);
        QVERIFY(!rig.t2.isActive());
        QCOMPARE(rig.exchange.state(), DownloadExchange::State::AwaitingReply);
        rig.clock.advanceBy(SimTestSet::kByteUs);                    // the 64th
        QVERIFY(rig.t2.isActive());
        QCOMPARE(rig.exchange.state(), DownloadExchange::State::ReplyEnding);
        rig.clock.advanceTo(5 * kMs + (size - 1) * SimTestSet::kByteUs);
    }
    const qint64 last = rig.clock.now();
    QCOMPARE(rig.exchange.buffer(), reply);

    rig.clock.advanceTo(last + 25 * kMs - 1);
    QVERIFY(rig.exchange.replies().isEmpty());
    QCOMPARE(rig.link.sent.size(), 1);
    rig.clock.advanceTo(last + 25 * kMs);
    QCOMPARE(rig.exchange.replies(), QList<QByteArray>{reply});
    QVERIFY(rig.store.slot(0).isEmpty());   // aside until all 17 are in
    QCOMPARE(sentBytes(rig.link), commands(2));
    QCOMPARE(rig.exchange.replyIndex(), 1);
    QCOMPARE(rig.exchange.replyLength(), 0);
    QCOMPARE(rig.observer.progress_, QList<int>{1});
}

void TestDownloadExchange::storeChangesOnlyWhenAllRepliesAreIn()
{
    Rig rig;
    rig.fillOld();
    // Check the store after every command: until the last reply has ended, it is the old one.
    rig.link.onSend = [&, answer = rig.link.onSend](const QByteArray &command) {
        rig.verifyOld();
        answer(command);
    };
    // While "Download Ok" is open, the store holds the new data already.
    bool newWhileOpen = false;
    rig.observer.whileMessageOpen = [&](const DownloadOutcome &) {
        newWhileOpen = rig.store.slot(16) == rig.set.replies.at(16) && rig.store.slot(0) == rig.set.replies.at(0);
    };
    rig.exchange.download();
    rig.clock.runAll();
    QCOMPARE(rig.link.sent.size(), 17);
    QVERIFY(newWhileOpen);
    QCOMPARE(rig.store.record_count(), 16);
    QCOMPARE(rig.store.display_index(), 1);
}

void TestDownloadExchange::failedExchangeKeepsStore_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("commandsSent");
    QTest::addColumn<qint64>("endsAtUs");
    QTest::addColumn<QString>("cause");
    QTest::addColumn<int>("portAfter");   // the picker answers 3 after the failure

    const qint64 deadline = 2000 * kMs;
    QTest::newRow("silent") << "silent" << 1 << deadline << "No answer from COM3 (/dev/sim3)." << 3;
    QTest::newRow("short reply 1") << "short0" << 1 << deadline << "Reply 1 of 17 incomplete (40 bytes)." << 3;
    QTest::newRow("short reply 8") << "short7" << 8 << deadline << "Reply 8 of 17 incomplete (40 bytes)." << 3;
    // 80 ms turnaround: about 14 replies fit into the deadline, the next is cut.
    QTest::newRow("slow") << "slow" << 15 << deadline << "Reply 15 of 17 incomplete (0 bytes)." << 3;
    QTest::newRow("hang-up after reply 8") << "hangup7" << 8 << deadline
                                           << "The port closed: Input/output error." << 3;
    QTest::newRow("picker cancelled") << "cancel" << 0 << deadline << "Cannot open the port: No port selected." << 0;
    QTest::newRow("port refused") << "refused" << 0 << deadline
                                  << "Cannot open /dev/sim3: Device or resource busy." << 3;
    QTest::newRow("permission denied") << "denied" << 0 << deadline
                                       << "Cannot open /dev/sim3: Permission denied. Serial ports belong to the "
                                          "dialout group: join it (sudo adduser $USER dialout) and log in again."
                                       << 3;
    QTest::newRow("B3 send fails") << "send3" << 3 << deadline << "The port closed: Write fault." << 3;
    QTest::newRow("a read fails") << "read2" << 3 << deadline << "The port closed: Read fault." << 3;
}

void TestDownloadExchange::failedExchangeKeepsStore()
{
    QFETCH(QString, fault);
    QFETCH(int, commandsSent);
    QFETCH(qint64, endsAtUs);
    QFETCH(QString, cause);
    QFETCH(int, portAfter);

    QList<QByteArray> replies = simReplies(64);
    qint64 turnaround = 1000;
    if (fault == "silent")
        replies.clear();
    else if (fault.startsWith("short"))
        replies[fault.mid(5).toInt()].truncate(40);
    else if (fault == "slow")
        turnaround = 80 * kMs;
    Rig rig(replies, turnaround);
    rig.fillOld();
    if (fault == "cancel")
        rig.link.pickerAnswer.reset();
    if (fault == "refused")
        rig.link.openRefusal = QStringLiteral("Device or resource busy");
    if (fault == "denied")
        rig.link.openRefusal = QStringLiteral("Permission denied");
    if (fault == "send3")
        rig.link.failSendsFrom = 3;
    rig.link.onSend = [&, answer = rig.link.onSend](const QByteArray &command) {
        if (fault == "hangup7" && command == QByteArray("B\x07"))
            rig.link.hangUp(QStringLiteral("Input/output error"), 1000 + 64 * SimTestSet::kByteUs);
        if (fault == "read2" && rig.link.sent.size() == 3)
            rig.link.failReads = 1;
        answer(command);
    };
    rig.exchange.download();
    QVERIFY(rig.t1.isActive());
    // Refusals afterwards would only hide the picker's answer.
    rig.link.openRefusal.clear();
    rig.clock.runAll();

    QCOMPARE(rig.link.sent.size(), commandsSent);
    rig.verifyOld();
    QCOMPARE(rig.observer.outcomes.size(), 1);   // one message, however the line broke
    QCOMPARE(rig.observer.outcomes.at(0).first, endsAtUs);
    QVERIFY(!rig.observer.outcomes.at(0).second.ok());
    QCOMPARE(rig.causeLine(), cause);
    QCOMPARE(rig.observer.outcomes.at(0).second.message(), kFailedPrefix + cause);
    // The port is closed and forgotten before the message; the picker comes once it is dismissed.
    QCOMPARE(rig.after("port 0").mid(0, 4),
             (QStringList{"port 0", "finished " + kFailedPrefix + cause, "dismissed", "picker"}));
    QCOMPARE(rig.link.closes, commandsSent > 0 ? 1 : 0);
    QCOMPARE(rig.link.portNumber(), portAfter);
    QCOMPARE(rig.t1.starts, 1);
    QVERIFY(!rig.t1.isActive() && !rig.t2.isActive());
    QCOMPARE(rig.exchange.state(), DownloadExchange::State::Idle);
}

void TestDownloadExchange::storeChangedDuringExchangeIsReplacedOrKept_data()
{
    QTest::addColumn<bool>("completes");
    QTest::newRow("download completes") << true;
    QTest::newRow("download fails") << false;
}

void TestDownloadExchange::storeChangedDuringExchangeIsReplacedOrKept()
{
    // "Emulation" while a download runs: the sample set goes in at once.
    QFETCH(bool, completes);
    QList<QByteArray> replies = simReplies(64);
    if (!completes)
        replies[12].truncate(10);
    Rig rig(replies);
    rig.exchange.download();
    rig.clock.advanceBy(300 * kMs);
    QVERIFY(rig.exchange.running());
    for (int k = 0; k < 17; ++k)
        rig.store.setSlot(k, simReply(k, 64, 's'));
    rig.store.set_display_index(4);
    rig.clock.runAll();

    for (int k = 0; k < 17; ++k)
        QCOMPARE(rig.store.slot(k), completes ? replies.at(k) : simReply(k, 64, 's'));
    QCOMPARE(rig.store.display_index(), completes ? 1 : 4);
}

void TestDownloadExchange::strayBytesCountTowardsNextReply()
{
    Rig rig;
    const QByteArray stray("\x00stray", 6);
    rig.link.onSend = [&, answer = rig.link.onSend](const QByteArray &command) {
        if (command == QByteArray("B\x05"))
            rig.link.burst(stray, 200);   // before the set's own answer
        answer(command);
    };
    rig.exchange.download();
    rig.clock.runAll();

    QCOMPARE(rig.store.slot(5), stray + rig.set.replies.at(5));
    QCOMPARE(rig.store.slot(6), rig.set.replies.at(6));
    QCOMPARE(rig.observer.outcomes.size(), 1);
    QVERIFY(rig.observer.outcomes.at(0).second.ok());
}

void TestDownloadExchange::downloadCommandSteps()
{
    Rig rig;
    rig.fillOld();
    rig.exchange.download();

    // The picker comes before "DL", the deadline right after it; nothing of the store changes.
    QCOMPARE(rig.journal, (QStringList{"picker", "send 444c", "start 2000", "started"}));
    rig.verifyOld();
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
    rig.set.replies = simReplies(70, 's');
    rig.exchange.download();
    rig.clock.runAll();

    QList<int> once;
    for (int p = 1; p <= 16; ++p)
        once << p;
    QCOMPARE(rig.observer.progress_, once + once);
    QCOMPARE(rig.journal.count("started"), 2);
    QCOMPARE(rig.link.pickerShown, 1);
    QCOMPARE(rig.link.closes, 2);
    QCOMPARE(sentBytes(rig.link), commands(17) + commands(17));
    QCOMPARE(rig.store.slot(16), simReply(16, 70, 's'));
}

void TestDownloadExchange::bytesOutsideExchangeDropped()
{
    Rig rig(QList<QByteArray>{});   // silent set: the deadline reopens the port
    rig.exchange.download();
    rig.clock.runAll();
    QVERIFY(rig.link.isOpen());
    const int sent = rig.link.sent.size();

    rig.link.burst(simReply(9, 100, 'x'), 1 * kMs);
    rig.clock.runAll();
    QCOMPARE(rig.link.sent.size(), sent);
    QVERIFY(!rig.t2.isActive());
    QVERIFY(rig.exchange.buffer().isEmpty());
    for (int k = 0; k < 17; ++k)
        QVERIFY(rig.store.slot(k).isEmpty());

    // A later download starts clean.
    rig.set.replies = simReplies(64);
    rig.exchange.download();
    rig.clock.runAll();
    QCOMPARE(rig.store.slot(0), rig.set.replies.at(0));
    QVERIFY(rig.observer.outcomes.last().second.ok());
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
    QCOMPARE(DownloadOutcome::success().message(), DownloadExchange::kDownloadOk);
    QVERIFY(DownloadOutcome::success().causeLine().isEmpty());
}


QTEST_GUILESS_MAIN(TestDownloadExchange)
#include "test_download_exchange.moc"
