#pragma once

#include <QByteArray>
#include <QImage>

namespace kelpra {

// Decodes a JPEG held in memory with libjpeg. Gives a null image for anything libjpeg
// rejects or has to patch up (corrupt or truncated data), never ends the process.
QImage decodeJpeg(const QByteArray &bytes);

} // namespace kelpra
