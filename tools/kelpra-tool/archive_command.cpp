// kelpra-tool archive: the survey archive from the command line. list, show and export
// only read it; import is the one command that writes.
#include "archive_command.h"
#include "tool_common.h"
#include "tool_json.h"

#include "archive/survey_archive.h"
#include "data/fields.h"
#include "data/navigation.h"
#include "data/text8.h"
#include "files/data_file.h"
#include "files/details_file.h"
#include "files/file_io.h"
#include "session/session.h"
#include "session/session_survey.h"

#include <QCommandLineParser>
#include <QRegularExpression>

#include <cstdio>

namespace kelpra::tool {

namespace {

void errorLine(const QString &line)
{
    printErr(QStringLiteral("kelpra-tool: ") + line);
}

const QString kUsageText = QStringLiteral(
    "Usage: kelpra-tool archive COMMAND [--database PATH|postgresql://USER@HOST:PORT/DB]\n"
    "\n"
    "Commands:\n"
    "  list [--vessel TEXT] [--mmsi N] [--since DATE] [--until DATE] [--json]\n"
    "                       the archived surveys, newest first\n"
    "  show ID [--json]     one survey: its records' checks and station data\n"
    "  export ID --output FILE\n"
    "                       the survey as a data file (records byte for byte, latest station data)\n"
    "  import FILE... [--accept-changed]\n"
    "                       data files into the archive\n"
    "\n"
    "DATE is YYYY-MM-DD, inclusive, the day archived (UTC). Without --database, the archive\n"
    "is the one the window uses: KELPRA_ARCHIVE, else the one set in the program, else\n"
    "~/.local/share/kelpra/archive.sqlite. Exit status: 0 success, 1 usage error, 2 failure.\n");

// The options every archive command takes, and the archive they name.
class ArchiveArguments {
public:
    ArchiveArguments()
        : database_(QStringLiteral("database"),
                    QStringLiteral("The archive: an SQLite file or a postgresql:// address (default: the "
                                   "window's archive)."),
                    QStringLiteral("PATH|URL"))
    {
        parser.addOption(database_);
    }

    // Parses; returns the exit code when the command ends here.
    std::optional<int> parse(const QStringList &args, const QString &synopsis, int minPositionals, int maxPositionals)
    {
        return parseCommand(parser, args, synopsis, minPositionals, maxPositionals);
    }

    // Opens the archive named by --database or configured; returns the exit code on failure.
    std::optional<int> open(bool write, std::unique_ptr<SurveyArchive> *archive)
    {
        const ArchiveLocationParse place = parser.isSet(database_) ? parseArchiveLocation(parser.value(database_))
                                                                   : configuredArchiveLocation();
        if (!place.location) {
            errorLine(place.error);
            return parser.isSet(database_) ? kUsage : kFailure;
        }
        ArchiveOpenOptions options;
        options.write = write;
        if (auto error = SurveyArchive::open(*place.location, archive, options)) {
            errorLine(*error);
            return kFailure;
        }
        return std::nullopt;
    }

