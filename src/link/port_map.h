#pragma once

#include "data/wire.h"

#include <QMap>
#include <QProcessEnvironment>
#include <QString>

#include <optional>

namespace kelpra {

// Port numbers 1..50 ("COM1".."COM50") on Linux devices.
//
// Fixed part, so that an adapter works without any configuration:
//   COM1..COM16  -> /dev/ttyUSB0..15   USB-serial adapters (FTDI, PL2303, CH340, CP210x);
//                                      a modern PC reaches the test set through one of these,
//                                      so the first adapter plugged in is COM1
//   COM17..COM24 -> /dev/ttyACM0..7    CDC-ACM USB devices
//   COM25..COM50 -> /dev/ttyS0..25     built-in (motherboard or PCI) ports; the kernel
//                                      creates ttyS0..3 even without hardware, so they come
//                                      last and drop out of the picker when they cannot open
//
// An environment variable KELPRA_COM<n> replaces the device of number n with any path
// (a pseudo-terminal, /dev/serial/by-id/..., another driver's name); set but empty, it
// takes number n away.
class PortMap {
public:
    static constexpr int kFirstPort = wire::kFirstPort;
    static constexpr int kLastPort = wire::kLastPort;

    // The fixed table and the overrides found in `environment`.
    static PortMap fromEnvironment(const QProcessEnvironment &environment
                                   = QProcessEnvironment::systemEnvironment());
    // Only the given numbers have a device (for tests that must not touch real ports).
    static PortMap overridesOnly(const QMap<int, QString> &devices);

    // The fixed device of a number, empty outside 1..50.
    static QString fixedDevice(int number);

    // The device of a number, empty when it has none.
    QString device(int number) const;

    void setOverride(int number, const QString &device) { overrides_[number] = device; }

    // "COM3", "com3", "3" -> 3 (1..50 only).
    static std::optional<int> parsePortName(const QString &text);
    // For command-line use: a port name or number, or a device path given directly
    // (anything beginning with '/'); nothing when it names no device.
    std::optional<QString> resolve(const QString &text) const;

private:
    bool useFixed_ = true;
    QMap<int, QString> overrides_;
};

// A row of the port picker: "COM3 — /dev/ttyUSB2", followed by what the system knows of
// the adapter, "— FT232R USB UART (FTDI, A50285BI)". The row always begins "COM<n>".
QString portPickerRow(int number, const QString &device, const QString &description = {},
                      const QString &manufacturer = {}, const QString &serialNumber = {});
// The number a picker row names: the digits after its first three characters ("COM").
std::optional<int> portNumberOfRow(const QString &row);

} // namespace kelpra
