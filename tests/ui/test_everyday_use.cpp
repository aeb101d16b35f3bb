// Everyday use of the main window: mnemonics and shortcuts (also with the focus in a text
// field), the status bar's file messages and sample note, the PDF export, a small screen,
// and the real prompts' sizes (message boxes, print preview).
#include "support/app_fixture.h"
#include "files/data_file.h"
#include "support/pdf_words.h"
#include "support/test_helpers.h"

#include "data/measurement_store.h"
#include "ui/qt_prompts.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

using namespace kelpra;
using kelpra::test::AppFixture;
using kelpra::test::control;
using kelpra::test::ScriptedPrompts;

namespace {

QString withoutMnemonic(QString text)
{
    return text.remove(QLatin1Char('&'));
}

// The main window on screen with the focus in a text field holding some text, the
// cursor before its first character (where Ctrl+D would delete one).
QLineEdit *focusTextField(MainWindow &w)
{
    w.show();
    w.activateWindow();
    if (!QTest::qWaitForWindowActive(&w))
        return nullptr;
    auto *field = control<QLineEdit>(w, "VesselName");
    w.setFieldText(Field::VesselName, QStringLiteral("Baltic Star"));
    field->setFocus();
    field->setCursorPosition(0);
    return QApplication::focusWidget() == field ? field : nullptr;
}

void placeSampleSet(AppFixture &f)
{
    control<QPushButton>(f.downloadWindow(), "Button1")->click();   // "Emulation"
}

// Metadata as poppler's pdfinfo reads it.
QString pdfInfo(const QString &path, const QString &key)
{
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {path});
    if (!info.waitForFinished(30000))
        return QStringLiteral("<pdfinfo failed>");
    for (const QString &line : QString::fromUtf8(info.readAllStandardOutput()).split(QLatin1Char('\n')))
        if (line.startsWith(key + QLatin1Char(':')))
            return line.mid(key.size() + 1).trimmed();
    return QString();
}

bool hasWord(const PdfText &pdf, const QString &word)
{
    return std::any_of(pdf.words.begin(), pdf.words.end(), [&](const PdfWord &w) { return w.text == word; });
}

// Runs `act` on the first visible top-level widget of type T once it is up.
template <class T>
void whenShown(const std::function<void(T *)> &act)
{
    QTimer::singleShot(10, [act] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *shown = qobject_cast<T *>(w); shown && shown->isVisible()) {
                act(shown);
                return;
            }
        whenShown<T>(act);
    });
}

// Claims every key with Ctrl for editing, as a text field may under some key schemes
// (Ctrl+D deleting a character, Ctrl+K the rest of the line).
class ClaimingField : public QObject {
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::ShortcutOverride
            && static_cast<QKeyEvent *>(event)->modifiers().testFlag(Qt::ControlModifier))
            event->accept();
        return false;
    }
};

} // namespace

class TestEverydayUse : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void menuCaptionsAndMnemonics();
    void shortcutsWithFocusInTextField_data();
    void shortcutsWithFocusInTextField();
    void recordKeysWithFocusInTextField();
    void altMnemonicWithFocusInTextField();
    void toolBarHintsNameTheirKeys();
    void fileMessages();
    void exportWritesOnePagePdf();
    void exportFailureReported();
    void sampleNoteAndMark();
    void smallScreen();
    void tabStopsInReadingOrderAndInView();
    void messageBoxKeepsTitle();
    void previewOpensLarge();
};

