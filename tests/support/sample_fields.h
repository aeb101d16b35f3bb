#pragma once

#include "data/fields.h"

namespace kelpra::test {

// The digits and meaning fields of a panel's rows (kCallRows, kDistressRows), top to bottom.
template <typename Rows>
QList<Field> rowFields(const Rows &rows)
{
    QList<Field> fields;
    for (const DecodedRow &row : rows) {
        fields.append(row.digits);
        if (row.meaning)
            fields.append(*row.meaning);
    }
    return fields;
}

// The fields of sample record 1 (an individual call) after decoding, written out by hand:
// the header, the call rows and the verdict.
inline FieldTexts sampleRecord1Fields()
{
    return FieldTexts{
        {Field::Date, "15.12.06 24:35"},
        {Field::MNO, "13107"},
        {Field::Frequency, "12577.0 kHZ"},
        {Field::RSSI, "128"},
        {Field::FSdigit, "120"},
        {Field::FSMeaning, "Individual stations"},
        {Field::MMSIdigit, "20 13 23 54 50 "},
        {Field::MMSIMeaning, "201 323545"},
        {Field::CatDigit, "100"},
        {Field::CatMeaning, "Routine"},
        {Field::SelfMMSIdigit, "99 99 99 99 90 "},
        {Field::SelfMMSI, "999 999999"},
        {Field::FTdigit, "100"},
        {Field::FTMeaning, "F3E/G3E All modes telephony"},
        {Field::STdigit, "126"},
        {Field::STMeaning, "No information"},
        {Field::FS1digit, "90 00 06 "},
        {Field::FS1meaning, "VHF CH - 0006"},
        {Field::FS2digit, "90 00 06 "},
        {Field::FS2meaning, "VHF CH - 0006"},
        {Field::EOS1, "117"},
        {Field::ECC, "76"},
        {Field::ECCCheck, "Ok"},
        {Field::EOS2, "127 127"},
    };
}

// The fields of sample record 3 (a distress alert) after decoding, written out by hand.
inline FieldTexts sampleRecord3Fields()
{
    return FieldTexts{
        {Field::Date, "15.12.06 24:35"},
        {Field::MNO, "12337"},
        {Field::Frequency, "156.525 MHZ"},
        {Field::RSSI, "128"},
        {Field::FSDdigit, "112"},
        {Field::FSDmeaning, "Distress"},
        {Field::SelfMMSIDdigit, "99 99 99 99 90 "},
        {Field::SelfMMSIDmeaning, "999 999999"},
        {Field::NATUREdigit, "107"},
        {Field::NATUREmeaning, "Undesignated distress"},
        {Field::DCdigits, "01 42 20 15 33 "},
        {Field::DCmeaning, "NE latitude: 14.22\" longitude: 015.33\""},
        {Field::TIMEdigit, "88 88 "},
        {Field::TIMEmeaning, "No information"},
        {Field::SCdigit, "100"},
        {Field::SCmeaning, "F3E/G3E All modes telephony"},
        {Field::EOSD1, "127"},
        {Field::ECCD, "57"},
        {Field::ECCCDheck, "Ok"},
        {Field::EOSD2, "127 127"},
    };
}

} // namespace kelpra::test
