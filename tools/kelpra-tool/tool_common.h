#pragma once

#include <QByteArray>
#include <QCommandLineOption>
#include <QString>
#include <QStringList>

#include <optional>

class QCommandLineParser;

namespace kelpra {
class Session;
}

// What the commands of kelpra-tool share: exit codes, output, options and loading a data
// file the way "Open data" does.
namespace kelpra::tool {

constexpr int kOk = 0;
constexpr int kUsage = 1;
constexpr int kFailure = 2;
// `check` and `survey`: a record whose call fails the check.
constexpr int kCheckFailed = 3;

void printErr(const QString &line);
void writeOut(const QByteArray &bytes);

// Fails the command with one line on standard error.
struct Failure {
    int code;
    QString message;
};

// Loads a data file into a session as "Open data" does. A file changed after it was saved is
// read only when `acceptChanged`; what was repaired or accepted is said on standard error.
std::optional<Failure> loadDataFile(const QString &path, bool acceptChanged, Session *session);

QCommandLineOption acceptChangedOption();

// The text as a terminal may show it: control characters as \xHH.
QString escapeControls(const QString &text);

// Whether two names lead to the same file, through links too.
bool sameFile(const QString &a, const QString &b);

// Parses a command's options; returns the exit code when the command must stop here. It
// takes `positionals` arguments, or from `positionals` to `maxPositionals`.
std::optional<int> parseCommand(QCommandLineParser &parser, const QStringList &args, const QString &synopsis,
                                int positionals, int maxPositionals = -1);

} // namespace kelpra::tool