void TestEverydayUse::menuCaptionsAndMnemonics()
{
    AppFixture f;
    MainWindow &w = f.mainWindow();
    struct Expected {
        const char *name;
        const char *caption;
    };
    // The captions as they have always read, each now with a mnemonic.
    const Expected items[] = {
        {"Open1", "Open data"},          {"Save1", "Save data"},
        {"Saveall1", "Save all data"},   {"Saveprintinfo1", "Save report"},
        {"Print1", "Print report"},      {"ExportPdf1", "Export protocol as PDF\u2026"},
        {"Exit2", "Exit"},               {"Downloaddata1", "Download data"},
        {"Decodemessage1", "Decode message"}, {"Aboutprogram1", "About software"},
        {"Exit1", "Exit"},
    };
    for (const Expected &e : items) {
        auto *action = control<QAction>(w, e.name);
        QVERIFY2(action, e.name);
        QCOMPARE(withoutMnemonic(action->text()), QString::fromUtf8(e.caption));
    }
    const Expected menus[] = {{"F", "File"}, {"MessageDecode1", "DSC Decoding"}, {"About1", "About"}};
    for (const Expected &e : menus)
        QCOMPARE(withoutMnemonic(control<QMenu>(w, e.name)->title()), QString::fromLatin1(e.caption));

    // Every entry of every menu, and of the menu bar, has a mnemonic of its own there.
    const auto checkUnique = [](const QList<QAction *> &actions, const QString &where) {
        QSet<QChar> used;
        for (QAction *a : actions) {
            if (a->isSeparator())
                continue;
            const QString text = a->text();
            const int amp = text.indexOf(QLatin1Char('&'));
            if (amp < 0 || amp + 1 >= text.size())
                return QStringLiteral("%1: \"%2\" has no mnemonic").arg(where, text);
            const QChar key = text.at(amp + 1).toLower();
            if (used.contains(key))
                return QStringLiteral("%1: mnemonic %2 twice").arg(where, key);
            used.insert(key);
        }
        return QString();
    };
    QString problem = checkUnique(control<QMenuBar>(w, "MainMenu1")->actions(), QStringLiteral("menu bar"));
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    for (const char *menu : {"F", "MessageDecode1", "About1"}) {
        problem = checkUnique(control<QMenu>(w, menu)->actions(), QString::fromLatin1(menu));
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }
}

void TestEverydayUse::shortcutsWithFocusInTextField_data()
{
    QTest::addColumn<QKeySequence>("key");
    QTest::addColumn<QString>("expected");   // what the command shows or does
    QTest::addColumn<bool>("claiming");      // the field claims Ctrl keys for itself
    QTest::newRow("Open data") << QKeySequence(Qt::CTRL | Qt::Key_O) << "open file" << false;
    QTest::newRow("Save data") << QKeySequence(Qt::CTRL | Qt::Key_S) << "save data" << false;
    QTest::newRow("Save all data") << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S) << "save alldata" << false;
    QTest::newRow("Print report") << QKeySequence(Qt::CTRL | Qt::Key_P) << "preview" << false;
    QTest::newRow("Export PDF") << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E) << "save *.pdf" << false;
    QTest::newRow("Download data") << QKeySequence(Qt::CTRL | Qt::Key_D) << "download window" << false;
    QTest::newRow("Quit") << QKeySequence(Qt::CTRL | Qt::Key_Q) << "closed" << false;
    QTest::newRow("Open data, claiming field") << QKeySequence(Qt::CTRL | Qt::Key_O) << "open file" << true;
    QTest::newRow("Save data, claiming field") << QKeySequence(Qt::CTRL | Qt::Key_S) << "save data" << true;
    QTest::newRow("Save all data, claiming field") << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S) << "save alldata" << true;
    QTest::newRow("Print report, claiming field") << QKeySequence(Qt::CTRL | Qt::Key_P) << "preview" << true;
    QTest::newRow("Export PDF, claiming field") << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E) << "save *.pdf" << true;
    QTest::newRow("Download data, claiming field") << QKeySequence(Qt::CTRL | Qt::Key_D) << "download window" << true;
    QTest::newRow("Quit, claiming field") << QKeySequence(Qt::CTRL | Qt::Key_Q) << "closed" << true;
}

