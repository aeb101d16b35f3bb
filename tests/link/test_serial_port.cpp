// SerialPort over real pseudo-terminals: the test holds the master side and plays the
// test set; the port opens the slave through a port map that knows nothing else, so no
// real serial port of the machine is touched.

#include "link/serial_port.h"
#include "support/scripted_prompts.h"
#include "support/test_helpers.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

using namespace kelpra;
using kelpra::test::ScriptedPrompts;

namespace {

class Pty {
public:
    Pty()
    {
        char name[256] = {};
        if (openpty(&master, &slave, name, nullptr, nullptr) == 0) {
            termios tio{};
            tcgetattr(slave, &tio);
            cfmakeraw(&tio);
            tcsetattr(slave, TCSANOW, &tio);
            path = QString::fromLocal8Bit(name);
        }
    }
    ~Pty()
    {
        hangUp();
        if (slave >= 0)
            ::close(slave);
    }
    void hangUp()
    {
        if (master >= 0)
            ::close(master);
        master = -1;
    }
    bool write(const QByteArray &bytes) const { return ::write(master, bytes.constData(), bytes.size()) == bytes.size(); }
    // Reads from the master until `count` bytes have come or `ms` have passed.
    QByteArray read(int count, int ms = 10000) const
    {
        QByteArray got;
        QElapsedTimer t;
        t.start();
        while (got.size() < count && t.elapsed() < ms) {
            pollfd p{master, POLLIN, 0};
            if (::poll(&p, 1, 20) > 0) {
                char buf[512];
                const ssize_t n = ::read(master, buf, sizeof buf);
                if (n > 0)
                    got.append(buf, n);
            }
        }
        return got;
    }

    int master = -1;
    int slave = -1; // kept open so the master never sees a hang-up between opens
    QString path;
};

// An open period of COM5 on `device` in which "DL" is sent; what writing its files met.
QString sendOnceAndClose(const QString &device)
{
    SerialPort port;
    port.setPortMap(PortMap::overridesOnly({{5, device}}));
    port.setPortNumber(5);
    const bool sent = !port.send("DL");
    port.close();
    return sent ? port.fileError() : QStringLiteral("send failed");
}

QByteArray allByteValues()
{
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes.append(static_cast<char>(i));
    return bytes;
}

QByteArray fileContent(const QString &name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace

class TestSerialPort : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<kelpra::test::WorkingDirectory> dir_;

private Q_SLOTS:
    void init()
    {
        // A fresh working directory for every case: APD.TRC and APD.LOG land there.
        dir_ = std::make_unique<kelpra::test::WorkingDirectory>();
        QVERIFY(dir_->isValid());
    }
    void cleanup() { dir_.reset(); }

    void opensDespiteModemControlRefusal()
    {
        Pty pty;
        QVERIFY(!pty.path.isEmpty());
        SerialPort port;
        port.setPortMap(PortMap::overridesOnly({{5, pty.path}}));
        port.setPortNumber(5);
        QCOMPARE(port.open(), std::nullopt);
        QVERIFY(port.isOpen());
        // A pseudo-terminal has no DTR/RTS: the refusal is logged, the port stays open.
        int warnings = 0;
        for (const LogEvent &e : port.log().events())
            warnings += e.kind == LogKind::Warning;
        QCOMPARE(warnings, 2);

        // The line settings reached the device.
        termios tio{};
        QCOMPARE(tcgetattr(pty.slave, &tio), 0);
        QCOMPARE(cfgetospeed(&tio), speed_t(B19200));
        QCOMPARE(cfgetispeed(&tio), speed_t(B19200));
        QCOMPARE(tio.c_cflag & CSIZE, tcflag_t(CS8));
        QCOMPARE(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), tcflag_t(0));
        QCOMPARE(tio.c_iflag & (IXON | IXOFF), tcflag_t(0));
    }

