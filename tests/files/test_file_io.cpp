// Writing files so that a failure never costs the old file, and refusing what is not a
// data file before reading it.
#include "files/details_file.h"
#include "files/file_io.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kelpra;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool put(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QStringList entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

QByteArray payload(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>('a' + i % 26);
    return bytes;
}

// Runs `write` in a child process whose files may not grow beyond `limit` bytes, with
// SIGXFSZ ignored so that the write fails with EFBIG instead of killing the child. Returns
// what `write` returned: the error text, or "ok".
QString underFileSizeLimit(rlim_t limit, const std::function<std::optional<QString>()> &write)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return QStringLiteral("pipe failed");
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit rl{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &rl);
        const std::optional<QString> error = write();
        const QByteArray text = error ? error->toUtf8() : QByteArray("ok");
        const ssize_t written = ::write(fds[1], text.constData(), static_cast<size_t>(text.size()));
        ::_exit(written == text.size() ? 0 : 1);
    }
    ::close(fds[1]);
    QByteArray text;
    char buffer[256];
    ssize_t n;
    while ((n = ::read(fds[0], buffer, sizeof buffer)) > 0)
        text.append(buffer, n);
    ::close(fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return QStringLiteral("child failed");
    return QString::fromUtf8(text);
}

} // namespace

class TestFileIo : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void replacesAndLeavesNoTemporaryFile();
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();
    void refusedTargets_data();
    void refusedTargets();
    void readOnlyFileIsNotReplaced();
    void fullDeviceIsReported();
    void fifoIsWrittenNotReplaced();
    void openDescriptorIsWrittenInPlace();

    void refusedBeforeReading_data();
    void refusedBeforeReading();
    void detailsFileThatIsNotRegularIsPassedOver_data();
    void detailsFileThatIsNotRegularIsPassedOver();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString here(const QString &name) const { return dir_->filePath(name); }
};

void TestFileIo::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

void TestFileIo::cleanup() { dir_.reset(); }

void TestFileIo::replacesAndLeavesNoTemporaryFile()
{
    const QString path = here(QStringLiteral("data.bin"));
    QVERIFY(!writeWholeFile(path, "first"));
    QCOMPARE(readAll(path), QByteArray("first"));
    QVERIFY(!writeWholeFile(path, payload(5000)));
    QCOMPARE(readAll(path), payload(5000));
    QVERIFY(!writeWholeFile(path, QByteArray()));
    QCOMPARE(QFileInfo(path).size(), 0);
    QCOMPARE(entries(dir_->path()), QStringList{"data.bin"});

    // Through the writer in many small pieces, and a writer dropped before its commit.
    {
        AtomicFileWriter writer(path);
        QVERIFY(!writer.begin());
        for (int i = 0; i < 100; ++i)
            QCOMPARE(writer.write("0123456789"), 10);
        QVERIFY(!writer.commit());
    }
    QCOMPARE(readAll(path), QByteArray("0123456789").repeated(100));
    {
        AtomicFileWriter writer(path);
        QVERIFY(!writer.begin());
        writer.write("never");
    }
    QCOMPARE(readAll(path), QByteArray("0123456789").repeated(100));
    QCOMPARE(entries(dir_->path()), QStringList{"data.bin"});
}

void TestFileIo::failedSaveKeepsOldFile_data()
{
    QTest::addColumn<bool>("inPieces");
    QTest::newRow("one write") << false;
    QTest::newRow("many writes") << true;
}

void TestFileIo::failedSaveKeepsOldFile()
{
    QFETCH(bool, inPieces);
    const QString path = here(QStringLiteral("alldata.bin"));
    const QByteArray old = payload(300);
    QVERIFY(put(path, old));

    const QString result = underFileSizeLimit(1000, [&]() -> std::optional<QString> {
        if (!inPieces)
            return writeWholeFile(path, payload(4000));
        AtomicFileWriter writer(path);
        if (auto error = writer.begin())
            return error;
        for (int i = 0; i < 40; ++i)
            writer.write(payload(100));
        return writer.commit();
    });
    QCOMPARE(result, QStringLiteral("I/O error %1").arg(EFBIG));
    QCOMPARE(readAll(path), old);
    QCOMPARE(entries(dir_->path()), QStringList{"alldata.bin"});
}

