// "Save report" and "Print report" of the main window.
#include "ui/main_window.h"
#include "ui/prompts.h"

#include "data/measurement_store.h"
#include "files/file_io.h"
#include "page/protocol_page.h"
#include "page/protocol_pdf.h"
#include "report/text_report.h"

#include <QDate>
#include <QFileInfo>
#include <QFrame>
#include <QRegularExpression>
#include <QPainter>
#include <QPrinter>

namespace kelpra {

namespace {

// A file name that says whose protocol it is: "Baltic_Star_2006-12-15.pdf" from the vessel
// name and the measurement date ("15.12.06 24:35"), with what the file system dislikes
// replaced.
QString proposedPdfName(const QString &vessel, const QString &measured)
{
    const auto tidy = [](QString text) {
        text = text.trimmed();
        static const QRegularExpression unsafe(QStringLiteral("[\\s/\\\\:*?\"<>|\\x00-\\x1f]+"));
        return text.replace(unsafe, QStringLiteral("_"));
    };
    QString date = measured.trimmed().section(QLatin1Char(' '), 0, 0);
    const QDate day = QDate::fromString(date, QStringLiteral("dd.MM.yy"));
    if (day.isValid())
        date = day.addYears(100).toString(Qt::ISODate);   // the test set writes two-digit years of this century
    QStringList parts;
    for (const QString &part : {tidy(vessel), tidy(date)})
        if (!part.isEmpty())
            parts.append(part);
    if (parts.isEmpty())
        parts.append(QStringLiteral("protocol"));
    return parts.join(QLatin1Char('_'));
}

} // namespace

void MainWindow::saveReport()
{
    // Set up afresh every time: the data-file commands share this dialog.
    const QString path = prompts().saveFileName(FileDialogSetup{QStringLiteral("*.txt"), QStringLiteral("txt"),
                                                                QStringLiteral("test_results")});
    if (path.isEmpty())
        return;
    const QByteArray report = textReport(fieldTexts(), distressShown());
    if (const auto error = writeWholeFile(path, report)) {
        showError(*error);
        return;
    }
    showFileMessage(QStringLiteral("Report saved to %1").arg(QFileInfo(path).fileName()), path);
}

ProtocolPage MainWindow::filledPage()
{
    ProtocolPage page;
    fillProtocolPage(page, fieldTexts(), distressShown());
    refreshSampleNote();
    page.setSampleMark(store_.fromSampleSet());
    return page;
}

void MainWindow::exportProtocolPdf()
{
    const QString path = prompts().saveFileName(FileDialogSetup{
        QStringLiteral("*.pdf"), QStringLiteral("pdf"),
        proposedPdfName(fieldText(Field::VesselName), fieldText(Field::Date))});
    if (path.isEmpty())
        return;
    AtomicFileWriter file(path);
    if (const auto error = file.begin()) {
        showError(*error);
        return;
    }
    // What is on display when the file is written (the dialog let events run meanwhile).
    if (!writeProtocolPdf(filledPage(), &file)) {
        file.discard();
        showError(QStringLiteral("The page could not be laid out"));
        return;
    }
    if (const auto error = file.commit()) {
        showError(*error);
        return;
    }
    showFileMessage(QStringLiteral("Protocol exported to %1").arg(QFileInfo(path).fileName()), path);
}

void MainWindow::printReport()
{
    ProtocolPage &page = page_;
    page = filledPage();
    // The preview keeps its own copy: it may repaint (zoom, page set-up, printing) after
    // a later printout has refilled the page.
    const ProtocolPage snapshot = page;
    prompts().printPreview([snapshot](QPrinter *printer) {
        QPainter painter(printer);
        renderProtocolPage(painter, snapshot);
    });
}

} // namespace kelpra
