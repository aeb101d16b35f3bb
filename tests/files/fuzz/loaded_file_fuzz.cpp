// Fuzz target that takes a loaded data file on as the program does: every record slot
// through the decoder, then the text report and the printed page's texts from the decoded
// fields, the station lines of the file and the controller lines.
#include "data/fields.h"
#include "data/measurement_store.h"
#include "data/text8.h"
#include "dsc/record_decoder.h"
#include "files/data_file.h"
#include "files/details_file.h"
#include "page/protocol_page.h"
#include "report/text_report.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace kelpra;

namespace {

void require(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "loaded file fuzz: %s\n", what);
        std::abort();
    }
}

// The same texts with every CR and LF made a blank: the report's own line ends are then
// the only ones, and every byte stays where it was.
FieldTexts withoutLineEnds(FieldTexts fields)
{
    for (auto it = fields.begin(); it != fields.end(); ++it) {
        it.value().replace('\r', ' ');
        it.value().replace('\n', ' ');
    }
    return fields;
}

void checkReports(const FieldTexts &fields, bool distress)
{
    const QByteArray report = textReport(fields, distress);
    const QByteArray plain = textReport(withoutLineEnds(fields), distress);
    require(report.size() == plain.size(), "report length depends on line ends in fields");
    require(plain.count("\r\n") == (distress ? 35 : 37), "report line count");
    require(plain.endsWith("\r\n"), "report without its last line end");
    for (Field name : {Field::RadioModel, Field::VesselName, Field::Engineer, Field::MeasurementDate})
        require(report.contains(fields.value(name)), "field missing from the report");

    // One page for every record, as the window keeps one: each filling must rewrite all
    // that an earlier record put there.
    static ProtocolPage page;
    fillProtocolPage(page, fields, distress);
    const auto text = [&](Field name) { return fromText8(fields.value(name)); };
    require(page.text("QRLabel3") == text(Field::RadioModel), "page: RadioType");
    require(page.text("QRLabel33") == text(Field::MeasurementDate), "page: Date");
    require(page.text("QRLabel37") == text(distress ? Field::DistressFormatDigits : Field::FormatDigits), "page: format specifier");
    require(page.text("QRLabel48") == text(Field::VesselName), "page: VesselName");
    require(page.text("QRLabel53") == text(Field::Engineer), "page: Engineer");
    require(page.text("QRLabel14")
                == QLatin1String(distress ? "Self MMSI:" : "MMSI:"),
            "page: row caption of the wrong variant");
    require(page.text("QRLabel47") == (distress ? QString() : text(Field::EndOfSequence2)), "page: row 11");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const DataFileParse parsed = parseDataFile(bytes, DataFileReading{QString(), true});
    if (!parsed.file)
        return 0;
    const DataFile &file = *parsed.file;
    MeasurementStore store;
    applyDataFile(file, store);
    // The same bytes as controller lines: details.txt feeds the engineer into the reports.
    const ControllerLines controller = parseDetailsFile(bytes);

    for (int slot = 1; slot <= MeasurementStore::kRecordSlots; ++slot) {
        const QByteArray record = store.slot(slot);
        // An empty slot decodes as any other empty one; slot 1 stands for them all.
        if (record.isEmpty() && slot > 1)
            continue;
        const DecodedRecord decoding = decodeRecord(record, slot % 2 ? QStringLiteral(".") : QStringLiteral(","));
        require(decoding.empty() == record.isEmpty(), "only an empty slot decodes as empty");
        FieldTexts fields = decoding.fields();
        const bool holdsFormat = record.size() >= 39;
        require(decoding.distress() == (holdsFormat && recordByte(record, 39) == 112),
                "distress not told by position 39");
        require(decoding.formatMismatch == (record.size() >= 40 && recordByte(record, 39) != recordByte(record, 40)),
                "format mismatch");
        require(decoding.messages().isEmpty() != decoding.formatMismatch, "message without a mismatch");
        if (!decoding.empty()) {
            for (Field name : {Field::MeasurementDate, Field::MeasurementNumber, Field::ReceivedFrequency, Field::SignalLevel})
                require(fields.contains(name), "header field missing");
            require(fields.value(Field::MeasurementNumber)
                        == (record.size() >= 2 ? QByteArray::number(256 * recordByte(record, 1) + recordByte(record, 2))
                                               : QByteArray()),
                    "MNO");
            require(fields.value(Field::ReceivedFrequency) == (record.size() >= 28 ? record.mid(17, 11) : QByteArray()),
                    "Frequency not bytes 18 to 28");
        }
        for (size_t i = 0; i < kStationFields.size(); ++i)
            fields.insert(kStationFields[i].field, file.station[i]);
        for (size_t i = 0; i < kControllerFields.size(); ++i)
            fields.insert(kControllerFields[i].field, controller[i]);
        checkReports(fields, decoding.distress());
    }
    return 0;
}
