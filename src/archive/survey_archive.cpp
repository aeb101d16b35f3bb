#include "archive/survey_archive.h"

#include "data/measurement_store.h"
#include "data/text8.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QVariant>

#include <atomic>

namespace kelpra {

namespace {

// Any constant: it keeps two programs from migrating one PostgreSQL archive at once.
constexpr qint64 kMigrationLock = 0x4b656c7072610001;
// SQLITE_BUSY, the primary result code under any extended one.
constexpr int kSqliteBusy = 5;

QString errorText(const QSqlError &error)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.driverText().trimmed();
    text = text.section(QLatin1Char('\n'), 0, 0).trimmed();
    if (text.startsWith(QLatin1String("ERROR:")))
        text = text.mid(6).trimmed();
    return text.isEmpty() ? QStringLiteral("unknown database error") : text;
}

QString timeText(const QDateTime &time)
{
    return (time.isValid() ? time : QDateTime::currentDateTimeUtc())
        .toUTC()
        .toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss'Z'"));
}

QDateTime timeFromText(const QString &text)
{
    return QDateTime::fromString(text, Qt::ISODate).toUTC();
}

// A null QByteArray or QString would be bound as SQL NULL; the archive keeps them empty.
QVariant bytesValue(const QByteArray &bytes)
{
    return bytes.isNull() ? QVariant(QByteArray("", 0)) : QVariant(bytes);
}

QVariant textValue(const QString &text)
{
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

std::optional<CheckVerdict> verdictByName(const QString &name)
{
    for (const CheckVerdict v : {CheckVerdict::Pass, CheckVerdict::Warn, CheckVerdict::Fail}) {
        if (verdictName(v) == name)
            return v;
    }
    return std::nullopt;
}

// The station and controller lines of a survey, in column order.
QList<QByteArray> stationDataLines(const StationLines &station, const ControllerLines &controller)
{
    QList<QByteArray> lines(station.begin(), station.end());
    lines.append(QList<QByteArray>(controller.begin(), controller.end()));
    return lines;
}

QString stationDataColumns()
{
    QStringList names;
    for (const char *name : kStationDataColumnNames)
        names << QLatin1String(name);
    return names.join(QStringLiteral(", "));
}

QString placeholders(int count)
{
    return QStringList(count, QStringLiteral("?")).join(QStringLiteral(", "));
}

// The columns of a results-list line, in the order summaryAt() reads them.
const QString kSummaryColumns = QStringLiteral(
    "id, archived, origin, source, vessel, radio, record_count, pass_count, warn_count, fail_count, worst");

SurveySummary summaryAt(const QSqlQuery &q)
{
    SurveySummary s;
    s.id = q.value(0).toLongLong();
    s.archived = timeFromText(q.value(1).toString());
    s.origin = originByName(q.value(2).toString()).value_or(SurveyOrigin::File);
    s.source = q.value(3).toString();
    s.vessel = q.value(4).toString();
    s.radio = q.value(5).toString();
    s.records = q.value(6).toInt();
    s.pass = q.value(7).toInt();
    s.warn = q.value(8).toInt();
    s.fail = q.value(9).toInt();
    s.worst = verdictByName(q.value(10).toString());
    return s;
}

// What the archive keeps of a survey beside its bytes: the check of each record.
struct Judgement {
    std::optional<CheckVerdict> verdict;
    QString findings;
    QString selfMmsi;
};

Judgement judge(const QByteArray &record)
{
    if (!judgedRecord(record))
        return {};
    const CallCheck check = checkRecord(record);
    Judgement j;
    j.verdict = check.verdict;
    j.findings = check.codes().join(QLatin1Char(' '));
    if (check.self)
        j.selfMmsi = check.self->mmsi;
    return j;
}

} // namespace

QList<QByteArray> ArchivedSurvey::recordBytes() const
{
    QList<QByteArray> bytes;
    for (const ArchivedRecord &record : records)
        bytes << record.bytes;
    return bytes;
}

SurveyArchive::SurveyArchive(const ArchiveLocation &location, const QString &connection)
    : location_(location), connection_(connection)
{
}

SurveyArchive::~SurveyArchive()
{
    statements_.clear();
    if (db_.isValid())
        db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(connection_);
}

QString SurveyArchive::describe(const QString &what) const
{
    return location_.text() + QStringLiteral(": ") + what;
}

std::optional<QString> SurveyArchive::open(const ArchiveLocation &location, std::unique_ptr<SurveyArchive> *out,
                                           const ArchiveOpenOptions &options)
{
    static std::atomic<int> connections{0};
    std::unique_ptr<SurveyArchive> archive(
        new SurveyArchive(location, QStringLiteral("kelpra-archive-%1").arg(++connections)));
    const bool server = location.kind == ArchiveLocation::Kind::PostgreSQL;
    const QString driver = server ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE");
    if (!QSqlDatabase::isDriverAvailable(driver))
        return archive->describe(QStringLiteral("Qt's %1 driver is not installed (Debian package %2)")
                                     .arg(driver, server ? QStringLiteral("libqt6sql6-psql")
                                                         : QStringLiteral("libqt6sql6-sqlite")));
    archive->db_ = QSqlDatabase::addDatabase(driver, archive->connection_);
    QSqlDatabase &db = archive->db_;
    if (server) {
        db.setHostName(location.host);
        db.setPort(location.port);
        db.setUserName(location.user);
        db.setDatabaseName(location.database);
        // libpq waits for ever by default; a server out of reach must not hang the program.
        db.setConnectOptions(QStringLiteral("connect_timeout=5;application_name=kelpra"));
    } else {
        const QFileInfo file(location.path);
        if (!options.write && !file.exists())
            return archive->describe(QStringLiteral("there is no archive here"));
        if (file.exists() && !file.isFile())
            return archive->describe(QStringLiteral("not a file"));
        if (options.write && !QDir().mkpath(file.absolutePath()))
            return archive->describe(QStringLiteral("the folder cannot be created"));
        db.setDatabaseName(location.path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(options.busyTimeoutMs));
    }
    if (!db.open())
        return archive->describe(errorText(db.lastError()));
    if (!server && options.write) {
        // Readers never wait for the writer, and two writers wait for each other within
        // the busy timeout. The mode stays with the file.
        if (auto error = archive->useWriteAheadLog(QDeadlineTimer(options.busyTimeoutMs)))
            return error;
    }
    archive->writable_ = options.write;
    if (auto error = archive->migrate(options))
        return error;
    *out = std::move(archive);
    return std::nullopt;
}

std::optional<QString> SurveyArchive::useWriteAheadLog(const QDeadlineTimer &deadline)
{
    // Switching the mode needs the file to itself for a moment, and SQLite answers "locked"
    // at once there instead of waiting out the busy timeout: two programs creating the
    // archive together meet here. Wait for the other one as the busy timeout would.
    for (;;) {
        QSqlQuery query(db_);
        if (query.exec(QStringLiteral("PRAGMA journal_mode=WAL")))
            return std::nullopt;
        const bool busy = (query.lastError().nativeErrorCode().toInt() & 0xff) == kSqliteBusy;
        if (!busy || deadline.hasExpired())
            return describe(errorText(query.lastError()));
        QThread::msleep(10);
    }
}

QString SurveyArchive::dialect(QString sql) const
{
    sql.replace(QLatin1String("{id}"), postgres() ? QLatin1String("BIGINT GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY")
                                                  : QLatin1String("INTEGER PRIMARY KEY AUTOINCREMENT"));
    sql.replace(QLatin1String("{blob}"), postgres() ? QLatin1String("BYTEA") : QLatin1String("BLOB"));
    // SQLite lets one writer in at a time anyway; PostgreSQL locks the survey's row.
    sql.replace(QLatin1String("{lock}"), postgres() ? QLatin1String(" FOR UPDATE") : QLatin1String(""));
    return sql;
}

QSqlQuery &SurveyArchive::prepared(const QString &sql)
{
    std::shared_ptr<QSqlQuery> &query = statements_[sql];
    if (!query) {
        query = std::make_shared<QSqlQuery>(db_);
        query->setForwardOnly(true);
        // A statement that does not prepare is kept all the same: its exec() then fails
        // with the reason, where the caller looks for it.
        query->prepare(dialect(sql));
    }
    return *query;
}

std::optional<QString> SurveyArchive::exec(const QString &sql)
{
    QSqlQuery query(db_);
    if (!query.exec(dialect(sql)))
        return describe(errorText(query.lastError()));
    return std::nullopt;
}

namespace {

// Runs a prepared statement with its values. The query stays on its result rows.
std::optional<QString> run(QSqlQuery &query, const QVariantList &values)
{
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values[i]);
    if (!query.exec())
        return errorText(query.lastError());
    return std::nullopt;
}

} // namespace

