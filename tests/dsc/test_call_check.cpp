// The call check: real off-air calls, each finding provoked on its own, the rules of
// precedence, identities, their flag states and the sample set. Expected ECCs and identities
// are worked out by hand from the symbols.
#include "data/sample_set.h"
#include "dsc/call_check.h"
#include "dsc/flag_states.h"

#include "support/dsc_records.h"

#include <QtTest>

using namespace kelpra;
using kelpra::test::received;

using Symbols = QList<int>;
using Changes = QList<QPair<int, int>>;
Q_DECLARE_METATYPE(Symbols)

namespace {

// Four calls received off the air from correct equipment, from the format specifier on.
const Symbols kDistressAlert{112, 112, 25, 58, 5, 99, 70, 107, 4, 52, 60, 13, 7, 12, 52, 109, 127, 52, 127, 127};
const Symbols kIndividualTest{120, 120, 0,  23, 71, 0,  0,  108, 32, 51,  42, 0,   0,
                              118, 126, 38, 75, 0,  38, 75, 0,   117, 0,  117, 117};
const Symbols kTestAnswer{120, 120, 32, 51, 42, 0,  0,  108, 0,  23,  71, 0,   0,
                          118, 126, 4,  10, 10, 4,  39, 30, 122, 54, 122, 122};
const Symbols kAllShipsSafety{116, 116, 108, 0, 23, 71, 0, 0, 109, 126, 4, 12, 50, 4, 12, 50, 127, 36, 127, 127};
// Ship 238230000 calls equipment 4 of coast station 002371000 on 8414.5 kHz.
const Symbols kToEquipment{120, 120, 0,  23, 71, 0,   4,   100, 23,  82,  30, 0,   0,
                           109, 126, 8,  41, 45, 126, 126, 126, 117, 7,   117, 117};
// Ship 232019715 gives its position 58°53' N 001°34' E in a safety call.
const Symbols kCallerPosition{120, 120, 0,  25, 70, 0,  0,  108, 23,  20, 19,  71, 50,
                              109, 126, 55, 5,  85, 30, 1,  34, 117, 18, 117, 117};
// Ship 503110520 answers a position request: 38°08' S 144°28' E, taken at 18:00.
const Symbols kPositionReply{120, 120, 0,  23, 71, 0,  0,   108, 50, 31,  10, 52,  0,  121,
                             126, 23,  80, 81, 44, 28, 126, 18,  0,  122, 96, 122, 122};

QByteArray changed(QByteArray bytes, const Changes &changes)
{
    for (const auto &change : changes)
        bytes[change.first - 1] = static_cast<char>(change.second);
    return bytes;
}

// Sets the ECC at `eccPosition` to what the changed symbols need, so that a case provokes
// nothing but the finding it is about: position 39 and 41 through the EOS, XORed.
QByteArray resealed(QByteArray bytes, int eccPosition)
{
    int ecc = static_cast<unsigned char>(bytes[38]);
    for (int p = 41; p < eccPosition; ++p)
        ecc ^= static_cast<unsigned char>(bytes[p - 1]);
    bytes[eccPosition - 1] = static_cast<char>(ecc);
    return bytes;
}

QByteArray individual(const Changes &changes, char verdict = '1')
{
    return resealed(changed(received(kIndividualTest, verdict), changes), 61);
}

QByteArray distress(const Changes &changes, char verdict = '1')
{
    return resealed(changed(received(kDistressAlert, verdict), changes), 56);
}

// A 116 distress relay by a coast station: category 112, telecommand 112, the ship in
// distress 255805997, nature 107, the real alert's position and time, J3E, EOS 127.
Symbols allShipsRelay()
{
    return {116, 116, 112, 0, 23, 71, 0, 0, 112, 25, 58, 5, 99, 70,
            107, 4,  52,  60, 13, 7, 12, 52, 109, 127, 96, 127, 127};
}

// A 120 distress acknowledgement to ship 325142000 about ship 255805997, EOS 122.
Symbols individualAcknowledgement()
{
    return {120, 120, 32, 51, 42, 0, 0, 112, 0, 23, 71, 0, 0, 110, 25, 58, 5, 99, 70,
            107, 4,  52, 60, 13, 7,  12, 52, 109, 122, 78, 122, 122};
}

// "MMSI type MID region ISO equipment" of an identity, "-" where there is none.
QString summary(const std::optional<StationIdentity> &id)
{
    if (!id)
        return QStringLiteral("-");
    const QString mid = id->mid ? QString::number(*id->mid) : QString();
    const QString equipment = id->equipment > 0 ? QString::number(id->equipment) : QString();
    return QStringList{id->mmsi, id->type, mid, id->region, id->iso, equipment}.join(QLatin1Char(' ')).simplified();
}

QString describe(const CallCheck &check)
{
    QStringList lines{QStringLiteral("verdict %1, kind %2").arg(verdictName(check.verdict), kindName(check.kind))};
    for (const CheckFinding &f : check.findings)
        lines << QStringLiteral("%1 (%2): %3").arg(f.code, severityName(f.severity), f.text);
    return lines.join(QLatin1Char('\n'));
}

} // namespace

