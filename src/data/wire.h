#pragma once

#include <QByteArray>
#include <QString>

// What the test set and the program agree on over the serial line. Everything that talks
// to the test set, plays it, or stores what it sent takes these facts from here.
namespace kelpra::wire {

// "DL" asks for the identification line; "B" followed by one byte k (1..16) for record k.
inline const QByteArray kIdentifyCommand = QByteArrayLiteral("DL");
inline constexpr char kRecordCommand = 'B';
inline QByteArray recordCommand(int k)
{
    QByteArray command(1, kRecordCommand);
    command.append(static_cast<char>(k));
    return command;
}

// One identification line and 16 records.
inline constexpr int kRecordCount = 16;
inline constexpr int kReplyCount = kRecordCount + 1;
// Every reply, the identification line included, is at least this long; a record the
// test set sends is exactly this long.
inline constexpr int kRecordLength = 64;

// 19200 bit/s, 8 data bits, no parity, 1 stop bit: 10 bits on the line per byte.
inline constexpr int kBaudRate = 19200;
inline constexpr int kBitsPerByte = 10;
inline constexpr qint64 kByteNs = qint64(kBitsPerByte) * 1'000'000'000LL / kBaudRate;
inline constexpr qint64 kByteUs = kByteNs / 1000;

// A reply ends after this much silence once it holds kRecordLength bytes.
inline constexpr int kReplyPauseMs = 25;
// All 17 replies must be in within this time of the identification command.
inline constexpr int kDeadlineMs = 2000;

// A record has blanks at positions 3, 10, 15, 17 and 29 to 31 (counted from 1) between
// its header's fields; a slot the test set never filled starts with three bytes 255.
// Bytes that slipped into a reply shift these and show up here.
inline bool looksLikeMeasurementRecord(const QByteArray &record)
{
    if (record.startsWith(QByteArray(3, '\xff')))
        return true;
    for (int position : {3, 10, 15, 17, 29, 30, 31}) {
        if (record.size() < position || record.at(position - 1) != ' ')
            return false;
    }
    return true;
}

// Ports are numbered COM1..COM50.
inline constexpr int kFirstPort = 1;
inline constexpr int kLastPort = 50;
inline QString portName(int number)
{
    return QStringLiteral("COM%1").arg(number);
}

} // namespace kelpra::wire
