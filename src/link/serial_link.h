#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

namespace kelpra {

// Why the port could not be opened, or could not send or read.
struct LinkError {
    enum class Kind {
        NoPortChosen,   // port number 0: no port has been chosen
        CannotOpen,     // the device did not open
        Closed,         // the port is not open (the device went away)
        Io,             // a send or read on the open port failed
    };
    Kind kind = Kind::Io;
    QString device;   // the device path; empty when no port was chosen
    QString reason;   // the system's own words, such as "Permission denied"

    // One line for the general error handler.
    QString text() const
    {
        switch (kind) {
        case Kind::NoPortChosen: return reason;
        case Kind::CannotOpen: return QStringLiteral("Cannot open %1: %2").arg(device, reason);
        case Kind::Closed:
        case Kind::Io: return QStringLiteral("%1: %2").arg(device, reason);
        }
        return reason;
    }
};

// What the download exchange needs of the serial port `ApdComPort1`. The real port sits on
// QSerialPort; tests put a simulated one in its place.
class SerialLink {
public:
    virtual ~SerialLink() = default;

    // Hands the bytes to the line unchanged. A closed port is opened first.
    virtual std::optional<LinkError> send(const QByteArray &bytes) = 0;
    // Takes the next received byte.
    virtual std::optional<LinkError> readByte(quint8 *out) = 0;
    // Drops what was received and not yet read (noise before a command); the port notes
    // how many bytes went.
    virtual void discardInput() = 0;
    // Closes the port if it is open; the port number stays.
    virtual void close() = 0;
    // Opens the port at once; NoPortChosen while the port number is 0.
    virtual std::optional<LinkError> open() = 0;
    virtual bool isOpen() const = 0;
    virtual void setPortNumber(int number) = 0;
    virtual int portNumber() const = 0;
    // The device behind the port number, empty when the number has none.
    virtual QString device() const = 0;

    // Data-available notification with the number of received bytes waiting, delivered
    // through the event loop (never from inside send/readByte).
    std::function<void(quint16 count)> onDataAvailable;
    // The port closed by itself because the device went away (adapter unplugged, the
    // other end hung up); the reason in the system's words.
    std::function<void(const QString &reason)> onLost;
};

} // namespace kelpra
