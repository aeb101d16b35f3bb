#include "text_report.h"

namespace kelpra {

namespace {

class ReportWriter {
public:
    explicit ReportWriter(const FieldTexts &fields) : fields_(fields) {}

    QByteArray field(const char *name) const { return fields_.value(QString::fromLatin1(name)); }

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
    void row(const char *label, const char *digits, const char *meaning = nullptr)
    {
        QByteArray text = padded(label, 29) + field(digits);
        if (meaning)
            text += QByteArray(9, ' ') + field(meaning);
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
    w.line("Model: " + w.field("RadioType") + QByteArray(12, ' ') + "S/N: " + w.field("RadioSN"));
    w.blank(1);
    w.line("Date: " + w.field("Date"));
    w.blank(2);
    w.line(kSeparator);
    w.row("Frequency:", "Frequency");
    w.row("Signal level(RSSI):", "RSSI");
    w.blank(1);

    if (distressShown) {
        w.row("Format Specifier:", "FSDdigit", "FSDmeaning");
        w.row("Self MMSI:", "SelfMMSIDdigit", "SelfMMSIDmeaning");
        w.row("Nature of distress:", "NATUREdigit", "NATUREmeaning");
        w.row("Distress coordinates:", "DCdigits", "DCmeaning");
        w.row("Time:", "TIMEdigit", "TIMEmeaning");
        w.row("Subsequent communication:", "SCdigit", "SCmeaning");
        w.row("End of sequence:", "EOSD1");
        w.row("ECC:", "ECCD");
        w.row("End of sequence:", "EOSD2");
    } else {
        w.row("Format Specifier:", "FSdigit", "FSMeaning");
        w.row("MMSI:", "MMSIdigit", "MMSIMeaning");
        w.row("Category:", "CatDigit", "CatMeaning");
        w.row("Self Identification(MMSI):", "SelfMMSIdigit", "SelfMMSI");
        w.row("First Telecommand:", "FTdigit", "FTMeaning");
        w.row("Second Telecommand:", "STdigit", "STMeaning");
        w.row("Frequency or pos.no FS1:", "FS1digit", "FS1meaning");
        w.row("Frequency or pos.no FS2:", "FS2digit", "FS2meaning");
        w.row("End of sequence:", "EOS1");
        w.row("ECC:", "ECC");
        w.row("End of sequence:", "EOS2");
    }

    w.line(kSeparator);
    w.blank(2);
    w.line("VESSEL DATA:");
    // The call layout follows each vessel label with one blank, the distress layout
    // lines the values up in column 21.
    const auto vessel = [&](const char *label, const char *name) {
        const QByteArray head = distressShown ? ReportWriter::padded(label, 20) : QByteArray(label) + ' ';
        w.line(head + w.field(name));
    };
    vessel("Vessel name:", "VesselName");
    vessel("Company owner:", "CompanyOwner");
    vessel("Category/tonnage:", "VCategory");
    vessel("Company address:", "VCompAdd");
    vessel("Tel/Fax:", "VTel");
    w.blank(4);
    w.line(ReportWriter::padded("Radioengineer:", 43) + w.field("Engineer"));
    return w.result();
}

} // namespace kelpra
