#include "data_file.h"

#include "crc32.h"
#include "file_io.h"
#include "data/measurement_store.h"

#include <limits>
#include <vector>

namespace kelpra {

namespace {

const QByteArray kLineEnd("\r\n");
const QByteArray kDataEnd("dataend");
constexpr int kStationLineCount = 8;
const QByteArray kIntegrityTag("kelpra-integrity ");
constexpr char kIntegrityVersion[] = "1";
const QByteArray kSampleFlag("sample");
// A slot that a load filled, written whole: the 100-byte line buffer, then CR LF.
constexpr int kLineBuffer = 100;
constexpr int kWholeSlot = kLineBuffer + 2;

// The first line as a whole number: optional blanks around an optionally signed run of
// decimal digits that fits an int.
std::optional<int> parseInteger(const QByteArray &line)
{
    const QByteArray text = line.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text.at(i) == '+' || text.at(i) == '-')) {
        negative = text.at(i) == '-';
        ++i;
    }
    if (i >= text.size())
        return std::nullopt;
    long long value = 0;
    for (; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
        return std::nullopt;
    return static_cast<int>(value);
}

DataFileParse incomplete(const QString &why)
{
    DataFileParse parse;
    parse.error = QStringLiteral("Not a complete data file: ") + why;
    return parse;
}

DataFileParse loaded(const DataFile &file)
{
    DataFileParse parse;
    parse.file = file;
    return parse;
}

DataFileParse countDoesNotFit(int n)
{
    return incomplete(QStringLiteral("the file says it holds %1 records, but its lines do not form them.").arg(n));
}

QString named(const QString &fileName)
{
    return fileName.isEmpty() ? QStringLiteral("The file") : fileName;
}

// The lines from `from` on, split at every CR LF. A last piece without CR LF is a line too,
// so a file whose last line end was lost still gives all its lines.
QList<QByteArray> crLfLines(const QByteArray &bytes, qsizetype from)
{
    QList<QByteArray> lines;
    qsizetype pos = from;
    while (pos < bytes.size()) {
        const qsizetype end = bytes.indexOf(kLineEnd, pos);
        if (end < 0) {
            lines.append(bytes.mid(pos));
            break;
        }
        lines.append(bytes.mid(pos, end - pos));
        pos = end + 2;
    }
    return lines;
}

QByteArray joinLines(const QList<QByteArray> &lines, qsizetype first, qsizetype last)
{
    QByteArray out;
    for (qsizetype i = first; i <= last; ++i) {
        if (i > first)
            out += kLineEnd;
        out += lines[i];
    }
    return out;
}

// Splits the record lines of a full set into `n` records when the CR LF pairs outnumber
// them, some records holding 13, 10 among their bytes. Each record is the shortest run of
// whole lines (their CR LF pairs included) of at least kRecordLength bytes after which the
// rest can still form the remaining records; an empty line stands for an empty record only
// where no such run fits, and as the last record only when `emptyLast` allows it (the
// writers never end a set with an empty slot).
std::optional<QList<QByteArray>> splitByLength(const QList<QByteArray> &lines, int n, bool emptyLast)
{
    const qsizetype k = lines.size();
    // start[i]: where line i begins within the lines joined by CR LF. The run of lines i..j
    // is start[j + 1] - start[i] - 2 bytes long.
    std::vector<qsizetype> start(static_cast<size_t>(k + 1), 0);
    for (qsizetype i = 0; i < k; ++i)
        start[static_cast<size_t>(i + 1)] = start[static_cast<size_t>(i)] + lines[i].size() + 2;
    // firstEnd[i]: the last line of the shortest long-enough run from line i; k when none.
    std::vector<qsizetype> firstEnd(static_cast<size_t>(k), k);
    qsizetype j = 0;
    for (qsizetype i = 0; i < k; ++i) {
        j = qMax(j, i);
        while (j < k && start[static_cast<size_t>(j + 1)] - start[static_cast<size_t>(i)] - 2 < kRecordLength)
            ++j;
        firstEnd[static_cast<size_t>(i)] = j;
    }

    // can[m][t]: lines t.. form m records; later[m][t]: can[m][u] for some u >= t.
    const auto width = static_cast<size_t>(k + 2);
    std::vector<std::vector<char>> can(static_cast<size_t>(n + 1), std::vector<char>(width, 0));
    std::vector<std::vector<char>> later(static_cast<size_t>(n + 1), std::vector<char>(width, 0));
    can[0][static_cast<size_t>(k)] = 1;
    later[0][static_cast<size_t>(k)] = 1;
    for (qsizetype t = k - 1; t >= 0; --t)
        later[0][static_cast<size_t>(t)] = 1;
    const auto emptyAllowed = [&](int remaining) { return remaining > 1 || emptyLast; };
    for (int m = 1; m <= n; ++m) {
        auto &row = can[static_cast<size_t>(m)];
        const auto &prevCan = can[static_cast<size_t>(m - 1)];
        const auto &prevLater = later[static_cast<size_t>(m - 1)];
        for (qsizetype t = k - 1; t >= 0; --t) {
            const qsizetype end = firstEnd[static_cast<size_t>(t)];
            bool ok = end < k && prevLater[static_cast<size_t>(end + 1)];
            if (!ok && lines[t].isEmpty() && emptyAllowed(m))
                ok = prevCan[static_cast<size_t>(t + 1)];
            row[static_cast<size_t>(t)] = ok;
        }
        auto &rowLater = later[static_cast<size_t>(m)];
        for (qsizetype t = k; t >= 0; --t)
            rowLater[static_cast<size_t>(t)] = row[static_cast<size_t>(t)] || rowLater[static_cast<size_t>(t + 1)];
    }
    if (!can[static_cast<size_t>(n)][0])
        return std::nullopt;

    QList<QByteArray> records;
    qsizetype t = 0;
    for (int m = n; m >= 1; --m) {
        const auto &prevCan = can[static_cast<size_t>(m - 1)];
        qsizetype last = -1;
        for (qsizetype end = firstEnd[static_cast<size_t>(t)]; end < k; ++end) {
            if (prevCan[static_cast<size_t>(end + 1)]) {
                last = end;
                break;
            }
        }
        if (last < 0) {
            records.append(QByteArray());
            ++t;
        } else {
            records.append(joinLines(lines, t, last));
            t = last + 1;
        }
    }
    return records;
}

std::optional<QList<QByteArray>> splitRecords(const QList<QByteArray> &lines, int n)
{
    // Every file written so far whose records hold no 13, 10 (or had them cut off).
    if (lines.size() == n)
        return lines;
    if (lines.size() < n)
        return std::nullopt;
    if (auto records = splitByLength(lines, n, false))
        return records;
    return splitByLength(lines, n, true);
}

// The records region of a full set written by a program that saved the slots a load had
// filled whole: every slot is the 100-byte line buffer (the record, its CR LF, then what an
// earlier line left there) followed by CR LF. Nothing when the region has another shape.
std::optional<QList<QByteArray>> slotsWrittenWhole(const QList<QByteArray> &lines, int n)
{
    if (n < 1)
        return std::nullopt;
    QByteArray region;
    for (const QByteArray &line : lines)
        region += line + kLineEnd;
    if (region.size() != qsizetype(n) * kWholeSlot)
        return std::nullopt;
    QList<QByteArray> records;
    for (int i = 0; i < n; ++i) {
        const QByteArray piece = region.mid(qsizetype(i) * kWholeSlot, kWholeSlot);
        const qsizetype end = piece.indexOf(kLineEnd);
        if (!piece.endsWith(kLineEnd) || end < kRecordLength || end + 2 > kLineBuffer)
            return std::nullopt;
        records.append(piece.left(end));
    }
    return records;
}

// True when a record of the split was joined from two or more lines that are each a whole
// record long: the count does not fit the lines (a count changed from 16 to 6 glues records
// 7 to 16 onto record 6). One long line with a short rest is a record holding 13, 10 after
// its 64th byte, which files written before the integrity line may hold, and reads as it was.
bool joinsWholeRecords(const QList<QByteArray> &lines, const QList<QByteArray> &records)
{
    qsizetype t = 0;
    for (const QByteArray &record : records) {
        const qsizetype spans = record.count(kLineEnd) + 1;
        int whole = 0;
        for (qsizetype i = t; i < t + spans; ++i)
            whole += lines[i].size() >= kRecordLength;
        if (spans > 1 && whole > 1)
            return true;
        t += spans;
    }
    return false;
}

DataFileParse parseFullSet(const QList<QByteArray> &lines)
{
    struct Layout {
        int stationLines;
        bool old;
    };
    bool sawDataEnd = false;
    for (const Layout layout : {Layout{kStationLineCount, false}, Layout{kStationLineCount - 1, true}}) {
        const qsizetype dataEndAt = lines.size() - layout.stationLines - 2;
        if (dataEndAt < 0 || lines[dataEndAt] != kDataEnd)
            continue;
        sawDataEnd = true;
        const std::optional<int> count = parseInteger(lines[dataEndAt + 1]);
        if (!count || *count < 0 || *count > MeasurementStore::kRecordSlots)
            continue;
        const QList<QByteArray> recordLines = lines.mid(0, dataEndAt);
        std::optional<QList<QByteArray>> records = slotsWrittenWhole(recordLines, *count);
        if (!records) {
            records = splitRecords(recordLines, *count);
            if (!records) {
                if (recordLines.size() < *count)
                    return incomplete(QStringLiteral("it announces %1 records, but only %2 lines come before \"dataend\"")
                                          .arg(*count)
                                          .arg(recordLines.size()));
                return incomplete(
                    QStringLiteral("its %1 lines before \"dataend\" cannot be read as the %2 records it announces")
                        .arg(recordLines.size())
                        .arg(*count));
            }
            if (joinsWholeRecords(recordLines, *records))
                return countDoesNotFit(*count);
        }
        DataFile file;
        file.kind = DataFileKind::FullSet;
        file.records = *records;
        file.oldLayout = layout.old;
        const int skip = kStationLineCount - layout.stationLines; // RadioType, never written
        for (int i = 0; i < layout.stationLines; ++i)
            file.station[static_cast<size_t>(skip + i)] = lines[dataEndAt + 2 + i];
        return loaded(file);
    }
    if (sawDataEnd)
        return incomplete(QStringLiteral("the line after \"dataend\" is not a record count from 0 to 16"));
    if (lines.contains(kDataEnd))
        return incomplete(QStringLiteral("\"dataend\" is not followed by the record count and the station lines"));
    return incomplete(QStringLiteral("it has no \"dataend\" line after its records"));
}

DataFileParse parseSingleRecord(const QList<QByteArray> &lines)
{
    if (lines.size() < 1 + kStationLineCount)
        return incomplete(QStringLiteral("after its first line it must hold a record and eight station lines, "
                                         "but it holds %1 lines")
                              .arg(lines.size()));
    const qsizetype stationAt = lines.size() - kStationLineCount;
    // A full set whose first line became "0" would come out as one record.
    if (lines.mid(0, stationAt).contains(kDataEnd))
        return countDoesNotFit(1);
    DataFile file;
    file.kind = DataFileKind::SingleRecord;
    file.records.append(joinLines(lines, 0, stationAt - 1));
    for (int i = 0; i < kStationLineCount; ++i)
        file.station[static_cast<size_t>(i)] = lines[stationAt + i];
    return loaded(file);
}

// ---- The integrity line ----

// A decimal number of digits only, at most `max`.
std::optional<qint64> decimal(const QByteArray &text, qint64 max)
{
    if (text.isEmpty() || text.size() > 10)
        return std::nullopt;
    qint64 value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value > max)
        return std::nullopt;
    return value;
}

