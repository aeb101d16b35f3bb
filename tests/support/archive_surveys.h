#pragma once

// Surveys for the archive's tests: calls whose check passes, warns or fails, a record of
// odd bytes, a survey around them, three surveys to search, data files of them; and a look
// into an archive.
#include "archive/survey_archive.h"
#include "data/measurement_store.h"
#include "files/data_file.h"
#include "files/file_io.h"
#include "support/test_helpers.h"

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QList>

#include <memory>

namespace kelpra::test {

// A call as the test set sends it, from the self identity's five symbols: a correct call
// passes; a wrong error-check character fails; MMSI 999999999 warns (MID unallocated).
inline QByteArray call(const QList<int> &self, bool eccRight = true)
{
    QList<int> symbols{20, 13, 23, 54, 50, 100};
    symbols << self << QList<int>{100, 126, 90, 0, 6, 90, 0, 6, 117};
    int ecc = 120;
    for (int s : symbols)
        ecc ^= s;
    QByteArray bytes("01 240523 1052 1 2187.5 kHZ    ");
    bytes += char(140) + QByteArray(6, char(125)) + char(120) + char(120);
    for (int s : symbols)
        bytes += char(s);
    return bytes + char(eccRight ? ecc : ecc ^ 1) + char(117) + char(117) + char(0);
}

inline const QByteArray kPass = call({27, 30, 12, 34, 50});     // 273012345
inline const QByteArray kWarn = call({99, 99, 99, 99, 90});     // 999999999
inline const QByteArray kFail = call({21, 1, 2, 3, 40}, false); // 210102034
// Bytes a record may hold: 0, a lone CR, a lone LF, 255, beyond 64 bytes.
inline const QByteArray kOdd = kPass.left(40) + QByteArray("\0\r\x01\n\xff", 5) + QByteArray(55, '\x7f');
inline const QByteArray kMaria("\xCC\xC0\xD0\xC8\xDF"); // МАРИЯ in Windows-1251

// Full station lines with this vessel, and full controller lines.
inline StationLines station(const QByteArray &vessel)
{
    return {"Sailor 6222", "SN-1", "Thrane", vessel, "Owner", "5000 t", "Riga", "+371"};
}
inline const ControllerLines kController{"Survey Co", "+1 555", "Harbour 2", "Ivan Petrov"};

// A survey of these records, with station(vessel) and kController, at `when` (ISO 8601).
inline Survey survey(SurveyOrigin origin, const QList<QByteArray> &records, const QByteArray &vessel,
                     const QString &when)
{
    Survey s;
    s.origin = origin;
    s.source = origin == SurveyOrigin::Download ? QStringLiteral("/dev/ttyUSB0") : QStringLiteral("alldata.bin");
    s.time = QDateTime::fromString(when, Qt::ISODate);
    s.identification = origin == SurveyOrigin::Download ? QByteArray("GMDSS TESTER S/N 042 rev 1.4\0\0", 30)
                                                        : QByteArray(kSavedDataIdentification);
    s.records = records;
    s.station = station(vessel);
    s.controller = kController;
    return s;
}

// The surveys the searches run over: a download on 23 May just before midnight UTC, a file
// on 24 May (a Cyrillic vessel, a failing record), a download on 30 May.
inline QList<Survey> searchedSurveys()
{
    return {
        survey(SurveyOrigin::Download, {kPass, kWarn}, "Baltic Star", QStringLiteral("2024-05-23T23:59:59Z")),
        survey(SurveyOrigin::File, {kPass, kFail, kPass}, kMaria, QStringLiteral("2024-05-24T00:00:00Z")),
        survey(SurveyOrigin::Download, {kPass}, "Nordic 100%", QStringLiteral("2024-05-30T12:00:00Z")),
    };
}

// The bytes of a data file of these records as this program saves it: a single-record file
// for one record (`sample` marks it as sample data), a full-set file for more.
inline QByteArray dataFileBytes(const QList<QByteArray> &records, const StationLines &lines, bool sample = false)
{
    if (records.size() == 1)
        return buildSingleRecordFile(records[0], lines, sample).bytes;
    MeasurementStore store;
    for (int i = 0; i < records.size(); ++i)
        store.setSlot(i + 1, records[i]);
    return buildFullSetFile(store, lines).bytes;
}

// Writes the file into the current directory; its absolute path, empty when unwritten.
inline QString writeHere(const QString &name, const QByteArray &bytes)
{
    const QString path = here(name);
    return writeWholeFile(path, bytes) ? QString() : path;
}

// The archive there; none, with a warning, when it cannot be opened.
inline std::unique_ptr<SurveyArchive> openArchive(const ArchiveLocation &at, const ArchiveOpenOptions &options = {})
{
    std::unique_ptr<SurveyArchive> archive;
    if (auto error = SurveyArchive::open(at, &archive, options))
        qWarning("%s", qPrintable(*error));
    return archive;
}

// The surveys found there, newest first.
inline QList<SurveySummary> findIn(const ArchiveLocation &at, const SurveyQuery &query = {})
{
    QList<SurveySummary> found;
    auto archive = openArchive(at);
    if (!archive || archive->find(query, &found))
        return {{}}; // one empty line: never what a case expects
    return found;
}

// That survey as the archive holds it; an empty one when it cannot be read.
inline ArchivedSurvey surveyIn(const ArchiveLocation &at, qint64 id)
{
    ArchivedSurvey kept;
    auto archive = openArchive(at);
    if (archive && archive->survey(id, &kept))
        return {};
    return kept;
}

} // namespace kelpra::test
