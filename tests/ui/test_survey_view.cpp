// The survey at a glance in the main window: the survey table against the sample set, the
// selection and the record on display, sorting, the summary, and the survey report and CSV
// written through the File menu.
#include "data/sample_set.h"
#include "dsc/call_check.h"
#include "files/file_io.h"
#include "page/survey_report.h"
#include "support/app_fixture.h"
#include "support/pdf_words.h"
#include "support/test_helpers.h"

#include <QAction>
#include <QDate>
#include <QDockWidget>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace kelpra;
using kelpra::test::AppFixture;
using kelpra::test::control;
using kelpra::test::readFile;
using kelpra::test::ScriptedPrompts;

namespace {

// The view's columns: the survey table's, with the country beside the self MMSI.
constexpr int kFrequencyColumn = 2;
constexpr int kVerdictColumn = 10;

QTableView *surveyTable(const MainWindow &w) { return control<QTableView>(w, "SurveyTable"); }
QString summary(const MainWindow &w) { return control<QLabel>(w, "SurveySummary")->text(); }

// The record of the selected row; 0 when no row or more than one is selected.
int selectedRecord(const QTableView *table)
{
    const QModelIndexList rows = table->selectionModel()->selectedRows(0);
    return rows.size() == 1 ? rows.first().data().toInt() : 0;
}

// The view's row that shows a record.
int rowOf(const QTableView *table, int record)
{
    for (int row = 0; row < table->model()->rowCount(); ++row) {
        if (table->model()->index(row, 0).data().toInt() == record)
            return row;
    }
    return -1;
}

void clickRow(QTableView *table, int record)
{
    const QRect cell = table->visualRect(table->model()->index(rowOf(table, record), 1));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
}

void emulate(AppFixture &f)
{
    control<QPushButton>(f.downloadWindow(), "Button1")->click();   // "Emulation"
}

QStringList pageTexts(const PdfText &pdf, int page)
{
    QStringList texts;
    for (const PdfWord &w : pdf.words) {
        if (w.page == page)
            texts << w.text;
    }
    return texts;
}

// The words of one line of a page, left to right.
QString pageLine(const PdfText &pdf, int page, double yMm)
{
    PdfText onePage;
    for (const PdfWord &w : pdf.words) {
        if (w.page == page)
            onePage.words.append(w);
    }
    return pdfRowTexts(onePage, yMm, 0.3).join(QLatin1Char(' '));
}

QString pdfInfo(const QString &path)
{
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {path});
    info.waitForFinished(30000);
    return QString::fromUtf8(info.readAllStandardOutput());
}

} // namespace

class TestSurveyView : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sampleSetRows();
    void selectionIsTheRecordOnDisplay();
    void sortingKeepsTheSelection();
    void emptySlotHoldsNoData();
    void summaryOnceRecordsAreOnView();
    void surveyReportPdf();
    void printSurveyReportPreviewsEveryPage();
    void csvExport();
    void nothingToSurvey_data();
    void nothingToSurvey();
};

void TestSurveyView::sampleSetRows()
{
    AppFixture f;
    MainWindow &w = f.mainWindow();
    QVERIFY(summary(w).isEmpty());
    emulate(f);
    QTableView *table = surveyTable(w);
    QCOMPARE(table->model()->rowCount(), 16);
    for (int row = 0; row < 16; ++row) {
        const CallCheck check = checkRecord(sampleRecord(row + 1));
        const QModelIndex verdict = table->model()->index(row, kVerdictColumn);
        QCOMPARE(table->model()->index(row, 0).data().toString(), QString::number(row + 1));
        QCOMPARE(verdict.data().toString(),
                 verdictName(check.verdict) + QStringLiteral("  ") + check.codes().join(QLatin1Char(' ')));
        QCOMPARE(verdict.data(Qt::ForegroundRole).value<QColor>(), verdictColour(check.verdict));
        QVERIFY(verdict.data(Qt::ToolTipRole).toString().startsWith(check.findings.first().text));
    }
    QCOMPARE(summary(w), QStringLiteral("16 records: 0 pass, 8 warn, 8 fail"));
    // The status line keeps its own texts.
    QCOMPARE(w.statusText(),
             QStringLiteral("Please press Decode message button or use navigation buttons in upper right corner."));

    // The user may hide the table and bring it back.
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto *dock = control<QDockWidget>(w, "SurveyDock");
    QVERIFY(dock->isVisible());
    control<QAction>(w, "SurveyTable1")->trigger();
    QVERIFY(!dock->isVisible());
    control<QAction>(w, "SurveyTable1")->trigger();
    QVERIFY(dock->isVisible());
    KELPRA_VERIFY_PROMPTS(f.prompts);
}

