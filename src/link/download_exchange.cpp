#include "download_exchange.h"

#include "data/wire.h"
#include "serial_link.h"

#include <QObject>
#include <QTimer>

namespace kelpra {

namespace {

// "Permission denied." -> "Permission denied": the cause line adds its own full stop.
QString withoutFullStop(QString text)
{
    text = text.trimmed();
    while (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

const QString kDialoutHint = QStringLiteral(
    " Serial ports belong to the dialout group: join it (sudo adduser $USER dialout) and log in again.");

} // namespace

QtExchangeTimer::QtExchangeTimer(QObject *parent, const QString &name)
    : timer_(new QTimer(parent)), owned_(parent == nullptr)
{
    timer_->setObjectName(name);
    // 25 ms must mean 25 ms: a coarse timer may fire a few milliseconds early and cut a
    // reply short.
    timer_->setTimerType(Qt::PreciseTimer);
    // Single-shot keeps a timer from firing again while a message box runs the event loop.
    timer_->setSingleShot(true);
    QObject::connect(timer_, &QTimer::timeout, timer_, [this] {
        if (onTimeout)
            onTimeout();
    });
}

QtExchangeTimer::~QtExchangeTimer()
{
    // A parent may outlive this object: the timer must not call back into it any more.
    QObject::disconnect(timer_, &QTimer::timeout, nullptr, nullptr);
    timer_->stop();
    if (owned_)
        delete timer_;
}

void QtExchangeTimer::start(int ms) { timer_->start(ms); }
void QtExchangeTimer::stop() { timer_->stop(); }
bool QtExchangeTimer::isActive() const { return timer_->isActive(); }

DownloadOutcome DownloadOutcome::success(QList<QByteArray> replies)
{
    DownloadOutcome outcome;
    outcome.replies_ = std::move(replies);
    for (int k = 1; k < outcome.replies_.size(); ++k) {
        if (!wire::looksLikeMeasurementRecord(outcome.replies_.at(k)))
            outcome.warnings_ << QStringLiteral("Record %1 does not look like a measurement record: stray bytes on "
                                                "the line may have shifted it. Download again to be sure.")
                                     .arg(k);
    }
    return outcome;
}

DownloadOutcome DownloadOutcome::noAnswer(int portNumber, const QString &device)
{
    return {Cause::NoAnswer, QStringLiteral("No answer from %1 (%2).").arg(wire::portName(portNumber), device)};
}

DownloadOutcome DownloadOutcome::replyIncomplete(int reply, int bytes)
{
    // A reply that never began is not a broken record: the time ran out before it.
    if (bytes == 0)
        return {Cause::ReplyIncomplete,
                QStringLiteral("Reply %1 of %2 did not come within the 2 s limit.").arg(reply).arg(wire::kReplyCount)};
    return {Cause::ReplyIncomplete, QStringLiteral("Reply %1 of %2 incomplete (%3 bytes) when the 2 s limit ran out.")
                                        .arg(reply)
                                        .arg(wire::kReplyCount)
                                        .arg(bytes)};
}

DownloadOutcome DownloadOutcome::portClosed(const QString &reason)
{
    return {Cause::PortClosed, QStringLiteral("The port closed: %1.").arg(withoutFullStop(reason))};
}

DownloadOutcome DownloadOutcome::cannotOpen(const QString &device, const QString &reason)
{
    QString line = QStringLiteral("Cannot open %1: %2.").arg(device, withoutFullStop(reason));
    if (reason.contains(QLatin1String("Permission denied"), Qt::CaseInsensitive))
        line += kDialoutHint;
    return {Cause::CannotOpen, line};
}

DownloadOutcome DownloadOutcome::fromLinkError(const LinkError &error)
{
    switch (error.kind) {
    case LinkError::Kind::NoPortChosen:
        return cannotOpen(QStringLiteral("the port"), error.reason);
    case LinkError::Kind::CannotOpen:
        return cannotOpen(error.device, error.reason);
    case LinkError::Kind::Closed:
    case LinkError::Kind::Io:
        break;
    }
    return portClosed(error.reason);
}

QString DownloadOutcome::message() const
{
    if (ok())
        return QStringList(QStringList{DownloadExchange::kDownloadOk} + warnings_).join(QLatin1Char('\n'));
    return DownloadExchange::kNoAnswer + QLatin1Char('\n') + causeLine_;
}

DownloadExchange::DownloadExchange(SerialLink &link, ExchangeTimer &deadline, ExchangeTimer &replyEnd,
                                   DownloadObserver &observer)
    : link_(link), deadline_(deadline), replyEnd_(replyEnd), observer_(observer)
{
    link_.onDataAvailable = [this](quint16 count) { dataAvailable(count); };
    link_.onLost = [this](const QString &reason) { linkLost(reason); };
    deadline_.onTimeout = [this] { deadlineExpired(); };
    replyEnd_.onTimeout = [this] { replyEnded(); };
}

DownloadExchange::~DownloadExchange()
{
    deadline_.stop();
    replyEnd_.stop();
    link_.onDataAvailable = nullptr;
    link_.onLost = nullptr;
    deadline_.onTimeout = nullptr;
    replyEnd_.onTimeout = nullptr;
}

void DownloadExchange::download()
{
    // The buttons are disabled while an exchange runs; a second start from elsewhere
    // would mix two exchanges in one buffer.
    if (state_ != State::Idle)
        return;

    replies_.clear();
    buffer_.clear();
    failure_.reset();
    // Awaiting before "DL" goes out, so that no byte of the answer is taken for noise.
    enter(State::AwaitingReply);

    // No port chosen or a failed send end at the deadline, which names them. Whatever the
    // line brought before "DL" is no part of any reply.
    std::optional<LinkError> error = link_.isOpen() ? std::nullopt : link_.open();
    if (!error) {
        link_.discardInput();
        error = link_.send(wire::kIdentifyCommand);
    }
    if (error)
        noteFailure(*error);
    deadline_.start(wire::kDeadlineMs);
    observer_.started();
}

void DownloadExchange::dataAvailable(quint16 count)
{
    if (!running() || failure_) {
        // Bytes outside an exchange (a late reply, line noise after the port was reopened)
        // or after it broke are drained and dropped: kept, they would end a "reply" and
        // send a command nobody asked for.
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
            noteFailure(*error);
            return;
        }
        buffer_.append(static_cast<char>(byte));
        if (buffer_.size() >= wire::kRecordLength) {
            replyEnd_.start(wire::kReplyPauseMs);
            if (state_ != State::ReplyEnding)
                enter(State::ReplyEnding);
        }
    }
}

void DownloadExchange::replyEnded()
{
    replyEnd_.stop();
    if (state_ != State::ReplyEnding || failure_)
        return;   // an expiry queued before the exchange ended or broke

    replies_.append(buffer_);
    buffer_.clear();
    if (replies_.size() >= wire::kReplyCount) {
        enter(State::Done);
        return;
    }
    enter(State::AwaitingReply);
    sendNextCommand();
}

void DownloadExchange::sendNextCommand()
{
    const int k = static_cast<int>(replies_.size());
    if (auto error = link_.send(wire::recordCommand(k))) {
        noteFailure(*error);
        return;
    }
    observer_.progress(k);
}

void DownloadExchange::deadlineExpired()
{
    deadline_.stop();
    if (running())
        enter(State::Failed);
    // Otherwise an expiry queued before the exchange ended.
}

void DownloadExchange::linkLost(const QString &reason)
{
    if (running())
        noteFailure(LinkError{LinkError::Kind::Closed, link_.device(), reason});
}

void DownloadExchange::noteFailure(const LinkError &error)
{
    // Nothing more can come of this exchange; the deadline ends it and says why.
    replyEnd_.stop();
    if (!failure_)
        failure_ = DownloadOutcome::fromLinkError(error);
}

DownloadOutcome DownloadExchange::failureOutcome() const
{
    if (failure_)
        return *failure_;
    if (replies_.isEmpty() && buffer_.isEmpty())
        return DownloadOutcome::noAnswer(link_.portNumber(), link_.device());
    return DownloadOutcome::replyIncomplete(static_cast<int>(replies_.size()) + 1, static_cast<int>(buffer_.size()));
}

void DownloadExchange::enter(State state)
{
    state_ = state;
    switch (state) {
    case State::Idle:
    case State::ReplyEnding:
        observer_.stateChanged();
        break;
    case State::AwaitingReply:
        replyEnd_.stop();
        observer_.stateChanged();
        break;
    case State::Done:
        deadline_.stop();
        replyEnd_.stop();
        link_.close();   // the port number stays: the next download uses the same port
        observer_.stateChanged();
        // All or nothing: the replies leave the exchange only now, all at once.
        observer_.finished(DownloadOutcome::success(replies_));
        enter(State::Idle);
        break;
    case State::Failed: {
        deadline_.stop();
        replyEnd_.stop();
        const DownloadOutcome outcome = failureOutcome();
        link_.close();
        // The port failed: the next download asks for one.
        link_.setPortNumber(0);
        observer_.stateChanged();
        observer_.finished(outcome);
        enter(State::Idle);
        break;
    }
    }
}

} // namespace kelpra