class TestCallCheck : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void realCallsPass_data();
    void realCallsPass();
    void findings_data();
    void findings();
    void layouts_data();
    void layouts();
    void identities_data();
    void identities();
    void flagStateTable();
    void detailLines_data();
    void detailLines();
    void eachCodeOnceWithEveryField();
    void sentencesNameTheValues();
    void sampleSet_data();
    void sampleSet();
};

void TestCallCheck::realCallsPass_data()
{
    QTest::addColumn<Symbols>("call");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("ecc");
    QTest::addColumn<QString>("self");
    QTest::addColumn<QString>("address");

    const QString coast = QStringLiteral("002371000 coast 237 Europe GR");
    const QString ship = QStringLiteral("325142000 ship 325 North and Central America and Caribbean DM");
    QTest::newRow("distress alert") << kDistressAlert << "distress-alert" << 52 << "255805997 ship 255 Europe PT"
                                    << "-";
    QTest::newRow("individual test call") << kIndividualTest << "call" << 0 << ship << coast;
    QTest::newRow("answer to the test call") << kTestAnswer << "call" << 54 << coast << ship;
    QTest::newRow("all ships safety call") << kAllShipsSafety << "call" << 36 << coast << "-";
    const QString croatian = QStringLiteral("238230000 ship 238 Europe HR");
    QTest::newRow("to equipment 4 of a coast station") << kToEquipment << "call" << 7 << croatian << coast + " 4";
    QTest::newRow("caller's position") << kCallerPosition << "call" << 18 << "232019715 ship 232 Europe GB"
                                       << "002570000 coast 257 Europe NO";
    QTest::newRow("position reply with its time") << kPositionReply << "call" << 96 << "503110520 ship 503 Oceania AU"
                                                  << coast;
    // Without 18 0: 96^18^0 = 114.
    QTest::newRow("position reply without time") << kPositionReply.mid(0, 21) + Symbols{122, 114, 122, 122} << "call"
                                                 << 114 << "503110520 ship 503 Oceania AU" << coast;
    // 8 41 45 126 126 126 XOR to 114, two equal frequencies to 0: 7^114 = 117.
    QTest::newRow("two frequencies in 10 Hz steps")
        << kToEquipment.mid(0, 15) + Symbols{40, 84, 14, 50, 40, 84, 14, 50, 117, 117, 117, 117} << "call" << 117
        << croatian << coast + " 4";
}

void TestCallCheck::realCallsPass()
{
    QFETCH(Symbols, call);
    QFETCH(QString, kind);
    QFETCH(int, ecc);
    QFETCH(QString, self);
    QFETCH(QString, address);

    const CallCheck check = checkRecord(received(call));
    QVERIFY2(check.findings.isEmpty(), qPrintable(describe(check)));
    QCOMPARE(check.verdict, CheckVerdict::Pass);
    QCOMPARE(kindName(check.kind), kind);
    QCOMPARE(check.format, std::optional<int>(call.at(0)));
    QCOMPARE(check.receivedEcc, std::optional<int>(ecc));
    QCOMPARE(check.computedEcc, std::optional<int>(ecc));
    // The ECC is the third symbol from the end, wherever message 2 ends.
    QCOMPARE(check.eccPosition, std::optional<int>(36 + int(call.size())));
    QCOMPARE(summary(check.self), self);
    QCOMPARE(check.self->equipment, 0);
    QCOMPARE(summary(check.address), address);
    QVERIFY(!check.distressed);

    // The test set's verdict "0" on a correct call is the only thing wrong with it.
    const CallCheck doubted = checkRecord(received(call, '0'));
    QCOMPARE(doubted.codes(), QStringList{"verdict-disagrees"});
    QCOMPARE(doubted.verdict, CheckVerdict::Warn);
}

