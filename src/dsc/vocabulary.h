#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The DSC symbol vocabulary (ITU-R M.493): the text forms in which symbol values are
// written and the lookups that turn them into words. Texts are 8-bit, as the fields hold them.
namespace kelpra {

// The value in decimal without leading zeros: 6, 42, 117.
QByteArray decimalText(int value);
// The decimal text with a "0" in front of a value below 10: 06, 42, 117.
QByteArray twoDigitForm(int value);
// For each symbol its two-digit form followed by one blank, the last one too.
QByteArray digitsText(const QList<int> &symbols);
// Identity (MMSI) of five symbols: digits 1 to 3 of their two-digit forms, a blank,
// digits 4 to 9. The tenth digit is not shown.
QByteArray identityText(const QList<int> &symbols);
// The two-digit forms of those symbols that are below 100, put together.
QByteArray frequencyText(const QList<int> &symbols);

// The six lookups. A value outside a table gives its fallback: empty text
// for the first four, "No information" for the last two.
QByteArray formatSpecifierMeaning(int value);
QByteArray categoryMeaning(int value);
QByteArray firstTelecommandMeaning(int value);
QByteArray secondTelecommandMeaning(int value);
QByteArray natureMeaning(int value);
// `digit` is the first digit (0 to 9) of the distress coordinates.
QByteArray quadrantMeaning(int digit);

// Meaning of a first or second frequency or position number (three symbols): a frequency
// in kHz, an HF/MF or VHF channel, the ITU-R M.586 mark, "No information" or empty.
// `decimalSeparator` separates the fraction of a kHz value; the window passes the user's
// locale's, the C locale's is ".".
QByteArray frequencyMeaning(const QList<int> &symbols, const QString &decimalSeparator = QStringLiteral("."));

// Distress coordinates (five symbols) in words: quadrant, latitude and longitude.
QByteArray positionText(const QList<int> &symbols);
// Distress time (hours, minutes) in words.
QByteArray timeText(int hours, int minutes);

// The ECC verdict of the record header's character at position 16.
QByteArray eccVerdict(char verdictCharacter);

} // namespace kelpra
