// kelpra-testset: a virtual Kelpra GMDSS test set on a pseudo-terminal.
//
// Prints the pseudo-terminal's device path on the first line of stdout, then answers
// "DL" with a 64-byte identification reply and "B" + byte k with record k, paced as on a
// 19200 bit/s line (10 bits a byte). Faults can be switched on to exercise the program's
// error paths. What it does goes to stderr.

#include "data/wire.h"
#include "files/data_file.h"
#include "files/file_io.h"
#include "testset/virtual_test_set.h"

#include <QByteArray>
#include <QList>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <deque>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace {

using kelpra::VirtualTestSet;

constexpr qint64 kNsPerMs = 1000000;
// How long the line must have been read empty before a hang-up without a next command:
// the kernel drops what the other end has not read yet, and on a loaded machine bytes may
// sit in the pseudo-terminal's buffers, not yet counted as waiting, for a while.
constexpr qint64 kDrainedNs = 1000 * kNsPerMs;

volatile std::sig_atomic_t g_stop = 0;
void onSignal(int) { g_stop = 1; }

qint64 now()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

qint64 g_start = 0;

void say(const char *fmt, ...) __attribute__((format(printf, 1, 2)));
void say(const char *fmt, ...)
{
    std::fprintf(stderr, "[%9.3f] ", double(now() - g_start) / 1e6);
    va_list args;
    va_start(args, fmt);
    std::vfprintf(stderr, fmt, args);
    va_end(args);
    std::fputc('\n', stderr);
}

struct Options {
    QString recordsFile;
    VirtualTestSet::Options set;
    double maxSeconds = 0;
};

void usage()
{
    std::fprintf(stderr,
                 "usage: kelpra-testset [options]\n"
                 "  --records FILE      answer with the records of a full-set data file\n"
                 "  --identification T  answer DL with the bytes of T (default: the sample set's line)\n"
                 "  --record-size N     pad every reply to N bytes (at least 64)\n"
                 "  --turnaround MS     pause between a command and its reply (default 2)\n"
                 "  --fault NAME        silent | short | slow | stray | noise | hangup\n"
                 "  --fault-record K    reply that short/stray/noise/hangup act on (0 = DL; default 1)\n"
                 "  --delay MS          turnaround under --fault slow (default 300)\n"
                 "  --stray-gap MS      pause before the stray bytes (default 40)\n"
                 "  --max-seconds S     exit after S seconds\n");
}

bool parseOptions(int argc, char **argv, Options &o)
{
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> const char * { return i + 1 < argc ? argv[++i] : nullptr; };
        const char *v = nullptr;
        if (a == "--help" || a == "-h") {
            usage();
            std::exit(0);
        } else if (a == "--records" && (v = value())) {
            o.recordsFile = QString::fromLocal8Bit(v);
        } else if (a == "--identification" && (v = value())) {
            o.set.identification = QByteArray(v);
        } else if (a == "--record-size" && (v = value())) {
            o.set.recordSize = std::max(int(kelpra::wire::kRecordLength), std::atoi(v));
        } else if (a == "--turnaround" && (v = value())) {
            o.set.turnaroundNs = std::max(0, std::atoi(v)) * kNsPerMs;
        } else if (a == "--fault" && (v = value())) {
            const std::optional<VirtualTestSet::Fault> fault = VirtualTestSet::faultByName(QString::fromLatin1(v));
            if (!fault)
                return false;
            // A pseudo-terminal cannot make the other end's writes or reads fail.
            if (*fault == VirtualTestSet::Fault::WriteError || *fault == VirtualTestSet::Fault::ReadError) {
                std::fprintf(stderr, "kelpra-testset: --fault %s exists only on the tests' simulated line; "
                                     "use hangup on a pseudo-terminal\n", v);
                return false;
            }
            o.set.fault = *fault;
        } else if (a == "--fault-record" && (v = value())) {
            o.set.faultReply = std::atoi(v);
        } else if (a == "--delay" && (v = value())) {
            o.set.slowTurnaroundNs = std::max(0, std::atoi(v)) * kNsPerMs;
        } else if (a == "--stray-gap" && (v = value())) {
            o.set.strayGapNs = std::max(0, std::atoi(v)) * kNsPerMs;
        } else if (a == "--max-seconds" && (v = value())) {
            o.maxSeconds = std::atof(v);
        } else {
            return false;
        }
    }
    return true;
}

// The records of a data file saved by the program (either kind), read as "Open data"
// reads them, so that the virtual test set plays back exactly what a user saved, records
// holding 13, 10 included.
bool loadRecords(const QString &path, std::optional<QList<QByteArray>> &records)
{
    QByteArray all;
    if (const std::optional<QString> error = kelpra::readDataFileBytes(path, &all)) {
        say("cannot read %s: %s", qPrintable(path), qPrintable(*error));
        return false;
    }
    const kelpra::DataFileParse parsed = kelpra::parseDataFile(all, kelpra::DataFileReading{path, false});
    if (!parsed.file) {
        say("%s is not a data file: %s", qPrintable(path), qPrintable(parsed.error));
        return false;
    }
    if (!parsed.note.isEmpty())
        say("%s", qPrintable(parsed.note));
    records = parsed.file->records;
    say("%lld records from %s", static_cast<long long>(records->size()), qPrintable(path));
    return true;
}

