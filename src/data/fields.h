#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringView>

#include <array>
#include <optional>

namespace kelpra {

// Every text field of the main window that the decoder, the reports, the data files and
// the details file know about. fieldName() gives the control name, which is also the
// widget's objectName and the key of the decoded record in kelpra-tool's JSON.
enum class Field {
    // Measurement header
    MeasurementDate, MeasurementNumber, ReceivedFrequency, SignalLevel,
    // Call rows and the verdict beside the error-check character
    FormatDigits, FormatMeaning, AddressDigits, AddressMeaning, CategoryDigits, CategoryMeaning,
    SelfIdDigits, SelfIdMeaning, FirstCommandDigits, FirstCommandMeaning, SecondCommandDigits,
    SecondCommandMeaning, Message1Digits, Message1Meaning, Message2Digits, Message2Meaning,
    EndOfSequence1, ErrorCheck, EndOfSequence2, ErrorCheckVerdict,
    // Distress rows and the verdict beside their error-check character
    DistressFormatDigits, DistressFormatMeaning, DistressSelfDigits, DistressSelfMeaning, NatureDigits,
    NatureMeaning, PositionDigits, PositionMeaning, TimeDigits, TimeMeaning, SubsequentDigits,
    SubsequentMeaning, DistressEndOfSequence1, DistressErrorCheck, DistressEndOfSequence2,
    DistressErrorCheckVerdict,
    // Typed-in station data
    RadioModel, RadioSerialNumber, RadioManufacturer, VesselName, VesselOwner, VesselCategory,
    VesselAddress, VesselPhone,
    // Controller lines
    ControllerCompany, ControllerPhone, ControllerAddress, Engineer,
    // Top line: identification line and counters
    Identification, ReceivedCount, CurrentRecord, TotalRecords,
};

inline constexpr int kFieldCount = static_cast<int>(Field::TotalRecords) + 1;

// The control name of a field ("FSdigit", ...).
const char *fieldName(Field field);
QString fieldKey(Field field);
// The field of a control name; none for a name that is not a field.
std::optional<Field> fieldByName(QStringView name);
// Every field, in declaration order.
std::array<Field, kFieldCount> allFields();

// Texts of the main window's fields. Texts are 8-bit (Windows-1251), exactly as a report
// or data file writes them; a missing field counts as empty.
using FieldTexts = QMap<Field, QByteArray>;

// One decoded row as the window shows it: a caption, a digits field and, where there is
// one, a meaning field. The text report and the printed protocol caption some rows
// differently; they take their captions from here too.
struct DecodedRow {
    const char *windowCaption;
    const char *reportCaption;
    const char *pageCaption;
    Field digits;
    std::optional<Field> meaning;
};

// The call rows, top to bottom.
inline constexpr std::array<DecodedRow, 11> kCallRows{{
    {"Format Specifier:", "Format Specifier:", "Format Specifier:", Field::FormatDigits, Field::FormatMeaning},
    {"MMSI:", "MMSI:", "MMSI:", Field::AddressDigits, Field::AddressMeaning},
    {"Category:", "Category:", "Category:", Field::CategoryDigits, Field::CategoryMeaning},
    {"Self Identification(MMSI):", "Self Identification(MMSI):", "Self identification(MMSI):",
     Field::SelfIdDigits, Field::SelfIdMeaning},
    {"First Telecommand:", "First Telecommand:", "First telecomand:", Field::FirstCommandDigits, Field::FirstCommandMeaning},
    {"Second telecommand:", "Second Telecommand:", "Second telecomand:", Field::SecondCommandDigits, Field::SecondCommandMeaning},
    {"Frequency or pos.no FS1:", "Frequency or pos.no FS1:", "Frequency or pos.no FS1:", Field::Message1Digits,
     Field::Message1Meaning},
    {"Frequency or pos.no FS2:", "Frequency or pos.no FS2:", "Frequency or pos.no FS2:", Field::Message2Digits,
     Field::Message2Meaning},
    {"End of sequence:", "End of sequence:", "End of sequence:", Field::EndOfSequence1, std::nullopt},
    {"ECC:", "ECC:", "ECC:", Field::ErrorCheck, std::nullopt},
    {"End of sequence:", "End of sequence:", "End of sequence:", Field::EndOfSequence2, std::nullopt},
}};

// The distress rows, top to bottom.
inline constexpr std::array<DecodedRow, 9> kDistressRows{{
    {"Format Specifier:", "Format Specifier:", "Format Specifier:", Field::DistressFormatDigits, Field::DistressFormatMeaning},
    {"Self MMSI:", "Self MMSI:", "Self MMSI:", Field::DistressSelfDigits, Field::DistressSelfMeaning},
    {"Nature of distress:", "Nature of distress:", "Nature of Distress:", Field::NatureDigits,
     Field::NatureMeaning},
    {"Distress coordinates:", "Distress coordinates:", "Distress Coordinates:", Field::PositionDigits,
     Field::PositionMeaning},
    {"Time:", "Time:", "Time:", Field::TimeDigits, Field::TimeMeaning},
    {"Subsequent communication:", "Subsequent communication:", "Subsequent communication:", Field::SubsequentDigits,
     Field::SubsequentMeaning},
    {"End of sequence:", "End of sequence:", "End of sequence:", Field::DistressEndOfSequence1, std::nullopt},
    {"ECC:", "ECC:", "ECC:", Field::DistressErrorCheck, std::nullopt},
    {"End of sequence:", "End of sequence:", "End of sequence:", Field::DistressEndOfSequence2, std::nullopt},
}};

// The verdict label beside a panel's ECC field, and that field.
inline constexpr Field kCallVerdict = Field::ErrorCheckVerdict;
inline constexpr Field kCallVerdictBeside = Field::ErrorCheck;
inline constexpr Field kDistressVerdict = Field::DistressErrorCheckVerdict;
inline constexpr Field kDistressVerdictBeside = Field::DistressErrorCheck;

// A captioned edit field outside the decoded rows.
struct CaptionedField {
    const char *caption;
    Field field;
};

// The measurement header, as the window captions it.
inline constexpr std::array<CaptionedField, 4> kHeaderFields{{
    {"Date:", Field::MeasurementDate},
    {"Meas-nt No:", Field::MeasurementNumber},
    {"Frequency:", Field::ReceivedFrequency},
    {"Signal Level (RSSI):", Field::SignalLevel},
}};

// The eight typed-in station fields, in the order data files carry them: three of the
// radio station, then five of the vessel.
inline constexpr std::array<CaptionedField, 8> kStationFields{{
    {"Radio's model or name:", Field::RadioModel},
    {"Serial Number:", Field::RadioSerialNumber},
    {"Manufacturer:", Field::RadioManufacturer},
    {"Vessel name:", Field::VesselName},
    {"Company owner:", Field::VesselOwner},
    {"Category/tonnage:", Field::VesselCategory},
    {"Company address:", Field::VesselAddress},
    {"Tel/Fax:", Field::VesselPhone},
}};
inline constexpr int kRadioStationFields = 3;   // the first three of kStationFields

// The four controller fields, in the order details.txt carries them.
inline constexpr std::array<CaptionedField, 4> kControllerFields{{
    {"Company:", Field::ControllerCompany},
    {"Tel/fax:", Field::ControllerPhone},
    {"Company address:", Field::ControllerAddress},
    {"Radioengineer:", Field::Engineer},
}};

// The fields "clear the call display" empties: the header and the call rows' fields (the
// verdict label keeps its text until the next call is decoded).
QList<Field> callDisplayFields();
// The distress rows' fields (the verdict label excluded).
QList<Field> distressDisplayFields();

} // namespace kelpra
