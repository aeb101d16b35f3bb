// kelpra-testset driven through SerialPort, as the download window drives the real test set.

#include "data/sample_set.h"
#include "link/serial_port.h"
#include "support/testset_process.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace kelpra;

namespace {

// One byte on a 19200 bit/s line with 10 bits a byte, in microseconds.
constexpr double kByteUs = 10.0 * 1e6 / 19200.0;

using kelpra::test::TestSetProcess;

// Sends a command and gathers the reply until `quietMs` pass without a byte (once
// `atLeast` bytes have come) or `limitMs` in all.
QByteArray exchange(SerialPort &port, const QByteArray &command, int atLeast = 64, int quietMs = 40,
                    int limitMs = 2000, qint64 *firstByteMs = nullptr)
{
    QByteArray got;
    QElapsedTimer sinceLast, total;
    port.onDataAvailable = [&](quint16 count) {
        for (int i = 0; i < count; ++i) {
            quint8 b = 0;
            if (port.readByte(&b))
                return;
            if (got.isEmpty() && firstByteMs)
                *firstByteMs = total.elapsed();
            got.append(static_cast<char>(b));
        }
        sinceLast.start();
    };
    total.start();
    sinceLast.start();
    if (port.send(command))
        return "<send failed>";
    while (total.elapsed() < limitMs && port.isOpen()) {
        if (got.size() >= atLeast && sinceLast.elapsed() >= quietMs)
            break;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    port.onDataAvailable = nullptr;
    return got;
}

QByteArray command(int k)
{
    return k == 0 ? QByteArray("DL") : QByteArray("B") + char(k);
}

} // namespace

class TestTestSet : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void identificationReply()
    {
        TestSetProcess set({});
        QVERIFY(set.path.startsWith("/dev/"));
        SerialPort port;
        port.setPortMap(PortMap::overridesOnly({{1, set.path}}));
        port.setPortNumber(1);
        const QByteArray reply = exchange(port, "DL");
        QCOMPARE(reply.size(), 64);
        QVERIFY(reply.startsWith(sampleIdentificationLine()));
    }

    void wholeSetPacedAt19200()
    {
        TestSetProcess set({"--turnaround", "0"});
        SerialPort port;
        port.setPortMap(PortMap::overridesOnly({{1, set.path}}));
        port.setPortNumber(1);
        QVERIFY(port.open() == std::nullopt);
        QElapsedTimer t;
        t.start();
        qint64 lineTime = 0;
        for (int k = 0; k <= 16; ++k) {
            // Stop as soon as the reply is whole, so only the line time is measured.
            const QByteArray reply = exchange(port, command(k), 64, 0);
            QCOMPARE(reply.size(), 64);
            if (k > 0)
                QCOMPARE(reply, sampleRecord(k));
            lineTime = t.elapsed();
        }
        // 17 replies of 64 bytes cannot come faster than the line carries them.
        const double minimumMs = 17 * 64 * kByteUs / 1000.0 - 17 * kByteUs / 1000.0;
        QVERIFY2(lineTime >= minimumMs, qPrintable(QString("%1 ms < %2 ms").arg(lineTime).arg(minimumMs)));
        QVERIFY2(lineTime < 1500, qPrintable(QString("%1 ms").arg(lineTime)));
    }

    void recordsFromDataFile()
    {
        QTemporaryDir dir;
        // A 13, 10 pair among the symbols stays inside the record.
        const QByteArray rec1 = QByteArray("01 010124 1200 1 156.525 MHZ   ") + QByteArray("\x80\0\r\x7F\x0A\r\n", 7)
                                + QByteArray(40, 'x');
        const QByteArray rec2(64, '\x7D');
        QFile f(dir.filePath("alldata.bin"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("1\r\n" + rec1 + "\r\n" + rec2 + "\r\ndataend\r\n2\r\nRadio\r\n" + QByteArray("\r\n").repeated(7));
        f.close();
        TestSetProcess set({"--records", f.fileName()});
        SerialPort port;
        port.setPortMap(PortMap::overridesOnly({{1, set.path}}));
        port.setPortNumber(1);
        QCOMPARE(exchange(port, command(1)), rec1);
        QCOMPARE(exchange(port, command(2)), rec2);
        QCOMPARE(exchange(port, command(3)), QByteArray(64, '\0'));
    }

    void faults_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("record");
        QTest::addColumn<int>("replyLength");   // bytes gathered for the record
        QTest::addColumn<int>("minimumMs");     // earliest first byte after the command
        QTest::addColumn<bool>("staysOpen");
        QTest::newRow("plain") << QStringList{} << 2 << 64 << 0 << true;
        QTest::newRow("padded") << QStringList{"--record-size", "100"} << 2 << 100 << 0 << true;
        QTest::newRow("silent") << QStringList{"--fault", "silent"} << 2 << 0 << 0 << true;
        QTest::newRow("short") << QStringList{"--fault", "short", "--fault-record", "2"} << 2 << 40 << 0 << true;
        QTest::newRow("short elsewhere") << QStringList{"--fault", "short", "--fault-record", "5"} << 2 << 64 << 0 << true;
        QTest::newRow("slow") << QStringList{"--fault", "slow", "--delay", "250"} << 2 << 64 << 250 << true;
        QTest::newRow("stray") << QStringList{"--fault", "stray", "--fault-record", "2"} << 2 << 67 << 0 << true;
        QTest::newRow("hangup") << QStringList{"--fault", "hangup", "--fault-record", "2"} << 2 << 64 << 0 << false;
    }
    void faults()
    {
        QFETCH(QStringList, args);
        QFETCH(int, record);
        QFETCH(int, replyLength);
        QFETCH(int, minimumMs);
        QFETCH(bool, staysOpen);
        TestSetProcess set(args);
        SerialPort port;
        port.setPortMap(PortMap::overridesOnly({{1, set.path}}));
        port.setPortNumber(1);
        QVERIFY(port.open() == std::nullopt);
        // Wait long enough for the stray bytes (40 ms after the reply) to come too.
        qint64 firstByteMs = -1;
        const QByteArray reply = exchange(port, command(record), 1000, 0, 700, &firstByteMs);
        QCOMPARE(reply.size(), replyLength);
        if (replyLength >= 64)
            QCOMPARE(reply.left(64), sampleRecord(record));
        if (replyLength > 0) {
            QVERIFY2(firstByteMs >= minimumMs, qPrintable(QString::number(firstByteMs)));
            if (minimumMs == 0)
                QVERIFY2(firstByteMs < 200, qPrintable(QString::number(firstByteMs)));
        }
        if (!staysOpen)
            QTRY_VERIFY(!port.isOpen());
        QCOMPARE(port.isOpen(), staysOpen);
    }
};

QTEST_GUILESS_MAIN(TestTestSet)
#include "test_testset.moc"
