// Text typed into the station and controller fields: letters with a Latin form take it as
// they are typed, what Windows-1251 cannot hold is refused with a hint, and what was typed
// is what the data file and details.txt give back.
#include "data/fields.h"
#include "data/sample_set.h"
#include "data/measurement_store.h"
#include "support/app_fixture.h"
#include "support/test_helpers.h"
#include "ui/main_window.h"
#include "ui/text8_field.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace kelpra;
using kelpra::test::AppFixture;
using kelpra::test::here;
using kelpra::test::readFile;

namespace {

QString utf8(const char *text) { return QString::fromUtf8(text); }


QStringList text8FieldNames()
{
    QStringList names;
    for (const CaptionedField &field : kStationFields)
        names << fieldKey(field.field);
    for (const CaptionedField &field : kControllerFields)
        names << fieldKey(field.field);
    return names;
}

// Types each character as a key press carrying its text, as a keyboard layout or an
// input method delivers it (QTest::keyClicks only handles Latin-1).
void type(QWidget *widget, const QString &text)
{
    for (const uint point : text.toUcs4()) {
        const auto c = static_cast<char32_t>(point);
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString::fromUcs4(&c, 1), Qt::NoModifier);
    }
}

QLineEdit *edit(MainWindow &form, const QString &name)
{
    auto *found = form.findChild<QLineEdit *>(name);
    if (!found)
        qFatal("no field %s", qPrintable(name));
    return found;
}

QLabel *hintOf(MainWindow &form, const QString &name)
{
    return form.findChild<QLabel *>(name + QStringLiteral("Hint"));
}

const QString kSofart = utf8("S\u00f8fart \u00c6r\u00f8 GmbH");
const QString kCyrillic = utf8("\u041c\u043e\u0440\u044f\u043a \u2116 5, \u0421\u041f\u0431");

} // namespace

class TestTypedText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void everyTextFieldTakesLatinForms();
    void typedTextIsFitted_data();
    void typedTextIsFitted();
    void cursorStaysBehindWhatWasTyped();
    void refusedCharacterIsNotInsertedAndNamed();
    void pasteIsFittedAndRefusalNamed();
    void decodedFieldsAreKeptTo8BitsToo();
    void typedTextSavesAndLoadsBack();
    void typedDetailsAreRestored();

private:
    QString origin_;
    std::unique_ptr<QTemporaryDir> dir_;
};

void TestTypedText::init()
{
    origin_ = QDir::currentPath();
    dir_ = std::make_unique<QTemporaryDir>(QDir(origin_).filePath(QStringLiteral("case-XXXXXX")));
    QVERIFY(dir_->isValid());
    QVERIFY(QDir::setCurrent(dir_->path()));
}

void TestTypedText::cleanup()
{
    QDir::setCurrent(origin_);
    dir_.reset();
}

void TestTypedText::everyTextFieldTakesLatinForms()
{
    AppFixture f;
    for (const QString &name : text8FieldNames()) {
        QLineEdit *field = edit(f.mainWindow(), name);
        QTest::keyClicks(field, kSofart);
        QCOMPARE(field->text(), QStringLiteral("Sofart AEro GmbH"));
        type(field, kCyrillic);
        QCOMPARE(field->text(), QStringLiteral("Sofart AEro GmbH") + kCyrillic);
    }
}

void TestTypedText::typedTextIsFitted_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("hint"); // empty: no refusal
    QTest::newRow("Nordic") << kSofart << QStringLiteral("Sofart AEro GmbH") << QString();
    QTest::newRow("German, Polish, Turkish") << utf8("Stra\u00dfe \u0141\u00f3d\u017a \u015eile")
                                             << QStringLiteral("Strasse Lodz Sile") << QString();
    QTest::newRow("base letter and combining accent") << utf8("Cafe\u0301") << QStringLiteral("Cafe") << QString();
    QTest::newRow("Cyrillic and its signs") << kCyrillic << kCyrillic << QString();
    QTest::newRow("CJK") << utf8("Ship \u4e2d 1") << QStringLiteral("Ship  1") << utf8("Not taken: \u4e2d");
    QTest::newRow("Greek, last refusal named") << utf8("\u03b1\u03b2 Beta") << QStringLiteral(" Beta")
                                               << utf8("Not taken: \u03b2");
    QTest::newRow("signs 1251 lacks") << utf8("2\u00d73 \u00bd") << QStringLiteral("23 ") << utf8("Not taken: \u00bd");
}

