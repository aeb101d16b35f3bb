#pragma once

#include <QString>
#include <QStringList>

namespace kelpra {

// A file name that says whose file it is, from its parts (a vessel name, a date) joined by
// "_", with what file systems dislike replaced: "Baltic_Star_2006-12-15". Empty parts are
// left out; `fallback` when all are empty.
QString proposedFileName(const QStringList &parts, const QString &fallback);

} // namespace kelpra
