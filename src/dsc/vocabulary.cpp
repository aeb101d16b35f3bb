#include "vocabulary.h"

#include "data/text8.h"

namespace kelpra {

namespace {

const QByteArray kNoInformation = QByteArrayLiteral("No information");

struct Entry {
    int value;
    const char *text;
};

template <size_t N>
QByteArray lookup(const Entry (&table)[N], int value, const QByteArray &fallback)
{
    for (const Entry &e : table) {
        if (e.value == value)
            return QByteArray(e.text);
    }
    return fallback;
}

constexpr Entry kFormatSpecifiers[] = {
    {102, "Geographical Area"},
    {112, "Distress"},
    {114, "Ships having common interest"},
    {116, "All ships"},
    {120, "Individual stations"},
    {121, "Reserved for national non-calling purposes."},
    {123, "Individual station semi-automatic/automatic service"},
};

constexpr Entry kCategories[] = {
    {100, "Routine"},
    {108, "Safety"},
    {110, "Urgency"},
    {112, "Distress"},
};

constexpr Entry kFirstTelecommands[] = {
    {100, "F3E/G3E All modes telephony"},
    {101, "F3E/G3E duplex telephony"},
    {103, "Polling"},
    {104, "Unable to comply"},
    {105, "End of call. Only used for semi-automatic/automatic service."},
    {106, "Data"},
    {109, "J3E telephony"},
    {110, "Distress aknowledgement"},
    {111, "H3E telephony"},
    {112, "Distress relay"},
    {113, "F1B/J2B TTY-FEC"},
    {115, "F1B/J2B TTY-ARQ"},
    {116, "F1B/J2B TTY recieve"},
    {118, "Test"},
    {119, "F1B/J2B TTY"},
    {120, "A1A Morse TR"},
    {121, "Ship position or location registration updating"},
    {123, "A1A Morse"},
    {124, "F1C/F2C/F3C Fax"},
    {126, "No information"},
};

constexpr Entry kSecondTelecommands[] = {
    {100, "No reason given. Currently unassigned when used with first telecommands other then 104."},
    {101, "Congestion at maritime switching centre."},
    {102, "Busy. Currently unassigned when used with first telecommands other then 104."},
    {103, "Queue indication. Currently unassigned when used with first telecommands other then 104."},
    {104, "Station barred. Currently unassigned when used with first telecommands other then 104."},
    {105, "No operator available. Currently unassigned when used with first telecommands other then 104."},
    {106, "Operator temporarily unavailable. Currently unassigned when used with first telecommands other "
          "then 104."},
    {107, "Equipment disabled. Currently unassigned when used with first telecommands other then 104."},
    {108, "Unable to use proposed channel. Currently unassigned when used with first telecommands other then "
          "104."},
    {109, "Unable to use proposed mode. Currently unassigned when used with first telecommands other then "
          "104."},
    {110, "Ships and aircraft according to Resolution No.18 (Mob-83)"},
    {111, "Medical transports (as defined in 1949 Geneva conventions and additional protocols)."},
    {112, "Pay-phone/public call office."},
    {113, "Facsimile/data according to Recommendation ITU-R M.1081"},
    {115, "Data v.21"},
    {116, "Data v.22"},
    {118, "Data v.22 bis"},
    {119, "Data v.23"},
    {120, "Data v.26 bis"},
    {121, "Data v.26 ter"},
    {123, "Data v.27 ter"},
    {124, "Data v.32"},
    {126, "No information"},
};

// 111 has no text of its own.
constexpr Entry kNatures[] = {
    {100, "Fire, explosion"},
    {101, "Flooding"},
    {102, "Collision"},
    {103, "Grounding"},
    {104, "Listing, in danger of capsizing"},
    {105, "Sinking"},
    {106, "Disabled and adrift"},
    {107, "Undesignated distress"},
    {108, "Abandoning ship"},
    {109, "Piracy/armed robbery attack"},
    {110, "Man over board"},
    {112, "EPIRB Emission"},
};

// Each quadrant text ends in a blank: the position follows it directly.
constexpr Entry kQuadrants[] = {
    {0, "NE "},
    {1, "NW "},
    {2, "SE "},
    {3, "SW "},
};

} // namespace

QByteArray decimalText(int value)
{
    return QByteArray::number(value);
}

QByteArray twoDigitForm(int value)
{
    QByteArray text = decimalText(value);
    if (value < 10)
        text.prepend('0');
    return text;
}

QByteArray digitsText(const QList<int> &symbols)
{
    QByteArray text;
    for (int s : symbols) {
        text += twoDigitForm(s);
        text += ' ';
    }
    return text;
}

QByteArray identityText(const QList<int> &symbols)
{
    QByteArray digits;
    for (int s : symbols)
        digits += twoDigitForm(s);
    return digits.mid(0, 3) + ' ' + digits.mid(3, 6);
}

QByteArray frequencyText(const QList<int> &symbols)
{
    QByteArray text;
    for (int s : symbols) {
        if (s < 100)
            text += twoDigitForm(s);
    }
    return text;
}

QByteArray formatSpecifierMeaning(int value)
{
    return lookup(kFormatSpecifiers, value, QByteArray());
}

QByteArray categoryMeaning(int value)
{
    return lookup(kCategories, value, QByteArray());
}

QByteArray firstTelecommandMeaning(int value)
{
    return lookup(kFirstTelecommands, value, QByteArray());
}

QByteArray secondTelecommandMeaning(int value)
{
    return lookup(kSecondTelecommands, value, QByteArray());
}

QByteArray natureMeaning(int value)
{
    return lookup(kNatures, value, kNoInformation);
}

QByteArray quadrantMeaning(int digit)
{
    return lookup(kQuadrants, digit, kNoInformation);
}

QByteArray frequencyMeaning(const QList<int> &symbols, const QString &decimalSeparator)
{
    bool allNoInformation = !symbols.isEmpty();
    for (int s : symbols)
        allNoInformation = allNoInformation && s == 126;
    if (allNoInformation)
        return kNoInformation;

    const QByteArray text = frequencyText(symbols);
    if (text.isEmpty())
        return QByteArray();
    switch (text.at(0)) {
    case '0':
    case '1':
    case '2': {
        // Units of 100 Hz. At most six digits, so the quotient is exact to well within the
        // 15 significant digits of the general form, which never turns to an exponent here.
        const double kHz = text.toLongLong() / 10.0;
        QByteArray number = QByteArray::number(kHz, 'g', 15);
        const int point = number.indexOf('.');
        if (point >= 0)
            number.replace(point, 1, toText8(decimalSeparator));
        return number + " kHz";
    }
    case '3':
        return "HF/MF CH - " + text.mid(1, 5);
    case '8':
        return QByteArrayLiteral("ITU-R M.586 *");
    case '9':
        return "VHF CH - " + text.mid(2, 4);
    default:
        return QByteArray();
    }
}

QByteArray positionText(const QList<int> &symbols)
{
    const QByteArray q = twoDigitForm(symbols.value(0));
    const int quadrantDigit = q.at(0) - '0';
    QByteArray text = quadrantMeaning(quadrantDigit);
    if (quadrantDigit == 9)
        return text; // position not available

    // Nine digits: latitude degrees and minutes, longitude degrees and minutes. Symbols of
    // 100 and above make it longer; the characters are still taken by position.
    QByteArray p = q.mid(1, 1);
    for (int i = 1; i < 5; ++i)
        p += twoDigitForm(symbols.value(i));
    text += "latitude: " + p.mid(0, 2) + '.' + p.mid(2, 2);
    text += "\" longitude: " + p.mid(4, 3) + '.' + p.mid(7, 2) + '"';
    return text;
}

QByteArray timeText(int hours, int minutes)
{
    if (hours == 88 && minutes == 88)
        return kNoInformation;
    return decimalText(hours) + " : " + decimalText(minutes);
}

QByteArray eccVerdict(char verdictCharacter)
{
    if (verdictCharacter == '1')
        return QByteArrayLiteral("Ok");
    if (verdictCharacter == '0')
        return QByteArrayLiteral("Bad");
    return QByteArray();
}

} // namespace kelpra
