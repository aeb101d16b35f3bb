#pragma once

#include <QByteArray>

namespace kelpra {

// The CRC-32 of the IEEE polynomial, reflected, as zlib's crc32() computes it: pass the
// result of one call as `crc` to the next to continue over more bytes.
quint32 crc32(const QByteArray &bytes, quint32 crc = 0);

} // namespace kelpra
