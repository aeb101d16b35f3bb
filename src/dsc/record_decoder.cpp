#include "record_decoder.h"

#include "vocabulary.h"

namespace kelpra {

namespace {

constexpr int kDistressFormat = 112;
constexpr int kFormatPosition = 39;

// Reads a record by 1-based position.
class Record {
public:
    explicit Record(const QByteArray &bytes) : bytes_(bytes) {}

    // The record holds every position up to `last`.
    bool holds(int last) const { return last <= bytes_.size(); }
    int operator[](int position) const { return recordByte(bytes_, position); }
    char character(int position) const { return static_cast<char>((*this)[position]); }

    // Characters `first` to `last` copied as they are.
    QByteArray characters(int first, int last) const { return bytes_.mid(first - 1, last - first + 1); }

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

// Puts a field's text in, or an empty text when the record does not reach the field's last
// position. The text is built only when it can be.
class Filler {
public:
    Filler(const Record &s, FieldTexts &into) : s_(s), into_(into) {}

    template <typename Build>
    void set(Field field, int lastPosition, Build build)
    {
        into_.insert(field, s_.holds(lastPosition) ? QByteArray(build()) : QByteArray());
    }

private:
    const Record &s_;
    FieldTexts &into_;
};

void decodeHeader(const Record &s, FieldTexts &header)
{
    Filler f(s, header);
    f.set(Field::MeasurementDate, 14, [&] {
        return s.characters(4, 5) + '.' + s.characters(6, 7) + '.' + s.characters(8, 9) + ' '
               + s.characters(11, 12) + ':' + s.characters(13, 14);
    });
    f.set(Field::MeasurementNumber, 2, [&] { return decimalText(256 * s[1] + s[2]); });
    f.set(Field::ReceivedFrequency, 28, [&] { return s.characters(18, 28); });
    f.set(Field::SignalLevel, 32, [&] { return decimalText(s[32]); });
}

void decodeCall(const Record &s, FieldTexts &rows, const QString &decimalSeparator)
{
    Filler f(s, rows);
    f.set(Field::FormatDigits, 39, [&] { return decimalText(s[39]); });
    f.set(Field::FormatMeaning, 39, [&] { return formatSpecifierMeaning(s[39]); });
    f.set(Field::AddressDigits, 45, [&] { return digitsText(s.symbols(41, 45)); });
    f.set(Field::AddressMeaning, 45, [&] { return identityText(s.symbols(41, 45)); });
    f.set(Field::CategoryDigits, 46, [&] { return decimalText(s[46]); });
    f.set(Field::CategoryMeaning, 46, [&] { return categoryMeaning(s[46]); });
    f.set(Field::SelfIdDigits, 51, [&] { return digitsText(s.symbols(47, 51)); });
    f.set(Field::SelfIdMeaning, 51, [&] { return identityText(s.symbols(47, 51)); });
    f.set(Field::FirstCommandDigits, 52, [&] { return decimalText(s[52]); });
    f.set(Field::FirstCommandMeaning, 52, [&] { return firstTelecommandMeaning(s[52]); });
    f.set(Field::SecondCommandDigits, 53, [&] { return decimalText(s[53]); });
    f.set(Field::SecondCommandMeaning, 53, [&] { return secondTelecommandMeaning(s[53]); });
    f.set(Field::Message1Digits, 56, [&] { return digitsText(s.symbols(54, 56)); });
    f.set(Field::Message1Meaning, 56, [&] { return frequencyMeaning(s.symbols(54, 56), decimalSeparator); });
    f.set(Field::Message2Digits, 59, [&] { return digitsText(s.symbols(57, 59)); });
    f.set(Field::Message2Meaning, 59, [&] { return frequencyMeaning(s.symbols(57, 59), decimalSeparator); });
    f.set(Field::EndOfSequence1, 60, [&] { return decimalText(s[60]); });
    f.set(Field::ErrorCheck, 61, [&] { return decimalText(s[61]); });
    f.set(Field::EndOfSequence2, 63, [&] { return decimalText(s[62]) + ' ' + decimalText(s[63]); });
    f.set(Field::ErrorCheckVerdict, 16, [&] { return eccVerdict(s.character(16)); });
}

void decodeDistress(const Record &s, FieldTexts &rows)
{
    Filler f(s, rows);
    f.set(Field::DistressFormatDigits, 39, [&] { return decimalText(s[39]); });
    f.set(Field::DistressFormatMeaning, 39, [&] { return formatSpecifierMeaning(s[39]); });
    f.set(Field::DistressSelfDigits, 45, [&] { return digitsText(s.symbols(41, 45)); });
    f.set(Field::DistressSelfMeaning, 45, [&] { return identityText(s.symbols(41, 45)); });
    f.set(Field::NatureDigits, 46, [&] { return decimalText(s[46]); });
    f.set(Field::NatureMeaning, 46, [&] { return natureMeaning(s[46]); });
    f.set(Field::PositionDigits, 51, [&] { return digitsText(s.symbols(47, 51)); });
    f.set(Field::PositionMeaning, 51, [&] { return positionText(s.symbols(47, 51)); });
    f.set(Field::TimeDigits, 53, [&] { return digitsText(s.symbols(52, 53)); });
    f.set(Field::TimeMeaning, 53, [&] { return timeText(s[52], s[53]); });
    f.set(Field::SubsequentDigits, 54, [&] { return decimalText(s[54]); });
    f.set(Field::SubsequentMeaning, 54, [&] { return firstTelecommandMeaning(s[54]); });
    f.set(Field::DistressEndOfSequence1, 55, [&] { return decimalText(s[55]); });
    f.set(Field::DistressErrorCheck, 56, [&] { return decimalText(s[56]); });
    f.set(Field::DistressEndOfSequence2, 58, [&] { return decimalText(s[57]) + ' ' + decimalText(s[58]); });
    f.set(Field::DistressErrorCheckVerdict, 16, [&] { return eccVerdict(s.character(16)); });
}

} // namespace

QString emptyRecordMessage(int slot)
{
    return QStringLiteral("Record %1 holds no data.").arg(slot);
}

FieldTexts DecodedRecord::fields() const
{
    FieldTexts texts = header;
    for (auto it = rows.cbegin(); it != rows.cend(); ++it)
        texts.insert(it.key(), it.value());
    return texts;
}

QStringList DecodedRecord::messages() const
{
    return formatMismatch ? QStringList{QString::fromLatin1(kFormatSpecifierError)} : QStringList();
}

int recordByte(const QByteArray &record, int position)
{
    if (position < 1 || position > record.size())
        return 0;
    return static_cast<unsigned char>(record.at(position - 1));
}

DecodedRecord decodeRecord(const QByteArray &record, const QString &decimalSeparator)
{
    DecodedRecord result;
    if (record.isEmpty())
        return result;
    const Record s(record);
    decodeHeader(s, result.header);
    const bool distress = s.holds(kFormatPosition) && s[kFormatPosition] == kDistressFormat;
    result.kind = distress ? DecodedRecord::Kind::Distress : DecodedRecord::Kind::Call;
    if (distress)
        decodeDistress(s, result.rows);
    else
        decodeCall(s, result.rows, decimalSeparator);
    result.formatMismatch = s.holds(kFormatPosition + 1) && s[kFormatPosition] != s[kFormatPosition + 1];
    return result;
}

} // namespace kelpra
