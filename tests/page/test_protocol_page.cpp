// The printed protocol: captions and values of both variants, and the rendered page read
// back from a PDF with poppler's pdftotext.
//
// Vertical reference: a label's y is the top of its line box, i.e. the baseline lies one
// font ascent (internal leading included) below it. pdftotext reports a word's top as
// baseline minus the ascent the PDF's font descriptor gives, so word top and label top
// are compared directly.
#include "data/text8.h"
#include "support/pdf_words.h"
#include "page/protocol_page.h"
#include "support/sample_fields.h"

#include <QPainter>
#include <QPdfWriter>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using kelpra::Field;
using kelpra::FieldTexts;
using kelpra::ProtocolPage;
using kelpra::PageLabel;

namespace {

constexpr double kToleranceMm = 0.5;

const QStringList kCaptionLabels = {"QRLabel14", "QRLabel15", "QRLabel16", "QRLabel17", "QRLabel18",
                                    "QRLabel19", "QRLabel20", "QRLabel21", "QRLabel22", "QRLabel23"};

const QStringList kCallCaptions = {"MMSI:", "Category:", "Self identification(MMSI):", "First telecomand:",
                                   "Second telecomand:", "Frequency or pos.no FS1:", "Frequency or pos.no FS2:",
                                   "End of sequence:", "ECC:", "End of sequence:"};

const QStringList kDistressCaptions = {"Self MMSI:", "Nature of Distress:", "Distress Coordinates:", "Time:",
                                       "Subsequent communication:", "End of sequence:", "ECC:",
                                       "End of sequence:", "", ""};

// Every field the page can show, each with a text of its own ("v:<field>").
FieldTexts allFieldsTagged()
{
    FieldTexts f;
    for (const kelpra::Field field : kelpra::allFields())
        f[field] = QByteArray("v:") + kelpra::fieldName(field);
    return f;
}

// Sample record 3 (a distress alert) as the window holds it after decoding.
FieldTexts distressSample()
{
    FieldTexts f = kelpra::test::sampleRecord3Fields();
    f[Field::RadioModel] = "Sailor RT5022";
    f[Field::RadioSerialNumber] = "A-10234";
    // Stale call meanings that must not show in rows 7 and 8.
    f[Field::Message1Meaning] = "VHF CH - 0006";
    f[Field::Message2Meaning] = "VHF CH - 0006";
    f[Field::ErrorCheck] = "76";
    f[Field::EndOfSequence2] = "127 127";
    f[Field::VesselName] = "Kapitan Dranitsyn";
    f[Field::VesselCategory] = "Icebreaker";
    f[Field::Engineer] = "I. Petrov";
    return f;
}

// Sample record 1 (a call).
FieldTexts callSample()
{
    FieldTexts f = distressSample();
    f[Field::ReceivedFrequency] = "12577.0 kHZ";
    f[Field::FormatDigits] = "120";
    f[Field::FormatMeaning] = "Individual stations";
    f[Field::AddressDigits] = "20 13 23 54 50 ";
    f[Field::AddressMeaning] = "201 323545";
    f[Field::CategoryDigits] = "100";
    f[Field::CategoryMeaning] = "Routine";
    f[Field::SelfIdDigits] = "99 99 99 99 90 ";
    f[Field::SelfIdMeaning] = "999 999999";
    f[Field::FirstCommandDigits] = "100";
    f[Field::FirstCommandMeaning] = "F3E/G3E All modes telephony";
    f[Field::SecondCommandDigits] = "126";
    f[Field::SecondCommandMeaning] = "No information";
    f[Field::Message1Digits] = "90 00 06 ";
    f[Field::Message2Digits] = "90 00 06 ";
    f[Field::EndOfSequence1] = "117";
    return f;
}

enum class Device { PdfWriterNoMargins, PdfWriterMargins, PrinterMargins, PrinterFullPage };

// Renders the page into a PDF file the way the given device is set up.
void renderPdf(const ProtocolPage &page, const QString &path, Device device)
{
    const QPageSize a4(QPageSize::A4);
    if (device == Device::PdfWriterNoMargins || device == Device::PdfWriterMargins) {
        QPdfWriter writer(path);
        writer.setResolution(600);
        writer.setPageSize(a4);
        writer.setPageOrientation(QPageLayout::Portrait);
        writer.setPageMargins(device == Device::PdfWriterMargins ? QMarginsF(10, 10, 10, 10) : QMarginsF(),
                              QPageLayout::Millimeter);
        QPainter painter(&writer);
        kelpra::renderProtocolPage(painter, page);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(a4);
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(25, 17, 8, 30), QPageLayout::Millimeter);
    printer.setFullPage(device == Device::PrinterFullPage);
    QPainter painter(&printer);
    kelpra::renderProtocolPage(painter, page);
}

PdfText renderAndRead(const ProtocolPage &page, Device device = Device::PdfWriterMargins)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.pdf"));
    renderPdf(page, path, device);
    return readPdfWords(path);
}

