#include "ui/survey_commands.h"

#include "data/navigation.h"
#include "data/text8.h"
#include "files/file_io.h"
#include "page/survey_report.h"
#include "session/session.h"
#include "session/survey_table.h"
#include "ui/file_names.h"
#include "ui/prompts.h"
#include "ui/report_commands.h"

#include <QFileInfo>
#include <QPainter>
#include <QPrinter>

namespace kelpra {

namespace {

// "Baltic_Star_survey_2026-12-08" from the vessel name and the survey date.
QString proposedSurveyName(const Session &session)
{
    return proposedFileName({fromText8(session.text(Field::VesselName)), QStringLiteral("survey"),
                             session.surveyDate().toString(Qt::ISODate)},
                            QStringLiteral("survey"));
}

} // namespace

bool SurveyCommands::holdsSurvey()
{
    if (session_.store().holdsData())
        return true;
    prompts_.information(kNoDataMessage);
    return false;
}

void SurveyCommands::printSurveyReport()
{
    if (!holdsSurvey())
        return;
    // The preview keeps its own copy: it may repaint (zoom, page set-up, printing) after the
    // records have changed.
    const SurveyReport report = buildSurveyReport(session_);
    prompts_.printPreview([report](QPrinter *printer) {
        QPainter painter(printer);
        renderSurveyReport(painter, report);
    });
}

void SurveyCommands::exportSurvey(const QString &suffix, const QString &noted,
                                  const std::function<std::optional<QString>(const QString &path)> &write)
{
    if (!holdsSurvey())
        return;
    const QString path = prompts_.saveFileName(
        FileDialogSetup{QStringLiteral("*.") + suffix, suffix, proposedSurveyName(session_)});
    if (path.isEmpty())
        return;
    if (const auto error = write(path)) {
        prompts_.error(withFullStop(*error));
        return;
    }
    session_.setFileNote(noted.arg(QFileInfo(path).fileName()), path);
}

void SurveyCommands::exportSurveyPdf()
{
    exportSurvey(QStringLiteral("pdf"), QStringLiteral("Survey report exported to %1"), [this](const QString &path) {
        // The survey as it stands once the dialog has closed.
        const SurveyReport report = buildSurveyReport(session_);
        return writeFileThrough(
            path, [&report](QIODevice *device) { return writeSurveyReportPdf(report, device); },
            QStringLiteral("The report could not be laid out"));
    });
}

void SurveyCommands::exportSurveyCsv()
{
    exportSurvey(QStringLiteral("csv"), QStringLiteral("Survey table exported to %1"), [this](const QString &path) {
        return writeWholeFile(path, surveyCsv(surveyRows(session_)));
    });
}

} // namespace kelpra
