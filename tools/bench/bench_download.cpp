// kelpra-bench-download: runs complete download exchanges against kelpra-testset on a
// pseudo-terminal and reports each exchange's time against the line's physical limit
// (every reply byte at 19200 bit/s, 10 bits a byte, plus one 25 ms closing pause per reply).
//
// usage: kelpra-bench-download [--runs N] [--record-size N] [--testset PATH]

#include "data/wire.h"
#include "link/serial_port.h"
#include "link/download_exchange.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <cstdio>

using namespace kelpra;

namespace {

// Remembers how the exchange ended and when.
class BenchObserver : public DownloadObserver {
public:
    void finished(const DownloadOutcome &result) override
    {
        endedNs = clock.nsecsElapsed();
        outcome = result.message();
        replies = result.replies();
    }

    QElapsedTimer clock;
    qint64 endedNs = -1;
    QString outcome;
    QList<QByteArray> replies;
};

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    const qsizetype n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int runs = 9;
    QString recordSize = QStringLiteral("64");
    QString testset = QCoreApplication::applicationDirPath() + QStringLiteral("/kelpra-testset");
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == "--runs")
            runs = std::max(1, args[i + 1].toInt());
        else if (args[i] == "--record-size")
            recordSize = args[i + 1];
        else if (args[i] == "--testset")
            testset = args[i + 1];
    }

    QProcess set;
    set.setProgram(testset);
    set.setArguments({"--turnaround", "0", "--record-size", recordSize});
    set.setStandardErrorFile(QProcess::nullDevice());
    set.setProcessChannelMode(QProcess::SeparateChannels);
    set.start();
    if (!set.waitForStarted(5000) || !set.waitForReadyRead(5000)) {
        std::fprintf(stderr, "cannot start %s\n", qPrintable(testset));
        return 2;
    }
    const QString device = QString::fromLocal8Bit(set.readLine()).trimmed();

    SerialPort port;
    port.setPortMap(PortMap::overridesOnly({{1, device}}));
    port.setPortNumber(1);
    QtExchangeTimer deadline, replyEnd;
    BenchObserver observer;
    DownloadExchange exchange(port, deadline, replyEnd, observer);
    // Where the time goes, per reply: the pause timer's lateness and the wait from a
    // command until the last byte of its reply beyond the reply's own line time.
    qint64 lastByteNs = 0, commandNs = 0;
    QList<double> timerLateMs, replyLateMs;
    // The exchange has wired itself to the port and the timers; the bench listens in between.
    port.onDataAvailable = [&](quint16 count) {
        lastByteNs = observer.clock.nsecsElapsed();
        exchange.dataAvailable(count);
    };
    replyEnd.onTimeout = [&] {
        const qint64 firedNs = observer.clock.nsecsElapsed();
        timerLateMs << (firedNs - lastByteNs) / 1e6 - wire::kReplyPauseMs;
        const double lineMs = exchange.buffer().size() * wire::kByteNs / 1e6;
        replyLateMs << (lastByteNs - commandNs) / 1e6 - lineMs;
        exchange.replyEnded();
        commandNs = observer.clock.nsecsElapsed();
    };

    QList<double> ratios, millis;
    int failed = 0;
    for (int run = 0; run < runs; ++run) {
        observer.endedNs = -1;
        observer.replies.clear();
        observer.clock.start();
        commandNs = 0;
        exchange.download();
        while (observer.endedNs < 0)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        if (observer.outcome != DownloadExchange::kDownloadOk) {
            ++failed;
            std::printf("run %d: %s\n", run + 1, qPrintable(observer.outcome.trimmed()));
            port.setPortNumber(1);
            continue;
        }
        qint64 bytes = 0;
        for (const QByteArray &reply : observer.replies)
            bytes += reply.size();
        const double limitMs = bytes * wire::kByteNs / 1e6 + wire::kReplyCount * wire::kReplyPauseMs;
        const double ms = observer.endedNs / 1e6;
        millis << ms;
        ratios << ms / limitMs;
        std::printf("run %d: %.1f ms, limit %.1f ms, ratio %.4f\n", run + 1, ms, limitMs, ms / limitMs);
        std::fflush(stdout);
        // A short rest between exchanges, as a user's next click would leave.
        QElapsedTimer rest;
        rest.start();
        while (rest.elapsed() < 100)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    set.terminate();
    set.waitForFinished(3000);
    if (ratios.isEmpty()) {
        std::printf("no complete exchange in %d runs\n", runs);
        return 1;
    }
    std::printf("median: %.1f ms, ratio %.4f (min %.4f, max %.4f), %d of %d runs failed\n", median(millis),
                median(ratios), *std::min_element(ratios.begin(), ratios.end()),
                *std::max_element(ratios.begin(), ratios.end()), failed, runs);
    std::printf("per reply: pause timer late by median %.2f ms (max %.2f); last byte later than its line "
                "time after the command by median %.2f ms (max %.2f)\n",
                median(timerLateMs), *std::max_element(timerLateMs.begin(), timerLateMs.end()),
                median(replyLateMs), *std::max_element(replyLateMs.begin(), replyLateMs.end()));
    return failed ? 1 : 0;
}
