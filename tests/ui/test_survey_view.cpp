// The survey at a glance in the main window: the survey table, its selection, sorting and
// summary, and the survey report and CSV written through the File menu.
#include "data/sample_set.h"
#include "dsc/call_check.h"
#include "files/file_io.h"
#include "page/survey_report.h"
#include "session/survey_table.h"
#include "support/app_fixture.h"
#include "support/pdf_words.h"
#include "support/test_helpers.h"

#include <QAction>
#include <QDate>
#include <QDockWidget>
#include <QLabel>
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

// A click on a row of the table in record order.
void clickRow(QTableView *table, int record)
{
    const QRect cell = table->visualRect(table->model()->index(record - 1, 1));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
}

void emulate(AppFixture &f) { control<QPushButton>(f.downloadWindow(), "Button1")->click(); }   // "Emulation"

QStringList pageTexts(const PdfText &pdf, int page)
{
    QStringList texts;
    for (const PdfWord &w : pdf.words) {
        if (w.page == page)
            texts << w.text;
    }
    return texts;
}

} // namespace

class TestSurveyView : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sampleSetRowsAndSelection();
    void summaryOnceRecordsAreOnView();
    void surveyReportAndCsv();
};

void TestSurveyView::sampleSetRowsAndSelection()
{
    AppFixture f;
    MainWindow &w = f.mainWindow();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    emulate(f);
    QTableView *table = surveyTable(w);
    QCOMPARE(table->model()->rowCount(), 16);
    const QModelIndex alert = table->model()->index(2, kVerdictColumn);
    QCOMPARE(alert.data().toString(), QStringLiteral("fail  ecc-mismatch verdict-disagrees mid-unallocated"));
    QCOMPARE(alert.data(Qt::ForegroundRole).value<QColor>(), verdictColour(CheckVerdict::Fail));
    QVERIFY(alert.data(Qt::ToolTipRole).toString().startsWith(checkRecord(sampleRecord(3)).findings.first().text));
    QCOMPARE(summary(w), QStringLiteral("16 records: 0 pass, 8 warn, 8 fail"));

    // The selection is the record on display: Next and Prev move it.
    QCOMPARE(selectedRecord(table), 1);
    control<QAction>(w, "NextRecord")->trigger();
    QCOMPARE(selectedRecord(table), 2);

    // A click on a row shows that record, and the row stays selected.
    clickRow(table, 4);
    QCOMPARE(selectedRecord(table), 4);
    QCOMPARE(w.fieldText(Field::CurrentRecord), QStringLiteral("4"));
    // Also a row the dock shows only in part: the row clicked is the one selected.
    const int bottom = table->viewport()->height();
    int cut = 0;
    for (int row = 0; row < 16 && !cut; ++row) {
        const QRect rect = table->visualRect(table->model()->index(row, 1));
        if (rect.top() < bottom - 2 && rect.bottom() > bottom)
            cut = row + 1;
    }
    QVERIFY(cut > 0);
    const QRect partly = table->visualRect(table->model()->index(cut - 1, 1));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, QPoint(partly.center().x(), (partly.top() + bottom) / 2));
    QCOMPARE(f.session().displayIndex(), cut);
    QCOMPARE(selectedRecord(table), cut);
    clickRow(table, 4);

    // Sorting keeps the selection. Worst first: the eight failing records lead.
    table->sortByColumn(kVerdictColumn, Qt::DescendingOrder);
    QCOMPARE(selectedRecord(table), 4);
    for (int row = 0; row < 8; ++row)
        QVERIFY(table->model()->index(row, kVerdictColumn).data().toString().startsWith(QLatin1String("fail")));
    // By frequency: the three calls on 156.525 MHz come last, after those on 12577 kHz.
    table->sortByColumn(kFrequencyColumn, Qt::AscendingOrder);
    QCOMPARE(selectedRecord(table), 4);
    for (int row = 13; row < 16; ++row)
        QCOMPARE(table->model()->index(row, kFrequencyColumn).data().toString(), QStringLiteral("156.525 MHZ"));
    // In any order, Next and Prev go to the next and previous record, and the selection follows.
    control<QAction>(w, "NextRecord")->trigger();
    QCOMPARE(selectedRecord(table), 5);
    control<QAction>(w, "PreviousRecord")->trigger();
    QCOMPARE(selectedRecord(table), 4);

    // The user may hide the table and bring it back.
    auto *dock = control<QDockWidget>(w, "SurveyDock");
    control<QAction>(w, "SurveyTable1")->trigger();
    QVERIFY(!dock->isVisible());
    control<QAction>(w, "SurveyTable1")->trigger();
    QVERIFY(dock->isVisible());
    KELPRA_VERIFY_PROMPTS(f.prompts);
}