bool near(double a, double b) { return qAbs(a - b) <= kToleranceMm; }

// Checks that the label's words stand on one line starting at its position. Returns a
// description of what is wrong, or an empty string.
QString checkLabel(const PdfText &pdf, const PageLabel &label)
{
    const QStringList tokens = label.text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (int i = 0; i < pdf.words.size(); ++i) {
        const PdfWord &first = pdf.words[i];
        if (first.text != tokens.first() || !near(first.xMin, label.xMm) || !near(first.yMin, label.yMm))
            continue;
        const QList<PdfWord> line = pdfRow(pdf, first.yMin, 0.05, first.xMin);
        QStringList found;
        for (int k = 0; k < tokens.size() && k < line.size(); ++k)
            found.append(line[k].text);
        if (found == tokens)
            return QString();
        return QStringLiteral("%1: line reads \"%2\", expected \"%3\"")
            .arg(label.name, found.join(QLatin1Char(' ')), tokens.join(QLatin1Char(' ')));
    }
    return QStringLiteral("%1: \"%2\" not found at x %3 y %4 mm").arg(label.name, label.text).arg(label.xMm).arg(label.yMm);
}

QStringList wordsInRow(const PdfText &pdf, double yMm, double fromXMm = 0)
{
    return pdfRowTexts(pdf, yMm, kToleranceMm, fromXMm - kToleranceMm);
}

QStringList captions(const ProtocolPage &page)
{
    QStringList texts;
    for (const QString &name : kCaptionLabels)
        texts.append(page.label(name).text);
    return texts;
}

} // namespace

Q_DECLARE_METATYPE(Device)

class TestProtocolPage : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void captionsFollowVariant_data();
    void captionsFollowVariant();
    void valuesFromTheirFields_data();
    void valuesFromTheirFields();
    void everyLabelAtItsPosition_data();
    void everyLabelAtItsPosition();
    void marginsDoNotMoveLabels_data();
    void marginsDoNotMoveLabels();
    void distressRowsOnPage();
    void callAfterDistressOnPage();
    void fontsOfTheLabels();
    void cyrillicFieldPrinted();
    void longMeaningStaysOneLine();
    void columnLimits_data();
    void columnLimits();
    void valuesStayInTheirColumns_data();
    void valuesStayInTheirColumns();
};

void TestProtocolPage::captionsFollowVariant_data()
{
    QTest::addColumn<QList<bool>>("runs");   // distress shown, for each printout in turn
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("fresh page, call") << QList<bool>{false} << kCallCaptions;
    QTest::newRow("distress") << QList<bool>{true} << kDistressCaptions;
    QTest::newRow("call after distress") << QList<bool>{true, false} << kCallCaptions;
    QTest::newRow("distress after call") << QList<bool>{false, true} << kDistressCaptions;
}

void TestProtocolPage::captionsFollowVariant()
{
    QFETCH(QList<bool>, runs);
    QFETCH(QStringList, expected);
    ProtocolPage page;
    for (bool distress : runs)
        kelpra::fillProtocolPage(page, allFieldsTagged(), distress);
    QCOMPARE(captions(page), expected);
    QCOMPARE(page.label("QRLabel13").text, QStringLiteral("Format Specifier:"));
}

