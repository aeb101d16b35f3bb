#include "ui/archive_jobs.h"

#include "archive/archive_location.h"
#include "files/file_io.h"
#include "session/session_survey.h"

#include <QFileInfo>

#include <memory>

namespace kelpra::archive_jobs {

namespace {

// The archive as the settings name it, opened on the worker's thread for one job.
struct OpenedArchive {
    std::unique_ptr<SurveyArchive> archive;
    QString where; // the location as the user writes it
    QString error;
    bool none = false; // an SQLite file that is not there yet: nothing archived so far
};

OpenedArchive openConfigured(bool write)
{
    OpenedArchive opened;
    const ArchiveLocationParse place = configuredArchiveLocation();
    if (!place.location) {
        opened.error = place.error;
        return opened;
    }
    opened.where = place.location->text();
    if (!write && place.location->kind == ArchiveLocation::Kind::SQLite && !QFileInfo::exists(place.location->path)) {
        opened.none = true;
        return opened;
    }
    ArchiveOpenOptions options;
    options.write = write;
    if (auto error = SurveyArchive::open(*place.location, &opened.archive, options))
        opened.error = *error;
    return opened;
}

} // namespace

Found findSurveys(const SurveyQuery &query)
{
    Found found;
    OpenedArchive opened = openConfigured(false);
    found.where = opened.where;
    found.none = opened.none;
    found.error = opened.error;
    if (opened.archive) {
        if (auto error = opened.archive->find(query, &found.surveys))
            found.error = *error;
    }
    return found;
}

Loaded loadSurvey(qint64 id)
{
    Loaded loaded;
    OpenedArchive opened = openConfigured(false);
    if (opened.none)
        opened.error = QStringLiteral("%1: there is no archive here").arg(opened.where);
    if (!opened.archive) {
        loaded.error = opened.error;
        return loaded;
    }
    if (auto error = opened.archive->survey(id, &loaded.survey))
        loaded.error = *error;
    return loaded;
}

Exported exportSurveys(const QList<ExportTarget> &targets)
{
    Exported exported;
    const OpenedArchive opened = openConfigured(false);
    for (const ExportTarget &target : targets) {
        const QString name = QFileInfo(target.path).fileName();
        if (!opened.archive) {
            exported.problems << QStringLiteral("%1: %2").arg(name, opened.error);
            continue;
        }
        ArchivedSurvey survey;
        if (auto error = opened.archive->survey(target.id, &survey)) {
            exported.problems << QStringLiteral("%1: %2").arg(name, *error);
            continue;
        }
        const BuiltDataFile built = archivedDataFile(survey);
        if (auto error = writeWholeFile(target.path, built.bytes)) {
            exported.problems << QStringLiteral("%1: %2").arg(name, *error);
            continue;
        }
        exported.written << name;
        for (const QString &warning : built.warnings)
            exported.warnings << QStringLiteral("%1: %2").arg(name, withFullStop(warning));
    }
    return exported;
}

Deleted deleteSurveys(const QList<qint64> &ids)
{
    Deleted deleted;
    OpenedArchive opened = openConfigured(true);
    if (!opened.archive)
        deleted.error = opened.error;
    else if (auto error = opened.archive->remove(ids, &deleted.count))
        deleted.error = *error;
    return deleted;
}

} // namespace kelpra::archive_jobs
