#pragma once

#include <QByteArray>
#include <QList>
#include <QMetaObject>
#include <QStringList>
#include <QString>
#include <functional>
#include <optional>

class QObject;
class QTimer;

namespace kelpra {

class SerialLink;
struct LinkError;

// A one-shot millisecond timer as the exchange sees it. QtExchangeTimer runs on the event
// loop; tests use a timer on a simulated clock. The exchange sets onTimeout.
class ExchangeTimer {
public:
    virtual ~ExchangeTimer() = default;
    // (Re)starts the timer: a running timer is stopped first.
    virtual void start(int ms) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;

    std::function<void()> onTimeout;
};

// ExchangeTimer on a QTimer of its own, optionally a named child of a window.
class QtExchangeTimer : public ExchangeTimer {
public:
    explicit QtExchangeTimer(QObject *parent = nullptr, const QString &name = {});
    ~QtExchangeTimer() override;
    QtExchangeTimer(const QtExchangeTimer &) = delete;
    QtExchangeTimer &operator=(const QtExchangeTimer &) = delete;

    void start(int ms) override;
    void stop() override;
    bool isActive() const override;

private:
    QTimer *timer_;
    bool owned_;
};

// How an exchange ended: all 17 replies in, or why not.
class DownloadOutcome {
public:
    enum class Cause {
        None,              // success
        NoAnswer,          // nothing came back at all
        ReplyIncomplete,   // a reply stopped short (or never came) before the deadline
        PortClosed,        // the device went away during the exchange
        CannotOpen,        // the port could not be opened (or no port was chosen)
    };

    // All 17 replies: the identification line, then records 1 to 16.
    static DownloadOutcome success(QList<QByteArray> replies);
    static DownloadOutcome noAnswer(int portNumber, const QString &device);
    // `reply` counts from 1 (the identification line) to 17.
    static DownloadOutcome replyIncomplete(int reply, int bytes);
    static DownloadOutcome portClosed(const QString &reason);
    static DownloadOutcome cannotOpen(const QString &device, const QString &reason);
    // The failure that a link error during the exchange stands for.
    static DownloadOutcome fromLinkError(const LinkError &error);

    bool ok() const { return cause_ == Cause::None; }
    Cause cause() const { return cause_; }
    // One line saying what happened, empty on success.
    QString causeLine() const { return causeLine_; }
    // What the user is told: "Download Ok" with a line for each record that does not look
    // like one, or the no-answer message with the cause line under it.
    QString message() const;
    // A complete download's records whose layout does not fit: one sentence each.
    const QStringList &warnings() const { return warnings_; }
    // The replies of a successful exchange; empty otherwise.
    const QList<QByteArray> &replies() const { return replies_; }

private:
    DownloadOutcome() = default;
    DownloadOutcome(Cause cause, QString line) : cause_(cause), causeLine_(std::move(line)) {}

    Cause cause_ = Cause::None;
    QString causeLine_;
    QList<QByteArray> replies_;
    QStringList warnings_;
};

// What the rest of the program hears of an exchange. Each handler returns to the exchange;
// finished() may run the event loop (a message box) before it does.
class DownloadObserver {
public:
    virtual ~DownloadObserver() = default;
    // "DL" has been handed to the port (or failed to be) and the deadline runs.
    virtual void started() {}
    // `received` replies (1 to 16) are in and the command for the next has gone out.
    virtual void progress(int received) { (void)received; }
    // The exchange is over: all replies in (the outcome carries them), or why not. The
    // exchange stays Done or Failed until this returns, then goes back to Idle.
    virtual void finished(const DownloadOutcome &outcome) = 0;
    // The exchange entered another state.
    virtual void stateChanged() {}
};

// The download exchange: "DL" fetches the identification line, then "B" k fetches record
// k, k = 1..16. A reply ends after 25 ms of silence once it holds 64 bytes or more; the
// whole exchange must be done within 2000 ms of "DL". Replies are gathered aside and handed
// over together, only when all 17 are in: nothing held changes before that.
class DownloadExchange {
public:
    enum class State { Idle, AwaitingReply, ReplyEnding, Done, Failed };

    static inline const QString kDownloadOk = QStringLiteral("Download Ok");
    static inline const QString kNoAnswer =
        QStringLiteral(" Please Connect Tester to PC and select Communication port number");
    static inline const QString kDecodeHint = QStringLiteral(
        "Please press Decode message button or use navigation buttons in upper right corner.");

    // deadline is Timer1, replyEnd is Timer2. The exchange takes over the link's
    // notifications and both timers' expiries until it is destroyed.
    DownloadExchange(SerialLink &link, ExchangeTimer &deadline, ExchangeTimer &replyEnd, DownloadObserver &observer);
    ~DownloadExchange();
    DownloadExchange(const DownloadExchange &) = delete;
    DownloadExchange &operator=(const DownloadExchange &) = delete;

    void download();                   // the Download command
    void dataAvailable(quint16 count); // the port's data-available notification
    void replyEnded();                 // Timer2 expired
    void deadlineExpired();            // Timer1 expired
    void linkLost(const QString &reason);

    State state() const { return state_; }
    // The reply now being received (0 for the identification line, k for record k; 17 when done).
    int replyIndex() const { return replies_.size(); }
    const QByteArray &buffer() const { return buffer_; }
    int replyLength() const { return buffer_.size(); }
    // The replies gathered so far in this exchange.
    const QList<QByteArray> &replies() const { return replies_; }
    bool running() const { return state_ == State::AwaitingReply || state_ == State::ReplyEnding; }

private:
    void enter(State state);
    void sendNextCommand();
    // The first link failure of an exchange is its cause; later ones follow from it.
    void noteFailure(const LinkError &error);
    DownloadOutcome failureOutcome() const;

    SerialLink &link_;
    ExchangeTimer &deadline_;
    ExchangeTimer &replyEnd_;
    DownloadObserver &observer_;

    State state_ = State::Idle;
    QList<QByteArray> replies_;
    QByteArray buffer_;
    std::optional<DownloadOutcome> failure_;
};

} // namespace kelpra