// Drives the virtual test set on the master side of a pseudo-terminal: the program's
// commands come in as they are read, and each byte of the replies goes out when it is due.
class TestSet {
public:
    TestSet(VirtualTestSet &set, double maxSeconds, int master, int slave)
        : set_(set), maxSeconds_(maxSeconds), master_(master), slave_(slave) {}

    int run()
    {
        const qint64 end = maxSeconds_ > 0 ? g_start + qint64(maxSeconds_ * 1e9) : 0;
        std::deque<VirtualTestSet::Output> &out = set_.output();
        while (!g_stop) {
            qint64 t = now();
            if (end && t >= end) {
                say("--max-seconds reached");
                break;
            }
            while (!out.empty() && out.front().dueNs <= t) {
                const VirtualTestSet::Output item = out.front();
                if (item.hangUp) {
                    out.pop_front();
                    hangupPending_ = true;
                    drainedSince_ = 0;
                    continue;
                }
                const char c = static_cast<char>(item.byte);
                const ssize_t n = ::write(master_, &c, 1);
                if (n != 1) {
                    if (errno == EAGAIN || errno == EINTR)
                        break; // the line is full; the remaining bytes follow late
                    say("write failed: %s", std::strerror(errno));
                    return 1;
                }
                out.pop_front();
            }
            t = now();
            if (hangupPending_ && (hangupNow_ || drained(t))) {
                say("hanging up");
                return 0;
            }
            qint64 wait = hangupPending_ ? kNsPerMs : 100 * kNsPerMs;
            if (!out.empty())
                wait = std::min(wait, std::max<qint64>(0, out.front().dueNs - t));
            if (end)
                wait = std::min(wait, std::max<qint64>(0, end - t));
            timespec ts{static_cast<time_t>(wait / 1000000000LL), static_cast<long>(wait % 1000000000LL)};
            pollfd p{master_, POLLIN, 0};
            const int r = ppoll(&p, 1, &ts, nullptr);
            if (r < 0) {
                if (errno == EINTR)
                    continue;
                say("poll failed: %s", std::strerror(errno));
                return 1;
            }
            if (r > 0 && (p.revents & POLLIN)) {
                char buf[256];
                const ssize_t n = ::read(master_, buf, sizeof buf);
                if (n > 0) {
                    handle(QByteArray(buf, static_cast<int>(n)), now());
                } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
                    // Nobody holds the other end (cannot happen while we keep it open).
                    usleep(10000);
                }
            }
        }
        say("stopping");
        return 0;
    }

private:
    // True once the other end has read everything sent and the line has stayed so for a
    // while: only then may the hang-up come without taking bytes with it.
    bool drained(qint64 t)
    {
        int waiting = 0;
        if (!set_.output().empty() || ::ioctl(slave_, FIONREAD, &waiting) != 0 || waiting > 0) {
            drainedSince_ = 0;
            return false;
        }
        if (drainedSince_ == 0)
            drainedSince_ = t;
        return t - drainedSince_ >= kDrainedNs;
    }

    void handle(const QByteArray &input, qint64 received)
    {
        if (hangupPending_) {
            // The next command shows that the reply before the hang-up has been taken in.
            say("command after the last reply");
            hangupNow_ = true;
            return;
        }
        set_.receive(input, received);
        for (const QString &line : set_.takeLog())
            say("%s", qPrintable(line));
    }

    VirtualTestSet &set_;
    double maxSeconds_;
    int master_;
    int slave_;
    bool hangupPending_ = false;
    bool hangupNow_ = false;
    qint64 drainedSince_ = 0;
};

} // namespace

int main(int argc, char **argv)
{
    g_start = now();
    Options options;
    if (!parseOptions(argc, argv, options)) {
        usage();
        return 2;
    }

    if (!options.recordsFile.isEmpty() && !loadRecords(options.recordsFile, options.set.records))
        return 2;

    int master = -1;
    int slave = -1;
    char name[256] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        std::fprintf(stderr, "openpty failed: %s\n", std::strerror(errno));
        return 1;
    }
    // Raw 8-bit line: no echo, no CR/LF translation, nothing special about any byte.
    termios tio{};
    tcgetattr(slave, &tio);
    cfmakeraw(&tio);
    cfsetispeed(&tio, B19200);
    cfsetospeed(&tio, B19200);
    tcsetattr(slave, TCSANOW, &tio);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    // The slave stays open here as well, so the program may open and close it at will
    // without the master seeing a hang-up.

    struct sigaction sa{};
    sa.sa_handler = onSignal;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);

    std::printf("%s\n", name);
    std::fflush(stdout);
    say("listening on %s", name);

    VirtualTestSet virtualSet(options.set);
    TestSet set(virtualSet, options.maxSeconds, master, slave);
    const int rc = set.run();
    ::close(master);
    ::close(slave);
    return rc;
}