void TestCallCheck::findings_data()
{
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<QString>("kind");

    const QString call = QStringLiteral("call");
    const QString alert = QStringLiteral("distress-alert");
    const QString unknown = QStringLiteral("unknown");
    const QByteArray test = received(kIndividualTest);

    // Failures.
    QTest::newRow("empty record") << QByteArray() << QStringList{"record-short"} << unknown;
    QTest::newRow("ends at 39") << test.left(39) << QStringList{"record-short"} << unknown;
    QTest::newRow("ends before the ECC") << test.left(60) << QStringList{"record-short"} << unknown;
    QTest::newRow("short with a mismatched format") << changed(test, {{40, 116}}).left(50)
                                                    << QStringList{"record-short", "format-mismatch"} << unknown;
    QTest::newRow("116 ends before its category") << received(kAllShipsSafety).left(40)
                                                  << QStringList{"record-short"} << unknown;
    QTest::newRow("alert ends before its ECC") << received(kDistressAlert).left(55) << QStringList{"record-short"}
                                               << unknown;
    QTest::newRow("123 without an EOS") << changed(test, {{39, 123}, {40, 123}, {60, 105}, {62, 10}, {63, 20}})
                                        << QStringList{"record-short"} << unknown;
    QTest::newRow("format mismatch") << changed(test, {{40, 116}}) << QStringList{"format-mismatch"} << call;
    QTest::newRow("format 121") << changed(test, {{39, 121}, {40, 121}}) << QStringList{"format-unknown"} << unknown;
    QTest::newRow("format 100 and mismatch") << changed(test, {{39, 100}})
                                             << QStringList{"format-mismatch", "format-unknown"} << unknown;
    QTest::newRow("category 109") << individual({{46, 109}}) << QStringList{"category-unknown"} << call;
    QTest::newRow("first telecommand 102") << individual({{52, 102}}) << QStringList{"telecommand-unknown"} << call;
    QTest::newRow("second telecommand 114") << individual({{53, 114}}) << QStringList{"telecommand-unknown"} << call;
    QTest::newRow("subsequent communication 108") << distress({{54, 108}}) << QStringList{"telecommand-unknown"}
                                                  << alert;
    QTest::newRow("address symbol 100") << individual({{43, 100}}) << QStringList{"symbol-invalid"} << call;
    // A symbol of 100 or more ends message 2 where it stands: 38 75 0 38 fits no form, and
    // what follows is read as ECC 75 and closing symbols 117 and 36.
    QTest::newRow("frequency symbol 100") << individual({{58, 100}})
                                          << QStringList{"message-invalid", "eos-invalid", "eos-mismatch",
                                                         "ecc-mismatch", "verdict-disagrees"}
                                          << call;
    QTest::newRow("frequency half no information") << individual({{54, 126}, {55, 126}, {56, 126}}) << QStringList{}
                                                   << call;
    QTest::newRow("frequency half 126 126 0") << individual({{54, 126}, {55, 126}, {56, 0}})
                                              << QStringList{"message-invalid"} << call;
    QTest::newRow("byte 200 in a closing symbol") << changed(test, {{63, 200}}) << QStringList{"eos-invalid"} << call;
    QTest::newRow("EOS 100") << individual({{60, 100}, {62, 100}, {63, 100}}) << QStringList{"eos-invalid"} << call;
    QTest::newRow("closing 117 127") << changed(test, {{63, 127}}) << QStringList{"eos-mismatch"} << call;
    QTest::newRow("closing 127, then cut") << changed(test, {{62, 127}}).left(62)
                                           << QStringList{"eos-mismatch", "closing-cut"} << call;
    QTest::newRow("ECC wrong, verdict 0") << changed(received(kIndividualTest, '0'), {{61, 1}})
                                          << QStringList{"ecc-mismatch"} << call;
    QTest::newRow("ECC wrong, verdict 1") << changed(test, {{61, 1}})
                                          << QStringList{"ecc-mismatch", "verdict-disagrees"} << call;
    // Warnings.
    QTest::newRow("verdict 0 on a right ECC") << received(kIndividualTest, '0') << QStringList{"verdict-disagrees"}
                                              << call;
    QTest::newRow("no verdict character") << received(kIndividualTest, ' ') << QStringList{} << call;
    QTest::newRow("one closing symbol") << test.left(62) << QStringList{"closing-cut"} << call;
    QTest::newRow("no closing symbol") << test.left(61) << QStringList{"closing-cut"} << call;
    // 64 bytes are all a download keeps: a longer call is cut, not short.
    const QByteArray longNumber = changed(received(kIndividualTest + Symbols{0}),
                                          {{39, 123}, {40, 123}, {60, 12}, {61, 34}, {62, 56}, {63, 78}});
    QTest::newRow("123 number past the record") << changed(longNumber, {{64, 90}}) << QStringList{"call-cut"} << call;
    QTest::newRow("EOS at 64, ECC cut") << changed(longNumber, {{64, 127}})
                                        << QStringList{"call-cut", "eos-unexpected"} << call;
    QTest::newRow("expansion after the ECC") << changed(test, {{62, 100}, {63, 1}}) << QStringList{"expansion-unchecked"}
                                             << call;
    QTest::newRow("120 ending in 127") << individual({{60, 127}, {62, 127}, {63, 127}}) << QStringList{"eos-unexpected"}
                                       << call;
    QTest::newRow("alert ending in 117") << distress({{55, 117}, {57, 117}, {58, 117}})
                                         << QStringList{"eos-unexpected"} << alert;
    QTest::newRow("first telecommand 111 (H3E)") << individual({{52, 111}}) << QStringList{"telecommand-obsolete"}
                                                 << call;
    QTest::newRow("second telecommand 118 (V.22 bis)") << individual({{53, 118}})
                                                       << QStringList{"telecommand-obsolete"} << call;
    QTest::newRow("subsequent communication 101") << distress({{54, 101}}) << QStringList{"subsequent-unexpected"}
                                                  << alert;
    QTest::newRow("subsequent communication 124 is obsolete first") << distress({{54, 124}})
                                                                     << QStringList{"telecommand-obsolete"} << alert;
    QTest::newRow("subsequent communication 113") << distress({{54, 113}}) << QStringList{} << alert;
    // The tenth digit picks one piece of equipment of an installation: nothing to judge.
    QTest::newRow("self equipment digit 1") << individual({{51, 1}}) << QStringList{} << call;
    QTest::newRow("address MID 200") << individual({{41, 20}, {42, 1}}) << QStringList{"mid-unallocated"} << call;
    QTest::newRow("self MID 776") << individual({{47, 77}, {48, 61}}) << QStringList{"mid-unallocated"} << call;
    QTest::newRow("self MID 775") << individual({{47, 77}, {48, 51}}) << QStringList{} << call;
    QTest::newRow("quadrant 4") << distress({{47, 40}}) << QStringList{"position-invalid"} << alert;
    QTest::newRow("latitude 91") << distress({{47, 9}, {48, 12}}) << QStringList{"position-invalid"} << alert;
    QTest::newRow("latitude 90, longitude 180") << distress({{47, 9}, {48, 0}, {49, 1}, {50, 80}, {51, 0}})
                                                << QStringList{} << alert;
    QTest::newRow("latitude 90 01") << distress({{47, 9}, {48, 0}, {49, 10}, {50, 0}, {51, 0}})
                                    << QStringList{"position-invalid"} << alert;
    QTest::newRow("longitude 180 07") << distress({{47, 0}, {48, 0}, {49, 1}, {50, 80}, {51, 7}})
                                      << QStringList{"position-invalid"} << alert;
    QTest::newRow("longitude 181") << distress({{49, 61}, {50, 81}}) << QStringList{"position-invalid"} << alert;
    QTest::newRow("latitude minutes 60") << distress({{48, 56}, {49, 0}}) << QStringList{"position-invalid"}
                                         << alert;
    QTest::newRow("longitude minutes 60") << distress({{51, 60}}) << QStringList{"position-invalid"} << alert;
    QTest::newRow("no position") << distress({{47, 99}, {48, 99}, {49, 99}, {50, 99}, {51, 99}}) << QStringList{}
                                 << alert;
    QTest::newRow("time 24:00") << distress({{52, 24}, {53, 0}}) << QStringList{"time-invalid"} << alert;
    QTest::newRow("time 23:60") << distress({{52, 23}, {53, 60}}) << QStringList{"time-invalid"} << alert;
    QTest::newRow("time 23:59") << distress({{52, 23}, {53, 59}}) << QStringList{} << alert;
    QTest::newRow("time 88:30") << distress({{52, 88}, {53, 30}}) << QStringList{"time-invalid"} << alert;
    QTest::newRow("no time") << distress({{52, 88}, {53, 88}}) << QStringList{} << alert;
    QTest::newRow("nature 111") << distress({{46, 111}}) << QStringList{"nature-unknown"} << alert;
    // Positions and times in message 2 are judged like those of a distress alert.
    QTest::newRow("caller's position in quadrant 4") << resealed(changed(received(kCallerPosition), {{55, 45}}), 61)
                                                     << QStringList{"position-invalid"} << call;
    QTest::newRow("position reply at 25:00") << resealed(changed(received(kPositionReply), {{60, 25}}), 63)
                                             << QStringList{"time-invalid"} << call;
    // A position without the 126 after it is no reply: five symbols and a sixth fit no form.
    QTest::newRow("position reply without its 126") << resealed(changed(received(kPositionReply), {{59, 0}}), 63)
                                                    << QStringList{"message-invalid"} << call;

    // An invalid symbol silences every other finding about its field.
    QTest::newRow("self 100, equipment 5") << individual({{47, 100}, {51, 5}})
                                                    << QStringList{"symbol-invalid"} << call;
    QTest::newRow("self 99..., 100 hides its MID") << individual({{47, 99}, {51, 100}})
                                                   << QStringList{"symbol-invalid"} << call;
    QTest::newRow("position 100 hides quadrant 5") << distress({{47, 50}, {48, 100}})
                                                   << QStringList{"symbol-invalid"} << alert;
    QTest::newRow("time 100 hides hour 99") << distress({{52, 99}, {53, 100}}) << QStringList{"symbol-invalid"}
                                            << alert;
    QTest::newRow("category byte 200") << individual({{46, 200}}) << QStringList{"symbol-invalid"} << call;
    QTest::newRow("telecommand byte 130") << individual({{52, 130}}) << QStringList{"symbol-invalid"} << call;
    // The ECC of a call with a byte above 127 is one too (143): no symbol either.
    QTest::newRow("EOS byte 250") << individual({{60, 250}, {62, 250}, {63, 250}})
                                  << QStringList{"symbol-invalid", "eos-invalid"} << call;
    // The check reads the bytes as they stand, with no masking to 7 bits.
    QTest::newRow("category 236 is not 108") << individual({{46, 236}}) << QStringList{"symbol-invalid"} << call;
    // Other fields are still judged beside the invalid one.
    QTest::newRow("invalid self, unknown category") << individual({{46, 109}, {47, 100}})
                                                    << QStringList{"category-unknown", "symbol-invalid"} << call;
}

