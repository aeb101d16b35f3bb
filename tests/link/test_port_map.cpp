#include "link/port_map.h"

#include <QTest>

using namespace kelpra;

class TestPortMap : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fixedTable_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("device");
        QTest::newRow("none") << 0 << QString();
        QTest::newRow("COM1") << 1 << "/dev/ttyUSB0";
        QTest::newRow("COM16") << 16 << "/dev/ttyUSB15";
        QTest::newRow("COM17") << 17 << "/dev/ttyACM0";
        QTest::newRow("COM24") << 24 << "/dev/ttyACM7";
        QTest::newRow("COM25") << 25 << "/dev/ttyS0";
        QTest::newRow("COM50") << 50 << "/dev/ttyS25";
        QTest::newRow("COM51") << 51 << QString();
        QTest::newRow("negative") << -1 << QString();
    }
    void fixedTable()
    {
        QFETCH(int, number);
        QFETCH(QString, device);
        QCOMPARE(PortMap::fixedDevice(number), device);
        QCOMPARE(PortMap::fromEnvironment(QProcessEnvironment()).device(number), device);
    }

    void environmentOverrides()
    {
        QProcessEnvironment env;
        env.insert("KELPRA_COM3", "/dev/pts/7");
        env.insert("KELPRA_COM25", "");       // takes the built-in port away
        env.insert("KELPRA_COM51", "/dev/x"); // outside 1..50: ignored
        env.insert("KELPRA_COM", "/dev/y");
        const PortMap map = PortMap::fromEnvironment(env);
        QCOMPARE(map.device(3), QStringLiteral("/dev/pts/7"));
        QCOMPARE(map.device(4), QStringLiteral("/dev/ttyUSB3"));
        QCOMPARE(map.device(25), QString());
        QCOMPARE(map.device(26), QStringLiteral("/dev/ttyS1"));
        QCOMPARE(map.device(51), QString());
        QCOMPARE(map.device(0), QString());
    }

    void overridesOnlyHidesTheRest()
    {
        const PortMap map = PortMap::overridesOnly({{2, "/dev/pts/9"}});
        QCOMPARE(map.device(2), QStringLiteral("/dev/pts/9"));
        QCOMPARE(map.device(1), QString());
        QCOMPARE(map.device(25), QString());
    }

    void parsePortName_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("number"); // 0: refused
        QTest::newRow("COM3") << "COM3" << 3;
        QTest::newRow("lower case") << "com12" << 12;
        QTest::newRow("bare number") << "7" << 7;
        QTest::newRow("blanks around") << " COM50 " << 50;
        QTest::newRow("COM0") << "COM0" << 0;
        QTest::newRow("COM51") << "COM51" << 0;
        QTest::newRow("no digits") << "COM" << 0;
        QTest::newRow("letters") << "COMx" << 0;
        QTest::newRow("trailing junk") << "3x" << 0;
        QTest::newRow("sign") << "COM-1" << 0;
        QTest::newRow("plus") << "+3" << 0;
        QTest::newRow("empty") << "" << 0;
    }
    void parsePortName()
    {
        QFETCH(QString, text);
        QFETCH(int, number);
        QCOMPARE(PortMap::parsePortName(text).value_or(0), number);
    }

    void resolve_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("device"); // empty: nothing
        QTest::newRow("path given directly") << "/dev/pts/5" << "/dev/pts/5";
        QTest::newRow("overridden name") << "COM3" << "/dev/pts/7";
        QTest::newRow("overridden number") << "3" << "/dev/pts/7";
        QTest::newRow("fixed name") << "COM17" << "/dev/ttyACM0";
        QTest::newRow("removed number") << "COM25" << QString();
        QTest::newRow("not a port") << "ttyUSB0" << QString();
    }
    void resolve()
    {
        QFETCH(QString, text);
        QFETCH(QString, device);
        PortMap map = PortMap::fromEnvironment(QProcessEnvironment());
        map.setOverride(3, "/dev/pts/7");
        map.setOverride(25, QString());
        QCOMPARE(map.resolve(text).value_or(QString()), device);
    }

    void pickerRows_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("manufacturer");
        QTest::addColumn<QString>("serial");
        QTest::addColumn<QString>("row");
        const QString d = QStringLiteral(" \u2014 ");
        QTest::newRow("adapter with everything") << "/dev/ttyUSB0" << "FT232R USB UART" << "FTDI" << "A50285BI"
                                                 << "COM1" + d + "/dev/ttyUSB0" + d + "FT232R USB UART (FTDI, A50285BI)";
        QTest::newRow("no serial number") << "/dev/ttyUSB0" << "USB-Serial Controller" << "Prolific" << ""
                                          << "COM1" + d + "/dev/ttyUSB0" + d + "USB-Serial Controller (Prolific)";
        QTest::newRow("description only") << "/dev/ttyUSB0" << "CP2102" << " " << ""
                                          << "COM1" + d + "/dev/ttyUSB0" + d + "CP2102";
        QTest::newRow("maker only") << "/dev/ttyUSB0" << "" << "FTDI" << "A5"
                                    << "COM1" + d + "/dev/ttyUSB0" + d + "FTDI, A5";
        QTest::newRow("pseudo-terminal") << "/dev/pts/4" << "" << "" << "" << "COM1" + d + "/dev/pts/4";
    }
    void pickerRows()
    {
        QFETCH(QString, device);
        QFETCH(QString, description);
        QFETCH(QString, manufacturer);
        QFETCH(QString, serial);
        QFETCH(QString, row);
        const QString got = portPickerRow(1, device, description, manufacturer, serial);
        QCOMPARE(got, row);
        // The OK button reads the number back from whatever the row says after it.
        QCOMPARE(portNumberOfRow(got).value_or(0), 1);
    }

    void numberOfRow_data()
    {
        QTest::addColumn<QString>("row");
        QTest::addColumn<int>("number"); // 0: none
        QTest::newRow("plain item") << "COM3" << 3;
        QTest::newRow("two digits with device") << QString::fromUtf8("COM17 \u2014 /dev/ttyACM0") << 17;
        QTest::newRow("digits in the device do not count") << QString::fromUtf8("COM2 \u2014 /dev/ttyUSB1") << 2;
        QTest::newRow("no number") << QString::fromUtf8("COM \u2014 /dev/ttyS0") << 0;
        QTest::newRow("empty") << "" << 0;
    }
    void numberOfRow()
    {
        QFETCH(QString, row);
        QFETCH(int, number);
        QCOMPARE(portNumberOfRow(row).value_or(0), number);
    }
};

QTEST_GUILESS_MAIN(TestPortMap)
#include "test_port_map.moc"
