// kelpra-bench-archive: fills a survey archive with surveys of 16 random calls and times
// what the program and kelpra-tool do with it: archive one survey, find by MMSI, find by
// a part of the vessel name, open one survey. Prints medians and the archive's size.
//
// usage: kelpra-bench-archive --database PATH|postgresql://... [--surveys N] [--runs N]
// An archive that holds surveys already is filled up to N.

#include "archive/survey_archive.h"
#include "data/text8.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace kelpra;

namespace {

QRandomGenerator rng(20240523);

int pick(int below)
{
    return int(rng.bounded(below));
}

// A ship: its MMSI as five identity symbols (MID 201..775, tenth digit 0) and a name,
// some of them Cyrillic.
struct Ship {
    QList<int> identity;
    QString mmsi;
    QByteArray name;
};

Ship randomShip()
{
    Ship ship;
    ship.mmsi = QString::number(201 + pick(575)) + QStringLiteral("%1").arg(pick(1000000), 6, 10, QLatin1Char('0'));
    const QString digits = ship.mmsi + QLatin1Char('0');
    for (int i = 0; i < 10; i += 2)
        ship.identity << digits.mid(i, 2).toInt();
    static const QStringList latin{"Bal", "tic", "Nor", "dic", "Star", "Sea", "Mar", "ina", "Vik", "ing", "Ocean",
                                   "Pearl", "Wind", "Cape", "Horn", "Lady", "Gulf", "Stream"};
    static const QStringList cyrillic{"Мор", "ская", "Звез", "да", "Вол", "га", "Ка", "пи", "тан", "Се", "вер",
                                      "Нева", "Ла", "до", "га", "Бе", "рег"};
    const QStringList &syllables = pick(10) < 3 ? cyrillic : latin;
    QString name;
    for (int i = 0, n = 2 + pick(3); i < n; ++i)
        name += syllables[pick(syllables.size())];
    name += QLatin1Char(' ') + QString::number(1 + pick(99));
    ship.name = toText8(name);
    return ship;
}

// One record as the test set sends it: a call or a distress alert from the ship, with
// random symbols in the other places.
QByteArray randomRecord(const Ship &ship)
{
    QByteArray bytes = QStringLiteral("%1 %2%3%4 %5%6 %7 12577.0 kHZ   ")
                           .arg(pick(100), 2, 10, QLatin1Char('0'))
                           .arg(1 + pick(28), 2, 10, QLatin1Char('0'))
                           .arg(1 + pick(12), 2, 10, QLatin1Char('0'))
                           .arg(pick(30), 2, 10, QLatin1Char('0'))
                           .arg(pick(24), 2, 10, QLatin1Char('0'))
                           .arg(pick(60), 2, 10, QLatin1Char('0'))
                           .arg(pick(2))
                           .toLatin1();
    bytes += char(pick(256));
    bytes += QByteArray(6, char(125));
    const bool distress = pick(8) == 0;
    const int format = distress ? 112 : 120;
    bytes += char(format);
    bytes += char(format);
    QList<int> symbols;
    if (distress) {
        symbols << ship.identity;
        for (int i = 0; i < 9; ++i)
            symbols << pick(100);
        symbols << 100 << 117;
    } else {
        for (int i = 0; i < 5; ++i)
            symbols << pick(100);
        symbols << 100 << ship.identity << 100 << 126;
        for (int i = 0; i < 6; ++i)
            symbols << pick(100);
        symbols << 117;
    }
    int ecc = format;
    for (int s : symbols)
        ecc ^= s;
    for (int s : symbols)
        bytes += char(s);
    bytes += char(pick(4) ? ecc : pick(128));
    bytes += char(117);
    bytes += char(117);
    while (bytes.size() < 64)
        bytes += char(0);
    return bytes;
}

Survey randomSurvey(const Ship &ship, qint64 n)
{
    Survey s;
    s.origin = pick(2) ? SurveyOrigin::Download : SurveyOrigin::File;
    s.source = s.origin == SurveyOrigin::Download ? QStringLiteral("/dev/ttyUSB0")
                                                  : QStringLiteral("survey%1.bin").arg(n);
    s.time = QDateTime(QDate(2020, 1, 1), QTime(8, 0), Qt::UTC).addSecs(n * 1200);
    s.identification = "GMDSS TESTER S/N 042 rev 1.4";
    for (int i = 0; i < 16; ++i)
        s.records << randomRecord(ship);
    s.station = {"Sailor 6222", "SN-" + QByteArray::number(n), "Thrane", ship.name, "Owner", "5000 t", "Riga",
                 "+371"};
    s.controller = {"Survey Co", "+1 555", "Harbour 2", "Ivan Petrov"};
    return s;
}

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    const qsizetype n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// The median time of `runs` calls, in milliseconds.
double timed(int runs, const std::function<void(int)> &step)
{
    QList<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        step(i);
        ms << t.nsecsElapsed() / 1e6;
    }
    return median(ms);
}

[[noreturn]] void fail(const QString &what)
{
    std::fprintf(stderr, "kelpra-bench-archive: %s\n", qPrintable(what));
    std::exit(2);
}

void check(const std::optional<QString> &error)
{
    if (error)
        fail(*error);
}

