// The survey report's first pages when the survey table does not fit on one sheet: every
// row once, in order, under the column titles of each sheet, then the footnotes.
#include "data/sample_set.h"
#include "page/survey_report.h"
#include "support/pdf_words.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace kelpra;

class TestSurveyReport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void tableContinuesOnFurtherSheets();
};

void TestSurveyReport::tableContinuesOnFurtherSheets()
{
    // Sixty rows, more than two sheets hold; a finding sentence of its own in every row.
    SurveyReport report;
    report.sampleMark = true;
    for (int record = 1; record <= 60; ++record) {
        SurveyRow row = surveyRow(record, sampleRecord(1 + (record - 1) % 16));
        row.check.findings.append({QStringLiteral("made-up"), CheckSeverity::Warning,
                                   QStringLiteral("Finding number %1 of this survey.").arg(record)});
        report.rows.append(row);
    }
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("long.pdf")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(writeSurveyReportPdf(report, &file));
    file.close();

    const PdfText pdf = readPdfWords(file.fileName());
    QVERIFY2(pdf.error.isEmpty(), qPrintable(pdf.error));
    QVERIFY(pdf.pages.size() >= 3);
    // The numbers at the margin: every row once, in order, then the footnotes, the sample
    // set's seven sentences and the sixty made up, each once.
    QList<int> margin, expected, sheetsWithTitles;
    for (const PdfWord &word : pdf.words) {
        if (word.text == QLatin1String("No.") && word.xMin < 15.0)
            sheetsWithTitles.append(word.page);
        bool number = false;
        const int value = word.text.toInt(&number);
        if (number && word.xMin < 15.0)
            margin.append(value);
    }
    for (int n = 1; n <= 60 + 67; ++n)
        expected.append(n <= 60 ? n : n - 60);
    QCOMPARE(margin, expected);
    // The titles head every sheet the table reaches, and no other.
    QVERIFY(sheetsWithTitles.size() >= 2);
    for (int sheet = 0; sheet < sheetsWithTitles.size(); ++sheet)
        QCOMPARE(sheetsWithTitles.at(sheet), sheet);
    for (int page = 0; page < pdf.pages.size(); ++page)
        QCOMPARE(pdfSampleMark(pdf, page), QStringLiteral("SAMPLEDATA"));
}

QTEST_MAIN(TestSurveyReport)
#include "test_survey_report.moc"
