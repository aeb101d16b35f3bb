#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

namespace kelpra {

// What the download exchange needs of the serial port `ApdComPort1`. The real port sits on
// QSerialPort; tests put a simulated one in its place. Errors come back as their text.
class SerialLink {
public:
    virtual ~SerialLink() = default;

    // Hands the bytes to the line unchanged. A closed port is opened first; with port
    // number 0 the port picker asks for the port before that.
    virtual std::optional<QString> send(const QByteArray &bytes) = 0;
    // Takes the next received byte.
    virtual std::optional<QString> readByte(quint8 *out) = 0;
    // Closes the port if it is open; the port number stays.
    virtual void close() = 0;
    // Opens the port at once (picker first when the port number is 0).
    virtual std::optional<QString> open() = 0;
    virtual bool isOpen() const = 0;
    virtual void setPortNumber(int number) = 0;
    virtual int portNumber() const = 0;

    // Data-available notification with the number of received bytes waiting, delivered
    // through the event loop (never from inside send/readByte).
    std::function<void(quint16 count)> onDataAvailable;
};

} // namespace kelpra
