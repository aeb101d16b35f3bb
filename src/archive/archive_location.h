#pragma once

#include <QString>

#include <optional>

namespace kelpra {

// Where the survey archive lives: an SQLite file, or a database on a PostgreSQL server.
// A password is never part of it: libpq finds it in ~/.pgpass or PGPASSWORD.
struct ArchiveLocation {
    enum class Kind { SQLite, PostgreSQL };
    Kind kind = Kind::SQLite;
    QString path; // SQLite: the file, absolute
    // PostgreSQL: what the address gives; what it leaves out comes from libpq's own
    // defaults (PGHOST, PGPORT, PGUSER, PGDATABASE, the login name).
    QString user;
    QString host;
    int port = -1;
    QString database;

    // The location as the user writes it: the file path, or postgresql://user@host:port/db.
    QString text() const;
    bool operator==(const ArchiveLocation &other) const { return text() == other.text(); }
};

struct ArchiveLocationParse {
    std::optional<ArchiveLocation> location;
    QString error; // set when `location` is empty
};

// The environment variable that points this run at another archive.
inline constexpr char kArchiveEnvironment[] = "KELPRA_ARCHIVE";

// <user data folder>/kelpra/archive.sqlite, e.g. ~/.local/share/kelpra/archive.sqlite; the
// same for the window and kelpra-tool whatever their application names.
QString defaultArchivePath();
// The retry queue of surveys not yet archived: beside the default SQLite file, on this
// machine, wherever the archive itself lives.
QString archiveQueuePath();

// A location as typed on the settings page or given to kelpra-tool --database: a
// postgresql:// (or postgres://) address, or else the path of an SQLite file (a leading ~/
// is the home folder; a relative path counts from the current folder). Empty text is the
// default SQLite file.
ArchiveLocationParse parseArchiveLocation(const QString &text);

// The archive this program uses: KELPRA_ARCHIVE when set, else the location saved from the
// settings page, else the default SQLite file.
ArchiveLocationParse configuredArchiveLocation();

// The location saved from the settings page (empty: the default), kept with the user's
// other Kelpra settings.
QString archiveLocationSetting();
// Saves it after checking it; the error text when it is not a location or cannot be saved.
std::optional<QString> setArchiveLocationSetting(const QString &text);

} // namespace kelpra
