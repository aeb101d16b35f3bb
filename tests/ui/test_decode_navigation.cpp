// "Decode message", `Next` and `Prev` on the main window, with the call and
// distress decoders writing into its controls.
#include "support/app_fixture.h"
#include "support/sample_fields.h"

#include "data/measurement_store.h"
#include "data/sample_set.h"
#include "dsc/record_decoder.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace kelpra;
using kelpra::test::AppFixture;

namespace {

const QString kNoData = QStringLiteral("Please download the data or read it from file!");
const QString kNoDataToDecode = QStringLiteral("Please download the data or read it from file before decoding!");
const QString kSaveHint = QStringLiteral("Please use upper menu to save data in bin or txt format.");
const QString kStartHint = QStringLiteral("Please download the data from tester or load it from file.");
const QString kFormatError = QStringLiteral("Error in format specifier.");

const QStringList kCallFields{"FSdigit",   "FSMeaning",  "MMSIdigit",  "MMSIMeaning",   "CatDigit",
                              "CatMeaning", "SelfMMSI",  "SelfMMSIdigit", "FTdigit",    "FTMeaning",
                              "STdigit",   "STMeaning",  "FS1digit",   "FS1meaning",    "FS2digit",
                              "FS2meaning", "EOS1",      "EOS2",       "ECC"};
const QStringList kDistressFields{"FSDdigit",      "FSDmeaning", "SelfMMSIDdigit", "SelfMMSIDmeaning",
                                  "NATUREdigit",   "NATUREmeaning", "DCdigits",    "DCmeaning",
                                  "TIMEdigit",     "TIMEmeaning", "SCdigit",       "SCmeaning",
                                  "EOSD1",         "EOSD2",      "ECCD"};

// Puts the sample set into the store as "Emulation" does, record 1 on display.
void fillWithSamples(AppFixture &f, int recordCount = 16)
{
    f.store().setSlot(0, sampleIdentificationLine());
    for (int slot = 1; slot <= 16; ++slot)
        f.store().setSlot(slot, sampleRecord(slot));
    f.store().set_record_count(recordCount);
    f.store().set_display_index(1);
    f.mainWindow().current->setText(QStringLiteral("1"));
    f.mainWindow().Prev->setVisible(false);
    f.mainWindow().Next->setVisible(true);
}

// Sample record 1 with its second format specifier symbol (position 40) replaced.
QByteArray withSecondFormatSpecifier(int slot, int value)
{
    QByteArray bytes = sampleRecord(slot);
    bytes[39] = static_cast<char>(value);
    return bytes;
}

void compareFields(const MainWindow &w, const FieldTexts &expected)
{
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QVERIFY2(w.fieldText8(it.key()) == it.value(),
                 qPrintable(QStringLiteral("%1: [%2], expected [%3]")
                                .arg(it.key(), w.fieldText(it.key()), QString::fromLatin1(it.value()))));
}

const FieldTexts kSlot1 = test::sampleRecord1Fields();
const FieldTexts kSlot3 = test::sampleRecord3Fields();

bool isDistressSlot(int slot)
{
    return QList<int>{3, 4, 8, 9, 13, 14}.contains(slot);
}

} // namespace

class TestDecodeNavigation : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void messagesBeforeAnyData();
    void decodeMessageFromTheMenuWithoutData();
    void decodeMessageShowsRecordOnDisplay();
    void decodeMessageShowsDistressAlert();
    void fifteenTimesNextThenBack();
    void nextStopsAtRecordCount();
    void nextShowsPrevAndPrevHidesIt();
    void label16Rules();
    void eachCommandEmptiesTheCallDisplay_data();
    void eachCommandEmptiesTheCallDisplay();
    void callAfterDistressAndBack();
    void formatMismatchInCall();
    void formatMismatchInDistress();
    void formatMismatchIsShownOnce();
    void clearRoutinesLeaveVerdictLabels();
    void distressDecodeClearsItsFieldsItself();
    void byteIdenticalSlotsShowIdenticalFields();
    void kilohertzUsesTheLocaleSeparator();
    void shortRecordIsReadAsZeros();
};

