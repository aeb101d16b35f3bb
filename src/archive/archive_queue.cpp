#include "archive/archive_queue.h"

#include "archive/survey_archive.h"
#include "files/file_io.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>

namespace kelpra {

namespace {

// The queue file: {"kelpra-archive-queue": 1, "surveys": [...]}, byte strings in base64 so
// that every record comes back byte for byte.
const QString kFormatKey = QStringLiteral("kelpra-archive-queue");
constexpr int kFormat = 1;
constexpr int kLockWaitMs = 30000;

QJsonValue bytesJson(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toBase64());
}

QByteArray bytesFromJson(const QJsonValue &value)
{
    return QByteArray::fromBase64(value.toString().toLatin1());
}

template <typename Lines>
QJsonArray linesJson(const Lines &lines)
{
    QJsonArray array;
    for (const QByteArray &line : lines)
        array.append(bytesJson(line));
    return array;
}

template <typename Lines>
bool linesFromJson(const QJsonValue &value, Lines *lines)
{
    const QJsonArray array = value.toArray();
    if (array.size() != qsizetype(lines->size()))
        return false;
    for (qsizetype i = 0; i < array.size(); ++i)
        (*lines)[i] = bytesFromJson(array[i]);
    return true;
}

QJsonObject surveyJson(const Survey &survey)
{
    QJsonObject o;
    o.insert(QStringLiteral("origin"), originName(survey.origin));
    o.insert(QStringLiteral("source"), survey.source);
    o.insert(QStringLiteral("time"), survey.time.toUTC().toString(Qt::ISODateWithMs));
    o.insert(QStringLiteral("identification"), bytesJson(survey.identification));
    o.insert(QStringLiteral("records"), linesJson(survey.records));
    o.insert(QStringLiteral("station"), linesJson(survey.station));
    o.insert(QStringLiteral("controller"), linesJson(survey.controller));
    o.insert(QStringLiteral("program_version"), survey.programVersion);
    return o;
}

std::optional<Survey> surveyFromJson(const QJsonObject &o)
{
    Survey survey;
    const auto origin = originByName(o.value(QStringLiteral("origin")).toString());
    survey.time = QDateTime::fromString(o.value(QStringLiteral("time")).toString(), Qt::ISODateWithMs);
    if (!origin || !survey.time.isValid() || !o.value(QStringLiteral("records")).isArray())
        return std::nullopt;
    survey.origin = *origin;
    survey.source = o.value(QStringLiteral("source")).toString();
    survey.identification = bytesFromJson(o.value(QStringLiteral("identification")));
    for (const QJsonValue &record : o.value(QStringLiteral("records")).toArray())
        survey.records << bytesFromJson(record);
    if (!linesFromJson(o.value(QStringLiteral("station")), &survey.station)
        || !linesFromJson(o.value(QStringLiteral("controller")), &survey.controller))
        return std::nullopt;
    survey.programVersion = o.value(QStringLiteral("program_version")).toString();
    return survey;
}

// The queue's entries. A queue that cannot be read as one is set aside under another name,
// never overwritten; the error then names where it went.
std::optional<QString> readEntries(const QString &path, QJsonArray *entries)
{
    *entries = QJsonArray();
    if (!QFileInfo::exists(path))
        return std::nullopt;
    QByteArray bytes;
    if (auto error = readWholeFile(path, &bytes))
        return QStringLiteral("%1: %2").arg(path, *error);
    const QJsonDocument doc = QJsonDocument::fromJson(bytes);
    const QJsonObject top = doc.object();
    bool whole = top.value(kFormatKey).toInt() == kFormat && top.value(QStringLiteral("surveys")).isArray();
    const QJsonArray surveys = top.value(QStringLiteral("surveys")).toArray();
    for (const QJsonValue &entry : surveys)
        whole = whole && surveyFromJson(entry.toObject()).has_value();
    if (whole) {
        *entries = surveys;
        return std::nullopt;
    }
    const QString aside =
        path + QStringLiteral(".damaged-") + QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddTHHmmss"));
    if (!QFile::rename(path, aside))
        return QStringLiteral("%1 is damaged and cannot be set aside").arg(path);
    return QStringLiteral("%1 was damaged; it is kept as %2").arg(path, aside);
}

std::optional<QString> writeEntries(const QString &path, const QJsonArray &entries)
{
    if (entries.isEmpty()) {
        if (QFileInfo::exists(path) && !QFile::remove(path))
            return QStringLiteral("%1 cannot be removed").arg(path);
        return std::nullopt;
    }
    const QJsonObject top{{kFormatKey, kFormat}, {QStringLiteral("surveys"), entries}};
    if (auto error = writeWholeFile(path, QJsonDocument(top).toJson(QJsonDocument::Indented)))
        return QStringLiteral("%1: %2").arg(path, *error);
    return std::nullopt;
}

// Two programs may queue or retry at once: each change of the file is made under a lock.
class QueueLock {
public:
    explicit QueueLock(const QString &path) : lock_(path + QStringLiteral(".lock")) {}
    std::optional<QString> take()
    {
        if (!QDir().mkpath(QFileInfo(lock_.fileName()).absolutePath()) || !lock_.tryLock(kLockWaitMs))
            return QStringLiteral("the retry queue %1 stays locked").arg(lock_.fileName());
        return std::nullopt;
    }

private:
    QLockFile lock_;
};

// Adds the survey to the queue. A damaged queue is set aside first; *note then says where.
std::optional<QString> enqueue(const QString &path, const Survey &survey, QString *note)
{
    QueueLock lock(path);
    if (auto error = lock.take())
        return error;
    QJsonArray entries;
    if (auto damaged = readEntries(path, &entries)) {
        if (QFileInfo::exists(path))
            return damaged;
        *note = *damaged;
    }
    entries.append(surveyJson(survey));
    return writeEntries(path, entries);
}

// Queues a survey whose write failed with `error`.
ArchiveOutcome queued(const QString &path, const Survey &survey, const QString &error)
{
    QString note;
    if (auto queueError = enqueue(path, survey, &note))
        return {ArchiveOutcome::Result::Failed, 0, error + QStringLiteral("; not queued either: ") + *queueError};
    return {ArchiveOutcome::Result::Queued, 0, note.isEmpty() ? error : error + QStringLiteral("; ") + note};
}

ArchiveOutcome::Result resultOf(ArchiveStatus status)
{
    switch (status) {
    case ArchiveStatus::Added: return ArchiveOutcome::Result::Added;
    case ArchiveStatus::StationDataAdded: return ArchiveOutcome::Result::StationDataAdded;
    case ArchiveStatus::AlreadyThere: break;
    }
    return ArchiveOutcome::Result::AlreadyThere;
}

} // namespace