void TestSurveyView::summaryOnceRecordsAreOnView()
{
    AppFixture f;
    MainWindow &w = f.mainWindow();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // Before any records: no summary, and nothing to survey.
    QVERIFY(summary(w).isEmpty());
    for (const char *action : {"PrintSurvey1", "ExportSurveyPdf1", "ExportSurveyCsv1"}) {
        f.prompts.expectInformation(QStringLiteral("Please download the data or read it from file!"));
        control<QAction>(w, action)->trigger();
    }
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("gap.bin"));
    test::SessionAccess::hold(f.session(), {sampleIdentificationLine(), sampleRecord(1), QByteArray(), sampleRecord(3)},
                              3);
    QVERIFY(!writeWholeFile(path, f.session().fullSetFile().bytes));
    emulate(f);

    // A download: the records are held from the last reply on, and the survey is on view
    // once "Download Ok" has been read and record 1 shown.
    QList<QByteArray> replies{sampleIdentificationLine()};
    for (int k = 1; k <= 16; ++k)
        replies << sampleRecord(8);   // a distress alert that warns
    f.session().acceptDownload(replies, QStringLiteral("COM1"), QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(summary(w), QStringLiteral("16 records: 0 pass, 8 warn, 8 fail"));
    f.session().decodeMessage();
    QCOMPARE(summary(w), QStringLiteral("16 records: 0 pass, 16 warn, 0 fail"));

    // Open data: three records, the second slot empty.
    f.prompts.expectOpenFile(path);
    control<QAction>(w, "Open1")->trigger();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QCOMPARE(summary(w), QStringLiteral("3 records: 0 pass, 0 warn, 2 fail, 1 holds no data"));
    QTableView *table = surveyTable(w);
    QCOMPARE(table->model()->index(1, 1).data().toString(), QStringLiteral("holds no data"));
    f.prompts.expectInformation(QStringLiteral("Record 2 holds no data."));
    clickRow(table, 2);
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QCOMPARE(f.session().displayIndex(), 2);
    QCOMPARE(selectedRecord(table), 2);
}

void TestSurveyView::surveyReportAndCsv()
{
    AppFixture f;
    MainWindow &w = f.mainWindow();
    emulate(f);
    w.setFieldText(Field::VesselName, QStringLiteral("Baltic Star"));
    w.setFieldText(Field::Engineer, QStringLiteral("I. Petrov"));
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
    const QStringList firstText = pageTexts(survey, 0);
    for (const char *text : {"SURVEY OF DSC CALLS", "Radioengineer: I. Petrov", "Date: 23 May 2024",
                             "Test set: GMDSS TESTER S/N 001 rev 1.324"})
        QVERIFY2(firstText.join(' ').contains(QLatin1String(text)), text);
    // A row for each record, with its date and verdict.
    QCOMPARE(firstText.count(QStringLiteral("15.12.06")), 16);
    QCOMPARE(firstText.count(QStringLiteral("fail")), 8);
    QCOMPARE(firstText.count(QStringLiteral("warn")), 8);
    for (int page = 0; page < 17; ++page)
        QCOMPARE(pdfSampleMark(survey, page), QStringLiteral("SAMPLEDATA"));

    // Printed, the same pages; printer margins move nothing: the title stands where it does.
    PdfText printed;
    f.prompts.expectPrintPreview([&](const std::function<void(QPrinter *)> &paint) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("printed.pdf")));
        printer.setPageSize(QPageSize(QPageSize::A4));
        paint(&printer);
        printed = readPdfWords(printer.outputFileName());
    });
    control<QAction>(w, "PrintSurvey1")->trigger();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QCOMPARE(printed.pages.size(), 17);
    QCOMPARE(pdfRowTexts(printed, 15.0, 1.5).value(0), QStringLiteral("SURVEY"));
    for (int page = 0; page < 17; ++page)
        QCOMPARE(pageTexts(printed, page), pageTexts(survey, page));

    // Pages 2 to 17: the protocol of each record, exactly as exported with it on display
    // (record 5 first, while the typed text is on display).
    QVERIFY(pageTexts(survey, 5).contains(QStringLiteral("typed")));
    for (int record : {5, 1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}) {
        QVERIFY(record == 5 || f.session().showRecordAt(record));
        const QString single = dir.filePath(QStringLiteral("record%1.pdf").arg(record));
        f.prompts.expectSaveFile(single);
        control<QAction>(w, "ExportPdf1")->trigger();
        const PdfText page = readPdfWords(single);
        QCOMPARE(pageTexts(survey, record), pageTexts(page, 0));
    }
    KELPRA_VERIFY_PROMPTS(f.prompts);

    QProcess pdfinfo;
    pdfinfo.start(QStringLiteral("pdfinfo"), {path});
    QVERIFY(pdfinfo.waitForFinished(30000));
    const QString info = QString::fromUtf8(pdfinfo.readAllStandardOutput());
    for (const char *line : {"Title:           SURVEY OF DSC CALLS \u2014 Baltic Star, 23 May 2024\n",
                             "Author:          I. Petrov\n", "Creator:         Kelpra "})
        QVERIFY2(info.contains(QString::fromUtf8(line)), qPrintable(info));

    // The survey table as CSV, byte for byte.
    const QString csvPath = dir.filePath(QStringLiteral("survey.csv"));
    f.prompts.expectSaveFile(csvPath);
    control<QAction>(w, "ExportSurveyCsv1")->trigger();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QCOMPARE(f.prompts.shown.constLast().setup.filter, QStringLiteral("*.csv"));
    QCOMPARE(f.prompts.shown.constLast().setup.defaultSuffix, QStringLiteral("csv"));
    QCOMPARE(readFile(csvPath), surveyCsv(surveyRows(f.session())));
    QCOMPARE(f.session().fileNote(), QStringLiteral("Survey table exported to survey.csv"));
    // A file that cannot be written is said so, and nothing else changes.
    f.prompts.expectSaveFile(dir.path());
    f.prompts.expectError(QStringLiteral("File access denied."));
    control<QAction>(w, "ExportSurveyCsv1")->trigger();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QCOMPARE(f.session().fileNote(), QStringLiteral("Survey table exported to survey.csv"));
}

QTEST_MAIN(TestSurveyView)
#include "test_survey_view.moc"
