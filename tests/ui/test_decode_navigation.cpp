// "Decode message", `Next` and `Prev` on the main window, with the call and
// distress decoders writing into its controls.
#include "support/app_fixture.h"
#include "support/test_helpers.h"
#include "support/sample_fields.h"

#include "data/measurement_store.h"
#include "data/sample_set.h"
#include "dsc/call_check.h"
#include "dsc/record_decoder.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QToolButton>

using namespace kelpra;
using kelpra::test::rowFields;
using kelpra::test::control;
using kelpra::test::AppFixture;

namespace {

const QString kNoData = QStringLiteral("Please download the data or read it from file!");
const QString kNoDataToDecode = QStringLiteral("Please download the data or read it from file before decoding!");
const QString kSaveHint = QStringLiteral("Please use upper menu to save data in bin or txt format.");
const QString kStartHint = QStringLiteral("Please download the data from tester or load it from file.");
const QString kFormatError = QStringLiteral("Error in format specifier.");

const QList<Field> kCallFields = rowFields(kCallRows);
const QList<Field> kDistressFields = rowFields(kDistressRows);

// Puts the sample set into the store as "Emulation" does, record 1 on display.
void fillWithSamples(AppFixture &f, int recordCount = 16)
{
    f.store().setSlot(0, sampleIdentificationLine());
    for (int slot = 1; slot <= 16; ++slot)
        f.store().setSlot(slot, sampleRecord(slot));
    f.store().set_record_count(recordCount);
    f.store().set_display_index(1);
    control<QLabel>(f.mainWindow(), "current")->setText(QStringLiteral("1"));
    control<QToolButton>(f.mainWindow(), "Prev")->setVisible(false);
    control<QToolButton>(f.mainWindow(), "Next")->setVisible(true);
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
                                .arg(fieldKey(it.key()), w.fieldText(it.key()), QString::fromLatin1(it.value()))));
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
    void shortRecordFillsOnlyWhatItHolds();
    void emptySlotIsNoCall_data();
    void emptySlotIsNoCall();
    void label16IsPlainTextWithoutPadding();
    void tabSkipsCallRowsUnderTheDistressPanel();
    void checkRowsShowTheVerdict();
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
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QCOMPARE(f.prompts.shown.size(), 3);

    QCOMPARE(f.store().display_index(), 1);
    QVERIFY(!control<QToolButton>(w, "Next")->isHidden());
    QVERIFY(control<QToolButton>(w, "Prev")->isHidden());
    QVERIFY(control<QFrame>(w, "Distress")->isHidden());
    QCOMPARE(w.fieldText(Field::current), QString());
    QCOMPARE(w.fieldText(Field::Label16), QString());
    QCOMPARE(w.statusText(), kStartHint);
    for (Field name : callDisplayFields())
        QVERIFY2(w.fieldText(name).isEmpty(), fieldName(name));

    // The Next button itself, shown at start, gives the same message.
    f.prompts.expectInformation(kNoData);
    QTest::mouseClick(control<QToolButton>(w, "Next"), Qt::LeftButton);
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QCOMPARE(f.store().display_index(), 1);
}

// "Decode message" is reached from the menu although its button is never shown.
void TestDecodeNavigation::decodeMessageFromTheMenuWithoutData()
{
    AppFixture f;
    QVERIFY(control<QPushButton>(f.mainWindow(), "Button1")->isHidden());
    f.prompts.expectInformation(kNoDataToDecode);
    control<QAction>(f.mainWindow(), "Decodemessage1")->trigger();
    KELPRA_VERIFY_PROMPTS(f.prompts);
}

void TestDecodeNavigation::decodeMessageShowsRecordOnDisplay()
{
    AppFixture f;
    fillWithSamples(f);
    MainWindow &w = f.mainWindow();
    control<QAction>(f.mainWindow(), "Decodemessage1")->trigger();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QVERIFY(f.prompts.shown.isEmpty());

    QCOMPARE(w.fieldText(Field::Label16), QStringLiteral("GMDSS TESTER S/N 001 rev 1.324"));
    compareFields(w, kSlot1);
    QVERIFY(control<QFrame>(w, "Distress")->isHidden());
    QCOMPARE(w.statusText(), kSaveHint);
    // It moves nothing.
    QCOMPARE(f.store().display_index(), 1);
    QCOMPARE(w.fieldText(Field::current), QStringLiteral("1"));
    QVERIFY(control<QToolButton>(w, "Prev")->isHidden());
    QVERIFY(!control<QToolButton>(w, "Next")->isHidden());
}

