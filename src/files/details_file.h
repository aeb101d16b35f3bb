#pragma once

#include <QByteArray>
#include <QString>

#include <array>

namespace kelpra {

// The controller lines CCompany, CTel, CAddress, Engineer, 8-bit text.
using ControllerLines = std::array<QByteArray, 4>;

// Where details.txt lives: the current directory at the moment of the call.
QString detailsFilePath();

// Four lines in order; lines the file does not have are empty, further lines are ignored.
ControllerLines parseDetailsFile(const QByteArray &bytes);

struct DetailsLoad {
    ControllerLines lines;
    // An error while reading a file that opened; the lines read up to it are kept.
    QString error;
};

// Reads details.txt at start-up. A file that is missing or cannot be opened is passed over
// in silence, and so is one that is not a regular file (a folder, a FIFO, a device), which
// is never opened. Only the first MiB is read: four lines are all it holds.
DetailsLoad loadDetailsFile(const QString &path);

// The four lines, each ended by CR LF.
QByteArray buildDetailsFile(const ControllerLines &lines);

} // namespace kelpra