struct IntegrityLine {
    qsizetype start = 0;   // where the line begins in the file
    QByteArray signedText; // the text the checksum covers: up to the space before it
    bool sample = false;
    QList<qsizetype> lengths;
    quint32 crc = 0;
};

struct LastLine {
    enum What { None, Line, Damaged, Newer } what = None;
    IntegrityLine line;
    QByteArray version; // Newer: the version it names
};

// The file's last non-empty line, whatever its line end, read as an integrity line.
LastLine lastLine(const QByteArray &bytes)
{
    LastLine last;
    qsizetype end = bytes.size();
    while (end > 0 && (bytes.at(end - 1) == '\r' || bytes.at(end - 1) == '\n'))
        --end;
    const qsizetype start = end > 0 ? bytes.lastIndexOf('\n', end - 1) + 1 : 0;
    const QByteArray text = bytes.mid(start, end - start);
    if (!text.startsWith(kIntegrityTag)) {
        // A line cut off early, down to "kelpra".
        if (text.size() >= 6 && kIntegrityTag.startsWith(text))
            last.what = LastLine::Damaged;
        return last;
    }
    last.what = LastLine::Damaged;
    const QList<QByteArray> fields = text.split(' ');
    // A newer version may lay out the rest differently.
    if (fields.size() >= 2 && decimal(fields[1], std::numeric_limits<qint64>::max()) && fields[1] != kIntegrityVersion) {
        last.what = LastLine::Newer;
        last.version = fields[1];
        return last;
    }
    if (fields.size() != 6 || fields[1] != kIntegrityVersion)
        return last;
    if (fields[2] != "-" && fields[2] != kSampleFlag)
        return last;
    const std::optional<qint64> n = decimal(fields[3], MeasurementStore::kRecordSlots);
    if (!n)
        return last;
    const QList<QByteArray> lengths = *n == 0 ? QList<QByteArray>() : fields[4].split(',');
    if (lengths.size() != *n || (*n == 0 && !fields[4].isEmpty()))
        return last;
    const QByteArray &crc = fields[5];
    if (crc.size() != 8)
        return last;
    for (const char c : crc) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return last;
    }
    for (const QByteArray &length : lengths) {
        const std::optional<qint64> l = decimal(length, kMaxDataFileBytes);
        if (!l)
            return last;
        last.line.lengths.append(*l);
    }
    last.what = LastLine::Line;
    last.line.start = start;
    last.line.signedText = text.left(text.size() - crc.size());
    last.line.sample = fields[2] == kSampleFlag;
    last.line.crc = crc.toUInt(nullptr, 16);
    return last;
}

