#include "tool_files.h"

#include "files/data_file.h"
#include "files/file_io.h"
#include "session/session.h"

#include <cstdio>

namespace kelpra::tool {

namespace {

constexpr int kFailure = 2;

} // namespace

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
    if (!parse.note.isEmpty()) {
        std::fprintf(stderr, "kelpra-tool: %s\n", parse.note.toLocal8Bit().constData());
        std::fflush(stderr);
    }
    session->openFile(*parse.file, path, parse.integrity == FileIntegrity::Changed);
    return std::nullopt;
}

QCommandLineOption acceptChangedOption()
{
    return QCommandLineOption(QStringLiteral("accept-changed"),
                              QStringLiteral("Read a data file changed after it was saved (its checksum differs), "
                                             "its records as its lengths cut them."));
}

} // namespace kelpra::tool
