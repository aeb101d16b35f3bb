#include "link/serial_port.h"

#include "data/wire.h"
#include "files/file_io.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSerialPortInfo>

#include <algorithm>

#include <unistd.h>

namespace kelpra {

namespace {

const QString kNoPortSelected = QStringLiteral("No port selected");

// Replaces `name` in the working directory with `bytes`; the error text on failure, when
// what was there is left as it was. A symbolic link found there (in a shared folder another
// user may have planted it) is replaced by the file, never written through.
QString writeFile(const QString &name, const QByteArray &bytes)
{
    const QString path = QDir::current().filePath(name);
    if (const std::optional<QString> error = replaceFileNoFollow(path, bytes)) {
        if (QFileInfo(path).isSymLink())
            return QStringLiteral("%1 not written: it is a symbolic link that could not be replaced (%2)").arg(name, *error);
        return QStringLiteral("%1 not written: %2").arg(name, *error);
    }
    return {};
}

} // namespace

SerialPort::SerialPort(QObject *parent)
    : QObject(parent), map_(PortMap::fromEnvironment())
{
    connect(&serial_, &QSerialPort::readyRead, this, &SerialPort::onReadyRead);
    connect(&serial_, &QSerialPort::errorOccurred, this, &SerialPort::onErrorOccurred);
}

SerialPort::~SerialPort()
{
    close();
}

QStringList SerialPort::findPorts() const
{
    // What the system knows of its adapters, by device path; pseudo-terminals are not
    // among them and show their path alone.
    QHash<QString, QSerialPortInfo> known;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        known.insert(info.systemLocation(), info);
    const auto row = [&known](int n, const QString &device) {
        QSerialPortInfo info = known.value(device);
        if (info.isNull())
            info = known.value(QFileInfo(device).canonicalFilePath());   // /dev/serial/by-id/...
        return portPickerRow(n, device, info.description(), info.manufacturer(), info.serialNumber());
    };

    QStringList items;
    for (int n = PortMap::kFirstPort; n <= PortMap::kLastPort; ++n) {
        const QString device = map_.device(n);
        if (device.isEmpty())
            continue;
        QSerialPort probe;
        probe.setPortName(device);
        probe.setReadBufferSize(64);
        if (probe.open(QIODevice::ReadWrite)) {
            probe.close();
            items << row(n, device);
        } else if (probe.error() == QSerialPort::PermissionError) {
            // Held by another program (or by us): the user may still mean this one.
            items << row(n, device);
        }
    }
    return items;
}

std::optional<LinkError> SerialPort::open()
{
    if (serial_.isOpen())
        return std::nullopt;

    if (number_ == 0)
        return LinkError{LinkError::Kind::NoPortChosen, {}, kNoPortSelected};

    const QString device = map_.device(number_);
    if (device.isEmpty())
        return LinkError{LinkError::Kind::CannotOpen, wire::portName(number_), QStringLiteral("No such device")};

    serial_.setPortName(device);
    serial_.setBaudRate(wire::kBaudRate);
    serial_.setDataBits(QSerialPort::Data8);
    serial_.setParity(QSerialPort::NoParity);
    serial_.setStopBits(QSerialPort::OneStop);
    serial_.setFlowControl(QSerialPort::NoFlowControl);
    serial_.setReadBufferSize(kReadBufferSize);
    if (!serial_.open(QIODevice::ReadWrite)) {
        const LinkError error{LinkError::Kind::CannotOpen, device, serial_.errorString()};
        serial_.clearError();
        return error;
    }
    device_ = device;
    traced_ = 0;
    if (recording_ == Recording::NotStarted)
        recording_ = Recording::On;
    logEvent(LogKind::Open, wire::portName(number_) + QLatin1Char(' ') + device);

    // Pseudo-terminals and some adapters have no modem-control lines; the data still flows.
    if (!serial_.setDataTerminalReady(true)) {
        logEvent(LogKind::Warning, QStringLiteral("DTR not set: ") + serial_.errorString());
        serial_.clearError();
    }
    if (!serial_.setRequestToSend(true)) {
        logEvent(LogKind::Warning, QStringLiteral("RTS not set: ") + serial_.errorString());
        serial_.clearError();
    }
    return std::nullopt;
}

std::optional<LinkError> SerialPort::send(const QByteArray &bytes)
{
    if (!serial_.isOpen()) {
        if (auto error = open())
            return error;
    }
    const qint64 written = serial_.write(bytes);
    if (written != bytes.size()) {
        const LinkError error{LinkError::Kind::Io, device_, serial_.errorString()};
        serial_.clearError();
        return error;
    }
    serial_.flush();
    if (recording()) {
        trace_.add(TraceDirection::Transmit, bytes);
        logEvent(LogKind::Transmit, QString::number(bytes.size()), bytes);
    }
    return std::nullopt;
}

std::optional<LinkError> SerialPort::readByte(quint8 *out)
{
    if (!serial_.isOpen())
        return LinkError{LinkError::Kind::Closed, wire::portName(number_), QStringLiteral("The port is not open")};
    char c = 0;
    if (!serial_.getChar(&c))
        return LinkError{LinkError::Kind::Io, wire::portName(number_), QStringLiteral("No received byte waiting")};
    if (traced_ > 0)
        --traced_;
    else if (recording())
        trace_.add(TraceDirection::Receive, static_cast<quint8>(c));
    if (out)
        *out = static_cast<quint8>(c);
    return std::nullopt;
}

void SerialPort::onReadyRead()
{
    const qint64 waiting = serial_.bytesAvailable();
    if (recording() && waiting > traced_) {
        const QByteArray fresh = serial_.peek(waiting).mid(traced_);
        trace_.add(TraceDirection::Receive, fresh);
        logEvent(LogKind::Receive, QString::number(fresh.size()), fresh);
    }
    traced_ = waiting;
    const quint16 count = static_cast<quint16>(std::min<qint64>(waiting, 65535));
    if (count == 0)
        return;
    logEvent(LogKind::Available, QString::number(count));
    if (onDataAvailable)
        onDataAvailable(count);
}

void SerialPort::onErrorOccurred(QSerialPort::SerialPortError error)
{
    if (error == QSerialPort::NoError || closing_ || !serial_.isOpen())
        return;
    logEvent(LogKind::Error, serial_.errorString());
    // A device that went away (adapter unplugged, the other end of a pseudo-terminal
    // closed) keeps reporting read errors; closing stops that, and the next send reopens.
    if (error == QSerialPort::ResourceError || error == QSerialPort::ReadError) {
        // After a hang-up the system's error text is often left over from an earlier call
        // ("Inappropriate ioctl for device"); say what is known instead. The log keeps it.
        // Both kinds mean the same on a serial line: the other end is gone.
        const QString reason = QStringLiteral("the device hung up or was disconnected");
        close();
        if (onLost)
            onLost(reason);
    }
}

void SerialPort::discardInput()
{
    if (!serial_.isOpen())
        return;
    // What the port object holds already, and what the system holds for it: read, so that
    // the log can say what was dropped, and never handed to anyone.
    QByteArray dropped = serial_.readAll();
    const int fd = static_cast<int>(serial_.handle());
    char buffer[256];
    for (ssize_t n; fd >= 0 && (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        dropped.append(buffer, static_cast<int>(n));
    serial_.clear(QSerialPort::Input);
    traced_ = 0;
    if (!dropped.isEmpty())
        logEvent(LogKind::Warning,
                 QStringLiteral("%1 bytes received before the first command discarded").arg(dropped.size()), dropped);
}

void SerialPort::close()
{
    if (closing_)
        return;
    closing_ = true;
    if (serial_.isOpen()) {
        serial_.close();
        serial_.clearError();
        logEvent(LogKind::Close, wire::portName(number_));
    }
    traced_ = 0;
    if (recording_ == Recording::On) {
        writeFiles();
        recording_ = Recording::Done;
        trace_.clear();
        log_.clear();
    }
    closing_ = false;
}

void SerialPort::logEvent(LogKind kind, const QString &value, const QByteArray &data)
{
    if (recording())
        log_.add(kind, value, data);
}

void SerialPort::writeFiles()
{
    // The port is closed already; a file that cannot be written only leaves a note.
    QStringList errors;
    if (!trace_.isEmpty()) {
        const QString e = writeFile(QStringLiteral("APD.TRC"), trace_.toText());
        if (!e.isEmpty()) {
            errors << e;
            // The trace is skipped; the log says why.
            log_.add(LogKind::Error, e);
        }
    }
    if (!log_.isEmpty()) {
        const QString e = writeFile(QStringLiteral("APD.LOG"), log_.toText(device_, QDateTime::currentDateTime()));
        if (!e.isEmpty())
            errors << e;
    }
    fileError_ = errors.join(QStringLiteral("; "));
}

} // namespace kelpra