// The part of a file before its integrity line, read by the lengths the line names.
struct LengthReading {
    enum Fit { Fits, RecordsDoNotFit, StationBlock } fit = RecordsDoNotFit;
    QByteArray original; // the bytes as the writer wrote them, under this reading
    DataFile file;
    qsizetype stationLines = 0;
};

// Walks `region` (the file before its integrity line): the first line, each record of its
// length followed by CR LF, then "dataend" and the count line of a full set and the eight
// station lines, every line ended by CR LF. With `pairsAsLf`, a 13, 10 inside a record is
// read as the 10 it was before a conversion made it CR LF.
LengthReading readByLengths(const QByteArray &region, const IntegrityLine &line, DataFileKind kind, bool pairsAsLf)
{
    LengthReading reading;
    // The first line, as the kind was told from it: up to its first LF, which ends CR LF.
    qsizetype pos = region.indexOf('\n');
    if (pos < 1 || region.at(pos - 1) != '\r')
        return reading;
    pos += 1;
    reading.original = region.left(pos);
    DataFile &file = reading.file;
    file.kind = kind;
    file.sample = line.sample;
    for (const qsizetype length : line.lengths) {
        QByteArray record;
        if (!pairsAsLf) {
            if (length > region.size() - pos)
                return reading;
            record = region.mid(pos, length);
            pos += length;
        } else {
            record.reserve(length);
            while (record.size() < length && pos < region.size()) {
                const bool pair = region.at(pos) == '\r' && pos + 1 < region.size() && region.at(pos + 1) == '\n';
                record.append(pair ? '\n' : region.at(pos));
                pos += pair ? 2 : 1;
            }
            if (record.size() < length)
                return reading;
        }
        if (region.mid(pos, 2) != kLineEnd)
            return reading;
        pos += 2;
        reading.original += record + kLineEnd;
        file.records.append(record);
    }
    const QByteArray rest = region.mid(pos);
    reading.original += rest;
    if (!rest.isEmpty() && !rest.endsWith(kLineEnd))
        return reading;
    QList<QByteArray> lines = crLfLines(rest, 0);
    if (kind == DataFileKind::FullSet) {
        // The records region ends where "dataend" begins.
        if (lines.isEmpty() || lines.front() != kDataEnd)
            return reading;
        lines = lines.mid(qMin<qsizetype>(2, lines.size()));
    }
    reading.stationLines = lines.size();
    if (lines.size() != kStationLineCount) {
        reading.fit = LengthReading::StationBlock;
        return reading;
    }
    for (int i = 0; i < kStationLineCount; ++i)
        file.station[static_cast<size_t>(i)] = lines[i];
    reading.fit = LengthReading::Fits;
    return reading;
}

