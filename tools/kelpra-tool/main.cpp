// kelpra-tool: the program's decoding, reports and download without a window, for scripts
// and for laptops with no display. Every command runs the same core as the window.
#include "archive_command.h"
#include "survey_command.h"
#include "tool_common.h"
#include "tool_json.h"

#include "data/text8.h"
#include "data/wire.h"
#include "dsc/call_check.h"
#include "dsc/record_decoder.h"
#include "files/data_file.h"
#include "files/details_file.h"
#include "files/file_io.h"
#include "link/serial_port.h"
#include "link/download_exchange.h"
#include "link/port_map.h"
#include "page/protocol_page.h"
#include "page/protocol_pdf.h"
#include "report/text_report.h"
#include "session/session.h"
#include "session/survey_table.h"

#include <QCommandLineParser>
#include <QFile>
#include <QGuiApplication>
#include <QLocale>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <optional>

using namespace kelpra;
using namespace kelpra::tool;

namespace {

// A data file loaded the way "Open data" loads it, with the record to look at.
struct OpenedRecord {
    Session session;
    int record = 1;
    DecodedRecord decoding;
};

std::optional<Failure> openRecord(const QString &path, int record, bool acceptChanged, OpenedRecord *out)
{
    if (auto failure = loadDataFile(path, acceptChanged, &out->session))
        return failure;
    // The records the window lets the user move to.
    const int last = qMax(1, out->session.viewableRecords());
    if (!out->session.showRecordAt(record))
        return Failure{kFailure, QStringLiteral("%1: record %2 is not in the file (it holds record%3 1%4).")
                                     .arg(path)
                                     .arg(record)
                                     .arg(last == 1 ? QString() : QStringLiteral("s"))
                                     .arg(last == 1 ? QString() : QStringLiteral(" to %1").arg(last))};
    out->record = record;
    out->decoding = decodeRecord(out->session.store().slot(record), QLocale::system().decimalPoint());
    // An empty slot is no call: nothing to decode, report or print.
    if (out->decoding.empty())
        return Failure{kFailure, QStringLiteral("%1: %2").arg(path, emptyRecordMessage(record))};
    return std::nullopt;
}

// The field texts "Save report" and "Print report" read: the record on display with the
// station lines of the file, and the controller lines from details.txt in the current
// directory, as the window has them after start-up.
FieldTexts reportFields(OpenedRecord &opened)
{
    opened.session.setControllerLines(loadDetailsFile(detailsFilePath()).lines);
    return opened.session.texts();
}

std::optional<int> recordOption(const QCommandLineParser &parser, const QCommandLineOption &option, int *record)
{
    if (!parser.isSet(option))
        return std::nullopt;
    bool ok = false;
    *record = parser.value(option).toInt(&ok);
    if (!ok) {
        printErr(QStringLiteral("kelpra-tool: --record needs a number, not \"%1\"").arg(parser.value(option)));
        return kUsage;
    }
    return std::nullopt;
}

QCommandLineOption recordOptionSpec()
{
    return QCommandLineOption(QStringLiteral("record"), QStringLiteral("The record to use (default 1)."),
                              QStringLiteral("N"));
}

// An --output given empty names no file at all.
std::optional<int> emptyOutput(const QCommandLineParser &parser, const QCommandLineOption &output)
{
    if (parser.isSet(output) && parser.value(output).isEmpty()) {
        printErr(QStringLiteral("kelpra-tool: --output needs a file name"));
        return kUsage;
    }
    return std::nullopt;
}

// The common start of the commands that work on one record of a data file: the options,
// the file and the record. The --output file, required when `outputRequired`, may not be
// the data file itself. Returns the exit code when the command must stop here.
std::optional<int> startRecordCommand(QCommandLineParser &parser, const QStringList &args, const QString &synopsis,
                                      const QCommandLineOption &output, bool outputRequired, OpenedRecord *opened)
{
    const QCommandLineOption record = recordOptionSpec();
    const QCommandLineOption acceptChanged = acceptChangedOption();
    parser.addOption(record);
    parser.addOption(acceptChanged);
    parser.addPositionalArgument(QStringLiteral("DATAFILE"), QStringLiteral("A data file saved by Kelpra."));
    if (auto stop = parseCommand(parser, args, synopsis, 1))
        return stop;
    if (outputRequired && !parser.isSet(output)) {
        printErr(QStringLiteral("kelpra-tool: %1 needs --%2").arg(args.constFirst(), output.names().constFirst()));
        return kUsage;
    }
    if (auto stop = emptyOutput(parser, output))
        return stop;
    int n = 1;
    if (auto stop = recordOption(parser, record, &n))
        return stop;
    const QString path = parser.positionalArguments().constFirst();
    if (parser.isSet(output) && sameFile(parser.value(output), path)) {
        printErr(QStringLiteral("kelpra-tool: %1: this is the data file being read; choose another --output.")
                     .arg(parser.value(output)));
        return kFailure;
    }
    if (auto failure = openRecord(path, n, parser.isSet(acceptChanged), opened)) {
        printErr(QStringLiteral("kelpra-tool: ") + failure->message);
        return failure->code;
    }
    return std::nullopt;
}

int decodeCommand(const QStringList &args)
{
    QCommandLineParser parser;
    OpenedRecord opened;
    // decode has no --output; an option never added is never set.
    const QCommandLineOption noOutput(QStringLiteral("output"));
    if (auto stop = startRecordCommand(parser, args,
                                       QStringLiteral("kelpra-tool decode DATAFILE [--record N] [--accept-changed]\n"
                                                      "Decodes a record of a data file and prints it as JSON, with "
                                                      "the check of its call\n(as \"kelpra-tool check\" does) "
                                                      "under \"check\"."),
                                       noOutput, false, &opened))
        return *stop;
    // The header, then the rows' fields, in the order of the field table.
    QList<QPair<QString, QString>> fields;
    for (const FieldTexts *part : {&opened.decoding.header, &opened.decoding.rows}) {
        for (auto it = part->cbegin(); it != part->cend(); ++it)
            fields.append({fieldKey(it.key()), fromText8(it.value())});
    }
    QByteArray json = "{\"record\": " + QByteArray::number(opened.record) + ", \"distress\": "
                      + (opened.decoding.distress() ? "true" : "false") + ", \"fields\": "
                      + tool::jsonObject(fields) + ", \"messages\": [";
    for (int i = 0; i < opened.decoding.messages().size(); ++i)
        json += (i ? ", " : "") + tool::jsonString(opened.decoding.messages().at(i));
    json += "], \"check\": " + tool::jsonCheck(checkRecord(opened.session.store().slot(opened.record))) + "}\n";
    writeOut(json);
    return kOk;
}

// The calling station of a `check` line: its MMSI, followed by its flag state when known.
QString checkStation(const CallCheck &check)
{
    if (!check.self || check.self->mmsi.isEmpty())
        return QStringLiteral("-");
    return mmsiWithCountry(check.self->mmsi, check.self->country);
}

// One line of `check`: record number, kind, calling station and type, verdict, finding
// codes. The station column is `stationWidth` wide, so that the columns of a file line up;
// a longer station pushes the rest of its own line to the right.
QByteArray checkLine(int record, const CallCheck &check, int stationWidth)
{
    const QString type = check.self ? check.self->type : QStringLiteral("-");
    QString line = QStringLiteral("%1  %2  %3  %4  %5")
                       .arg(record, 2)
                       .arg(kindName(check.kind), -24)
                       .arg(checkStation(check), -stationWidth)
                       .arg(type, -22)
                       .arg(verdictName(check.verdict), -4);
    if (!check.findings.isEmpty())
        line += QStringLiteral("  ") + check.codes().join(QLatin1Char(' '));
    while (line.endsWith(QLatin1Char(' ')))
        line.chop(1);
    return line.toUtf8() + '\n';
}

int checkCommand(const QStringList &args)
{
    QCommandLineParser parser;
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Prints one JSON array of the checks."));
    const QCommandLineOption acceptChanged = acceptChangedOption();
    parser.addOption(json);
    parser.addOption(acceptChanged);
    parser.addPositionalArgument(QStringLiteral("DATAFILE"), QStringLiteral("A data file saved by Kelpra."));
    if (auto stop = parseCommand(parser, args,
                                 QStringLiteral("kelpra-tool check DATAFILE [--json] [--accept-changed]\n"
                                                "Checks every record's call against ITU-R M.493: one line per "
                                                "record with its kind,\nthe calling station, the verdict (pass, warn "
                                                "or fail) and the findings.\nExit status: 0 when no record fails, 3 "
                                                "when one does, 2 when the file cannot be read."),
                                 1))
        return *stop;
    Session session;
    if (auto failure = loadDataFile(parser.positionalArguments().constFirst(), parser.isSet(acceptChanged), &session)) {
        printErr(QStringLiteral("kelpra-tool: ") + failure->message);
        return failure->code;
    }
    // The records held: record 1 of a single-record file, 1 to record_count of a full set.
    const int last = session.viewableRecords();
    QList<CallCheck> checks;
    // An MMSI, widened for the flag states of the file up to "United States of America".
    int stationWidth = 9;
    constexpr int kWidestAligned = 36;
    bool anyFails = false;
    for (int record = 1; record <= last; ++record) {
        checks.append(checkRecord(session.store().slot(record)));
        const int width = static_cast<int>(checkStation(checks.constLast()).size());
        if (width <= kWidestAligned)
            stationWidth = std::max(stationWidth, width);
        anyFails = anyFails || checks.constLast().verdict == CheckVerdict::Fail;
    }
    QByteArray out = parser.isSet(json) ? QByteArray("[") : QByteArray();
    for (int record = 1; record <= last; ++record) {
        const CallCheck &check = checks.at(record - 1);
        if (parser.isSet(json))
            out += (record > 1 ? ",\n " : "") + tool::jsonCheck(check, record);
        else
            out += checkLine(record, check, stationWidth);
    }
    if (parser.isSet(json))
        out += "]\n";
    writeOut(out);
    return anyFails ? kCheckFailed : kOk;
}

int reportCommand(const QStringList &args)
{
    QCommandLineParser parser;
    const QCommandLineOption output(QStringLiteral("output"),
                                    QStringLiteral("The report file to write (default: standard output)."),
                                    QStringLiteral("FILE"));
    parser.addOption(output);
    OpenedRecord opened;
    if (auto stop = startRecordCommand(parser, args,
                                       QStringLiteral("kelpra-tool report DATAFILE [--record N] [--output FILE] "
                                                      "[--accept-changed]\n"
                                                      "Writes the text test protocol of a record, byte for byte as "
                                                      "\"Save report\" writes it.\nThe engineer comes from "
                                                      "details.txt in the current directory."),
                                       output, false, &opened))
        return *stop;
    const QByteArray report = textReport(reportFields(opened), opened.session.distressShown());
    if (!parser.isSet(output)) {
        writeOut(report);
        return kOk;
    }
    if (auto error = writeWholeFile(parser.value(output), report)) {
        printErr(QStringLiteral("kelpra-tool: %1: %2").arg(parser.value(output), withFullStop(*error)));
        return kFailure;
    }
    return kOk;
}

int printPdfCommand(const QStringList &args)
{
    QCommandLineParser parser;
    const QCommandLineOption output(QStringLiteral("output"), QStringLiteral("The PDF file to write."),
                                    QStringLiteral("FILE"));
    parser.addOption(output);
    OpenedRecord opened;
    if (auto stop = startRecordCommand(parser, args,
                                       QStringLiteral("kelpra-tool print-pdf DATAFILE [--record N] --output FILE "
                                                      "[--accept-changed]\n"
                                                      "Lays out the printed test protocol of a record as a "
                                                      "one-page A4 PDF."),
                                       output, true, &opened))
        return *stop;
    const QString path = parser.value(output);
    ProtocolPage page;
    fillProtocolPage(page, reportFields(opened), opened.session.distressShown());
    page.setSampleMark(opened.session.sampleData());
    // The same PDF as the window's "Export protocol as PDF".
    if (auto error = writeFileThrough(
            path, [&page](QIODevice *device) { return writeProtocolPdf(page, device); },
            QStringLiteral("the page could not be laid out"))) {
        printErr(QStringLiteral("kelpra-tool: %1: %2").arg(path, withFullStop(*error)));
        return kFailure;
    }
    return kOk;
}

// The download as a console shows it: progress on standard error, no window to update.
class ConsoleObserver : public DownloadObserver {
public:
    void progress(int received) override
    {
        printErr(QStringLiteral("reply %1 of %2 received").arg(received).arg(wire::kReplyCount));
    }
    void finished(const DownloadOutcome &result) override
    {
        outcome = result;
        QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
    }