void TestProtocolPage::valuesFromTheirFields_data()
{
    QTest::addColumn<bool>("distress");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("expected");

    // A label and the field it shows; none: the label stays empty.
    const auto rows = [](bool distress, const QList<QPair<const char *, std::optional<Field>>> &pairs) {
        for (const auto &p : pairs)
            QTest::addRow("%s %s", distress ? "distress" : "call", p.first)
                << distress << QString::fromLatin1(p.first)
                << (p.second ? QStringLiteral("v:") + kelpra::fieldKey(*p.second) : QString());
    };
    // Shared by both variants.
    for (bool distress : {false, true})
        rows(distress, {{"QRLabel3", Field::RadioModel}, {"QRLabel32", Field::RadioSerialNumber}, {"QRLabel33", Field::MeasurementDate},
                        {"QRLabel35", Field::ReceivedFrequency}, {"QRLabel36", Field::SignalLevel}, {"QRLabel48", Field::VesselName},
                        {"QRLabel49", Field::VesselOwner}, {"QRLabel50", Field::VesselAddress}, {"QRLabel51", Field::VesselPhone},
                        {"QRLabel52", Field::VesselCategory}, {"QRLabel53", Field::Engineer}});
    rows(false, {{"QRLabel37", Field::FormatDigits}, {"QRLabel54", Field::FormatMeaning}, {"QRLabel38", Field::AddressDigits},
                 {"QRLabel55", Field::AddressMeaning}, {"QRLabel39", Field::CategoryDigits}, {"QRLabel56", Field::CategoryMeaning},
                 {"QRLabel40", Field::SelfIdDigits}, {"QRLabel57", Field::SelfIdMeaning}, {"QRLabel41", Field::FirstCommandDigits},
                 {"QRLabel58", Field::FirstCommandMeaning}, {"QRLabel42", Field::SecondCommandDigits}, {"QRLabel59", Field::SecondCommandMeaning},
                 {"QRLabel43", Field::Message1Digits}, {"QRLabel60", Field::Message1Meaning}, {"QRLabel44", Field::Message2Digits},
                 {"QRLabel61", Field::Message2Meaning}, {"QRLabel45", Field::EndOfSequence1}, {"QRLabel46", Field::ErrorCheck}, {"QRLabel47", Field::EndOfSequence2}});
    rows(true, {{"QRLabel37", Field::DistressFormatDigits}, {"QRLabel54", Field::DistressFormatMeaning}, {"QRLabel38", Field::DistressSelfDigits},
                {"QRLabel55", Field::DistressSelfMeaning}, {"QRLabel39", Field::NatureDigits}, {"QRLabel56", Field::NatureMeaning},
                {"QRLabel40", Field::PositionDigits}, {"QRLabel57", Field::PositionMeaning}, {"QRLabel41", Field::TimeDigits},
                {"QRLabel58", Field::TimeMeaning}, {"QRLabel42", Field::SubsequentDigits}, {"QRLabel59", Field::SubsequentMeaning},
                {"QRLabel43", Field::DistressEndOfSequence1}, {"QRLabel60", std::nullopt}, {"QRLabel44", Field::DistressErrorCheck}, {"QRLabel61", std::nullopt},
                {"QRLabel45", Field::DistressEndOfSequence2}, {"QRLabel46", std::nullopt}, {"QRLabel47", std::nullopt}});
}

void TestProtocolPage::valuesFromTheirFields()
{
    QFETCH(bool, distress);
    QFETCH(QString, label);
    QFETCH(QString, expected);
    ProtocolPage page;
    // A printout of the other variant first: its values must all be replaced.
    FieldTexts other = allFieldsTagged();
    for (auto it = other.begin(); it != other.end(); ++it)
        it.value() = "old";
    kelpra::fillProtocolPage(page, other, !distress);
    kelpra::fillProtocolPage(page, allFieldsTagged(), distress);
    QCOMPARE(page.label(label).text, expected);
}

void TestProtocolPage::everyLabelAtItsPosition_data()
{
    QTest::addColumn<FieldTexts>("fields");
    QTest::addColumn<bool>("distress");
    QTest::newRow("call") << callSample() << false;
    QTest::newRow("distress") << distressSample() << true;
    QTest::newRow("nothing decoded") << FieldTexts() << false;
}