void TestCallCheck::findings()
{
    QFETCH(QByteArray, record);
    QFETCH(QStringList, codes);
    QFETCH(QString, kind);
    const CallCheck check = checkRecord(record);
    QVERIFY2(check.codes() == codes, qPrintable(describe(check)));
    QCOMPARE(kindName(check.kind), kind);
    bool fails = false;
    for (const CheckFinding &f : check.findings) {
        const bool warning =
            QStringList{"call-cut",         "closing-cut",           "expansion-unchecked", "verdict-disagrees",
                        "eos-unexpected",   "telecommand-obsolete",  "subsequent-unexpected", "mid-unallocated",
                        "area-invalid",     "position-invalid",      "time-invalid",        "nature-unknown"}
                .contains(f.code);
        QCOMPARE(f.severity, warning ? CheckSeverity::Warning : CheckSeverity::Failure);
        fails = fails || !warning;
        QVERIFY2(f.text.size() > 10 && f.text.at(0).isUpper() && f.text.endsWith(QLatin1Char('.')), qPrintable(f.text));
    }
    QCOMPARE(check.verdict, fails ? CheckVerdict::Fail : codes.isEmpty() ? CheckVerdict::Pass : CheckVerdict::Warn);
    // Neither ECC nor identities are given for a call whose layout is not known, no ECC for
    // one the test set cut.
    if (kind == QLatin1String("unknown")) {
        QVERIFY(!check.receivedEcc && !check.computedEcc);
        QVERIFY(!check.self && !check.address && !check.distressed);
    } else {
        const bool cut = codes.contains(QStringLiteral("call-cut"));
        QCOMPARE(bool(check.receivedEcc && check.computedEcc && check.eccPosition), !cut);
        QVERIFY(check.self);
    }
}

