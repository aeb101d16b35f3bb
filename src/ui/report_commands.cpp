#include "ui/report_commands.h"

#include "data/text8.h"
#include "files/file_io.h"
#include "page/protocol_pdf.h"
#include "report/text_report.h"
#include "session/session.h"
#include "ui/file_names.h"
#include "ui/prompts.h"

#include <QDate>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>

namespace kelpra {

namespace {

// A file name that says whose protocol it is: "Baltic_Star_2006-12-15.pdf" from the vessel
// name and the measurement date ("15.12.06 24:35").
QString proposedPdfName(const QString &vessel, const QString &measured)
{
    QString date = measured.trimmed().section(QLatin1Char(' '), 0, 0);
    const QDate day = QDate::fromString(date, QStringLiteral("dd.MM.yy"));
    if (day.isValid())
        date = day.addYears(100).toString(Qt::ISODate);   // the test set writes two-digit years of this century
    return proposedFileName({vessel, date}, QStringLiteral("protocol"));
}

} // namespace

void ReportCommands::showError(const QString &errorText)
{
    prompts_.error(withFullStop(errorText));
}

void ReportCommands::saveReport()
{
    // Set up afresh every time: the data-file commands share this dialog.
    const QString path = prompts_.saveFileName(
        FileDialogSetup{QStringLiteral("*.txt"), QStringLiteral("txt"), QStringLiteral("test_results")});
    if (path.isEmpty())
        return;
    const QByteArray report = textReport(session_.texts(), session_.distressShown());
    if (const auto error = writeWholeFile(path, report)) {
        showError(*error);
        return;
    }
    session_.setFileNote(QStringLiteral("Report saved to %1").arg(QFileInfo(path).fileName()), path);
}

ProtocolPage ReportCommands::filledPage() const
{
    ProtocolPage page;
    fillProtocolPage(page, session_.texts(), session_.distressShown());
    page.setSampleMark(session_.sampleData());
    return page;
}

void ReportCommands::exportProtocolPdf()
{
    const QString path = prompts_.saveFileName(
        FileDialogSetup{QStringLiteral("*.pdf"), QStringLiteral("pdf"),
                        proposedPdfName(fromText8(session_.text(Field::VesselName)),
                                        fromText8(session_.text(Field::MeasurementDate)))});
    if (path.isEmpty())
        return;
    // What is on display when the file is written (the dialog let events run meanwhile).
    const ProtocolPage page = filledPage();
    if (const auto error = writeFileThrough(
            path, [&page](QIODevice *device) { return writeProtocolPdf(page, device); },
            QStringLiteral("The page could not be laid out"))) {
        showError(*error);
        return;
    }
    session_.setFileNote(QStringLiteral("Protocol exported to %1").arg(QFileInfo(path).fileName()), path);
}

void ReportCommands::printReport()
{
    page_ = filledPage();
    // The preview keeps its own copy: it may repaint (zoom, page set-up, printing) after
    // a later printout has refilled the page.
    const ProtocolPage snapshot = page_;
    prompts_.printPreview([snapshot](QPrinter *printer) {
        QPainter painter(printer);
        renderProtocolPage(painter, snapshot);
    });
}

} // namespace kelpra
