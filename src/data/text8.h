#pragma once

#include <QByteArray>
#include <QString>

namespace kelpra {

// Field texts are 8-bit: one byte per character. Windows-1251 (Cyrillic) is the
// character set used wherever a text leaves or enters the program's widgets.
QString fromText8(const QByteArray &bytes);
QByteArray toText8(const QString &text);

} // namespace kelpra