    void sendOpensAndPassesEveryByte()
    {
        Pty pty;
        SerialPort port;
        port.setPortMap(PortMap::overridesOnly({{5, pty.path}}));
        port.setPortNumber(5);
        QVERIFY(!port.isOpen());
        const QByteArray bytes = allByteValues() + QByteArray("\r\n\0", 3);
        QCOMPARE(port.send(bytes), std::nullopt);
        QVERIFY(port.isOpen());
        QCOMPARE(pty.read(bytes.size()), bytes);
    }

    void dataAvailableThroughEventLoop()
    {
        Pty pty;
        SerialPort port;
        port.setPortMap(PortMap::overridesOnly({{5, pty.path}}));
        port.setPortNumber(5);
        QCOMPARE(port.open(), std::nullopt);

        QByteArray got;
        QList<int> counts;
        port.onDataAvailable = [&](quint16 count) {
            counts << count;
            for (int i = 0; i < count; ++i) {
                quint8 b = 0;
                QCOMPARE(port.readByte(&b), std::nullopt);
                got.append(static_cast<char>(b));
            }
        };
        const QByteArray reply = QByteArray("GMDSS\0\r\n", 8) + allByteValues();
        QVERIFY(pty.write(reply));
        QTRY_COMPARE(got.size(), reply.size());
        QCOMPARE(got, reply);
        QVERIFY(!counts.isEmpty());
        for (int c : counts)
            QVERIFY(c > 0);

        quint8 b = 0;
        const auto error = port.readByte(&b);
        QVERIFY(error.has_value());
        QVERIFY(error->text().contains("COM5"));
    }

    void traceAndLogWrittenOnFirstCloseOnly()
    {
        Pty pty;
        SerialPort port;
        port.setPortMap(PortMap::overridesOnly({{5, pty.path}}));
        port.setPortNumber(5);
        port.onDataAvailable = [&](quint16 count) {
            quint8 b;
            while (count--)
                port.readByte(&b);
        };
        QCOMPARE(port.send("DL"), std::nullopt);
        QCOMPARE(pty.read(2), QByteArray("DL"));
        QVERIFY(pty.write(QByteArray("AB\0 ~", 5)));
        QTRY_COMPARE(port.trace().size(), 7);
        QCOMPARE(port.send(QByteArray("B\x01", 2)), std::nullopt);
        QCOMPARE(pty.read(2), QByteArray("B\x01", 2));
        QVERIFY(!QFile::exists("APD.TRC"));

        port.close();
        QVERIFY(!port.isOpen());
        QCOMPARE(port.portNumber(), 5);
        QCOMPARE(fileContent("APD.TRC"),
                 QByteArray("Transmit: \r\nDL\r\n\r\nReceive: \r\nAB[00][20]~\r\n\r\nTransmit: \r\nB[01]\r\n"));
        const QByteArray log = fileContent("APD.LOG");
        QVERIFY2(log.startsWith("APD.LOG of " + pty.path.toLocal8Bit() + "\r\nWritten "), log.constData());
        QVERIFY(log.contains(" Open       COM5 " + pty.path.toLocal8Bit() + "\r\n"));
        QVERIFY(log.contains(" Transmit   2\r\n  DL\r\n"));
        QVERIFY(log.contains(" Receive    5\r\n  AB[00][20]~\r\n"));
        QVERIFY(log.contains(" Close      COM5\r\n"));
        QVERIFY(log.endsWith("\r\n"));
        QVERIFY(!port.recording());

        // The second open period is not recorded: nothing replaces the removed files.
        QVERIFY(QFile::remove("APD.TRC") && QFile::remove("APD.LOG"));
        QCOMPARE(port.send("DL"), std::nullopt); // same port, no picker
        QVERIFY(port.isOpen());
        QCOMPARE(pty.read(2), QByteArray("DL"));
        port.close();
        QVERIFY(!QFile::exists("APD.TRC"));
        QVERIFY(!QFile::exists("APD.LOG"));
    }

