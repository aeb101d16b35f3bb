#include "files/details_file.h"

#include <QTest>

using namespace kelpra;

Q_DECLARE_METATYPE(kelpra::ControllerLines)

class TestDetailsFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parse_data();
    void parse();
    void layoutAndRoundTrip();
};

void TestDetailsFile::parse_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<ControllerLines>("lines");
    QTest::newRow("four lines") << QByteArray("Morsvyaz\r\n+7 812 000\r\nNevsky 1\r\nIvanov\r\n")
                                << ControllerLines{"Morsvyaz", "+7 812 000", "Nevsky 1", "Ivanov"};
    QTest::newRow("two lines") << QByteArray("Co\r\nTel\r\n") << ControllerLines{"Co", "Tel", "", ""};
    QTest::newRow("more than four") << QByteArray("a\r\nb\r\nc\r\nd\r\ne\r\nf\r\n")
                                    << ControllerLines{"a", "b", "c", "d"};
    QTest::newRow("last line without end") << QByteArray("a\r\nb\r\nc") << ControllerLines{"a", "b", "c", ""};
    QTest::newRow("four empty") << QByteArray("\r\n\r\n\r\n\r\n") << ControllerLines{};
    QTest::newRow("empty file") << QByteArray() << ControllerLines{};
    QTest::newRow("edited with LF only") << QByteArray("a\nb\nc\nd\n") << ControllerLines{"a", "b", "c", "d"};
}

void TestDetailsFile::parse()
{
    QFETCH(QByteArray, file);
    QFETCH(ControllerLines, lines);
    QCOMPARE(parseDetailsFile(file), lines);
}

void TestDetailsFile::layoutAndRoundTrip()
{
    // "ООО Морсвязь" and "Иванов" in Windows-1251.
    const ControllerLines lines{"\xce\xce\xce \xcc\xee\xf0\xf1\xe2\xff\xe7\xfc", "", "addr",
                                "\xc8\xe2\xe0\xed\xee\xe2"};
    const QByteArray expected =
        "\xce\xce\xce \xcc\xee\xf0\xf1\xe2\xff\xe7\xfc\r\n\r\naddr\r\n\xc8\xe2\xe0\xed\xee\xe2\r\n";
    QCOMPARE(buildDetailsFile(lines), expected);
    QCOMPARE(parseDetailsFile(expected), lines);
    QCOMPARE(buildDetailsFile(ControllerLines{}), QByteArray("\r\n\r\n\r\n\r\n"));
}

QTEST_GUILESS_MAIN(TestDetailsFile)
#include "test_details_file.moc"