void TestDecodeNavigation::decodeMessageShowsDistressAlert()
{
    AppFixture f;
    fillWithSamples(f);
    MainWindow &w = f.mainWindow();
    f.store().set_display_index(3);
    w.decodeMessage();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QVERIFY(!control<QFrame>(w, "Distress")->isHidden());
    compareFields(w, kSlot3);
    // The call fields hold nothing but the header.
    for (Field name : kCallFields)
        QVERIFY2(w.fieldText(name).isEmpty(), fieldName(name));

    // Slot 4: other coordinates, subsequent communication, ECC and verdict.
    f.store().set_display_index(4);
    w.decodeMessage();
    compareFields(w, {{Field::Frequency, "12577.0 kHZ"},
                      {Field::DCdigits, "99 99 99 99 99 "},
                      {Field::DCmeaning, "No information"},
                      {Field::SCdigit, "109"},
                      {Field::SCmeaning, "J3E telephony"},
                      {Field::ECCD, "48"},
                      {Field::ECCCDheck, "Bad"}});
    KELPRA_VERIFY_PROMPTS(f.prompts);
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
        QVERIFY2(!control<QToolButton>(w, "Next")->isHidden(), qPrintable(QString::number(slot)));
        QTest::mouseClick(control<QToolButton>(w, "Next"), Qt::LeftButton);
        QCOMPARE(f.store().display_index(), slot);
        QCOMPARE(w.fieldText(Field::current), QString::number(slot));
        QVERIFY(!control<QToolButton>(w, "Prev")->isHidden());
        QCOMPARE(control<QToolButton>(w, "Next")->isHidden(), slot == 16);
        QCOMPARE(control<QFrame>(w, "Distress")->isHidden(), !isDistressSlot(slot));
        QCOMPARE(w.statusText(), kSaveHint);
        compareFields(w, decodeRecord(sampleRecord(slot), QLocale::system().decimalPoint()).fields());
    }
    QCOMPARE(w.fieldText(Field::current), QStringLiteral("16"));
    QVERIFY(control<QToolButton>(w, "Next")->isHidden());

    for (int slot = 15; slot >= 1; --slot) {
        QVERIFY(!control<QToolButton>(w, "Prev")->isHidden());
        QTest::mouseClick(control<QToolButton>(w, "Prev"), Qt::LeftButton);
        QCOMPARE(f.store().display_index(), slot);
        QCOMPARE(w.fieldText(Field::current), QString::number(slot));
        QVERIFY(!control<QToolButton>(w, "Next")->isHidden());
        QCOMPARE(control<QToolButton>(w, "Prev")->isHidden(), slot == 1);
        QCOMPARE(control<QFrame>(w, "Distress")->isHidden(), !isDistressSlot(slot));
        compareFields(w, decodeRecord(sampleRecord(slot), QLocale::system().decimalPoint()).fields());
    }
    compareFields(w, kSlot1);
    KELPRA_VERIFY_PROMPTS(f.prompts);
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
        QCOMPARE(control<QToolButton>(w, "Next")->isHidden(), slot == 5);
    }
    QCOMPARE(f.store().display_index(), 5);
    w.previousRecord();
    QVERIFY(!control<QToolButton>(w, "Next")->isHidden());
    QCOMPARE(f.store().display_index(), 4);
    KELPRA_VERIFY_PROMPTS(f.prompts);
}

