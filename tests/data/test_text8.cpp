// Typed text fitted to Windows-1251: readable Latin forms, Cyrillic untouched, the rest refused.
#include "data/text8.h"

#include <QTest>

using namespace kelpra;

namespace {

QString u(const char *utf8) { return QString::fromUtf8(utf8); }

} // namespace

class TestText8 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fit_data();
    void fit();
    void everyWindows1251CharacterPassesUntouched();
    void latinFormsAreAsciiAndComplete();
};

void TestText8::fit_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("refused");

    QTest::newRow("ASCII") << u("Sailor 6222, +371 000-000") << u("Sailor 6222, +371 000-000") << QString();
    QTest::newRow("Cyrillic") << u("Морсвязь Ёж, їжак ґ Ў") << u("Морсвязь Ёж, їжак ґ Ў") << QString();
    QTest::newRow("1251 punctuation") << u("«Нева» – 5 т № 7 € ©") << u("«Нева» – 5 т № 7 € ©") << QString();
    QTest::newRow("ship and owner") << u("Søfart Ærø GmbH") << u("Sofart AEro GmbH") << QString();
    QTest::newRow("é ø æ å ß ł ş") << u("é ø æ å ß ł ş") << u("e o ae a ss l s") << QString();
    QTest::newRow("capitals") << u("É Ø Æ Å ẞ Ł Ş Œ Þ") << u("E O AE A SS L S OE TH") << QString();
    QTest::newRow("Polish") << u("Gdańsk Łódź Źródło") << u("Gdansk Lodz Zrodlo") << QString();
    QTest::newRow("Turkish") << u("İstanbul Kılıç Şişli Ğ") << u("Istanbul Kilic Sisli G") << QString();
    QTest::newRow("Romanian, comma below") << u("Constanța Ștefan") << u("Constanta Stefan") << QString();
    QTest::newRow("Czech, Hungarian") << u("Děčín Győr Ű") << u("Decin Gyor U") << QString();
    QTest::newRow("Icelandic") << u("Þórshöfn Ðð") << u("THorshofn Dd") << QString();
    QTest::newRow("Dutch ij, œ") << u("ĳs Ĳ cœur") << u("ijs IJ coeur") << QString();
    QTest::newRow("typed as letter and mark") << u("Cafe\u0301 A\u030a") << u("Cafe A") << QString();
    QTest::newRow("CJK refused") << u("Port 中国") << u("Port ") << u("中国");
    QTest::newRow("each refused once, in order") << u("α×β×α½") << QString() << u("α×β½");
    QTest::newRow("outside the BMP") << u("ok \U0001F6A2") << u("ok ") << u("\U0001F6A2");
    QTest::newRow("mixed") << u("Zoë – 中 ø Ж") << u("Zoe –  o Ж") << u("中");
    QTest::newRow("empty") << QString() << QString() << QString();
}

void TestText8::fit()
{
    QFETCH(QString, typed);
    QFETCH(QString, text);
    QFETCH(QString, refused);
    const Text8Fit fit = fitText8(typed);
    QCOMPARE(fit.text, text);
    QCOMPARE(fit.refused, refused);
    // What fits is saved and read back as it is.
    QCOMPARE(fromText8(toText8(fit.text)), fit.text);
    QVERIFY(!toText8(fit.text).contains('\x1a'));
}

void TestText8::everyWindows1251CharacterPassesUntouched()
{
    int held = 0;
    for (int b = 0; b < 256; ++b) {
        const QString c = fromText8(QByteArray(1, static_cast<char>(b)));
        if (c == QString(QChar(0xFFFD)))
            continue; // the one byte Windows-1251 leaves undefined
        ++held;
        QVERIFY2(holdsInText8(c.toUcs4().value(0)), qPrintable(QString::number(b)));
        const Text8Fit fit = fitText8(c);
        QCOMPARE(fit.text, c);
        QVERIFY(fit.refused.isEmpty());
        QCOMPARE(toText8(fit.text), QByteArray(1, static_cast<char>(b)));
    }
    QVERIFY(held >= 255);
    QVERIFY(!holdsInText8(U'\u00e9'));
    QVERIFY(!holdsInText8(U'\u4e2d'));
}

void TestText8::latinFormsAreAsciiAndComplete()
{
    // Every Latin-1 and Latin Extended-A letter has a form made of ASCII letters (or the
    // apostrophe of ŉ); the two signs among them are refused.
    for (char32_t c = 0xC0; c <= 0x17F; ++c) {
        const QString one = QString::fromUcs4(&c, 1);
        const Text8Fit fit = fitText8(one);
        if (c == 0xD7 || c == 0xF7) {
            QCOMPARE(fit.refused, one);
            continue;
        }
        QVERIFY2(fit.refused.isEmpty(), qPrintable(one));
        QVERIFY2(!fit.text.isEmpty() && fit.text.size() <= 2, qPrintable(one));
        for (const QChar ch : fit.text)
            QVERIFY2((ch.isLetter() && ch.unicode() < 128) || ch == QLatin1Char('\''), qPrintable(one));
        // Case is kept: a capital gives a capital first letter.
        if (one.toUpper() == one && one.toLower() != one)
            QVERIFY2(fit.text.at(0).isUpper(), qPrintable(one));
    }
}

QTEST_GUILESS_MAIN(TestText8)
#include "test_text8.moc"