void TestEverydayUse::shortcutsWithFocusInTextField()
{
    QFETCH(QKeySequence, key);
    QFETCH(QString, expected);
    QFETCH(bool, claiming);
    AppFixture f;
    MainWindow &w = f.mainWindow();
    placeSampleSet(f);   // "Save all data" needs records
    f.prompts.allowAny(ScriptedPrompts::Kind::OpenFile);
    f.prompts.allowAny(ScriptedPrompts::Kind::SaveFile);
    f.prompts.allowAny(ScriptedPrompts::Kind::PrintPreview);
    QSignalSpy closed(&w, &MainWindow::closed);
    QLineEdit *field = focusTextField(w);
    QVERIFY(field);
    ClaimingField claim;
    if (claiming)
        field->installEventFilter(&claim);   // runs before the window's own filter

    // The vessel's name has been typed and not saved: leaving asks first.
    if (expected == "closed")
        f.prompts.expectQuestion(QStringLiteral("Save changes?"), 1);   // "Discard"
    QTest::keyClick(field, key[0].key(), key[0].keyboardModifiers());

    if (expected == "download window") {
        QTRY_VERIFY(f.downloadWindow().isVisible());
    } else if (expected == "closed") {
        QCOMPARE(closed.count(), 1);
    } else {
        QCOMPARE(f.prompts.shown.size(), 1);
        const ScriptedPrompts::Shown &shown = f.prompts.shown.first();
        if (expected == "open file") {
            QCOMPARE(shown.kind, ScriptedPrompts::Kind::OpenFile);
        } else if (expected == "preview") {
            QCOMPARE(shown.kind, ScriptedPrompts::Kind::PrintPreview);
        } else {
            QCOMPARE(shown.kind, ScriptedPrompts::Kind::SaveFile);
            const QString what = expected.section(' ', 1);
            QVERIFY2(shown.setup.proposedName == what || shown.setup.filter == what,
                     qPrintable(shown.setup.proposedName + " " + shown.setup.filter));
        }
    }
    // The text field kept its text: the key went to the command, not to the editing.
    QCOMPARE(field->text(), QStringLiteral("Baltic Star"));
}

void TestEverydayUse::recordKeysWithFocusInTextField()
{
    AppFixture f;
    MainWindow &w = f.mainWindow();
    placeSampleSet(f);
    QLineEdit *field = focusTextField(w);
    QVERIFY(field);
    auto *prev = control<QToolButton>(w, "Prev");

    struct Step {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char *current;
    };
    const Step steps[] = {
        {Qt::Key_PageUp, Qt::NoModifier, "1"},      // Prev is not offered on record 1
        {Qt::Key_PageDown, Qt::NoModifier, "2"},    {Qt::Key_Right, Qt::AltModifier, "3"},
        {Qt::Key_PageUp, Qt::NoModifier, "2"},      {Qt::Key_Left, Qt::AltModifier, "1"},
    };
    for (const Step &step : steps) {
        QTest::keyClick(field, step.key, step.modifiers);
        QCOMPARE(w.fieldText(Field::CurrentRecord), QString::fromLatin1(step.current));
        QCOMPARE(f.store().displayIndex(), QString::fromLatin1(step.current).toInt());
    }
    QVERIFY(prev->isHidden());
    QCOMPARE(field->text(), QStringLiteral("Baltic Star"));
    QCOMPARE(field->cursorPosition(), 0);   // Alt+Left/Right did not move the cursor
    KELPRA_VERIFY_PROMPTS(f.prompts);
}

void TestEverydayUse::altMnemonicWithFocusInTextField()
{
    AppFixture f;
    MainWindow &w = f.mainWindow();
    QLineEdit *field = focusTextField(w);
    QVERIFY(field);
    auto *file = control<QMenu>(w, "F");
    QTest::keyClick(field, Qt::Key_F, Qt::AltModifier);
    QTRY_VERIFY(file->isVisible());
    f.prompts.expectOpenFile(QString());
    QTest::keyClick(file, Qt::Key_O);   // "&Open data"
    QTRY_VERIFY(f.prompts.ok());
    QCOMPARE(f.prompts.shown.size(), 1);
    QCOMPARE(field->text(), QStringLiteral("Baltic Star"));
}