// Every LF read as the CR LF it was before a conversion made it LF. A CR LF found in the
// converted file was CR, CR LF: a record ending in 13 before its line end.
QByteArray everyLfAsCrLf(const QByteArray &bytes)
{
    QByteArray out;
    out.reserve(bytes.size() + bytes.count('\n'));
    for (const char c : bytes) {
        if (c == '\n')
            out.append('\r');
        out.append(c);
    }
    return out;
}

DataFileParse integrityDamaged()
{
    return incomplete(QStringLiteral("its integrity line is damaged."));
}

DataFileParse parseWithIntegrity(const QByteArray &bytes, const IntegrityLine &line, DataFileKind kind,
                                 const DataFileReading &options)
{
    if (kind == DataFileKind::SingleRecord && line.lengths.size() != 1)
        return integrityDamaged();
    const QByteArray region = bytes.left(line.start);
    const auto checksum = [&line](const QByteArray &original) {
        return crc32(line.signedText, crc32(original)) == line.crc;
    };

    DataFileParse parse;
    // As written; the checksum alone says whether anything changed.
    LengthReading reading = readByLengths(region, line, kind, false);
    if (checksum(region)) {
        if (reading.fit == LengthReading::StationBlock)
            return incomplete(QStringLiteral("its station block holds %1 lines instead of eight.").arg(reading.stationLines));
        if (reading.fit != LengthReading::Fits)
            return integrityDamaged();
        parse.file = reading.file;
        parse.integrity = FileIntegrity::Verified;
        return parse;
    }
    std::optional<LengthReading> firstFit;
    if (reading.fit == LengthReading::Fits)
        firstFit = reading;
    // The conversions of a text-mode transfer, undone in turn.
    for (const LineEndRepair repair : {LineEndRepair::LfToCrLf, LineEndRepair::CrLfToLf}) {
        reading = repair == LineEndRepair::LfToCrLf ? readByLengths(region, line, kind, true)
                                                    : readByLengths(everyLfAsCrLf(region), line, kind, false);
        if (reading.fit != LengthReading::Fits)
            continue;
        if (checksum(reading.original)) {
            parse.file = reading.file;
            parse.integrity = FileIntegrity::Repaired;
            parse.repair = repair;
            parse.note = repairedFileNote(named(options.fileName));
            return parse;
        }
        if (!firstFit)
            firstFit = reading;
    }
    if (!firstFit)
        return integrityDamaged();
    parse.integrity = FileIntegrity::Changed;
    if (!options.acceptChanged) {
        parse.error = changedFileWarning(named(options.fileName));
        parse.errorNamesFile = true;
        return parse;
    }
    parse.file = firstFit->file;
    parse.note = changedFileWarning(named(options.fileName));
    return parse;
}

