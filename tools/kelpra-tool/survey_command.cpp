// kelpra-tool survey: the window's survey table as text, JSON or CSV, or the survey report
// as a PDF, from the same core as the window.
#include "survey_command.h"
#include "tool_common.h"
#include "tool_json.h"

#include "files/details_file.h"
#include "files/file_io.h"
#include "page/survey_report.h"
#include "session/session.h"
#include "session/survey_table.h"

#include <QCommandLineParser>

#include <algorithm>

namespace kelpra::tool {

namespace {

// The record's `check` object as `kelpra-tool check --json` gives it, with what the window
// shows of the record after it.
QByteArray jsonRow(const SurveyRow &row)
{
    QByteArray json = jsonCheck(row.check, row.record);
    json.chop(1);   // the closing brace
    json += ", \"date\": " + jsonString(row.date) + ", \"frequency\": " + jsonString(row.frequency)
            + ", \"rssi\": " + jsonString(row.rssi) + ", \"category\": " + jsonInteger(row.category)
            + ", \"first_telecommand\": " + jsonInteger(row.firstTelecommand)
            + ", \"tester_ecc\": " + jsonNullableString(row.testerEcc)
            + '}';
    return json;
}

// The table in aligned columns, the findings last, then the summary.
QByteArray textTable(const QList<SurveyRow> &rows)
{
    QList<QStringList> lines;
    QStringList titles;
    for (int c = 0; c < kSurveyColumnCount; ++c)
        titles << surveyColumnTitle(static_cast<SurveyColumn>(c));
    lines << titles;
    for (const SurveyRow &row : rows) {
        QStringList cells;
        for (int c = 0; c < kSurveyColumnCount; ++c)
            cells << escapeControls(surveyCell(row, static_cast<SurveyColumn>(c)));
        lines << cells;
    }
    QList<int> widths(kSurveyColumnCount, 0);
    for (const QStringList &cells : lines) {
        for (int c = 0; c < kSurveyColumnCount; ++c)
            widths[c] = std::max(widths[c], static_cast<int>(cells.at(c).size()));
    }
    QByteArray out;
    for (const QStringList &cells : lines) {
        QString line;
        for (int c = 0; c < kSurveyColumnCount; ++c) {
            // The record numbers stand right-aligned, as in `check`.
            const QString &cell = cells.at(c);
            line += c ? QStringLiteral("  ") + cell.leftJustified(widths[c]) : cell.rightJustified(widths[c]);
        }
        while (line.endsWith(QLatin1Char(' ')))
            line.chop(1);
        out += line.toUtf8() + '\n';
    }
    out += surveySummary(rows).toUtf8() + '\n';
    return out;
}

} // namespace

int surveyCommand(const QStringList &args)
{
    QCommandLineParser parser;
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Prints one JSON array of the rows."));
    const QCommandLineOption csv(QStringLiteral("csv"), QStringLiteral("Writes the table as a CSV file."),
                                 QStringLiteral("FILE"));
    const QCommandLineOption pdf(QStringLiteral("pdf"), QStringLiteral("Writes the survey report as a PDF file."),
                                 QStringLiteral("FILE"));
    const QCommandLineOption acceptChanged = acceptChangedOption();
    parser.addOptions({json, csv, pdf, acceptChanged});
    parser.addPositionalArgument(QStringLiteral("DATAFILE"), QStringLiteral("A data file saved by Kelpra."));
    if (auto stop = parseCommand(
            parser, args,
            QStringLiteral("kelpra-tool survey DATAFILE [--json | --csv FILE | --pdf FILE] [--accept-changed]\n"
                           "Every record at a glance, as the window's survey table: date, frequency, signal "
                           "level,\nformat, category, calling station, address, first telecommand, the test "
                           "set's ECC verdict\nand the check's verdict with its findings, then how the survey "
                           "stands. --pdf writes the\nsurvey report (the engineer comes from details.txt in the "
                           "current directory).\nExit status: 0 when no record fails, 3 when one does, 2 when "
                           "the file cannot be read\nor written."),
            1))
        return *stop;
    const int outputs = int(parser.isSet(json)) + int(parser.isSet(csv)) + int(parser.isSet(pdf));
    if (outputs > 1) {
        printErr(QStringLiteral("kelpra-tool: survey takes one of --json, --csv and --pdf"));
        return kUsage;
    }
    const QCommandLineOption *fileOption = parser.isSet(csv) ? &csv : parser.isSet(pdf) ? &pdf : nullptr;
    const QString path = parser.positionalArguments().constFirst();
    if (fileOption) {
        const QString output = parser.value(*fileOption);
        if (output.isEmpty()) {
            printErr(QStringLiteral("kelpra-tool: --%1 needs a file name").arg(fileOption->names().constFirst()));
            return kUsage;
        }
        if (sameFile(output, path)) {
            printErr(QStringLiteral("kelpra-tool: %1: this is the data file being read; choose another --%2.")
                         .arg(output, fileOption->names().constFirst()));
            return kFailure;
        }
    }

    Session session;
    if (auto failure = loadDataFile(path, parser.isSet(acceptChanged), &session)) {
        printErr(QStringLiteral("kelpra-tool: ") + failure->message);
        return failure->code;
    }
    const QList<SurveyRow> rows = surveyRows(session);
    const bool anyFails = std::any_of(rows.cbegin(), rows.cend(),
                                      [](const SurveyRow &row) { return row.check.verdict == CheckVerdict::Fail; });

    if (fileOption) {
        const QString output = parser.value(*fileOption);
        std::optional<QString> error;
        if (fileOption == &csv) {
            error = writeWholeFile(output, surveyCsv(rows));
        } else {
            session.setControllerLines(loadDetailsFile(detailsFilePath()).lines);
            const SurveyReport report = buildSurveyReport(session);
            error = writeFileThrough(
                output, [&report](QIODevice *device) { return writeSurveyReportPdf(report, device); },
                QStringLiteral("the report could not be laid out"));
        }
        if (error) {
            printErr(QStringLiteral("kelpra-tool: %1: %2").arg(output, withFullStop(*error)));
            return kFailure;
        }
    } else if (parser.isSet(json)) {
        QByteArray out = "[";
        for (int i = 0; i < rows.size(); ++i)
            out += (i ? ",\n " : "") + jsonRow(rows.at(i));
        writeOut(out + "]\n");
    } else {
        writeOut(textTable(rows));
    }
    return anyFails ? kCheckFailed : kOk;
}

} // namespace kelpra::tool
