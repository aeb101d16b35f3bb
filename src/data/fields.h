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
    Date, MNO, Frequency, RSSI,
    // Call rows and the verdict beside ECC
    FSdigit, FSMeaning, MMSIdigit, MMSIMeaning, CatDigit, CatMeaning, SelfMMSIdigit, SelfMMSI,
    FTdigit, FTMeaning, STdigit, STMeaning, FS1digit, FS1meaning, FS2digit, FS2meaning,
    EOS1, ECC, EOS2, ECCCheck,
    // Distress rows and the verdict beside ECCD
    FSDdigit, FSDmeaning, SelfMMSIDdigit, SelfMMSIDmeaning, NATUREdigit, NATUREmeaning,
    DCdigits, DCmeaning, TIMEdigit, TIMEmeaning, SCdigit, SCmeaning, EOSD1, ECCD, EOSD2, ECCCDheck,
    // Typed-in station data
    RadioType, RadioSN, RadioMan, VesselName, CompanyOwner, VCategory, VCompAdd, VTel,
    // Controller lines
    CCompany, CTel, CAddress, Engineer,
    // Top line: identification line and counters
    Label16, Label22, current, total,
};

inline constexpr int kFieldCount = static_cast<int>(Field::total) + 1;

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
    {"Format Specifier:", "Format Specifier:", "Format Specifier:", Field::FSdigit, Field::FSMeaning},
    {"MMSI:", "MMSI:", "MMSI:", Field::MMSIdigit, Field::MMSIMeaning},
    {"Category:", "Category:", "Category:", Field::CatDigit, Field::CatMeaning},
    {"Self Identification(MMSI):", "Self Identification(MMSI):", "Self identification(MMSI):",
     Field::SelfMMSIdigit, Field::SelfMMSI},
    {"First Telecommand:", "First Telecommand:", "First telecomand:", Field::FTdigit, Field::FTMeaning},
    {"Second telecommand:", "Second Telecommand:", "Second telecomand:", Field::STdigit, Field::STMeaning},
    {"Frequency or pos.no FS1:", "Frequency or pos.no FS1:", "Frequency or pos.no FS1:", Field::FS1digit,
     Field::FS1meaning},
    {"Frequency or pos.no FS2:", "Frequency or pos.no FS2:", "Frequency or pos.no FS2:", Field::FS2digit,
     Field::FS2meaning},
    {"End of sequence:", "End of sequence:", "End of sequence:", Field::EOS1, std::nullopt},
    {"ECC:", "ECC:", "ECC:", Field::ECC, std::nullopt},
    {"End of sequence:", "End of sequence:", "End of sequence:", Field::EOS2, std::nullopt},
}};

// The distress rows, top to bottom.
inline constexpr std::array<DecodedRow, 9> kDistressRows{{
    {"Format Specifier:", "Format Specifier:", "Format Specifier:", Field::FSDdigit, Field::FSDmeaning},
    {"Self MMSI:", "Self MMSI:", "Self MMSI:", Field::SelfMMSIDdigit, Field::SelfMMSIDmeaning},
    {"Nature of distress:", "Nature of distress:", "Nature of Distress:", Field::NATUREdigit,
     Field::NATUREmeaning},
    {"Distress coordinates:", "Distress coordinates:", "Distress Coordinates:", Field::DCdigits,
     Field::DCmeaning},
    {"Time:", "Time:", "Time:", Field::TIMEdigit, Field::TIMEmeaning},
    {"Subsequent communication:", "Subsequent communication:", "Subsequent communication:", Field::SCdigit,
     Field::SCmeaning},
    {"End of sequence:", "End of sequence:", "End of sequence:", Field::EOSD1, std::nullopt},
    {"ECC:", "ECC:", "ECC:", Field::ECCD, std::nullopt},
    {"End of sequence:", "End of sequence:", "End of sequence:", Field::EOSD2, std::nullopt},
}};

// The verdict label beside a panel's ECC field, and that field.
inline constexpr Field kCallVerdict = Field::ECCCheck;
inline constexpr Field kCallVerdictBeside = Field::ECC;
inline constexpr Field kDistressVerdict = Field::ECCCDheck;
inline constexpr Field kDistressVerdictBeside = Field::ECCD;

// A captioned edit field outside the decoded rows.
struct CaptionedField {
    const char *caption;
    Field field;
};

// The measurement header, as the window captions it.
inline constexpr std::array<CaptionedField, 4> kHeaderFields{{
    {"Date:", Field::Date},
    {"Meas-nt No:", Field::MNO},
    {"Frequency:", Field::Frequency},
    {"Signal Level (RSSI):", Field::RSSI},
}};

// The eight typed-in station fields, in the order data files carry them: three of the
// radio station, then five of the vessel.
inline constexpr std::array<CaptionedField, 8> kStationFields{{
    {"Radio's model or name:", Field::RadioType},
    {"Serial Number:", Field::RadioSN},
    {"Manufacturer:", Field::RadioMan},
    {"Vessel name:", Field::VesselName},
    {"Company owner:", Field::CompanyOwner},
    {"Category/tonnage:", Field::VCategory},
    {"Company address:", Field::VCompAdd},
    {"Tel/Fax:", Field::VTel},
}};
inline constexpr int kRadioStationFields = 3;   // the first three of kStationFields

// The four controller fields, in the order details.txt carries them.
inline constexpr std::array<CaptionedField, 4> kControllerFields{{
    {"Company:", Field::CCompany},
    {"Tel/fax:", Field::CTel},
    {"Company address:", Field::CAddress},
    {"Radioengineer:", Field::Engineer},
}};

// The fields "clear the call display" empties: the header and the call rows' fields (the
// verdict label keeps its text until the next call is decoded).
QList<Field> callDisplayFields();
// The distress rows' fields (the verdict label excluded).
QList<Field> distressDisplayFields();

} // namespace kelpra