void TestTypedText::typedTextIsFitted()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, hint);
    AppFixture f;
    f.mainWindow().show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.mainWindow()));
    QLineEdit *field = edit(f.mainWindow(), QStringLiteral("VesselName"));
    type(field, typed);
    QCOMPARE(field->text(), shown);
    QCOMPARE(f.mainWindow().fieldText8(Field::VesselName).contains('\x1a'), false);
    QLabel *label = hintOf(f.mainWindow(), QStringLiteral("VesselName"));
    if (hint.isEmpty()) {
        QVERIFY(!label || label->isHidden());
    } else {
        QVERIFY(label);
        QVERIFY(label->isVisible());
        QCOMPARE(label->text(), hint);
        QVERIFY2(field->toolTip().startsWith(hint), qPrintable(field->toolTip()));
    }
}

void TestTypedText::cursorStaysBehindWhatWasTyped()
{
    AppFixture f;
    QLineEdit *field = edit(f.mainWindow(), QStringLiteral("RadioMan"));
    QTest::keyClicks(field, QStringLiteral("Thrane"));
    QTest::keyClick(field, Qt::Key_Home);
    QTest::keyClicks(field, utf8("\u00c6 "));
    QCOMPARE(field->text(), QStringLiteral("AE Thrane"));
    QCOMPARE(field->cursorPosition(), 3);
    type(field, utf8("\u4e2d"));
    QCOMPARE(field->text(), QStringLiteral("AE Thrane"));
    QCOMPARE(field->cursorPosition(), 3);
    QTest::keyClicks(field, QStringLiteral("&"));
    QCOMPARE(field->text(), QStringLiteral("AE &Thrane"));
}

void TestTypedText::refusedCharacterIsNotInsertedAndNamed()
{
    AppFixture f;
    f.mainWindow().show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.mainWindow()));
    QLineEdit *field = edit(f.mainWindow(), QStringLiteral("Engineer"));
    QTest::keyClicks(field, QStringLiteral("Ivanov"));
    type(field, utf8("\u4e2d"));
    QCOMPARE(field->text(), QStringLiteral("Ivanov"));
    QLabel *label = hintOf(f.mainWindow(), QStringLiteral("Engineer"));
    QVERIFY(label);
    QVERIFY(label->isVisible());
    QCOMPARE(label->text(), utf8("Not taken: \u4e2d"));
    QVERIFY(field->toolTip().contains(utf8("\u4e2d")));
    // The hint stands right under its field, in a row of its own: it covers nothing.
    const QPoint fieldAt = field->mapTo(&f.mainWindow(), QPoint(0, 0));
    const QPoint hintAt = label->mapTo(&f.mainWindow(), QPoint(0, 0));
    QVERIFY(hintAt.y() >= fieldAt.y() + field->height() && hintAt.y() <= fieldAt.y() + 2 * field->height());
    QCOMPARE(hintAt.x(), fieldAt.x());
    const QRect hintArea(hintAt, label->size());
    for (QLineEdit *other : f.mainWindow().findChildren<QLineEdit *>()) {
        if (other->isVisible())
            QVERIFY2(!hintArea.intersects(QRect(other->mapTo(&f.mainWindow(), QPoint(0, 0)), other->size())),
                     qPrintable(other->objectName()));
    }
    // It goes by itself.
    QTRY_VERIFY_WITH_TIMEOUT(label->isHidden(), 20000);
    // Only that field's hint was shown.
    for (const QString &name : text8FieldNames()) {
        if (name != QLatin1String("Engineer"))
            QVERIFY(!hintOf(f.mainWindow(), name) || hintOf(f.mainWindow(), name)->isHidden());
    }
}