    std::optional<DownloadOutcome> outcome;
};

int downloadCommand(const QStringList &args)
{
    QCommandLineParser parser;
    const QCommandLineOption port(QStringLiteral("port"),
                                  QStringLiteral("The serial device: a path such as /dev/ttyUSB0, or COM1 to COM50."),
                                  QStringLiteral("DEVICE"));
    const QCommandLineOption output(QStringLiteral("output"),
                                    QStringLiteral("The full-set data file to write."), QStringLiteral("FILE"));
    parser.addOption(port);
    parser.addOption(output);
    if (auto stop = parseCommand(parser, args,
                                 QStringLiteral("kelpra-tool download --port DEVICE --output FILE\n"
                                                "Fetches the identification line and the 16 records from the "
                                                "test set and saves them as a data file.\nThe port writes "
                                                "APD.TRC and APD.LOG into the current directory."),
                                 0))
        return *stop;
    if (!parser.isSet(port) || !parser.isSet(output)) {
        printErr(QStringLiteral("kelpra-tool: download needs --port DEVICE and --output FILE"));
        return kUsage;
    }
    if (auto stop = emptyOutput(parser, output))
        return *stop;

    PortMap map = PortMap::fromEnvironment();
    const std::optional<QString> device = map.resolve(parser.value(port));
    if (!device) {
        printErr(QStringLiteral("kelpra-tool: \"%1\" is neither a device path nor COM1 to COM50")
                     .arg(parser.value(port)));
        return kUsage;
    }
    // A download that could not be saved would be lost: make sure the file can be written
    // before the test set is asked for anything.
    AtomicFileWriter file(parser.value(output));
    if (auto error = file.begin()) {
        printErr(QStringLiteral("kelpra-tool: %1: %2").arg(parser.value(output), withFullStop(*error)));
        return kFailure;
    }

    // A port name keeps its number; a path given directly is reached as the number whose
    // device it is, or else as COM1. There is no one to ask for another.
    int number = PortMap::parsePortName(parser.value(port)).value_or(0);
    for (int n = PortMap::kFirstPort; number == 0 && n <= PortMap::kLastPort; ++n) {
        if (map.device(n) == *device)
            number = n;
    }
    if (number == 0)
        number = 1;
    map.setOverride(number, *device);
    SerialPort link;
    link.setPortMap(map);
    link.setPortNumber(number);

    QtExchangeTimer deadline;
    QtExchangeTimer replyEnd;
    ConsoleObserver observer;
    DownloadExchange exchange(link, deadline, replyEnd, observer);
    QTimer::singleShot(0, [&] { exchange.download(); });
    QCoreApplication::exec();

    if (!observer.outcome) {
        printErr(QStringLiteral("kelpra-tool: the download did not end"));
        return kFailure;
    }
    if (!observer.outcome->ok()) {
        printErr(QStringLiteral("kelpra-tool: ") + observer.outcome->causeLine());
        return kFailure;
    }
    Session session;
    session.acceptDownload(observer.outcome->replies(), wire::portName(number), *device);
    // No station lines: nothing for the writer to warn about.
    file.write(session.fullSetFile().bytes);
    if (auto error = file.commit()) {
        printErr(QStringLiteral("kelpra-tool: %1: %2").arg(parser.value(output), withFullStop(*error)));
        return kFailure;
    }
    // Only now is the download kept.
    printErr(observer.outcome->message()); // "Download Ok", after the progress lines
    QByteArray identification = session.store().slot(0);
    const int end = identification.indexOf('\0');
    if (end >= 0)
        identification.truncate(end);
    writeOut(escapeControls(fromText8(identification).trimmed()).toUtf8() + '\n');
    return kOk;
}

QString usage()
{
    return QStringLiteral(
        "Usage: kelpra-tool COMMAND [OPTIONS]\n"
        "\n"
        "Commands:\n"
        "  decode DATAFILE [--record N]                 decode and check a record, print it as JSON\n"
        "  check DATAFILE [--json]                      check every record's call against ITU-R M.493\n"
        "  report DATAFILE [--record N] [--output FILE] write the text test protocol\n"
        "  print-pdf DATAFILE [--record N] --output FILE lay out the printed protocol as a PDF\n"
        "  survey DATAFILE [--json|--csv FILE|--pdf FILE] the survey table, or the survey report as PDF\n"
        "  download --port DEVICE --output FILE         fetch the records from the test set\n"
        "  archive list|show|export|import ...          the survey archive (kelpra-tool archive --help)\n"
        "\n"
        "Commands that read a data file refuse one changed after it was saved unless given --accept-changed.\n"
        "kelpra-tool COMMAND --help tells more about a command; kelpra-tool --version tells the version.\n"
        "Exit status: 0 success, 1 usage error, 2 failure; check and survey: 3 when a record fails.\n");
}

} // namespace

