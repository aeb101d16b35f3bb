#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

namespace kelpra {

// Texts of the main window's fields, keyed by control name ("FSdigit", "RadioType", ...).
// Texts are 8-bit (Windows-1251), exactly as a report or data file writes them.
using FieldTexts = QMap<QString, QByteArray>;

// The eight typed-in station fields, in the order data files carry them.
inline const char *const kStationFields[8] = {"RadioType", "RadioSN", "RadioMan", "VesselName",
                                               "CompanyOwner", "VCategory", "VCompAdd", "VTel"};

// The four controller fields, in the order details.txt carries them.
inline const char *const kControllerFields[4] = {"CCompany", "CTel", "CAddress", "Engineer"};

} // namespace kelpra
