#pragma once

#include "data/field_texts.h"

namespace kelpra::test {

// The fields of sample record 1 (an individual call) after decoding, written out by hand:
// the header, the call rows and the verdict.
inline FieldTexts sampleRecord1Fields()
{
    return FieldTexts{
        {"Date", "15.12.06 24:35"},
        {"MNO", "13107"},
        {"Frequency", "12577.0 kHZ"},
        {"RSSI", "128"},
        {"FSdigit", "120"},
        {"FSMeaning", "Individual stations"},
        {"MMSIdigit", "20 13 23 54 50 "},
        {"MMSIMeaning", "201 323545"},
        {"CatDigit", "100"},
        {"CatMeaning", "Routine"},
        {"SelfMMSIdigit", "99 99 99 99 90 "},
        {"SelfMMSI", "999 999999"},
        {"FTdigit", "100"},
        {"FTMeaning", "F3E/G3E All modes telephony"},
        {"STdigit", "126"},
        {"STMeaning", "No information"},
        {"FS1digit", "90 00 06 "},
        {"FS1meaning", "VHF CH - 0006"},
        {"FS2digit", "90 00 06 "},
        {"FS2meaning", "VHF CH - 0006"},
        {"EOS1", "117"},
        {"ECC", "76"},
        {"ECCCheck", "Ok"},
        {"EOS2", "127 127"},
    };
}

// The fields of sample record 3 (a distress alert) after decoding, written out by hand.
inline FieldTexts sampleRecord3Fields()
{
    return FieldTexts{
        {"Date", "15.12.06 24:35"},
        {"MNO", "12337"},
        {"Frequency", "156.525 MHZ"},
        {"RSSI", "128"},
        {"FSDdigit", "112"},
        {"FSDmeaning", "Distress"},
        {"SelfMMSIDdigit", "99 99 99 99 90 "},
        {"SelfMMSIDmeaning", "999 999999"},
        {"NATUREdigit", "107"},
        {"NATUREmeaning", "Undesignated distress"},
        {"DCdigits", "01 42 20 15 33 "},
        {"DCmeaning", "NE latitude: 14.22\" longitude: 015.33\""},
        {"TIMEdigit", "88 88 "},
        {"TIMEmeaning", "No information"},
        {"SCdigit", "100"},
        {"SCmeaning", "F3E/G3E All modes telephony"},
        {"EOSD1", "127"},
        {"ECCD", "57"},
        {"ECCCDheck", "Ok"},
        {"EOSD2", "127 127"},
    };
}

} // namespace kelpra::test
