#include "data_file.h"

#include "data/measurement_store.h"

#include <limits>
#include <vector>

namespace kelpra {

namespace {

const QByteArray kLineEnd("\r\n");
const QByteArray kDataEnd("dataend");
constexpr int kStationLineCount = 8;

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
    return {std::nullopt, QStringLiteral("Not a complete data file: ") + why};
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
        const std::optional<QList<QByteArray>> records = splitRecords(recordLines, *count);
        if (!records) {
            if (recordLines.size() < *count)
                return incomplete(QStringLiteral("it announces %1 records, but only %2 lines come before \"dataend\"")
                                      .arg(*count)
                                      .arg(recordLines.size()));
            return incomplete(QStringLiteral("its %1 lines before \"dataend\" cannot be read as the %2 records it announces")
                                  .arg(recordLines.size())
                                  .arg(*count));
        }
        DataFile file;
        file.kind = DataFileKind::FullSet;
        file.records = *records;
        file.oldLayout = layout.old;
        const int skip = kStationLineCount - layout.stationLines; // RadioType, never written
        for (int i = 0; i < layout.stationLines; ++i)
            file.station[static_cast<size_t>(skip + i)] = lines[dataEndAt + 2 + i];
        return {file, QString()};
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
    DataFile file;
    file.kind = DataFileKind::SingleRecord;
    const qsizetype stationAt = lines.size() - kStationLineCount;
    file.records.append(joinLines(lines, 0, stationAt - 1));
    for (int i = 0; i < kStationLineCount; ++i)
        file.station[static_cast<size_t>(i)] = lines[stationAt + i];
    return {file, QString()};
}

void appendLine(QByteArray &out, const QByteArray &line)
{
    out += line;
    out += kLineEnd;
}

void appendStation(QByteArray &out, const StationLines &station)
{
    for (const QByteArray &line : station)
        appendLine(out, line);
}

// Loads what was built and, when it would not come back as it went in, names the records
// that cause it (and the station block).
QStringList roundTripWarnings(const QByteArray &bytes, const QList<QByteArray> &records,
                              const StationLines &station, bool single)
{
    // A line end in a field moves every line after it; that alone is the cause then.
    for (const QByteArray &line : station) {
        if (line.contains(kLineEnd))
            return {QStringLiteral("A station field holds a line end (13, 10): the file will not load back as "
                                   "it was saved")};
    }
    QStringList warnings;
    const DataFileParse back = parseDataFile(bytes);
    const bool sameCount = back.file && back.file->records.size() == records.size();
    QList<qsizetype> changed;
    for (qsizetype i = 0; i < records.size(); ++i) {
        if (!sameCount || back.file->records[i] != records[i])
            changed << i;
    }
    if (!changed.isEmpty()) {
        // A record that takes a neighbour's bytes is not to blame; the one whose 13, 10 can
        // pass for its end is.
        QList<qsizetype> culprits;
        for (qsizetype i = 0; i < records.size(); ++i) {
            if (records[i].indexOf(kLineEnd, kRecordLength) >= 0)
                culprits << i;
        }
        for (const bool needPair : {true, false}) {
            if (!culprits.isEmpty())
                break;
            for (const qsizetype i : changed) {
                if (!needPair || records[i].contains(kLineEnd))
                    culprits << i;
            }
        }
        for (const qsizetype i : culprits) {
            const QString which = single ? QStringLiteral("The record") : QStringLiteral("Record %1").arg(i + 1);
            if (records[i].indexOf(kLineEnd, kRecordLength) >= 0)
                warnings << QStringLiteral("%1 is longer than 64 bytes and holds the bytes 13, 10 after its 64th "
                                           "byte: the data file will not give it back unchanged")
                                .arg(which);
            else
                warnings << QStringLiteral("%1 holds the bytes 13, 10 where the data file cannot tell them from a "
                                           "line end: it will not come back unchanged")
                                .arg(which);
        }
    }
    return warnings;
}

} // namespace

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

DataFileParse parseDataFile(const QByteArray &bytes)
{
    // The kind is told by the first line alone, read as text up to its line end.
    const qsizetype firstEnd = bytes.indexOf('\n');
    const std::optional<int> first = parseInteger(firstEnd < 0 ? bytes : bytes.left(firstEnd));
    if (!first)
        return {std::nullopt, QStringLiteral("Invalid numeric input")};
    if (firstEnd < 0)
        return incomplete(QStringLiteral("it ends after its first line"));
    if (firstEnd == 0 || bytes.at(firstEnd - 1) != '\r')
        return incomplete(QStringLiteral("its lines end in LF alone instead of CR LF, as after a transfer in text mode"));
    const QList<QByteArray> lines = crLfLines(bytes, firstEnd + 1);
    return *first == 0 ? parseSingleRecord(lines) : parseFullSet(lines);
}

void applyDataFile(const DataFile &file, MeasurementStore &store)
{
    store.setSlot(0, QByteArray(kSavedDataIdentification));
    for (int slot = 1; slot <= MeasurementStore::kRecordSlots; ++slot)
        store.setSlot(slot, file.records.value(slot - 1));
    // A single record stands alone: nothing of an earlier set may be saved with it.
    store.set_record_count(file.kind == DataFileKind::SingleRecord ? 1 : file.countedRecords());
    store.set_display_index(1);
}

int recordsToSave(const MeasurementStore &store)
{
    for (int slot = MeasurementStore::kRecordSlots; slot >= 1; --slot) {
        if (!store.slot(slot).isEmpty())
            return slot;
    }
    return 0;
}

BuiltDataFile buildSingleRecordFile(const QByteArray &record, const StationLines &station)
{
    BuiltDataFile built;
    appendLine(built.bytes, "0");
    appendLine(built.bytes, record);
    appendStation(built.bytes, station);
    built.warnings = roundTripWarnings(built.bytes, {record}, station, true);
    return built;
}

BuiltDataFile buildFullSetFile(const MeasurementStore &store, const StationLines &station)
{
    const int n = recordsToSave(store);
    QList<QByteArray> records;
    BuiltDataFile built;
    appendLine(built.bytes, "1");
    for (int slot = 1; slot <= n; ++slot) {
        records << store.slot(slot);
        appendLine(built.bytes, records.back());
    }
    appendLine(built.bytes, kDataEnd);
    appendLine(built.bytes, QByteArray::number(n));
    appendStation(built.bytes, station);
    built.warnings = roundTripWarnings(built.bytes, records, station, false);
    return built;
}

} // namespace kelpra
