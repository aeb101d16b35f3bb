#pragma once

#include "data/fields.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Decoding of one raw record into the texts of the main window's fields, without any
// window: the window shows the result and the message; a command-line tool prints them.
namespace kelpra {

// The message shown when the two format specifier symbols differ.
inline const char *const kFormatSpecifierError = "Error in format specifier.";

// The message shown instead of decoding an empty slot.
QString emptyRecordMessage(int slot);

struct DecodedRecord {
    enum class Kind {
        Empty,      // the slot holds no byte: nothing to show
        Call,       // every record whose format specifier is not 112
        Distress,   // format specifier 112: shown on the distress panel
    };
    Kind kind = Kind::Empty;
    // Date, MNO, Frequency and RSSI. Every header field is present; a field whose bytes the
    // record does not reach is empty.
    FieldTexts header;
    // The call rows' fields and ECCCheck, or the distress rows' fields and ECCCDheck; every
    // one present, empty where the record is too short to hold it.
    FieldTexts rows;
    // S[39] differs from S[40]: "Error in format specifier." is shown after the format
    // specifier row has been written.
    bool formatMismatch = false;

    bool distress() const { return kind == Kind::Distress; }
    bool empty() const { return kind == Kind::Empty; }
    // Header and rows together.
    FieldTexts fields() const;
    // The messages to show, in order.
    QStringList messages() const;
};

// Decodes a record. Only position 39 decides between a call and a distress alert. A record
// shorter than 64 bytes fills only the fields whose positions it holds (one shorter than
// 39 bytes counts as a call: its kind is unknown); nothing is read out of bounds.
DecodedRecord decodeRecord(const QByteArray &record, const QString &decimalSeparator = QStringLiteral("."));

// The value of the byte at `position` (counted from 1) of a record, 0 to 255; 0 for a
// position the record does not reach.
int recordByte(const QByteArray &record, int position);

} // namespace kelpra
