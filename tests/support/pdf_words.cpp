#include "support/pdf_words.h"

#include <QProcess>
#include <QXmlStreamReader>

#include <algorithm>

namespace {
constexpr double kMmPerPoint = 25.4 / 72.0;
}

PdfText readPdfWords(const QString &pdfPath)
{
    PdfText result;
    QProcess proc;
    proc.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdfPath, QStringLiteral("-")});
    if (!proc.waitForFinished(30000) || proc.exitStatus() != QProcess::NormalExit || proc.exitCode() != 0) {
        result.error = QStringLiteral("pdftotext failed: %1 %2")
                           .arg(proc.errorString(), QString::fromLocal8Bit(proc.readAllStandardError()));
        return result;
    }
    QXmlStreamReader xml(proc.readAllStandardOutput());
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto attr = [&](const char *name) {
            return xml.attributes().value(QLatin1String(name)).toDouble() * kMmPerPoint;
        };
        if (xml.name() == QLatin1String("page")) {
            result.pages.append(QSizeF(attr("width"), attr("height")));
        } else if (xml.name() == QLatin1String("word")) {
            PdfWord w;
            w.page = static_cast<int>(result.pages.size()) - 1;
            w.xMin = attr("xMin");
            w.yMin = attr("yMin");
            w.xMax = attr("xMax");
            w.yMax = attr("yMax");
            w.text = xml.readElementText();
            result.words.append(w);
        }
    }
    if (xml.hasError())
        result.error = QStringLiteral("pdftotext output: %1").arg(xml.errorString());
    return result;
}

QList<PdfWord> pdfRow(const PdfText &pdf, double yMm, double toleranceMm, double fromXMm)
{
    QList<PdfWord> row;
    for (const PdfWord &w : pdf.words)
        if (qAbs(w.yMin - yMm) <= toleranceMm && w.xMin >= fromXMm)
            row.append(w);
    std::stable_sort(row.begin(), row.end(), [](const PdfWord &a, const PdfWord &b) { return a.xMin < b.xMin; });
    return row;
}

QStringList pdfRowTexts(const PdfText &pdf, double yMm, double toleranceMm, double fromXMm)
{
    QStringList texts;
    for (const PdfWord &w : pdfRow(pdf, yMm, toleranceMm, fromXMm))
        texts.append(w.text);
    return texts;
}

QString pdfSampleMark(const PdfText &pdf, int page)
{
    QList<PdfWord> large;
    for (const PdfWord &w : pdf.words) {
        if (w.yMax - w.yMin > 20.0 && (page < 0 || w.page == page))
            large.append(w);
    }
    std::sort(large.begin(), large.end(), [](const PdfWord &a, const PdfWord &b) { return a.xMin < b.xMin; });
    QString text;
    for (const PdfWord &w : large)
        text += w.text;
    return text;
}