void TestProtocolPage::everyLabelAtItsPosition()
{
    QFETCH(FieldTexts, fields);
    QFETCH(bool, distress);
    ProtocolPage page;
    kelpra::fillProtocolPage(page, fields, distress);
    const PdfText pdf = renderAndRead(page);
    QVERIFY2(pdf.error.isEmpty(), qPrintable(pdf.error));
    QCOMPARE(pdf.pages.size(), 1);
    QVERIFY(near(pdf.pages[0].width(), 210.0) && near(pdf.pages[0].height(), 297.0));

    int expectedWords = 0;
    for (const PageLabel &label : page.labels()) {
        if (label.text.trimmed().isEmpty())
            continue;
        expectedWords += label.text.split(QLatin1Char(' '), Qt::SkipEmptyParts).size();
        const QString problem = checkLabel(pdf, label);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }
    // Nothing else on the sheet.
    QCOMPARE(pdf.words.size(), expectedWords);

    if (fields.isEmpty()) {
        // Fixed captions and the call captions only.
        for (const char *caption : {"PROTOCOL", "Model:", "S/N:", "Date:", "Frequency:", "level:", "Specifier:",
                                    "VESSEL", "name:", "Category/tannage:", "owner:", "address:", "Tel/Fax:",
                                    "Radioengineer:", "automatically", "telecomand:", "FS2:"})
            QVERIFY2(std::any_of(pdf.words.begin(), pdf.words.end(),
                                 [&](const PdfWord &w) { return w.text == QLatin1String(caption); }),
                     caption);
    }
}

void TestProtocolPage::marginsDoNotMoveLabels_data()
{
    QTest::addColumn<Device>("device");
    QTest::newRow("pdf writer, no margins") << Device::PdfWriterNoMargins;
    QTest::newRow("pdf writer, 10 mm margins") << Device::PdfWriterMargins;
    QTest::newRow("printer, uneven margins") << Device::PrinterMargins;
    QTest::newRow("printer, full page") << Device::PrinterFullPage;
}

void TestProtocolPage::marginsDoNotMoveLabels()
{
    QFETCH(Device, device);
    ProtocolPage page;
    kelpra::fillProtocolPage(page, callSample(), false);
    const PdfText pdf = renderAndRead(page, device);
    QVERIFY2(pdf.error.isEmpty(), qPrintable(pdf.error));
    QCOMPARE(pdf.pages.size(), 1);
    // Corners of the layout: title, first caption, category value, footer.
    for (const char *name : {"QRLabel4", "QRLabel2", "QRLabel32", "QRLabel52", "QRLabel67"}) {
        const QString problem = checkLabel(pdf, page.label(QString::fromLatin1(name)));
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }
}

void TestProtocolPage::distressRowsOnPage()
{
    ProtocolPage page;
    kelpra::fillProtocolPage(page, distressSample(), true);
    const PdfText pdf = renderAndRead(page);
    QVERIFY2(pdf.error.isEmpty(), qPrintable(pdf.error));

    // Rows 2 to 9: captions of the distress alert at x 21.2 mm.
    const double rowY[] = {86.8, 93.1, 99.5, 105.8, 112.2, 118.5, 124.9, 131.2, 137.6, 143.9};
    for (int i = 0; i < 8; ++i) {
        const QStringList row = wordsInRow(pdf, rowY[i]);
        QVERIFY2(!row.isEmpty() && kDistressCaptions[i].startsWith(row.first()), qPrintable(row.join(' ')));
    }
    QCOMPARE(wordsInRow(pdf, rowY[5]).join(' '), QStringLiteral("End of sequence: 127"));
    QCOMPARE(wordsInRow(pdf, rowY[6]).join(' '), QStringLiteral("ECC: 57"));
    QCOMPARE(wordsInRow(pdf, rowY[7]).join(' '), QStringLiteral("End of sequence: 127 127"));
    // Rows 10 and 11 blank; no meanings in rows 7 and 8 although the call fields hold some.
    QVERIFY(wordsInRow(pdf, rowY[8]).isEmpty());
    QVERIFY(wordsInRow(pdf, rowY[9]).isEmpty());
    QVERIFY(wordsInRow(pdf, rowY[5], 100).isEmpty());
    QVERIFY(wordsInRow(pdf, rowY[6], 100).isEmpty());
}

