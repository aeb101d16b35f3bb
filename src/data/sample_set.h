#pragma once

#include <QByteArray>

namespace kelpra {

// The built-in sample data set: the identification line and 16 records of 64 bytes each,
// as the test set delivers them.
QByteArray sampleIdentificationLine();
// Record `slot` (1..16) of the sample set; an empty array outside that range.
QByteArray sampleRecord(int slot);

} // namespace kelpra