void TestTypedText::pasteIsFittedAndRefusalNamed()
{
    AppFixture f;
    f.mainWindow().show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.mainWindow()));
    QLineEdit *field = edit(f.mainWindow(), QStringLiteral("CAddress"));
    QTest::keyClicks(field, QStringLiteral("Street "));
    QApplication::clipboard()->setText(utf8("\u03a9mega \u00f8 \u4e2d\u200b \u041d\u0435\u0432\u0430"));
    if (QApplication::clipboard()->text().isEmpty())
        QSKIP("this platform has no clipboard");
    field->paste();
    QCOMPARE(field->text(), utf8("Street mega o  \u041d\u0435\u0432\u0430"));
    QCOMPARE(field->cursorPosition(), field->text().size());
    QLabel *label = hintOf(f.mainWindow(), QStringLiteral("CAddress"));
    QVERIFY(label && label->isVisible());
    // An invisible character is named by its code.
    QCOMPARE(label->text(), utf8("Not taken: \u03a9 \u4e2d U+200B"));
}

void TestTypedText::decodedFieldsAreKeptTo8BitsToo()
{
    // The reports print the decoded fields as typed over, in 8 bits: what the field shows is
    // what the report will hold.
    AppFixture f;
    QLineEdit *field = edit(f.mainWindow(), QStringLiteral("FSMeaning"));
    QTest::keyClicks(field, utf8("\u00f8\u00bd"));
    QCOMPARE(field->text(), QStringLiteral("o"));
    QCOMPARE(f.session().text(Field::FormatMeaning), QByteArray("o"));
}

void TestTypedText::typedTextSavesAndLoadsBack()
{
    const QString path = here(QStringLiteral("typed.bin"));
    {
        AppFixture f;
        f.store().setSlot(0, sampleIdentificationLine());
        f.store().setSlot(1, sampleRecord(1));
        f.store().setRecordCount(1);
        QTest::keyClicks(edit(f.mainWindow(), QStringLiteral("VesselName")), kSofart);
        type(edit(f.mainWindow(), QStringLiteral("CompanyOwner")), kCyrillic);
        type(edit(f.mainWindow(), QStringLiteral("VCompAdd")), utf8("Gda\u0144sk \u4e2d"));
        f.prompts.expectSaveFile(path);
        f.mainWindow().files().saveAllData();
        KELPRA_VERIFY_PROMPTS(f.prompts);
    }
    const QByteArray saved = readFile(path);
    QVERIFY(saved.contains("\r\nSofart AEro GmbH\r\n"));
    // Windows-1251 bytes of the Cyrillic text, and no substitute byte anywhere.
    QVERIFY(saved.contains("\r\n\xcc\xee\xf0\xff\xea \xb9 5, \xd1\xcf\xe1\r\n"));
    QVERIFY(saved.contains("\r\nGdansk \r\n"));
    QVERIFY(!saved.contains('\x1a'));

    AppFixture loader;
    loader.prompts.expectOpenFile(path);
    loader.mainWindow().files().openData();
    KELPRA_VERIFY_PROMPTS(loader.prompts);
    QCOMPARE(loader.mainWindow().fieldText(Field::VesselName), QStringLiteral("Sofart AEro GmbH"));
    QCOMPARE(loader.mainWindow().fieldText(Field::VesselOwner), kCyrillic);
    QCOMPARE(loader.mainWindow().fieldText(Field::VesselAddress), QStringLiteral("Gdansk "));
    // Loading is not typing: nothing was refused, so no hint.
    for (const QString &name : text8FieldNames())
        QVERIFY(!hintOf(loader.mainWindow(), name));
}

void TestTypedText::typedDetailsAreRestored()
{
    {
        AppFixture f;
        QTest::keyClicks(edit(f.mainWindow(), QStringLiteral("CCompany")), utf8("Kj\u00f8benhavn Radio"));
        type(edit(f.mainWindow(), QStringLiteral("Engineer")), utf8("\u0418\u0432\u0430\u043d\u043e\u0432 \u0130."));
        f.mainWindow().files().saveDetails();
        KELPRA_VERIFY_PROMPTS(f.prompts);
    }
    QCOMPARE(readFile(here(QStringLiteral("details.txt"))),
             QByteArray("Kjobenhavn Radio\r\n\r\n\r\n\xc8\xe2\xe0\xed\xee\xe2 I.\r\n"));
    AppFixture next;
    QCOMPARE(next.mainWindow().fieldText(Field::ControllerCompany), QStringLiteral("Kjobenhavn Radio"));
    QCOMPARE(next.mainWindow().fieldText(Field::Engineer),
             utf8("\u0418\u0432\u0430\u043d\u043e\u0432 I."));
}

QTEST_MAIN(TestTypedText)
#include "test_typed_text.moc"