// Before anything is held: the guard messages, and nothing changes.
void TestDecodeNavigation::messagesBeforeAnyData()
{
    AppFixture f;
    MainWindow &w = f.mainWindow();
    f.prompts.expectInformation(kNoData);
    w.nextRecord();
    f.prompts.expectInformation(kNoData);
    w.previousRecord();
    f.prompts.expectInformation(kNoDataToDecode);
    w.decodeMessage();
    QVERIFY2(f.prompts.ok(), qPrintable(f.prompts.problems()));
    QCOMPARE(f.prompts.shown.size(), 3);

    QCOMPARE(f.store().display_index(), 1);
    QVERIFY(!w.Next->isHidden());
    QVERIFY(w.Prev->isHidden());
    QVERIFY(w.Distress->isHidden());
    QCOMPARE(w.fieldText("current"), QString());
    QCOMPARE(w.fieldText("Label16"), QString());
    QCOMPARE(w.statusText(), kStartHint);
    for (const QString &name : callFieldsToClear())
        QVERIFY2(w.fieldText(name).isEmpty(), qPrintable(name));

    // The Next button itself, shown at start, gives the same message.
    f.prompts.expectInformation(kNoData);
    QTest::mouseClick(w.Next, Qt::LeftButton);
    QVERIFY2(f.prompts.ok(), qPrintable(f.prompts.problems()));
    QCOMPARE(f.store().display_index(), 1);
}

// "Decode message" is reached from the menu although its button is never shown.
void TestDecodeNavigation::decodeMessageFromTheMenuWithoutData()
{
    AppFixture f;
    QVERIFY(f.mainWindow().Button1->isHidden());
    f.prompts.expectInformation(kNoDataToDecode);
    f.mainWindow().Decodemessage1->trigger();
    QVERIFY2(f.prompts.ok(), qPrintable(f.prompts.problems()));
}

void TestDecodeNavigation::decodeMessageShowsRecordOnDisplay()
{
    AppFixture f;
    fillWithSamples(f);
    MainWindow &w = f.mainWindow();
    f.mainWindow().Decodemessage1->trigger();
    QVERIFY2(f.prompts.ok(), qPrintable(f.prompts.problems()));
    QVERIFY(f.prompts.shown.isEmpty());

    QCOMPARE(w.fieldText("Label16"), QStringLiteral("GMDSS TESTER S/N 001 rev 1.324"));
    compareFields(w, kSlot1);
    QVERIFY(w.Distress->isHidden());
    QCOMPARE(w.statusText(), kSaveHint);
    // It moves nothing.
    QCOMPARE(f.store().display_index(), 1);
    QCOMPARE(w.fieldText("current"), QStringLiteral("1"));
    QVERIFY(w.Prev->isHidden());
    QVERIFY(!w.Next->isHidden());
}

void TestDecodeNavigation::decodeMessageShowsDistressAlert()
{
    AppFixture f;
    fillWithSamples(f);
    MainWindow &w = f.mainWindow();
    f.store().set_display_index(3);
    w.decodeMessage();
    QVERIFY2(f.prompts.ok(), qPrintable(f.prompts.problems()));
    QVERIFY(!w.Distress->isHidden());
    compareFields(w, kSlot3);
    // The call fields hold nothing but the header.
    for (const QString &name : kCallFields)
        QVERIFY2(w.fieldText(name).isEmpty(), qPrintable(name));

    // Slot 4: other coordinates, subsequent communication, ECC and verdict.
    f.store().set_display_index(4);
    w.decodeMessage();
    compareFields(w, {{"Frequency", "12577.0 kHZ"},
                      {"DCdigits", "99 99 99 99 99 "},
                      {"DCmeaning", "No information"},
                      {"SCdigit", "109"},
                      {"SCmeaning", "J3E telephony"},
                      {"ECCD", "48"},
                      {"ECCCDheck", "Bad"}});
    QVERIFY2(f.prompts.ok(), qPrintable(f.prompts.problems()));
}

