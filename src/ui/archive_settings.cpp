#include "ui/archive_settings.h"

#include "archive/archive_location.h"
#include "files/file_io.h"
#include "ui/elided_label.h"
#include "ui/pictures.h"
#include "ui/prompts.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kelpra {

ArchiveSettingsPage::ArchiveSettingsPage(Prompts &prompts, QWidget *parent) : QDialog(parent), prompts_(prompts)
{
    setObjectName(QStringLiteral("ArchiveSettings"));
    setWindowTitle(QStringLiteral("Archive settings"));
    setWindowIcon(picture("archive"));

    auto *explanation = new QLabel(
        QStringLiteral("Where the survey archive lives: an SQLite file on this computer, or a database on a "
                       "PostgreSQL server shared by a team, written as "
                       "<b>postgresql://user@host:port/dbname</b>. Leave it empty for the default file, %1.<br>"
                       "A password is never stored here: the server's password comes from ~/.pgpass or "
                       "PGPASSWORD.")
            .arg(QDir::toNativeSeparators(defaultArchivePath()).toHtmlEscaped()),
        this);
    explanation->setWordWrap(true);

    location_ = new QLineEdit(this);
    location_->setObjectName(QStringLiteral("ArchiveLocation"));
    location_->setPlaceholderText(QDir::toNativeSeparators(defaultArchivePath()));
    location_->setClearButtonEnabled(true);
    auto *browse = new QPushButton(QStringLiteral("&Browse\u2026"), this);
    browse->setObjectName(QStringLiteral("BrowseArchive"));
    auto *where = new QHBoxLayout;
    where->addWidget(location_, 1);
    where->addWidget(browse);

    environmentNote_ = new QLabel(this);
    environmentNote_->setObjectName(QStringLiteral("EnvironmentNote"));
    environmentNote_->setWordWrap(true);
    // A palette, not a style sheet: the page is made at start-up, where the first style
    // sheet costs time.
    emphasise(environmentNote_, cautionColour(), false);
    inUse_ = new QLabel(this);
    inUse_->setObjectName(QStringLiteral("ArchiveInUse"));
    inUse_->setWordWrap(true);
    inUse_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *saveButton = new QPushButton(QStringLiteral("&Save"), this);
    saveButton->setObjectName(QStringLiteral("SaveArchiveSettings"));
    saveButton->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelArchiveSettings"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(saveButton);
    buttons->addWidget(cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addLayout(where);
    layout->addWidget(environmentNote_);
    layout->addWidget(inUse_);
    layout->addStretch();
    layout->addLayout(buttons);
    resize(560, 260);

    connect(browse, &QPushButton::clicked, this, &ArchiveSettingsPage::browse);
    connect(saveButton, &QPushButton::clicked, this, [this] {
        if (save())
            accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    reload();
}

void ArchiveSettingsPage::reload()
{
    location_->setText(archiveLocationSetting());
    const QString fromEnvironment = qEnvironmentVariable(kArchiveEnvironment);
    environmentNote_->setVisible(!fromEnvironment.trimmed().isEmpty());
    environmentNote_->setText(QStringLiteral("%1 is set in the environment (%2): it overrides this setting as long "
                                             "as it is set.")
                                  .arg(QLatin1String(kArchiveEnvironment), fromEnvironment));
    const ArchiveLocationParse place = configuredArchiveLocation();
    inUse_->setText(place.location ? QStringLiteral("In use now: %1").arg(QDir::toNativeSeparators(place.location->text()))
                                   : QStringLiteral("In use now: none (%1)").arg(place.error));
}

bool ArchiveSettingsPage::save()
{
    if (const std::optional<QString> error = setArchiveLocationSetting(location_->text())) {
        prompts_.error(withFullStop(QStringLiteral("The archive location is not saved: %1").arg(*error)));
        return false;
    }
    reload();
    Q_EMIT saved();
    return true;
}

void ArchiveSettingsPage::browse()
{
    const QString current = location_->text().trimmed();
    const QString path = prompts_.openFileName(FileDialogSetup{
        QStringLiteral("*.sqlite"), QStringLiteral("sqlite"),
        current.isEmpty() || current.contains(QLatin1String("://")) ? defaultArchivePath() : current});
    if (!path.isEmpty())
        location_->setText(path);
}

} // namespace kelpra
