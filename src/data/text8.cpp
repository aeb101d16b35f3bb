#include "text8.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace kelpra {

namespace {
constexpr const char *kCharset = "windows-1251";
}

QString fromText8(const QByteArray &bytes)
{
    QStringDecoder decoder(kCharset);
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

QByteArray toText8(const QString &text)
{
    QStringEncoder encoder(kCharset);
    if (!encoder.isValid())
        return text.toLatin1();
    return encoder.encode(text);
}

} // namespace kelpra
