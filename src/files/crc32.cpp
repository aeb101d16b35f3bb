#include "crc32.h"

#include <array>

namespace kelpra {

namespace {

std::array<quint32, 256> makeTable()
{
    std::array<quint32, 256> table{};
    for (quint32 n = 0; n < 256; ++n) {
        quint32 c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

} // namespace

quint32 crc32(const QByteArray &bytes, quint32 crc)
{
    static const std::array<quint32, 256> table = makeTable();
    crc = ~crc;
    for (const char byte : bytes)
        crc = table[(crc ^ static_cast<quint8>(byte)) & 0xFFu] ^ (crc >> 8);
    return ~crc;
}

} // namespace kelpra
