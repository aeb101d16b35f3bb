#pragma once

#include "archive/archive_location.h"
#include "archive/archive_schema.h"
#include "archive/survey.h"
#include "dsc/call_check.h"
#include "files/data_file.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QSqlQuery;

class QDeadlineTimer;

namespace kelpra {

// A line of the results list.
struct SurveySummary {
    qint64 id = 0;
    QDateTime archived; // UTC
    SurveyOrigin origin = SurveyOrigin::Download;
    QString source;
    QString vessel; // of the latest station data
    QString radio;  // RadioType of the latest station data
    int records = 0;
    int pass = 0;
    int warn = 0;
    int fail = 0;
    std::optional<CheckVerdict> worst; // none when no record was judged
};

// A record as archived, with the check made when it was archived.
struct ArchivedRecord {
    QByteArray bytes;
    std::optional<CheckVerdict> verdict; // none for a record that is not judged
    QStringList findings;                // finding codes
    QString selfMmsi;                    // nine digits; empty when the call has none
};

// One version of the station data: what the station and controller fields held.
struct StationDataVersion {
    QDateTime recorded; // UTC
    QString programVersion;
    StationLines station;
    ControllerLines controller;
};

struct ArchivedSurvey {
    SurveySummary summary;
    QByteArray identity; // surveyIdentity() of the records
    QByteArray identification;
    QString programVersion;
    QList<ArchivedRecord> records;
    // Oldest first; never empty. The last is the latest.
    QList<StationDataVersion> stationHistory;

    QList<QByteArray> recordBytes() const;
    const StationDataVersion &latest() const { return stationHistory.constLast(); }
};

// The search of the archive window and `kelpra-tool archive list`; empty parts match all.
struct SurveyQuery {
    QString vesselPart;              // any part of the vessel name, any case, Cyrillic too
    QString mmsi;                    // the self MMSI of any record
    std::optional<QDate> since;      // the day archived (UTC), inclusive
    std::optional<QDate> until;      // the day archived (UTC), inclusive
    std::optional<CheckVerdict> worst; // the worst verdict of the survey's records
};

enum class ArchiveStatus {
    Added,            // a new survey
    StationDataAdded, // the records were there; their station data changed and was added
    AlreadyThere,     // the records and their latest station data were there
};

struct ArchiveAdd {
    qint64 id = 0;
    ArchiveStatus status = ArchiveStatus::Added;
};

struct ArchiveOpenOptions {
    // Without it the archive is only read: nothing is created, migrated or written, and an
    // archive on an older schema is refused rather than upgraded.
    bool write = true;
    // How long SQLite waits for another program that is writing.
    int busyTimeoutMs = 10000;
    QList<ArchiveMigration> migrations = archiveMigrations();
};

// The survey archive through Qt SQL, one schema for SQLite and PostgreSQL. Every write is
// one transaction. Errors come back as one line of text; nothing here prompts.
class SurveyArchive {
public:
    // Opens the archive and, for writing, creates it or brings its schema up to date in one
    // transaction. A schema newer than the migrations know is refused and left as it is.
    static std::optional<QString> open(const ArchiveLocation &location, std::unique_ptr<SurveyArchive> *out,
                                       const ArchiveOpenOptions &options = {});
    ~SurveyArchive();
    SurveyArchive(const SurveyArchive &) = delete;
    SurveyArchive &operator=(const SurveyArchive &) = delete;

    const ArchiveLocation &location() const { return location_; }
    int schemaVersion() const { return version_; }

    // Archives a survey: new records become a new survey; records already there get a new
    // station-data version when the station data differ from the latest. Each record is
    // checked (checkRecord) here. A survey notArchivable() names is refused.
    std::optional<QString> add(const Survey &survey, ArchiveAdd *out);
    // Several surveys in one transaction, all or none: for loading many at once.
    std::optional<QString> addAll(const QList<Survey> &surveys, QList<ArchiveAdd> *out);

    // Newest first.
    std::optional<QString> find(const SurveyQuery &query, QList<SurveySummary> *out);
    std::optional<QString> survey(qint64 id, ArchivedSurvey *out);
    // Deletes the surveys with their records and station data; ids not there are passed
    // over. How many were deleted goes to *deleted.
    std::optional<QString> remove(const QList<qint64> &ids, int *deleted = nullptr);

private:
    SurveyArchive(const ArchiveLocation &location, const QString &connection);

    bool postgres() const { return location_.kind == ArchiveLocation::Kind::PostgreSQL; }
    QString dialect(QString sql) const;
    QSqlQuery &prepared(const QString &sql);
    std::optional<QString> exec(const QString &sql);
    std::optional<QString> useWriteAheadLog(const QDeadlineTimer &deadline);
    std::optional<QString> migrate(const ArchiveOpenOptions &options);
    std::optional<QString> readVersion(int *version);
    std::optional<QString> begin();
    std::optional<QString> commit();
    void rollback();
    std::optional<QString> addInTransaction(const Survey &survey, ArchiveAdd *out);
    std::optional<QString> insertStationData(qint64 id, const Survey &survey, const QString &recorded);
    QString describe(const QString &what) const;

    ArchiveLocation location_;
    QString connection_;
    QSqlDatabase db_;
    QHash<QString, std::shared_ptr<QSqlQuery>> statements_;
    int version_ = 0;
    bool writable_ = false;
};

// The data file of an archived survey: its records byte for byte and the station lines of
// the latest station data, as "Save all data" writes it.
BuiltDataFile archivedDataFile(const ArchivedSurvey &survey);

} // namespace kelpra
