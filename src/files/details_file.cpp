#include "details_file.h"

#include "files/line_reader.h"

#include <QDir>

namespace kelpra {

QString detailsFilePath()
{
    return QDir::currentPath() + QStringLiteral("/details.txt");
}

ControllerLines parseDetailsFile(const QByteArray &bytes)
{
    LineReader reader(bytes);
    ControllerLines lines;
    for (QByteArray &line : lines)
        line = reader.readTextLine();
    return lines;
}

QByteArray buildDetailsFile(const ControllerLines &lines)
{
    QByteArray out;
    for (const QByteArray &line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

} // namespace kelpra