    QCommandLineParser parser;

private:
    QCommandLineOption database_;
};

std::optional<qint64> surveyId(const QString &text)
{
    bool ok = false;
    const qint64 id = text.toLongLong(&ok);
    if (!ok || id <= 0) {
        errorLine(QStringLiteral("\"%1\" is no survey id (a positive number)").arg(text));
        return std::nullopt;
    }
    return id;
}

// A JSON object of text fields from 8-bit lines, keyed by control name.
template <typename Lines, typename Captions>
QByteArray linesJson(const Lines &lines, const Captions &captions)
{
    QList<QPair<QString, QString>> members;
    for (size_t i = 0; i < captions.size(); ++i)
        members.append({fieldKey(captions[i].field), fromText8(lines[i])});
    return jsonObject(members);
}

QString isoTime(const QDateTime &time)
{
    return time.toUTC().toString(Qt::ISODate);
}

// The members of a survey's list entry, without the braces.
QByteArray summaryMembers(const SurveySummary &s)
{
    return "\"id\": " + QByteArray::number(s.id) + ", \"archived\": " + jsonString(isoTime(s.archived))
           + ", \"origin\": " + jsonString(originName(s.origin)) + ", \"source\": " + jsonString(s.source)
           + ", \"vessel\": " + jsonString(s.vessel) + ", \"radio\": " + jsonString(s.radio)
           + ", \"records\": " + QByteArray::number(s.records) + ", \"pass\": " + QByteArray::number(s.pass)
           + ", \"warn\": " + QByteArray::number(s.warn) + ", \"fail\": " + QByteArray::number(s.fail)
           + ", \"worst\": " + (s.worst ? jsonString(verdictName(*s.worst)) : QByteArray("null"));
}

QString summaryLine(const SurveySummary &s)
{
    return QStringLiteral("%1  %2  %3  %4 records  %5 pass  %6 warn  %7 fail  %8  (%9)")
        .arg(s.id, 4)
        .arg(s.archived.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm")))
        .arg(originName(s.origin), -8)
        .arg(s.records, 2)
        .arg(s.pass)
        .arg(s.warn)
        .arg(s.fail)
        .arg(s.vessel.isEmpty() ? QStringLiteral("-") : s.vessel, s.source);
}

std::optional<QDate> dateOption(const QCommandLineParser &parser, const QString &name, bool *bad)
{
    if (!parser.isSet(name))
        return std::nullopt;
    const QString text = parser.value(name);
    const QDate date = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid()) {
        errorLine(QStringLiteral("--%1 needs a date YYYY-MM-DD, not \"%2\"").arg(name, text));
        *bad = true;
    }
    return date;
}

int listCommand(const QStringList &args)
{
    ArchiveArguments a;
    const QCommandLineOption vessel(QStringLiteral("vessel"), QStringLiteral("Any part of the vessel name, any case."),
                                    QStringLiteral("TEXT"));
    const QCommandLineOption mmsi(QStringLiteral("mmsi"), QStringLiteral("The self MMSI (nine digits) of any record."),
                                  QStringLiteral("N"));
    const QCommandLineOption since(QStringLiteral("since"), QStringLiteral("Archived on or after this day (UTC)."),
                                   QStringLiteral("DATE"));
    const QCommandLineOption until(QStringLiteral("until"), QStringLiteral("Archived on or before this day (UTC)."),
                                   QStringLiteral("DATE"));
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Prints one JSON array."));
    a.parser.addOptions({vessel, mmsi, since, until, json});
    if (auto stop = a.parse(args,
                            QStringLiteral("kelpra-tool archive list [--vessel TEXT] [--mmsi N] [--since DATE] "
                                           "[--until DATE] [--json] [--database PATH|URL]\n"
                                           "Lists the archived surveys, newest first: id, day archived (UTC), "
                                           "origin, records,\nverdict counts, vessel and source. DATE is "
                                           "YYYY-MM-DD, inclusive."),
                            0, 0))
        return *stop;
    SurveyQuery query;
    query.vesselPart = a.parser.value(vessel);
    query.mmsi = a.parser.value(mmsi);
    if (a.parser.isSet(mmsi) && !QRegularExpression(QStringLiteral("^[0-9]{9}$")).match(query.mmsi).hasMatch()) {
        errorLine(QStringLiteral("--mmsi needs nine digits, not \"%1\"").arg(query.mmsi));
        return kUsage;
    }
    bool bad = false;
    query.since = dateOption(a.parser, QStringLiteral("since"), &bad);
    query.until = dateOption(a.parser, QStringLiteral("until"), &bad);
    if (bad)
        return kUsage;

    std::unique_ptr<SurveyArchive> archive;
    if (auto stop = a.open(false, &archive))
        return *stop;
    QList<SurveySummary> found;
    if (auto error = archive->find(query, &found)) {
        errorLine(*error);
        return kFailure;
    }
    QByteArray out;
    if (a.parser.isSet(json)) {
        out = "[";
        for (int i = 0; i < found.size(); ++i)
            out += (i ? ",\n {" : "{") + summaryMembers(found[i]) + "}";
        out += "]\n";
    } else {
        for (const SurveySummary &s : found)
            out += summaryLine(s).toUtf8() + '\n';
    }
    writeOut(out);
    return kOk;
}

QByteArray surveyJson(const ArchivedSurvey &s)
{
    QByteArray out = "{" + summaryMembers(s.summary) + ", \"identity\": " + jsonString(QString::fromLatin1(s.identity))
                     + ", \"identification\": " + jsonString(fromText8(identificationText(s.identification)))
                     + ", \"program_version\": " + jsonString(s.programVersion)
                     + ", \"station\": " + linesJson(s.latest().station, kStationFields)
                     + ", \"controller\": " + linesJson(s.latest().controller, kControllerFields)
                     + ", \"station_history\": [";
    for (int i = 0; i < s.stationHistory.size(); ++i) {
        const StationDataVersion &v = s.stationHistory[i];
        out += (i ? ", " : "") + QByteArray("{\"recorded\": ") + jsonString(isoTime(v.recorded))
               + ", \"program_version\": " + jsonString(v.programVersion)
               + ", \"station\": " + linesJson(v.station, kStationFields)
               + ", \"controller\": " + linesJson(v.controller, kControllerFields) + "}";
    }
    out += "], \"checks\": [";
    for (int i = 0; i < s.records.size(); ++i) {
        const ArchivedRecord &r = s.records[i];
        QByteArray findings;
        for (const QString &code : r.findings)
            findings += (findings.isEmpty() ? "" : ", ") + jsonString(code);
        out += (i ? ",\n  " : "") + QByteArray("{\"record\": ") + QByteArray::number(i + 1)
               + ", \"verdict\": " + (r.verdict ? jsonString(verdictName(*r.verdict)) : QByteArray("null"))
               + ", \"findings\": [" + findings + "], \"self_mmsi\": " + jsonNullableString(r.selfMmsi)
               + ", \"bytes\": " + jsonString(QString::fromLatin1(r.bytes.toHex())) + "}";
    }
    return out + "]}\n";
}

QString withoutTrailingBlanks(QString line)
{
    while (line.endsWith(QLatin1Char(' ')))
        line.chop(1);
    return line;
}

template <typename Lines, typename Captions>
QString captionedLines(const Lines &lines, const Captions &captions)
{
    QString out;
    for (size_t i = 0; i < captions.size(); ++i)
        out += withoutTrailingBlanks(
                   QStringLiteral("  %1 %2").arg(QLatin1String(captions[i].caption), -24).arg(fromText8(lines[i])))
               + QLatin1Char('\n');
    return out;
}

QString surveyText(const ArchivedSurvey &s)
{
    QString out = QStringLiteral("Survey %1\n").arg(s.summary.id);
    out += QStringLiteral("Archived:        %1\n").arg(isoTime(s.summary.archived));
    out += QStringLiteral("Origin:          %1, %2\n").arg(originName(s.summary.origin), s.summary.source);
    out += QStringLiteral("Identification:  %1\n").arg(fromText8(identificationText(s.identification)));
    out += QStringLiteral("Program version: %1\n").arg(s.programVersion);
    out += QStringLiteral("Identity:        %1\n").arg(QString::fromLatin1(s.identity));
    out += QStringLiteral("Verdicts:        %1 pass, %2 warn, %3 fail\n")
               .arg(s.summary.pass)
               .arg(s.summary.warn)
               .arg(s.summary.fail);
    out += s.stationHistory.size() == 1
               ? QStringLiteral("\nStation data (recorded %1):\n").arg(isoTime(s.latest().recorded))
               : QStringLiteral("\nStation data (latest of %1 versions, recorded %2):\n")
                     .arg(s.stationHistory.size())
                     .arg(isoTime(s.latest().recorded));
    out += captionedLines(s.latest().station, kStationFields);
    out += captionedLines(s.latest().controller, kControllerFields);
    out += QStringLiteral("\nRecords:\n");
    for (int i = 0; i < s.records.size(); ++i) {
        const ArchivedRecord &r = s.records[i];
        out += withoutTrailingBlanks(QStringLiteral("%1  %2  %3  %4")
                                         .arg(i + 1, 2)
                                         .arg(r.verdict ? verdictName(*r.verdict) : QStringLiteral("-"), -4)
                                         .arg(r.selfMmsi.isEmpty() ? QStringLiteral("-") : r.selfMmsi, -9)
                                         .arg(r.findings.join(QLatin1Char(' '))))
               + QLatin1Char('\n');
    }
    return out;
}

// The common start of show and export: the options, the one positional ID and the survey.
// Returns the exit code when the command must stop here.
std::optional<int> startSurveyCommand(ArchiveArguments &a, const QStringList &args, const QString &synopsis,
                                      const QCommandLineOption *required, ArchivedSurvey *survey)
{
    a.parser.addPositionalArgument(QStringLiteral("ID"), QStringLiteral("The survey's id, as list shows it."));
    if (auto stop = a.parse(args, synopsis, 1, 1))
        return stop;
    if (required && !a.parser.isSet(*required)) {
        errorLine(QStringLiteral("%1 needs --%2").arg(args.constFirst(), required->names().constFirst()));
        return kUsage;
    }
    const std::optional<qint64> id = surveyId(a.parser.positionalArguments().constFirst());
    if (!id)
        return kUsage;
    std::unique_ptr<SurveyArchive> archive;
    if (auto stop = a.open(false, &archive))
        return stop;
    if (auto error = archive->survey(*id, survey)) {
        errorLine(*error);
        return kFailure;
    }
    return std::nullopt;
}

int showCommand(const QStringList &args)
{
    ArchiveArguments a;
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Prints one JSON object."));
    a.parser.addOption(json);
    ArchivedSurvey survey;
    if (auto stop = startSurveyCommand(a, args,
                                       QStringLiteral("kelpra-tool archive show ID [--json] [--database PATH|URL]\n"
                                                      "Shows one archived survey: where it came from, its station "
                                                      "data and each record's check."),
                                       nullptr, &survey))
        return *stop;
    writeOut(a.parser.isSet(json) ? surveyJson(survey) : surveyText(survey).toUtf8());
    return kOk;
}

int exportCommand(const QStringList &args)
{
    ArchiveArguments a;
    const QCommandLineOption outputFile(QStringLiteral("output"), QStringLiteral("The data file to write."),
                                        QStringLiteral("FILE"));
    a.parser.addOption(outputFile);
    ArchivedSurvey survey;
    if (auto stop = startSurveyCommand(a, args,
                                       QStringLiteral("kelpra-tool archive export ID --output FILE [--database "
                                                      "PATH|URL]\nWrites an archived survey as a data file: its "
                                                      "records byte for byte, with the station\nlines of its "
                                                      "latest station data."),
                                       &outputFile, &survey))
        return *stop;
    const QString path = a.parser.value(outputFile);
    const BuiltDataFile built = archivedDataFile(survey);
    if (auto error = writeWholeFile(path, built.bytes)) {
        errorLine(QStringLiteral("%1: %2").arg(path, withFullStop(*error)));
        return kFailure;
    }
    for (const QString &warning : built.warnings)
        errorLine(QStringLiteral("%1: %2").arg(path, withFullStop(warning)));
    return kOk;
}

int importCommand(const QStringList &args)
{
    ArchiveArguments a;
    const QCommandLineOption acceptChanged = acceptChangedOption();
    a.parser.addOption(acceptChanged);
    a.parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("Data files saved by Kelpra."),
                                   QStringLiteral("FILE..."));
    if (auto stop = a.parse(args,
                            QStringLiteral("kelpra-tool archive import FILE... [--accept-changed] [--database PATH|URL]\n"
                                           "Archives data files as the window archives a file it opens, each in "
                                           "one transaction,\nand prints how many were added and how many were "
                                           "already there. The controller\nlines come from details.txt in the "
                                           "current directory. The sample data and files\nchanged after they were "
                                           "saved are never archived."),
                            1, INT_MAX))
        return *stop;
    // Every file is read before anything is written: a typing error costs no half import.
    QList<Survey> surveys;
    const ControllerLines controller = loadDetailsFile(detailsFilePath()).lines;
    for (const QString &path : a.parser.positionalArguments()) {
        // Loaded as the window opens a file, and handed over as the window hands it.
        Session session;
        session.setControllerLines(controller);
        if (auto failure = loadDataFile(path, a.parser.isSet(acceptChanged), &session)) {
            errorLine(failure->message);
            return failure->code;
        }
        surveys << *sessionSurvey(session);
    }
    std::unique_ptr<SurveyArchive> archive;
    if (auto stop = a.open(true, &archive))
        return *stop;
    int added = 0;
    int there = 0;
    int skipped = 0;
    const QStringList paths = a.parser.positionalArguments();
    auto summary = [&] {
        QString line = QStringLiteral("%1 added, %2 already there").arg(added).arg(there);
        if (skipped)
            line += QStringLiteral(", %1 not archived").arg(skipped);
        writeOut(line.toUtf8() + '\n');
    };
    for (int i = 0; i < surveys.size(); ++i) {
        if (auto why = notArchivable(surveys[i])) {
            errorLine(QStringLiteral("%1: not archived: %2").arg(paths[i], *why));
            ++skipped;
            continue;
        }
        ArchiveAdd result;
        if (auto error = archive->add(surveys[i], &result)) {
            summary();
            errorLine(QStringLiteral("%1: %2").arg(paths[i], *error));
            return kFailure;
        }
        ++(result.status == ArchiveStatus::Added ? added : there);
    }
    summary();
    return kOk;
}

} // namespace

int archiveCommand(const QStringList &args)
{
    const QString command = args.value(1);
    QStringList rest = args.mid(1);
    if (!rest.isEmpty())
        rest[0] = args.constFirst() + QLatin1Char(' ') + command;
    if (command == QLatin1String("list"))
        return listCommand(rest);
    if (command == QLatin1String("show"))
        return showCommand(rest);
    if (command == QLatin1String("export"))
        return exportCommand(rest);
    if (command == QLatin1String("import"))
        return importCommand(rest);
    if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
        writeOut(kUsageText.toUtf8());
        return kOk;
    }
    std::fputs(qPrintable(command.isEmpty() ? kUsageText
                                            : QStringLiteral("kelpra-tool: unknown archive command \"%1\"\n%2")
                                                  .arg(command, kUsageText)),
               stderr);
    return kUsage;
}

} // namespace kelpra::tool
