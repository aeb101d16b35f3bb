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
    QList<QByteArray> slots{sampleIdentificationLine()};
    for (int slot = 1; slot <= 16; ++slot)
        slots << sampleRecord(slot);
    test::SessionAccess::hold(f.session(), slots, recordCount);
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
    w.session().next();
    f.prompts.expectInformation(kNoData);
    w.session().previous();
    f.prompts.expectInformation(kNoDataToDecode);
    w.session().decodeMessage();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QCOMPARE(f.prompts.shown.size(), 3);

    QCOMPARE(f.store().displayIndex(), 1);
    QVERIFY(!control<QToolButton>(w, "Next")->isHidden());
    QVERIFY(control<QToolButton>(w, "Prev")->isHidden());
    QVERIFY(control<QFrame>(w, "Distress")->isHidden());
    QCOMPARE(w.fieldText(Field::CurrentRecord), QString());
    QCOMPARE(w.fieldText(Field::Identification), QString());
    QCOMPARE(w.statusText(), kStartHint);
    for (Field name : callDisplayFields())
        QVERIFY2(w.fieldText(name).isEmpty(), fieldName(name));

    // The Next button itself, shown at start, gives the same message.
    f.prompts.expectInformation(kNoData);
    QTest::mouseClick(control<QToolButton>(w, "Next"), Qt::LeftButton);
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QCOMPARE(f.store().displayIndex(), 1);
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

    QCOMPARE(w.fieldText(Field::Identification), QStringLiteral("GMDSS TESTER S/N 001 rev 1.324"));
    compareFields(w, kSlot1);
    QVERIFY(control<QFrame>(w, "Distress")->isHidden());
    QCOMPARE(w.statusText(), kSaveHint);
    // It moves nothing.
    QCOMPARE(f.store().displayIndex(), 1);
    QCOMPARE(w.fieldText(Field::CurrentRecord), QStringLiteral("1"));
    QVERIFY(control<QToolButton>(w, "Prev")->isHidden());
    QVERIFY(!control<QToolButton>(w, "Next")->isHidden());
}

void TestDecodeNavigation::decodeMessageShowsDistressAlert()
{
    AppFixture f;
    fillWithSamples(f);
    MainWindow &w = f.mainWindow();
    f.store().setDisplayIndex(3);
    w.session().decodeMessage();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QVERIFY(!control<QFrame>(w, "Distress")->isHidden());
    compareFields(w, kSlot3);
    // The call fields hold nothing but the header.
    for (Field name : kCallFields)
        QVERIFY2(w.fieldText(name).isEmpty(), fieldName(name));

    // Slot 4: other coordinates, subsequent communication, ECC and verdict.
    f.store().setDisplayIndex(4);
    w.session().decodeMessage();
    compareFields(w, {{Field::ReceivedFrequency, "12577.0 kHZ"},
                      {Field::PositionDigits, "99 99 99 99 99 "},
                      {Field::PositionMeaning, "No information"},
                      {Field::SubsequentDigits, "109"},
                      {Field::SubsequentMeaning, "J3E telephony"},
                      {Field::DistressErrorCheck, "48"},
                      {Field::DistressErrorCheckVerdict, "Bad"}});
    KELPRA_VERIFY_PROMPTS(f.prompts);
}

