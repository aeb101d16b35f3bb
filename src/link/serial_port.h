#pragma once

#include "link/port_map.h"
#include "link/serial_link.h"
#include "link/trace_log.h"

#include <QObject>
#include <QSerialPort>
#include <QStringList>

#include <functional>
#include <optional>

namespace kelpra {

// The serial port `ApdComPort1` of the download window: 19200 bit/s, 8N1, no flow control,
// DTR and RTS asserted while open. Opens itself on the first send; with port number 0 it
// has no port to open (whoever holds it asks the user for one). The first open period after start-up is
// recorded and written to "APD.TRC" and "APD.LOG" in the working directory when the port
// closes for the first time.
class SerialPort : public QObject, public SerialLink {
    Q_OBJECT
public:
    static constexpr qint64 kReadBufferSize = 4096;

    explicit SerialPort(QObject *parent = nullptr);
    ~SerialPort() override;

    void setPortMap(const PortMap &map) { map_ = map; }
    const PortMap &portMap() const { return map_; }

    std::optional<LinkError> send(const QByteArray &bytes) override;
    std::optional<LinkError> readByte(quint8 *out) override;
    void discardInput() override;
    void close() override;
    std::optional<LinkError> open() override;
    bool isOpen() const override { return serial_.isOpen(); }
    void setPortNumber(int number) override { number_ = number; }
    int portNumber() const override { return number_; }
    QString device() const override { return map_.device(number_); }

    // The picker's rows ("COM<n> — device — adapter", see portPickerRow) for each n
    // in 1..50 whose device opens, or is held by
    // another program (access denied), in ascending order.
    QStringList findPorts() const;

    // True from the first successful open until the first close.
    bool recording() const { return recording_ == Recording::On; }
    const Trace &trace() const { return trace_; }
    const EventLog &log() const { return log_; }
    // Why "APD.TRC" or "APD.LOG" could not be written; empty when they were (or were not due).
    QString fileError() const { return fileError_; }

private:
    enum class Recording { NotStarted, On, Done };

    void onReadyRead();
    void onErrorOccurred(QSerialPort::SerialPortError error);
    void logEvent(LogKind kind, const QString &value, const QByteArray &data = {});
    void writeFiles();

    QSerialPort serial_;
    PortMap map_;
    int number_ = 0;
    QString device_;
    bool closing_ = false;
    // Received bytes in the QSerialPort buffer that are already in the trace.
    qint64 traced_ = 0;

    Recording recording_ = Recording::NotStarted;
    Trace trace_;
    EventLog log_;
    QString fileError_;
};

} // namespace kelpra
