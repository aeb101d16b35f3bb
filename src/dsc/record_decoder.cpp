#include "record_decoder.h"

#include "vocabulary.h"

namespace kelpra {

namespace {

constexpr int kDistressFormat = 112;

// Reads a record by 1-based position; a short record reads as padded with zero bytes.
class Record {
public:
    explicit Record(const QByteArray &bytes) : bytes_(bytes) {}

    int operator[](int position) const { return recordByte(bytes_, position); }
    char character(int position) const { return static_cast<char>((*this)[position]); }

    // Characters `first` to `last` copied as they are.
    QByteArray characters(int first, int last) const
    {
        QByteArray text;
        for (int p = first; p <= last; ++p)
            text += character(p);
        return text;
    }

    // The symbols at positions `first` to `last`.
    QList<int> symbols(int first, int last) const
    {
        QList<int> values;
        for (int p = first; p <= last; ++p)
            values.append((*this)[p]);
        return values;
    }

private:
    QByteArray bytes_;
};

class Writer {
public:
    explicit Writer(RecordDecoding &result) : result_(result) {}

    void write(const char *name, const QByteArray &text)
    {
        result_.writes.append({QString::fromLatin1(name), text});
    }

    // Shows the format specifier message at this point of the write order.
    void formatSpecifierMessage()
    {
        result_.formatMismatch = true;
        result_.messageAfter = static_cast<int>(result_.writes.size());
        result_.messages.append(QString::fromLatin1(kFormatSpecifierError));
    }

private:
    RecordDecoding &result_;
};

// Header fields.
void writeHeader(const Record &s, Writer &w)
{
    w.write("Date", s.characters(4, 5) + '.' + s.characters(6, 7) + '.' + s.characters(8, 9) + ' '
                        + s.characters(11, 12) + ':' + s.characters(13, 14));
    w.write("MNO", decimalText(256 * s[1] + s[2]));
    w.write("Frequency", s.characters(18, 28));
    w.write("RSSI", decimalText(s[32]));
}

// The call rows, from the format specifier to the closing end-of-sequence symbols.
void writeCall(const Record &s, Writer &w, const QString &decimalSeparator)
{
    w.write("FSdigit", decimalText(s[39]));
    w.write("FSMeaning", format_specifier_meaning(s[39]));
    if (s[39] != s[40])
        w.formatSpecifierMessage();
    w.write("MMSIMeaning", identityText(s.symbols(41, 45)));
    w.write("MMSIdigit", digitsText(s.symbols(41, 45)));
    w.write("CatDigit", decimalText(s[46]));
    w.write("CatMeaning", category_meaning(s[46]));
    w.write("SelfMMSI", identityText(s.symbols(47, 51)));
    w.write("SelfMMSIdigit", digitsText(s.symbols(47, 51)));
    w.write("FTdigit", decimalText(s[52]));
    w.write("FTMeaning", first_telecommand_meaning(s[52]));
    w.write("STdigit", decimalText(s[53]));
    w.write("STMeaning", second_telecommand_meaning(s[53]));
    w.write("FS1digit", digitsText(s.symbols(54, 56)));
    w.write("FS1meaning", frequencyMeaning(s.symbols(54, 56), decimalSeparator));
    w.write("FS2digit", digitsText(s.symbols(57, 59)));
    w.write("FS2meaning", frequencyMeaning(s.symbols(57, 59), decimalSeparator));
    w.write("EOS1", decimalText(s[60]));
    w.write("ECC", decimalText(s[61]));
    w.write("ECCCheck", QByteArray());
    w.write("ECCCheck", eccVerdict(s.character(16)));
    w.write("EOS2", decimalText(s[62]) + ' ' + decimalText(s[63]));
}

// `showDistress`, its own emptying of the fields first.
void writeDistress(const Record &s, Writer &w)
{
    for (const QString &name : distressFieldsToClear())
        w.write(name.toLatin1().constData(), QByteArray());
    w.write("FSDdigit", decimalText(s[39]));
    w.write("FSDmeaning", format_specifier_meaning(s[39]));
    if (s[39] != s[40])
        w.formatSpecifierMessage();
    w.write("SelfMMSIDmeaning", identityText(s.symbols(41, 45)));
    w.write("SelfMMSIDdigit", digitsText(s.symbols(41, 45)));
    w.write("NATUREdigit", decimalText(s[46]));
    w.write("NATUREmeaning", nature_meaning(s[46]));
    w.write("DCdigits", digitsText(s.symbols(47, 51)));
    w.write("DCmeaning", positionText(s.symbols(47, 51)));
    w.write("TIMEdigit", digitsText(s.symbols(52, 53)));
    w.write("TIMEmeaning", timeText(s[52], s[53]));
    w.write("SCdigit", decimalText(s[54]));
    w.write("SCmeaning", first_telecommand_meaning(s[54]));
    w.write("EOSD1", decimalText(s[55]));
    w.write("ECCD", decimalText(s[56]));
    w.write("ECCCDheck", QByteArray());
    w.write("ECCCDheck", eccVerdict(s.character(16)));
    w.write("EOSD2", decimalText(s[57]) + ' ' + decimalText(s[58]));
}

} // namespace

FieldTexts RecordDecoding::fields() const
{
    FieldTexts texts;
    for (const FieldWrite &write : writes)
        texts.insert(write.name, write.text);
    return texts;
}

int recordByte(const QByteArray &record, int position)
{
    if (position < 1 || position > record.size())
        return 0;
    return static_cast<unsigned char>(record.at(position - 1));
}

RecordDecoding decodeRecord(const QByteArray &record, const QString &decimalSeparator)
{
    const Record s(record);
    RecordDecoding result;
    Writer w(result);
    writeHeader(s, w);
    result.headerWrites = static_cast<int>(result.writes.size());
    // Only position 39 decides; position 40 plays no part in the choice.
    result.distress = s[39] == kDistressFormat;
    if (result.distress)
        writeDistress(s, w);
    else
        writeCall(s, w, decimalSeparator);
    return result;
}

RecordDecoding decodeDistress(const QByteArray &record)
{
    const Record s(record);
    RecordDecoding result;
    Writer w(result);
    result.distress = true;
    writeDistress(s, w);
    return result;
}

QStringList callFieldsToClear()
{
    return {QStringLiteral("Date"),      QStringLiteral("MNO"),           QStringLiteral("Frequency"),
            QStringLiteral("RSSI"),      QStringLiteral("FSdigit"),       QStringLiteral("FSMeaning"),
            QStringLiteral("MMSIdigit"), QStringLiteral("MMSIMeaning"),   QStringLiteral("CatDigit"),
            QStringLiteral("CatMeaning"), QStringLiteral("SelfMMSI"),     QStringLiteral("SelfMMSIdigit"),
            QStringLiteral("FTdigit"),   QStringLiteral("FTMeaning"),     QStringLiteral("STdigit"),
            QStringLiteral("STMeaning"), QStringLiteral("FS1digit"),      QStringLiteral("FS1meaning"),
            QStringLiteral("FS2digit"),  QStringLiteral("FS2meaning"),    QStringLiteral("EOS1"),
            QStringLiteral("EOS2"),      QStringLiteral("ECC")};
}

QStringList distressFieldsToClear()
{
    return {QStringLiteral("FSDdigit"),    QStringLiteral("FSDmeaning"),    QStringLiteral("SelfMMSIDdigit"),
            QStringLiteral("SelfMMSIDmeaning"), QStringLiteral("NATUREdigit"), QStringLiteral("NATUREmeaning"),
            QStringLiteral("DCdigits"),    QStringLiteral("DCmeaning"),     QStringLiteral("TIMEdigit"),
            QStringLiteral("TIMEmeaning"), QStringLiteral("SCdigit"),       QStringLiteral("SCmeaning"),
            QStringLiteral("EOSD1"),       QStringLiteral("EOSD2"),         QStringLiteral("ECCD")};
}

} // namespace kelpra
