#pragma once

#include <QList>
#include <QString>
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
