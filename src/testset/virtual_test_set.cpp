#include "testset/virtual_test_set.h"

#include "data/sample_set.h"

#include <algorithm>

namespace kelpra {

namespace {

struct FaultName {
    VirtualTestSet::Fault fault;
    const char *name;
};

constexpr FaultName kFaultNames[] = {
    {VirtualTestSet::Fault::Silent, "silent"},          {VirtualTestSet::Fault::Short, "short"},
    {VirtualTestSet::Fault::Slow, "slow"},              {VirtualTestSet::Fault::Stray, "stray"},
    {VirtualTestSet::Fault::Noise, "noise"},
    {VirtualTestSet::Fault::HangUp, "hangup"},          {VirtualTestSet::Fault::WriteError, "write-error"},
    {VirtualTestSet::Fault::ReadError, "read-error"},
};

// The command that asks for reply k.
QByteArray commandFor(int k)
{
    return k == 0 ? wire::kIdentifyCommand : wire::recordCommand(k);
}

} // namespace

VirtualTestSet::VirtualTestSet(Options options) : options_(std::move(options))
{
    options_.recordSize = std::max(options_.recordSize, int(wire::kRecordLength));
}

std::optional<VirtualTestSet::Fault> VirtualTestSet::faultByName(const QString &name)
{
    for (const FaultName &f : kFaultNames) {
        if (name == QLatin1String(f.name))
            return f.fault;
    }
    return std::nullopt;
}

QStringList VirtualTestSet::faultNames()
{
    QStringList names;
    for (const FaultName &f : kFaultNames)
        names << QString::fromLatin1(f.name);
    return names;
}

QByteArray VirtualTestSet::replyFor(int k) const
{
    QByteArray bytes;
    char padding = '\0';
    if (k == 0) {
        bytes = options_.identification.isEmpty() ? sampleIdentificationLine() : options_.identification;
        padding = ' ';
    } else if (!options_.records) {
        bytes = sampleRecord(k);
    } else {
        bytes = options_.records->value(k - 1);
    }
    if (bytes.size() < options_.recordSize)
        bytes.append(QByteArray(options_.recordSize - bytes.size(), padding));
    return bytes;
}

QStringList VirtualTestSet::takeLog()
{
    QStringList log;
    log.swap(log_);
    return log;
}

bool VirtualTestSet::refusesCommand(const QByteArray &command) const
{
    return options_.fault == Fault::WriteError && command == commandFor(options_.faultReply);
}

bool VirtualTestSet::failsRead(int replyBeingRead)
{
    if (options_.fault != Fault::ReadError || readFailed_ || replyBeingRead != options_.faultReply)
        return false;
    readFailed_ = true;
    return true;
}

void VirtualTestSet::receive(const QByteArray &bytes, qint64 nowNs)
{
    input_ += bytes;
    while (!input_.isEmpty()) {
        const char c = input_.at(0);
        if ((c == wire::kIdentifyCommand.at(0) || c == wire::kRecordCommand) && input_.size() < 2)
            return;   // the rest of the command is still on its way
        if (input_.startsWith(wire::kIdentifyCommand)) {
            input_.remove(0, 2);
            say(QStringLiteral("command DL"));
            reply(0, nowNs);
        } else if (c == wire::kRecordCommand) {
            const int k = static_cast<quint8>(input_.at(1));
            input_.remove(0, 2);
            say(QStringLiteral("command B %1").arg(k));
            if (k >= 1 && k <= wire::kRecordCount)
                reply(k, nowNs);
            else
                say(QStringLiteral("no record %1, no answer").arg(k));
        } else {
            say(QStringLiteral("ignored byte 0x%1").arg(static_cast<quint8>(c), 2, 16, QLatin1Char('0')));
            input_.remove(0, 1);
        }
    }
}

void VirtualTestSet::reply(int k, qint64 receivedNs)
{
    if (options_.fault == Fault::Silent) {
        say(QStringLiteral("silent: no answer"));
        return;
    }
    QByteArray bytes = replyFor(k);
    const bool target = k == options_.faultReply;
    if (options_.fault == Fault::Short && target)
        bytes.truncate(kShortLength);
    // Noise that is on the line when the program asks for the reply shifts it however late
    // the program reads: stray bytes after the previous reply do so only when it is prompt.
    if (options_.fault == Fault::Noise && target) {
        bytes.prepend(kStrayBytes);
        say(QStringLiteral("noise: %1 bytes before reply %2").arg(kStrayBytes.size()).arg(k));
    }
    const qint64 turnaround = options_.fault == Fault::Slow ? options_.slowTurnaroundNs : options_.turnaroundNs;
    // Absolute times: a late driver does not push the following bytes back.
    qint64 due = std::max(receivedNs + turnaround, lastDueNs_ + wire::kByteNs);
    for (char c : bytes) {
        output_.push_back({due, false, static_cast<quint8>(c)});
        lastDueNs_ = due;
        due += wire::kByteNs;
    }
    say(QStringLiteral("reply %1: %2 bytes over %3 ms")
            .arg(k)
            .arg(bytes.size())
            .arg(double(bytes.size() * wire::kByteNs) / 1e6, 0, 'f', 1));
    if (target && options_.fault == Fault::Stray) {
        due = lastDueNs_ + options_.strayGapNs;
        for (char c : kStrayBytes) {
            output_.push_back({due, false, static_cast<quint8>(c)});
            lastDueNs_ = due;
            due += wire::kByteNs;
        }
        say(QStringLiteral("stray: %1 bytes %2 ms after reply %3")
                .arg(kStrayBytes.size())
                .arg(options_.strayGapNs / 1'000'000)
                .arg(k));
    }
    if (target && options_.fault == Fault::HangUp) {
        output_.push_back({lastDueNs_, true, 0});
        say(QStringLiteral("hangup after reply %1").arg(k));
    }
}

} // namespace kelpra