void appendLine(QByteArray &out, const QByteArray &line)
{
    out += line;
    out += kLineEnd;
}

} // namespace

QString repairedFileNote(const QString &fileName)
{
    return QStringLiteral("%1 had its line ends converted by another program; restored, the checksum matches.")
        .arg(fileName);
}

QString changedFileWarning(const QString &fileName)
{
    return QStringLiteral("%1 was changed after it was saved: records may not be what was measured.").arg(fileName);
}

QString changedFileQuestion(const QString &fileName)
{
    return changedFileWarning(fileName) + QStringLiteral(" Open it anyway?");
}

int DataFile::countedRecords() const
{
    int count = 0;
    for (const QByteArray &record : records) {
        const bool led255 = record.left(3).contains('\xff');
        if (!led255)
            ++count;
    }
    return count;
}

DataFileParse parseDataFile(const QByteArray &bytes, const DataFileReading &reading)
{
    // The kind is told by the first line alone, read as text up to its line end.
    const qsizetype firstEnd = bytes.indexOf('\n');
    const std::optional<int> first = parseInteger(firstEnd < 0 ? bytes : bytes.left(firstEnd));
    if (!first) {
        DataFileParse parse;
        parse.error = QStringLiteral("Invalid numeric input");
        return parse;
    }
    if (firstEnd < 0)
        return incomplete(QStringLiteral("it ends after its first line"));
    const DataFileKind kind = *first == 0 ? DataFileKind::SingleRecord : DataFileKind::FullSet;

    const LastLine last = lastLine(bytes);
    switch (last.what) {
    case LastLine::Line:
        return parseWithIntegrity(bytes, last.line, kind, reading);
    case LastLine::Damaged:
        return integrityDamaged();
    case LastLine::Newer: {
        DataFileParse parse;
        parse.error = QStringLiteral("%1 was written by a newer version of Kelpra (integrity version %2).")
                          .arg(named(reading.fileName), QString::fromLatin1(last.version));
        parse.errorNamesFile = true;
        return parse;
    }
    case LastLine::None:
        break;
    }

    // An older file, or one from another program.
    if (firstEnd == 0 || bytes.at(firstEnd - 1) != '\r')
        return incomplete(QStringLiteral("its lines end in LF alone instead of CR LF, as after a transfer in text mode"));
    const QList<QByteArray> lines = crLfLines(bytes, firstEnd + 1);
    return kind == DataFileKind::SingleRecord ? parseSingleRecord(lines) : parseFullSet(lines);
}