void TestFileIo::refusedTargets_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("error");
    QTest::newRow("a folder") << "folder" << "File access denied";
    QTest::newRow("missing folder") << "missing/data.bin" << "Invalid filename";
    QTest::newRow("below a file") << "plain/data.bin" << "Invalid filename";
}

void TestFileIo::refusedTargets()
{
    QFETCH(QString, name);
    QFETCH(QString, error);
    QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("folder")));
    QVERIFY(put(here(QStringLiteral("plain")), "x"));
    QCOMPARE(writeWholeFile(here(name), "bytes"), std::optional<QString>(error));
    QCOMPARE(entries(dir_->path()), (QStringList{"folder", "plain"}));
    QCOMPARE(readAll(here(QStringLiteral("plain"))), QByteArray("x"));
}

void TestFileIo::readOnlyFileIsNotReplaced()
{
    if (::geteuid() == 0)
        QSKIP("root may write anywhere");
    const QString path = here(QStringLiteral("locked.bin"));
    QVERIFY(put(path, "old"));
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
    QCOMPARE(writeWholeFile(path, "new"), std::optional<QString>(QStringLiteral("File access denied")));
    QCOMPARE(readAll(path), QByteArray("old"));
    // A folder that may not be written: no temporary file can go there.
    QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("ro")));
    QVERIFY(QFile::setPermissions(here(QStringLiteral("ro")), QFile::ReadOwner | QFile::ExeOwner));
    QCOMPARE(writeWholeFile(here(QStringLiteral("ro/new.bin")), "new"),
             std::optional<QString>(QStringLiteral("File access denied")));
    QVERIFY(QFile::setPermissions(here(QStringLiteral("ro")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

void TestFileIo::fullDeviceIsReported()
{
    if (!QFileInfo::exists(QStringLiteral("/dev/full")))
        QSKIP("no /dev/full here");
    QCOMPARE(writeWholeFile(QStringLiteral("/dev/full"), "bytes"), std::optional<QString>(QStringLiteral("Disk full")));
    AtomicFileWriter writer(QStringLiteral("/dev/full"));
    QVERIFY(!writer.begin());
    QCOMPARE(writer.write("abc"), -1);
    // The first failure sticks.
    QCOMPARE(writer.write("def"), -1);
    QCOMPARE(writer.commit(), std::optional<QString>(QStringLiteral("Disk full")));
}

void TestFileIo::fifoIsWrittenNotReplaced()
{
    const QString path = here(QStringLiteral("pipe"));
    QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    // The reading end is open first, so the writer's open does not wait.
    const int reader = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
    QVERIFY(reader >= 0);
    QVERIFY(!writeWholeFile(path, "through the pipe"));
    char buffer[64];
    const ssize_t n = ::read(reader, buffer, sizeof buffer);
    ::close(reader);
    QCOMPARE(QByteArray(buffer, int(qMax<ssize_t>(n, 0))), QByteArray("through the pipe"));
    struct stat st {};
    QCOMPARE(::lstat(QFile::encodeName(path).constData(), &st), 0);
    QVERIFY(S_ISFIFO(st.st_mode));
    QCOMPARE(entries(dir_->path()), QStringList{"pipe"});
}

void TestFileIo::openDescriptorIsWrittenInPlace()
{
    // As with --output /dev/stdout when standard output goes to a file: the file the
    // descriptor holds gets the bytes after what it has, and is not replaced.
    const QString path = here(QStringLiteral("stdout.txt"));
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, "id line\n", 8), ssize_t(8));
    struct stat before {};
    ::fstat(fd, &before);
    const std::optional<QString> error = writeWholeFile(QStringLiteral("/proc/self/fd/%1").arg(fd), "report\r\n");
    struct stat after {};
    ::stat(QFile::encodeName(path).constData(), &after);
    ::close(fd);
    QVERIFY2(!error, qPrintable(error.value_or(QString())));
    QCOMPARE(after.st_ino, before.st_ino);
    QCOMPARE(readAll(path), QByteArray("id line\nreport\r\n"));
    QCOMPARE(entries(dir_->path()), QStringList{"stdout.txt"});
}

void TestFileIo::refusedBeforeReading_data()
{
    QTest::addColumn<QString>("name"); // in the test's folder, or an absolute path
    QTest::addColumn<QString>("reason");
    QTest::newRow("folder") << "folder" << "Not a data file: it is a folder";
    QTest::newRow("FIFO without a writer") << "pipe" << "Not a data file: it is a named pipe";
    QTest::newRow("/dev/zero") << "/dev/zero" << "Not a data file: it is a device";
    QTest::newRow("2 MiB") << "huge.bin" << "Not a data file: at 2097152 bytes it is far larger than any data file";
    QTest::newRow("missing") << "missing.bin" << "File not found";
    QTest::newRow("small file") << "small.bin" << "";
    QTest::newRow("exactly 1 MiB") << "limit.bin" << "";
}

void TestFileIo::refusedBeforeReading()
{
    QFETCH(QString, name);
    QFETCH(QString, reason);
    QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("folder")));
    QCOMPARE(::mkfifo(QFile::encodeName(here(QStringLiteral("pipe"))).constData(), 0600), 0);
    QVERIFY(put(here(QStringLiteral("small.bin")), "0\r\n"));
    QFile huge(here(QStringLiteral("huge.bin")));
    QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(2 * 1024 * 1024));
    huge.close();
    QFile limit(here(QStringLiteral("limit.bin")));
    QVERIFY(limit.open(QIODevice::WriteOnly) && limit.resize(kMaxDataFileBytes));
    limit.close();

    const QString path = QFileInfo(name).isAbsolute() ? name : here(name);
    const std::optional<QString> refusal = refuseBeforeReading(path);
    QByteArray bytes = "untouched";
    const std::optional<QString> readError = readDataFileBytes(path, &bytes);
    if (reason.isEmpty()) {
        QVERIFY2(!refusal, qPrintable(refusal.value_or(QString())));
        QVERIFY2(!readError, qPrintable(readError.value_or(QString())));
        QCOMPARE(bytes, readAll(path));
        return;
    }
    QVERIFY(refusal);
    QVERIFY2(refusal->startsWith(reason), qPrintable(*refusal));
    QCOMPARE(readError, refusal);
    QCOMPARE(bytes, QByteArray("untouched"));
}

void TestFileIo::detailsFileThatIsNotRegularIsPassedOver_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("folder") << "folder";
    QTest::newRow("FIFO without a writer") << "fifo";
    QTest::newRow("missing") << "missing";
    QTest::newRow("regular") << "regular";
}

void TestFileIo::detailsFileThatIsNotRegularIsPassedOver()
{
    QFETCH(QString, kind);
    const QString path = here(QStringLiteral("details.txt"));
    if (kind == QLatin1String("folder"))
        QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("details.txt")));
    else if (kind == QLatin1String("fifo"))
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (kind == QLatin1String("regular"))
        QVERIFY(put(path, "Co\r\nTel\r\n"));
    const DetailsLoad load = loadDetailsFile(path);
    QCOMPARE(load.error, QString());
    const ControllerLines expected =
        kind == QLatin1String("regular") ? ControllerLines{"Co", "Tel", "", ""} : ControllerLines{};
    QVERIFY(load.lines == expected);
}

QTEST_GUILESS_MAIN(TestFileIo)
#include "test_file_io.moc"
