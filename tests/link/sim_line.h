#pragma once

// A simulated clock with timers, a simulated serial link and a simulated test set, so
// that the exchange can be driven to the microsecond without real time passing.

#include "link/download_exchange.h"
#include "link/serial_link.h"

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
        if (failSendsFrom >= 0 && int(sent.size()) >= failSendsFrom)
            return LinkError{LinkError::Kind::Io, device(), QStringLiteral("Write fault")};
        sent.append({clock_.now(), bytes});
        note(QStringLiteral("send ") + QString::fromLatin1(bytes.toHex()));
        if (onSend)
            onSend(bytes);
        return std::nullopt;
    }
    std::optional<LinkError> readByte(quint8 *out) override
    {
        if (failReads > 0) {
            --failReads;
            return LinkError{LinkError::Kind::Io, device(), QStringLiteral("Read fault")};
        }
        if (rx_.empty())
            return LinkError{LinkError::Kind::Io, device(), QStringLiteral("No data")};
        *out = rx_.front();
        rx_.pop_front();
        return std::nullopt;
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
        if (number_ == 0) {
            ++pickerShown;
            note(QStringLiteral("picker"));
            if (!pickerAnswer)
                return LinkError{LinkError::Kind::NoPortChosen, {}, QStringLiteral("No port selected")};
            number_ = *pickerAnswer;
        }
        if (!openRefusal.isEmpty())
            return LinkError{LinkError::Kind::CannotOpen, device(), openRefusal};
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

    // The bytes come onto the line one after another, `byteUs` apart, the first after
    // `delayUs`; each arrival is one notification.
    void lineSend(const QByteArray &bytes, qint64 delayUs, qint64 byteUs)
    {
        for (int i = 0; i < bytes.size(); ++i) {
            const quint8 byte = quint8(bytes.at(i));
            clock_.schedule(delayUs + i * byteUs, [this, byte] {
                rx_.push_back(byte);
                lastRxUs = clock_.now();
                if (onDataAvailable)
                    onDataAvailable(quint16(rx_.size()));
            });
        }
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
    std::optional<int> pickerAnswer = 3;
    QString openRefusal;   // non-empty: the device does not open, for this reason
    int failSendsFrom = -1;   // sends from this count on fail
    int failReads = 0;        // the next reads that fail
    int pickerShown = 0;
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

// The test set: answers "DL" with reply 0 and "B" k with reply k at 19200 bit/s.
class SimTestSet {
public:
    static constexpr qint64 kByteUs = 521;   // 10 bits at 19200 bit/s

    SimTestSet(SimLink &link, QList<QByteArray> replies, qint64 turnaroundUs = 1000)
        : replies(std::move(replies)), turnaroundUs(turnaroundUs), link_(link)
    {
        link_.onSend = [this](const QByteArray &command) {
            int k = -1;
            if (command == "DL")
                k = 0;
            else if (command.size() == 2 && command.at(0) == 'B')
                k = quint8(command.at(1));
            if (k >= 0 && k < this->replies.size() && !this->replies.at(k).isEmpty())
                link_.lineSend(this->replies.at(k), this->turnaroundUs, kByteUs);
        };
    }

    QList<QByteArray> replies;
    qint64 turnaroundUs;

private:
    SimLink &link_;
};

// Reply k of a test set: `size` bytes, zeros included, different for every k and tag.
inline QByteArray simReply(int k, int size, char tag = 'n')
{
    QByteArray r(size, '\0');
    for (int i = 0; i < size; ++i)
        r[i] = (i % 7 == 3) ? '\0' : char((i * 31 + k * 17 + tag) & 0xFF);
    return r;
}

inline QList<QByteArray> simReplies(int size, char tag = 'n')
{
    QList<QByteArray> all;
    for (int k = 0; k < DownloadExchange::kReplyCount; ++k)
        all.append(simReply(k, size, tag));
    return all;
}

} // namespace kelpra::test