void applyDataFile(const DataFile &file, MeasurementStore &store)
{
    store.setSlot(0, QByteArray(kSavedDataIdentification));
    for (int slot = 1; slot <= MeasurementStore::kRecordSlots; ++slot)
        store.setSlot(slot, file.records.value(slot - 1));
    // A single record stands alone: nothing of an earlier set may be saved with it.
    store.setRecordCount(file.kind == DataFileKind::SingleRecord ? 1 : file.countedRecords());
    store.setDisplayIndex(1);
    // Last: writing a slot ends the sample mark.
    store.setFromSampleSet(file.sample);
}

int recordsToSave(const MeasurementStore &store)
{
    for (int slot = MeasurementStore::kRecordSlots; slot >= 1; --slot) {
        if (!store.slot(slot).isEmpty())
            return slot;
    }
    return 0;
}

BuiltDataFile buildDataFile(const DataFile &file)
{
    const bool single = file.kind == DataFileKind::SingleRecord;
    const QList<QByteArray> records = single ? QList<QByteArray>{file.records.value(0)} : file.records;
    BuiltDataFile built;
    QByteArray &out = built.bytes;
    appendLine(out, single ? "0" : "1");
    QList<QByteArray> lengths;
    for (const QByteArray &record : records) {
        appendLine(out, record);
        lengths << QByteArray::number(record.size());
    }
    if (!single) {
        appendLine(out, kDataEnd);
        appendLine(out, QByteArray::number(records.size()));
    }
    for (const QByteArray &line : file.station) {
        appendLine(out, line);
        // The lengths keep records whole; a station line has nothing of the kind.
        if (line.contains(kLineEnd) && built.warnings.isEmpty())
            built.warnings << QStringLiteral("A station field holds a line end (13, 10): the file will not load "
                                             "back as it was saved");
    }
    const QByteArray signedText = kIntegrityTag + kIntegrityVersion + ' ' + (file.sample ? kSampleFlag : QByteArray("-"))
                                  + ' ' + QByteArray::number(records.size()) + ' ' + lengths.join(',') + ' ';
    out += signedText + QByteArray::number(crc32(signedText, crc32(out)), 16).rightJustified(8, '0') + kLineEnd;
    return built;
}

BuiltDataFile buildSingleRecordFile(const QByteArray &record, const StationLines &station, bool sample)
{
    DataFile file;
    file.kind = DataFileKind::SingleRecord;
    file.records = {record};
    file.station = station;
    file.sample = sample;
    return buildDataFile(file);
}

BuiltDataFile buildFullSetFile(const MeasurementStore &store, const StationLines &station)
{
    DataFile file;
    file.kind = DataFileKind::FullSet;
    for (int slot = 1, n = recordsToSave(store); slot <= n; ++slot)
        file.records << store.slot(slot);
    file.station = station;
    file.sample = store.fromSampleSet();
    return buildDataFile(file);
}

} // namespace kelpra