void TestDecodeNavigation::nextShowsPrevAndPrevHidesIt()
{
    AppFixture f;
    fillWithSamples(f);
    MainWindow &w = f.mainWindow();
    QVERIFY(control<QToolButton>(w, "Prev")->isHidden());
    w.nextRecord();
    QVERIFY(!control<QToolButton>(w, "Prev")->isHidden());
    QCOMPARE(w.fieldText(Field::current), QStringLiteral("2"));
    w.previousRecord();
    QVERIFY(control<QToolButton>(w, "Prev")->isHidden());
    QVERIFY(!control<QToolButton>(w, "Next")->isHidden());
    QCOMPARE(w.fieldText(Field::current), QStringLiteral("1"));
    compareFields(w, kSlot1);
    KELPRA_VERIFY_PROMPTS(f.prompts);
}

// Next fills an empty Label16 and leaves a filled one alone; Prev never touches it;
// "Decode message" always replaces it with slot 0.
void TestDecodeNavigation::label16Rules()
{
    AppFixture f;
    fillWithSamples(f);
    MainWindow &w = f.mainWindow();
    const QString sample = QStringLiteral("GMDSS TESTER S/N 001 rev 1.324");

    QVERIFY(w.fieldText(Field::Label16).isEmpty());
    w.nextRecord();
    QCOMPARE(w.fieldText(Field::Label16), sample);

    // A file was loaded while Label16 shows the sample line.
    f.store().setSlot(0, "GMDSS TESTER S/N (SAVED DATA) rev 2.5");
    w.nextRecord();
    QCOMPARE(w.fieldText(Field::Label16), sample);
    w.previousRecord();
    QCOMPARE(w.fieldText(Field::Label16), sample);
    w.decodeMessage();
    QCOMPARE(w.fieldText(Field::Label16), QStringLiteral("GMDSS TESTER S/N (SAVED DATA) rev 2.5"));

    // Prev leaves an empty Label16 empty.
    w.setFieldText(Field::Label16, QString());
    w.previousRecord();
    QVERIFY(w.fieldText(Field::Label16).isEmpty());
    KELPRA_VERIFY_PROMPTS(f.prompts);
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
    for (Field name : callDisplayFields())
        w.setFieldText(name, QStringLiteral("stale ") + fieldKey(name));
    w.setFieldText(Field::ECCCheck, QStringLiteral("stale verdict"));

    if (command == QLatin1String("Next"))
        w.nextRecord();
    else if (command == QLatin1String("Prev"))
        w.previousRecord();
    else
        w.decodeMessage();

    QCOMPARE(f.store().display_index(), 3);
    QVERIFY(!control<QFrame>(w, "Distress")->isHidden());
    for (Field name : kCallFields)
        QVERIFY2(w.fieldText(name).isEmpty(), fieldName(name));
    compareFields(w, kSlot3);
    // The call verdict label is not among the cleared fields: it keeps its text, hidden.
    QCOMPARE(w.fieldText(Field::ECCCheck), QStringLiteral("stale verdict"));
    KELPRA_VERIFY_PROMPTS(f.prompts);
}

// After a call the distress fields keep the last alert's texts under the hidden panel.
void TestDecodeNavigation::callAfterDistressAndBack()
{
    AppFixture f;
    fillWithSamples(f);
    MainWindow &w = f.mainWindow();
    f.store().set_display_index(2);
    w.nextRecord(); // 3, distress
    QVERIFY(!control<QFrame>(w, "Distress")->isHidden());
    w.previousRecord(); // 2, call
    QVERIFY(control<QFrame>(w, "Distress")->isHidden());
    compareFields(w, {{Field::FSdigit, "120"},
                      {Field::CatDigit, "108"},
                      {Field::CatMeaning, "Safety"},
                      {Field::FTMeaning, "Test"},
                      {Field::FS1digit, "126 126 126 "},
                      {Field::FS1meaning, "No information"},
                      {Field::ECCCheck, "Bad"}});
    compareFields(w, {{Field::DCmeaning, kSlot3.value(Field::DCmeaning)}, {Field::ECCCDheck, "Ok"}});
    KELPRA_VERIFY_PROMPTS(f.prompts);
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
        QCOMPARE(w.fieldText(Field::FSdigit), QStringLiteral("120"));
        QCOMPARE(w.fieldText(Field::FSMeaning), QStringLiteral("Individual stations"));
        QCOMPARE(w.fieldText(Field::MNO), QStringLiteral("13107"));
        QVERIFY(w.fieldText(Field::MMSIMeaning).isEmpty());
        QVERIFY(w.fieldText(Field::EOS2).isEmpty());
        QVERIFY(control<QFrame>(w, "Distress")->isHidden());
    });
    w.nextRecord();
    QVERIFY(checked);
    KELPRA_VERIFY_PROMPTS(f.prompts);
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
        QVERIFY(!control<QFrame>(w, "Distress")->isHidden());
        QCOMPARE(w.fieldText(Field::FSDdigit), QStringLiteral("112"));
        QCOMPARE(w.fieldText(Field::FSDmeaning), QStringLiteral("Distress"));
        QVERIFY(w.fieldText(Field::SelfMMSIDmeaning).isEmpty());
        QVERIFY(w.fieldText(Field::FSdigit).isEmpty());
    });
    w.decodeMessage();
    QVERIFY(checked);
    KELPRA_VERIFY_PROMPTS(f.prompts);
    compareFields(w, kSlot3);
}