qint64 archiveBytes(const ArchiveLocation &at)
{
    if (at.kind == ArchiveLocation::Kind::SQLite)
        return QFileInfo(at.path).size() + QFileInfo(at.path + QStringLiteral("-wal")).size();
    qint64 size = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("size"));
        db.setHostName(at.host);
        db.setPort(at.port);
        db.setUserName(at.user);
        db.setDatabaseName(at.database);
        QSqlQuery q(db);
        if (db.open() && q.exec(QStringLiteral("SELECT pg_database_size(current_database())")) && q.next())
            size = q.value(0).toLongLong();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("size"));
    return size;
}

// What one durable commit costs on this disk at least: SQLite and PostgreSQL both wait
// for a flush of their log before a commit returns.
double flushMs(const QString &folder)
{
    QFile file(folder + QStringLiteral("/kelpra-bench-flush"));
    if (!file.open(QIODevice::WriteOnly))
        return -1;
    const double ms = timed(21, [&](int) {
        file.write(QByteArray(4096, 'x'));
        file.flush();
        ::fdatasync(file.handle());
    });
    file.remove();
    return ms;
}

void line(const char *what, double ms, const char *goal)
{
    std::printf("%-22s median %8.2f ms%s\n", what, ms, goal);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QString database;
    int surveys = 100000;
    int runs = 101;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--database"))
            database = args[i + 1];
        else if (args[i] == QLatin1String("--surveys"))
            surveys = std::max(1, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--runs"))
            runs = std::max(1, args[i + 1].toInt());
    }
    const ArchiveLocationParse place = parseArchiveLocation(database);
    if (database.isEmpty() || !place.location)
        fail(QStringLiteral("usage: kelpra-bench-archive --database PATH|postgresql://... [--surveys N] [--runs N]"));
    std::unique_ptr<SurveyArchive> archive;
    check(SurveyArchive::open(*place.location, &archive));

    // Fill up to the number of surveys in batches (one transaction each) to get to the
    // size quickly; the timing of a single survey below uses the program's own path, one
    // transaction per survey.
    QList<SurveySummary> all;
    check(archive->find({}, &all));
    QList<Ship> ships;
    for (const SurveySummary &s : all) {
        ArchivedSurvey kept;
        check(archive->survey(s.id, &kept));
        Ship ship;
        ship.name = kept.latest().station[3];
        ship.mmsi = kept.records.constFirst().selfMmsi;
        ships << ship;
    }
    QElapsedTimer fill;
    fill.start();
    constexpr int kBatch = 500;
    for (int done = int(all.size()); done < surveys; done += kBatch) {
        QList<Survey> batch;
        for (int i = done; i < std::min(surveys, done + kBatch); ++i) {
            ships << randomShip();
            batch << randomSurvey(ships.constLast(), i);
        }
        QList<ArchiveAdd> added;
        check(archive->addAll(batch, &added));
        if ((done + kBatch) % 10000 == 0)
            std::fprintf(stderr, "%d surveys archived\n", done + kBatch);
    }
    std::printf("%s: %d surveys of 16 records, filled in %.0f s; medians of %d runs\n",
                qPrintable(place.location->text()), surveys, fill.elapsed() / 1000.0, runs);

    check(archive->find({}, &all));
    QList<qint64> ids;
    for (const SurveySummary &s : all)
        ids << s.id;

    line("archive one survey", timed(runs, [&](int i) {
             ArchiveAdd added;
             check(archive->add(randomSurvey(randomShip(), surveys + i), &added));
         }),
         "   (goal < 5 ms)");
    int hits = 0;
    line("find by MMSI", timed(runs, [&](int) {
             SurveyQuery q;
             q.mmsi = ships[pick(ships.size())].mmsi;
             QList<SurveySummary> found;
             check(archive->find(q, &found));
             hits += found.size();
         }),
         "   (goal < 20 ms)");
    std::printf("%-22s %8.1f surveys a search\n", "", double(hits) / runs);
    hits = 0;
    line("find by vessel part", timed(runs, [&](int) {
             SurveyQuery q;
             const QString name = fromText8(ships[pick(ships.size())].name);
             q.vesselPart = name.mid(pick(std::max(1, int(name.size()) - 5)), 5).toUpper();
             QList<SurveySummary> found;
             check(archive->find(q, &found));
             hits += found.size();
         }),
         "   (goal < 100 ms)");
    std::printf("%-22s %8.1f surveys a search\n", "", double(hits) / runs);
    line("open one survey", timed(runs, [&](int) {
             ArchivedSurvey s;
             check(archive->survey(ids[pick(ids.size())], &s));
         }),
         "");
    archive.reset();
    std::printf("%-22s %8.1f MiB\n", "size", archiveBytes(*place.location) / 1048576.0);
    const QString folder = place.location->kind == ArchiveLocation::Kind::SQLite
                               ? QFileInfo(place.location->path).absolutePath()
                               : qEnvironmentVariable("KELPRA_BENCH_FLUSH_DIR", QDir::tempPath());
    std::printf("%-22s median %8.2f ms   (4 KiB written and flushed in %s)\n", "disk flush", flushMs(folder),
                qPrintable(folder));
    return 0;
}
