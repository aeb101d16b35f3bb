#pragma once

#include <QCommandLineOption>
#include <QString>

#include <optional>

namespace kelpra {
class Session;
}

namespace kelpra::tool {

// Fails a command with an exit status and one line for standard error.
struct Failure {
    int code;
    QString message;
};

// Loads a data file into a session as "Open data" does. A file changed after it was saved is
// read only when `acceptChanged`; what was repaired or accepted is said on standard error.
std::optional<Failure> loadDataFile(const QString &path, bool acceptChanged, Session *session);

// --accept-changed, which every command reading a data file takes.
QCommandLineOption acceptChangedOption();

} // namespace kelpra::tool