std::optional<QString> SurveyArchive::begin()
{
    // SQLite: take the write lock now, within the busy timeout, rather than fail on the
    // first write when another program got there in between.
    return exec(postgres() ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE"));
}

std::optional<QString> SurveyArchive::commit()
{
    return exec(QStringLiteral("COMMIT"));
}

void SurveyArchive::rollback()
{
    QSqlQuery(db_).exec(QStringLiteral("ROLLBACK"));
}

std::optional<QString> SurveyArchive::readVersion(int *version)
{
    QSqlQuery query(db_);
    const QString exists =
        postgres() ? QStringLiteral("SELECT count(*) FROM information_schema.tables WHERE table_schema = "
                                    "current_schema() AND table_name = 'schema_version'")
                   : QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = "
                                    "'schema_version'");
    if (!query.exec(exists) || !query.next())
        return describe(errorText(query.lastError()));
    if (query.value(0).toInt() == 0) {
        *version = 0;
        return std::nullopt;
    }
    if (!query.exec(QStringLiteral("SELECT max(version) FROM schema_version")) || !query.next())
        return describe(errorText(query.lastError()));
    *version = query.value(0).toInt();
    return std::nullopt;
}

std::optional<QString> SurveyArchive::migrate(const ArchiveOpenOptions &options)
{
    int known = 0;
    for (const ArchiveMigration &m : options.migrations)
        known = qMax(known, m.version);
    if (!writable_) {
        int version = 0;
        if (auto error = readVersion(&version))
            return error;
        if (version == 0)
            return describe(QStringLiteral("holds no survey archive"));
        if (version > known)
            return describe(QStringLiteral("the archive has schema version %1, newer than this program knows (%2); "
                                           "it needs a newer Kelpra and is left as it is")
                                .arg(version)
                                .arg(known));
        if (version < known)
            return describe(QStringLiteral("the archive has schema version %1; the program or kelpra-tool archive "
                                           "import brings it up to version %2")
                                .arg(version)
                                .arg(known));
        version_ = version;
        return std::nullopt;
    }

    if (auto error = begin())
        return error;
    auto fail = [this](const QString &error) -> std::optional<QString> {
        rollback();
        return error;
    };
    if (postgres()) {
        if (auto error = exec(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(kMigrationLock)))
            return fail(*error);
    }
    int version = 0;
    if (auto error = readVersion(&version))
        return fail(*error);
    if (version > known)
        return fail(describe(QStringLiteral("the archive has schema version %1, newer than this program knows (%2); "
                                            "it needs a newer Kelpra and is left as it is")
                                 .arg(version)
                                 .arg(known)));
    if (version == 0) {
        if (auto error = exec(QStringLiteral("CREATE TABLE schema_version (version INTEGER NOT NULL)")))
            return fail(*error);
    }
    for (const ArchiveMigration &m : options.migrations) {
        if (m.version <= version)
            continue;
        for (const QString &statement : m.statements) {
            if (auto error = exec(statement))
                return fail(*error);
        }
    }
    if (version < known) {
        const QString set = version == 0 ? QStringLiteral("INSERT INTO schema_version (version) VALUES (%1)")
                                         : QStringLiteral("UPDATE schema_version SET version = %1");
        if (auto error = exec(set.arg(known)))
            return fail(*error);
    }
    if (auto error = commit())
        return fail(*error);
    version_ = known;
    return std::nullopt;
}

