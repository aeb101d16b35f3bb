#include "archive/archive_location.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

namespace kelpra {

namespace {

const QString kSettingKey = QStringLiteral("archive/location");

QSettings userSettings()
{
    return QSettings(QStringLiteral("kelpra"), QStringLiteral("kelpra"));
}

QString dataFolder()
{
    // Not AppDataLocation: that depends on the application name, which differs between
    // the window ("Kelpra software") and kelpra-tool, and both must find the same file.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/kelpra");
}

ArchiveLocationParse failed(const QString &error)
{
    return {std::nullopt, error};
}

ArchiveLocationParse parseServerAddress(const QString &text)
{
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid())
        return failed(QStringLiteral("\"%1\" is not a postgresql:// address: %2").arg(text, url.errorString()));
    if (!url.password().isEmpty())
        return failed(QStringLiteral("the address holds a password; keep it in ~/.pgpass or PGPASSWORD instead"));
    if (url.hasQuery() || url.hasFragment())
        return failed(QStringLiteral("the address takes no options (\"?...\"); use libpq's PGSSLMODE and the like"));
    QString database = url.path(QUrl::FullyDecoded);
    if (database.startsWith(QLatin1Char('/')))
        database.remove(0, 1);
    if (database.contains(QLatin1Char('/')))
        return failed(QStringLiteral("\"%1\" names no single database").arg(text));
    ArchiveLocation location;
    location.kind = ArchiveLocation::Kind::PostgreSQL;
    location.user = url.userName(QUrl::FullyDecoded);
    location.host = url.host();
    location.port = url.port(-1);
    location.database = database;
    return {location, QString()};
}

} // namespace

QString ArchiveLocation::text() const
{
    if (kind == Kind::SQLite)
        return path;
    QString out = QStringLiteral("postgresql://");
    if (!user.isEmpty())
        out += user + QLatin1Char('@');
    out += host;
    if (port >= 0)
        out += QLatin1Char(':') + QString::number(port);
    return out + QLatin1Char('/') + database;
}

QString defaultArchivePath()
{
    return dataFolder() + QStringLiteral("/archive.sqlite");
}

QString archiveQueuePath()
{
    return dataFolder() + QStringLiteral("/archive-queue.json");
}

ArchiveLocationParse parseArchiveLocation(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive)
        || trimmed.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive))
        return parseServerAddress(trimmed);
    if (trimmed.contains(QLatin1String("://")))
        return failed(QStringLiteral("\"%1\" is neither a postgresql:// address nor a file").arg(trimmed));
    ArchiveLocation location;
    if (trimmed.isEmpty()) {
        location.path = defaultArchivePath();
    } else {
        QString path = trimmed;
        if (path.startsWith(QLatin1String("~/")))
            path = QDir::homePath() + path.mid(1);
        location.path = QFileInfo(path).absoluteFilePath();
    }
    return {location, QString()};
}

ArchiveLocationParse configuredArchiveLocation()
{
    const QString fromEnvironment = qEnvironmentVariable(kArchiveEnvironment);
    if (!fromEnvironment.trimmed().isEmpty()) {
        ArchiveLocationParse parse = parseArchiveLocation(fromEnvironment);
        if (!parse.location)
            parse.error = QStringLiteral("%1: %2").arg(QLatin1String(kArchiveEnvironment), parse.error);
        return parse;
    }
    return parseArchiveLocation(archiveLocationSetting());
}

QString archiveLocationSetting()
{
    return userSettings().value(kSettingKey).toString();
}

std::optional<QString> setArchiveLocationSetting(const QString &text)
{
    const ArchiveLocationParse parse = parseArchiveLocation(text);
    if (!parse.location)
        return parse.error;
    QSettings settings = userSettings();
    if (text.trimmed().isEmpty())
        settings.remove(kSettingKey);
    else
        settings.setValue(kSettingKey, parse.location->text());
    settings.sync();
    if (settings.status() != QSettings::NoError)
        return QStringLiteral("the settings file %1 cannot be written").arg(settings.fileName());
    return std::nullopt;
}

} // namespace kelpra
