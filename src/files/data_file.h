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
    // full set as many as its count line (or its integrity line) says (0 to 16).
    QList<QByteArray> records;
    StationLines station;
    // A full set with the eight-line station block of earlier versions: the count stood
    // where RadioType belongs, which was never written, so RadioType is empty.
    bool oldLayout = false;
    // The records are the built-in sample set (said by the integrity line's flags).
    bool sample = false;

    // Full set: the records whose first three bytes hold no 255; the empty padding
    // of a record that never came does not count.
    int countedRecords() const;
};

// What the integrity line, the last line of every file this program writes, says of the
// file: it carries each record's length and a checksum of everything before it.
enum class FileIntegrity {
    Absent,   // no integrity line: an older file, or one from another program
    Verified, // the checksum matches
    Repaired, // another program had converted its line ends; undone, the checksum matches
    Changed,  // the checksum differs and no repair makes it match
};

// The line-end conversions a repair undoes.
enum class LineEndRepair {
    None,
    LfToCrLf, // every lone LF had become CR LF (unix2dos, an FTP text transfer to Windows)
    CrLfToLf, // every CR LF had become LF (dos2unix, an FTP text transfer to Unix)
};

struct DataFileReading {
    // The name the texts give the file (FILE in the texts below); empty: "The file".
    QString fileName;
    // Read a changed file as its integrity line's lengths cut its records, instead of
    // refusing it.
    bool acceptChanged = false;
};

struct DataFileParse {
    std::optional<DataFile> file;
    QString error; // set when `file` is empty: the text of the error box
    // The error text names the file itself (a newer version, a changed file), so it needs
    // no file name before it.
    bool errorNamesFile = false;
    FileIntegrity integrity = FileIntegrity::Absent;
    LineEndRepair repair = LineEndRepair::None; // what was undone when Repaired
    // What the user should be told about a file that loads: repairedFileNote() when
    // Repaired, changedFileWarning() when Changed and accepted; empty otherwise.
    QString note;
};

// "FILE had its line ends converted by another program; restored, the checksum matches."
QString repairedFileNote(const QString &fileName);
// "FILE was changed after it was saved: records may not be what was measured."
QString changedFileWarning(const QString &fileName);
// The window's question before it opens a changed file (default answer: No):
// "FILE was changed after it was saved: records may not be what was measured. Open it anyway?"
QString changedFileQuestion(const QString &fileName);
// The file note while records of a changed file are held.
inline constexpr char kChangedFileNote[] = "changed file";

// Parses the bytes of a data file; pure: bytes in, result out. A first line that is not an
// integer is refused with "Invalid numeric input"; a file that does not hold what its
// first line and layout promise with a text starting "Not a complete data file". A file is
// read whole or refused: no record is dropped, and no record byte lands in a station field.
//
// A file whose last non-empty line is an integrity line
// ("kelpra-integrity 1 FLAGS N L1,...,LN CRC") is split by the lengths it names, so records
// holding 13, 10 come back exactly, and its checksum is checked. When the checksum differs,
// the two line-end conversions are undone in turn and the one under which checksum and
// lengths match is kept (Repaired); otherwise the file is Changed: refused with
// changedFileWarning() unless `reading.acceptChanged`, when its records are read as the
// lengths cut them. An integrity line that cannot be read, or whose lengths do not fill the
// records, refuses the file: "Not a complete data file: its integrity line is damaged.";
// another version: "FILE was written by a newer version of Kelpra (integrity version V)."
//
// Without the line (older files), record boundaries come from the file's structure. A
// single-record file is "0", the record, then eight station lines: the station block is
// the last eight lines and the record is everything between the first line and them,
// unless that holds a "dataend" line. A full set is a nonzero integer, the records,
// "dataend", the record count N, then the station lines (eight, or seven in the old
// layout). Its records region is read as N slots written whole when it is N pieces of
// 102 bytes, each ending in CR LF and holding its first CR LF after its 64th byte and
// within its first 100; otherwise its record lines are split at every CR LF when that
// gives exactly N lines, or else each record is the shortest run of at least 64 bytes, up
// to a CR LF, that still lets the rest form the remaining records, and an empty record
// stands only where nothing else fits (never last, unless nothing else fits there either).
// A count that would join a line of 64 bytes or more to the next one is refused.
DataFileParse parseDataFile(const QByteArray &bytes, const DataFileReading &reading = {});

// Puts a parsed file into the store as "Open data" does: slot 0 becomes the saved-data
// identification line and display_index 1. A single-record file fills slot 1, empties
// slots 2..16 and sets record_count to 1; a full set replaces slots 1..16 (those it does
// not supply become empty) and sets record_count by the counting rule. The store is marked
// as holding the sample set exactly when the file says so.
void applyDataFile(const DataFile &file, MeasurementStore &store);

// The last non-empty record slot (0 when all are empty): "Save all data" writes slots
// 1..N, an empty slot among them as an empty line.
int recordsToSave(const MeasurementStore &store);

// A data file ready to be written, with what the user should be told about it.
struct BuiltDataFile {
    QByteArray bytes;
    // What the file will not give back unchanged when loaded: a station field holding a
    // line end (13, 10). Records always come back exactly. The file is written all the same.
    QStringList warnings;
};

// Every data file this program writes: the first line ("0" for a single record, "1" for a
// full set), one line per record, for a full set "dataend" and the record count, the eight
// station lines, and the integrity line, each line ended by CR LF. `file.oldLayout` is
// ignored: files are always written in the current layout.
BuiltDataFile buildDataFile(const DataFile &file);

// "Save data": the record on display, marked as sample data when `sample`.
BuiltDataFile buildSingleRecordFile(const QByteArray &record, const StationLines &station, bool sample);

// "Save all data": slots 1..N, where N is recordsToSave(store), marked as sample data while
// the store holds the sample set; the caller decides what to do when N is 0.
BuiltDataFile buildFullSetFile(const MeasurementStore &store, const StationLines &station);

} // namespace kelpra