void TestProtocolPage::callAfterDistressOnPage()
{
    ProtocolPage page;
    kelpra::fillProtocolPage(page, distressSample(), true);
    kelpra::fillProtocolPage(page, callSample(), false);
    const PdfText pdf = renderAndRead(page);
    QVERIFY2(pdf.error.isEmpty(), qPrintable(pdf.error));
    for (int i = 0; i < kCaptionLabels.size(); ++i) {
        const PageLabel &label = page.label(kCaptionLabels[i]);
        QCOMPARE(label.text, kCallCaptions[i]);
        const QString problem = checkLabel(pdf, label);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }
}

void TestProtocolPage::fontsOfTheLabels()
{
    // Same text as a regular value (vessel name) and as the bold engineer's name.
    FieldTexts f;
    f[Field::VesselName] = "WMWMWMWM";
    f[Field::Engineer] = "WMWMWMWM";
    ProtocolPage page;
    kelpra::fillProtocolPage(page, f, false);
    QTemporaryDir dir;
    const QString pdfPath = dir.filePath(QStringLiteral("page.pdf"));
    renderPdf(page, pdfPath, Device::PdfWriterMargins);
    const PdfText pdf = readPdfWords(pdfPath);
    QVERIFY2(pdf.error.isEmpty(), qPrintable(pdf.error));
    const auto find = [&](const QString &text, double yMm) {
        for (const PdfWord &w : pdf.words)
            if (w.text == text && near(w.yMin, yMm))
                return w;
        return PdfWord();
    };
    const PdfWord regular = find("WMWMWMWM", 190.5);
    const PdfWord bold = find("WMWMWMWM", 245.5);
    const PdfWord title = find("PROTOCOL", 16.9);
    const PdfWord caption = find("Model:", 38.1);
    const PdfWord footer = find("automatically", 277.8);
    QVERIFY(!regular.text.isEmpty() && !bold.text.isEmpty() && !title.text.isEmpty() && !caption.text.isEmpty()
            && !footer.text.isEmpty());

    // Line heights scale with the point sizes 14 : 11 : 8.
    const double h11 = caption.yMax - caption.yMin;
    QVERIFY(qAbs((title.yMax - title.yMin) / h11 - 14.0 / 11.0) < 0.05);
    QVERIFY(qAbs((footer.yMax - footer.yMin) / h11 - 8.0 / 11.0) < 0.05);
    QVERIFY(qAbs((regular.yMax - regular.yMin) - h11) < 0.05);

    // Bold shows as more ink: rasterise the sheet and compare the darkness of both words.
    QProcess raster;
    raster.start(QStringLiteral("pdftoppm"), {QStringLiteral("-gray"), QStringLiteral("-r"), QStringLiteral("150"),
                                              QStringLiteral("-singlefile"), QStringLiteral("-png"), pdfPath,
                                              dir.filePath(QStringLiteral("sheet"))});
    QVERIFY(raster.waitForFinished(30000) && raster.exitCode() == 0);
    const QImage sheet(dir.filePath(QStringLiteral("sheet.png")));
    QVERIFY(!sheet.isNull());
    const auto ink = [&](const PdfWord &w) {
        const double pxPerMm = sheet.width() / 210.0;
        const QRect box = QRectF(QPointF(w.xMin, w.yMin) * pxPerMm, QPointF(w.xMax, w.yMax) * pxPerMm).toAlignedRect();
        double sum = 0;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                sum += 255 - qGray(sheet.pixel(x, y));
        return sum;
    };
    const double regularInk = ink(regular);
    QVERIFY(regularInk > 0);
    QVERIFY2(ink(bold) > 1.25 * regularInk,
             qPrintable(QStringLiteral("engineer %1, vessel %2").arg(ink(bold)).arg(regularInk)));
}