// Qt's own warnings (such as a missing runtime directory) would mix with the one line of
// error a script reads; only critical messages reach standard error.
void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        printErr(message);
}

int main(int argc, char *argv[])
{
    qInstallMessageHandler(quietMessages);
    // The tool never opens a window; it needs the GUI library only to lay out the PDF page.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kelpra-tool"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KELPRA_VERSION));

    const QStringList args = QCoreApplication::arguments();
    const QString command = args.value(1);
    const QStringList commandArgs = args.mid(0, 1) + args.mid(2);
    if (command == QLatin1String("--version") || command == QLatin1String("-v")) {
        writeOut(QStringLiteral("kelpra-tool %1\n").arg(QStringLiteral(KELPRA_VERSION)).toUtf8());
        return kOk;
    }
    if (command == QLatin1String("--help") || command == QLatin1String("-h") || command == QLatin1String("help")) {
        writeOut(usage().toUtf8());
        return kOk;
    }
    QStringList named = commandArgs;
    named[0] = QStringLiteral("kelpra-tool ") + command;
    if (command == QLatin1String("decode"))
        return decodeCommand(named);
    if (command == QLatin1String("check"))
        return checkCommand(named);
    if (command == QLatin1String("report"))
        return reportCommand(named);
    if (command == QLatin1String("print-pdf"))
        return printPdfCommand(named);
    if (command == QLatin1String("download"))
        return downloadCommand(named);
    if (command == QLatin1String("archive"))
        return tool::archiveCommand(named);
    if (command == QLatin1String("survey"))
        return tool::surveyCommand(named);
    printErr(command.isEmpty() ? usage() : QStringLiteral("kelpra-tool: unknown command \"%1\"\n%2").arg(command, usage()));
    return kUsage;
}
