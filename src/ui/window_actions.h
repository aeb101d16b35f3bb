#pragma once

class QAction;
class QWidget;

namespace kelpra {

// The commands of the main window as actions: the menu items, the tool-bar buttons, the
// panels' buttons and the keys all run these. Each carries its control name as objectName,
// its picture, its keys and a hint naming the key.
struct WindowActions {
    explicit WindowActions(QWidget *window);

    QAction *openData;        // Open1
    QAction *saveData;        // Save1
    QAction *saveAllData;     // Saveall1
    QAction *saveReport;      // Saveprintinfo1
    QAction *printReport;     // Print1
    QAction *exportPdf;       // ExportPdf1
    QAction *exit;            // Exit2, the File menu's
    QAction *exitBar;         // Exit1, an item of the menu bar itself
    QAction *downloadData;    // Downloaddata1
    QAction *decodeMessage;   // Decodemessage1
    QAction *aboutSoftware;   // Aboutprogram1
    QAction *previousRecord;  // PreviousRecord: Prev and its keys
    QAction *nextRecord;      // NextRecord: Next and its keys
    QAction *saveDetails;     // SaveDetails: "Save details"
    QAction *printSurvey;     // PrintSurvey1: "Print survey report…"
    QAction *exportSurveyPdf; // ExportSurveyPdf1: "Export survey report as PDF…"
    QAction *exportSurveyCsv; // ExportSurveyCsv1: "Export survey table as CSV…"
    QAction *surveyArchive;   // SurveyArchive1: "Survey archive…"
};

} // namespace kelpra
