#include "file_io.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelpra {

namespace {

QByteArray nativePath(const QString &path) { return QFile::encodeName(path); }

bool underProc(const QString &path)
{
    return path == QLatin1String("/proc") || path.startsWith(QLatin1String("/proc/"));
}

// /dev/stdout, /dev/fd/N and /proc/self/fd/N name an open file of this process, which may
// be a regular file the shell opened: replacing that file would cut the process off from
// it, so such names are written in place.
bool namesAnOpenDescriptor(const QString &path)
{
    QString current = QFileInfo(path).absoluteFilePath();
    for (int hop = 0; hop < 40; ++hop) {
        const QFileInfo info(current);
        if (underProc(QFileInfo(info.absolutePath()).canonicalFilePath()) || underProc(current))
            return true;
        if (!info.isSymLink())
            return false;
        char target[4096];
        const ssize_t n = ::readlink(nativePath(current).constData(), target, sizeof target - 1);
        if (n <= 0)
            return false;
        const QString next = QFile::decodeName(QByteArray(target, n));
        current = QFileInfo(next).isAbsolute() ? next : info.absolutePath() + QLatin1Char('/') + next;
    }
    return false;
}

std::optional<QString> refusalFor(const struct stat &st)
{
    if (S_ISDIR(st.st_mode))
        return QStringLiteral("Not a data file: it is a folder");
    if (S_ISFIFO(st.st_mode))
        return QStringLiteral("Not a data file: it is a named pipe");
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
        return QStringLiteral("Not a data file: it is a device");
    if (S_ISSOCK(st.st_mode))
        return QStringLiteral("Not a data file: it is a socket");
    if (!S_ISREG(st.st_mode))
        return QStringLiteral("Not a data file: it is not a regular file");
    if (st.st_size > kMaxDataFileBytes)
        return QStringLiteral("Not a data file: at %1 bytes it is far larger than any data file (the limit is 1 MiB)")
            .arg(static_cast<qint64>(st.st_size));
    return std::nullopt;
}

} // namespace

QString fileErrorText(int errnoValue, const QString &path)
{
    switch (errnoValue) {
    case ENOENT:
        // A missing folder on the way is a bad name, a missing file is just not there.
        if (!path.isEmpty() && !QFileInfo(QFileInfo(path).absolutePath()).isDir())
            return QStringLiteral("Invalid filename");
        return QStringLiteral("File not found");
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
        return QStringLiteral("Invalid filename");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Too many open files");
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return QStringLiteral("File access denied");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("Disk full");
    default:
        return QStringLiteral("I/O error %1").arg(errnoValue);
    }
}

QString withFullStop(const QString &text)
{
    if (!text.isEmpty() && text.back() <= QLatin1Char('.'))
        return text;
    return text + QLatin1Char('.');
}

AtomicFileWriter::AtomicFileWriter(const QString &path) : path_(path) {}

AtomicFileWriter::~AtomicFileWriter()
{
    if (!committed_)
        discard();
}

void AtomicFileWriter::fail(int errnoValue)
{
    if (errno_ == 0)
        errno_ = errnoValue != 0 ? errnoValue : EIO;
    // QSaveFile then refuses to commit, whatever is written later.
    if (saveFile_)
        saveFile_->cancelWriting();
}

std::optional<QString> AtomicFileWriter::begin()
{
    const QByteArray native = nativePath(path_);
    struct stat st {};
    bool direct = false;
    if (::stat(native.constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            fail(EISDIR);
            return fileErrorText(errno_, path_);
        }
        direct = !S_ISREG(st.st_mode) || namesAnOpenDescriptor(path_);
        // A read-only file is not replaced behind its owner's back.
        if (!direct && ::access(native.constData(), W_OK) != 0) {
            fail(errno);
            return fileErrorText(errno_, path_);
        }
    } else if (errno != ENOENT) {
        fail(errno);
        return fileErrorText(errno_, path_);
    }

    if (direct) {
        // O_APPEND: behind /dev/stdout may be a file that already holds the process's output.
        directFd_ = ::open(native.constData(), O_WRONLY | O_APPEND | O_CLOEXEC | O_NOCTTY);
        if (directFd_ < 0) {
            fail(errno);
            return fileErrorText(errno_, path_);
        }
    } else {
        // The temporary file goes into the target's folder; say plainly why that fails.
        const QByteArray folder = nativePath(QFileInfo(path_).absolutePath());
        struct stat dirSt {};
        if (::stat(folder.constData(), &dirSt) != 0) {
            fail(errno);
            return fileErrorText(errno_, path_);
        }
        if (!S_ISDIR(dirSt.st_mode)) {
            fail(ENOTDIR);
            return fileErrorText(errno_, path_);
        }
        if (::access(folder.constData(), W_OK) != 0) {
            fail(errno);
            return fileErrorText(errno_, path_);
        }
        saveFile_ = std::make_unique<QSaveFile>(path_);
        errno = 0;
        if (!saveFile_->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
            fail(errno);
            saveFile_.reset();
            return fileErrorText(errno_, path_);
        }
    }
    QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    return std::nullopt;
}

