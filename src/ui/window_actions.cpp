#include "ui/window_actions.h"

#include "ui/pictures.h"

#include <QAction>
#include <QKeySequence>
#include <QWidget>

namespace kelpra {

namespace {

QAction *action(QWidget *window, const char *name, const QString &text, const char *pic = nullptr)
{
    auto *a = new QAction(text, window);
    a->setObjectName(QString::fromLatin1(name));
    if (pic)
        a->setIcon(picture(pic));
    return a;
}

// The platform's own binding where Qt knows one, else the usual one.
QList<QKeySequence> keys(QKeySequence::StandardKey key, QKeyCombination usual)
{
    QList<QKeySequence> bound = QKeySequence::keyBindings(key);
    if (bound.isEmpty())
        bound.append(QKeySequence(usual));
    return bound;
}

// A tool-bar hint names the command's key: "Open data (Ctrl+O)".
void hintKey(QAction *a, const QString &hint)
{
    if (a->shortcut().isEmpty())
        a->setToolTip(hint);
    else
        a->setToolTip(QStringLiteral("%1 (%2)").arg(hint, a->shortcut().toString(QKeySequence::NativeText)));
}

} // namespace

WindowActions::WindowActions(QWidget *window)
{
    // Captions carry their Alt mnemonics; without the '&' they read as they always have.
    openData = action(window, "Open1", QStringLiteral("&Open data"), "open");
    saveData = action(window, "Save1", QStringLiteral("&Save data"), "save");
    saveAllData = action(window, "Saveall1", QStringLiteral("Save &all data"), "saveall");
    saveReport = action(window, "Saveprintinfo1", QStringLiteral("Save &report"), "report");
    printReport = action(window, "Print1", QStringLiteral("&Print report"), "print");
    exportPdf = action(window, "ExportPdf1", QStringLiteral("&Export protocol as PDF\u2026"), "pdf");
    exit = action(window, "Exit2", QStringLiteral("E&xit"), "exit");
    exitBar = action(window, "Exit1", QStringLiteral("E&xit"));
    downloadData = action(window, "Downloaddata1", QStringLiteral("&Download data"), "download");
    decodeMessage = action(window, "Decodemessage1", QStringLiteral("De&code message"), "decode");
    aboutSoftware = action(window, "Aboutprogram1", QStringLiteral("&About software"), "about");
    previousRecord = action(window, "PreviousRecord", QStringLiteral("Previous record"), "prev");
    nextRecord = action(window, "NextRecord", QStringLiteral("Next record"), "next");
    saveDetails = action(window, "SaveDetails", QStringLiteral("Save details"), "details");
    printSurvey = action(window, "PrintSurvey1", QStringLiteral("Print s&urvey report\u2026"));
    exportSurveyPdf = action(window, "ExportSurveyPdf1", QStringLiteral("Export survey report as P&DF\u2026"));
    exportSurveyCsv = action(window, "ExportSurveyCsv1", QStringLiteral("Export survey table as &CSV\u2026"));
    surveyArchive = action(window, "SurveyArchive1", QStringLiteral("Survey arc&hive\u2026"), "archive");

    openData->setShortcuts(keys(QKeySequence::Open, Qt::CTRL | Qt::Key_O));
    saveData->setShortcuts(keys(QKeySequence::Save, Qt::CTRL | Qt::Key_S));
    saveAllData->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    printReport->setShortcuts(keys(QKeySequence::Print, Qt::CTRL | Qt::Key_P));
    exportPdf->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
    exit->setShortcuts(keys(QKeySequence::Quit, Qt::CTRL | Qt::Key_Q));
    downloadData->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    previousRecord->setShortcuts({QKeySequence(Qt::Key_PageUp), QKeySequence(Qt::ALT | Qt::Key_Left)});
    nextRecord->setShortcuts({QKeySequence(Qt::Key_PageDown), QKeySequence(Qt::ALT | Qt::Key_Right)});

    hintKey(openData, QStringLiteral("Open data"));
    hintKey(saveData, QStringLiteral("Save data"));
    hintKey(saveAllData, QStringLiteral("Save all data"));
    hintKey(saveReport, QStringLiteral("Save report"));
    hintKey(printReport, QStringLiteral("Print report"));
    hintKey(exportPdf, QStringLiteral("Export protocol as PDF"));
    hintKey(exit, QStringLiteral("Exit"));
    hintKey(downloadData, QStringLiteral("Download data"));
    hintKey(decodeMessage, QStringLiteral("Decode message"));
    hintKey(aboutSoftware, QStringLiteral("About software"));
    hintKey(previousRecord, QStringLiteral("Previous record"));
    hintKey(nextRecord, QStringLiteral("Next record"));
    hintKey(surveyArchive, QStringLiteral("Survey archive"));
}

} // namespace kelpra