void TestEverydayUse::toolBarHintsNameTheirKeys()
{
    AppFixture f;
    MainWindow &w = f.mainWindow();
    const struct {
        const char *button;
        const char *hint;
    } hints[] = {
        {"SpeedButton1", "Open data (Ctrl+O)"},   {"SpeedButton2", "Save data (Ctrl+S)"},
        {"SpeedButton3", "Save all data (Ctrl+Shift+S)"}, {"SpeedButton5", "Print report (Ctrl+P)"},
        {"SpeedButton11", "Export protocol as PDF (Ctrl+Shift+E)"}, {"SpeedButton6", "Download data (Ctrl+D)"},
        {"SpeedButton10", "Exit (Ctrl+Q)"},        {"Prev", "Previous record (PgUp)"},
        {"Next", "Next record (PgDown)"},
    };
    for (const auto &h : hints)
        QCOMPARE(control<QToolButton>(w, h.button)->toolTip(), QString::fromLatin1(h.hint));
    // The export button sits right after "Print report".
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto *bar = control<QWidget>(w, "ToolBar1");
    QVERIFY(control<QToolButton>(w, "SpeedButton11")->parentWidget() == bar);
    QVERIFY(control<QToolButton>(w, "SpeedButton11")->x() > control<QToolButton>(w, "SpeedButton5")->x());
}

void TestEverydayUse::fileMessages()
{
    AppFixture f;
    MainWindow &w = f.mainWindow();
    placeSampleSet(f);
    const QString status = w.statusText();
    QTemporaryDir dir;
    const auto message = [&] { return control<QLabel>(w, "FileMessage")->text(); };
    QCOMPARE(message(), QString());

    f.prompts.expectSaveFile(dir.filePath("one.bin"));
    w.files().saveData();
    QCOMPARE(message(), QStringLiteral("Record saved to one.bin"));
    f.prompts.expectSaveFile(dir.filePath("all.bin"));
    w.files().saveAllData();
    QCOMPARE(message(), QStringLiteral("All records saved to all.bin"));
    f.prompts.expectSaveFile(dir.filePath("report.txt"));
    w.reports().saveReport();
    QCOMPARE(message(), QStringLiteral("Report saved to report.txt"));
    w.files().saveDetails();
    QCOMPARE(message(), QStringLiteral("Details saved to details.txt"));
    f.prompts.expectOpenFile(dir.filePath("all.bin"));
    w.files().openData();
    QCOMPARE(message(), QStringLiteral("Loaded all.bin: 16 records"));
    f.prompts.expectOpenFile(dir.filePath("one.bin"));
    w.files().openData();
    QCOMPARE(message(), QStringLiteral("Loaded one.bin: 1 record"));
    QVERIFY(control<QLabel>(w, "FileMessage")->toolTip().endsWith(dir.filePath("one.bin")));

    // A failed save names no file and keeps the last message.
    f.prompts.expectSaveFile(dir.filePath("missing/x.bin"));
    f.prompts.expectError(QStringLiteral("Invalid filename."));
    w.files().saveData();
    QCOMPARE(message(), QStringLiteral("Loaded one.bin: 1 record"));

    // The status line keeps its own texts; the file messages sit to its right.
    QCOMPARE(w.statusText(), status);
    QVERIFY(control<QLabel>(w, "FileMessage")->x() > control<QLabel>(w, "StatusBar1")->x());
    KELPRA_VERIFY_PROMPTS(f.prompts);
}

