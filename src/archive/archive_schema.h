#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace kelpra {

// One step of the archive's schema. The statements are written once for both databases:
// {id} stands for the type of a generated key, {blob} for a byte-string type, and the
// archive puts in SQLite's or PostgreSQL's word.
struct ArchiveMigration {
    int version = 0;
    QStringList statements;
};

// The migrations this program knows, version 1 upward; the last one's version is the
// schema it works with.
QList<ArchiveMigration> archiveMigrations();

// The station-data columns: the eight station lines (RadioType ... VTel), then the four
// controller lines (CCompany ... Engineer).
inline constexpr int kStationDataColumns = 12;
extern const char *const kStationDataColumnNames[kStationDataColumns];

} // namespace kelpra
