#pragma once

#include "archive/archive_location.h"
#include "archive/survey.h"

#include <QString>

namespace kelpra {

// What became of a survey handed to the archive.
struct ArchiveOutcome {
    enum class Result {
        Added,            // a new survey in the archive
        StationDataAdded, // the records were there; the changed station data was added
        AlreadyThere,     // the records and the same station data were there
        NotArchivable,    // never archived (the sample set, a failed checksum, no records)
        Queued,           // the write failed; the survey waits in the retry queue
        Failed,           // the write failed and the retry queue could not take it either
    };
    Result result = Result::Failed;
    qint64 id = 0;  // the survey's id in the archive, when it is there
    // NotArchivable: why not. Queued and Failed: why the write failed, in one line, for
    // "Not archived: REASON".
    QString reason;

    bool archived() const
    {
        return result == Result::Added || result == Result::StationDataAdded || result == Result::AlreadyThere;
    }
};

// Archives a completed download or an opened data file in one transaction. A failed write
// never loses the survey: it goes to the retry queue at `queuePath`, which
// retryArchiveQueue() empties at the next start.
ArchiveOutcome archiveSurvey(const Survey &survey, const ArchiveLocation &location,
                             const QString &queuePath = archiveQueuePath());
// The same into the configured archive (configuredArchiveLocation()).
ArchiveOutcome archiveSurvey(const Survey &survey);

struct ArchiveQueueRetry {
    int archived = 0; // surveys written and taken off the queue
    int left = 0;     // surveys still waiting
    QString error;    // why some could not be written, or the queue read; empty when all went
};

// Writes every queued survey into the archive and takes those written off the queue; the
// others stay for the next try. For the start of the program.
ArchiveQueueRetry retryArchiveQueue(const ArchiveLocation &location, const QString &queuePath = archiveQueuePath());
ArchiveQueueRetry retryArchiveQueue();

// The surveys waiting in the queue, oldest first. A damaged queue is set aside, and the
// error says where it went.
std::optional<QString> readArchiveQueue(const QString &queuePath, QList<Survey> *out);

} // namespace kelpra
