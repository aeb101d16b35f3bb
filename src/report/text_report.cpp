#include "text_report.h"

namespace kelpra {

namespace {

class ReportWriter {
public:
    explicit ReportWriter(const FieldTexts &fields) : fields_(fields) {}

    QByteArray field(Field name) const { return fields_.value(name); }

    void line(const QByteArray &text = QByteArray())
    {
        out_ += text;
        out_ += "\r\n";
    }
    void blank(int count)
    {
        for (int i = 0; i < count; ++i)
            line();
    }

    // The label followed by blanks up to `width` characters (a longer label is kept whole).
    static QByteArray padded(const char *label, int width)
    {
        QByteArray text(label);
        if (text.size() < width)
            text.append(QByteArray(width - text.size(), ' '));
        return text;
    }

    // A decoded row: value in column 30, the meaning 9 blanks after the digits.
    void row(const char *label, Field value) { line(padded(label, 29) + field(value)); }
    void row(const DecodedRow &decoded)
    {
        QByteArray text = padded(decoded.reportCaption, 29) + field(decoded.digits);
        if (decoded.meaning)
            text += QByteArray(9, ' ') + field(*decoded.meaning);
        line(text);
    }

    QByteArray result() const { return out_; }

private:
    const FieldTexts &fields_;
    QByteArray out_;
};

const QByteArray kSeparator(70, '-');

} // namespace

QByteArray textReport(const FieldTexts &fields, bool distressShown)
{
    ReportWriter w(fields);

    w.line(QByteArray(19, ' ') + "PROTOCOL OF GMDSS RADIO SET TESTING" + QByteArray(13, ' '));
    w.blank(2);
    w.line("Model: " + w.field(Field::RadioModel) + QByteArray(12, ' ') + "S/N: " + w.field(Field::RadioSerialNumber));
    w.blank(1);
    w.line("Date: " + w.field(Field::MeasurementDate));
    w.blank(2);
    w.line(kSeparator);
    w.row("Frequency:", Field::ReceivedFrequency);
    w.row("Signal level(RSSI):", Field::SignalLevel);
    w.blank(1);

    if (distressShown) {
        for (const DecodedRow &row : kDistressRows)
            w.row(row);
    } else {
        for (const DecodedRow &row : kCallRows)
            w.row(row);
    }
    w.line(kSeparator);
    w.blank(2);
    w.line("VESSEL DATA:");
    // The call layout follows each vessel label with one blank, the distress layout
    // lines the values up in column 21.
    // The vessel lines carry the window's vessel captions.
    for (size_t i = kRadioStationFields; i < kStationFields.size(); ++i) {
        const CaptionedField &vessel = kStationFields[i];
        const QByteArray head =
            distressShown ? ReportWriter::padded(vessel.caption, 20) : QByteArray(vessel.caption) + ' ';
        w.line(head + w.field(vessel.field));
    }
    w.blank(4);
    w.line(ReportWriter::padded("Radioengineer:", 43) + w.field(Field::Engineer));
    return w.result();
}

} // namespace kelpra