void TestEverydayUse::exportWritesOnePagePdf()
{
    AppFixture f;
    MainWindow &w = f.mainWindow();
    QTemporaryDir dir;
    // Real data, not the sample set: a saved full set, not marked as sample data, loaded back.
    placeSampleSet(f);
    f.store().setFromSampleSet(false);
    f.prompts.expectSaveFile(dir.filePath("set.bin"));
    w.files().saveAllData();
    f.prompts.expectOpenFile(dir.filePath("set.bin"));
    w.files().openData();
    w.setFieldText(Field::VesselName, "Baltic Star / Riga");
    w.setFieldText(Field::Engineer, "I. Petrov");

    const QString path = dir.filePath("protocol.pdf");
    QFile old(path);   // replaced whole
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(100000, 'x'));
    old.close();
    f.prompts.expectSaveFile(path);
    control<QAction>(w, "ExportPdf1")->trigger();
    KELPRA_VERIFY_PROMPTS(f.prompts);

    const ScriptedPrompts::Shown &dialog = f.prompts.shown.last();
    QCOMPARE(dialog.setup.filter, QStringLiteral("*.pdf"));
    QCOMPARE(dialog.setup.defaultSuffix, QStringLiteral("pdf"));
    QCOMPARE(dialog.setup.proposedName, QStringLiteral("Baltic_Star_Riga_2006-12-15"));

    const PdfText pdf = readPdfWords(path);
    QVERIFY2(pdf.error.isEmpty(), qPrintable(pdf.error));
    QCOMPARE(pdf.pages.size(), 1);
    QVERIFY(qAbs(pdf.pages[0].width() - 210) < 0.5 && qAbs(pdf.pages[0].height() - 297) < 0.5);
    for (const char *word : {"PROTOCOL", "Baltic", "Riga", "Petrov", "Radioengineer:", "Individual"})
        QVERIFY2(hasWord(pdf, QString::fromLatin1(word)), word);
    QCOMPARE(pdfSampleMark(pdf), QString());
    QCOMPARE(pdfInfo(path, "Title"),
             QStringLiteral("PROTOCOL OF GMDSS RADIO SET TESTING \u2014 Baltic Star / Riga, 15.12.06 24:35"));
    QCOMPARE(pdfInfo(path, "Creator"), QStringLiteral("Kelpra 2.5.0"));
    QCOMPARE(control<QLabel>(w, "FileMessage")->text(), QStringLiteral("Protocol exported to protocol.pdf"));

    // Nothing to name it by: a plain proposal.
    w.setFieldText(Field::VesselName, "");
    w.setFieldText(Field::MeasurementDate, "");
    f.prompts.expectSaveFile(QString());
    w.reports().exportProtocolPdf();
    QCOMPARE(f.prompts.shown.last().setup.proposedName, QStringLiteral("protocol"));
    KELPRA_VERIFY_PROMPTS(f.prompts);
}

void TestEverydayUse::exportFailureReported()
{
    AppFixture f;
    MainWindow &w = f.mainWindow();
    QTemporaryDir dir;
    // A folder under the chosen name: refused, and the folder is left as it was.
    QVERIFY(QDir(dir.path()).mkdir("taken.pdf"));
    f.prompts.expectSaveFile(dir.filePath("taken.pdf"));
    f.prompts.expectError(QStringLiteral("File access denied."));
    w.reports().exportProtocolPdf();
    f.prompts.expectSaveFile(dir.filePath("nowhere/p.pdf"));
    f.prompts.expectError(QStringLiteral("Invalid filename."));
    w.reports().exportProtocolPdf();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QVERIFY(QFileInfo(dir.filePath("taken.pdf")).isDir());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 0);   // no temporary file left behind
    QCOMPARE(control<QLabel>(w, "FileMessage")->text(), QString());
}

void TestEverydayUse::sampleNoteAndMark()
{
    AppFixture f;
    MainWindow &w = f.mainWindow();
    QTemporaryDir dir;
    auto *note = control<QLabel>(w, "SampleNote");
    QVERIFY(note->isHidden());
    QVERIFY(!f.store().fromSampleSet());

    placeSampleSet(f);
    QVERIFY(!note->isHidden());
    QCOMPARE(note->text(), QStringLiteral("Sample data"));
    QVERIFY(f.store().fromSampleSet());

    // The printed page and the PDF carry the mark while the sample set is on display.
    PdfText previewed;
    f.prompts.expectPrintPreview([&](const std::function<void(QPrinter *)> &paint) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("preview.pdf"));
        paint(&printer);
        previewed = readPdfWords(dir.filePath("preview.pdf"));
    });
    w.reports().printReport();
    QVERIFY(w.reports().protocolPage().sampleMark());
    QCOMPARE(pdfSampleMark(previewed), QStringLiteral("SAMPLEDATA"));
    f.prompts.expectSaveFile(dir.filePath("sample.pdf"));
    w.reports().exportProtocolPdf();
    const PdfText exported = readPdfWords(dir.filePath("sample.pdf"));
    QCOMPARE(pdfSampleMark(exported), QStringLiteral("SAMPLEDATA"));
    // Under the labels: every caption is still there to read.
    for (const char *word : {"PROTOCOL", "Format", "Specifier:", "VESSEL", "Radioengineer:"})
        QVERIFY2(hasWord(exported, QString::fromLatin1(word)), word);
    // Moving through the sample set keeps it marked.
    control<QToolButton>(w, "Next")->click();
    QVERIFY(!note->isHidden());

    // Saved and opened again: still the sample set, and marked so.
    f.prompts.expectSaveFile(dir.filePath("set.bin"));
    w.files().saveAllData();
    f.prompts.expectOpenFile(dir.filePath("set.bin"));
    w.files().openData();
    QVERIFY(!note->isHidden());
    QVERIFY(f.store().fromSampleSet());   // what marks the page, as above

    // Loaded from a file without the mark: real data, whatever its bytes.
    f.store().setFromSampleSet(false);
    f.prompts.expectSaveFile(dir.filePath("real.bin"));
    w.files().saveAllData();
    f.prompts.expectOpenFile(dir.filePath("real.bin"));
    w.files().openData();
    QVERIFY(note->isHidden());
    QVERIFY(!f.store().fromSampleSet());
    f.prompts.expectSaveFile(dir.filePath("loaded.pdf"));
    w.reports().exportProtocolPdf();
    const PdfText loaded = readPdfWords(dir.filePath("loaded.pdf"));
    QVERIFY(hasWord(loaded, "PROTOCOL"));
    QCOMPARE(pdfSampleMark(loaded), QString());
    KELPRA_VERIFY_PROMPTS(f.prompts);
}