void TestCallCheck::layouts_data()
{
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("address");    // MMSI of the called station, empty for none
    QTest::addColumn<QString>("distressed"); // MMSI of the ship in distress, empty for none
    QTest::addColumn<int>("ecc");            // ECC worked out by hand

    // Relay: 116^112^23^71^112^25^58^5^99^70^107^4^52^60^13^7^12^52^109^127 = 96.
    const QByteArray relay = received(allShipsRelay());
    QTest::newRow("116 distress relay") << relay << QStringList{} << "distress-relay" << QString() << "255805997" << 96;
    QTest::newRow("116 relay, nature at 53") << resealed(changed(relay, {{53, 111}}), 63)
                                             << QStringList{"nature-unknown"} << "distress-relay" << QString()
                                             << "255805997" << -1;
    QTest::newRow("116 relay, time at 59") << resealed(changed(relay, {{59, 24}}), 63) << QStringList{"time-invalid"}
                                           << "distress-relay" << QString() << "255805997" << -1;
    QTest::newRow("116 relay, subsequent communication at 61")
        << resealed(changed(relay, {{61, 107}}), 63) << QStringList{"telecommand-unknown"} << "distress-relay"
        << QString() << "255805997" << -1;
    QTest::newRow("116 acknowledgement") << resealed(changed(relay, {{47, 110}}), 63) << QStringList{}
                                         << "distress-acknowledgement" << QString() << "255805997" << 126;
    // Category 112 with another telecommand keeps the call layout: 47 and 48 are telecommands.
    QTest::newRow("116 distress category, telephony") << resealed(changed(received(kAllShipsSafety), {{41, 112}}), 56)
                                                      << QStringList{} << "call" << QString() << QString() << -1;

    // Acknowledgement: 120^32^51^42^112^23^71^110^25^58^5^99^70^107^4^52^60^13^7^12^52^109^122 = 78.
    const QByteArray ack = received(individualAcknowledgement());
    QTest::newRow("120 distress acknowledgement") << ack << QStringList{} << "distress-acknowledgement" << "325142000"
                                                  << "255805997" << 78;
    QTest::newRow("120 acknowledgement, position at 59") << resealed(changed(ack, {{59, 40}}), 68)
                                                         << QStringList{"position-invalid"} << "distress-acknowledgement"
                                                         << "325142000" << "255805997" << -1;
    QTest::newRow("114 distress relay")
        << resealed(changed(ack, {{39, 114}, {40, 114}, {52, 112}, {67, 127}, {69, 127}, {70, 127}}), 68)
        << QStringList{} << "distress-relay" << "325142000" << "255805997" << -1;
    QTest::newRow("120 acknowledgement, subsequent communication 103")
        << resealed(changed(ack, {{66, 103}}), 68) << QStringList{"subsequent-unexpected"} << "distress-acknowledgement"
        << "325142000" << "255805997" << -1;
    // A 64-byte download keeps the fields up to the position; the time, hour 99 kept, minute
    // cut, is not judged.
    QTest::newRow("120 acknowledgement cut at 64") << changed(ack, {{64, 99}}).left(64) << QStringList{"call-cut"}
                                                   << "distress-acknowledgement" << "325142000" << "255805997" << -1;
    QTest::newRow("120 acknowledgement cut, position judged")
        << changed(ack, {{59, 40}}).left(67) << QStringList{"call-cut", "position-invalid"}
        << "distress-acknowledgement" << "325142000" << "255805997" << -1;
    QTest::newRow("120 ends before the relay's ECC") << ack.left(63) << QStringList{"record-short"} << "unknown"
                                                     << QString() << QString() << -1;

    // 102: the address is an area of digits, no station: 0 42 171 00 00, 42°N 171°E.
    const QByteArray area = resealed(changed(received(kIndividualTest), {{39, 102}, {40, 102}, {41, 4}, {42, 21},
                                                                         {60, 127}, {62, 127}, {63, 127}}),
                                     61);
    QTest::newRow("102 area call") << area << QStringList{} << "call" << QString() << QString() << -1;
    QTest::newRow("102 area at longitude 371") << resealed(changed(area, {{42, 23}}), 61) << QStringList{"area-invalid"}
                                               << "call" << QString() << QString() << -1;
    QTest::newRow("102 area symbol 110") << resealed(changed(area, {{43, 110}}), 61) << QStringList{"symbol-invalid"}
                                         << "call" << QString() << QString() << -1;
    QTest::newRow("102 area ending in 5 is no MMSI") << resealed(changed(area, {{45, 5}}), 61) << QStringList{}
                                                     << "call" << QString() << QString() << -1;

    // 123: a telephone number between the frequency and the EOS, which closes the call
    // wherever it comes.
    const QByteArray phone = resealed(
        changed(received(kIndividualTest + Symbols{0, 0, 0, 0}),
                {{39, 123}, {40, 123}, {60, 105}, {61, 12}, {62, 34}, {63, 56}, {64, 117}, {66, 117}, {67, 117}}), 65);
    QTest::newRow("123 with a telephone number") << phone << QStringList{} << "call" << "002371000" << QString() << -1;
    // A byte above 127 ends message 2 and is judged as its EOS; ECC 56 and closings 117 and 12 follow.
    QTest::newRow("123 telephone byte 140") << resealed(changed(phone, {{62, 140}}), 65)
                                            << QStringList{"eos-invalid", "eos-mismatch", "ecc-mismatch",
                                                           "verdict-disagrees"}
                                            << "call" << "002371000" << QString() << -1;
    // The same call as 120 computed to 0; 120^123 = 3.
    QTest::newRow("123 without a number") << resealed(changed(received(kIndividualTest), {{39, 123}, {40, 123}}), 61)
                                          << QStringList{} << "call" << "002371000" << QString() << 3;
    QTest::newRow("123 ending at the ECC") << phone.left(65) << QStringList{"closing-cut"} << "call" << "002371000"
                                           << QString() << -1;
}

