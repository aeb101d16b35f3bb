// Start-up state of the main window, its controls, and the mirrored commands.
#include "support/app_fixture.h"
#include "support/test_helpers.h"

#include "data/measurement_store.h"
#include "files/data_file.h"

#include <QAction>
#include <QApplication>
#include <algorithm>
#include <QDateEdit>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace kelpra;
using kelpra::test::control;
using kelpra::test::AppFixture;

class TestMainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startUpState();
    void onlyTheMainWindowIsShownAtStart();
    void everyNamedControlExists_data();
    void everyNamedControlExists();
    void editFieldsAreEditableSingleLine();
    void toolBarHintsAndHiddenDecodeButton();
    void mirroredCommandsRunOneCommand_data();
    void mirroredCommandsRunOneCommand();
    void exitCommandsCloseTheMainWindow_data();
    void exitCommandsCloseTheMainWindow();
    void closeAsksWhileSomethingIsUnsaved_data();
    void closeAsksWhileSomethingIsUnsaved();
    void downloadWindowIsShownOnceWithoutBlocking();
    void aboutBoxShowsAgainAfterClose();
    void fieldTextsRoundTripWindows1251();
    void storeKeepsZeroBytes();
};

void TestMainWindow::startUpState()
{
    AppFixture f;
    MainWindow &w = f.mainWindow();
    QCOMPARE(w.windowTitle(), QStringLiteral("Kelpra Software v 2.5"));
    QVERIFY(control<QToolButton>(w, "Prev")->isHidden());
    QVERIFY(!control<QToolButton>(w, "Next")->isHidden());
    QVERIFY(control<QFrame>(w, "Distress")->isHidden());
    QVERIFY(control<QPushButton>(w, "Button1")->isHidden());
    QVERIFY(!control<QPushButton>(w, "Button2")->isHidden());
    QCOMPARE(w.statusText(), QStringLiteral("Please download the data from tester or load it from file."));
    QCOMPARE(control<QDateEdit>(w, "DateTimePicker1")->date(), QDate::currentDate());
    QVERIFY(control<QDateEdit>(w, "DateTimePicker1")->calendarPopup());
    for (Field name : {Field::Identification, Field::ReceivedCount, Field::CurrentRecord, Field::TotalRecords, Field::ErrorCheckVerdict,
                       Field::DistressErrorCheckVerdict})
        QVERIFY2(w.fieldText(name).isEmpty(), fieldName(name));
    QCOMPARE(f.store().displayIndex(), 1);
    QCOMPARE(f.store().recordCount(), 0);
    QVERIFY(!f.store().holdsData());
    KELPRA_VERIFY_PROMPTS(f.prompts);
}

void TestMainWindow::onlyTheMainWindowIsShownAtStart()
{
    AppFixture f;
    // The program shows the main window itself after creating the others; nothing else shows.
    f.mainWindow().show();
    QVERIFY(f.mainWindow().isVisible());
    QVERIFY(!f.app->downloadWindow.isVisible());
    QVERIFY(!f.app->aboutBox.isVisible());
    QCOMPARE(f.app->downloadWindow.objectName(), QStringLiteral("ExCom"));
    QCOMPARE(f.app->aboutBox.objectName(), QStringLiteral("Form2"));
}

