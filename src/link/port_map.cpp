#include "port_map.h"

#include <QStringList>

namespace kelpra {

PortMap PortMap::fromEnvironment(const QProcessEnvironment &environment)
{
    PortMap map;
    for (int n = kFirstPort; n <= kLastPort; ++n) {
        const QString name = QStringLiteral("KELPRA_COM%1").arg(n);
        if (environment.contains(name))
            map.overrides_[n] = environment.value(name);
    }
    return map;
}

PortMap PortMap::overridesOnly(const QMap<int, QString> &devices)
{
    PortMap map;
    map.useFixed_ = false;
    map.overrides_ = devices;
    return map;
}

QString PortMap::fixedDevice(int number)
{
    if (number >= 1 && number <= 16)
        return QStringLiteral("/dev/ttyUSB%1").arg(number - 1);
    if (number >= 17 && number <= 24)
        return QStringLiteral("/dev/ttyACM%1").arg(number - 17);
    if (number >= 25 && number <= kLastPort)
        return QStringLiteral("/dev/ttyS%1").arg(number - 25);
    return {};
}

QString PortMap::device(int number) const
{
    if (number < kFirstPort || number > kLastPort)
        return {};
    const auto it = overrides_.constFind(number);
    if (it != overrides_.constEnd())
        return it.value();
    return useFixed_ ? fixedDevice(number) : QString();
}

std::optional<int> PortMap::parsePortName(const QString &text)
{
    QString digits = text.trimmed();
    if (digits.startsWith(QLatin1String("COM"), Qt::CaseInsensitive))
        digits = digits.mid(3);
    bool ok = false;
    const int n = digits.toInt(&ok);
    if (!ok || digits.isEmpty() || !digits.at(0).isDigit() || n < kFirstPort || n > kLastPort)
        return std::nullopt;
    return n;
}

std::optional<QString> PortMap::resolve(const QString &text) const
{
    const QString t = text.trimmed();
    if (t.startsWith(QLatin1Char('/')))
        return t;
    const auto n = parsePortName(t);
    if (!n)
        return std::nullopt;
    const QString dev = device(*n);
    if (dev.isEmpty())
        return std::nullopt;
    return dev;
}

QString portPickerRow(int number, const QString &device, const QString &description, const QString &manufacturer,
                      const QString &serialNumber)
{
    const QString dash = QStringLiteral(" \u2014 ");
    QString row = wire::portName(number);
    if (!device.isEmpty())
        row += dash + device;
    QStringList maker;
    for (const QString &part : {manufacturer.trimmed(), serialNumber.trimmed()})
        if (!part.isEmpty())
            maker.append(part);
    const QString what = description.trimmed();
    if (!what.isEmpty())
        row += dash + what + (maker.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(maker.join(QStringLiteral(", "))));
    else if (!maker.isEmpty())
        row += dash + maker.join(QStringLiteral(", "));
    return row;
}

std::optional<int> portNumberOfRow(const QString &row)
{
    int end = 3;
    while (end < row.size() && row.at(end).isDigit())
        ++end;
    bool ok = false;
    const int n = row.mid(3, end - 3).toInt(&ok);
    if (!ok)
        return std::nullopt;
    return n;
}

} // namespace kelpra