std::optional<QString> SurveyArchive::add(const Survey &survey, ArchiveAdd *out)
{
    QList<ArchiveAdd> added;
    if (auto error = addAll({survey}, &added))
        return error;
    *out = added.constFirst();
    return std::nullopt;
}

std::optional<QString> SurveyArchive::addAll(const QList<Survey> &surveys, QList<ArchiveAdd> *out)
{
    if (!writable_)
        return describe(QStringLiteral("opened for reading only"));
    for (const Survey &survey : surveys) {
        if (auto why = notArchivable(survey))
            return QStringLiteral("not archived: ") + *why;
    }
    if (auto error = begin())
        return error;
    QList<ArchiveAdd> added;
    for (const Survey &survey : surveys) {
        ArchiveAdd one;
        if (auto error = addInTransaction(survey, &one)) {
            rollback();
            return describe(*error);
        }
        added << one;
    }
    if (auto error = commit()) {
        rollback();
        return error;
    }
    *out = added;
    return std::nullopt;
}

std::optional<QString> SurveyArchive::addInTransaction(const Survey &survey, ArchiveAdd *out)
{
    const QList<QByteArray> records = keptRecords(survey.records);
    const QString recorded = timeText(survey.time);
    QList<Judgement> judgements;
    int counts[3] = {0, 0, 0};
    std::optional<CheckVerdict> worst;
    for (const QByteArray &record : records) {
        judgements << judge(record);
        if (const auto verdict = judgements.constLast().verdict) {
            ++counts[static_cast<int>(*verdict)];
            worst = worst ? qMax(*worst, *verdict) : *verdict;
        }
    }
    const QString vessel = fromText8(survey.station[3]);
    const QString radio = fromText8(survey.station[0]);

    QSqlQuery &insert = prepared(QStringLiteral(
        "INSERT INTO surveys (identity, archived, origin, source, identification, program_version, record_count, "
        "pass_count, warn_count, fail_count, worst, vessel, vessel_folded, radio) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT (identity) DO NOTHING RETURNING id"));
    if (auto error = run(insert, {QString::fromLatin1(surveyIdentity(records)), recorded, originName(survey.origin),
                                  textValue(survey.source), bytesValue(survey.identification),
                                  textValue(survey.programVersion), int(records.size()), counts[0], counts[1],
                                  counts[2], worst ? QVariant(verdictName(*worst)) : QVariant(QMetaType(QMetaType::QString)),
                                  textValue(vessel), textValue(vessel.toCaseFolded()), textValue(radio)}))
        return error;
    if (insert.next()) {
        out->id = insert.value(0).toLongLong();
        out->status = ArchiveStatus::Added;
        insert.finish();
        QStringList rows(records.size(), QStringLiteral("(?, ?, ?, ?, ?, ?)"));
        QVariantList values;
        for (int i = 0; i < records.size(); ++i) {
            const Judgement &j = judgements[i];
            values << out->id << i + 1 << bytesValue(records[i])
                   << (j.verdict ? QVariant(verdictName(*j.verdict)) : QVariant(QMetaType(QMetaType::QString)))
                   << textValue(j.findings)
                   << (j.selfMmsi.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(j.selfMmsi));
        }
        QSqlQuery &insertRecords = prepared(
            QStringLiteral("INSERT INTO records (survey_id, slot, bytes, verdict, findings, self_mmsi) VALUES ")
            + rows.join(QStringLiteral(", ")));
        if (auto error = run(insertRecords, values))
            return error;
        return insertStationData(out->id, survey, recorded);
    }
    insert.finish();

    // The records are there: keep the station data only when it differs from the latest.
    QSqlQuery &existing = prepared(QStringLiteral("SELECT id FROM surveys WHERE identity = ?{lock}"));
    if (auto error = run(existing, {QString::fromLatin1(surveyIdentity(records))}))
        return error;
    if (!existing.next())
        return QStringLiteral("the survey was neither added nor found");
    out->id = existing.value(0).toLongLong();
    existing.finish();
    QSqlQuery &latest = prepared(QStringLiteral("SELECT %1 FROM station_data WHERE survey_id = ? ORDER BY id DESC "
                                                "LIMIT 1")
                                     .arg(stationDataColumns()));
    if (auto error = run(latest, {out->id}))
        return error;
    const QList<QByteArray> lines = stationDataLines(survey.station, survey.controller);
    bool same = latest.next();
    for (int i = 0; same && i < kStationDataColumns; ++i)
        same = latest.value(i).toByteArray() == lines[i];
    latest.finish();
    if (same) {
        out->status = ArchiveStatus::AlreadyThere;
        return std::nullopt;
    }
    out->status = ArchiveStatus::StationDataAdded;
    if (auto error = insertStationData(out->id, survey, recorded))
        return error;
    QSqlQuery &update =
        prepared(QStringLiteral("UPDATE surveys SET vessel = ?, vessel_folded = ?, radio = ? WHERE id = ?"));
    return run(update, {textValue(vessel), textValue(vessel.toCaseFolded()), textValue(radio), out->id});
}

