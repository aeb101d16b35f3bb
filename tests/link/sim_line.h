#pragma once

// A simulated clock with timers, a simulated serial link and the virtual test set on it, so
// that the exchange can be driven to the microsecond without real time passing.

#include "link/download_exchange.h"
#include "link/serial_link.h"
#include "testset/virtual_test_set.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <utility>

namespace kelpra::test {

// Events run in time order; events due at the same instant run in the order scheduled.
class SimClock {
public:
    qint64 now() const { return now_; }   // microseconds

    quint64 schedule(qint64 delayUs, std::function<void()> fn)
    {
        const quint64 id = ++seq_;
        events_.emplace(std::make_pair(now_ + delayUs, id), std::move(fn));
        return id;
    }
    void cancel(quint64 id)
    {
        for (auto it = events_.begin(); it != events_.end(); ++it)
            if (it->first.second == id) {
                events_.erase(it);
                return;
            }
    }
    // Runs everything due up to and including `t`, then stands at `t`.
    void advanceTo(qint64 t)
    {
        while (!events_.empty() && events_.begin()->first.first <= t) {
            auto it = events_.begin();
            now_ = it->first.first;
            auto fn = std::move(it->second);
            events_.erase(it);
            fn();
        }
        if (t > now_)
            now_ = t;
    }
    void advanceBy(qint64 us) { advanceTo(now_ + us); }
    // Runs until nothing is scheduled (or `limitUs` of simulated time has passed).
    void runAll(qint64 limitUs = 60'000'000) { advanceTo(now_ + limitUs); }

private:
    qint64 now_ = 0;
    quint64 seq_ = 0;
    std::map<std::pair<qint64, quint64>, std::function<void()>> events_;
};

class SimTimer : public ExchangeTimer {
public:
    explicit SimTimer(SimClock &clock) : clock_(clock) {}
    void start(int ms) override
    {
        stop();
        ++starts;
        if (journal)
            journal->append(QStringLiteral("start %1").arg(ms));
        id_ = clock_.schedule(qint64(ms) * 1000, [this] {
            id_ = 0;
            if (onTimeout)
                onTimeout();
        });
    }
    void stop() override
    {
        if (id_)
            clock_.cancel(id_);
        id_ = 0;
    }
    bool isActive() const override { return id_ != 0; }
    int starts = 0;
    QStringList *journal = nullptr;   // set for Timer1 only: Timer2 restarts with every byte

private:
    SimClock &clock_;
    quint64 id_ = 0;
};

// The port. Received bytes arrive through clock events, as the event loop would bring them.
class SimLink : public SerialLink {
public:
    explicit SimLink(SimClock &clock) : clock_(clock) {}

    struct Sent {
        qint64 atUs;
        QByteArray bytes;
    };

    std::optional<LinkError> send(const QByteArray &bytes) override
    {
        if (!open_) {
            if (auto error = open())
                return error;
        }
        if (refuseSend && refuseSend(bytes))
            return LinkError{LinkError::Kind::Io, device(), QStringLiteral("Write fault")};
        sent.append({clock_.now(), bytes});
        note(QStringLiteral("send ") + QString::fromLatin1(bytes.toHex()));
        if (onSend)
            onSend(bytes);
        return std::nullopt;
    }
    std::optional<LinkError> readByte(quint8 *out) override
    {
        if (failRead && failRead())
            return LinkError{LinkError::Kind::Io, device(), QStringLiteral("Read fault")};
        if (rx_.empty())
            return LinkError{LinkError::Kind::Io, device(), QStringLiteral("No data")};
        *out = rx_.front();
        rx_.pop_front();
        return std::nullopt;
    }
    void discardInput() override
    {
        if (!rx_.empty())
            note(QStringLiteral("discard %1").arg(rx_.size()));
        rx_.clear();
    }
    void close() override
    {
        if (open_) {
            ++closes;
            note(QStringLiteral("close"));
        }
        open_ = false;
    }
    std::optional<LinkError> open() override
    {
        if (number_ == 0)
            return LinkError{LinkError::Kind::NoPortChosen, {}, QStringLiteral("No port selected")};
        if (!openRefusal.isEmpty())
            return LinkError{LinkError::Kind::CannotOpen, device(), openRefusal};
        if (!open_)
            note(QStringLiteral("open"));
        open_ = true;
        return std::nullopt;
    }
    bool isOpen() const override { return open_; }
    void setPortNumber(int number) override
    {
        number_ = number;
        note(QStringLiteral("port %1").arg(number));
    }
    int portNumber() const override { return number_; }
    QString device() const override { return number_ ? QStringLiteral("/dev/sim%1").arg(number_) : QString(); }

