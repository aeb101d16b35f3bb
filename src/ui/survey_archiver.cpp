#include "ui/survey_archiver.h"

#include "session/session.h"
#include "session/session_survey.h"
#include "ui/archive_worker.h"

#include <QDir>

namespace kelpra {

namespace {

QString notArchived(const QString &reason)
{
    return QStringLiteral("Not archived: ") + reason;
}

} // namespace

SurveyArchiver::SurveyArchiver(Session &session, ArchiveWorker &worker, QObject *parent)
    : QObject(parent), session_(session), worker_(worker)
{
    connect(&session_, &Session::recordsArrived, this, &SurveyArchiver::recordsArrived);
}

SurveyArchiver::Note SurveyArchiver::note() const
{
    if (!failure_.text.isEmpty())
        return failure_;
    const RecordOrigin &origin = session_.origin();
    if (origin.kind == RecordOrigin::Kind::Archive)
        return Note{QStringLiteral("Survey %1 from archive").arg(origin.archiveId),
                    QStringLiteral("Archived %1 UTC from %2")
                        .arg(origin.time.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm")), origin.source),
                    false};
    return {};
}

void SurveyArchiver::setFailure(const QString &text, const QString &hint)
{
    failure_ = Note{text, hint, !text.isEmpty()};
    Q_EMIT noteChanged();
}

void SurveyArchiver::recordsArrived()
{
    // What was said about the records held before is no longer about what is on display.
    setFailure(QString(), QString());
    const std::optional<Survey> survey = sessionSurvey(session_);
    if (!survey)
        return;
    worker_.run(
        this, [s = *survey] { return archiveSurvey(s); },
        [this, source = survey->source](const ArchiveOutcome &outcome) { finished(source, outcome); });
}

void SurveyArchiver::finished(const QString &source, const ArchiveOutcome &outcome)
{
    switch (outcome.result) {
    case ArchiveOutcome::Result::Added:
    case ArchiveOutcome::Result::StationDataAdded:
    case ArchiveOutcome::Result::AlreadyThere:
        Q_EMIT archived(outcome);
        return;
    case ArchiveOutcome::Result::NotArchivable:
        // The sample set and changed files are never archived, and that is no news.
        return;
    case ArchiveOutcome::Result::Queued:
        // Said even when other records have come since: the user should know that a
        // survey waits, and the hint names which.
        setFailure(notArchived(outcome.reason),
                   QStringLiteral("The survey from %1 waits in %2 and is archived when the program next starts.")
                       .arg(source, QDir::toNativeSeparators(archiveQueuePath())));
        return;
    case ArchiveOutcome::Result::Failed:
        setFailure(notArchived(outcome.reason),
                   QStringLiteral("The survey from %1 could not be kept for a later try either: save it with "
                                  "\"Save all data\".")
                       .arg(source));
        return;
    }
}

void SurveyArchiver::retryQueue()
{
    worker_.run(
        this, [] { return retryArchiveQueue(); },
        [this](const ArchiveQueueRetry &retry) {
            if (retry.error.isEmpty())
                return;
            const QString waiting = retry.left == 1 ? QStringLiteral("1 survey of an earlier run waits")
                                                    : QStringLiteral("%1 surveys of earlier runs wait").arg(retry.left);
            setFailure(notArchived(retry.left > 0 ? QStringLiteral("%1: %2").arg(waiting, retry.error) : retry.error),
                       retry.left > 0 ? QStringLiteral("They stay in %1 and are tried again at the next start.")
                                            .arg(QDir::toNativeSeparators(archiveQueuePath()))
                                      : QString());
        });
}

} // namespace kelpra
