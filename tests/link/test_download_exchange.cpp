// The download exchange on a simulated clock: every timing below is exact to the microsecond.

#include "data/measurement_store.h"
#include "link/download_exchange.h"
#include "sim_line.h"

#include <QtTest>

using namespace kelpra;
using namespace kelpra::test;

namespace {

const QString kNoData = QStringLiteral("Please download the data or read it from file before decoding!");
constexpr qint64 kMs = 1000;

// Records what the exchange does to the program, in one journal with the port's events.
struct JournalHost : DownloadHost {
    JournalHost(MeasurementStore &store, SimClock &clock, QStringList &journal)
        : store(store), clock(clock), journal(journal) {}

    void setCommandsEnabled(bool enabled) override { journal << (enabled ? "enable" : "disable"); }
    void setProgress(int position) override { progress << position; }
    void showCounts(int received, int current, int total) override
    {
        journal << QStringLiteral("counts %1 %2 %3").arg(received).arg(current).arg(total);
    }
    void setPrevVisible(bool v) override { journal << (v ? "prev shown" : "prev hidden"); }
    void setNextVisible(bool v) override { journal << (v ? "next shown" : "next hidden"); }
    void hideDownloadWindow() override { journal << "window hidden"; }
    // What the main window's command does first: no data, no decoding.
    void decodeMessage() override
    {
        if (!store.holdsData())
            showMessage(kNoData);
        else
            journal << "decode " + QString::fromLatin1(store.slot(0).left(4).toHex());
    }
    void setStatusText(const QString &text) override { journal << "status " + text; }
    void showMessage(const QString &text) override
    {
        journal << "message " + text;
        if (text != kNoData)
            messages << qMakePair(clock.now(), text);   // the exchange's own messages
        if (whileMessageOpen)
            whileMessageOpen(text);
        journal << "dismissed";
    }
    void showError(const QString &text) override
    {
        journal << "error " + text;
        errors << text;
    }

    MeasurementStore &store;
    SimClock &clock;
    QStringList &journal;
    QList<int> progress;
    QStringList errors;
    QList<QPair<qint64, QString>> messages;
    std::function<void(const QString &)> whileMessageOpen;
};

struct Rig {
    explicit Rig(QList<QByteArray> replies = simReplies(64), qint64 turnaroundUs = 1000)
        : set(link, std::move(replies), turnaroundUs)
    {
        link.journal = &journal;
        t1.journal = &journal;
        exchange.connectSources();
    }
    void fillOld()
    {
        for (int k = 0; k < MeasurementStore::kSlotCount; ++k)
            store.setSlot(k, simReply(k, 64, 'o'));
    }
    QStringList after(const QString &entry) const { return journal.mid(journal.lastIndexOf(entry)); }

