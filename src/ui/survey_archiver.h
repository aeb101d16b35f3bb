#pragma once

#include "archive/archive_queue.h"

#include <QObject>
#include <QString>

namespace kelpra {

class ArchiveWorker;
class Session;

// Archives every survey the session takes in (a completed download, an opened data file)
// without holding up the window, and keeps what the status bar says about it. A survey
// that could not be written waits in the retry queue; retryQueue() writes the queue at
// start-up.
class SurveyArchiver : public QObject {
    Q_OBJECT
public:
    SurveyArchiver(Session &session, ArchiveWorker &worker, QObject *parent = nullptr);

    // Writes the surveys that earlier runs could not archive; says something only when
    // something is wrong.
    void retryQueue();

    // The status bar's archive area: "Not archived: REASON" after a failure, "Survey N
    // from archive" while an archived survey is on display, else empty; with a hint.
    struct Note {
        QString text;
        QString hint;
        bool failure = false;
    };
    Note note() const;

Q_SIGNALS:
    void noteChanged();
    // A survey went into the archive (added, or there already).
    void archived(const ArchiveOutcome &outcome);

private:
    void recordsArrived();
    void finished(const QString &source, const ArchiveOutcome &outcome);
    void setFailure(const QString &text, const QString &hint);

    Session &session_;
    ArchiveWorker &worker_;
    Note failure_; // empty text while nothing failed
};

} // namespace kelpra
