// Fuzz target for the data-file reader. Besides "no crash, no overflow" it checks that
// whatever a file loads (a changed file too, when accepted) saves back to a file that loads
// the same, verified by its integrity line, and saves identically, unless the writer says
// a station line will not.
#include "data/measurement_store.h"
#include "files/data_file.h"
#include "files/details_file.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace kelpra;

namespace {

void require(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "data file fuzz: %s\n", what);
        std::abort();
    }
}

bool sameSlots(const MeasurementStore &a, const MeasurementStore &b)
{
    for (int i = 0; i < MeasurementStore::kSlotCount; ++i) {
        if (a.slot(i) != b.slot(i))
            return false;
    }
    return true;
}

BuiltDataFile saveAsTheLoadWould(const DataFile &file, const MeasurementStore &store)
{
    if (file.kind == DataFileKind::SingleRecord)
        return buildSingleRecordFile(store.slot(1), file.station, store.fromSampleSet());
    return buildFullSetFile(store, file.station);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));

    // The details reader shares the line reader; it must take anything too.
    const ControllerLines details = parseDetailsFile(bytes);
    require(parseDetailsFile(buildDetailsFile(details)) == details, "details round trip");

    const DataFileParse strict = parseDataFile(bytes);
    const DataFileParse parsed = parseDataFile(bytes, DataFileReading{QString(), true});
    // Only a changed file loads when accepted and not otherwise.
    require(strict.file.has_value() == parsed.file.has_value() || strict.integrity == FileIntegrity::Changed,
            "accepting changed files changed another outcome");
    require(strict.integrity == parsed.integrity, "integrity depends on accepting changed files");
    if (!parsed.file) {
        require(!parsed.error.isEmpty(), "refusal without error text");
        return 0;
    }
    const DataFile &file = *parsed.file;
    require(file.records.size() <= MeasurementStore::kRecordSlots, "more than 16 records");
    require(file.kind == DataFileKind::FullSet || file.records.size() == 1, "single file without one record");
    require(!file.oldLayout || file.station[0].isEmpty(), "old layout with a RadioType");
    qsizetype recordBytes = 0;
    for (const QByteArray &record : file.records)
        recordBytes += record.size();
    require(recordBytes <= bytes.size(), "records hold more than the file");

    MeasurementStore first;
    applyDataFile(file, first);
    require(first.displayIndex() == 1, "display_index not 1");
    require(first.recordCount() >= 0 && first.recordCount() <= 16, "record_count out of range");
    require(file.kind == DataFileKind::FullSet || first.recordCount() == 1, "single load kept other records");
    for (int slot = 2; slot <= 16 && file.kind == DataFileKind::SingleRecord; ++slot)
        require(first.slot(slot).isEmpty(), "single load left a slot filled");

    const BuiltDataFile saved = saveAsTheLoadWould(file, first);
    const DataFileParse reparsed = parseDataFile(saved.bytes);
    require(reparsed.file.has_value(), "saved file refused");
    require(reparsed.integrity == FileIntegrity::Verified, "saved file not verified");
    require(reparsed.file->sample == file.sample, "sample flag lost");
    require(reparsed.file->kind == file.kind, "kind changed");
    MeasurementStore second;
    applyDataFile(*reparsed.file, second);
    require(sameSlots(first, second), "load, save, load changed a slot");
    if (!saved.warnings.isEmpty()) {
        // The writer said so; it must have had reason to.
        require(reparsed.file->station != file.station, "needless warning");
        return 0;
    }
    require(reparsed.file->station == file.station, "station lines changed");
    // Empty records at the end of a set count (no 255 leads them) but are not saved again.
    if (file.records.isEmpty() || !file.records.back().isEmpty())
        require(first.recordCount() == second.recordCount(), "load, save, load changed record_count");
    require(saveAsTheLoadWould(*reparsed.file, second).bytes == saved.bytes, "saving again changed the bytes");
    return 0;
}