void TestCallCheck::layouts()
{
    QFETCH(QByteArray, record);
    QFETCH(QStringList, codes);
    QFETCH(QString, kind);
    QFETCH(QString, address);
    QFETCH(QString, distressed);
    QFETCH(int, ecc);
    const CallCheck check = checkRecord(record);
    QVERIFY2(check.codes() == codes, qPrintable(describe(check)));
    QCOMPARE(kindName(check.kind), kind);
    QCOMPARE(check.address ? check.address->mmsi : QString(), address);
    QCOMPARE(check.distressed ? check.distressed->mmsi : QString(), distressed);
    if (ecc >= 0) {
        QCOMPARE(check.computedEcc, std::optional<int>(ecc));
        QCOMPARE(check.receivedEcc, std::optional<int>(ecc));
    }
}

void TestCallCheck::identities_data()
{
    QTest::addColumn<Symbols>("symbols");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("mmsi");
    QTest::addColumn<int>("tenth");
    QTest::addColumn<int>("mid"); // -1: none
    QTest::addColumn<QString>("region");

    QTest::newRow("AIS-SART") << Symbols{97, 1, 23, 45, 60} << "ais-sart" << "970123456" << 0 << -1 << QString();
    QTest::newRow("MOB device") << Symbols{97, 22, 34, 56, 70} << "mob-device" << "972234567" << 0 << -1 << QString();
    QTest::newRow("EPIRB-AIS") << Symbols{97, 43, 3, 33, 33} << "epirb-ais" << "974303333" << 3 << -1 << QString();
    QTest::newRow("975 is no device") << Symbols{97, 51, 23, 45, 60} << "unknown" << "975123456" << 0 << -1
                                      << QString();
    QTest::newRow("craft with parent ship") << Symbols{98, 23, 51, 23, 40} << "craft-with-parent-ship"
                                            << "982351234" << 0 << 235 << "Europe";
    QTest::newRow("aid to navigation") << Symbols{99, 36, 61, 23, 40} << "aid-to-navigation" << "993661234" << 0
                                       << 366 << "North and Central America and Caribbean";
    QTest::newRow("SAR aircraft") << Symbols{11, 14, 31, 23, 40} << "sar-aircraft" << "111431234" << 0 << 431
                                  << "Asia";
    QTest::newRow("112 is no aircraft") << Symbols{11, 24, 31, 23, 40} << "unknown" << "112431234" << 0 << -1
                                        << QString();
    QTest::newRow("coast") << Symbols{0, 50, 31, 23, 40} << "coast" << "005031234" << 0 << 503 << "Oceania";
    QTest::newRow("group") << Symbols{6, 1, 0, 0, 0} << "group" << "060100000" << 0 << 601 << "Africa";
    QTest::newRow("handheld") << Symbols{87, 1, 23, 45, 60} << "handheld" << "870123456" << 0 << 701
                              << "South America";
    QTest::newRow("ship MID 201") << Symbols{20, 13, 23, 54, 50} << "ship" << "201323545" << 0 << 201 << "Europe";
    QTest::newRow("ship MID 775") << Symbols{77, 51, 23, 45, 67} << "ship" << "775123456" << 7 << 775
                                  << "South America";
    QTest::newRow("group MID 101, no region") << Symbols{1, 1, 23, 45, 60} << "group" << "010123456" << 0 << 101
                                              << QString();
    QTest::newRow("aid MID 999, no region") << Symbols{99, 99, 99, 99, 90} << "aid-to-navigation" << "999999999"
                                            << 0 << 999 << QString();
    QTest::newRow("prefix 1") << Symbols{12, 34, 56, 78, 90} << "unknown" << "123456789" << 0 << -1 << QString();
    QTest::newRow("prefix 9") << Symbols{91, 34, 56, 78, 90} << "unknown" << "913456789" << 0 << -1 << QString();
    QTest::newRow("symbol 100") << Symbols{20, 13, 100, 54, 50} << "invalid" << QString() << -1 << -1 << QString();
    QTest::newRow("byte 200") << Symbols{20, 13, 23, 54, 200} << "invalid" << QString() << -1 << -1 << QString();
}

