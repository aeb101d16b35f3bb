#pragma once

#include "data/wire.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <deque>
#include <optional>

namespace kelpra {

// A test set that lives in the program: it answers "DL" with its identification line and
// "B" k with record k, paced as on the line, and can be told to misbehave in named ways.
// It keeps no clock of its own: whoever drives it (the simulated line of the tests, or
// kelpra-testset on a pseudo-terminal) hands it the time a command arrived and puts its
// output on the line when each byte is due.
class VirtualTestSet {
public:
    enum class Fault {
        None,
        Silent,      // answers nothing at all
        Short,       // the fault reply stops after kShortLength bytes
        Slow,        // every reply starts only after slowTurnaroundNs
        Stray,       // a few bytes follow the fault reply after strayGapNs
        Noise,       // the same bytes come first in the fault reply, whatever the timing
        HangUp,      // the line goes away once the fault reply has been sent
        WriteError,  // the program's command for the fault reply cannot be sent
        ReadError,   // reading the first byte of the fault reply fails
    };
    static constexpr int kShortLength = 40;
    static inline const QByteArray kStrayBytes = QByteArray("\xFF\x00\xFF", 3);

    struct Options {
        QByteArray identification;   // empty: the built-in sample set's line
        std::optional<QList<QByteArray>> records;   // records 1, 2, ...; none: the built-in sample set
        int recordSize = wire::kRecordLength;   // every reply is padded to this
        qint64 turnaroundNs = 2'000'000;
        Fault fault = Fault::None;
        int faultReply = 1;          // 0: the identification line; k: record k
        qint64 slowTurnaroundNs = 300'000'000;
        qint64 strayGapNs = 40'000'000;
    };

    // One thing for the line to do: put a byte on it, or hang up.
    struct Output {
        qint64 dueNs;
        bool hangUp = false;
        quint8 byte = 0;
    };

    explicit VirtualTestSet(Options options);

    // Bytes the program sent, arriving at `nowNs`. Each complete command is answered:
    // its reply's bytes join the output, each due one byte time after the one before.
    void receive(const QByteArray &bytes, qint64 nowNs);
    // What the line still has to do, in time order; the driver takes it from the front.
    std::deque<Output> &output() { return output_; }

    // The program's send of `command` fails (WriteError).
    bool refusesCommand(const QByteArray &command) const;
    // The program's read fails at the first byte of the fault reply (ReadError): true once.
    bool failsRead(int replyBeingRead);

    // The reply to command k (0: "DL"), before any fault acts on it.
    QByteArray replyFor(int k) const;
    // What it did, line by line, for the driver to report.
    QStringList takeLog();

    const Options &options() const { return options_; }

    // "silent", "short", "slow", "stray", "hangup", "write-error", "read-error".
    static std::optional<Fault> faultByName(const QString &name);
    static QStringList faultNames();

private:
    void reply(int k, qint64 receivedNs);
    void say(const QString &line) { log_ << line; }

    Options options_;
    QByteArray input_;
    std::deque<Output> output_;
    qint64 lastDueNs_ = 0;
    bool readFailed_ = false;
    QStringList log_;
};

} // namespace kelpra
