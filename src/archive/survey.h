#pragma once

#include "files/data_file.h"
#include "files/details_file.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace kelpra {

enum class SurveyOrigin { Download, File };

// "download" or "file", as the archive and kelpra-tool name them.
QString originName(SurveyOrigin origin);
std::optional<SurveyOrigin> originByName(const QString &name);

// A survey as the program holds it at the moment it is archived: what a completed download
// or an opened data file put into the store, with the station and controller lines of
// that moment.
struct Survey {
    SurveyOrigin origin = SurveyOrigin::Download;
    // The device of a download ("/dev/ttyUSB0"), the file name of a file.
    QString source;
    // When the download completed or the file was opened; kept in UTC. The archive files
    // the survey under this time, also when a queued survey is written days later.
    QDateTime time;
    QByteArray identification; // slot 0
    // The records of slots 1, 2, ... byte for byte. Empty records at the end carry nothing
    // and are not kept, as a saved file does not keep them either.
    QList<QByteArray> records;
    StationLines station;
    ControllerLines controller;
    QString programVersion = QStringLiteral(KELPRA_VERSION);
    // The store held the built-in sample set (MeasurementStore::fromSampleSet(), or a file
    // marked as sample data).
    bool sample = false;
    // A data file opened although its checksum failed.
    bool checksumFailed = false;
};

// The records the archive keeps: trailing empty records left off.
QList<QByteArray> keptRecords(const QList<QByteArray> &records);

// What decides that two surveys are the same: SHA-256 over the kept records in slot order,
// each as its length in 4 bytes (big-endian) followed by its bytes; 64 lowercase hex digits.
QByteArray surveyIdentity(const QList<QByteArray> &records);

// Why a survey is never archived: it holds no record, it is the built-in sample set
// (every record equal to one of the sample records), or its file failed its checksum.
std::optional<QString> notArchivable(const Survey &survey);

// Whether a record gets a verdict: it holds bytes and none of its first three bytes is
// 255 (the padding of a record that never came, which a data file does not count).
bool judgedRecord(const QByteArray &record);

} // namespace kelpra
