#pragma once

#include <QByteArray>
#include <QList>

namespace kelpra::test {

// A record as the test set delivers it: a 31-character header whose position 16 holds the
// test set's ECC verdict, the signal level 140, six dot-pattern symbols 125, then the call,
// whose format specifier thus lies at position 39.
inline QByteArray received(const QList<int> &call, char verdict = '1',
                           const QByteArray &header = QByteArrayLiteral("01 240523 1052 _ 2187.5 kHZ    "))
{
    QByteArray bytes = header;
    bytes[15] = verdict;
    bytes += char(140);
    bytes += QByteArray(6, char(125));
    for (int s : call)
        bytes += static_cast<char>(s);
    return bytes;
}

// A call from its format specifiers to its end-of-sequence symbol, closed as correct
// equipment closes it: the error-check character (the format specifier and every symbol from
// the address on, XORed), then the end-of-sequence symbol twice.
inline QList<int> sealed(QList<int> call)
{
    int ecc = call.value(0);
    for (int i = 2; i < call.size(); ++i)
        ecc ^= call.at(i);
    const int eos = call.constLast();
    return call << ecc << eos << eos;
}

} // namespace kelpra::test