void TestDecodeNavigation::formatMismatchIsShownOnce()
{
    AppFixture f;
    fillWithSamples(f);
    f.store().setSlot(1, withSecondFormatSpecifier(1, 112)); // 120 then 112: still a call
    f.prompts.expectInformation(kFormatError);
    f.mainWindow().decodeMessage();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QCOMPARE(f.prompts.shown.size(), 1);
    QVERIFY(control<QFrame>(f.mainWindow(), "Distress")->isHidden());
    QCOMPARE(f.mainWindow().fieldText(Field::FSdigit), QStringLiteral("120"));
}

void TestDecodeNavigation::clearRoutinesLeaveVerdictLabels()
{
    AppFixture f;
    MainWindow &w = f.mainWindow();
    const QList<Field> everything = w.fieldTexts().keys();
    for (Field name : everything)
        w.setFieldText(name, QStringLiteral("x"));

    w.clearCallFields();
    for (Field name : everything) {
        const bool cleared = callDisplayFields().contains(name);
        QVERIFY2(w.fieldText(name).isEmpty() == cleared, fieldName(name));
    }
    QCOMPARE(w.fieldText(Field::ECCCheck), QStringLiteral("x"));
    QCOMPARE(w.fieldText(Field::Label16), QStringLiteral("x"));
    QCOMPARE(w.fieldText(Field::ECCCDheck), QStringLiteral("x"));
    QCOMPARE(w.fieldText(Field::RadioType), QStringLiteral("x"));
    QCOMPARE(w.fieldText(Field::CCompany), QStringLiteral("x"));
    KELPRA_VERIFY_PROMPTS(f.prompts);
}

// A distress alert replaces every distress field, its verdict included; its caller clears
// only the call display.
void TestDecodeNavigation::distressDecodeClearsItsFieldsItself()
{
    AppFixture f;
    fillWithSamples(f);
    MainWindow &w = f.mainWindow();
    for (Field name : kDistressFields)
        w.setFieldText(name, QStringLiteral("stale"));
    w.setFieldText(Field::ECCCDheck, QStringLiteral("stale"));
    w.showRecord(4);
    compareFields(w, decodeRecord(sampleRecord(4)).rows);
    QCOMPARE(w.fieldText(Field::ECCCDheck), QStringLiteral("Bad"));
    for (Field name : kDistressFields)
        QVERIFY2(w.fieldText(name) != QLatin1String("stale"), fieldName(name));
    KELPRA_VERIFY_PROMPTS(f.prompts);
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
    KELPRA_VERIFY_PROMPTS(f.prompts);
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
    QCOMPARE(f.mainWindow().fieldText(Field::FS1meaning),
             QStringLiteral("1257") + QLocale::system().decimalPoint() + QStringLiteral("7 kHz"));
    QCOMPARE(f.mainWindow().fieldText(Field::FS2meaning), QStringLiteral("VHF CH - 0006"));
    KELPRA_VERIFY_PROMPTS(f.prompts);
}

