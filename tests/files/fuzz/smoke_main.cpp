// Replays the fuzz target without libFuzzer, so every build runs it: the committed seeds,
// every prefix of each seed, and a few thousand inputs mutated from them by a fixed
// pseudo-random sequence. A failed check inside the target aborts the process; with
// KELPRA_FUZZ_KEEP_INPUT set to a file name, the input that did it is left there.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace {

void run(const QByteArray &input)
{
    // Each input is kept here before it runs, so the one that aborts can be replayed.
    static const QString keep = qEnvironmentVariable("KELPRA_FUZZ_KEEP_INPUT");
    if (!keep.isEmpty()) {
        QFile file(keep);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(input);
    }
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(input.constData()),
                           static_cast<size_t>(input.size()));
}

struct Rng {
    uint64_t state;
    uint32_t next()
    {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return static_cast<uint32_t>(state);
    }
    uint32_t below(uint32_t n) { return n == 0 ? 0 : next() % n; }
};

QByteArray mutate(QByteArray input, Rng &rng, const QList<QByteArray> &seeds)
{
    static const char interesting[] = {'\r', '\n', '\0', '\xff', '0', '1', ' ', '-'};
    const int steps = 1 + static_cast<int>(rng.below(8));
    for (int s = 0; s < steps; ++s) {
        const qsizetype pos = rng.below(static_cast<uint32_t>(input.size() + 1));
        switch (rng.below(6)) {
        case 0: // overwrite a byte
            if (!input.isEmpty())
                input[qMin(pos, input.size() - 1)] = static_cast<char>(rng.below(256));
            break;
        case 1: // insert a byte that matters to line splitting
            input.insert(pos, interesting[rng.below(sizeof interesting)]);
            break;
        case 2: // insert a line end or a "dataend" line
            input.insert(pos, rng.below(2) ? QByteArray("\r\n") : QByteArray("dataend\r\n"));
            break;
        case 3: // delete a run
            input.remove(pos, rng.below(40));
            break;
        case 4: // splice in part of another seed
            if (!seeds.isEmpty()) {
                const QByteArray &other = seeds[rng.below(static_cast<uint32_t>(seeds.size()))];
                input.insert(pos, other.mid(rng.below(static_cast<uint32_t>(other.size() + 1)), rng.below(200)));
            }
            break;
        default: // a long run without a line end
            input.insert(pos, QByteArray(static_cast<qsizetype>(rng.below(300)), static_cast<char>(rng.below(256))));
            break;
        }
    }
    return input;
}

} // namespace

int main()
{
    QList<QByteArray> seeds;
    const QDir corpus(QStringLiteral(KELPRA_FUZZ_CORPUS));
    for (const QString &name : corpus.entryList(QDir::Files, QDir::Name)) {
        QFile file(corpus.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            seeds << file.readAll();
    }
    if (seeds.size() < 3) {
        std::fprintf(stderr, "seed corpus missing or incomplete: %s\n", KELPRA_FUZZ_CORPUS);
        return 1;
    }

    int runs = 0;
    for (const QByteArray &seed : seeds) {
        for (qsizetype n = 0; n <= seed.size(); ++n, ++runs)
            run(seed.left(n));
    }
    Rng rng{0x9e3779b97f4a7c15ull};
    for (int i = 0; i < 5000; ++i, ++runs)
        run(mutate(seeds[rng.below(static_cast<uint32_t>(seeds.size()))], rng, seeds));
    for (int i = 0; i < 1000; ++i, ++runs) {
        QByteArray noise(static_cast<qsizetype>(rng.below(400)), '\0');
        for (char &c : noise)
            c = static_cast<char>(rng.below(4) == 0 ? "01\r\n"[rng.below(4)] : rng.below(256));
        run(noise);
    }
    std::printf("%d inputs replayed\n", runs);
    return 0;
}