    // The device goes away: the port closes by itself and says why, as the real one does.
    void hangUp(const QString &reason, qint64 delayUs)
    {
        clock_.schedule(delayUs, [this, reason] {
            close();
            if (onLost)
                onLost(reason);
        });
    }

    // The byte comes onto the line after `delayUs`: one notification.
    void arrive(quint8 byte, qint64 delayUs)
    {
        clock_.schedule(delayUs, [this, byte] {
            rx_.push_back(byte);
            lastRxUs = clock_.now();
            if (onDataAvailable)
                onDataAvailable(quint16(rx_.size()));
        });
    }
    // The bytes come onto the line one after another, `byteUs` apart, the first after `delayUs`.
    void lineSend(const QByteArray &bytes, qint64 delayUs, qint64 byteUs)
    {
        for (int i = 0; i < bytes.size(); ++i)
            arrive(quint8(bytes.at(i)), delayUs + i * byteUs);
    }
    // All bytes at once after `delayUs`, in one notification.
    void burst(const QByteArray &bytes, qint64 delayUs)
    {
        clock_.schedule(delayUs, [this, bytes] {
            for (char c : bytes)
                rx_.push_back(quint8(c));
            if (onDataAvailable)
                onDataAvailable(quint16(bytes.size()));
        });
    }

    QList<Sent> sent;
    QStringList *journal = nullptr;   // port events in order, beside the observer's
    qint64 lastRxUs = -1;
    std::function<void(const QByteArray &)> onSend;
    std::function<bool(const QByteArray &)> refuseSend;   // true: this send fails
    std::function<bool()> failRead;                       // true: this read fails
    QString openRefusal;   // non-empty: the device does not open, for this reason
    int closes = 0;

private:
    void note(const QString &what)
    {
        if (journal)
            journal->append(what);
    }
    SimClock &clock_;
    std::deque<quint8> rx_;
    bool open_ = false;
    int number_ = 0;
};

// The virtual test set at the other end of the simulated line: what it answers, and every
// fault it plays, is the same test set kelpra-testset puts on a pseudo-terminal.
class SimTestSet {
public:
    SimTestSet(SimClock &clock, SimLink &link, VirtualTestSet::Options options)
        : set(std::move(options)), clock_(clock), link_(link)
    {
        link_.onSend = [this](const QByteArray &command) {
            lastCommand_ = command == wire::kIdentifyCommand ? 0 : (command.size() > 1 ? quint8(command.at(1)) : -1);
            set.receive(command, clock_.now() * 1000);
            play();
        };
        link_.refuseSend = [this](const QByteArray &command) { return set.refusesCommand(command); };
        link_.failRead = [this] { return set.failsRead(lastCommand_); };
    }

    VirtualTestSet set;

private:
    // Everything the set has queued goes onto the line at its time.
    void play()
    {
        std::deque<VirtualTestSet::Output> &out = set.output();
        for (const VirtualTestSet::Output &item : out) {
            const qint64 delayUs = std::max<qint64>(0, item.dueNs / 1000 - clock_.now());
            if (item.hangUp)
                link_.hangUp(QStringLiteral("Input/output error"), delayUs + 1);
            else
                link_.arrive(item.byte, delayUs);
        }
        out.clear();
    }

    SimClock &clock_;
    SimLink &link_;
    int lastCommand_ = -1;
};

// Record k of a test set: `size` bytes, zeros included, different for every k and tag.
inline QByteArray simReply(int k, int size, char tag = 'n')
{
    QByteArray r(size, '\0');
    for (int i = 0; i < size; ++i)
        r[i] = (i % 7 == 3) ? '\0' : char((i * 31 + k * 17 + tag) & 0xFF);
    return r;
}

} // namespace kelpra::test