ArchiveOutcome archiveSurvey(const Survey &survey, const ArchiveLocation &location, const QString &queuePath)
{
    if (auto why = notArchivable(survey))
        return {ArchiveOutcome::Result::NotArchivable, 0, *why};
    std::unique_ptr<SurveyArchive> archive;
    ArchiveAdd added;
    std::optional<QString> error = SurveyArchive::open(location, &archive);
    if (!error)
        error = archive->add(survey, &added);
    if (!error)
        return {resultOf(added.status), added.id, QString()};
    return queued(queuePath, survey, *error);
}

ArchiveOutcome archiveSurvey(const Survey &survey)
{
    const ArchiveLocationParse place = configuredArchiveLocation();
    if (place.location)
        return archiveSurvey(survey, *place.location);
    if (auto why = notArchivable(survey))
        return {ArchiveOutcome::Result::NotArchivable, 0, *why};
    return queued(archiveQueuePath(), survey, place.error);
}

ArchiveQueueRetry retryArchiveQueue(const ArchiveLocation &location, const QString &queuePath)
{
    ArchiveQueueRetry retry;
    QJsonArray entries;
    {
        QueueLock lock(queuePath);
        if (auto error = lock.take()) {
            retry.error = *error;
            return retry;
        }
        if (auto error = readEntries(queuePath, &entries)) {
            retry.error = *error;
            return retry;
        }
    }
    if (entries.isEmpty())
        return retry;

    // The archive is written without the queue's lock held, so that a program queueing a
    // survey meanwhile does not wait for a slow server. A survey written twice by two
    // programs retrying at once is the same survey: the archive keeps it once.
    QList<QJsonValue> written;
    std::unique_ptr<SurveyArchive> archive;
    std::optional<QString> error = SurveyArchive::open(location, &archive);
    for (int i = 0; !error && i < entries.size(); ++i) {
        ArchiveAdd added;
        const std::optional<Survey> survey = surveyFromJson(entries[i].toObject());
        if (auto failed = archive->add(*survey, &added))
            retry.error = *failed;
        else
            written << entries[i];
    }
    if (error)
        retry.error = *error;
    if (written.isEmpty()) {
        retry.left = entries.size();
        return retry;
    }

    QueueLock lock(queuePath);
    if (auto lockError = lock.take()) {
        retry.error = *lockError;
        retry.left = entries.size();
        return retry;
    }
    QJsonArray now;
    if (auto readError = readEntries(queuePath, &now)) {
        retry.error = *readError;
        return retry;
    }
    QJsonArray remaining;
    for (const QJsonValue &entry : now) {
        if (written.contains(entry))
            ++retry.archived;
        else
            remaining.append(entry);
    }
    if (auto writeError = writeEntries(queuePath, remaining)) {
        retry.error = *writeError;
        retry.archived = 0;
        retry.left = now.size();
        return retry;
    }
    retry.left = remaining.size();
    return retry;
}

ArchiveQueueRetry retryArchiveQueue()
{
    const ArchiveLocationParse place = configuredArchiveLocation();
    if (!place.location) {
        QList<Survey> waiting;
        readArchiveQueue(archiveQueuePath(), &waiting);
        return {0, int(waiting.size()), place.error};
    }
    return retryArchiveQueue(*place.location);
}

std::optional<QString> readArchiveQueue(const QString &queuePath, QList<Survey> *out)
{
    QJsonArray entries;
    {
        QueueLock lock(queuePath);
        if (auto error = lock.take())
            return error;
        if (auto error = readEntries(queuePath, &entries))
            return error;
    }
    out->clear();
    for (const QJsonValue &entry : entries)
        out->append(*surveyFromJson(entry.toObject()));
    return std::nullopt;
}

} // namespace kelpra
