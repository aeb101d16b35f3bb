#include "download_exchange.h"

#include "data/measurement_store.h"
#include "serial_link.h"

#include <QObject>
#include <QTimer>

namespace kelpra {

QtExchangeTimer::QtExchangeTimer() : timer_(new QTimer), owned_(true) { setUp(); }

QtExchangeTimer::QtExchangeTimer(QTimer *timer) : timer_(timer), owned_(false) { setUp(); }

QtExchangeTimer::~QtExchangeTimer()
{
    QObject::disconnect(connection_);
    if (owned_)
        delete timer_;
}

void QtExchangeTimer::setUp()
{
    // A coarse timer may fire early and cut a reply short; the pause has to be 25 ms.
    timer_->setTimerType(Qt::PreciseTimer);
    // The handlers stop their timer first anyway; single-shot keeps a timer from firing
    // again while a handler's message box runs the event loop.
    timer_->setSingleShot(true);
    connection_ = QObject::connect(timer_, &QTimer::timeout, timer_, [this] {
        if (onTimeout)
            onTimeout();
    });
}

void QtExchangeTimer::start(int ms) { timer_->start(ms); }
void QtExchangeTimer::stop() { timer_->stop(); }
bool QtExchangeTimer::isActive() const { return timer_->isActive(); }

DownloadExchange::DownloadExchange(SerialLink &link, ExchangeTimer &deadline, ExchangeTimer &replyEnd,
                                   MeasurementStore &store, DownloadHost &host)
    : link_(link), deadline_(deadline), replyEnd_(replyEnd), store_(store), host_(host)
{
}

void DownloadExchange::connectSources()
{
    link_.onDataAvailable = [this](quint16 count) { dataAvailable(count); };
    deadline_.onTimeout = [this] { deadlineExpired(); };
    replyEnd_.onTimeout = [this] { replyEnded(); };
}

void DownloadExchange::download()
{
    // The buttons are disabled while an exchange runs; a second start from elsewhere
    // would mix two exchanges in one buffer.
    if (state_ != State::Idle)
        return;

    replyIndex_ = 0;
    buffer_.clear();
    replyLength_ = 0;
    // Awaiting before "DL" goes out, so that no byte of the answer is taken for noise.
    state_ = State::AwaitingReply;

    // No port, a cancelled picker or a failed send all end at the deadline instead.
    (void)link_.send(QByteArrayLiteral("DL"));
    deadline_.start(kDeadlineMs);
    host_.setCommandsEnabled(false);

    host_.showCounts(0, 1, 0);
    store_.set_display_index(1);
    host_.setPrevVisible(false);
    host_.hideDownloadWindow();
    host_.setNextVisible(true);
    // Runs on what the store held before: the replies are handled only from the event
    // loop (or while a message of this command is open).
    host_.decodeMessage();
    host_.setStatusText(kDecodeHint);
    store_.set_record_count(16);
    host_.showCounts(16, 1, 16);
    host_.decodeMessage();
}

void DownloadExchange::dataAvailable(quint16 count)
{
    if (!running()) {
        // Bytes outside an exchange (a late reply, line noise after the port was reopened)
        // are drained and dropped: kept, they would end a "reply" into a slot and send a
        // command nobody asked for.
        quint8 byte = 0;
        for (quint16 i = 0; i < count; ++i) {
            if (link_.readByte(&byte))
                break;
        }
        return;
    }
    for (quint16 i = 0; i < count; ++i) {
        quint8 byte = 0;
        if (auto error = link_.readByte(&byte)) {
            host_.showError(*error);
            return;
        }
        buffer_.append(static_cast<char>(byte));
        ++replyLength_;
        if (replyLength_ >= kMinReplyLength) {
            replyEnd_.stop();
            replyEnd_.start(kReplyPauseMs);
            state_ = State::ReplyEnding;
        }
    }
}

void DownloadExchange::replyEnded()
{
    replyEnd_.stop();
    if (state_ != State::ReplyEnding)
        return;   // an expiry queued before the exchange ended

    store_.setSlot(replyIndex_, buffer_);
    buffer_.clear();
    replyLength_ = 0;
    ++replyIndex_;
    if (replyIndex_ >= kReplyCount) {
        complete();
        return;
    }
    state_ = State::AwaitingReply;
    QByteArray command("B");
    command.append(static_cast<char>(replyIndex_));
    if (auto error = link_.send(command)) {
        host_.showError(*error);
        return;
    }
    host_.setProgress(replyIndex_ + 1);
}

void DownloadExchange::complete()
{
    deadline_.stop();
    replyEnd_.stop();
    state_ = State::Done;
    link_.close();   // the port number stays: the next download uses the same port
    host_.showMessage(kDownloadOk);
    host_.setCommandsEnabled(true);
    state_ = State::Idle;
}

void DownloadExchange::deadlineExpired()
{
    deadline_.stop();
    if (!running())
        return;   // an expiry queued before the exchange ended
    replyEnd_.stop();
    state_ = State::Failed;
    link_.close();
    link_.setPortNumber(0);
    host_.showMessage(kNoAnswer);
    host_.setCommandsEnabled(true);
    // Picker at once; whatever is chosen stays open for the next download.
    (void)link_.open();
    state_ = State::Idle;
}

void reselectPort(SerialLink &link)
{
    link.close();
    link.setPortNumber(0);
    (void)link.open();
}

} // namespace kelpra