void TestCallCheck::identities()
{
    QFETCH(Symbols, symbols);
    QFETCH(QString, type);
    QFETCH(QString, mmsi);
    QFETCH(int, tenth);
    QFETCH(int, mid);
    QFETCH(QString, region);
    const StationIdentity id = identifyStation(symbols);
    QCOMPARE(id.type, type);
    QCOMPARE(id.mmsi, mmsi);
    QCOMPARE(id.equipment, tenth);
    QCOMPARE(id.mid, mid < 0 ? std::nullopt : std::optional<int>(mid));
    QCOMPARE(id.region, region);
    // An allocated MID names its flag state, whatever the kind of station.
    const std::optional<FlagState> flag = id.mid ? flagState(*id.mid) : std::nullopt;
    QCOMPARE(id.country + id.iso, flag ? flag->country + flag->iso : QString());
}

void TestCallCheck::flagStateTable()
{
    // The ITU has allocated 292 MIDs, all between 201 and 775.
    int allocated = 0;
    for (int mid = 0; mid <= 999; ++mid) {
        if (flagState(mid)) {
            QVERIFY2(mid >= 201 && mid <= 775, qPrintable(QString::number(mid)));
            ++allocated;
        }
    }
    QCOMPARE(allocated, 292);
}

void TestCallCheck::eachCodeOnceWithEveryField()
{
    // Address and self both carry an unallocated MID (and name equipment 3 and 5, which is
    // no finding); the first and second telecommands both mean nothing; the category (byte
    // 236) and the error-check character (byte 200) hold invalid symbols.
    const CallCheck check = checkRecord(changed(received(kIndividualTest, '0'),
                                                {{41, 0}, {42, 10}, {43, 10}, {44, 0}, {45, 3}, {46, 236}, {47, 20},
                                                 {48, 1}, {51, 5}, {52, 102}, {53, 114}, {61, 200}}));
    QCOMPARE(check.codes(),
             (QStringList{"telecommand-unknown", "symbol-invalid", "ecc-mismatch", "mid-unallocated"}));
    const auto text = [&](const char *code) {
        for (const CheckFinding &f : check.findings) {
            if (f.code == QLatin1String(code))
                return f.text;
        }
        return QString();
    };
    // The address 001010000 is a coast station with MID 101; the self 200142000 a ship with MID 200.
    QVERIFY2(text("mid-unallocated").contains("address 001010000 (coast) carries MID 101")
                 && text("mid-unallocated").contains("200142000 (ship) carries MID 200"),
             qPrintable(text("mid-unallocated")));
    QVERIFY2(text("telecommand-unknown").contains("102") && text("telecommand-unknown").contains("114"),
             qPrintable(text("telecommand-unknown")));
    QVERIFY2(text("symbol-invalid").contains("position 46") && text("symbol-invalid").contains("position 61"),
             qPrintable(text("symbol-invalid")));
}

void TestCallCheck::sentencesNameTheValues()
{
    // What the window shows beside the numbers: the engineer reads the values in the sentence.
    const CallCheck slot1 = checkRecord(sampleRecord(1));
    QCOMPARE(slot1.findings.at(1).code, QStringLiteral("ecc-mismatch"));
    QVERIFY2(slot1.findings.at(1).text.contains("76") && slot1.findings.at(1).text.contains("35"),
             qPrintable(slot1.findings.at(1).text));
    QVERIFY2(slot1.findings.at(0).text.contains("127 127") && slot1.findings.at(0).text.contains("117"),
             qPrintable(slot1.findings.at(0).text));
    const CallCheck mismatch = checkRecord(changed(received(kIndividualTest), {{40, 116}}));
    QVERIFY2(mismatch.findings.at(0).text.contains("120") && mismatch.findings.at(0).text.contains("116"),
             qPrintable(mismatch.findings.at(0).text));
    QCOMPARE(checkRecord(QByteArray()).findings.at(0).text, QStringLiteral("The record is empty."));
    const CallCheck cut = checkRecord(received(individualAcknowledgement()).left(66));
    QCOMPARE(cut.findings.at(0).text,
             QStringLiteral("The test set kept 66 bytes; the call goes on past them, so its end cannot be judged."));
    const CallCheck oneFrequency = checkRecord(changed(received(kIndividualTest), {{57, 117}}));
    QCOMPARE(oneFrequency.findings.at(0).text, QStringLiteral("The frequency or position part of the call has 3 "
                                                              "symbols and fits no form of ITU-R M.493."));
}