std::optional<QString> SurveyArchive::insertStationData(qint64 id, const Survey &survey, const QString &recorded)
{
    QSqlQuery &insert = prepared(QStringLiteral("INSERT INTO station_data (survey_id, recorded, program_version, "
                                                "%1) VALUES (?, ?, ?, %2)")
                                     .arg(stationDataColumns(), placeholders(kStationDataColumns)));
    QVariantList values{id, recorded, textValue(survey.programVersion)};
    for (const QByteArray &line : stationDataLines(survey.station, survey.controller))
        values << bytesValue(line);
    return run(insert, values);
}

std::optional<QString> SurveyArchive::find(const SurveyQuery &query, QList<SurveySummary> *out)
{
    QStringList where;
    QVariantList values;
    if (!query.vesselPart.isEmpty()) {
        QString part = query.vesselPart.toCaseFolded();
        part.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
        part.replace(QLatin1Char('%'), QLatin1String("\\%"));
        part.replace(QLatin1Char('_'), QLatin1String("\\_"));
        where << QStringLiteral("id IN (SELECT id FROM surveys WHERE vessel_folded LIKE ? ESCAPE '\\')");
        values << QStringLiteral("%") + part + QStringLiteral("%");
    }
    if (!query.mmsi.isEmpty()) {
        where << QStringLiteral("id IN (SELECT survey_id FROM records WHERE self_mmsi = ?)");
        values << query.mmsi;
    }
    if (query.since) {
        where << QStringLiteral("archived >= ?");
        values << query.since->toString(Qt::ISODate);
    }
    if (query.until) {
        where << QStringLiteral("archived < ?");
        values << query.until->addDays(1).toString(Qt::ISODate);
    }
    if (query.worst) {
        where << QStringLiteral("worst = ?");
        values << verdictName(*query.worst);
    }
    QString sql = QStringLiteral("SELECT %1 FROM surveys").arg(kSummaryColumns);
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY archived DESC, id DESC");
    QSqlQuery &select = prepared(sql);
    if (auto error = run(select, values))
        return describe(*error);
    QList<SurveySummary> found;
    while (select.next())
        found << summaryAt(select);
    select.finish();
    *out = found;
    return std::nullopt;
}