// With 16 records: Next fifteen times shows 2 to 16 and hides Next at 16; Prev shows Next
// again at once and walks back to 1, where Prev is hidden.
void TestDecodeNavigation::fifteenTimesNextThenBack()
{
    AppFixture f;
    fillWithSamples(f);
    MainWindow &w = f.mainWindow();
    w.session().decodeMessage();

    for (int step = 1; step <= 15; ++step) {
        const int slot = step + 1;
        QVERIFY2(!control<QToolButton>(w, "Next")->isHidden(), qPrintable(QString::number(slot)));
        QTest::mouseClick(control<QToolButton>(w, "Next"), Qt::LeftButton);
        QCOMPARE(f.store().displayIndex(), slot);
        QCOMPARE(w.fieldText(Field::CurrentRecord), QString::number(slot));
        QVERIFY(!control<QToolButton>(w, "Prev")->isHidden());
        QCOMPARE(control<QToolButton>(w, "Next")->isHidden(), slot == 16);
        QCOMPARE(control<QFrame>(w, "Distress")->isHidden(), !isDistressSlot(slot));
        QCOMPARE(w.statusText(), kSaveHint);
        compareFields(w, decodeRecord(sampleRecord(slot), QLocale::system().decimalPoint()).fields());
    }
    QCOMPARE(w.fieldText(Field::CurrentRecord), QStringLiteral("16"));
    QVERIFY(control<QToolButton>(w, "Next")->isHidden());

    for (int slot = 15; slot >= 1; --slot) {
        QVERIFY(!control<QToolButton>(w, "Prev")->isHidden());
        QTest::mouseClick(control<QToolButton>(w, "Prev"), Qt::LeftButton);
        QCOMPARE(f.store().displayIndex(), slot);
        QCOMPARE(w.fieldText(Field::CurrentRecord), QString::number(slot));
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
        w.session().next();
        QCOMPARE(control<QToolButton>(w, "Next")->isHidden(), slot == 5);
    }
    QCOMPARE(f.store().displayIndex(), 5);
    w.session().previous();
    QVERIFY(!control<QToolButton>(w, "Next")->isHidden());
    QCOMPARE(f.store().displayIndex(), 4);
    KELPRA_VERIFY_PROMPTS(f.prompts);
}

void TestDecodeNavigation::nextShowsPrevAndPrevHidesIt()
{
    AppFixture f;
    fillWithSamples(f);
    MainWindow &w = f.mainWindow();
    QVERIFY(control<QToolButton>(w, "Prev")->isHidden());
    w.session().next();
    QVERIFY(!control<QToolButton>(w, "Prev")->isHidden());
    QCOMPARE(w.fieldText(Field::CurrentRecord), QStringLiteral("2"));
    w.session().previous();
    QVERIFY(control<QToolButton>(w, "Prev")->isHidden());
    QVERIFY(!control<QToolButton>(w, "Next")->isHidden());
    QCOMPARE(w.fieldText(Field::CurrentRecord), QStringLiteral("1"));
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

    QVERIFY(w.fieldText(Field::Identification).isEmpty());
    w.session().next();
    QCOMPARE(w.fieldText(Field::Identification), sample);

    // A file was loaded while Label16 shows the sample line.
    f.store().setSlot(0, "GMDSS TESTER S/N (SAVED DATA) rev 2.5");
    w.session().next();
    QCOMPARE(w.fieldText(Field::Identification), sample);
    w.session().previous();
    QCOMPARE(w.fieldText(Field::Identification), sample);
    w.session().decodeMessage();
    QCOMPARE(w.fieldText(Field::Identification), QStringLiteral("GMDSS TESTER S/N (SAVED DATA) rev 2.5"));

    // Prev leaves an empty Label16 empty.
    w.setFieldText(Field::Identification, QString());
    w.session().previous();
    QVERIFY(w.fieldText(Field::Identification).isEmpty());
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
        f.store().setDisplayIndex(2);
    else if (command == QLatin1String("Prev"))
        f.store().setDisplayIndex(4);
    else
        f.store().setDisplayIndex(3);
    for (Field name : callDisplayFields())
        w.setFieldText(name, QStringLiteral("stale ") + fieldKey(name));
    w.setFieldText(Field::ErrorCheckVerdict, QStringLiteral("stale verdict"));

    if (command == QLatin1String("Next"))
        w.session().next();
    else if (command == QLatin1String("Prev"))
        w.session().previous();
    else
        w.session().decodeMessage();

    QCOMPARE(f.store().displayIndex(), 3);
    QVERIFY(!control<QFrame>(w, "Distress")->isHidden());
    for (Field name : kCallFields)
        QVERIFY2(w.fieldText(name).isEmpty(), fieldName(name));
    compareFields(w, kSlot3);
    // The call verdict label is not among the cleared fields: it keeps its text, hidden.
    QCOMPARE(w.fieldText(Field::ErrorCheckVerdict), QStringLiteral("stale verdict"));
    KELPRA_VERIFY_PROMPTS(f.prompts);
}

