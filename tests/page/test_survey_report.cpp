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
    const QString path = dir.filePath(QStringLiteral("long.pdf"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(writeSurveyReportPdf(report, &file));
    file.close();

    const PdfText pdf = readPdfWords(path);
    QVERIFY2(pdf.error.isEmpty(), qPrintable(pdf.error));
    QVERIFY(pdf.pages.size() >= 3);
    QList<int> records;
    QList<int> sheetsWithTitles;
    int lastFootnote = 0;
    for (const PdfWord &word : pdf.words) {
        if (word.text == QLatin1String("No.") && word.xMin < 15.0)
            sheetsWithTitles.append(word.page);
        bool number = false;
        const int value = word.text.toInt(&number);
        // The first column of the table, and the footnotes' numbers at the margin.
        if (number && word.xMin < 15.0) {
            if (records.size() < 60)
                records.append(value);
            else
                lastFootnote = value;
        }
    }
    QList<int> expected;
    for (int record = 1; record <= 60; ++record)
        expected.append(record);
    QCOMPARE(records, expected);
    // The titles head every sheet the table reaches, and no other.
    const int tableSheets = static_cast<int>(sheetsWithTitles.size());
    QVERIFY(tableSheets >= 2);
    for (int sheet = 0; sheet < tableSheets; ++sheet)
        QCOMPARE(sheetsWithTitles.at(sheet), sheet);
    // The sample set's seven sentences and the sixty made up, each once.
    QCOMPARE(lastFootnote, 67);
    for (int page = 0; page < pdf.pages.size(); ++page)
        QCOMPARE(pdfSampleMark(pdf, page), QStringLiteral("SAMPLEDATA"));
}

QTEST_MAIN(TestSurveyReport)
#include "test_survey_report.moc"