// A record shorter than 64 bytes fills the fields whose positions it holds; the others stay
// empty, not zeros, and a missing second format specifier is no mismatch.
void TestDecodeNavigation::shortRecordFillsOnlyWhatItHolds()
{
    AppFixture f;
    fillWithSamples(f);
    MainWindow &w = f.mainWindow();
    f.store().setSlot(1, sampleRecord(1).left(46));
    w.decodeMessage();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    compareFields(w, {{Field::MNO, "13107"},
                      {Field::Date, "15.12.06 24:35"},
                      {Field::RSSI, "128"},
                      {Field::FSdigit, "120"},
                      {Field::MMSIdigit, "20 13 23 54 50 "},
                      {Field::CatMeaning, "Routine"},
                      {Field::SelfMMSIdigit, ""},
                      {Field::SelfMMSI, ""},
                      {Field::FS1meaning, ""},
                      {Field::EOS2, ""},
                      {Field::ECC, ""},
                      {Field::ECCCheck, "Ok"}});
    QVERIFY(!w.distressShown());
}

void TestDecodeNavigation::emptySlotIsNoCall_data()
{
    QTest::addColumn<int>("before");
    QTest::newRow("after a call") << 1;
    QTest::newRow("after a distress alert") << 3;
}

// Reaching an empty slot says so and shows nothing of a call: no "000 000000", no "0 kHz",
// nothing of the record shown before.
void TestDecodeNavigation::emptySlotIsNoCall()
{
    QFETCH(int, before);
    AppFixture f;
    fillWithSamples(f);
    MainWindow &w = f.mainWindow();
    f.store().setSlot(before + 1, QByteArray());
    f.store().set_display_index(before);
    w.decodeMessage();
    f.prompts.expectInformation(QStringLiteral("Record %1 holds no data.").arg(before + 1));
    w.nextRecord();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QCOMPARE(f.store().display_index(), before + 1);
    QCOMPARE(w.fieldText(Field::current), QString::number(before + 1));
    QVERIFY(!w.distressShown());
    for (Field name : callDisplayFields())
        QVERIFY2(w.fieldText(name).isEmpty(), fieldName(name));
    QVERIFY(w.fieldText(Field::ECCCheck).isEmpty());
    QCOMPARE(w.statusText(), kSaveHint);

    // "Decode message" on it says the same again.
    f.prompts.expectInformation(QStringLiteral("Record %1 holds no data.").arg(before + 1));
    w.decodeMessage();
    KELPRA_VERIFY_PROMPTS(f.prompts);
}

// Label16 shows the identification line as text, never as markup, and without the zero
// bytes and blanks a test set may pad it with; the store keeps the line as it came.
void TestDecodeNavigation::label16IsPlainTextWithoutPadding()
{
    AppFixture f;
    fillWithSamples(f);
    MainWindow &w = f.mainWindow();
    const QByteArray line = QByteArray("<b>GMDSS TESTER</b> S/N 7") + QByteArray(5, '\0') + "  " + QByteArray(3, '\0');
    f.store().setSlot(0, line);
    w.decodeMessage();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    auto *label = control<QLabel>(w, "Label16");
    QCOMPARE(label->textFormat(), Qt::PlainText);
    QCOMPARE(label->text(), QStringLiteral("<b>GMDSS TESTER</b> S/N 7"));
    QCOMPARE(f.store().slot(0), line);

    // Next fills an empty Label16 the same way.
    label->clear();
    w.nextRecord();
    QCOMPARE(label->text(), QStringLiteral("<b>GMDSS TESTER</b> S/N 7"));
}

