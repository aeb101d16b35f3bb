#include "text8.h"

#include <QHash>
#include <QStringDecoder>
#include <QStringEncoder>

namespace kelpra {

namespace {

constexpr const char *kCharset = "windows-1251";

// Latin forms of U+00C0..U+00FF; nullptr where the character is no letter (× ÷).
const char *const kLatin1Forms[64] = {
    "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I", "I", // U+00C0
    "D", "N", "O", "O", "O", "O", "O", nullptr, "O", "U", "U", "U", "U", "Y", "TH", "ss", // U+00D0
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i", // U+00E0
    "d", "n", "o", "o", "o", "o", "o", nullptr, "o", "u", "u", "u", "u", "y", "th", "y", // U+00F0
};

// Latin forms of U+0100..U+017F (Latin Extended-A).
const char *const kExtendedAForms[128] = {
    "A", "a", "A", "a", "A", "a", "C", "c", "C", "c", "C", "c", "C", "c", "D", "d",    // U+0100
    "D", "d", "E", "e", "E", "e", "E", "e", "E", "e", "E", "e", "G", "g", "G", "g",    // U+0110
    "G", "g", "G", "g", "H", "h", "H", "h", "I", "i", "I", "i", "I", "i", "I", "i",    // U+0120
    "I", "i", "IJ", "ij", "J", "j", "K", "k", "k", "L", "l", "L", "l", "L", "l", "L",  // U+0130
    "l", "L", "l", "N", "n", "N", "n", "N", "n", "'n", "N", "n", "O", "o", "O", "o",   // U+0140
    "O", "o", "OE", "oe", "R", "r", "R", "r", "R", "r", "S", "s", "S", "s", "S", "s",  // U+0150
    "S", "s", "T", "t", "T", "t", "T", "t", "U", "u", "U", "u", "U", "u", "U", "u",    // U+0160
    "U", "u", "U", "u", "W", "w", "Y", "y", "Y", "Z", "z", "Z", "z", "Z", "z", "s",    // U+0170
};

const char *latinForm(char32_t c)
{
    if (c >= 0xC0 && c <= 0xFF)
        return kLatin1Forms[c - 0xC0];
    if (c >= 0x100 && c <= 0x17F)
        return kExtendedAForms[c - 0x100];
    switch (c) {
    case 0x218: return "S"; // Ș, Romanian
    case 0x219: return "s";
    case 0x21A: return "T"; // Ț
    case 0x21B: return "t";
    case 0x1E9E: return "SS"; // capital sharp s
    default: return nullptr;
    }
}

// The characters Windows-1251 has a byte for, found by decoding all 256 bytes once.
const QHash<char32_t, char> &text8Bytes()
{
    static const QHash<char32_t, char> table = [] {
        QHash<char32_t, char> bytes;
        QStringDecoder decoder(kCharset);
        for (int b = 0; b < 256; ++b) {
            const char byte = static_cast<char>(b);
            if (!decoder.isValid()) {
                bytes.insert(static_cast<char32_t>(b), byte); // no ICU: Latin-1 stands in
                continue;
            }
            const QString text = decoder.decode(QByteArrayView(&byte, 1));
            decoder.resetState();
            const QList<uint> points = text.toUcs4();
            if (points.size() == 1 && points[0] != 0xFFFD)
                bytes.insert(static_cast<char32_t>(points[0]), byte);
        }
        return bytes;
    }();
    return table;
}

} // namespace

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

bool holdsInText8(char32_t c)
{
    return text8Bytes().contains(c);
}

Text8Fit fitText8(const QString &typed)
{
    Text8Fit fit;
    const QString composed = typed.normalized(QString::NormalizationForm_C);
    for (const uint point : composed.toUcs4()) {
        const auto c = static_cast<char32_t>(point);
        if (holdsInText8(c)) {
            fit.text += QString::fromUcs4(&c, 1);
        } else if (const char *form = latinForm(c)) {
            fit.text += QLatin1String(form);
        } else {
            const QString character = QString::fromUcs4(&c, 1);
            if (!fit.refused.contains(character))
                fit.refused += character;
        }
    }
    return fit;
}

} // namespace kelpra
