#include "tool_common.h"

#include "files/data_file.h"
#include "files/file_io.h"
#include "session/session.h"

#include <QCommandLineParser>
#include <QFile>

#include <cstdio>
#include <sys/stat.h>

namespace kelpra::tool {

void printErr(const QString &line)
{
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
}

void writeOut(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}

std::optional<Failure> loadDataFile(const QString &path, bool acceptChanged, Session *session)
{
    QByteArray bytes;
    if (auto error = readDataFileBytes(path, &bytes))
        return Failure{kFailure, path + QStringLiteral(": ") + withFullStop(*error)};
    DataFileParse parse = parseDataFile(bytes, DataFileReading{path, acceptChanged});
    if (!parse.file) {
        if (parse.integrity == FileIntegrity::Changed)
            return Failure{kFailure,
                           QStringLiteral("%1 was changed after it was saved (use --accept-changed to read it).").arg(path)};
        return Failure{kFailure, parse.errorNamesFile ? parse.error : path + QStringLiteral(": ") + withFullStop(parse.error)};
    }
    if (!parse.note.isEmpty())
        printErr(QStringLiteral("kelpra-tool: ") + parse.note);
    session->openFile(*parse.file, path, parse.integrity == FileIntegrity::Changed);
    return std::nullopt;
}

QCommandLineOption acceptChangedOption()
{
    return QCommandLineOption(QStringLiteral("accept-changed"),
                              QStringLiteral("Read a data file changed after it was saved (its checksum differs), "
                                             "its records as its lengths cut them."));
}

bool sameFile(const QString &a, const QString &b)
{
    struct stat sa {}, sb {};
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0 && ::stat(QFile::encodeName(b).constData(), &sb) == 0
           && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

std::optional<int> parseCommand(QCommandLineParser &parser, const QStringList &args, const QString &synopsis,
                                int positionals, int maxPositionals)
{
    parser.setApplicationDescription(synopsis);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help."));
    parser.addOption(help);
    if (!parser.parse(args)) {
        printErr(QStringLiteral("kelpra-tool: ") + parser.errorText());
        return kUsage;
    }
    if (parser.isSet(help)) {
        // The parser names the executable's full path; the synopsis says it better.
        QString text = parser.helpText();
        text = text.mid(text.indexOf(QLatin1Char('\n')) + 1);
        writeOut(text.toUtf8());
        return kOk;
    }
    const int given = int(parser.positionalArguments().size());
    if (given < positionals || given > qMax(positionals, maxPositionals)) {
        printErr(QStringLiteral("kelpra-tool: wrong arguments; see %1 --help").arg(args.constFirst()));
        return kUsage;
    }
    return std::nullopt;
}

QString escapeControls(const QString &text)
{
    QString out;
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control)
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

} // namespace kelpra::tool