    void closeCompletesWhenFilesCannotBeWritten()
    {
        // Root ignores file modes, so directories of the same names stand in the way.
        QVERIFY(QDir().mkdir("APD.TRC") && QDir().mkdir("APD.LOG"));
        Pty pty;
        SerialPort port;
        port.setPortMap(PortMap::overridesOnly({{5, pty.path}}));
        port.setPortNumber(5);
        QCOMPARE(port.send("DL"), std::nullopt);
        port.close();
        QVERIFY(!port.isOpen());
        QVERIFY(port.fileError().contains("APD.TRC"));
        QVERIFY(port.fileError().contains("APD.LOG"));
        QVERIFY(QFileInfo("APD.TRC").isDir());
        // The port is still usable.
        QCOMPARE(port.open(), std::nullopt);
        QCOMPARE(port.send("B"), std::nullopt);
        QCOMPARE(pty.read(3), QByteArray("DLB"));
    }

    void traceFilesNeverFollowLinks()
    {
        // Links planted in the working directory: one to a file of someone else's, one to
        // a name not yet taken. Each is replaced by the file; neither target is touched.
        QVERIFY(QDir().mkdir("other"));
        QFile victim("other/victim");
        QVERIFY(victim.open(QIODevice::WriteOnly) && victim.write("keep me\n") == 8);
        victim.close();
        QVERIFY(QFile::link("other/victim", "APD.TRC"));
        QVERIFY(QFile::link("other/new", "APD.LOG"));
        Pty pty;
        QCOMPARE(sendOnceAndClose(pty.path), QString());
        QCOMPARE(fileContent("other/victim"), QByteArray("keep me\n"));
        QVERIFY(!QFile::exists("other/new"));
        for (const char *name : {"APD.TRC", "APD.LOG"}) {
            QVERIFY2(!QFileInfo(name).isSymLink() && QFileInfo(name).isFile(), name);
            QVERIFY(fileContent(name).contains("DL"));
        }
        QCOMPARE(QDir().entryList(QDir::Files | QDir::Hidden).size(), 2); // no temporary file left

        // A trace that cannot take its place is skipped, and the log says why.
        QVERIFY(QFile::remove("APD.TRC") && QDir().mkdir("APD.TRC"));
        QVERIFY(QFile::remove("APD.LOG"));
        QCOMPARE(sendOnceAndClose(pty.path), QStringLiteral("APD.TRC not written: File access denied"));
        QVERIFY2(fileContent("APD.LOG").contains(" Error      APD.TRC not written: File access denied\r\n"),
                 fileContent("APD.LOG").constData());
    }

    void exitClosesAndWrites()
    {
        Pty pty;
        {
            SerialPort port;
            port.setPortMap(PortMap::overridesOnly({{5, pty.path}}));
            port.setPortNumber(5);
            QCOMPARE(port.send("DL"), std::nullopt);
        }
        QCOMPARE(fileContent("APD.TRC"), QByteArray("Transmit: \r\nDL\r\n"));
        // Closed: another port can take the device now.
        QSerialPort again;
        again.setPortName(pty.path);
        QVERIFY(again.open(QIODevice::ReadWrite));
    }

    void neverOpenedWritesNothing()
    {
        {
            SerialPort port;
            port.setPortMap(PortMap::overridesOnly({}));
            port.setPortNumber(7);
            QVERIFY(port.open().has_value());
            port.close();
        }
        QVERIFY(QDir().entryList(QDir::Files).isEmpty());
    }

