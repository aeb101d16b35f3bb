#include "ui/archive_worker.h"

namespace kelpra {

ArchiveWorker::ArchiveWorker(QObject *parent) : QObject(parent), thread_([this] { loop(); }) {}

ArchiveWorker::~ArchiveWorker()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void ArchiveWorker::post(QObject *receiver, Task task)
{
    ++outstanding_;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.push_back(Entry{QPointer<QObject>(receiver), std::move(task)});
    }
    wake_.notify_one();
}

void ArchiveWorker::loop()
{
    for (;;) {
        Entry entry;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            // Stopping waits for the queue to run dry: nothing handed over is dropped.
            if (queue_.empty())
                return;
            entry = std::move(queue_.front());
            queue_.pop_front();
        }
        std::function<void()> done = entry.task();
        // The receiver is looked at only on its own thread, where it may be deleted.
        QMetaObject::invokeMethod(
            this,
            [this, receiver = std::move(entry.receiver), done = std::move(done)] { deliver(receiver, done); },
            Qt::QueuedConnection);
    }
}

void ArchiveWorker::deliver(const QPointer<QObject> &receiver, const std::function<void()> &done)
{
    --outstanding_;
    if (receiver)
        done();
    if (outstanding_ == 0)
        Q_EMIT becameIdle();
}

} // namespace kelpra
