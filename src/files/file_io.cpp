#include "file_io.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace kelpra {

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

std::optional<QString> writeWholeFile(const QString &path, const QByteArray &bytes)
{
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return fileErrorText(errno, path);
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            ::close(fd);
            return fileErrorText(err, path);
        }
        data += n;
        left -= n;
    }
    if (::close(fd) != 0 && errno != EINTR)
        return fileErrorText(errno, path);
    return std::nullopt;
}

std::optional<QString> readWholeFile(const QString &path, QByteArray *out)
{
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return fileErrorText(errno, path);
    QByteArray bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            ::close(fd);
            return fileErrorText(err, path);
        }
        bytes.append(buffer, n);
    }
    ::close(fd);
    *out = bytes;
    return std::nullopt;
}

} // namespace kelpra
