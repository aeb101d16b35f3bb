#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QSizeF>

// Words of a PDF as poppler's `pdftotext -bbox` reports them, in millimetres from the
// top-left corner of their page.
struct PdfWord {
    int page = 0;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    QString text;
};

struct PdfText {
    QList<QSizeF> pages;   // page sizes in millimetres
    QList<PdfWord> words;
    QString error;         // set when pdftotext could not be run or its output not read
};

PdfText readPdfWords(const QString &pdfPath);

// The words whose top lies within `toleranceMm` of `yMm` and that start at `fromXMm` or
// to its right, left to right.
QList<PdfWord> pdfRow(const PdfText &pdf, double yMm, double toleranceMm, double fromXMm = -1e9);
// Their texts.
QStringList pdfRowTexts(const PdfText &pdf, double yMm, double toleranceMm, double fromXMm = -1e9);

// The large diagonal text of a page, read left to right (poppler splits rotated text into
// pieces of a letter or two): "SAMPLEDATA" on a page of the sample set, empty elsewhere.
// Page -1: every page's.
QString pdfSampleMark(const PdfText &pdf, int page = -1);
