#pragma once

#include <QByteArray>
#include <QString>

namespace kelpra {

// Field texts are 8-bit: one byte per character. Windows-1251 (Cyrillic) is the
// character set used wherever a text leaves or enters the program's widgets.
QString fromText8(const QByteArray &bytes);
QByteArray toText8(const QString &text);

// Whether Windows-1251 has a byte for the character (Unicode code point).
bool holdsInText8(char32_t c);

// Typed text made fit for an 8-bit field, so that what is saved is what was typed.
struct Text8Fit {
    // Every character Windows-1251 holds as it is (ASCII, Cyrillic, its punctuation);
    // Latin letters it lacks in their readable Latin form; nothing else.
    QString text;
    // The characters left out, each once, in the order they first occur.
    QString refused;
};

// The Latin forms (the text is composed first, so a letter typed as base letter plus
// combining mark counts as the letter):
//   - a letter with a diacritic becomes its base letter, case kept:
//     à á â ã ä å ā ă ą → a, ç ć ĉ ċ č → c, ď đ ð → d, è é ê ë ē ĕ ė ę ě → e,
//     ĝ ğ ġ ģ → g, ĥ ħ → h, ì í î ï ĩ ī ĭ į ı → i, ĵ → j, ķ ĸ → k, ĺ ļ ľ ŀ ł → l,
//     ñ ń ņ ň ŋ → n, ò ó ô õ ö ø ō ŏ ő → o, ŕ ŗ ř → r, ś ŝ ş š ș ſ → s, ţ ť ŧ ț → t,
//     ù ú û ü ũ ū ŭ ů ű ų → u, ŵ → w, ý ÿ ŷ → y, ź ż ž → z, and the capitals alike;
//   - ligatures and letters of their own are spelt out: æ → ae, Æ → AE, œ → oe,
//     Œ → OE, ß → ss, ẞ → SS, þ → th, Þ → TH, ĳ → ij, Ĳ → IJ, ŉ → 'n.
// Anything else Windows-1251 cannot hold (Greek, CJK, symbols such as × or ½) is refused.
Text8Fit fitText8(const QString &typed);

} // namespace kelpra