void TestCallCheck::detailLines_data()
{
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<QStringList>("lines"); // after one line per finding

    const QString coast = QStringLiteral("Address MMSI 002371000 — Greece (GR)");
    QTest::newRow("to equipment 4") << received(kToEquipment)
                                    << QStringList{"Self MMSI 238230000 — Croatia (HR)", coast + ", equipment 4"};
    QTest::newRow("ECC at 63") << received(kPositionReply)
                               << QStringList{"ECC received at position 63; the ECC row shows position 61.",
                                              "Self MMSI 503110520 — Australia (AU)", coast};
    QTest::newRow("alert, ECC at 56 as shown") << received(kDistressAlert)
                                               << QStringList{"Self MMSI 255805997 — Madeira (PT)"};
    QTest::newRow("no MID, address invalid") << individual({{41, 100}, {47, 97}, {48, 1}, {51, 60}})
                                             << QStringList{"Self MMSI 970142006 — ais-sart, no flag state"};
    QTest::newRow("no ISO code, MID not allocated")
        << individual({{41, 20}, {42, 1}, {47, 30}, {48, 61}})
        << QStringList{"Self MMSI 306142000 — Curaçao; Sint Maarten (Dutch part); Bonaire, Sint Eustatius and Saba",
                       "Address MMSI 200171000 — MID 200 not allocated"};
    QTest::newRow("cut: no ECC") << received(individualAcknowledgement()).left(64)
                                 << QStringList{"Self MMSI 002371000 — Greece (GR)",
                                                "Address MMSI 325142000 — Dominica (DM)",
                                                "In distress MMSI 255805997 — Madeira (PT)"};
}

void TestCallCheck::detailLines()
{
    QFETCH(QByteArray, record);
    QFETCH(QStringList, lines);
    const CallCheck check = checkRecord(record);
    QStringList expected;
    for (const CheckFinding &f : check.findings)
        expected << severityName(f.severity) + QStringLiteral(": ") + f.text;
    QCOMPARE(checkDetailLines(check), expected + lines);
}

void TestCallCheck::sampleSet_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<int>("received");
    QTest::addColumn<int>("computed");

    const QString eos = QStringLiteral("eos-mismatch");
    const QString ecc = QStringLiteral("ecc-mismatch");
    const QString verdict = QStringLiteral("verdict-disagrees");
    const QString mid = QStringLiteral("mid-unallocated");
    const QString unexpected = QStringLiteral("eos-unexpected");
    // Every record calls from 999999999, an aid to navigation with MID 999. Runs A, B and F
    // end EOS 117 then 127 127, run E's call ends in 127. Run A computes to 35, run C to 75;
    // the others match.
    QTest::newRow("1, run A") << 1 << QStringList{eos, ecc, verdict, mid} << 76 << 35;
    QTest::newRow("2, run B, 0") << 2 << QStringList{eos, verdict, mid} << 86 << 86;
    QTest::newRow("3, run C") << 3 << QStringList{ecc, verdict, mid} << 57 << 75;
    QTest::newRow("4, run D, 0") << 4 << QStringList{verdict, mid} << 48 << 48;
    QTest::newRow("5, run E, 0") << 5 << QStringList{verdict, unexpected, mid} << 79 << 79;
    QTest::newRow("6, run F") << 6 << QStringList{eos, mid} << 76 << 76;
    QTest::newRow("7, run B, 0") << 7 << QStringList{eos, verdict, mid} << 86 << 86;
    QTest::newRow("8, run G") << 8 << QStringList{mid} << 57 << 57;
    QTest::newRow("9, run D, 0") << 9 << QStringList{verdict, mid} << 48 << 48;
    QTest::newRow("10, run E") << 10 << QStringList{unexpected, mid} << 79 << 79;
    QTest::newRow("11, run F, 0") << 11 << QStringList{eos, verdict, mid} << 76 << 76;
    QTest::newRow("12, run B") << 12 << QStringList{eos, mid} << 86 << 86;
    QTest::newRow("13, run G, 0") << 13 << QStringList{verdict, mid} << 57 << 57;
    QTest::newRow("14, run D") << 14 << QStringList{mid} << 48 << 48;
    QTest::newRow("15, run E, 0") << 15 << QStringList{verdict, unexpected, mid} << 79 << 79;
    QTest::newRow("16, run F") << 16 << QStringList{eos, mid} << 76 << 76;
}

void TestCallCheck::sampleSet()
{
    QFETCH(int, slot);
    QFETCH(QStringList, codes);
    QFETCH(int, received);
    QFETCH(int, computed);
    const CallCheck check = checkRecord(sampleRecord(slot));
    QVERIFY2(check.codes() == codes, qPrintable(describe(check)));
    const bool fails = QList<int>{1, 2, 3, 6, 7, 11, 12, 16}.contains(slot);
    QCOMPARE(check.verdict, fails ? CheckVerdict::Fail : CheckVerdict::Warn);
    QCOMPARE(check.receivedEcc, std::optional<int>(received));
    QCOMPARE(check.computedEcc, std::optional<int>(computed));
    const bool distress = QList<int>{3, 4, 8, 9, 13, 14}.contains(slot);
    QCOMPARE(check.kind, distress ? CallKind::DistressAlert : CallKind::Call);
    QCOMPARE(summary(check.self), QStringLiteral("999999999 aid-to-navigation 999"));
    // Run A calls 201323545, runs B, E and F call 219557624: ships of Albania and Denmark.
    QCOMPARE(summary(check.address), distress ? QStringLiteral("-")
                                     : slot == 1 ? QStringLiteral("201323545 ship 201 Europe AL")
                                                 : QStringLiteral("219557624 ship 219 Europe DK"));
}

QTEST_APPLESS_MAIN(TestCallCheck)
#include "test_call_check.moc"
