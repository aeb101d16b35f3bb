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

// The four lines, each ended by CR LF.
QByteArray buildDetailsFile(const ControllerLines &lines);

} // namespace kelpra