void TestMainWindow::everyNamedControlExists_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    const QStringList edits = {
        "Date", "MNO", "Frequency", "RSSI", "FSdigit", "FSMeaning", "MMSIdigit", "MMSIMeaning",
        "CatDigit", "CatMeaning", "SelfMMSIdigit", "SelfMMSI", "FTdigit", "FTMeaning", "STdigit",
        "STMeaning", "FS1digit", "FS1meaning", "FS2digit", "FS2meaning", "EOS1", "ECC", "EOS2",
        "FSDdigit", "FSDmeaning", "SelfMMSIDdigit", "SelfMMSIDmeaning", "NATUREdigit",
        "NATUREmeaning", "DCdigits", "DCmeaning", "TIMEdigit", "TIMEmeaning", "SCdigit", "SCmeaning",
        "EOSD1", "ECCD", "EOSD2", "RadioType", "RadioSN", "RadioMan", "VesselName", "CompanyOwner",
        "VCategory", "VCompAdd", "VTel", "CCompany", "CTel", "CAddress", "Engineer"};
    for (const QString &e : edits)
        QTest::newRow(qPrintable(e)) << e << "QLineEdit";
    for (const char *l : {"Label15", "Label16", "Label21", "Label22", "Label23", "current", "Label24",
                          "total", "ECCCheck", "ECCCDheck", "StatusBar1"})
        QTest::newRow(l) << QString::fromLatin1(l) << "QLabel";
    for (const char *b : {"Button1", "Button2", "BitBtn1"})
        QTest::newRow(b) << QString::fromLatin1(b) << "QPushButton";
    for (const char *b : {"Prev", "Next", "SpeedButton1", "SpeedButton2", "SpeedButton3", "SpeedButton4",
                          "SpeedButton5", "SpeedButton6", "SpeedButton7", "SpeedButton8", "SpeedButton10"})
        QTest::newRow(b) << QString::fromLatin1(b) << "QToolButton";
    for (const char *p : {"Panel1", "Panel2", "Distress", "Bevel1"})
        QTest::newRow(p) << QString::fromLatin1(p) << "QFrame";
    for (const char *g : {"GroupBox1", "GroupBox2", "GroupBox3"})
        QTest::newRow(g) << QString::fromLatin1(g) << "QGroupBox";
    for (const char *t : {"ToolBar1", "ToolBar2"})
        QTest::newRow(t) << QString::fromLatin1(t) << "QToolBar";
    for (const char *m : {"F", "MessageDecode1", "About1"})
        QTest::newRow(m) << QString::fromLatin1(m) << "QMenu";
    for (const char *a : {"Open1", "Save1", "Saveall1", "Saveprintinfo1", "Print1", "Exit2", "Downloaddata1",
                          "Decodemessage1", "Aboutprogram1", "Exit1"})
        QTest::newRow(a) << QString::fromLatin1(a) << "QAction";
    QTest::newRow("DateTimePicker1") << "DateTimePicker1" << "QDateEdit";
    QTest::newRow("MainMenu1") << "MainMenu1" << "QMenuBar";
}

void TestMainWindow::everyNamedControlExists()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    AppFixture f;
    QObject *control = f.mainWindow().findChild<QObject *>(name);
    QVERIFY2(control, qPrintable(name));
    QVERIFY2(control->inherits(className.toLatin1().constData()),
             qPrintable(name + " is a " + control->metaObject()->className()));
}

void TestMainWindow::editFieldsAreEditableSingleLine()
{
    AppFixture f;
    const QList<QLineEdit *> edits = f.mainWindow().findChildren<QLineEdit *>();
    QVERIFY(edits.size() >= 50);
    for (QLineEdit *e : edits) {
        if (e->objectName().isEmpty() || e->objectName().startsWith(QLatin1String("qt_")))
            continue; // inner editors of composite widgets (the date picker)
        QVERIFY2(!e->isReadOnly(), qPrintable(e->objectName()));
    }
    // Typed text stays as typed.
    QTest::keyClicks(control<QLineEdit>(f.mainWindow(), "FSdigit"), QStringLiteral("typed"));
    QCOMPARE(f.mainWindow().fieldText(Field::FormatDigits), QStringLiteral("typed"));
}

void TestMainWindow::toolBarHintsAndHiddenDecodeButton()
{
    AppFixture f;
    MainWindow &w = f.mainWindow();
    w.show();
    // The hints, followed by the command's key.
    QVERIFY(control<QToolButton>(w, "SpeedButton1")->toolTip().startsWith(QStringLiteral("Open data (")));
    QVERIFY(control<QToolButton>(w, "SpeedButton2")->toolTip().startsWith(QStringLiteral("Save data (")));
    QVERIFY(!control<QToolButton>(w, "SpeedButton7")->isVisible());
    QVERIFY(!control<QPushButton>(w, "Button1")->isVisible());
    for (const char *name : {"SpeedButton1", "SpeedButton2", "SpeedButton3", "SpeedButton4", "SpeedButton5",
                             "SpeedButton6", "SpeedButton8", "SpeedButton10"}) {
        QToolButton *b = control<QToolButton>(w, name);
        QVERIFY2(b->isVisible(), qPrintable(b->objectName()));
        QVERIFY2(b->text().isEmpty() || b->toolButtonStyle() == Qt::ToolButtonIconOnly,
                 qPrintable(b->objectName()));
        QVERIFY2(!b->icon().isNull(), qPrintable(b->objectName()));
    }
}