void TestSurveyView::selectionIsTheRecordOnDisplay()
{
    AppFixture f;
    MainWindow &w = f.mainWindow();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    emulate(f);
    QTableView *table = surveyTable(w);
    QCOMPARE(selectedRecord(table), 1);

    // Next and Prev move the selection.
    control<QAction>(w, "NextRecord")->trigger();
    control<QAction>(w, "NextRecord")->trigger();
    QCOMPARE(selectedRecord(table), 3);
    control<QAction>(w, "PreviousRecord")->trigger();
    QCOMPARE(selectedRecord(table), 2);

    // A click on a row, and a step with the keys, show that record.
    clickRow(table, 9);
    QCOMPARE(f.session().displayIndex(), 9);
    QCOMPARE(w.fieldText(Field::CurrentRecord), QStringLiteral("9"));
    QVERIFY(w.distressShown());   // record 9 is a distress alert
    table->setFocus();
    QTest::keyClick(table, Qt::Key_Down);
    QCOMPARE(f.session().displayIndex(), 10);
    QCOMPARE(selectedRecord(table), 10);
    QVERIFY(!w.distressShown());
    QTest::keyClick(table, Qt::Key_Return);
    QCOMPARE(f.session().displayIndex(), 10);
    KELPRA_VERIFY_PROMPTS(f.prompts);
}

void TestSurveyView::sortingKeepsTheSelection()
{
    AppFixture f;
    MainWindow &w = f.mainWindow();
    emulate(f);
    QVERIFY(f.session().showRecordAt(5));
    QTableView *table = surveyTable(w);
    QCOMPARE(selectedRecord(table), 5);

    // Worst first: the eight failing records lead.
    table->sortByColumn(kVerdictColumn, Qt::DescendingOrder);
    QCOMPARE(selectedRecord(table), 5);
    QCOMPARE(f.session().displayIndex(), 5);
    for (int row = 0; row < 8; ++row)
        QVERIFY(table->model()->index(row, kVerdictColumn).data().toString().startsWith(QLatin1String("fail")));

    // By frequency: the three calls on 156.525 MHz come last, after those on 12577 kHz.
    table->sortByColumn(kFrequencyColumn, Qt::AscendingOrder);
    QCOMPARE(selectedRecord(table), 5);
    QList<int> last;
    for (int row = 13; row < 16; ++row)
        last << table->model()->index(row, 0).data().toInt();
    std::sort(last.begin(), last.end());
    QCOMPARE(last, (QList<int>{3, 8, 13}));

    // In any order, Next goes to the next record and the selection follows it.
    control<QAction>(w, "NextRecord")->trigger();
    QCOMPARE(selectedRecord(table), 6);
    KELPRA_VERIFY_PROMPTS(f.prompts);
}

void TestSurveyView::emptySlotHoldsNoData()
{
    AppFixture f;
    MainWindow &w = f.mainWindow();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    test::SessionAccess::hold(f.session(), {sampleIdentificationLine(), sampleRecord(1), QByteArray(), sampleRecord(3)},
                              3);
    test::SessionAccess::decode(f.session(), 1);
    QTableView *table = surveyTable(w);
    QCOMPARE(table->model()->rowCount(), 3);
    QCOMPARE(table->model()->index(1, 1).data().toString(),
             QStringLiteral("holds no data"));
    QVERIFY(table->model()->index(1, kVerdictColumn).data().toString().isEmpty());
    QCOMPARE(summary(w), QStringLiteral("3 records: 0 pass, 0 warn, 2 fail, 1 holds no data"));

    f.prompts.expectInformation(QStringLiteral("Record 2 holds no data."));
    clickRow(table, 2);
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QCOMPARE(f.session().displayIndex(), 2);
    QCOMPARE(selectedRecord(table), 2);
}