// After a call the distress fields keep the last alert's texts under the hidden panel.
void TestDecodeNavigation::callAfterDistressAndBack()
{
    AppFixture f;
    fillWithSamples(f);
    MainWindow &w = f.mainWindow();
    f.store().setDisplayIndex(2);
    w.session().next(); // 3, distress
    QVERIFY(!control<QFrame>(w, "Distress")->isHidden());
    w.session().previous(); // 2, call
    QVERIFY(control<QFrame>(w, "Distress")->isHidden());
    compareFields(w, {{Field::FormatDigits, "120"},
                      {Field::CategoryDigits, "108"},
                      {Field::CategoryMeaning, "Safety"},
                      {Field::FirstCommandMeaning, "Test"},
                      {Field::Message1Digits, "126 126 126 "},
                      {Field::Message1Meaning, "No information"},
                      {Field::ErrorCheckVerdict, "Bad"}});
    compareFields(w, {{Field::PositionMeaning, kSlot3.value(Field::PositionMeaning)}, {Field::DistressErrorCheckVerdict, "Ok"}});
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
        QCOMPARE(w.fieldText(Field::FormatDigits), QStringLiteral("120"));
        QCOMPARE(w.fieldText(Field::FormatMeaning), QStringLiteral("Individual stations"));
        QCOMPARE(w.fieldText(Field::MeasurementNumber), QStringLiteral("13107"));
        QVERIFY(w.fieldText(Field::AddressMeaning).isEmpty());
        QVERIFY(w.fieldText(Field::EndOfSequence2).isEmpty());
        QVERIFY(control<QFrame>(w, "Distress")->isHidden());
    });
    w.session().next();
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
        QCOMPARE(w.fieldText(Field::DistressFormatDigits), QStringLiteral("112"));
        QCOMPARE(w.fieldText(Field::DistressFormatMeaning), QStringLiteral("Distress"));
        QVERIFY(w.fieldText(Field::DistressSelfMeaning).isEmpty());
        QVERIFY(w.fieldText(Field::FormatDigits).isEmpty());
    });
    w.session().decodeMessage();
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
    f.mainWindow().session().decodeMessage();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QCOMPARE(f.prompts.shown.size(), 1);
    QVERIFY(control<QFrame>(f.mainWindow(), "Distress")->isHidden());
    QCOMPARE(f.mainWindow().fieldText(Field::FormatDigits), QStringLiteral("120"));
}