    SimClock clock;
    QStringList journal;
    SimLink link{clock};
    SimTimer t1{clock};
    SimTimer t2{clock};
    MeasurementStore store;
    JournalHost host{store, clock, journal};
    SimTestSet set;
    DownloadExchange exchange{link, t1, t2, store, host};
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

class TestDownloadExchange : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void completeExchange_data();
    void completeExchange();
    void replyEndsAfterPause_data();
    void replyEndsAfterPause();
    void shortReplyStallsUntilDeadline();
    void deadlineCoversWholeExchange();
    void strayBytesCountTowardsNextReply();
    void failures_data();
    void failures();
    void downloadCommandSteps_data();
    void downloadCommandSteps();
    void repliesArriveWhileMessageOpen();
    void progressNeverResetAndPortReused();
    void bytesOutsideExchangeDropped();
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
    // Each command goes out exactly 25 ms after the last byte of the previous reply.
    const qint64 replyUs = turnaroundUs + (size - 1) * SimTestSet::kByteUs;
    for (int k = 1; k < 17; ++k)
        QCOMPARE(rig.link.sent.at(k).atUs - rig.link.sent.at(k - 1).atUs, replyUs + 25 * kMs);
    QCOMPARE(rig.host.messages.size(), 1);
    QCOMPARE(rig.host.messages.at(0).first, rig.link.lastRxUs + 25 * kMs);
    QCOMPARE(rig.after("send 4210"),
             (QStringList{"send 4210", "close", "message Download Ok", "dismissed", "enable"}));
    QCOMPARE(rig.host.progress, (QList<int>{2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}));
    QVERIFY(!rig.link.isOpen());
    QCOMPARE(rig.link.portNumber(), 3);
    QCOMPARE(rig.t1.starts, 1);
    QVERIFY(!rig.t1.isActive() && !rig.t2.isActive());
    QCOMPARE(rig.exchange.state(), DownloadExchange::State::Idle);
    QCOMPARE(rig.store.record_count(), 16);
    QCOMPARE(rig.store.display_index(), 1);
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
    QVERIFY(rig.store.slot(0).isEmpty());
    QCOMPARE(rig.link.sent.size(), 1);
    rig.clock.advanceTo(last + 25 * kMs);
    QCOMPARE(rig.store.slot(0), reply);
    QCOMPARE(sentBytes(rig.link), commands(2));
    QCOMPARE(rig.exchange.replyIndex(), 1);
    QCOMPARE(rig.exchange.replyLength(), 0);
    QVERIFY(rig.exchange.buffer().isEmpty());
    QCOMPARE(rig.host.progress, QList<int>{2});
}

void TestDownloadExchange::shortReplyStallsUntilDeadline()
{
    QList<QByteArray> replies = simReplies(64);
    replies[3] = simReply(3, 63);
    Rig rig(replies);
    rig.fillOld();
    rig.link.pickerAnswer = 5;
    rig.exchange.download();
    rig.clock.runAll();

    QCOMPARE(sentBytes(rig.link), commands(4));
    for (int k = 0; k < 17; ++k)
        QCOMPARE(rig.store.slot(k), k < 3 ? replies.at(k) : simReply(k, 64, 'o'));
    QCOMPARE(rig.exchange.buffer(), replies.at(3));   // the deadline leaves it as it was
    QCOMPARE(rig.exchange.replyIndex(), 3);
    QCOMPARE(rig.host.messages.size(), 1);
    QCOMPARE(rig.host.messages.at(0).first, rig.link.sent.at(0).atUs + 2000 * kMs);
    QCOMPARE(rig.after("close"), (QStringList{"close", "port 0", "message " + DownloadExchange::kNoAnswer,
                                              "dismissed", "enable", "picker"}));
    QVERIFY(rig.link.isOpen());   // the chosen port stays open for the next download
    QCOMPARE(rig.link.portNumber(), 5);
    QCOMPARE(rig.store.record_count(), 16);
    QVERIFY(!rig.t1.isActive() && !rig.t2.isActive());
    QCOMPARE(rig.exchange.state(), DownloadExchange::State::Idle);
}

void TestDownloadExchange::deadlineCoversWholeExchange()
{
    // Every reply takes about 140 ms, far below 2000 ms, but 17 of them do not fit.
    Rig rig(simReplies(64), 80 * kMs);
    rig.fillOld();
    rig.exchange.download();
    rig.clock.runAll();

    const qint64 perReply = 80 * kMs + 63 * SimTestSet::kByteUs + 25 * kMs;
    const int stored = int((2000 * kMs) / perReply);
    QCOMPARE(rig.t1.starts, 1);
    QCOMPARE(rig.host.messages.size(), 1);
    QCOMPARE(rig.host.messages.at(0), qMakePair(2000 * kMs, DownloadExchange::kNoAnswer));
    QCOMPARE(rig.link.sent.size(), stored + 1);
    for (int k = 0; k < 17; ++k)
        QCOMPARE(rig.store.slot(k), k < stored ? rig.set.replies.at(k) : simReply(k, 64, 'o'));
}

void TestDownloadExchange::strayBytesCountTowardsNextReply()
{
    Rig rig;
    const QByteArray stray("\x00stray", 6);
    auto answer = rig.link.onSend;
    rig.link.onSend = [&](const QByteArray &command) {
        if (command == QByteArray("B\x05"))
            rig.link.burst(stray, 200);   // before the set's own answer
        answer(command);
    };
    rig.exchange.download();
    rig.clock.runAll();

    QCOMPARE(rig.store.slot(5), stray + rig.set.replies.at(5));
    QCOMPARE(rig.store.slot(6), rig.set.replies.at(6));
    QCOMPARE(rig.host.messages.size(), 1);
    QCOMPARE(rig.host.messages.at(0).second, DownloadExchange::kDownloadOk);
}

void TestDownloadExchange::failures_data()
{
    QTest::addColumn<int>("failSendsFrom");
    QTest::addColumn<int>("failReadAfterCommand");
    QTest::addColumn<bool>("portPresent");
    QTest::addColumn<bool>("pickerAnswers");
    QTest::addColumn<int>("commandsSent");
    QTest::addColumn<QStringList>("errors");
    QTest::addColumn<QString>("finalMessage");
    QTest::addColumn<int>("pickers");
    QTest::addColumn<int>("portAfter");

    const QString ok = DownloadExchange::kDownloadOk, none = DownloadExchange::kNoAnswer;
    // Failures of the "DL" send are silent and end at the deadline.
    QTest::newRow("DL send fails") << 0 << -1 << true << true << 0 << QStringList() << none << 2 << 3;
    QTest::newRow("picker cancelled") << 0 << -1 << true << false << 0 << QStringList() << none << 2 << 0;
    QTest::newRow("port cannot be opened") << -1 << -1 << false << true << 0 << QStringList() << none << 2 << 3;
    // Later failures reach the error handler; the deadline still ends the exchange.
    QTest::newRow("B3 send fails") << 3 << -1 << true << true << 3 << QStringList{"Write fault"} << none << 2 << 3;
    QTest::newRow("one read fails") << -1 << 2 << true << true << 17 << QStringList{"Read fault"} << ok << 1 << 3;
}

void TestDownloadExchange::failures()
{
    QFETCH(int, failSendsFrom);
    QFETCH(int, failReadAfterCommand);
    QFETCH(bool, portPresent);
    QFETCH(bool, pickerAnswers);
    QFETCH(int, commandsSent);
    QFETCH(QStringList, errors);
    QFETCH(QString, finalMessage);
    QFETCH(int, pickers);
    QFETCH(int, portAfter);

    Rig rig;
    rig.link.failSendsFrom = failSendsFrom;
    rig.link.portPresent = portPresent;
    if (!pickerAnswers)
        rig.link.pickerAnswer.reset();
    auto answer = rig.link.onSend;
    rig.link.onSend = [&](const QByteArray &command) {
        if (rig.link.sent.size() == failReadAfterCommand + 1)
            rig.link.failReads = 1;
        answer(command);
    };
    rig.exchange.download();
    QCOMPARE(rig.t1.isActive(), true);
    rig.clock.runAll();

    QCOMPARE(rig.link.sent.size(), commandsSent);
    QCOMPARE(rig.host.errors, errors);
    QCOMPARE(rig.host.messages.size(), 1);
    QCOMPARE(rig.host.messages.at(0).second, finalMessage);
    if (finalMessage == DownloadExchange::kNoAnswer)
        QCOMPARE(rig.host.messages.at(0).first, 2000 * kMs);
    QCOMPARE(rig.link.pickerShown, pickers);
    QCOMPARE(rig.link.portNumber(), portAfter);
    QCOMPARE(rig.t1.starts, 1);
    QCOMPARE(rig.journal.last(), QString::fromLatin1(finalMessage == DownloadExchange::kDownloadOk ? "enable" : "picker"));
    QCOMPARE(rig.exchange.state(), DownloadExchange::State::Idle);
}

void TestDownloadExchange::downloadCommandSteps_data()
{
    QTest::addColumn<bool>("oldData");
    QTest::newRow("empty store") << false;
    QTest::newRow("store holding earlier data") << true;
}

void TestDownloadExchange::downloadCommandSteps()
{
    QFETCH(bool, oldData);
    Rig rig;
    if (oldData)
        rig.fillOld();
    rig.store.set_display_index(7);
    rig.exchange.download();

    // Both decodings see the store as it was: no reply has been handled yet.
    const QStringList decode = oldData
        ? QStringList{"decode " + QString::fromLatin1(simReply(0, 64, 'o').left(4).toHex())}
        : QStringList{"message " + kNoData, "dismissed"};
    const QStringList expected = QStringList{"picker", "send 444c", "start 2000", "disable", "counts 0 1 0",
                                             "prev hidden", "window hidden", "next shown"}
        + decode + QStringList{"status " + DownloadExchange::kDecodeHint, "counts 16 1 16"} + decode;
    QCOMPARE(rig.journal, expected);
    QCOMPARE(rig.store.display_index(), 1);
    QCOMPARE(rig.store.record_count(), 16);
    QCOMPARE(rig.exchange.state(), DownloadExchange::State::AwaitingReply);

    rig.exchange.download();   // a second start while one runs is refused
    QCOMPARE(rig.link.sent.size(), 1);
    QCOMPARE(rig.t1.starts, 1);
}

void TestDownloadExchange::repliesArriveWhileMessageOpen()
{
    Rig rig;
    // The first "no data" message stays open for 100 ms of simulated event loop.
    int noData = 0;
    rig.host.whileMessageOpen = [&](const QString &text) {
        if (text == kNoData && ++noData == 1)
            rig.clock.advanceBy(100 * kMs);
    };
    rig.exchange.download();

    QCOMPARE(noData, 1);
    QCOMPARE(rig.journal.last(), "decode " + QString::fromLatin1(rig.set.replies.at(0).left(4).toHex()));
    QVERIFY(rig.exchange.replyIndex() >= 1);
    rig.clock.runAll();
    QCOMPARE(rig.host.messages.last().second, DownloadExchange::kDownloadOk);
    for (int k = 0; k < 17; ++k)
        QCOMPARE(rig.store.slot(k), rig.set.replies.at(k));
}

void TestDownloadExchange::progressNeverResetAndPortReused()
{
    Rig rig;
    rig.exchange.download();
    rig.clock.runAll();
    rig.set.replies = simReplies(70, 's');
    rig.exchange.download();
    rig.clock.runAll();

    QList<int> once;
    for (int p = 2; p <= 17; ++p)
        once << p;
    QCOMPARE(rig.host.progress, once + once);
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
    QCOMPARE(rig.host.messages.last().second, DownloadExchange::kDownloadOk);
}

QTEST_GUILESS_MAIN(TestDownloadExchange)
#include "test_download_exchange.moc"
