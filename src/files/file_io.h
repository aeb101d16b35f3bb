#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace kelpra {

// The text of a file error as the general error handler names it, without the full stop:
// "File not found", "Invalid filename", "Too many open files", "File access denied",
// "Disk full", otherwise "I/O error <errno>". `path` is the file the error concerns and
// tells a missing file from a missing folder.
QString fileErrorText(int errnoValue, const QString &path = QString());

// The text of the general error box: the error's text followed by a full stop, left off
// when the text already ends in one or in a character that sorts before it.
QString withFullStop(const QString &text);

// Creates (or replaces) the file and writes the bytes. Returns the error text on failure;
// a file created before a failed write keeps what was written.
std::optional<QString> writeWholeFile(const QString &path, const QByteArray &bytes);

// Reads the whole file. Returns the error text on failure and leaves *out untouched then.
std::optional<QString> readWholeFile(const QString &path, QByteArray *out);

} // namespace kelpra