void TestDecodeNavigation::clearRoutinesLeaveVerdictLabels()
{
    AppFixture f;
    MainWindow &w = f.mainWindow();
    const QList<Field> everything = w.fieldTexts().keys();
    for (Field name : everything)
        w.setFieldText(name, QStringLiteral("x"));

    w.session().clearCallDisplay();
    for (Field name : everything) {
        const bool cleared = callDisplayFields().contains(name);
        QVERIFY2(w.fieldText(name).isEmpty() == cleared, fieldName(name));
    }
    QCOMPARE(w.fieldText(Field::ErrorCheckVerdict), QStringLiteral("x"));
    QCOMPARE(w.fieldText(Field::Identification), QStringLiteral("x"));
    QCOMPARE(w.fieldText(Field::DistressErrorCheckVerdict), QStringLiteral("x"));
    QCOMPARE(w.fieldText(Field::RadioModel), QStringLiteral("x"));
    QCOMPARE(w.fieldText(Field::ControllerCompany), QStringLiteral("x"));
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
    w.setFieldText(Field::DistressErrorCheckVerdict, QStringLiteral("stale"));
    test::SessionAccess::decode(f.session(), 4);
    compareFields(w, decodeRecord(sampleRecord(4)).rows);
    QCOMPARE(w.fieldText(Field::DistressErrorCheckVerdict), QStringLiteral("Bad"));
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
        f.store().setDisplayIndex(pair.first);
        w.session().decodeMessage();
        const FieldTexts first = w.fieldTexts();
        f.store().setDisplayIndex(pair.second);
        w.session().decodeMessage();
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
    f.mainWindow().session().decodeMessage();
    QCOMPARE(f.mainWindow().fieldText(Field::Message1Meaning),
             QStringLiteral("1257") + QLocale::system().decimalPoint() + QStringLiteral("7 kHz"));
    QCOMPARE(f.mainWindow().fieldText(Field::Message2Meaning), QStringLiteral("VHF CH - 0006"));
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
    w.session().decodeMessage();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    compareFields(w, {{Field::MeasurementNumber, "13107"},
                      {Field::MeasurementDate, "15.12.06 24:35"},
                      {Field::SignalLevel, "128"},
                      {Field::FormatDigits, "120"},
                      {Field::AddressDigits, "20 13 23 54 50 "},
                      {Field::CategoryMeaning, "Routine"},
                      {Field::SelfIdDigits, ""},
                      {Field::SelfIdMeaning, ""},
                      {Field::Message1Meaning, ""},
                      {Field::EndOfSequence2, ""},
                      {Field::ErrorCheck, ""},
                      {Field::ErrorCheckVerdict, "Ok"}});
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
    f.store().setDisplayIndex(before);
    w.session().decodeMessage();
    f.prompts.expectInformation(QStringLiteral("Record %1 holds no data.").arg(before + 1));
    w.session().next();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QCOMPARE(f.store().displayIndex(), before + 1);
    QCOMPARE(w.fieldText(Field::CurrentRecord), QString::number(before + 1));
    QVERIFY(!w.distressShown());
    for (Field name : callDisplayFields())
        QVERIFY2(w.fieldText(name).isEmpty(), fieldName(name));
    QVERIFY(w.fieldText(Field::ErrorCheckVerdict).isEmpty());
    QCOMPARE(w.statusText(), kSaveHint);

    // "Decode message" on it says the same again.
    f.prompts.expectInformation(QStringLiteral("Record %1 holds no data.").arg(before + 1));
    w.session().decodeMessage();
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
    w.session().decodeMessage();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    auto *label = control<QLabel>(w, "Label16");
    QCOMPARE(label->textFormat(), Qt::PlainText);
    QCOMPARE(label->text(), QStringLiteral("<b>GMDSS TESTER</b> S/N 7"));
    QCOMPARE(f.store().slot(0), line);

    // Next fills an empty Label16 the same way.
    label->clear();
    w.session().next();
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
    f.store().setDisplayIndex(3);
    w.session().decodeMessage();
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

    f.store().setDisplayIndex(1);
    w.session().decodeMessage();
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
        {2, call, distress, "pass", "#1a7f37", "ECC received 0, computed 0",
         QStringLiteral("Self MMSI 325142000 \u2014 Dominica (DM)")},
        {5, call, distress, "warn", "#a86400", "", "999"},
    };
    for (const auto &c : cases) {
        f.store().setDisplayIndex(c.slot);
        w.session().decodeMessage();
        const QString where = QStringLiteral("record %1: [%2] [%3]").arg(c.slot).arg(c.row->text(), c.row->toolTip());
        QVERIFY2(c.row->text().startsWith(c.verdict + QLatin1Char(' ')), qPrintable(where));
        QVERIFY2(c.row->text().contains(c.ecc), qPrintable(where));
        QVERIFY2(c.row->styleSheet().contains(c.colour), qPrintable(where));
        QVERIFY2(c.row->toolTip().contains(c.sentence), qPrintable(where));
        QVERIFY2(c.other->text().isEmpty() && c.other->toolTip().isEmpty(), qPrintable(where));
        QCOMPARE(c.row->isVisibleTo(&w), true);
    }
    // Every finding and identity is in the tooltip, one per line.
    f.store().setDisplayIndex(1);
    w.session().decodeMessage();
    const CallCheck expected = checkRecord(sampleRecord(1));
    QCOMPARE(call->toolTip().split(QLatin1Char('\n')),
             QStringList{QStringLiteral("Kelpra's own verdict, computed from the symbols received:")}
                 + checkDetailLines(expected));
    QCOMPARE(control<QLabel>(w, "ECCCheck")->toolTip(),
             QStringLiteral("The test set's own verdict on the error-check character it received."));
    for (const CheckFinding &finding : expected.findings)
        QVERIFY2(call->toolTip().contains(finding.text), qPrintable(finding.text));

    f.store().setSlot(2, QByteArray());
    f.prompts.expectInformation(QStringLiteral("Record 2 holds no data."));
    w.session().next();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    for (QLabel *row : {call, distress})
        QVERIFY(row->text().isEmpty() && row->toolTip().isEmpty());
}

#include "test_decode_navigation.moc"