void TestSurveyView::summaryOnceRecordsAreOnView()
{
    AppFixture f;
    MainWindow &w = f.mainWindow();
    emulate(f);
    QCOMPARE(summary(w), QStringLiteral("16 records: 0 pass, 8 warn, 8 fail"));

    // A download: the records are held from the last reply on, and the survey is on view
    // once "Download Ok" has been read and record 1 shown.
    QList<QByteArray> replies{sampleIdentificationLine()};
    for (int k = 1; k <= 16; ++k)
        replies << sampleRecord(8);   // a distress alert that warns
    f.session().acceptDownload(replies, QStringLiteral("COM1"), QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(summary(w), QStringLiteral("16 records: 0 pass, 8 warn, 8 fail"));
    QCOMPARE(surveyTable(w)->model()->index(0, kVerdictColumn).data().toString().left(4), QStringLiteral("fail"));
    f.session().decodeMessage();
    QCOMPARE(summary(w), QStringLiteral("16 records: 0 pass, 16 warn, 0 fail"));
    QCOMPARE(selectedRecord(surveyTable(w)), 1);

    // Open data: a file of two records.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("two.bin"));
    {
        AppFixture writer;
        test::SessionAccess::hold(writer.session(), {sampleIdentificationLine(), sampleRecord(1), sampleRecord(8)}, 2);
        QVERIFY(!writeWholeFile(path, writer.session().fullSetFile().bytes));
    }
    f.prompts.expectOpenFile(path);
    control<QAction>(w, "Open1")->trigger();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QCOMPARE(summary(w), QStringLiteral("2 records: 0 pass, 1 warn, 1 fail"));
    QCOMPARE(surveyTable(w)->model()->rowCount(), 2);
}

void TestSurveyView::surveyReportPdf()
{
    AppFixture f;
    MainWindow &w = f.mainWindow();
    emulate(f);
    w.setFieldText(Field::VesselName, QStringLiteral("Baltic Star"));
    w.setFieldText(Field::Engineer, QStringLiteral("I. Petrov"));
    w.setFieldText(Field::RadioModel, QStringLiteral("Sailor 6222"));
    f.session().setSurveyDate(QDate(2024, 5, 23));
    QVERIFY(f.session().showRecordAt(5));
    // A text typed over on the record on display is what its page prints.
    w.setFieldText(Field::ReceivedFrequency, QStringLiteral("2187.5 kHz typed"));
    const FieldTexts onDisplay = f.session().texts();

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("survey.pdf"));
    f.prompts.expectSaveFile(path);
    control<QAction>(w, "ExportSurveyPdf1")->trigger();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QCOMPARE(f.prompts.shown.constLast().setup.proposedName, QStringLiteral("Baltic_Star_survey_2024-05-23"));
    QCOMPARE(f.session().fileNote(), QStringLiteral("Survey report exported to survey.pdf"));
    // What is on display stays as it was.
    QCOMPARE(f.session().displayIndex(), 5);
    QCOMPARE(f.session().texts(), onDisplay);

    const PdfText survey = readPdfWords(path);
    QVERIFY2(survey.error.isEmpty(), qPrintable(survey.error));
    QCOMPARE(survey.pages.size(), 17);
    const QStringList first = pageTexts(survey, 0);
    QVERIFY(first.join(' ').contains(QLatin1String("SURVEY OF DSC CALLS")));
    QVERIFY(first.join(' ').contains(QLatin1String("Radioengineer: I. Petrov")));
    QVERIFY(first.join(' ').contains(QLatin1String("Date: 23 May 2024")));
    QVERIFY(first.join(' ').contains(QLatin1String("Test set: GMDSS TESTER S/N 001 rev 1.324")));
    // A row for each record: its number in the first column, on a line with its date.
    for (int record = 1; record <= 16; ++record) {
        const auto number = std::find_if(survey.words.cbegin(), survey.words.cend(), [&](const PdfWord &word) {
            return word.page == 0 && word.text == QString::number(record) && word.xMin < 15.0;
        });
        QVERIFY2(number != survey.words.cend(), qPrintable(QString::number(record)));
        const QString line = pageLine(survey, 0, number->yMin);
        QVERIFY2(line.startsWith(QString::number(record) + QStringLiteral(" 15.12.06 24:35 ")), qPrintable(line));
    }
    QCOMPARE(first.count(QStringLiteral("fail")), 8);
    QCOMPARE(first.count(QStringLiteral("warn")), 8);
    for (int page = 0; page < 17; ++page)
        QCOMPARE(pdfSampleMark(survey, page), QStringLiteral("SAMPLEDATA"));

    QVERIFY(pageTexts(survey, 5).contains(QStringLiteral("typed")));
    QVERIFY(!pageTexts(survey, 4).contains(QStringLiteral("typed")));
    // Pages 2 to 17: the protocol of each record, exactly as exported with it on display
    // (record 5 first, while the typed text is on display).
    for (int record : {5, 1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}) {
        if (record != 5)
            QVERIFY(f.session().showRecordAt(record));
        const QString single = dir.filePath(QStringLiteral("record%1.pdf").arg(record));
        f.prompts.expectSaveFile(single);
        control<QAction>(w, "ExportPdf1")->trigger();
        const PdfText page = readPdfWords(single);
        QCOMPARE(page.pages.size(), 1);
        QCOMPARE(pageTexts(survey, record), pageTexts(page, 0));
    }
    KELPRA_VERIFY_PROMPTS(f.prompts);

    const QString info = pdfInfo(path);
    QVERIFY2(info.contains(QString::fromUtf8("Title:           SURVEY OF DSC CALLS \u2014 Baltic Star, 23 May 2024\n")),
             qPrintable(info));
    QVERIFY2(info.contains(QStringLiteral("Author:          I. Petrov\n")), qPrintable(info));
    QVERIFY2(info.contains(QStringLiteral("Creator:         Kelpra ")), qPrintable(info));
}

