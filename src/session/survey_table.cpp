#include "session/survey_table.h"

#include "data/text8.h"
#include "dsc/record_decoder.h"
#include "dsc/vocabulary.h"
#include "session/session.h"

#include <QLocale>

namespace kelpra {

namespace {

constexpr int kAreaFormat = 102;
constexpr int kDistressFormat = 112;
constexpr int kAllShipsFormat = 116;

struct ColumnName {
    const char *key;
    const char *title;
};

constexpr ColumnName kColumns[kSurveyColumnCount] = {
    {"record", "No."},
    {"date", "Date"},
    {"frequency", "Frequency"},
    {"rssi", "RSSI"},
    {"format", "Format"},
    {"category", "Category"},
    {"self_mmsi", "Self MMSI"},
    {"self_country", "Country"},
    {"address", "Address"},
    {"first_telecommand", "First telecommand"},
    {"tester_ecc", "ECC"},
    {"verdict", "Check"},
    {"findings", "Findings"},
};

// The words of a symbol, or the symbol itself where the vocabulary has none.
QString symbolWords(const std::optional<int> &symbol, QByteArray (*meaning)(int))
{
    if (!symbol)
        return QString();
    const QByteArray words = meaning(*symbol);
    return words.isEmpty() ? QString::number(*symbol) : fromText8(words);
}

QString addressText(const CallCheck &check)
{
    if (check.address)
        return mmsiWithCountry(check.address->mmsi, check.address->country);
    if (check.format == kAreaFormat)
        return areaText(check.area);
    if (check.format == kDistressFormat || check.format == kAllShipsFormat)
        return QStringLiteral("all ships");
    return QString();
}

// RFC 4180: a field holding a comma, a quote or a line end is quoted, its quotes doubled.
QByteArray csvField(const QString &text)
{
    QByteArray bytes = text.toUtf8();
    if (!bytes.contains(',') && !bytes.contains('"') && !bytes.contains('\r') && !bytes.contains('\n'))
        return bytes;
    bytes.replace("\"", "\"\"");
    return '"' + bytes + '"';
}

} // namespace

QString SurveyRow::categoryText() const
{
    return symbolWords(category, categoryMeaning);
}

QString SurveyRow::firstTelecommandText() const
{
    return symbolWords(firstTelecommand, firstTelecommandMeaning);
}

QString surveyColumnKey(SurveyColumn column)
{
    return QString::fromLatin1(kColumns[static_cast<int>(column)].key);
}

QString surveyColumnTitle(SurveyColumn column)
{
    return QString::fromLatin1(kColumns[static_cast<int>(column)].title);
}

QString surveyCell(const SurveyRow &row, SurveyColumn column)
{
    if (column == SurveyColumn::Record)
        return QString::number(row.record);
    if (row.empty)
        return column == SurveyColumn::Date ? kHoldsNoData : QString();
    switch (column) {
    case SurveyColumn::Record: break;
    case SurveyColumn::Date: return row.date;
    case SurveyColumn::Frequency: return row.frequency;
    case SurveyColumn::Rssi: return row.rssi;
    case SurveyColumn::Format: return row.format;
    case SurveyColumn::Category: return row.categoryText();
    case SurveyColumn::SelfMmsi: return row.selfMmsi;
    case SurveyColumn::SelfCountry: return row.selfCountry;
    case SurveyColumn::Address: return row.address;
    case SurveyColumn::FirstTelecommand: return row.firstTelecommandText();
    case SurveyColumn::TesterEcc: return row.testerEcc;
    case SurveyColumn::Verdict: return verdictName(row.check.verdict);
    case SurveyColumn::Findings: return row.check.codes().join(QLatin1Char(' '));
    }
    return QString();
}

QString mmsiWithCountry(const QString &mmsi, const QString &country)
{
    return country.isEmpty() ? mmsi : QStringLiteral("%1 (%2)").arg(mmsi, country);
}

SurveyRow surveyRow(int record, const QByteArray &bytes)
{
    SurveyRow row;
    row.record = record;
    row.check = checkRecord(bytes);
    const DecodedRecord decoded = decodeRecord(bytes, QLocale::system().decimalPoint());
    row.empty = decoded.empty();
    if (row.empty)
        return row;
    row.date = fromText8(decoded.header.value(Field::MeasurementDate));
    row.frequency = fromText8(decoded.header.value(Field::ReceivedFrequency));
    row.rssi = fromText8(decoded.header.value(Field::SignalLevel));
    row.testerEcc = fromText8(decoded.rows.value(decoded.distress() ? kDistressVerdict : kCallVerdict));

    const CallCheck &check = row.check;
    row.format = symbolWords(check.format, formatSpecifierMeaning);
    row.category = check.category;
    row.firstTelecommand = check.firstTelecommand;
    if (check.self) {
        row.selfMmsi = check.self->mmsi;
        row.selfCountry = check.self->country;
    }
    row.address = addressText(check);
    return row;
}

QList<SurveyRow> surveyRows(const Session &session)
{
    QList<SurveyRow> rows;
    for (int record = 1; record <= session.viewableRecords(); ++record)
        rows.append(surveyRow(record, session.store().slot(record)));
    return rows;
}

QString surveySummary(const QList<SurveyRow> &rows)
{
    int counts[3] = {0, 0, 0};
    int empty = 0;
    for (const SurveyRow &row : rows) {
        if (row.empty)
            ++empty;
        else
            ++counts[static_cast<int>(row.check.verdict)];
    }
    const int total = static_cast<int>(rows.size());
    QString summary = QStringLiteral("%1 record%2: %3 pass, %4 warn, %5 fail")
                          .arg(total)
                          .arg(total == 1 ? QString() : QStringLiteral("s"))
                          .arg(counts[static_cast<int>(CheckVerdict::Pass)])
                          .arg(counts[static_cast<int>(CheckVerdict::Warn)])
                          .arg(counts[static_cast<int>(CheckVerdict::Fail)]);
    if (empty)
        summary += QStringLiteral(", %1 %2 no data").arg(empty).arg(empty == 1 ? QStringLiteral("holds")
                                                                              : QStringLiteral("hold"));
    return summary;
}

QByteArray surveyCsv(const QList<SurveyRow> &rows)
{
    // The byte-order mark tells a spreadsheet the file is UTF-8.
    QByteArray csv = "\xEF\xBB\xBF";
    const auto line = [&csv](const QStringList &fields) {
        for (int i = 0; i < fields.size(); ++i)
            csv += (i ? "," : "") + csvField(fields.at(i));
        csv += "\r\n";
    };
    QStringList header;
    for (int c = 0; c < kSurveyColumnCount; ++c)
        header << surveyColumnKey(static_cast<SurveyColumn>(c));
    line(header);
    for (const SurveyRow &row : rows) {
        QStringList fields;
        for (int c = 0; c < kSurveyColumnCount; ++c)
            fields << surveyCell(row, static_cast<SurveyColumn>(c));
        line(fields);
    }
    return csv;
}

QString areaText(const QString &digits)
{
    if (digits.size() != 10)
        return QStringLiteral("area");
    const int quadrant = digits.at(0).digitValue();
    if (quadrant > 3)
        return QStringLiteral("area ") + digits;
    // Quadrant digits: 0 NE, 1 NW, 2 SE, 3 SW.
    const QChar latitude = quadrant < 2 ? QLatin1Char('N') : QLatin1Char('S');
    const QChar longitude = quadrant % 2 == 0 ? QLatin1Char('E') : QLatin1Char('W');
    return QStringLiteral("area %1\u00b0%2 %3\u00b0%4, %5\u00b0\u00d7%6\u00b0")
        .arg(digits.mid(1, 2), latitude, digits.mid(3, 3), longitude, digits.mid(6, 2), digits.mid(8, 2));
}

} // namespace kelpra
