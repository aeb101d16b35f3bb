#pragma once

#include "data/wire.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace kelpra {

class MeasurementStore;

// The identification line a loaded data file puts into slot 0.
inline constexpr char kSavedDataIdentification[] = "GMDSS TESTER S/N (SAVED DATA) rev 2.5";

// The length of a record as the test set sends it. Record boundaries that the line ends
// of a file leave open are found by this length.
inline constexpr int kRecordLength = wire::kRecordLength;

// The eight station lines in data-file order (RadioType ... VTel), 8-bit text.
using StationLines = std::array<QByteArray, 8>;

enum class DataFileKind { SingleRecord, FullSet };

// What a data file holds, parsed but not yet applied.
struct DataFile {
    DataFileKind kind = DataFileKind::SingleRecord;
    // The records for slots 1, 2, ...: their bytes only, without line end or filler; an
    // empty record line gives an empty record. A single-record file holds exactly one, a
    // full set as many as its count line says (0 to 16).
    QList<QByteArray> records;
    StationLines station;
    // A full set with the eight-line station block of earlier versions: the count stood
    // where RadioType belongs, which was never written, so RadioType is empty.
    bool oldLayout = false;

    // Full set: the records whose first three bytes hold no 255; the empty padding
    // of a record that never came does not count.
    int countedRecords() const;
};

struct DataFileParse {
    std::optional<DataFile> file;
    QString error; // set when `file` is empty: the text of the error box
};

// Parses the bytes of a data file. A first line that is not an integer is refused with
// "Invalid numeric input"; a file that does not hold what its first line and layout
// promise (LF-only line ends, no "dataend", too few lines, a record count that its lines
// cannot give) with a text starting "Not a complete data file". A file is read whole or
// refused: no record is dropped, and no record byte lands in a station field.
//
// Record boundaries come from the file's structure. A single-record file is "0", the
// record, then eight station lines: the station block is the last eight lines and the
// record is everything between the first line and them. A full set is a nonzero integer,
// the records, "dataend", the record count N, then the station lines (eight, or seven in
// the old layout). Its record lines are split at every CR LF when that gives exactly N
// lines; otherwise each record is the shortest run of at least 64 bytes, up to a CR LF,
// that still lets the rest form the remaining records, and an empty record stands only
// where nothing else fits (never last, unless nothing else fits there either).
DataFileParse parseDataFile(const QByteArray &bytes);

// Puts a parsed file into the store as "Open data" does: slot 0 becomes the saved-data
// identification line and display_index 1. A single-record file fills slot 1, empties
// slots 2..16 and sets record_count to 1; a full set replaces slots 1..16 (those it does
// not supply become empty) and sets record_count by the counting rule.
void applyDataFile(const DataFile &file, MeasurementStore &store);

// The last non-empty record slot (0 when all are empty): "Save all data" writes slots
// 1..N, an empty slot among them as an empty line.
int recordsToSave(const MeasurementStore &store);

// A data file ready to be written, with what the user should be told about it.
struct BuiltDataFile {
    QByteArray bytes;
    // What the file will not give back unchanged when loaded: one text per record to blame,
    // or one for station lines holding a line end. Of what the test set sends, only a
    // record longer than 64 bytes holding the bytes 13, 10 after its 64th byte, in a set
    // with other records, can come to this; the file is written all the same.
    QStringList warnings;
};

// "Save data": "0", the record's bytes, the eight station lines.
BuiltDataFile buildSingleRecordFile(const QByteArray &record, const StationLines &station);

// "Save all data": "1", slots 1..N, "dataend", N, the eight station lines, where N is
// recordsToSave(store); the caller decides what to do when it is 0.
BuiltDataFile buildFullSetFile(const MeasurementStore &store, const StationLines &station);

} // namespace kelpra
