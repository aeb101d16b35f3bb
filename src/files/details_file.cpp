#include "details_file.h"

#include "files/file_io.h"
#include "files/line_reader.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelpra {

QString detailsFilePath()
{
    return QDir::currentPath() + QStringLiteral("/details.txt");
}

ControllerLines parseDetailsFile(const QByteArray &bytes)
{
    LineReader reader(bytes);
    ControllerLines lines;
    for (QByteArray &line : lines)
        line = reader.readTextLine();
    return lines;
}

DetailsLoad loadDetailsFile(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::stat(native.constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    // Non-blocking: a FIFO put in its place since must not hold up the start.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return {};
    }
    DetailsLoad load;
    QByteArray bytes;
    if (const int err = readUpTo(fd, kMaxDataFileBytes, &bytes))
        load.error = fileErrorText(err, path);
    ::close(fd);
    load.lines = parseDetailsFile(bytes);
    return load;
}

QByteArray buildDetailsFile(const ControllerLines &lines)
{
    QByteArray out;
    for (const QByteArray &line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

} // namespace kelpra