// With 16 records: Next fifteen times shows 2 to 16 and hides Next at 16; Prev shows Next
// again at once and walks back to 1, where Prev is hidden.
void TestDecodeNavigation::fifteenTimesNextThenBack()
{
    AppFixture f;
    fillWithSamples(f);
    MainWindow &w = f.mainWindow();
    w.decodeMessage();

    for (int step = 1; step <= 15; ++step) {
        const int slot = step + 1;
        QVERIFY2(!w.Next->isHidden(), qPrintable(QString::number(slot)));
        QTest::mouseClick(w.Next, Qt::LeftButton);
        QCOMPARE(f.store().display_index(), slot);
        QCOMPARE(w.fieldText("current"), QString::number(slot));
        QVERIFY(!w.Prev->isHidden());
        QCOMPARE(w.Next->isHidden(), slot == 16);
        QCOMPARE(w.Distress->isHidden(), !isDistressSlot(slot));
        QCOMPARE(w.statusText(), kSaveHint);
        compareFields(w, decodeRecord(sampleRecord(slot), QLocale::system().decimalPoint()).fields());
    }
    QCOMPARE(w.fieldText("current"), QStringLiteral("16"));
    QVERIFY(w.Next->isHidden());

    for (int slot = 15; slot >= 1; --slot) {
        QVERIFY(!w.Prev->isHidden());
        QTest::mouseClick(w.Prev, Qt::LeftButton);
        QCOMPARE(f.store().display_index(), slot);
        QCOMPARE(w.fieldText("current"), QString::number(slot));
        QVERIFY(!w.Next->isHidden());
        QCOMPARE(w.Prev->isHidden(), slot == 1);
        QCOMPARE(w.Distress->isHidden(), !isDistressSlot(slot));
        compareFields(w, decodeRecord(sampleRecord(slot), QLocale::system().decimalPoint()).fields());
    }
    compareFields(w, kSlot1);
    QVERIFY2(f.prompts.ok(), qPrintable(f.prompts.problems()));
    QVERIFY(f.prompts.shown.isEmpty());
}

// A full-set file with fewer records: Next is hidden on reaching record_count.
void TestDecodeNavigation::nextStopsAtRecordCount()
{
    AppFixture f;
    fillWithSamples(f, 5);
    MainWindow &w = f.mainWindow();
    for (int slot = 2; slot <= 5; ++slot) {
        w.nextRecord();
        QCOMPARE(w.Next->isHidden(), slot == 5);
    }
    QCOMPARE(f.store().display_index(), 5);
    w.previousRecord();
    QVERIFY(!w.Next->isHidden());
    QCOMPARE(f.store().display_index(), 4);
    QVERIFY2(f.prompts.ok(), qPrintable(f.prompts.problems()));
}

void TestDecodeNavigation::nextShowsPrevAndPrevHidesIt()
{
    AppFixture f;
    fillWithSamples(f);
    MainWindow &w = f.mainWindow();
    QVERIFY(w.Prev->isHidden());
    w.nextRecord();
    QVERIFY(!w.Prev->isHidden());
    QCOMPARE(w.fieldText("current"), QStringLiteral("2"));
    w.previousRecord();
    QVERIFY(w.Prev->isHidden());
    QVERIFY(!w.Next->isHidden());
    QCOMPARE(w.fieldText("current"), QStringLiteral("1"));
    compareFields(w, kSlot1);
    QVERIFY2(f.prompts.ok(), qPrintable(f.prompts.problems()));
}

// Next fills an empty Label16 and leaves a filled one alone; Prev never touches it;
// "Decode message" always replaces it with slot 0.
void TestDecodeNavigation::label16Rules()
{
    AppFixture f;
    fillWithSamples(f);
    MainWindow &w = f.mainWindow();
    const QString sample = QStringLiteral("GMDSS TESTER S/N 001 rev 1.324");

    QVERIFY(w.fieldText("Label16").isEmpty());
    w.nextRecord();
    QCOMPARE(w.fieldText("Label16"), sample);

    // A file was loaded while Label16 shows the sample line.
    f.store().setSlot(0, "GMDSS TESTER S/N (SAVED DATA) rev 2.5");
    w.nextRecord();
    QCOMPARE(w.fieldText("Label16"), sample);
    w.previousRecord();
    QCOMPARE(w.fieldText("Label16"), sample);
    w.decodeMessage();
    QCOMPARE(w.fieldText("Label16"), QStringLiteral("GMDSS TESTER S/N (SAVED DATA) rev 2.5"));

    // Prev leaves an empty Label16 empty.
    w.setFieldText("Label16", QString());
    w.previousRecord();
    QVERIFY(w.fieldText("Label16").isEmpty());
    QVERIFY2(f.prompts.ok(), qPrintable(f.prompts.problems()));
}

void TestDecodeNavigation::eachCommandEmptiesTheCallDisplay_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("Next") << "Next";
    QTest::newRow("Prev") << "Prev";
    QTest::newRow("Decode message") << "Decode message";
}

