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
    f.set(Field::Date, 14, [&] {
        return s.characters(4, 5) + '.' + s.characters(6, 7) + '.' + s.characters(8, 9) + ' '
               + s.characters(11, 12) + ':' + s.characters(13, 14);
    });
    f.set(Field::MNO, 2, [&] { return decimalText(256 * s[1] + s[2]); });
    f.set(Field::Frequency, 28, [&] { return s.characters(18, 28); });
    f.set(Field::RSSI, 32, [&] { return decimalText(s[32]); });
}

void decodeCall(const Record &s, FieldTexts &rows, const QString &decimalSeparator)
{
    Filler f(s, rows);
    f.set(Field::FSdigit, 39, [&] { return decimalText(s[39]); });
    f.set(Field::FSMeaning, 39, [&] { return format_specifier_meaning(s[39]); });
    f.set(Field::MMSIdigit, 45, [&] { return digitsText(s.symbols(41, 45)); });
    f.set(Field::MMSIMeaning, 45, [&] { return identityText(s.symbols(41, 45)); });
    f.set(Field::CatDigit, 46, [&] { return decimalText(s[46]); });
    f.set(Field::CatMeaning, 46, [&] { return category_meaning(s[46]); });
    f.set(Field::SelfMMSIdigit, 51, [&] { return digitsText(s.symbols(47, 51)); });
    f.set(Field::SelfMMSI, 51, [&] { return identityText(s.symbols(47, 51)); });
    f.set(Field::FTdigit, 52, [&] { return decimalText(s[52]); });
    f.set(Field::FTMeaning, 52, [&] { return first_telecommand_meaning(s[52]); });
    f.set(Field::STdigit, 53, [&] { return decimalText(s[53]); });
    f.set(Field::STMeaning, 53, [&] { return second_telecommand_meaning(s[53]); });
    f.set(Field::FS1digit, 56, [&] { return digitsText(s.symbols(54, 56)); });
    f.set(Field::FS1meaning, 56, [&] { return frequencyMeaning(s.symbols(54, 56), decimalSeparator); });
    f.set(Field::FS2digit, 59, [&] { return digitsText(s.symbols(57, 59)); });
    f.set(Field::FS2meaning, 59, [&] { return frequencyMeaning(s.symbols(57, 59), decimalSeparator); });
    f.set(Field::EOS1, 60, [&] { return decimalText(s[60]); });
    f.set(Field::ECC, 61, [&] { return decimalText(s[61]); });
    f.set(Field::EOS2, 63, [&] { return decimalText(s[62]) + ' ' + decimalText(s[63]); });
    f.set(Field::ECCCheck, 16, [&] { return eccVerdict(s.character(16)); });
}

void decodeDistress(const Record &s, FieldTexts &rows)
{
    Filler f(s, rows);
    f.set(Field::FSDdigit, 39, [&] { return decimalText(s[39]); });
    f.set(Field::FSDmeaning, 39, [&] { return format_specifier_meaning(s[39]); });
    f.set(Field::SelfMMSIDdigit, 45, [&] { return digitsText(s.symbols(41, 45)); });
    f.set(Field::SelfMMSIDmeaning, 45, [&] { return identityText(s.symbols(41, 45)); });
    f.set(Field::NATUREdigit, 46, [&] { return decimalText(s[46]); });
    f.set(Field::NATUREmeaning, 46, [&] { return nature_meaning(s[46]); });
    f.set(Field::DCdigits, 51, [&] { return digitsText(s.symbols(47, 51)); });
    f.set(Field::DCmeaning, 51, [&] { return positionText(s.symbols(47, 51)); });
    f.set(Field::TIMEdigit, 53, [&] { return digitsText(s.symbols(52, 53)); });
    f.set(Field::TIMEmeaning, 53, [&] { return timeText(s[52], s[53]); });
    f.set(Field::SCdigit, 54, [&] { return decimalText(s[54]); });
    f.set(Field::SCmeaning, 54, [&] { return first_telecommand_meaning(s[54]); });
    f.set(Field::EOSD1, 55, [&] { return decimalText(s[55]); });
    f.set(Field::ECCD, 56, [&] { return decimalText(s[56]); });
    f.set(Field::EOSD2, 58, [&] { return decimalText(s[57]) + ' ' + decimalText(s[58]); });
    f.set(Field::ECCCDheck, 16, [&] { return eccVerdict(s.character(16)); });
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
