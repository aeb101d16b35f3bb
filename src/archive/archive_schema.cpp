#include "archive/archive_schema.h"

namespace kelpra {

const char *const kStationDataColumnNames[kStationDataColumns] = {
    "radio_type", "radio_sn", "radio_man", "vessel_name", "company_owner", "v_category",
    "v_comp_add", "v_tel",      "c_company", "c_tel",       "c_address",     "engineer",
};

namespace {

QString stationDataTable()
{
    // Byte strings: the lines are 8-bit text as typed (Windows-1251), kept byte for byte.
    QString columns;
    for (const char *name : kStationDataColumnNames)
        columns += QStringLiteral(", %1 {blob} NOT NULL").arg(QLatin1String(name));
    return QStringLiteral("CREATE TABLE station_data (id {id}, survey_id BIGINT NOT NULL REFERENCES surveys (id), "
                          "recorded TEXT NOT NULL, program_version TEXT NOT NULL%1)")
        .arg(columns);
}

} // namespace

QList<ArchiveMigration> archiveMigrations()
{
    // Times are text, "yyyy-MM-ddTHH:mm:ssZ" in UTC, so that both databases compare and
    // index them alike; a day's range is then a range of strings.
    // surveys.vessel, vessel_folded and radio repeat the latest station data for the
    // results list and the vessel search: vessel_folded is case-folded here, since
    // SQLite's LIKE folds ASCII only and PostgreSQL's not at all.
    return {
        {1,
         {QStringLiteral("CREATE TABLE surveys (id {id}, identity TEXT NOT NULL UNIQUE, archived TEXT NOT NULL, "
                         "origin TEXT NOT NULL, source TEXT NOT NULL, identification {blob} NOT NULL, "
                         "program_version TEXT NOT NULL, record_count INTEGER NOT NULL, "
                         "pass_count INTEGER NOT NULL, warn_count INTEGER NOT NULL, fail_count INTEGER NOT NULL, "
                         "worst TEXT, vessel TEXT NOT NULL, vessel_folded TEXT NOT NULL, radio TEXT NOT NULL)"),
          QStringLiteral("CREATE INDEX surveys_archived ON surveys (archived)"),
          // A part of a name matches anywhere, so no index can seek it; this one is a
          // narrow copy of the names that SQLite scans instead of the table.
          QStringLiteral("CREATE INDEX surveys_vessel ON surveys (vessel_folded)"),
          QStringLiteral("CREATE TABLE records (survey_id BIGINT NOT NULL REFERENCES surveys (id), "
                         "slot INTEGER NOT NULL, bytes {blob} NOT NULL, verdict TEXT, findings TEXT NOT NULL, "
                         "self_mmsi TEXT, PRIMARY KEY (survey_id, slot))"),
          QStringLiteral("CREATE INDEX records_self_mmsi ON records (self_mmsi)"),
          stationDataTable(),
          QStringLiteral("CREATE INDEX station_data_survey ON station_data (survey_id, id)")}},
    };
}

} // namespace kelpra