// Whatever the call fields held before, a command that shows a distress alert leaves
// nothing in them but the new header.
void TestDecodeNavigation::eachCommandEmptiesTheCallDisplay()
{
    QFETCH(QString, command);
    AppFixture f;
    fillWithSamples(f);
    MainWindow &w = f.mainWindow();
    // Record 3 is a distress alert; reach it from 2, from 4, or show it where it is.
    if (command == QLatin1String("Next"))
        f.store().set_display_index(2);
    else if (command == QLatin1String("Prev"))
        f.store().set_display_index(4);
    else
        f.store().set_display_index(3);
    for (const QString &name : callFieldsToClear())
        w.setFieldText(name, QStringLiteral("stale ") + name);
    w.setFieldText("ECCCheck", QStringLiteral("stale verdict"));

    if (command == QLatin1String("Next"))
        w.nextRecord();
    else if (command == QLatin1String("Prev"))
        w.previousRecord();
    else
        w.decodeMessage();

    QCOMPARE(f.store().display_index(), 3);
    QVERIFY(!w.Distress->isHidden());
    for (const QString &name : kCallFields)
        QVERIFY2(w.fieldText(name).isEmpty(), qPrintable(name));
    compareFields(w, kSlot3);
    // The call verdict label is not among the cleared fields: it keeps its text, hidden.
    QCOMPARE(w.fieldText("ECCCheck"), QStringLiteral("stale verdict"));
    QVERIFY2(f.prompts.ok(), qPrintable(f.prompts.problems()));
}

// After a call the distress fields keep the last alert's texts under the hidden panel.
void TestDecodeNavigation::callAfterDistressAndBack()
{
    AppFixture f;
    fillWithSamples(f);
    MainWindow &w = f.mainWindow();
    f.store().set_display_index(2);
    w.nextRecord(); // 3, distress
    QVERIFY(!w.Distress->isHidden());
    w.previousRecord(); // 2, call
    QVERIFY(w.Distress->isHidden());
    compareFields(w, {{"FSdigit", "120"},
                      {"CatDigit", "108"},
                      {"CatMeaning", "Safety"},
                      {"FTMeaning", "Test"},
                      {"FS1digit", "126 126 126 "},
                      {"FS1meaning", "No information"},
                      {"ECCCheck", "Bad"}});
    compareFields(w, {{"DCmeaning", kSlot3.value("DCmeaning")}, {"ECCCDheck", "Ok"}});
    QVERIFY2(f.prompts.ok(), qPrintable(f.prompts.problems()));
}

// The message comes after FSdigit and FSMeaning have been written and before the rest.
void TestDecodeNavigation::formatMismatchInCall()
{
    AppFixture f;
    fillWithSamples(f);
    MainWindow &w = f.mainWindow();
    f.store().setSlot(2, withSecondFormatSpecifier(1, 116));
    bool checked = false;
    f.prompts.expectInformation(kFormatError, [&] {
        checked = true;
        QCOMPARE(w.fieldText("FSdigit"), QStringLiteral("120"));
        QCOMPARE(w.fieldText("FSMeaning"), QStringLiteral("Individual stations"));
        QCOMPARE(w.fieldText("MNO"), QStringLiteral("13107"));
        QVERIFY(w.fieldText("MMSIMeaning").isEmpty());
        QVERIFY(w.fieldText("EOS2").isEmpty());
        QVERIFY(w.Distress->isHidden());
    });
    w.nextRecord();
    QVERIFY(checked);
    QVERIFY2(f.prompts.ok(), qPrintable(f.prompts.problems()));
    // Decoding then completes; the fields show position 39.
    compareFields(w, kSlot1);
    QCOMPARE(w.statusText(), kSaveHint);
}

void TestDecodeNavigation::formatMismatchInDistress()
{
    AppFixture f;
    fillWithSamples(f);
    MainWindow &w = f.mainWindow();
    f.store().setSlot(1, withSecondFormatSpecifier(3, 120));
    bool checked = false;
    f.prompts.expectInformation(kFormatError, [&] {
        checked = true;
        QVERIFY(!w.Distress->isHidden());
        QCOMPARE(w.fieldText("FSDdigit"), QStringLiteral("112"));
        QCOMPARE(w.fieldText("FSDmeaning"), QStringLiteral("Distress"));
        QVERIFY(w.fieldText("SelfMMSIDmeaning").isEmpty());
        QVERIFY(w.fieldText("FSdigit").isEmpty());
    });
    w.decodeMessage();
    QVERIFY(checked);
    QVERIFY2(f.prompts.ok(), qPrintable(f.prompts.problems()));
    compareFields(w, kSlot3);
}

void TestDecodeNavigation::formatMismatchIsShownOnce()
{
    AppFixture f;
    fillWithSamples(f);
    f.store().setSlot(1, withSecondFormatSpecifier(1, 112)); // 120 then 112: still a call
    f.prompts.expectInformation(kFormatError);
    f.mainWindow().decodeMessage();
    QVERIFY2(f.prompts.ok(), qPrintable(f.prompts.problems()));
    QCOMPARE(f.prompts.shown.size(), 1);
    QVERIFY(f.mainWindow().Distress->isHidden());
    QCOMPARE(f.mainWindow().fieldText("FSdigit"), QStringLiteral("120"));
}