    void unopenablePorts_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("errorPart");
        QTest::newRow("missing device") << 7 << "/dev/kelpra-no-such-device"
                                        << "Cannot open /dev/kelpra-no-such-device: ";
        QTest::newRow("no device for the number") << 12 << QString() << "Cannot open COM12: No such dev";
        QTest::newRow("not a tty") << 9 << "/dev/null" << "Cannot open /dev/null: ";
    }
    void unopenablePorts()
    {
        QFETCH(int, number);
        QFETCH(QString, device);
        QFETCH(QString, errorPart);
        SerialPort port;
        port.setPortMap(PortMap::overridesOnly({{number, device}}));
        port.setPortNumber(number);
        const auto error = port.open();
        QVERIFY(error.has_value());
        QCOMPARE(int(error->kind), int(LinkError::Kind::CannotOpen));
        QVERIFY2(error->text().startsWith(errorPart), qPrintable(error->text()));
        QVERIFY2(error->text().size() > errorPart.size(), qPrintable(error->text()));   // the system's reason
        QVERIFY(!port.isOpen());
        QCOMPARE(port.portNumber(), number);
        // Sending opens first, so it fails the same way.
        QVERIFY(port.send("DL").has_value());
    }

    void portsListedAndOpenedByNumber()
    {
        Pty free3, held9;
        QSerialPort holder; // another program holding COM9
        holder.setPortName(held9.path);
        QVERIFY(holder.open(QIODevice::ReadWrite));

        SerialPort port;
        port.setPortMap(PortMap::overridesOnly(
            {{3, free3.path}, {7, "/dev/kelpra-no-such-device"}, {9, held9.path}, {50, "/dev/null"}}));
        // Pseudo-terminals are unknown to the system's port list: their rows name the path alone.
        const QStringList expected{QStringLiteral("COM3 \u2014 ") + free3.path, QStringLiteral("COM9 \u2014 ") + held9.path};
        QCOMPARE(port.findPorts(), expected);

        // No port chosen: nothing opens, nothing is sent, and nobody is asked here.
        const auto none = port.open();
        QVERIFY(none.has_value());
        QCOMPARE(int(none->kind), int(LinkError::Kind::NoPortChosen));
        QVERIFY(port.send("DL").has_value());
        QVERIFY(!port.isOpen());
        // The held port: the open fails with the number kept.
        port.setPortNumber(*portNumberOfRow(expected.at(1)));
        QVERIFY(port.open().has_value());
        QCOMPARE(port.portNumber(), 9);
        QVERIFY(!port.isOpen());
        // A free port opens, and sending goes out on it.
        port.setPortNumber(*portNumberOfRow(expected.at(0)));
        QCOMPARE(port.open(), std::nullopt);
        QVERIFY(port.isOpen());
        QCOMPARE(port.send("DL"), std::nullopt);
        QCOMPARE(free3.read(2), QByteArray("DL"));

        // No device at all: an empty list.
        port.close();
        port.setPortMap(PortMap::overridesOnly({}));
        QVERIFY(port.findPorts().isEmpty());
    }

    void hangUpClosesThePort()
    {
        Pty pty;
        SerialPort port;
        port.setPortMap(PortMap::overridesOnly({{5, pty.path}}));
        port.setPortNumber(5);
        int notifications = 0;
        port.onDataAvailable = [&](quint16) { ++notifications; };
        QStringList lost;
        port.onLost = [&](const QString &reason) {
            QVERIFY(!port.isOpen());   // closed before it says so
            lost << reason;
        };
        QCOMPARE(port.open(), std::nullopt);
        ::close(pty.slave); // only the port holds the slave now
        pty.slave = -1;
        pty.hangUp();
        // The dead line must not keep the event loop busy with errors: the port closes.
        QTRY_VERIFY(!port.isOpen());
        QCOMPARE(lost.size(), 1);
        QVERIFY(!lost.first().isEmpty());
        QCOMPARE(port.portNumber(), 5);
        QVERIFY(QFile::exists("APD.LOG"));
        QVERIFY(fileContent("APD.LOG").contains(" Error "));
        QVERIFY(port.send("DL").has_value());
    }
};

QTEST_GUILESS_MAIN(TestSerialPort)
#include "test_serial_port.moc"
