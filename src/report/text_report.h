#pragma once

#include "data/fields.h"

#include <QByteArray>

namespace kelpra {

// The "Save report" file: the test protocol of the record on display, built from the
// main window's field texts only. `distressShown` chooses the distress layout (35 lines)
// over the call layout (37 lines). Every line ends in CR LF; field texts are copied byte
// for byte, neither padded nor cut. Fields missing from `fields` count as empty.
QByteArray textReport(const FieldTexts &fields, bool distressShown);

} // namespace kelpra