void TestDecodeNavigation::clearRoutinesLeaveVerdictLabels()
{
    AppFixture f;
    MainWindow &w = f.mainWindow();
    const QStringList everything = w.fieldTexts().keys();
    for (const QString &name : everything)
        w.setFieldText(name, QStringLiteral("x"));

    w.clearCallFields();
    for (const QString &name : everything) {
        const bool cleared = callFieldsToClear().contains(name);
        QVERIFY2(w.fieldText(name).isEmpty() == cleared, qPrintable(name));
    }
    QCOMPARE(w.fieldText("ECCCheck"), QStringLiteral("x"));
    QCOMPARE(w.fieldText("Label16"), QStringLiteral("x"));

    w.clearDistressFields();
    for (const QString &name : kDistressFields)
        QVERIFY2(w.fieldText(name).isEmpty(), qPrintable(name));
    QCOMPARE(w.fieldText("ECCCDheck"), QStringLiteral("x"));
    QCOMPARE(w.fieldText("RadioType"), QStringLiteral("x"));
    QCOMPARE(w.fieldText("CCompany"), QStringLiteral("x"));
    QVERIFY2(f.prompts.ok(), qPrintable(f.prompts.problems()));
}

// showDistress needs no clearing by its caller.
void TestDecodeNavigation::distressDecodeClearsItsFieldsItself()
{
    AppFixture f;
    fillWithSamples(f);
    MainWindow &w = f.mainWindow();
    for (const QString &name : kDistressFields)
        w.setFieldText(name, QStringLiteral("stale"));
    w.setFieldText("ECCCDheck", QStringLiteral("stale"));
    w.showDistress(4);
    compareFields(w, decodeDistress(sampleRecord(4)).fields());
    QCOMPARE(w.fieldText("ECCCDheck"), QStringLiteral("Bad"));
    QVERIFY2(f.prompts.ok(), qPrintable(f.prompts.problems()));
}

void TestDecodeNavigation::byteIdenticalSlotsShowIdenticalFields()
{
    AppFixture f;
    fillWithSamples(f);
    MainWindow &w = f.mainWindow();
    for (auto pair : QList<QPair<int, int>>{{2, 7}, {4, 9}, {5, 15}, {6, 16}}) {
        f.store().set_display_index(pair.first);
        w.decodeMessage();
        const FieldTexts first = w.fieldTexts();
        f.store().set_display_index(pair.second);
        w.decodeMessage();
        QCOMPARE(w.fieldTexts(), first);
    }
    QVERIFY2(f.prompts.ok(), qPrintable(f.prompts.problems()));
}

void TestDecodeNavigation::kilohertzUsesTheLocaleSeparator()
{
    AppFixture f;
    fillWithSamples(f);
    QByteArray bytes = sampleRecord(1);
    bytes[53] = 1;  // FS1 = 1 25 77
    bytes[54] = 25;
    bytes[55] = 77;
    f.store().setSlot(1, bytes);
    f.mainWindow().decodeMessage();
    QCOMPARE(f.mainWindow().fieldText("FS1meaning"),
             QStringLiteral("1257") + QLocale::system().decimalPoint() + QStringLiteral("7 kHz"));
    QCOMPARE(f.mainWindow().fieldText("FS2meaning"), QStringLiteral("VHF CH - 0006"));
    QVERIFY2(f.prompts.ok(), qPrintable(f.prompts.problems()));
}

// A record shorter than 64 bytes is decoded as if padded with zero bytes.
void TestDecodeNavigation::shortRecordIsReadAsZeros()
{
    AppFixture f;
    fillWithSamples(f);
    f.store().setSlot(1, sampleRecord(1).left(39));
    // Position 40 is missing, so it reads 0 and differs from the 120 at position 39.
    f.prompts.expectInformation(kFormatError);
    f.mainWindow().decodeMessage();
    compareFields(f.mainWindow(), {{"MNO", "13107"},
                              {"FSdigit", "120"},
                              {"MMSIdigit", "00 00 00 00 00 "},
                              {"EOS2", "0 0"},
                              {"ECCCheck", "Ok"}});
    QVERIFY2(f.prompts.ok(), qPrintable(f.prompts.problems()));
}

QTEST_MAIN(TestDecodeNavigation)
#include "test_decode_navigation.moc"