void TestEverydayUse::smallScreen()
{
    AppFixture f;
    MainWindow &w = f.mainWindow();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.resize(1024, 600);
    QTRY_COMPARE(w.size(), QSize(1024, 600));
    QVERIFY(w.minimumSizeHint().width() <= 1024 && w.minimumSizeHint().height() <= 600);
    // The station fields keep a usable size; the window scrolls instead.
    for (const char *group : {"GroupBox1", "GroupBox2", "GroupBox3"}) {
        for (QLineEdit *edit : control<QGroupBox>(w, group)->findChildren<QLineEdit *>()) {
            if (edit->objectName().isEmpty() || edit->objectName().startsWith(QLatin1String("qt_")))
                continue;
            QVERIFY2(edit->height() >= edit->minimumSizeHint().height(), qPrintable(edit->objectName()));
            QVERIFY2(edit->width() >= 120, qPrintable(edit->objectName()));
        }
    }
    for (const char *name : {"FSMeaning", "MMSIdigit", "Date"}) {
        auto *edit = control<QLineEdit>(w, name);
        QVERIFY2(edit->height() >= edit->minimumSizeHint().height(), name);
    }

    // A long note never widens the window: it is shortened, and whole in its tooltip.
    const QString longNote = QStringLiteral("Protocol exported to MV_") + QString(200, QLatin1Char('W'))
                             + QStringLiteral("_2006-12-15.pdf");
    f.session().setFileNote(longNote, QStringLiteral("/tmp/x.pdf"));
    QTest::qWait(0);
    QCOMPARE(w.size(), QSize(1024, 600));
    QVERIFY(w.minimumSizeHint().width() <= 1024);
    QVERIFY(control<QLabel>(w, "FileMessage")->toolTip().startsWith(longNote));

    // What is too narrow to read is whole in a tooltip; the saved-data identification line
    // has the room it needs.
    f.session().loadSampleSet();
    QVERIFY(f.session().showRecordAt(3));
    auto *position = control<QLineEdit>(w, "DCmeaning");
    QTRY_COMPARE(position->toolTip(), position->text());
    QVERIFY(!position->text().isEmpty());
    QVERIFY(control<QLineEdit>(w, "FSDmeaning")->toolTip().isEmpty());   // "Distress" fits
    test::SessionAccess::store(f.session()).setSlot(0, QByteArray(kSavedDataIdentification));
    f.session().decodeMessage();
    auto *identification = control<QLabel>(w, "Label16");
    QCOMPARE(identification->text(), QString::fromLatin1(kSavedDataIdentification));
    QVERIFY(identification->toolTip().isEmpty());
    QVERIFY(identification->width() >= identification->fontMetrics().horizontalAdvance(identification->text()));
}

