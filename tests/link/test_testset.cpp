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

// The program's end of the line: every received byte is gathered in `got`, and the time
// of the first one kept (for lower bounds only: a loaded machine may always be slower).
struct Line {
    explicit Line(const QString &device)
    {
        port.setPortMap(PortMap::overridesOnly({{1, device}}));
        port.setPortNumber(1);
        port.onDataAvailable = [this](quint16 count) {
            for (int i = 0; i < count; ++i) {
                quint8 b = 0;
                if (port.readByte(&b))
                    return;
                if (got.isEmpty())
                    firstByteMs = sinceCommand.elapsed();
                got.append(static_cast<char>(b));
            }
        };
    }
    bool send(const QByteArray &bytes)
    {
        sinceCommand.start();
        return !port.send(bytes);
    }

    SerialPort port;
    QByteArray got;
    QElapsedTimer sinceCommand;
    qint64 firstByteMs = -1;
};

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
        Line line(set.path);
        QVERIFY(line.send("DL"));
        QTRY_VERIFY(line.got.size() >= 64);
        QVERIFY(line.got.startsWith(sampleIdentificationLine()));
        // Nothing more belongs to it: the next reply follows directly.
        QVERIFY(line.send(command(1)));
        QTRY_VERIFY(line.got.size() >= 128);
        QCOMPARE(line.got.mid(64), sampleRecord(1));
    }

    void wholeSetPacedAt19200()
    {
        TestSetProcess set({"--turnaround", "0"});
        Line line(set.path);
        QVERIFY(line.port.open() == std::nullopt);
        QElapsedTimer t;
        t.start();
        for (int k = 0; k <= 16; ++k) {
            // The next command as soon as the reply is whole, so only the line time is measured.
            QVERIFY(line.send(command(k)));
            QTRY_VERIFY(line.got.size() >= 64 * (k + 1));
            if (k > 0)
                QCOMPARE(line.got.mid(64 * k, 64), sampleRecord(k));
        }
        const qint64 lineTime = t.elapsed();
        QCOMPARE(line.got.size(), 17 * 64);
        // 17 replies of 64 bytes cannot come faster than the line carries them.
        const double minimumMs = 17 * 64 * kByteUs / 1000.0 - 17 * kByteUs / 1000.0;
        QVERIFY2(lineTime >= minimumMs, qPrintable(QString("%1 ms < %2 ms").arg(lineTime).arg(minimumMs)));
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
        Line line(set.path);
        const QByteArray expected = rec1 + rec2 + QByteArray(64, '\0');
        const int after[] = {int(rec1.size()), int(rec1.size() + rec2.size()), int(expected.size())};
        for (int k = 1; k <= 3; ++k) {
            QVERIFY(line.send(command(k)));
            QTRY_VERIFY(line.got.size() >= after[k - 1]);
        }
        QCOMPARE(line.got, expected);
    }

    void faults_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("record");
        QTest::addColumn<int>("replyLength");   // bytes that come for the record
        QTest::addColumn<int>("minimumMs");     // earliest first byte after the command
        QTest::newRow("plain") << QStringList{} << 2 << 64 << 0;
        QTest::newRow("padded") << QStringList{"--record-size", "100"} << 2 << 100 << 0;
        QTest::newRow("short") << QStringList{"--fault", "short", "--fault-record", "2"} << 2 << 40 << 0;
        QTest::newRow("short elsewhere") << QStringList{"--fault", "short", "--fault-record", "5"} << 2 << 64 << 0;
        QTest::newRow("slow") << QStringList{"--fault", "slow", "--delay", "250"} << 2 << 64 << 250;
        QTest::newRow("stray") << QStringList{"--fault", "stray", "--fault-record", "2"} << 2 << 67 << 0;
    }
    void faults()
    {
        QFETCH(QStringList, args);
        QFETCH(int, record);
        QFETCH(int, replyLength);
        QFETCH(int, minimumMs);
        TestSetProcess set(args);
        Line line(set.path);
        QVERIFY(line.port.open() == std::nullopt);
        QVERIFY(line.send(command(record)));
        QTRY_VERIFY_WITH_TIMEOUT(line.got.size() >= std::min(replyLength, 40), 10000);
        QVERIFY2(line.firstByteMs >= minimumMs, qPrintable(QString::number(line.firstByteMs)));
        // The test set answers in order, so the next record's reply marks the end of this one.
        QVERIFY(line.send(command(record + 1)));
        const int padded = args.contains("--record-size") ? 100 : 64;
        QTRY_VERIFY_WITH_TIMEOUT(line.got.size() >= replyLength + padded, 10000);
        QCOMPARE(line.got.size(), replyLength + padded);
        QCOMPARE(line.got.left(std::min(replyLength, 64)), sampleRecord(record).left(replyLength));
        QCOMPARE(line.got.mid(replyLength, 64), sampleRecord(record + 1));
        QVERIFY(line.port.isOpen());
    }

    void hangupComesAfterTheReplyHasBeenRead_data()
    {
        QTest::addColumn<bool>("nextCommand");
        QTest::newRow("hangs up once the line is drained") << false;
        QTest::newRow("hangs up at the next command") << true;
    }
    void hangupComesAfterTheReplyHasBeenRead()
    {
        QFETCH(bool, nextCommand);
        TestSetProcess set({"--fault", "hangup", "--fault-record", "2"});
        Line line(set.path);
        QString lost;
        line.port.onLost = [&](const QString &reason) { lost = reason; };
        QVERIFY(line.send(command(2)));
        QTRY_VERIFY_WITH_TIMEOUT(line.got.size() >= 64, 10000);
        // Under load the test set may hang up before the command goes out; the reply
        // before it must be whole either way.
        if (nextCommand)
            (void)line.send(command(3));
        QTRY_VERIFY_WITH_TIMEOUT(!line.port.isOpen(), 10000);
        // The whole reply, and nothing of the next.
        QCOMPARE(line.got, sampleRecord(2));
        QVERIFY(!lost.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestTestSet)
#include "test_testset.moc"
