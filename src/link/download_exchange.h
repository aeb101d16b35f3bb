#pragma once

#include <QByteArray>
#include <QMetaObject>
#include <QString>
#include <functional>

class QTimer;

namespace kelpra {

class MeasurementStore;
class SerialLink;

// A one-shot millisecond timer as the exchange sees it. The window uses QTimer; tests use
// a timer on a simulated clock. Whoever owns the timer routes onTimeout to the exchange.
class ExchangeTimer {
public:
    virtual ~ExchangeTimer() = default;
    // (Re)starts the timer: a running timer is stopped first.
    virtual void start(int ms) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;

    std::function<void()> onTimeout;
};

// ExchangeTimer on a QTimer (its own, or one that a window already holds).
class QtExchangeTimer : public ExchangeTimer {
public:
    QtExchangeTimer();
    explicit QtExchangeTimer(QTimer *timer);
    ~QtExchangeTimer() override;

    void start(int ms) override;
    void stop() override;
    bool isActive() const override;
    QTimer *timer() const { return timer_; }

private:
    void setUp();
    QTimer *timer_;
    bool owned_;
    QMetaObject::Connection connection_;
};

// What the exchange does to the rest of the program besides the port and the store. The
// download window drives the main window with it; a console host prints.
class DownloadHost {
public:
    virtual ~DownloadHost() = default;
    // The Download and InitPort buttons.
    virtual void setCommandsEnabled(bool enabled) = 0;
    virtual void setProgress(int position) = 0;
    // The main window's figures: Label22 (received), current and total.
    virtual void showCounts(int received, int current, int total) = 0;
    virtual void setPrevVisible(bool visible) = 0;
    virtual void setNextVisible(bool visible) = 0;
    virtual void hideDownloadWindow() = 0;
    // The main window's "Decode message" command.
    virtual void decodeMessage() = 0;
    virtual void setStatusText(const QString &text) = 0;
    // A message box; returns when it has been dismissed (the event loop runs meanwhile).
    virtual void showMessage(const QString &text) = 0;
    // The general error handler.
    virtual void showError(const QString &text) = 0;
};

// The download exchange: "DL" fetches the identification line into slot 0, then "B" k
// fetches record k into slot k, k = 1..16. A reply ends after 25 ms of silence once it
// holds 64 bytes or more; the whole exchange must be done within 2000 ms of "DL".
class DownloadExchange {
public:
    enum class State { Idle, AwaitingReply, ReplyEnding, Done, Failed };

    static constexpr int kDeadlineMs = 2000;
    static constexpr int kReplyPauseMs = 25;
    static constexpr int kMinReplyLength = 64;
    static constexpr int kReplyCount = 17;   // the identification line and 16 records

    static inline const QString kDownloadOk = QStringLiteral("Download Ok");
    static inline const QString kNoAnswer =
        QStringLiteral(" Please Connect Tester to PC and select Communication port number");
    static inline const QString kDecodeHint = QStringLiteral(
        "Please press Decode message button or use navigation buttons in upper right corner.");

    // deadline is Timer1, replyEnd is Timer2.
    DownloadExchange(SerialLink &link, ExchangeTimer &deadline, ExchangeTimer &replyEnd,
                     MeasurementStore &store, DownloadHost &host);

    // Routes the link's data notification and both timers' expiries straight to the
    // handlers below (a window routes them through its own handlers instead).
    void connectSources();

    void download();                   // the Download command
    void dataAvailable(quint16 count); // the port's data-available notification
    void replyEnded();                 // Timer2 expired
    void deadlineExpired();            // Timer1 expired

    State state() const { return state_; }
    // The slot the reply now being received goes into (0..17).
    int replyIndex() const { return replyIndex_; }
    const QByteArray &buffer() const { return buffer_; }
    int replyLength() const { return replyLength_; }
    bool running() const { return state_ == State::AwaitingReply || state_ == State::ReplyEnding; }

private:
    void complete();

    SerialLink &link_;
    ExchangeTimer &deadline_;
    ExchangeTimer &replyEnd_;
    MeasurementStore &store_;
    DownloadHost &host_;

    State state_ = State::Idle;
    int replyIndex_ = 0;
    QByteArray buffer_;
    int replyLength_ = 0;
};

// The InitPort command: close the port, forget its number and open it again at once, so
// that the port picker asks for one. Errors (picker cancelled, open failed) are ignored.
void reselectPort(SerialLink &link);

} // namespace kelpra