void TestProtocolPage::cyrillicFieldPrinted()
{
    const QString name = QString::fromUtf8("\xD0\x9A\xD0\xB0\xD0\xBF\xD0\xB8\xD1\x82\xD0\xB0\xD0\xBD"); // Капитан
    FieldTexts f;
    f[Field::VesselName] = QByteArray("\xCA\xE0\xEF\xE8\xF2\xE0\xED");   // the same in Windows-1251
    ProtocolPage page;
    kelpra::fillProtocolPage(page, f, false);
    QCOMPARE(page.label("QRLabel48").text, name);
    const PdfText pdf = renderAndRead(page);
    QVERIFY2(pdf.error.isEmpty(), qPrintable(pdf.error));
    const QString problem = checkLabel(pdf, page.label("QRLabel48"));
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

void TestProtocolPage::longMeaningStaysOneLine()
{
    FieldTexts f;
    QByteArray longText;
    for (int i = 0; i < 40; ++i)
        longText += "word" + QByteArray::number(i) + ' ';
    f[Field::FormatMeaning] = longText;
    ProtocolPage page;
    kelpra::fillProtocolPage(page, f, false);
    const PdfText pdf = renderAndRead(page);
    QVERIFY2(pdf.error.isEmpty(), qPrintable(pdf.error));
    QCOMPARE(pdf.pages.size(), 1);
    // Cut, not wrapped: nothing of it below its own row, where row 2 follows. Set smaller,
    // its top lies a little lower than the row's.
    const QStringList row = pdfRowTexts(pdf, 80.4 + 0.8, 1.0, 120 - kToleranceMm);
    QVERIFY(row.contains(QStringLiteral("word0")));
    QCOMPARE(wordsInRow(pdf, 86.8), QStringList{QStringLiteral("MMSI:")});
    QVERIFY(!row.contains(QStringLiteral("word39")));
    for (const PdfWord &w : pdf.words)
        QVERIFY2(w.xMax <= 210.0 + kToleranceMm, qPrintable(w.text));
}

void TestProtocolPage::columnLimits_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<double>("limitMm");
    // Before the next label of the row, 1 mm apart; the last of a row ends at the margin.
    QTest::newRow("model, before S/N:") << "QRLabel3" << 139.7 - 1.0;
    QTest::newRow("S/N, at the margin") << "QRLabel32" << 200.0;
    QTest::newRow("digits, before the meaning") << "QRLabel37" << 120.7 - 1.0;
    QTest::newRow("meaning, at the margin") << "QRLabel54" << 200.0;
    QTest::newRow("row 9 digits, no meaning") << "QRLabel45" << 200.0;
    QTest::newRow("vessel, before Category/tannage:") << "QRLabel48" << 116.4 - 1.0;
    QTest::newRow("category, at the margin") << "QRLabel52" << 200.0;
    QTest::newRow("engineer, at the margin") << "QRLabel53" << 200.0;
}

void TestProtocolPage::columnLimits()
{
    QFETCH(QString, label);
    QFETCH(double, limitMm);
    ProtocolPage page;
    QVERIFY(qAbs(page.rightLimitMm(page.label(label)) - limitMm) < 0.06);
}

void TestProtocolPage::valuesStayInTheirColumns_data()
{
    QTest::addColumn<FieldTexts>("fields");
    QTest::addColumn<bool>("distress");
    QTest::addColumn<QStringList>("shrunk");   // labels set smaller than 11 pt
    QTest::addColumn<QStringList>("elided");   // labels cut short with "\u2026"

    FieldTexts call = callSample();
    call[Field::RadioModel] = "Sailor RT5022 VHF DSC Class A radiotelephone, GMDSS A1 console";   // a little too long
    call[Field::RadioSerialNumber] = "SN 0042-17-ABCDEFGHIJKLMNOPQRSTUVWXYZ-0123456789";              // far past the margin
    call[Field::VesselName] = "Kapitan Dranitsyn of Murmansk";
    call[Field::VesselCategory] = "Icebreaker, 12 000 GT, ice class Arc 7";
    call[Field::AddressDigits] = "20 13 23 54 50 20 13 23";
    call[Field::FormatMeaning] = "Individual stations, a meaning long enough to run past the right margin of the sheet";
    call[Field::Engineer] = "Ivan Petrovich Sidorov-Rimsky, radio engineer first class";
    QTest::newRow("call, long values") << call << false
                                       << QStringList{"QRLabel3", "QRLabel48", "QRLabel52", "QRLabel38", "QRLabel53"}
                                       << QStringList{"QRLabel32", "QRLabel54"};

    FieldTexts distress = distressSample();
    distress[Field::PositionMeaning] = "Latitude 59 degrees 56 minutes North, longitude 030 degrees 18 minutes East, quadrant NE";
    QTest::newRow("distress, long position") << distress << true << QStringList{} << QStringList{"QRLabel57"};

    QTest::newRow("values that fit") << callSample() << false << QStringList{} << QStringList{};
}

