#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace kelpra {

class MeasurementStore;

// The identification line a loaded data file puts into slot 0.
inline constexpr char kSavedDataIdentification[] = "GMDSS TESTER S/N (SAVED DATA) rev 2.5";

// A loaded record occupies at least this many bytes in its slot: the record line, its
// CR LF, then zero bytes.
inline constexpr int kLineBufferSize = 100;

// The eight station lines in data-file order (RadioType ... VTel), 8-bit text.
using StationLines = std::array<QByteArray, 8>;

enum class DataFileKind { SingleRecord, FullSet };

// What a data file holds, parsed but not yet applied.
struct DataFile {
    DataFileKind kind = DataFileKind::SingleRecord;
    // Slot contents for slots 1, 2, ... as the file supplies them (one at most for a
    // single-record file, up to 16 for a full set), each in line-buffer form.
    QList<QByteArray> records;
    StationLines station;

    // Full set: the records whose first three bytes hold no 255; the empty padding
    // of a record that never came does not count.
    int countedRecords() const;
};

struct DataFileParse {
    std::optional<DataFile> file;
    QString error; // set when `file` is empty: the general error handler's text
};

// Parses the bytes of a data file. Fails only when the first line is not an integer
// ("Invalid numeric input"); a file that ends early yields what it holds.
DataFileParse parseDataFile(const QByteArray &bytes);

// The slot content for a record line read from a file: the line, CR LF, then zero bytes
// up to kLineBufferSize. A longer line is kept whole.
QByteArray lineBufferSlot(const QByteArray &recordLine);

// The record line a slot is saved as: its bytes up to the first CR LF pair. A slot filled
// by a load thus saves back as the line it came from; a downloaded record is written whole.
QByteArray recordLineOf(const QByteArray &slot);

// Puts a parsed file into the store as "Open data" does: slot 0 becomes the saved-data
// identification line and display_index 1. A single-record file replaces slot 1 only and
// keeps record_count; a full set replaces slots 1..16 (those it does not supply become
// empty) and sets record_count by the counting rule.
void applyDataFile(const DataFile &file, MeasurementStore &store);

// The number of non-empty record slots, which "Save all data" writes as slots 1..N.
int recordsToSave(const MeasurementStore &store);

// "Save data": "0", the record line of `slot`, the eight station lines.
QByteArray buildSingleRecordFile(const QByteArray &slot, const StationLines &station);

// "Save all data": "1", record lines of slots 1..N, "dataend", N, the eight station lines.
// N is recordsToSave(store); the caller decides what to do when it is 0.
QByteArray buildFullSetFile(const MeasurementStore &store, const StationLines &station);

} // namespace kelpra