void TestMainWindow::mirroredCommandsRunOneCommand_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("button");
    QTest::newRow("Open data") << "Open1" << "SpeedButton1";
    QTest::newRow("Save data") << "Save1" << "SpeedButton2";
    QTest::newRow("Save all data") << "Saveall1" << "SpeedButton3";
    QTest::newRow("Save report") << "Saveprintinfo1" << "SpeedButton4";
    QTest::newRow("Print report") << "Print1" << "SpeedButton5";
    QTest::newRow("Download data button") << "Downloaddata1" << "SpeedButton6";
    QTest::newRow("Download data on the panel") << "Downloaddata1" << "Button2";
    QTest::newRow("Decode message button") << "Decodemessage1" << "SpeedButton7";
    QTest::newRow("Decode message on the panel") << "Decodemessage1" << "Button1";
    QTest::newRow("About software") << "Aboutprogram1" << "SpeedButton8";
    QTest::newRow("Exit") << "Exit2" << "SpeedButton10";
    QTest::newRow("Previous record") << "PreviousRecord" << "Prev";
    QTest::newRow("Next record") << "NextRecord" << "Next";
    QTest::newRow("Save details") << "SaveDetails" << "BitBtn1";
}

// A menu item and the buttons that offer the same command run one action, whether the
// button is shown or not.
void TestMainWindow::mirroredCommandsRunOneCommand()
{
    QFETCH(QString, command);
    QFETCH(QString, button);
    test::WorkingDirectory here;   // "Save details" writes details.txt
    AppFixture f;
    f.prompts.allowAny(test::ScriptedPrompts::Kind::Information);
    f.prompts.allowAny(test::ScriptedPrompts::Kind::OpenFile);
    f.prompts.allowAny(test::ScriptedPrompts::Kind::SaveFile);
    f.prompts.allowAny(test::ScriptedPrompts::Kind::PrintPreview);
    auto *action = control<QAction>(f.mainWindow(), qPrintable(command));
    auto *b = control<QAbstractButton>(f.mainWindow(), qPrintable(button));
    if (auto *tool = qobject_cast<QToolButton *>(b))
        QCOMPARE(tool->defaultAction(), action);
    QSignalSpy triggered(action, &QAction::triggered);
    b->click();
    QCOMPARE(triggered.count(), 1);
}

void TestMainWindow::exitCommandsCloseTheMainWindow_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("File/Exit") << "Exit2";
    QTest::newRow("menu bar Exit") << "Exit1";
    QTest::newRow("SpeedButton10") << "SpeedButton10";
    QTest::newRow("close box") << "";
}

void TestMainWindow::exitCommandsCloseTheMainWindow()
{
    QFETCH(QString, command);
    AppFixture f;
    f.mainWindow().show();
    QSignalSpy closed(&f.mainWindow(), &MainWindow::closed);
    if (command.isEmpty())
        f.mainWindow().close();
    else if (auto *action = f.mainWindow().findChild<QAction *>(command))
        action->trigger();
    else
        f.mainWindow().findChild<QAbstractButton *>(command)->click();
    QCOMPARE(closed.count(), 1);
    QVERIFY(!f.mainWindow().isVisible());
    // Nothing asked, nothing saved.
    QVERIFY(f.prompts.shown.isEmpty());
    QVERIFY(!QFile::exists(QStringLiteral("details.txt")));
}

void TestMainWindow::closeAsksWhileSomethingIsUnsaved_data()
{
    QTest::addColumn<int>("answer");   // 0 "Save all data", 1 "Discard", 2 "Cancel"
    QTest::addColumn<QString>("saveAs");
    QTest::addColumn<bool>("closes");
    QTest::newRow("cancel") << 2 << QString() << false;
    QTest::newRow("discard") << 1 << QString() << true;
    QTest::newRow("save all data") << 0 << QStringLiteral("set.bin") << true;
    QTest::newRow("save all data, dialog cancelled") << 0 << QString() << false;
    QTest::newRow("save all data fails") << 0 << QStringLiteral("no/such/folder/set.bin") << false;
}

