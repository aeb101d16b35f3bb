#pragma once

#include <QObject>
#include <QPointer>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace kelpra {

// Runs the archive's work on a thread of its own, one job after another in the order
// given, so that a database server out of reach (up to 5 s) never freezes a window. Each
// job opens its own connection (the archive allows that on any thread). What a job found
// comes back on the window's thread.
class ArchiveWorker : public QObject {
    Q_OBJECT
public:
    explicit ArchiveWorker(QObject *parent = nullptr);
    // Finishes every job given before it returns: a survey handed over is archived or
    // queued, never dropped, even when the program ends meanwhile.
    ~ArchiveWorker() override;
    ArchiveWorker(const ArchiveWorker &) = delete;
    ArchiveWorker &operator=(const ArchiveWorker &) = delete;

    // Runs `job` on the worker's thread, then `done(result)` on this object's thread,
    // unless `receiver` has gone by then. `job` must hold everything it needs by value.
    template <typename Job, typename Done>
    void run(QObject *receiver, Job job, Done done)
    {
        post(receiver, [job = std::move(job), done = std::move(done)]() mutable -> std::function<void()> {
            auto result = job();
            return [done = std::move(done), result = std::move(result)]() mutable { done(result); };
        });
    }

    // No job waiting or running, and every result handed back.
    bool idle() const { return outstanding_ == 0; }

Q_SIGNALS:
    // The last outstanding result has been handed back.
    void becameIdle();

private:
    using Task = std::function<std::function<void()>()>;
    struct Entry {
        QPointer<QObject> receiver;
        Task task;
    };

    void post(QObject *receiver, Task task);
    void loop();
    void deliver(const QPointer<QObject> &receiver, const std::function<void()> &done);

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Entry> queue_;
    bool stopping_ = false;
    int outstanding_ = 0; // touched on this object's thread only
    std::thread thread_;
};

} // namespace kelpra
