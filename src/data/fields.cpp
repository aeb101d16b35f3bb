#include "data/fields.h"

namespace kelpra {

namespace {

// Indexed by Field; the static_assert below keeps the two in step.
constexpr const char *kNames[] = {
    "Date", "MNO", "Frequency", "RSSI",
    "FSdigit", "FSMeaning", "MMSIdigit", "MMSIMeaning", "CatDigit", "CatMeaning", "SelfMMSIdigit", "SelfMMSI",
    "FTdigit", "FTMeaning", "STdigit", "STMeaning", "FS1digit", "FS1meaning", "FS2digit", "FS2meaning",
    "EOS1", "ECC", "EOS2", "ECCCheck",
    "FSDdigit", "FSDmeaning", "SelfMMSIDdigit", "SelfMMSIDmeaning", "NATUREdigit", "NATUREmeaning",
    "DCdigits", "DCmeaning", "TIMEdigit", "TIMEmeaning", "SCdigit", "SCmeaning", "EOSD1", "ECCD", "EOSD2", "ECCCDheck",
    "RadioType", "RadioSN", "RadioMan", "VesselName", "CompanyOwner", "VCategory", "VCompAdd", "VTel",
    "CCompany", "CTel", "CAddress", "Engineer",
    "Label16", "Label22", "current", "total",
};
static_assert(std::size(kNames) == kFieldCount, "one name per field");

void appendRowFields(QList<Field> &fields, const DecodedRow &row)
{
    fields.append(row.digits);
    if (row.meaning)
        fields.append(*row.meaning);
}

} // namespace

const char *fieldName(Field field)
{
    return kNames[static_cast<int>(field)];
}

QString fieldKey(Field field)
{
    return QString::fromLatin1(fieldName(field));
}

std::optional<Field> fieldByName(QStringView name)
{
    for (int i = 0; i < kFieldCount; ++i) {
        if (name == QLatin1String(kNames[i]))
            return static_cast<Field>(i);
    }
    return std::nullopt;
}

std::array<Field, kFieldCount> allFields()
{
    std::array<Field, kFieldCount> fields{};
    for (int i = 0; i < kFieldCount; ++i)
        fields[static_cast<size_t>(i)] = static_cast<Field>(i);
    return fields;
}

QList<Field> callDisplayFields()
{
    QList<Field> fields;
    for (const CaptionedField &header : kHeaderFields)
        fields.append(header.field);
    for (const DecodedRow &row : kCallRows)
        appendRowFields(fields, row);
    return fields;
}

QList<Field> distressDisplayFields()
{
    QList<Field> fields;
    for (const DecodedRow &row : kDistressRows)
        appendRowFields(fields, row);
    return fields;
}

} // namespace kelpra
