#include "ui/archive_window.h"

#include "files/file_io.h"
#include "page/survey_report.h"
#include "session/session_survey.h"
#include "ui/archive_jobs.h"
#include "ui/archive_settings.h"
#include "ui/archive_worker.h"
#include "ui/file_names.h"
#include "ui/pictures.h"
#include "ui/prompts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace kelpra {

using namespace archive_jobs;

namespace {

QString surveys(int n)
{
    return n == 1 ? QStringLiteral("1 survey") : QStringLiteral("%1 surveys").arg(n);
}

enum Column { DateColumn, VesselColumn, RadioColumn, RecordsColumn, PassColumn, WarnColumn, FailColumn, OriginColumn };

QTableWidgetItem *textItem(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

QTableWidgetItem *numberItem(int value, const QColor &colour = QColor())
{
    auto *item = new QTableWidgetItem;
    if (value > 0 && colour.isValid())
        item->setForeground(colour);
    item->setData(Qt::DisplayRole, value);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

QDateEdit *dayEdit(const char *name, QWidget *parent)
{
    auto *edit = new QDateEdit(QDateTime::currentDateTimeUtc().date(), parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    edit->setCalendarPopup(true);
    edit->setEnabled(false);
    return edit;
}

} // namespace

ArchiveWindow::ArchiveWindow(Session &session, Prompts &prompts, ArchiveWorker &worker, QWidget *parent)
    : QDialog(parent), session_(session), prompts_(prompts), worker_(worker)
{
    setObjectName(QStringLiteral("ArchiveWindow"));
    setWindowTitle(QStringLiteral("Survey archive"));
    setWindowIcon(picture("archive"));
    setModal(false);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                   | Qt::WindowCloseButtonHint);
    resize(980, 540);
}

void ArchiveWindow::build()
{
    // Made when first needed: most runs never open the archive, and start-up stays short.
    if (table_)
        return;
    vessel_ = new QLineEdit(this);
    vessel_->setObjectName(QStringLiteral("VesselSearch"));
    vessel_->setPlaceholderText(QStringLiteral("any part of the name"));
    vessel_->setClearButtonEnabled(true);
    mmsi_ = new QLineEdit(this);
    mmsi_->setObjectName(QStringLiteral("MmsiSearch"));
    mmsi_->setPlaceholderText(QStringLiteral("nine digits"));
    mmsi_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")), mmsi_));
    mmsi_->setClearButtonEnabled(true);
    worst_ = new QComboBox(this);
    worst_->setObjectName(QStringLiteral("WorstVerdict"));
    worst_->addItem(QStringLiteral("any"));
    for (const CheckVerdict verdict : {CheckVerdict::Pass, CheckVerdict::Warn, CheckVerdict::Fail})
        worst_->addItem(verdictName(verdict), static_cast<int>(verdict));
    sinceOn_ = new QCheckBox(QStringLiteral("Archived &from"), this);
    sinceOn_->setObjectName(QStringLiteral("SinceCheck"));
    since_ = dayEdit("SinceDate", this);
    untilOn_ = new QCheckBox(QStringLiteral("&to"), this);
    untilOn_->setObjectName(QStringLiteral("UntilCheck"));
    until_ = dayEdit("UntilDate", this);
    auto *searchButton = new QPushButton(QStringLiteral("&Search"), this);
    searchButton->setObjectName(QStringLiteral("SearchSurveys"));
    searchButton->setDefault(true);

    auto *fields = new QGridLayout;
    auto *vesselLabel = new QLabel(QStringLiteral("&Vessel:"), this);
    vesselLabel->setBuddy(vessel_);
    auto *mmsiLabel = new QLabel(QStringLiteral("&MMSI:"), this);
    mmsiLabel->setBuddy(mmsi_);
    auto *worstLabel = new QLabel(QStringLiteral("&Worst verdict:"), this);
    worstLabel->setBuddy(worst_);
    fields->addWidget(vesselLabel, 0, 0);
    fields->addWidget(vessel_, 0, 1);
    fields->addWidget(mmsiLabel, 0, 2);
    fields->addWidget(mmsi_, 0, 3);
    fields->addWidget(worstLabel, 0, 4);
    fields->addWidget(worst_, 0, 5);
    auto *days = new QHBoxLayout;
    days->addWidget(sinceOn_);
    days->addWidget(since_);
    days->addWidget(untilOn_);
    days->addWidget(until_);
    days->addWidget(new QLabel(QStringLiteral("(UTC, both days included)"), this));
    days->addStretch();
    fields->addLayout(days, 1, 0, 1, 5);
    fields->addWidget(searchButton, 1, 5);
    fields->setColumnStretch(1, 3);
    fields->setColumnStretch(3, 2);

    table_ = new QTableWidget(0, 8, this);
    table_->setObjectName(QStringLiteral("ArchiveTable"));
    table_->setHorizontalHeaderLabels({QStringLiteral("Archived (UTC)"), QStringLiteral("Vessel"),
                                       QStringLiteral("Radio"), QStringLiteral("Records"), QStringLiteral("Pass"),
                                       QStringLiteral("Warn"), QStringLiteral("Fail"), QStringLiteral("Origin")});
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->setVisible(false);
    table_->setWordWrap(false);
    table_->setAlternatingRowColors(true);
    QHeaderView *header = table_->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(VesselColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(OriginColumn, QHeaderView::Stretch);
    // Sorted as the archive lists them until the user clicks a heading: newest first.
    header->setSortIndicator(DateColumn, Qt::DescendingOrder);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("ArchiveStatus"));
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    open_ = new QPushButton(picture("open"), QStringLiteral("&Open"), this);
    open_->setObjectName(QStringLiteral("OpenSurvey"));
    export_ = new QPushButton(picture("saveall"), QStringLiteral("&Export\u2026"), this);
    export_->setObjectName(QStringLiteral("ExportSurveys"));
    delete_ = new QPushButton(QStringLiteral("&Delete\u2026"), this);
    delete_->setObjectName(QStringLiteral("DeleteSurveys"));
    auto *settingsButton = new QPushButton(QStringLiteral("Se&ttings\u2026"), this);
    settingsButton->setObjectName(QStringLiteral("ArchiveSettingsButton"));
    auto *closeButton = new QPushButton(QStringLiteral("&Close"), this);
    closeButton->setObjectName(QStringLiteral("CloseArchive"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(open_);
    buttons->addWidget(export_);
    buttons->addWidget(delete_);
    buttons->addStretch();
    buttons->addWidget(settingsButton);
    buttons->addWidget(closeButton);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(table_, 1);
    layout->addWidget(status_);
    layout->addLayout(buttons);

    settings_ = new ArchiveSettingsPage(prompts_, this);

    // Return in a field presses the default button, "Search".
    connect(searchButton, &QPushButton::clicked, this, &ArchiveWindow::search);
    connect(sinceOn_, &QCheckBox::toggled, since_, &QWidget::setEnabled);
    connect(untilOn_, &QCheckBox::toggled, until_, &QWidget::setEnabled);
    connect(table_, &QTableWidget::itemSelectionChanged, this, &ArchiveWindow::updateButtons);
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this] { openSelected(); });
    connect(open_, &QPushButton::clicked, this, &ArchiveWindow::openSelected);
    connect(export_, &QPushButton::clicked, this, &ArchiveWindow::exportSelected);
    connect(delete_, &QPushButton::clicked, this, &ArchiveWindow::deleteSelected);
    connect(settingsButton, &QPushButton::clicked, this, &ArchiveWindow::showSettings);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::hide);
    connect(settings_, &ArchiveSettingsPage::saved, this, &ArchiveWindow::search);
    updateButtons();
}

ArchiveWindow::~ArchiveWindow() = default;

void ArchiveWindow::showEvent(QShowEvent *event)
{
    build();
    QDialog::showEvent(event);
    search();
}

ArchiveSettingsPage &ArchiveWindow::settingsPage()
{
    build();
    return *settings_;
}

void ArchiveWindow::setStatus(const QString &text)
{
    status_->setText(text);
}

std::optional<SurveyQuery> ArchiveWindow::query(QString *problem)
{
    build();
    SurveyQuery query;
    query.vesselPart = vessel_->text().trimmed();
    query.mmsi = mmsi_->text().trimmed();
    if (!query.mmsi.isEmpty() && query.mmsi.size() != 9) {
        *problem = QStringLiteral("An MMSI has nine digits.");
        return std::nullopt;
    }
    if (sinceOn_->isChecked())
        query.since = since_->date();
    if (untilOn_->isChecked())
        query.until = until_->date();
    if (worst_->currentIndex() > 0)
        query.worst = static_cast<CheckVerdict>(worst_->currentData().toInt());
    return query;
}

void ArchiveWindow::search()
{
    build();
    searchSaying(QString());
}

void ArchiveWindow::searchSaying(const QString &done)
{
    QString problem;
    const std::optional<SurveyQuery> asked = query(&problem);
    if (!asked) {
        // What is listed always answers the fields as they stand.
        ++searches_;
        showResults({});
        setStatus(problem);
        return;
    }
    const int search = ++searches_;
    setStatus(QStringLiteral("Searching\u2026"));
    worker_.run(
        this, [q = *asked] { return findSurveys(q); },
        [this, search, done](const Found &found) {
            if (search != searches_)
                return;
            if (!found.error.isEmpty()) {
                showResults({});
                setStatus(QStringLiteral("The archive cannot be searched: %1").arg(found.error));
                return;
            }
            showResults(found.surveys);
            const QString where = QDir::toNativeSeparators(found.where);
            const QString listed = found.none ? QStringLiteral("Nothing archived yet in %1").arg(where)
                                              : QStringLiteral("%1 found in %2")
                                                    .arg(surveys(int(found.surveys.size())), where);
            setStatus(done.isEmpty() ? listed : done + QStringLiteral("; ") + listed);
        });
}

void ArchiveWindow::showResults(const QList<SurveySummary> &found)
{
    results_ = found;
    table_->setSortingEnabled(false);
    table_->clearContents();
    table_->setRowCount(int(found.size()));
    for (int row = 0; row < found.size(); ++row) {
        const SurveySummary &s = found[row];
        QTableWidgetItem *date = textItem(s.archived.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm")));
        // The list's own order, whatever the table is sorted by.
        date->setData(Qt::UserRole, row);
        date->setToolTip(QStringLiteral("Survey %1").arg(s.id));
        table_->setItem(row, DateColumn, date);
        table_->setItem(row, VesselColumn, textItem(s.vessel));
        table_->setItem(row, RadioColumn, textItem(s.radio));
        table_->setItem(row, RecordsColumn, numberItem(s.records));
        table_->setItem(row, PassColumn, numberItem(s.pass));
        // Counts that call for a look stand out, in the colours of the check row.
        table_->setItem(row, WarnColumn, numberItem(s.warn, verdictColour(CheckVerdict::Warn)));
        table_->setItem(row, FailColumn, numberItem(s.fail, verdictColour(CheckVerdict::Fail)));
        table_->setItem(row, OriginColumn, textItem(QStringLiteral("%1: %2").arg(originName(s.origin), s.source)));
    }
    table_->setSortingEnabled(true);
    updateButtons();
}

QList<SurveySummary> ArchiveWindow::selected()
{
    build();
    QList<int> rows;
    const QModelIndexList chosen = table_->selectionModel()->selectedRows(DateColumn);
    for (const QModelIndex &index : chosen)
        rows << index.data(Qt::UserRole).toInt();
    std::sort(rows.begin(), rows.end());
    QList<SurveySummary> out;
    for (int row : rows)
        out << results_.value(row);
    return out;
}

void ArchiveWindow::updateButtons()
{
    const qsizetype n = table_->selectionModel()->selectedRows().size();
    open_->setEnabled(n == 1);
    export_->setEnabled(n > 0);
    delete_->setEnabled(n > 0);
}

void ArchiveWindow::openSelected()
{
    build();
    const QList<SurveySummary> chosen = selected();
    if (chosen.size() != 1)
        return;
    const qint64 id = chosen.constFirst().id;
    setStatus(QStringLiteral("Opening survey %1\u2026").arg(id));
    worker_.run(
        this, [id] { return loadSurvey(id); },
        [this, id](const Loaded &loaded) {
            if (!loaded.error.isEmpty()) {
                setStatus(QString());
                prompts_.error(withFullStop(loaded.error));
                return;
            }
            openArchivedSurvey(session_, loaded.survey);
            setStatus(QStringLiteral("Survey %1 opened").arg(id));
            Q_EMIT surveyOpened();
        });
}

void ArchiveWindow::exportSelected()
{
    build();
    const QList<SurveySummary> chosen = selected();
    QList<ExportTarget> targets;
    QStringList proposed;
    for (const SurveySummary &s : chosen) {
        const QString name =
            proposedFileName({s.vessel, s.archived.toUTC().date().toString(Qt::ISODate)}, QStringLiteral("survey"));
        // Two surveys of one vessel on one day get names of their own.
        QString unique = name;
        for (int n = 2; proposed.contains(unique); ++n)
            unique = QStringLiteral("%1_%2").arg(name).arg(n);
        proposed << unique;
        const QString path =
            prompts_.saveFileName(FileDialogSetup{QStringLiteral("*.bin"), QStringLiteral("bin"), unique});
        // Cancelled: nothing is written, not even the files already named.
        if (path.isEmpty())
            return;
        targets.append(ExportTarget{s.id, path});
    }
    if (targets.isEmpty())
        return;
    setStatus(QStringLiteral("Exporting\u2026"));
    worker_.run(
        this, [targets] { return exportSurveys(targets); },
        [this](const Exported &exported) {
            setStatus(exported.written.isEmpty()
                          ? QString()
                          : QStringLiteral("Exported to %1").arg(exported.written.join(QStringLiteral(", "))));
            if (!exported.problems.isEmpty())
                prompts_.error(withFullStop(QStringLiteral("Not exported:\n") + exported.problems.join(QLatin1Char('\n'))));
            if (!exported.warnings.isEmpty())
                prompts_.information(exported.warnings.join(QLatin1Char('\n')));
        });
}

void ArchiveWindow::deleteSelected()
{
    build();
    const QList<SurveySummary> chosen = selected();
    if (chosen.isEmpty())
        return;
    enum { Delete, Cancel };
    const QString question = QStringLiteral("Delete %1 from the archive? %2 records and every version of %3 "
                                            "station data are deleted for good.")
                                 .arg(surveys(int(chosen.size())),
                                      chosen.size() == 1 ? QStringLiteral("Its") : QStringLiteral("Their"),
                                      chosen.size() == 1 ? QStringLiteral("its") : QStringLiteral("their"));
    if (prompts_.ask(question, {QStringLiteral("Delete"), QStringLiteral("Cancel")}, Cancel, Cancel) != Delete)
        return;
    QList<qint64> ids;
    for (const SurveySummary &s : chosen)
        ids << s.id;
    setStatus(QStringLiteral("Deleting\u2026"));
    worker_.run(
        this, [ids] { return deleteSurveys(ids); },
        [this](const Deleted &deleted) {
            if (!deleted.error.isEmpty()) {
                setStatus(QString());
                prompts_.error(withFullStop(deleted.error));
                return;
            }
            searchSaying(QStringLiteral("%1 deleted").arg(surveys(deleted.count)));
        });
}

void ArchiveWindow::showSettings()
{
    build();
    settings_->reload();
    settings_->open();
}

} // namespace kelpra
