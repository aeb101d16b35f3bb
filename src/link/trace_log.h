#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <vector>

namespace kelpra {

// A fixed-capacity ring: once full, each new entry overwrites the oldest one.
template <typename T>
class Ring {
public:
    explicit Ring(int capacity) : capacity_(capacity > 0 ? capacity : 1) {}

    void push(T value)
    {
        if (static_cast<int>(items_.size()) < capacity_) {
            items_.push_back(std::move(value));
        } else {
            items_[static_cast<size_t>(next_)] = std::move(value);
            next_ = (next_ + 1) % capacity_;
        }
    }
    int size() const { return static_cast<int>(items_.size()); }
    bool isEmpty() const { return items_.empty(); }
    int capacity() const { return capacity_; }
    void clear()
    {
        items_.clear();
        next_ = 0;
    }
    // Oldest first.
    QList<T> toList() const
    {
        QList<T> out;
        out.reserve(size());
        for (int i = 0; i < size(); ++i)
            out.append(items_[static_cast<size_t>((next_ + i) % size())]);
        return out;
    }

private:
    int capacity_;
    int next_ = 0; // index of the oldest entry once the ring is full
    std::vector<T> items_;
};

enum class TraceDirection : quint8 { Transmit, Receive };

struct TraceEntry {
    TraceDirection direction;
    quint8 byte;
};

// One byte as it appears in the trace: 33..126 as the character, anything else as [XX].
QByteArray traceItem(quint8 byte);

// The text of "APD.TRC": lines ended by CR LF; each change of direction starts a group
// with "Transmit: " or "Receive: " on a line of its own (groups after the first are
// preceded by a blank line), followed by the group's bytes in trace notation. An item
// that would carry a line past 78 characters starts a new line.
QByteArray formatTrace(const QList<TraceEntry> &entries);

// The last bytes sent and received, with their direction.
class Trace {
public:
    static constexpr int kDefaultCapacity = 10000;
    explicit Trace(int capacity = kDefaultCapacity) : ring_(capacity) {}

    void add(TraceDirection direction, const QByteArray &bytes);
    void add(TraceDirection direction, quint8 byte) { ring_.push({direction, byte}); }
    QList<TraceEntry> entries() const { return ring_.toList(); }
    int size() const { return ring_.size(); }
    bool isEmpty() const { return ring_.isEmpty(); }
    void clear() { ring_.clear(); }
    QByteArray toText() const { return formatTrace(entries()); }

private:
    Ring<TraceEntry> ring_;
};

enum class LogKind : quint8 {
    Open,       // value: port name and device
    Close,      // value: port name
    Transmit,   // value: byte count; data: the bytes
    Receive,    // value: byte count; data: the bytes
    Available,  // value: the count handed to the data-available notification
    Warning,    // value: a refusal the port lives with (e.g. DTR/RTS on a pseudo-terminal)
    Error,      // value: the error text
};

QString logKindName(LogKind kind);

struct LogEvent {
    QDateTime time;
    LogKind kind;
    QString value;
    QByteArray data;
};

// The last events of the port. "APD.LOG" layout, lines ended by CR LF:
//
//   APD.LOG of /dev/ttyUSB0
//   Written 2024-05-17 14:03:22
//   <blank>
//   14:03:20.117 Open       COM1 /dev/ttyUSB0
//   14:03:20.118 Transmit   2
//     DL
//   14:03:20.152 Receive    64
//     33[20]151206[20]2435 ...
//
// Each event line holds the time (hh:mm:ss.zzz), the kind padded to 10 characters and the
// value. The bytes of a data event follow on lines indented by two blanks, in trace
// notation, wrapped so that no line passes 78 characters.
class EventLog {
public:
    static constexpr int kDefaultCapacity = 10000;
    explicit EventLog(int capacity = kDefaultCapacity) : ring_(capacity) {}

    void add(LogKind kind, const QString &value, const QByteArray &data = {},
             const QDateTime &time = QDateTime::currentDateTime());
    QList<LogEvent> events() const { return ring_.toList(); }
    int size() const { return ring_.size(); }
    bool isEmpty() const { return ring_.isEmpty(); }
    void clear() { ring_.clear(); }
    QByteArray toText(const QString &device, const QDateTime &writtenAt) const;

private:
    Ring<LogEvent> ring_;
};

} // namespace kelpra
