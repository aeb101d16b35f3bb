// "Save report" and "Print report" of the main window.
#include "ui/main_window.h"
#include "ui/prompts.h"

#include "files/file_io.h"
#include "page/protocol_page.h"
#include "report/text_report.h"

#include <QFrame>
#include <QPainter>
#include <QPrinter>

namespace kelpra {

namespace {

// The reports describe the distress alert when its panel covers the call rows. Asked of
// the panel itself, so that it also holds while the main window is not on screen.
bool distressShown(const QFrame *panel) { return panel && !panel->isHidden(); }

} // namespace

void MainWindow::saveReport()
{
    // Set up afresh every time: the data-file commands share this dialog.
    const QString path = prompts().saveFileName(FileDialogSetup{QStringLiteral("*.txt"), QStringLiteral("txt"),
                                                                QStringLiteral("test_results")});
    if (path.isEmpty())
        return;
    const QByteArray report = textReport(fieldTexts(), distressShown(Distress));
    if (const auto error = writeWholeFile(path, report))
        showError(*error);
}

void MainWindow::printReport()
{
    ProtocolPage &page = page_;
    fillProtocolPage(page, fieldTexts(), distressShown(Distress));
    // The preview keeps its own copy: it may repaint (zoom, page set-up, printing) after
    // a later printout has refilled the page.
    const ProtocolPage snapshot = page;
    prompts().printPreview([snapshot](QPrinter *printer) {
        QPainter painter(printer);
        renderProtocolPage(painter, snapshot);
    });
}

} // namespace kelpra