// While the distress panel is shown, Tab walks its fields and never lands on a call row
// hidden under it; with a call shown, the call rows are reachable again.
void TestDecodeNavigation::tabSkipsCallRowsUnderTheDistressPanel()
{
    AppFixture f;
    fillWithSamples(f);
    MainWindow &w = f.mainWindow();
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    f.store().set_display_index(3);
    w.decodeMessage();
    QVERIFY(w.distressShown());

    const auto tabThroughWindow = [&]() -> QSet<QString> {
        QSet<QString> reached;
        QLineEdit *start = control<QLineEdit>(w, "Date");
        start->setFocus();
        if (!QTest::qWaitFor([&] { return start->hasFocus(); }))
            return reached;
        for (int i = 0; i < 80; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            if (QWidget *focus = QApplication::focusWidget())
                reached.insert(focus->objectName());
        }
        return reached;
    };
    QSet<QString> reached = tabThroughWindow();
    QVERIFY(reached.contains(QStringLiteral("FSDdigit")));
    QVERIFY(reached.contains(QStringLiteral("EOSD2")));
    for (Field name : kCallFields)
        QVERIFY2(!reached.contains(fieldKey(name)), fieldName(name));

    f.store().set_display_index(1);
    w.decodeMessage();
    reached = tabThroughWindow();
    QVERIFY(reached.contains(QStringLiteral("FSdigit")));
    for (Field name : kDistressFields)
        QVERIFY2(!reached.contains(fieldKey(name)), fieldName(name));
    KELPRA_VERIFY_PROMPTS(f.prompts);
}

QTEST_MAIN(TestDecodeNavigation)
// The check row of the panel on view shows the verdict in its colour, both ECCs and the
// findings; the row of the other panel stays empty, and an empty record empties both.
void TestDecodeNavigation::checkRowsShowTheVerdict()
{
    AppFixture f;
    fillWithSamples(f);
    MainWindow &w = f.mainWindow();
    QLabel *call = control<QLabel>(w, "CallCheck");
    QLabel *distress = control<QLabel>(w, "DistressCheck");
    QVERIFY(call->text().isEmpty());

    // An off-air call that is right in every respect, as the test set stores it.
    QByteArray offAir = QByteArray("01 151206 2435 1 12577.0 kHZ   ") + char(128) + QByteArray(6, char(125));
    for (int symbol : {120, 120, 0, 23, 71, 0, 0, 108, 32, 51, 42, 0, 0, 118, 126, 38, 75, 0, 38, 75, 0, 117, 0,
                       117, 117})
        offAir += static_cast<char>(symbol);
    f.store().setSlot(2, offAir);

    const struct {
        int slot;
        QLabel *row;
        QLabel *other;
        QString verdict;
        QString colour;
        QString ecc;
        QString sentence;
    } cases[] = {
        {1, call, distress, "fail", "#c62828", "ECC received 76, computed 35",
         "The error-check character received is 76, but the symbols give 35."},
        {3, distress, call, "fail", "#c62828", "ECC received 57, computed 75",
         "The error-check character received is 57, but the symbols give 75."},
        {2, call, distress, "pass", "#1a7f37", "ECC received 0, computed 0", QString()},
        {5, call, distress, "warn", "#a86400", "", "999"},
    };
    for (const auto &c : cases) {
        f.store().set_display_index(c.slot);
        w.decodeMessage();
        const QString where = QStringLiteral("record %1: [%2] [%3]").arg(c.slot).arg(c.row->text(), c.row->toolTip());
        QVERIFY2(c.row->text().startsWith(c.verdict + QLatin1Char(' ')), qPrintable(where));
        QVERIFY2(c.row->text().contains(c.ecc), qPrintable(where));
        QVERIFY2(c.row->styleSheet().contains(c.colour), qPrintable(where));
        QVERIFY2(c.sentence.isEmpty() ? c.row->toolTip().isEmpty() : c.row->toolTip().contains(c.sentence),
                 qPrintable(where));
        QVERIFY2(c.other->text().isEmpty() && c.other->toolTip().isEmpty(), qPrintable(where));
        QCOMPARE(c.row->isVisibleTo(&w), true);
    }
    // Every finding is in the tooltip, one per line.
    f.store().set_display_index(1);
    w.decodeMessage();
    const CallCheck expected = checkRecord(sampleRecord(1));
    QCOMPARE(call->toolTip().split(QLatin1Char('\n')).size(), expected.findings.size());
    for (const CheckFinding &finding : expected.findings)
        QVERIFY2(call->toolTip().contains(finding.text), qPrintable(finding.text));

    f.store().setSlot(2, QByteArray());
    f.prompts.expectInformation(QStringLiteral("Record 2 holds no data."));
    w.nextRecord();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    for (QLabel *row : {call, distress})
        QVERIFY(row->text().isEmpty() && row->toolTip().isEmpty());
}

#include "test_decode_navigation.moc"