void TestEverydayUse::tabStopsInReadingOrderAndInView()
{
    AppFixture f;
    MainWindow &w = f.mainWindow();
    placeSampleSet(f);
    w.show();
    w.resize(1024, 600);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto *scroller = control<QScrollArea>(w, "CentralScroller");
    control<QToolButton>(w, "SpeedButton1")->setFocus();
    QStringList stops;
    for (int i = 0; i < 80 && !stops.contains(QStringLiteral("BitBtn1")); ++i) {
        QWidget *now = QApplication::focusWidget();
        QVERIFY(now && now->isVisible());
        // The control with the focus is in view, however far down it lies.
        if (scroller->widget()->isAncestorOf(now)) {
            const QRect shown(now->mapTo(scroller->viewport(), QPoint(0, 0)), now->size());
            QVERIFY2(scroller->viewport()->rect().contains(shown.center()), qPrintable(now->objectName()));
        }
        if (stops.isEmpty() || stops.last() != now->objectName())
            stops << now->objectName();
        QTest::keyClick(now, Qt::Key_Tab);
    }
    const QStringList reading{"SpeedButton1", "SpeedButton10", "Next", "Date", "FSdigit", "EOS2",
                              "Button2", "RadioType", "Engineer", "DateTimePicker1", "BitBtn1"};
    for (int i = 1; i < reading.size(); ++i)
        QVERIFY2(stops.indexOf(reading[i - 1]) >= 0 && stops.indexOf(reading[i - 1]) < stops.indexOf(reading[i]),
                 qPrintable(stops.join(' ')));
    QVERIFY(!stops.contains(QStringLiteral("CentralScroller")));
}

void TestEverydayUse::messageBoxKeepsTitle()
{
    QtPrompts prompts;
    int width = 0;
    QString title;
    whenShown<QMessageBox>([&](QMessageBox *box) {
        width = box->width();
        title = box->windowTitle();
        box->accept();
    });
    prompts.information(QStringLiteral("Download Ok"));
    QCOMPARE(title, QStringLiteral("Kelpra software"));
    // Room for the title in a bold title font and the window's three buttons.
    QFont titleFont = QApplication::font();
    titleFont.setBold(true);
    QVERIFY2(width >= QFontMetrics(titleFont).horizontalAdvance(title) + 3 * 24 + 40,
             qPrintable(QString::number(width)));

    width = 0;
    whenShown<QMessageBox>([&](QMessageBox *box) {
        width = box->width();
        box->accept();
    });
    prompts.error(QStringLiteral("Disk full."));
    QVERIFY2(width >= QFontMetrics(titleFont).horizontalAdvance(title) + 3 * 24 + 40,
             qPrintable(QString::number(width)));
}

void TestEverydayUse::previewOpensLarge()
{
    QtPrompts prompts;
    QSize size;
    QPrintPreviewWidget::ZoomMode zoom = QPrintPreviewWidget::CustomZoom;
    bool painted = false;
    bool printInReach = false;
    whenShown<QPrintPreviewDialog>([&](QPrintPreviewDialog *dialog) {
        size = dialog->size();
        if (auto *view = dialog->findChild<QPrintPreviewWidget *>())
            zoom = view->zoomMode();
        // Print is on the tool bar itself, not behind its overflow, even on a small screen.
        dialog->resize(qMin(dialog->width(), 1024 / 2), dialog->height());
        auto *bar = dialog->findChild<QToolBar *>();
        for (QAction *action : bar->actions())
            if (QString(action->text()).remove(QLatin1Char('&')) == QLatin1String("Print"))
                printInReach = bar->widgetForAction(action) && bar->widgetForAction(action)->isVisible();
        dialog->reject();
    });
    prompts.printPreview([&](QPrinter *) { painted = true; });
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(painted);
    QVERIFY2(size.height() >= screen.height() * 8 / 10, qPrintable(QStringLiteral("%1x%2").arg(size.width()).arg(size.height())));
    QVERIFY(size.width() <= screen.width());
    QCOMPARE(zoom, QPrintPreviewWidget::FitToWidth);
    QVERIFY(printInReach);
}

QTEST_MAIN(TestEverydayUse)
#include "test_everyday_use.moc"
