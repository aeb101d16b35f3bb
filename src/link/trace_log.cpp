#include "trace_log.h"

namespace kelpra {

namespace {

constexpr int kLineLimit = 78;
const QByteArray kEol("\r\n");

// Appends the items of `bytes` as lines starting with `indent`, none longer than the limit.
void appendWrapped(QByteArray &out, const QByteArray &bytes, const QByteArray &indent)
{
    QByteArray line = indent;
    for (char c : bytes) {
        const QByteArray item = traceItem(static_cast<quint8>(c));
        if (line.size() > indent.size() && line.size() + item.size() > kLineLimit) {
            out += line + kEol;
            line = indent;
        }
        line += item;
    }
    if (line.size() > indent.size())
        out += line + kEol;
}

} // namespace

QByteArray traceItem(quint8 byte)
{
    if (byte >= 33 && byte <= 126)
        return QByteArray(1, static_cast<char>(byte));
    static const char hex[] = "0123456789ABCDEF";
    QByteArray item("[00]");
    item[1] = hex[byte >> 4];
    item[2] = hex[byte & 0x0F];
    return item;
}

QByteArray formatTrace(const QList<TraceEntry> &entries)
{
    QByteArray out;
    int i = 0;
    while (i < entries.size()) {
        const TraceDirection direction = entries[i].direction;
        QByteArray group;
        for (; i < entries.size() && entries[i].direction == direction; ++i)
            group += static_cast<char>(entries[i].byte);
        if (!out.isEmpty())
            out += kEol;
        out += (direction == TraceDirection::Transmit ? "Transmit: " : "Receive: ") + kEol;
        appendWrapped(out, group, QByteArray());
    }
    return out;
}

void Trace::add(TraceDirection direction, const QByteArray &bytes)
{
    for (char c : bytes)
        ring_.push({direction, static_cast<quint8>(c)});
}

QString logKindName(LogKind kind)
{
    switch (kind) {
    case LogKind::Open: return QStringLiteral("Open");
    case LogKind::Close: return QStringLiteral("Close");
    case LogKind::Transmit: return QStringLiteral("Transmit");
    case LogKind::Receive: return QStringLiteral("Receive");
    case LogKind::Available: return QStringLiteral("Available");
    case LogKind::Warning: return QStringLiteral("Warning");
    case LogKind::Error: return QStringLiteral("Error");
    }
    return QStringLiteral("?");
}

void EventLog::add(LogKind kind, const QString &value, const QByteArray &data, const QDateTime &time)
{
    ring_.push({time, kind, value, data});
}

QByteArray EventLog::toText(const QString &device, const QDateTime &writtenAt) const
{
    QByteArray out;
    out += "APD.LOG of " + device.toLocal8Bit() + kEol;
    out += "Written " + writtenAt.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")).toLatin1() + kEol;
    out += kEol;
    for (const LogEvent &event : ring_.toList()) {
        QByteArray line = event.time.toString(QStringLiteral("hh:mm:ss.zzz")).toLatin1() + ' '
                          + logKindName(event.kind).leftJustified(10).toLatin1() + ' '
                          + event.value.toLocal8Bit();
        out += line.trimmed() + kEol;
        appendWrapped(out, event.data, QByteArray("  "));
    }
    return out;
}

} // namespace kelpra
