#pragma once

#include "page/protocol_page.h"
#include "session/survey_table.h"

#include <QColor>
#include <QList>
#include <QPair>
#include <QString>

class QIODevice;
class QPainter;

namespace kelpra {

class Session;

// The whole survey as one printed document: page 1 with the station data, the test set
// and the survey table (continued on further pages when it does not fit), then the
// protocol page of every record, exactly as "Print report" prints it with that record on
// display.
struct SurveyReport {
    // Captioned lines of page 1: the vessel, the radio station and the controller.
    QList<QPair<QString, QString>> vessel;
    QList<QPair<QString, QString>> radio;
    QList<QPair<QString, QString>> controller;
    QString engineer;
    QString date;            // the survey date, "8 December 2026"
    QString identification;  // the test set's identification line
    QList<SurveyRow> rows;
    QList<ProtocolPage> recordPages;   // one per row
    bool sampleMark = false;           // "SAMPLE DATA" on every page
};

// The report of what the session holds: its station and controller lines, its survey
// date, and each record's page filled from the texts the window shows with that record on
// display. What is on display does not change.
SurveyReport buildSurveyReport(const Session &session);

// The distinct finding sentences of the rows, in the order they first occur: the
// footnotes of the survey table, numbered from 1.
QStringList surveyFootnotes(const QList<SurveyRow> &rows);

// The colour a verdict is shown in, on screen and on paper.
QColor verdictColour(CheckVerdict verdict);

// Draws every page on the painter's paged device (a printer, the preview's printer or a
// PDF writer), starting a new sheet for each page after the first.
void renderSurveyReport(QPainter &painter, const SurveyReport &report);

// Writes the report as a PDF, drawn by the same painter. Its title names the survey, the
// vessel and the date, its author is the engineer, its creator the program. False when the
// report could not be laid out; write errors are the device's to tell.
bool writeSurveyReportPdf(const SurveyReport &report, QIODevice *device);
QString surveyReportPdfTitle(const SurveyReport &report);

} // namespace kelpra
