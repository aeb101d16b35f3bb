#pragma once

#include "data/field_texts.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Decoding of one raw record into the texts that the main window's
// `showRecord` and `showDistress` write, without any window: the window replays the
// writes and shows the message; a command-line tool prints them.
namespace kelpra {

// One field write: the control's name and the 8-bit text it is set to.
struct FieldWrite {
    QString name;
    QByteArray text;

    bool operator==(const FieldWrite &other) const { return name == other.name && text == other.text; }
};

// The message shown when the two format specifier symbols differ.
inline const char *const kFormatSpecifierError = "Error in format specifier.";

struct RecordDecoding {
    // Every field write in the order the decoders perform it: the header (`Date`, `MNO`,
    // `Frequency`, `RSSI`), then either the call fields or, for a distress alert, the
    // distress fields (the emptying by `clearDistressFields` included). A field may be
    // written twice (`ECCCheck`, `ECCCDheck` are emptied, then given the verdict).
    QList<FieldWrite> writes;
    // S[39] is 112: the `Distress` panel is shown and the distress fields are written.
    bool distress = false;
    // S[39] differs from S[40]: "Error in format specifier." is shown.
    bool formatMismatch = false;
    // The number of writes done before that message shows (after `FSdigit`/`FSMeaning`, or
    // `FSDdigit`/`FSDmeaning` for a distress alert); -1 when no message is shown.
    int messageAfter = -1;
    // The number of header writes at the start of `writes`; the panel is shown or hidden
    // after them.
    int headerWrites = 0;
    // The message texts, in the order they are shown.
    QStringList messages;

    // Each written field's last text, keyed by control name.
    FieldTexts fields() const;
};

// Decodes the record as `showRecord` does, handing a distress alert on as
// `showDistress` does. Positions missing from a record shorter than 64 bytes read
// as 0, as if it were padded with zero bytes; nothing is ever read out of bounds.
RecordDecoding decodeRecord(const QByteArray &record,
                            const QString &decimalSeparator = QStringLiteral("."));

// What `showDistress` alone writes for a record: the emptying of the distress fields
// first, then the distress fields. `headerWrites` is 0.
RecordDecoding decodeDistress(const QByteArray &record);

// The fields that `clearCallFields` empties (23), in its order.
QStringList callFieldsToClear();
// The fields that `clearDistressFields` empties (15), in its order.
QStringList distressFieldsToClear();

// The value of the byte at `position` (counted from 1) of a record, 0 to 255; 0 for a
// position the record does not reach.
int recordByte(const QByteArray &record, int position);

} // namespace kelpra
