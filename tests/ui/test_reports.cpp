// "Save report" and "Print report" driven through the main window.
#include "support/app_fixture.h"
#include "support/test_helpers.h"

#include "support/pdf_words.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLineEdit>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace kelpra;
using kelpra::test::control;
using kelpra::test::readFile;
using kelpra::test::AppFixture;
using kelpra::test::ScriptedPrompts;

namespace {

// Sample record 3 on display: a distress alert.
void showDistressAlert(AppFixture &f)
{
    f.session().loadSampleSet();
    QVERIFY(f.session().showRecordAt(3));
    QVERIFY(f.mainWindow().distressShown());
}

// Renders what the preview was handed into a PDF and reads its words back.
PdfText previewedPage(const std::function<void(QPrinter *)> &paint, const QString &pdfPath)
{
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfPath);
        printer.setPageSize(QPageSize(QPageSize::A4));
        paint(&printer);
    }
    return readPdfWords(pdfPath);
}

// The words of one row of the page, left to right.
QStringList rowWords(const PdfText &pdf, double yMm) { return pdfRowTexts(pdf, yMm, 0.5); }

} // namespace

class TestReports : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void saveReportWritesChosenVariant_data();
    void saveReportWritesChosenVariant();
    void saveReportCancelled();
    void saveReportFileErrors_data();
    void saveReportFileErrors();
    void printReportPreviewsFilledPage();
};

void TestReports::saveReportWritesChosenVariant_data()
{
    QTest::addColumn<bool>("distress");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QByteArray>("vesselLine");
    QTest::newRow("call") << false << 37 << QByteArray("Vessel name: \xCA\xE0\xEF\xE8\xF2\xE0\xED\r\n");
    QTest::newRow("distress") << true << 35
                              << QByteArray("Vessel name:        \xCA\xE0\xEF\xE8\xF2\xE0\xED\r\n");
}

void TestReports::saveReportWritesChosenVariant()
{
    QFETCH(bool, distress);
    QFETCH(int, lines);
    QFETCH(QByteArray, vesselLine);

    AppFixture f;
    MainWindow &w = f.mainWindow();
    if (distress)
        showDistressAlert(f);
    w.setFieldText(Field::VesselName, QString::fromUtf8("\xD0\x9A\xD0\xB0\xD0\xBF\xD0\xB8\xD1\x82\xD0\xB0\xD0\xBD"));
    const QString status = w.statusText();

    QTemporaryDir dir;
    const QString path = dir.filePath("report.txt");
    QFile old(path);   // an existing file is replaced without a question
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(5000, 'x'));
    old.close();

    f.prompts.expectSaveFile(path);
    w.reports().saveReport();
    KELPRA_VERIFY_PROMPTS(f.prompts);

    const ScriptedPrompts::Shown &dialog = f.prompts.shown.first();
    QCOMPARE(dialog.setup.filter, QStringLiteral("*.txt"));
    QCOMPARE(dialog.setup.defaultSuffix, QStringLiteral("txt"));
    QCOMPARE(dialog.setup.proposedName, QStringLiteral("test_results"));

    const QByteArray bytes = readFile(path);
    QCOMPARE(bytes.count("\r\n"), lines);
    QVERIFY(bytes.endsWith("\r\n"));
    QVERIFY(!bytes.contains("xxxxx"));   // nothing of the old content
    QVERIFY2(bytes.contains("\r\n" + vesselLine), bytes.constData());
    QCOMPARE(bytes.contains("Format Specifier:            112         Distress\r\n"), distress);
    QCOMPARE(w.statusText(), status);
}

void TestReports::saveReportCancelled()
{
    AppFixture f;
    const auto reportsHere = [] { return QDir::current().entryList(QDir::Files | QDir::NoDotAndDotDot).filter(".txt"); };
    const QStringList before = reportsHere();
    f.prompts.expectSaveFile(QString());
    f.mainWindow().reports().saveReport();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QCOMPARE(f.prompts.shown.size(), 1);   // the dialog and nothing after it
    QCOMPARE(reportsHere(), before);
}

