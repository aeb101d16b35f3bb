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
        {Field::MeasurementDate, "15.12.06 24:35"},
        {Field::MeasurementNumber, "13107"},
        {Field::ReceivedFrequency, "12577.0 kHZ"},
        {Field::SignalLevel, "128"},
        {Field::FormatDigits, "120"},
        {Field::FormatMeaning, "Individual stations"},
        {Field::AddressDigits, "20 13 23 54 50 "},
        {Field::AddressMeaning, "201 323545"},
        {Field::CategoryDigits, "100"},
        {Field::CategoryMeaning, "Routine"},
        {Field::SelfIdDigits, "99 99 99 99 90 "},
        {Field::SelfIdMeaning, "999 999999"},
        {Field::FirstCommandDigits, "100"},
        {Field::FirstCommandMeaning, "F3E/G3E All modes telephony"},
        {Field::SecondCommandDigits, "126"},
        {Field::SecondCommandMeaning, "No information"},
        {Field::Message1Digits, "90 00 06 "},
        {Field::Message1Meaning, "VHF CH - 0006"},
        {Field::Message2Digits, "90 00 06 "},
        {Field::Message2Meaning, "VHF CH - 0006"},
        {Field::EndOfSequence1, "117"},
        {Field::ErrorCheck, "76"},
        {Field::ErrorCheckVerdict, "Ok"},
        {Field::EndOfSequence2, "127 127"},
    };
}

// The fields of sample record 3 (a distress alert) after decoding, written out by hand.
inline FieldTexts sampleRecord3Fields()
{
    return FieldTexts{
        {Field::MeasurementDate, "15.12.06 24:35"},
        {Field::MeasurementNumber, "12337"},
        {Field::ReceivedFrequency, "156.525 MHZ"},
        {Field::SignalLevel, "128"},
        {Field::DistressFormatDigits, "112"},
        {Field::DistressFormatMeaning, "Distress"},
        {Field::DistressSelfDigits, "99 99 99 99 90 "},
        {Field::DistressSelfMeaning, "999 999999"},
        {Field::NatureDigits, "107"},
        {Field::NatureMeaning, "Undesignated distress"},
        {Field::PositionDigits, "01 42 20 15 33 "},
        {Field::PositionMeaning, "NE latitude: 14.22\" longitude: 015.33\""},
        {Field::TimeDigits, "88 88 "},
        {Field::TimeMeaning, "No information"},
        {Field::SubsequentDigits, "100"},
        {Field::SubsequentMeaning, "F3E/G3E All modes telephony"},
        {Field::DistressEndOfSequence1, "127"},
        {Field::DistressErrorCheck, "57"},
        {Field::DistressErrorCheckVerdict, "Ok"},
        {Field::DistressEndOfSequence2, "127 127"},
    };
}

} // namespace kelpra::test
