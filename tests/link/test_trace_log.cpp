#include "link/trace_log.h"

#include <QTest>

using namespace kelpra;

namespace {

struct Chunk {
    TraceDirection direction;
    QByteArray bytes;
};

QList<TraceEntry> entriesOf(const QList<Chunk> &chunks)
{
    Trace trace;
    for (const Chunk &c : chunks)
        trace.add(c.direction, c.bytes);
    return trace.entries();
}

constexpr auto T = TraceDirection::Transmit;
constexpr auto R = TraceDirection::Receive;

} // namespace

Q_DECLARE_METATYPE(QList<Chunk>)

class TestTraceLog : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void traceItem_data()
    {
        QTest::addColumn<int>("byte");
        QTest::addColumn<QByteArray>("item");
        QTest::newRow("zero") << 0 << QByteArray("[00]");
        QTest::newRow("blank") << 32 << QByteArray("[20]");
        QTest::newRow("first printable") << 33 << QByteArray("!");
        QTest::newRow("letter") << int('D') << QByteArray("D");
        QTest::newRow("last printable") << 126 << QByteArray("~");
        QTest::newRow("DEL") << 127 << QByteArray("[7F]");
        QTest::newRow("CR") << 13 << QByteArray("[0D]");
        QTest::newRow("upper-case hex") << 0xAB << QByteArray("[AB]");
        QTest::newRow("top") << 255 << QByteArray("[FF]");
    }
    void traceItem()
    {
        QFETCH(int, byte);
        QFETCH(QByteArray, item);
        QCOMPARE(kelpra::traceItem(static_cast<quint8>(byte)), item);
    }

    void layout_data()
    {
        QTest::addColumn<QList<Chunk>>("chunks");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("empty") << QList<Chunk>{} << QByteArray();
        QTest::newRow("one command") << QList<Chunk>{{T, "DL"}} << QByteArray("Transmit: \r\nDL\r\n");
        QTest::newRow("command and reply")
            << QList<Chunk>{{T, QByteArray("B\x01", 2)}, {R, QByteArray("A \0z", 4)}}
            << QByteArray("Transmit: \r\nB[01]\r\n\r\nReceive: \r\nA[20][00]z\r\n");
        QTest::newRow("same direction twice is one group")
            << QList<Chunk>{{R, "ab"}, {R, "cd"}, {T, "DL"}, {R, "x"}}
            << QByteArray("Receive: \r\nabcd\r\n\r\nTransmit: \r\nDL\r\n\r\nReceive: \r\nx\r\n");
        QTest::newRow("78 characters fill one line")
            << QList<Chunk>{{R, QByteArray(78, 'A')}} << QByteArray("Receive: \r\n" + QByteArray(78, 'A') + "\r\n");
        QTest::newRow("79th character wraps")
            << QList<Chunk>{{R, QByteArray(79, 'A')}}
            << QByteArray("Receive: \r\n" + QByteArray(78, 'A') + "\r\nA\r\n");
        QTest::newRow("hex item ending exactly at 78")
            << QList<Chunk>{{R, QByteArray(74, 'A') + QByteArray(1, '\0')}}
            << QByteArray("Receive: \r\n" + QByteArray(74, 'A') + "[00]\r\n");
        QTest::newRow("hex item that would pass 78 moves down whole")
            << QList<Chunk>{{R, QByteArray(75, 'A') + QByteArray("\xFF", 1) + "B"}}
            << QByteArray("Receive: \r\n" + QByteArray(75, 'A') + "\r\n[FF]B\r\n");
        QTest::newRow("twenty blanks: 19 to a line")
            << QList<Chunk>{{T, QByteArray(20, ' ')}}
            << QByteArray("Transmit: \r\n[20][20][20][20][20][20][20][20][20][20][20][20][20][20][20][20][20][20][20]\r\n"
                          "[20]\r\n");
    }
    void layout()
    {
        QFETCH(QList<Chunk>, chunks);
        QFETCH(QByteArray, text);
        QCOMPARE(formatTrace(entriesOf(chunks)), text);
    }

    void ringKeepsTheNewest()
    {
        Ring<int> ring(3);
        for (int i = 1; i <= 7; ++i)
            ring.push(i);
        QCOMPARE(ring.toList(), (QList<int>{5, 6, 7}));
        ring.clear();
        ring.push(9);
        QCOMPARE(ring.toList(), QList<int>{9});
    }

    void traceKeepsLast10000Bytes()
    {
        Trace trace;
        trace.add(T, QByteArray("DL"));
        for (int i = 0; i < 10005; ++i)
            trace.add(R, static_cast<quint8>(i % 251));
        const QList<TraceEntry> e = trace.entries();
        QCOMPARE(e.size(), 10000);
        // The two transmitted bytes and the first three received ones are gone.
        QCOMPARE(int(e.first().byte), 5 % 251);
        QVERIFY(e.first().direction == R);
        QCOMPARE(int(e.last().byte), 10004 % 251);
        QVERIFY(!trace.toText().contains("Transmit"));
    }

    void logKeepsLast10000Events()
    {
        EventLog log;
        for (int i = 0; i < 10003; ++i)
            log.add(LogKind::Available, QString::number(i));
        const QList<LogEvent> events = log.events();
        QCOMPARE(events.size(), 10000);
        QCOMPARE(events.first().value, QStringLiteral("3"));
        QCOMPARE(events.last().value, QStringLiteral("10002"));
    }

    void logText()
    {
        const QDate day(2024, 5, 17);
        EventLog log;
        log.add(LogKind::Open, "COM1 /dev/ttyUSB0", {}, QDateTime(day, QTime(14, 3, 20, 117)));
        log.add(LogKind::Transmit, "2", "DL", QDateTime(day, QTime(14, 3, 20, 118)));
        log.add(LogKind::Receive, "80", QByteArray(79, 'x') + QByteArray(1, '\0'), QDateTime(day, QTime(14, 3, 20, 152)));
        log.add(LogKind::Close, "COM1", {}, QDateTime(day, QTime(14, 3, 21, 5)));
        const QByteArray expected =
            "APD.LOG of /dev/ttyUSB0\r\n"
            "Written 2024-05-17 14:03:22\r\n"
            "\r\n"
            "14:03:20.117 Open       COM1 /dev/ttyUSB0\r\n"
            "14:03:20.118 Transmit   2\r\n"
            "  DL\r\n"
            "14:03:20.152 Receive    80\r\n"
            "  " + QByteArray(76, 'x') + "\r\n"
            "  xxx[00]\r\n"
            "14:03:21.005 Close      COM1\r\n";
        QCOMPARE(log.toText("/dev/ttyUSB0", QDateTime(day, QTime(14, 3, 22))), expected);
    }
};

QTEST_GUILESS_MAIN(TestTraceLog)
#include "test_trace_log.moc"