void TestProtocolPage::valuesStayInTheirColumns()
{
    QFETCH(FieldTexts, fields);
    QFETCH(bool, distress);
    QFETCH(QStringList, shrunk);
    QFETCH(QStringList, elided);
    ProtocolPage page;
    kelpra::fillProtocolPage(page, fields, distress);
    const PdfText pdf = renderAndRead(page);
    QVERIFY2(pdf.error.isEmpty(), qPrintable(pdf.error));

    const auto height = [](const PdfWord &w) { return w.yMax - w.yMin; };
    // Where the baseline lies within a word's box: the font's ascent over its height.
    const QFontMetricsF metrics(QFont(kelpra::protocolFontFamily(), 11));
    const double ascentShare = metrics.ascent() / (metrics.ascent() + metrics.descent());
    double h11 = 0;
    for (const PdfWord &w : pdf.words)
        if (w.text == QLatin1String("Model:"))
            h11 = height(w);
    QVERIFY(h11 > 0);

    for (const PageLabel &label : page.labels()) {
        if (!label.value || label.text.isEmpty())
            continue;
        // Its words: on its row, from its left edge up to the next label of the row.
        double nextX = 1000;
        for (const PageLabel &other : page.labels())
            if (qAbs(other.yMm - label.yMm) < 0.01 && other.xMm > label.xMm)
                nextX = qMin(nextX, other.xMm);
        QList<PdfWord> words;
        for (const PdfWord &w : pdf.words)
            if (qAbs(w.yMin - label.yMm) < 2.0 && w.xMin >= label.xMm - kToleranceMm && w.xMin < nextX - 0.05)
                words.append(w);
        QVERIFY2(!words.isEmpty(), qPrintable(label.name));
        double right = 0;
        for (const PdfWord &w : words) {
            right = qMax(right, w.xMax);
            // Never below 7 pt, and on the baseline it was laid out on, beside its caption.
            QVERIFY2(height(w) >= h11 * 7.0 / 11.0 - 0.05, qPrintable(label.name));
            QVERIFY2(near(w.yMin + ascentShare * height(w), label.yMm + ascentShare * h11), qPrintable(label.name));
        }
        QVERIFY2(right < nextX && right <= 200.0 + 0.1,
                 qPrintable(QStringLiteral("%1 ends at %2 mm, next label at %3 mm").arg(label.name).arg(right).arg(nextX)));

        const bool isShrunk = height(words.first()) < h11 - 0.05;
        const bool isElided = words.last().text.endsWith(QChar(0x2026));
        QVERIFY2(isShrunk == (shrunk.contains(label.name) || elided.contains(label.name)), qPrintable(label.name));
        QVERIFY2(isElided == elided.contains(label.name), qPrintable(label.name));
        if (!isElided) {
            // Shrunk or not, the whole text is there.
            QStringList texts;
            for (const PdfWord &w : words)
                texts.append(w.text);
            QCOMPARE(texts.join(' '), label.text.simplified());
        }
    }
    // The captions beside long values are untouched.
    for (const char *caption : {"QRLabel6", "QRLabel27", "QRLabel2", "QRLabel30"}) {
        const QString problem = checkLabel(pdf, page.label(QString::fromLatin1(caption)));
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }
}

QTEST_MAIN(TestProtocolPage)
#include "test_protocol_page.moc"
