#include "archive/survey.h"

#include "data/measurement_store.h"
#include "data/sample_set.h"

#include <QCryptographicHash>
#include <QtEndian>

namespace kelpra {

QString originName(SurveyOrigin origin)
{
    return origin == SurveyOrigin::Download ? QStringLiteral("download") : QStringLiteral("file");
}

std::optional<SurveyOrigin> originByName(const QString &name)
{
    if (name == QLatin1String("download"))
        return SurveyOrigin::Download;
    if (name == QLatin1String("file"))
        return SurveyOrigin::File;
    return std::nullopt;
}

QList<QByteArray> keptRecords(const QList<QByteArray> &records)
{
    qsizetype n = records.size();
    while (n > 0 && records[n - 1].isEmpty())
        --n;
    return records.mid(0, n);
}

QByteArray surveyIdentity(const QList<QByteArray> &records)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QByteArray &record : keptRecords(records)) {
        char length[4];
        qToBigEndian(static_cast<quint32>(record.size()), length);
        hash.addData(QByteArrayView(length, 4));
        hash.addData(record);
    }
    return hash.result().toHex();
}

std::optional<QString> notArchivable(const Survey &survey)
{
    const QList<QByteArray> records = keptRecords(survey.records);
    if (records.isEmpty())
        return QStringLiteral("it holds no records");
    if (records.size() > MeasurementStore::kRecordSlots)
        return QStringLiteral("it holds more than %1 records").arg(MeasurementStore::kRecordSlots);
    if (survey.checksumFailed)
        return QStringLiteral("the file failed its checksum");
    if (survey.sample)
        return QStringLiteral("it is the built-in sample data");
    QList<QByteArray> samples;
    for (int slot = 1; slot <= 16; ++slot)
        samples << sampleRecord(slot);
    for (const QByteArray &record : records) {
        if (!samples.contains(record))
            return std::nullopt;
    }
    return QStringLiteral("it is the built-in sample data");
}

bool judgedRecord(const QByteArray &record)
{
    return !record.isEmpty() && !record.left(3).contains('\xff');
}

} // namespace kelpra
