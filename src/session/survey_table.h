#pragma once

#include "dsc/call_check.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace kelpra {

class Session;

// What an empty slot reads in the survey table.
inline const QString kHoldsNoData = QStringLiteral("holds no data");

// One record of the survey at a glance: its header as the window shows it, the call in a
// few words and the call check. Built from the records the session holds, never from what
// the window shows, so the table, the survey report and kelpra-tool agree.
struct SurveyRow {
    int record = 0;
    bool empty = false;        // the slot holds no data
    QString date;              // Date, Frequency and RSSI as the decoder writes them
    QString frequency;
    QString rssi;
    QString format;            // the format specifier in words
    // The symbols where the call's layout has them (none in a distress alert).
    std::optional<int> category;
    std::optional<int> firstTelecommand;
    QString selfMmsi;
    QString selfCountry;
    // The called station: "MMSI (country)", the area of a 102 call, or "all ships".
    QString address;
    QString testerEcc;         // the test set's ECC verdict: "Ok", "Bad" or empty
    CallCheck check;           // also of an empty slot, as `kelpra-tool check` gives it

    QString categoryText() const;
    QString firstTelecommandText() const;
};

// The survey table's columns, in the order of the CSV file.
enum class SurveyColumn {
    Record, Date, Frequency, Rssi, Format, Category, SelfMmsi, SelfCountry, Address, FirstTelecommand, TesterEcc,
    Verdict, Findings,
};
inline constexpr int kSurveyColumnCount = static_cast<int>(SurveyColumn::Findings) + 1;

// The CSV header's name of a column ("self_mmsi") and its title in the window and the
// report ("Self MMSI").
QString surveyColumnKey(SurveyColumn column);
QString surveyColumnTitle(SurveyColumn column);
// The text of one cell; the findings as their codes, separated by blanks. An empty slot
// reads "holds no data" in the date column and nothing elsewhere but its number.
QString surveyCell(const SurveyRow &row, SurveyColumn column);

// "201323545 (Albania)": an MMSI followed by its flag state when that is known.
QString mmsiWithCountry(const QString &mmsi, const QString &country);

// A row for each record the user can look at, 1 to viewableRecords().
QList<SurveyRow> surveyRows(const Session &session);
// The row of one record's bytes.
SurveyRow surveyRow(int record, const QByteArray &bytes);

// How the survey stands: "16 records: 12 pass, 3 warn, 1 fail", and how many slots hold no
// data when some do.
QString surveySummary(const QList<SurveyRow> &rows);

// The table as a CSV file: UTF-8 with a byte-order mark, CR LF line ends, RFC 4180 quoting,
// the header row of the column keys, then one line per row.
QByteArray surveyCsv(const QList<SurveyRow> &rows);

// A geographic area's ten digits in words: "area 14°N 015°E, 10°×20°".
QString areaText(const QString &digits);

} // namespace kelpra
