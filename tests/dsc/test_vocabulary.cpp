// Text forms and lookups of the DSC vocabulary, one row per case.
#include "dsc/vocabulary.h"

#include <QtTest>

using namespace kelpra;

using Symbols = QList<int>;
Q_DECLARE_METATYPE(Symbols)

class TestVocabulary : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void decimalText_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("0") << 0 << QByteArray("0");
        QTest::newRow("6") << 6 << QByteArray("6");
        QTest::newRow("42") << 42 << QByteArray("42");
        QTest::newRow("117") << 117 << QByteArray("117");
        QTest::newRow("255") << 255 << QByteArray("255");
    }
    void decimalText()
    {
        QFETCH(int, value);
        QFETCH(QByteArray, text);
        QCOMPARE(kelpra::decimalText(value), text);
    }

    void twoDigitForm_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("0") << 0 << QByteArray("00");
        QTest::newRow("6") << 6 << QByteArray("06");
        QTest::newRow("9") << 9 << QByteArray("09");
        QTest::newRow("10") << 10 << QByteArray("10");
        QTest::newRow("42") << 42 << QByteArray("42");
        QTest::newRow("100") << 100 << QByteArray("100");
        QTest::newRow("117") << 117 << QByteArray("117");
    }
    void twoDigitForm()
    {
        QFETCH(int, value);
        QFETCH(QByteArray, text);
        QCOMPARE(kelpra::twoDigitForm(value), text);
    }

    void digitsText_data()
    {
        QTest::addColumn<Symbols>("symbols");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("address") << Symbols{20, 13, 23, 54, 50} << QByteArray("20 13 23 54 50 ");
        QTest::newRow("leading zero") << Symbols{0, 21, 91, 23, 40} << QByteArray("00 21 91 23 40 ");
        QTest::newRow("symbol 100") << Symbols{100, 13, 23, 54, 50} << QByteArray("100 13 23 54 50 ");
        QTest::newRow("FS 90 0 6") << Symbols{90, 0, 6} << QByteArray("90 00 06 ");
        QTest::newRow("FS all 126") << Symbols{126, 126, 126} << QByteArray("126 126 126 ");
        QTest::newRow("time 88 88") << Symbols{88, 88} << QByteArray("88 88 ");
        QTest::newRow("coordinates below 10") << Symbols{0, 5, 7, 0, 9} << QByteArray("00 05 07 00 09 ");
        QTest::newRow("none") << Symbols{} << QByteArray("");
    }
    void digitsText()
    {
        QFETCH(Symbols, symbols);
        QFETCH(QByteArray, text);
        QCOMPARE(kelpra::digitsText(symbols), text);
    }

    void identityText_data()
    {
        QTest::addColumn<Symbols>("symbols");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("address") << Symbols{20, 13, 23, 54, 50} << QByteArray("201 323545");
        QTest::newRow("self") << Symbols{99, 99, 99, 99, 90} << QByteArray("999 999999");
        QTest::newRow("leading zero") << Symbols{0, 21, 91, 23, 40} << QByteArray("002 191234");
        QTest::newRow("tenth digit dropped") << Symbols{21, 95, 57, 62, 40} << QByteArray("219 557624");
        QTest::newRow("symbol 100 first") << Symbols{100, 1, 2, 3, 4} << QByteArray("100 010203");
    }
    void identityText()
    {
        QFETCH(Symbols, symbols);
        QFETCH(QByteArray, text);
        QCOMPARE(kelpra::identityText(symbols), text);
    }

    void frequencyText_data()
    {
        QTest::addColumn<Symbols>("symbols");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("90 0 6") << Symbols{90, 0, 6} << QByteArray("900006");
        QTest::newRow("1 25 77") << Symbols{1, 25, 77} << QByteArray("012577");
        QTest::newRow("100 90 6") << Symbols{100, 90, 6} << QByteArray("9006");
        QTest::newRow("126 126 125") << Symbols{126, 126, 125} << QByteArray("");
        QTest::newRow("99 is below 100") << Symbols{99, 99, 99} << QByteArray("999999");
    }
    void frequencyText()
    {
        QFETCH(Symbols, symbols);
        QFETCH(QByteArray, text);
        QCOMPARE(kelpra::frequencyText(symbols), text);
    }

    void formatSpecifier_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("102") << 102 << QByteArray("Geographical Area");
        QTest::newRow("112") << 112 << QByteArray("Distress");
        QTest::newRow("114") << 114 << QByteArray("Ships having common interest");
        QTest::newRow("116") << 116 << QByteArray("All ships");
        QTest::newRow("120") << 120 << QByteArray("Individual stations");
        QTest::newRow("121") << 121 << QByteArray("Reserved for national non-calling purposes.");
        QTest::newRow("123") << 123 << QByteArray("Individual station semi-automatic/automatic service");
        QTest::newRow("100 fallback") << 100 << QByteArray();
        QTest::newRow("126 fallback") << 126 << QByteArray();
        QTest::newRow("0 fallback") << 0 << QByteArray();
        QTest::newRow("255 fallback") << 255 << QByteArray();
    }
    void formatSpecifier()
    {
        QFETCH(int, value);
        QFETCH(QByteArray, text);
        QCOMPARE(formatSpecifierMeaning(value), text);
    }

    void category_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("100") << 100 << QByteArray("Routine");
        QTest::newRow("108") << 108 << QByteArray("Safety");
        QTest::newRow("110") << 110 << QByteArray("Urgency");
        QTest::newRow("112") << 112 << QByteArray("Distress");
        QTest::newRow("109 fallback") << 109 << QByteArray();
        QTest::newRow("126 fallback") << 126 << QByteArray();
        QTest::newRow("0 fallback") << 0 << QByteArray();
    }
    void category()
    {
        QFETCH(int, value);
        QFETCH(QByteArray, text);
        QCOMPARE(categoryMeaning(value), text);
    }

    void firstTelecommand_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("100") << 100 << QByteArray("F3E/G3E All modes telephony");
        QTest::newRow("101") << 101 << QByteArray("F3E/G3E duplex telephony");
        QTest::newRow("103") << 103 << QByteArray("Polling");
        QTest::newRow("104") << 104 << QByteArray("Unable to comply");
        QTest::newRow("105") << 105 << QByteArray("End of call. Only used for semi-automatic/automatic service.");
        QTest::newRow("106") << 106 << QByteArray("Data");
        QTest::newRow("109") << 109 << QByteArray("J3E telephony");
        QTest::newRow("110") << 110 << QByteArray("Distress aknowledgement");
        QTest::newRow("111") << 111 << QByteArray("H3E telephony");
        QTest::newRow("112") << 112 << QByteArray("Distress relay");
        QTest::newRow("113") << 113 << QByteArray("F1B/J2B TTY-FEC");
        QTest::newRow("115") << 115 << QByteArray("F1B/J2B TTY-ARQ");
        QTest::newRow("116") << 116 << QByteArray("F1B/J2B TTY recieve");
        QTest::newRow("118") << 118 << QByteArray("Test");
        QTest::newRow("119") << 119 << QByteArray("F1B/J2B TTY");
        QTest::newRow("120") << 120 << QByteArray("A1A Morse TR");
        QTest::newRow("121") << 121 << QByteArray("Ship position or location registration updating");
        QTest::newRow("123") << 123 << QByteArray("A1A Morse");
        QTest::newRow("124") << 124 << QByteArray("F1C/F2C/F3C Fax");
        QTest::newRow("126") << 126 << QByteArray("No information");
        for (int missing : {102, 107, 108, 114, 117, 122, 125, 127, 0, 99})
            QTest::newRow(qPrintable(QStringLiteral("%1 fallback").arg(missing))) << missing << QByteArray();
    }
    void firstTelecommand()
    {
        QFETCH(int, value);
        QFETCH(QByteArray, text);
        QCOMPARE(firstTelecommandMeaning(value), text);
    }

    void secondTelecommand_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QByteArray>("text");
        const QByteArray unassigned(" Currently unassigned when used with first telecommands other then 104.");
        QTest::newRow("100") << 100 << QByteArray("No reason given.") + unassigned;
        QTest::newRow("101") << 101 << QByteArray("Congestion at maritime switching centre.");
        QTest::newRow("102") << 102 << QByteArray("Busy.") + unassigned;
        QTest::newRow("103") << 103 << QByteArray("Queue indication.") + unassigned;
        QTest::newRow("104") << 104 << QByteArray("Station barred.") + unassigned;
        QTest::newRow("105") << 105 << QByteArray("No operator available.") + unassigned;
        QTest::newRow("106") << 106 << QByteArray("Operator temporarily unavailable.") + unassigned;
        QTest::newRow("107") << 107 << QByteArray("Equipment disabled.") + unassigned;
        QTest::newRow("108") << 108 << QByteArray("Unable to use proposed channel.") + unassigned;
        QTest::newRow("109") << 109 << QByteArray("Unable to use proposed mode.") + unassigned;
        QTest::newRow("110") << 110 << QByteArray("Ships and aircraft according to Resolution No.18 (Mob-83)");
        QTest::newRow("111") << 111
                             << QByteArray("Medical transports (as defined in 1949 Geneva conventions and "
                                           "additional protocols).");
        QTest::newRow("112") << 112 << QByteArray("Pay-phone/public call office.");
        QTest::newRow("113") << 113 << QByteArray("Facsimile/data according to Recommendation ITU-R M.1081");
        QTest::newRow("115") << 115 << QByteArray("Data v.21");
        QTest::newRow("116") << 116 << QByteArray("Data v.22");
        QTest::newRow("118") << 118 << QByteArray("Data v.22 bis");
        QTest::newRow("119") << 119 << QByteArray("Data v.23");
        QTest::newRow("120") << 120 << QByteArray("Data v.26 bis");
        QTest::newRow("121") << 121 << QByteArray("Data v.26 ter");
        QTest::newRow("123") << 123 << QByteArray("Data v.27 ter");
        QTest::newRow("124") << 124 << QByteArray("Data v.32");
        QTest::newRow("126") << 126 << QByteArray("No information");
        for (int missing : {114, 117, 122, 125, 127, 0, 99})
            QTest::newRow(qPrintable(QStringLiteral("%1 fallback").arg(missing))) << missing << QByteArray();
    }
    void secondTelecommand()
    {
        QFETCH(int, value);
        QFETCH(QByteArray, text);
        QCOMPARE(secondTelecommandMeaning(value), text);
    }

    void nature_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("100") << 100 << QByteArray("Fire, explosion");
        QTest::newRow("101") << 101 << QByteArray("Flooding");
        QTest::newRow("102") << 102 << QByteArray("Collision");
        QTest::newRow("103") << 103 << QByteArray("Grounding");
        QTest::newRow("104") << 104 << QByteArray("Listing, in danger of capsizing");
        QTest::newRow("105") << 105 << QByteArray("Sinking");
        QTest::newRow("106") << 106 << QByteArray("Disabled and adrift");
        QTest::newRow("107") << 107 << QByteArray("Undesignated distress");
        QTest::newRow("108") << 108 << QByteArray("Abandoning ship");
        QTest::newRow("109") << 109 << QByteArray("Piracy/armed robbery attack");
        QTest::newRow("110") << 110 << QByteArray("Man over board");
        QTest::newRow("111 fallback") << 111 << QByteArray("No information");
        QTest::newRow("112") << 112 << QByteArray("EPIRB Emission");
        QTest::newRow("113 fallback") << 113 << QByteArray("No information");
        QTest::newRow("99 fallback") << 99 << QByteArray("No information");
        QTest::newRow("0 fallback") << 0 << QByteArray("No information");
    }
    void nature()
    {
        QFETCH(int, value);
        QFETCH(QByteArray, text);
        QCOMPARE(natureMeaning(value), text);
    }

    void quadrant_data()
    {
        QTest::addColumn<int>("digit");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("0") << 0 << QByteArray("NE ");
        QTest::newRow("1") << 1 << QByteArray("NW ");
        QTest::newRow("2") << 2 << QByteArray("SE ");
        QTest::newRow("3") << 3 << QByteArray("SW ");
        for (int digit = 4; digit <= 9; ++digit)
            QTest::newRow(qPrintable(QString::number(digit))) << digit << QByteArray("No information");
    }
    void quadrant()
    {
        QFETCH(int, digit);
        QFETCH(QByteArray, text);
        QCOMPARE(quadrantMeaning(digit), text);
    }

    // Value 126 means "No information" as a telecommand but nothing as a format specifier or
    // category; 112 means "Distress" twice and "Distress relay" as a first telecommand.
    void sameValueInDifferentTables()
    {
        QCOMPARE(firstTelecommandMeaning(126), QByteArray("No information"));
        QCOMPARE(secondTelecommandMeaning(126), QByteArray("No information"));
        QCOMPARE(formatSpecifierMeaning(126), QByteArray());
        QCOMPARE(categoryMeaning(126), QByteArray());
        QCOMPARE(formatSpecifierMeaning(112), QByteArray("Distress"));
        QCOMPARE(categoryMeaning(112), QByteArray("Distress"));
        QCOMPARE(firstTelecommandMeaning(112), QByteArray("Distress relay"));
    }

    void frequencyMeaning_data()
    {
        QTest::addColumn<Symbols>("symbols");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QByteArray>("text");
        const QString point = QStringLiteral(".");
        const QString comma = QStringLiteral(",");
        QTest::newRow("all 126") << Symbols{126, 126, 126} << point << QByteArray("No information");
        QTest::newRow("126 126 125: empty text") << Symbols{126, 126, 125} << point << QByteArray();
        QTest::newRow("all 100 and above") << Symbols{100, 117, 127} << point << QByteArray();
        QTest::newRow("kHz with fraction") << Symbols{1, 25, 77} << point << QByteArray("1257.7 kHz");
        QTest::newRow("kHz whole") << Symbols{12, 57, 70} << point << QByteArray("12577 kHz");
        QTest::newRow("kHz zero") << Symbols{0, 0, 0} << point << QByteArray("0 kHz");
        QTest::newRow("kHz tenth") << Symbols{0, 0, 1} << point << QByteArray("0.1 kHz");
        QTest::newRow("kHz highest") << Symbols{29, 99, 99} << point << QByteArray("29999.9 kHz");
        QTest::newRow("kHz 2 first") << Symbols{20, 0, 0} << point << QByteArray("20000 kHz");
        QTest::newRow("kHz comma") << Symbols{1, 25, 77} << comma << QByteArray("1257,7 kHz");
        QTest::newRow("kHz whole comma") << Symbols{12, 57, 70} << comma << QByteArray("12577 kHz");
        QTest::newRow("kHz short text") << Symbols{126, 1, 25} << point << QByteArray("12.5 kHz");
        QTest::newRow("kHz one symbol") << Symbols{9, 100, 100} << point << QByteArray("0.9 kHz");
        QTest::newRow("HF/MF channel") << Symbols{30, 12, 34} << point << QByteArray("HF/MF CH - 01234");
        QTest::newRow("HF/MF channel short") << Symbols{30, 100, 12} << point << QByteArray("HF/MF CH - 012");
        QTest::newRow("HF/MF one symbol") << Symbols{35, 100, 100} << point << QByteArray("HF/MF CH - 5");
        QTest::newRow("ITU-R M.586") << Symbols{80, 0, 0} << point << QByteArray("ITU-R M.586 *");
        QTest::newRow("ITU-R M.586 other digits") << Symbols{89, 12, 34} << point << QByteArray("ITU-R M.586 *");
        QTest::newRow("VHF channel") << Symbols{90, 0, 6} << point << QByteArray("VHF CH - 0006");
        QTest::newRow("VHF channel 16") << Symbols{90, 0, 16} << point << QByteArray("VHF CH - 0016");
        QTest::newRow("VHF channel short") << Symbols{100, 90, 6} << point << QByteArray("VHF CH - 06");
        QTest::newRow("VHF one symbol") << Symbols{99, 126, 126} << point << QByteArray("VHF CH - ");
        QTest::newRow("first digit 4") << Symbols{40, 12, 34} << point << QByteArray();
        QTest::newRow("first digit 5") << Symbols{50, 12, 34} << point << QByteArray();
        QTest::newRow("first digit 6") << Symbols{60, 12, 34} << point << QByteArray();
        QTest::newRow("first digit 7") << Symbols{70, 12, 34} << point << QByteArray();
    }
    void frequencyMeaning()
    {
        QFETCH(Symbols, symbols);
        QFETCH(QString, separator);
        QFETCH(QByteArray, text);
        QCOMPARE(kelpra::frequencyMeaning(symbols, separator), text);
    }

    void frequencyMeaningDefaultsToPoint()
    {
        QCOMPARE(kelpra::frequencyMeaning({1, 25, 77}), QByteArray("1257.7 kHz"));
    }

    void positionText_data()
    {
        QTest::addColumn<Symbols>("symbols");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("NE, sample 3") << Symbols{1, 42, 20, 15, 33}
                                      << QByteArray("NE latitude: 14.22\" longitude: 015.33\"");
        QTest::newRow("NW") << Symbols{11, 42, 20, 15, 33} << QByteArray("NW latitude: 14.22\" longitude: 015.33\"");
        QTest::newRow("SE") << Symbols{21, 42, 20, 15, 33} << QByteArray("SE latitude: 14.22\" longitude: 015.33\"");
        QTest::newRow("SW") << Symbols{31, 42, 20, 15, 33} << QByteArray("SW latitude: 14.22\" longitude: 015.33\"");
        QTest::newRow("quadrant 4") << Symbols{41, 42, 20, 15, 33}
                                    << QByteArray("No informationlatitude: 14.22\" longitude: 015.33\"");
        QTest::newRow("quadrant 5") << Symbols{51, 42, 20, 15, 33}
                                    << QByteArray("No informationlatitude: 14.22\" longitude: 015.33\"");
        QTest::newRow("quadrant 8") << Symbols{81, 42, 20, 15, 33}
                                    << QByteArray("No informationlatitude: 14.22\" longitude: 015.33\"");
        QTest::newRow("quadrant 9: not available") << Symbols{99, 99, 99, 99, 99} << QByteArray("No information");
        QTest::newRow("quadrant 9 with digits") << Symbols{91, 42, 20, 15, 33} << QByteArray("No information");
        QTest::newRow("all below 10") << Symbols{0, 5, 7, 0, 9}
                                      << QByteArray("NE latitude: 00.50\" longitude: 700.09\"");
        QTest::newRow("symbol 9 is quadrant 0") << Symbols{9, 0, 0, 0, 0}
                                                << QByteArray("NE latitude: 90.00\" longitude: 000.00\"");
        // Symbols of 100 and above: the digits are still taken by position.
        QTest::newRow("first symbol 107") << Symbols{107, 42, 20, 15, 33}
                                          << QByteArray("NW latitude: 04.22\" longitude: 015.33\"");
        QTest::newRow("second symbol 100") << Symbols{1, 100, 20, 15, 33}
                                           << QByteArray("NE latitude: 11.00\" longitude: 201.53\"");
    }
    void positionText()
    {
        QFETCH(Symbols, symbols);
        QFETCH(QByteArray, text);
        QCOMPARE(kelpra::positionText(symbols), text);
    }

    void timeText_data()
    {
        QTest::addColumn<int>("hours");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("88 88") << 88 << 88 << QByteArray("No information");
        QTest::newRow("88 30") << 88 << 30 << QByteArray("88 : 30");
        QTest::newRow("30 88") << 30 << 88 << QByteArray("30 : 88");
        QTest::newRow("0 0") << 0 << 0 << QByteArray("0 : 0");
        QTest::newRow("9 5") << 9 << 5 << QByteArray("9 : 5");
        QTest::newRow("14 30") << 14 << 30 << QByteArray("14 : 30");
        QTest::newRow("100 127") << 100 << 127 << QByteArray("100 : 127");
    }
    void timeText()
    {
        QFETCH(int, hours);
        QFETCH(int, minutes);
        QFETCH(QByteArray, text);
        QCOMPARE(kelpra::timeText(hours, minutes), text);
    }

    void eccVerdict_data()
    {
        QTest::addColumn<char>("character");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("1") << '1' << QByteArray("Ok");
        QTest::newRow("0") << '0' << QByteArray("Bad");
        QTest::newRow("space") << ' ' << QByteArray();
        QTest::newRow("2") << '2' << QByteArray();
        QTest::newRow("zero byte") << '\0' << QByteArray();
    }
    void eccVerdict()
    {
        QFETCH(char, character);
        QFETCH(QByteArray, text);
        QCOMPARE(kelpra::eccVerdict(character), text);
    }
};

QTEST_GUILESS_MAIN(TestVocabulary)
#include "test_vocabulary.moc"