void TestSurveyView::printSurveyReportPreviewsEveryPage()
{
    AppFixture f;
    emulate(f);
    QTemporaryDir dir;
    PdfText printed;
    f.prompts.expectPrintPreview([&](const std::function<void(QPrinter *)> &paint) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("printed.pdf")));
        printer.setPageSize(QPageSize(QPageSize::A4));
        paint(&printer);
        printed = readPdfWords(printer.outputFileName());
    });
    control<QAction>(f.mainWindow(), "PrintSurvey1")->trigger();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QCOMPARE(printed.pages.size(), 17);
    // Printer margins move nothing: the title stands where it does in the PDF file.
    const QList<PdfWord> title = pdfRow(printed, 15.0, 1.5);
    QVERIFY(!title.isEmpty());
    QCOMPARE(title.first().text, QStringLiteral("SURVEY"));
    QVERIFY(pageTexts(printed, 16).contains(QStringLiteral("PROTOCOL")));
}

void TestSurveyView::csvExport()
{
    AppFixture f;
    MainWindow &w = f.mainWindow();
    emulate(f);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("survey.csv"));
    f.prompts.expectSaveFile(path);
    control<QAction>(w, "ExportSurveyCsv1")->trigger();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    const ScriptedPrompts::Shown &dialog = f.prompts.shown.constLast();
    QCOMPARE(dialog.setup.filter, QStringLiteral("*.csv"));
    QCOMPARE(dialog.setup.defaultSuffix, QStringLiteral("csv"));
    const QByteArray csv = readFile(path);
    QVERIFY(csv.startsWith("\xEF\xBB\xBFrecord,date,frequency,rssi,format,"));
    QCOMPARE(csv.count("\r\n"), 17);
    QVERIFY(csv.contains("\r\n3,15.12.06 24:35,156.525 MHZ,128,Distress,,999999999,,all ships,,Ok,fail,"
                         "ecc-mismatch verdict-disagrees mid-unallocated\r\n"));
    QCOMPARE(f.session().fileNote(), QStringLiteral("Survey table exported to survey.csv"));

    // A file that cannot be written is said so, and nothing else changes.
    f.prompts.expectSaveFile(dir.path());
    f.prompts.expectError(QStringLiteral("File access denied."));
    control<QAction>(w, "ExportSurveyCsv1")->trigger();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QCOMPARE(f.session().fileNote(), QStringLiteral("Survey table exported to survey.csv"));
}

void TestSurveyView::nothingToSurvey_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("print") << "PrintSurvey1";
    QTest::newRow("pdf") << "ExportSurveyPdf1";
    QTest::newRow("csv") << "ExportSurveyCsv1";
}

void TestSurveyView::nothingToSurvey()
{
    QFETCH(QString, action);
    AppFixture f;
    f.prompts.expectInformation(QStringLiteral("Please download the data or read it from file!"));
    control<QAction>(f.mainWindow(), action.toLatin1().constData())->trigger();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QCOMPARE(f.prompts.shown.size(), 1);
}

QTEST_MAIN(TestSurveyView)
#include "test_survey_view.moc"
