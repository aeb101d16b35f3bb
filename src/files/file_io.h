#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QSaveFile;

namespace kelpra {

// The text of a file error as the general error handler names it, without the full stop:
// "File not found", "Invalid filename", "Too many open files", "File access denied",
// "Disk full", otherwise "I/O error <errno>". `path` is the file the error concerns and
// tells a missing file from a missing folder.
QString fileErrorText(int errnoValue, const QString &path = QString());

// The text of the general error box: the error's text followed by a full stop, left off
// when the text already ends in one or in a character that sorts before it.
QString withFullStop(const QString &text);

// Writes one file so that a failed write never costs the file it replaces. A regular file,
// or a name not yet taken, is written to a temporary file beside it (QSaveFile) that takes
// the target's place only once every byte is written and synced to disk; after any failure
// the temporary file is removed and the target keeps every byte it had. A target that is
// not a regular file (a device such as /dev/stdout or /dev/full, a FIFO) cannot be
// replaced: it is written directly, and never renamed over.
//
// The writer is the device to write through (QPdfWriter takes it too). Every write is
// checked; the first failure is kept, and every later write and the commit fail with it.
class AtomicFileWriter : public QIODevice {
public:
    explicit AtomicFileWriter(const QString &path);
    // Discards what was written unless commit() succeeded.
    ~AtomicFileWriter() override;

    AtomicFileWriter(const AtomicFileWriter &) = delete;
    AtomicFileWriter &operator=(const AtomicFileWriter &) = delete;

    QString path() const { return path_; }

    // Creates the temporary file beside the target (or opens the device), so a name that
    // cannot be written is known before anything is produced. The error text on failure.
    std::optional<QString> begin();
    // Puts the written file in the target's place. The error text of the first failure
    // since begin(); the target is then unchanged and no temporary file is left.
    std::optional<QString> commit();
    // Drops what was written; the target stays as it was.
    void discard();

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override;

private:
    void fail(int errnoValue);

    QString path_;
    std::unique_ptr<QSaveFile> saveFile_;
    int directFd_ = -1;
    int errno_ = 0; // the first failure; 0 while all is well
    bool committed_ = false;
};

// Writes the bytes through an AtomicFileWriter. Returns the error text on failure, when
// the previous file is still there, byte for byte.
std::optional<QString> writeWholeFile(const QString &path, const QByteArray &bytes);

// Writes a file that `produce` makes through the device it is given (QPdfWriter takes one,
// and says nothing itself when a write fails), atomically as writeWholeFile does. When
// `produce` returns false nothing is put in place and the error is `produceFailure`.
std::optional<QString> writeFileThrough(const QString &path, const std::function<bool(QIODevice *)> &produce,
                                        const QString &produceFailure);

// Puts a new file holding `bytes` in `path`'s place without ever writing through what is
// there: a symbolic link (another user may plant one in a shared folder), a FIFO or a
// device is itself replaced, never its target. The file is written beside it and renamed
// over it. Returns the error text on failure, when `path` is as it was.
std::optional<QString> replaceFileNoFollow(const QString &path, const QByteArray &bytes);

// Reads the whole file. Returns the error text on failure and leaves *out untouched then.
std::optional<QString> readWholeFile(const QString &path, QByteArray *out);

// A full set is under 3 KB; anything this large is not a data file.
inline constexpr qint64 kMaxDataFileBytes = 1024 * 1024;

// Why `path` cannot be loaded as a data file, found without opening it, so a FIFO never
// blocks and a device is never read: a folder, a named pipe, a device, a socket, or a file
// larger than kMaxDataFileBytes. A file that does not exist or cannot be reached gives the
// general error handler's text. Nothing when it is a regular file of a data file's size.
std::optional<QString> refuseBeforeReading(const QString &path);

// Reads a data file after refuseBeforeReading() let it pass. What is opened is checked
// again, so a file swapped for a FIFO or a device in between is refused as well.
std::optional<QString> readDataFileBytes(const QString &path, QByteArray *out);

// Appends what a file descriptor yields until its end, or until `out` holds `limit` bytes
// (no limit when negative). Returns 0, or the errno of a failed read.
int readUpTo(int fd, qint64 limit, QByteArray *out);

} // namespace kelpra