void TestReports::saveReportFileErrors_data()
{
    QTest::addColumn<QString>("path");   // "%1": a temporary folder
    QTest::addColumn<QString>("message");
    // Paths chosen to fail also for root, who ignores file permissions.
    QTest::newRow("parent is a file") << "%1/plain/report.txt" << "Invalid filename.";
    QTest::newRow("missing folder") << "%1/nowhere/report.txt" << "Invalid filename.";
    QTest::newRow("a folder") << "%1" << "File access denied.";
    QTest::newRow("sysfs") << "/sys/kelpra_report.txt" << "File access denied.";
}

void TestReports::saveReportFileErrors()
{
    QFETCH(QString, path);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QFile plain(dir.filePath("plain"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();

    AppFixture f;
    f.prompts.expectSaveFile(path.contains("%1") ? path.arg(dir.path()) : path);
    f.prompts.expectError(message);
    f.mainWindow().reports().saveReport();
    KELPRA_VERIFY_PROMPTS(f.prompts);

    // The program goes on: the next report is written.
    const QString good = dir.filePath("good.txt");
    f.prompts.expectSaveFile(good);
    f.mainWindow().reports().saveReport();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QCOMPARE(readFile(good).count("\r\n"), 37);
}

void TestReports::printReportPreviewsFilledPage()
{
    AppFixture f;
    MainWindow &w = f.mainWindow();
    const ProtocolPage &page = w.reports().protocolPage();
    QTemporaryDir dir;
    w.setFieldText(Field::Engineer, "I. Petrov");

    // A distress alert first, from the menu item.
    showDistressAlert(f);
    PdfText distressPdf;
    f.prompts.expectPrintPreview([&](const std::function<void(QPrinter *)> &paint) {
        distressPdf = previewedPage(paint, dir.filePath("distress.pdf"));
    });
    control<QAction>(w, "Print1")->trigger();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QVERIFY2(distressPdf.error.isEmpty(), qPrintable(distressPdf.error));
    QCOMPARE(distressPdf.pages.size(), 1);
    QCOMPARE(page.label("QRLabel15").text, QStringLiteral("Nature of Distress:"));
    QCOMPARE(rowWords(distressPdf, 93.1).join(' '), QStringLiteral("Nature of Distress: 107 Undesignated distress"));
    QCOMPARE(rowWords(distressPdf, 124.9).join(' '), QStringLiteral("ECC: 57"));
    QVERIFY(rowWords(distressPdf, 137.6).isEmpty());
    QVERIFY(rowWords(distressPdf, 143.9).isEmpty());
    QCOMPARE(rowWords(distressPdf, 245.5).join(' '), QStringLiteral("Radioengineer: I. Petrov"));

    // Then a call: every call caption is back, the distress values are gone.
    QVERIFY(f.session().showRecordAt(1));
    PdfText callPdf;
    f.prompts.expectPrintPreview([&](const std::function<void(QPrinter *)> &paint) {
        callPdf = previewedPage(paint, dir.filePath("call.pdf"));
    });
    w.reports().printReport();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QVERIFY2(callPdf.error.isEmpty(), qPrintable(callPdf.error));
    QCOMPARE(rowWords(callPdf, 93.1).join(' '), QStringLiteral("Category: 100 Routine"));
    QCOMPARE(rowWords(callPdf, 137.6).join(' '), QStringLiteral("ECC: 76"));
    QVERIFY(rowWords(callPdf, 124.9).join(' ').startsWith(QStringLiteral("Frequency or pos.no FS2:")));
    QVERIFY(rowWords(callPdf, 143.9).join(' ').startsWith(QStringLiteral("End of sequence:")));
    QCOMPARE(page.label("QRLabel37").text, QStringLiteral("120"));   // the call's format specifier, not 112
}

QTEST_MAIN(TestReports)
#include "test_reports.moc"