std::optional<QString> SurveyArchive::survey(qint64 id, ArchivedSurvey *out)
{
    ArchivedSurvey s;
    QSqlQuery &head = prepared(
        QStringLiteral("SELECT %1, identity, identification, program_version FROM surveys WHERE id = ?")
            .arg(kSummaryColumns));
    if (auto error = run(head, {id}))
        return describe(*error);
    if (!head.next())
        return describe(QStringLiteral("there is no survey %1").arg(id));
    s.summary = summaryAt(head);
    s.identity = head.value(11).toString().toLatin1();
    s.identification = head.value(12).toByteArray();
    s.programVersion = head.value(13).toString();
    head.finish();

    QSqlQuery &records =
        prepared(QStringLiteral("SELECT bytes, verdict, findings, self_mmsi FROM records WHERE survey_id = ? "
                                "ORDER BY slot"));
    if (auto error = run(records, {id}))
        return describe(*error);
    while (records.next()) {
        ArchivedRecord r;
        r.bytes = records.value(0).toByteArray();
        r.verdict = verdictByName(records.value(1).toString());
        r.findings = records.value(2).toString().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        r.selfMmsi = records.value(3).toString();
        s.records << r;
    }
    records.finish();

    QSqlQuery &history = prepared(QStringLiteral("SELECT recorded, program_version, %1 FROM station_data "
                                                 "WHERE survey_id = ? ORDER BY id")
                                      .arg(stationDataColumns()));
    if (auto error = run(history, {id}))
        return describe(*error);
    while (history.next()) {
        StationDataVersion v;
        v.recorded = timeFromText(history.value(0).toString());
        v.programVersion = history.value(1).toString();
        for (int i = 0; i < kStationDataColumns; ++i) {
            const QByteArray line = history.value(2 + i).toByteArray();
            if (i < int(v.station.size()))
                v.station[i] = line;
            else
                v.controller[i - v.station.size()] = line;
        }
        s.stationHistory << v;
    }
    history.finish();
    if (s.stationHistory.isEmpty())
        return describe(QStringLiteral("survey %1 has no station data").arg(id));
    *out = s;
    return std::nullopt;
}

std::optional<QString> SurveyArchive::remove(const QList<qint64> &ids, int *deleted)
{
    if (!writable_)
        return describe(QStringLiteral("opened for reading only"));
    if (auto error = begin())
        return error;
    int count = 0;
    for (const qint64 id : ids) {
        for (const QString &sql : {QStringLiteral("DELETE FROM records WHERE survey_id = ?"),
                                   QStringLiteral("DELETE FROM station_data WHERE survey_id = ?"),
                                   QStringLiteral("DELETE FROM surveys WHERE id = ?")}) {
            QSqlQuery &del = prepared(sql);
            if (auto error = run(del, {id})) {
                rollback();
                return describe(*error);
            }
            if (sql.contains(QLatin1String("FROM surveys")))
                count += qMax(0, del.numRowsAffected());
        }
    }
    if (auto error = commit()) {
        rollback();
        return error;
    }
    if (deleted)
        *deleted = count;
    return std::nullopt;
}

BuiltDataFile archivedDataFile(const ArchivedSurvey &survey)
{
    MeasurementStore store;
    store.setSlot(0, survey.identification);
    for (int i = 0; i < survey.records.size(); ++i)
        store.setSlot(i + 1, survey.records[i].bytes);
    return buildFullSetFile(store, survey.latest().station);
}

} // namespace kelpra
