#include "data_file.h"

#include "data/measurement_store.h"
#include "files/line_reader.h"

#include <limits>

namespace kelpra {

namespace {

const QByteArray kLineEnd("\r\n");
const QByteArray kDataEnd("dataend");

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

} // namespace

int DataFile::countedRecords() const
{
    int count = 0;
    for (const QByteArray &slot : records) {
        const bool led255 = slot.left(3).contains('\xff');
        if (!led255)
            ++count;
    }
    return count;
}

QByteArray lineBufferSlot(const QByteArray &recordLine)
{
    QByteArray slot = recordLine + kLineEnd;
    if (slot.size() < kLineBufferSize)
        slot.append(kLineBufferSize - slot.size(), '\0');
    return slot;
}

QByteArray recordLineOf(const QByteArray &slot)
{
    const qsizetype end = slot.indexOf(kLineEnd);
    return end < 0 ? slot : slot.left(end);
}

DataFileParse parseDataFile(const QByteArray &bytes)
{
    LineReader reader(bytes);
    const std::optional<int> first = parseInteger(reader.readTextLine());
    if (!first)
        return {std::nullopt, QStringLiteral("Invalid numeric input")};

    DataFile file;
    QByteArray line;
    if (*first == 0) {
        file.kind = DataFileKind::SingleRecord;
        if (reader.readRecordLine(&line))
            file.records.append(lineBufferSlot(line));
    } else {
        file.kind = DataFileKind::FullSet;
        bool sawDataEnd = false;
        while (file.records.size() < MeasurementStore::kRecordSlots && reader.readRecordLine(&line)) {
            // A set cut short by an interrupted download ends its records here; a record
            // is never this short, so this cannot swallow one.
            if (line == kDataEnd) {
                sawDataEnd = true;
                break;
            }
            file.records.append(lineBufferSlot(line));
        }
        // "dataend" and the count line after it carry nothing the load needs.
        if (!sawDataEnd)
            reader.readTextLine();
        reader.readTextLine();
    }
    for (QByteArray &field : file.station)
        field = reader.readTextLine();
    return {file, QString()};
}

void applyDataFile(const DataFile &file, MeasurementStore &store)
{
    store.setSlot(0, QByteArray(kSavedDataIdentification));
    if (file.kind == DataFileKind::SingleRecord) {
        store.setSlot(1, file.records.value(0));
    } else {
        for (int slot = 1; slot <= MeasurementStore::kRecordSlots; ++slot)
            store.setSlot(slot, file.records.value(slot - 1));
        store.set_record_count(file.countedRecords());
    }
    store.set_display_index(1);
}

int recordsToSave(const MeasurementStore &store)
{
    int n = 0;
    for (int slot = 1; slot <= MeasurementStore::kRecordSlots; ++slot) {
        if (!store.slot(slot).isEmpty())
            ++n;
    }
    return n;
}

QByteArray buildSingleRecordFile(const QByteArray &slot, const StationLines &station)
{
    QByteArray out;
    appendLine(out, "0");
    appendLine(out, recordLineOf(slot));
    appendStation(out, station);
    return out;
}

QByteArray buildFullSetFile(const MeasurementStore &store, const StationLines &station)
{
    const int n = recordsToSave(store);
    QByteArray out;
    appendLine(out, "1");
    for (int slot = 1; slot <= n; ++slot)
        appendLine(out, recordLineOf(store.slot(slot)));
    appendLine(out, kDataEnd);
    appendLine(out, QByteArray::number(n));
    appendStation(out, station);
    return out;
}

} // namespace kelpra
