#pragma once

#include "archive/survey_archive.h"

#include <QList>
#include <QString>
#include <QStringList>

// The archive window's database jobs. Each runs on the archive worker's thread, opens the
// archive the settings name for itself, and hands back what the window shows.
namespace kelpra::archive_jobs {

struct Found {
    QList<SurveySummary> surveys;
    QString where;
    QString error;
    bool none = false;
};

Found findSurveys(const SurveyQuery &query);

struct Loaded {
    ArchivedSurvey survey;
    QString error;
};

Loaded loadSurvey(qint64 id);

struct ExportTarget {
    qint64 id = 0;
    QString path;
};

struct Exported {
    QStringList written;  // file names
    QStringList problems; // one line each: what was not written
    QStringList warnings; // what a written file will not give back unchanged
};

Exported exportSurveys(const QList<ExportTarget> &targets);

struct Deleted {
    int count = 0;
    QString error;
};

Deleted deleteSurveys(const QList<qint64> &ids);

} // namespace kelpra::archive_jobs