qint64 AtomicFileWriter::writeData(const char *data, qint64 size)
{
    if (errno_ != 0 || (!saveFile_ && directFd_ < 0))
        return -1;
    qint64 done = 0;
    while (done < size) {
        if (saveFile_) {
            errno = 0;
            const qint64 n = saveFile_->write(data + done, size - done);
            if (n <= 0) {
                int err = errno;
                if (err == 0)
                    err = saveFile_->error() == QFileDevice::ResourceError ? ENOSPC : EIO;
                fail(err);
                return -1;
            }
            done += n;
        } else {
            const ssize_t n = ::write(directFd_, data + done, static_cast<size_t>(size - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                fail(n < 0 ? errno : EIO);
                return -1;
            }
            done += n;
        }
    }
    return done;
}

std::optional<QString> AtomicFileWriter::commit()
{
    if (committed_)
        return std::nullopt;
    if (errno_ == 0 && !saveFile_ && directFd_ < 0)
        fail(EBADF); // never begun
    if (errno_ != 0) {
        discard();
        return fileErrorText(errno_, path_);
    }
    if (saveFile_) {
        // QSaveFile syncs but ignores what the sync says; a full disk or an I/O error may
        // only show here, so the sync is made and checked first.
        if (::fsync(saveFile_->handle()) != 0 && errno != EINVAL && errno != EROFS) {
            fail(errno);
            discard();
            return fileErrorText(errno_, path_);
        }
        errno = 0;
        if (!saveFile_->commit()) {
            // QSaveFile has removed its temporary file.
            fail(errno);
            saveFile_.reset();
            QIODevice::close();
            return fileErrorText(errno_, path_);
        }
        saveFile_.reset();
    } else {
        const int fd = directFd_;
        directFd_ = -1;
        if (::close(fd) != 0 && errno != EINTR) {
            fail(errno);
            QIODevice::close();
            return fileErrorText(errno_, path_);
        }
    }
    committed_ = true;
    QIODevice::close();
    return std::nullopt;
}

void AtomicFileWriter::discard()
{
    if (saveFile_) {
        saveFile_->cancelWriting();
        saveFile_.reset(); // the destructor removes the temporary file
    }
    if (directFd_ >= 0) {
        ::close(directFd_);
        directFd_ = -1;
    }
    if (isOpen())
        QIODevice::close();
}

std::optional<QString> writeWholeFile(const QString &path, const QByteArray &bytes)
{
    AtomicFileWriter writer(path);
    if (auto error = writer.begin())
        return error;
    writer.write(bytes);
    return writer.commit();
}

std::optional<QString> writeFileThrough(const QString &path, const std::function<bool(QIODevice *)> &produce,
                                        const QString &produceFailure)
{
    AtomicFileWriter writer(path);
    if (auto error = writer.begin())
        return error;
    if (!produce(&writer)) {
        writer.discard();
        return produceFailure;
    }
    return writer.commit();
}

std::optional<QString> replaceFileNoFollow(const QString &path, const QByteArray &bytes)
{
    const QFileInfo info(path);
    QByteArray temp = nativePath(info.absolutePath() + QLatin1String("/.") + info.fileName() + QLatin1String(".XXXXXX"));
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return fileErrorText(errno, path);
    // mkostemp makes the file private; give it the mode a new file gets.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    int err = ::fchmod(fd, 0666 & ~mask) == 0 ? 0 : errno;
    for (qsizetype done = 0; err == 0 && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            err = n < 0 ? errno : EIO;
        else
            done += n;
    }
    if (err == 0 && ::fsync(fd) != 0 && errno != EINVAL)
        err = errno;
    if (::close(fd) != 0 && err == 0 && errno != EINTR)
        err = errno;
    // rename() replaces the name itself, a link included, and never follows it.
    if (err == 0 && ::rename(temp.constData(), nativePath(path).constData()) != 0)
        err = errno;
    if (err != 0) {
        ::unlink(temp.constData());
        return fileErrorText(err, path);
    }
    return std::nullopt;
}

std::optional<QString> readWholeFile(const QString &path, QByteArray *out)
{
    const QByteArray native = nativePath(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return fileErrorText(errno, path);
    QByteArray bytes;
    const int err = readUpTo(fd, -1, &bytes);
    ::close(fd);
    if (err != 0)
        return fileErrorText(err, path);
    *out = bytes;
    return std::nullopt;
}

std::optional<QString> refuseBeforeReading(const QString &path)
{
    struct stat st {};
    if (::stat(nativePath(path).constData(), &st) != 0)
        return fileErrorText(errno, path);
    return refusalFor(st);
}

std::optional<QString> readDataFileBytes(const QString &path, QByteArray *out)
{
    if (auto refusal = refuseBeforeReading(path))
        return refusal;
    // Non-blocking: should a FIFO have taken the file's place since, opening it must not wait.
    const int fd = ::open(nativePath(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return fileErrorText(errno, path);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        return fileErrorText(err, path);
    }
    if (auto refusal = refusalFor(st)) {
        ::close(fd);
        return refusal;
    }
    QByteArray bytes;
    // One byte past the limit tells a file that has grown since it was looked at.
    const int err = readUpTo(fd, kMaxDataFileBytes + 1, &bytes);
    ::close(fd);
    if (err != 0)
        return fileErrorText(err, path);
    if (bytes.size() > kMaxDataFileBytes) {
        st.st_size = bytes.size();
        return refusalFor(st);
    }
    *out = bytes;
    return std::nullopt;
}

int readUpTo(int fd, qint64 limit, QByteArray *out)
{
    char buffer[65536];
    while (limit < 0 || out->size() < limit) {
        const qint64 room = limit < 0 ? qint64(sizeof buffer) : qMin<qint64>(sizeof buffer, limit - out->size());
        const ssize_t n = ::read(fd, buffer, static_cast<size_t>(room));
        if (n == 0)
            return 0;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        out->append(buffer, n);
    }
    return 0;
}

} // namespace kelpra