void TestMainWindow::closeAsksWhileSomethingIsUnsaved()
{
    QFETCH(int, answer);
    QFETCH(QString, saveAs);
    QFETCH(bool, closes);
    test::WorkingDirectory here;
    AppFixture f;
    f.session().loadSampleSet();
    f.mainWindow().show();
    QTest::keyClicks(control<QLineEdit>(f.mainWindow(), "VesselName"), QStringLiteral("Baltic Star"));
    QSignalSpy closed(&f.mainWindow(), &MainWindow::closed);

    f.prompts.expectQuestion(QStringLiteral("Save changes?"), answer);
    if (answer == 0)
        f.prompts.expectSaveFile(saveAs.isEmpty() ? QString() : here.filePath(saveAs));
    if (saveAs.contains(QLatin1Char('/')))
        f.prompts.expectError(QStringLiteral("Invalid filename."));
    control<QAction>(f.mainWindow(), "Exit2")->trigger();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QCOMPARE(f.prompts.shown.first().items,
             (QStringList{QStringLiteral("Save all data"), QStringLiteral("Discard"), QStringLiteral("Cancel")}));
    QCOMPARE(f.prompts.shown.first().defaultButton, 2);
    QCOMPARE(closed.count(), closes ? 1 : 0);
    QCOMPARE(f.mainWindow().isVisible(), !closes);
    if (answer == 0 && closes)
        QVERIFY(parseDataFile(test::readFile(here.filePath(saveAs))).file);
    // Once saved or discarded nothing is asked again.
    QCOMPARE(f.session().unsaved(), !(closes && answer == 0));
}

void TestMainWindow::downloadWindowIsShownOnceWithoutBlocking()
{
    AppFixture f;
    f.mainWindow().show();
    control<QPushButton>(f.mainWindow(), "Button2")->click();
    QVERIFY(f.downloadWindow().isVisible());
    QVERIFY(!f.downloadWindow().isModal());
    // Wide enough for its title in a bold title font beside three buttons.
    QFont titleFont = QApplication::font();
    titleFont.setBold(true);
    QVERIFY(f.downloadWindow().width()
            >= QFontMetrics(titleFont).horizontalAdvance(f.downloadWindow().windowTitle()) + 3 * 24 + 40);
    control<QAction>(f.mainWindow(), "Downloaddata1")->trigger();
    const QWidgetList tops = QApplication::topLevelWidgets();
    QCOMPARE(std::count_if(tops.begin(), tops.end(),
                           [](QWidget *w) { return w->objectName() == QLatin1String("ExCom"); }),
             1);
    f.downloadWindow().close();
    QVERIFY(!f.downloadWindow().isVisible());
    control<QToolButton>(f.mainWindow(), "SpeedButton6")->click();
    QVERIFY(f.downloadWindow().isVisible());
}

void TestMainWindow::aboutBoxShowsAgainAfterClose()
{
    AppFixture f;
    f.mainWindow().show();
    control<QAction>(f.mainWindow(), "Aboutprogram1")->trigger();
    QVERIFY(f.app->aboutBox.isVisible());
    QVERIFY(!f.app->aboutBox.isModal());
    f.app->aboutBox.closeBox();
    QVERIFY(!f.app->aboutBox.isVisible());
    control<QToolButton>(f.mainWindow(), "SpeedButton8")->click();
    QVERIFY(f.app->aboutBox.isVisible());
}

void TestMainWindow::fieldTextsRoundTripWindows1251()
{
    AppFixture f;
    // "Капитан" in Windows-1251, plus the one byte that the code page leaves unassigned.
    const QByteArray cyrillic("\xCA\xE0\xEF\xE8\xF2\xE0\xED \x98", 9);
    f.mainWindow().setFieldText8(Field::VesselName, cyrillic);
    QCOMPARE(f.mainWindow().fieldText(Field::VesselName), QString::fromUtf8("Капитан \xC2\x98"));
    QCOMPARE(f.mainWindow().fieldText8(Field::VesselName), cyrillic);
    QCOMPARE(f.mainWindow().fieldTexts().value(Field::VesselName), cyrillic);
}

void TestMainWindow::storeKeepsZeroBytes()
{
    MeasurementStore store;
    QByteArray record(64, '\0');
    record[0] = '3';
    record[55] = 6;
    store.setSlot(5, record);
    record[0] = 'X'; // the store owns its copy
    const QByteArray back = store.slot(5);
    QCOMPARE(back.size(), 64);
    QCOMPARE(back.at(0), '3');
    QCOMPARE(back.at(55), char(6));
    QCOMPARE(back.count('\0'), 62);
    QVERIFY(!store.holdsData());
    store.setSlot(0, QByteArray("\0", 1));
    QVERIFY(store.holdsData());
    QVERIFY(store.slot(17).isEmpty());
    QVERIFY(store.slot(-1).isEmpty());
}

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
