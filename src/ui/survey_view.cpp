#include "ui/survey_view.h"

#include "page/survey_report.h"
#include "session/session.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QTableView>

#include <iterator>
#include <limits>

namespace kelpra {

namespace {

// The survey table's columns as the view shows them: the calling station's country beside
// its MMSI, as the address has it, and the findings' codes in the verdict's cell, so that
// the verdict stays in sight on a small screen.
constexpr SurveyColumn kViewColumns[] = {
    SurveyColumn::Record, SurveyColumn::Date,    SurveyColumn::Frequency,        SurveyColumn::Rssi,
    SurveyColumn::Format, SurveyColumn::Category, SurveyColumn::SelfMmsi,        SurveyColumn::Address,
    SurveyColumn::FirstTelecommand, SurveyColumn::TesterEcc, SurveyColumn::Verdict,
};
constexpr int kViewColumnCount = static_cast<int>(std::size(kViewColumns));

// "15.12.06 24:35" as "0612152435", so that dates sort in time; what does not read as a
// date sorts after them.
QString dateKey(const QString &date)
{
    static const QRegularExpression form(QStringLiteral("^\\s*(\\d\\d)\\.(\\d\\d)\\.(\\d\\d)\\s+(\\d\\d):(\\d\\d)"));
    const QRegularExpressionMatch m = form.match(date);
    if (!m.hasMatch())
        return QStringLiteral("~") + date;
    return m.captured(3) + m.captured(2) + m.captured(1) + m.captured(4) + m.captured(5);
}

// "12577.0 kHZ", "156.525 MHZ" in Hz; what does not read as a frequency sorts last.
double frequencyKey(const QString &frequency)
{
    static const QRegularExpression form(QStringLiteral("^\\s*(\\d+(?:[.,]\\d+)?)\\s*([kKmM]?)[hH][zZ]"));
    const QRegularExpressionMatch m = form.match(frequency);
    if (!m.hasMatch())
        return std::numeric_limits<double>::max();
    const double value = QString(m.captured(1)).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
    const QString unit = m.captured(2).toLower();
    return value * (unit == QLatin1String("m") ? 1e6 : unit == QLatin1String("k") ? 1e3 : 1.0);
}

QVariant sortKey(const SurveyRow &row, SurveyColumn column)
{
    switch (column) {
    case SurveyColumn::Record: return row.record;
    case SurveyColumn::Date: return row.empty ? QStringLiteral("~~") : dateKey(row.date);
    case SurveyColumn::Frequency: return row.empty ? std::numeric_limits<double>::max() : frequencyKey(row.frequency);
    case SurveyColumn::Rssi: {
        bool ok = false;
        const int level = row.rssi.toInt(&ok);
        return ok ? level : -1;
    }
    case SurveyColumn::Verdict: return row.empty ? -1 : static_cast<int>(row.check.verdict);
    default: return surveyCell(row, column).toLower();
    }
}

// The self MMSI with the country beside it, so that the verdict column stays in sight.
QString selfCell(const SurveyRow &row)
{
    return mmsiWithCountry(row.selfMmsi, row.selfCountry);
}

QString verdictCell(const SurveyRow &row)
{
    if (row.empty)
        return QString();
    const QString verdict = surveyCell(row, SurveyColumn::Verdict);
    const QString codes = surveyCell(row, SurveyColumn::Findings);
    return codes.isEmpty() ? verdict : verdict + QStringLiteral("  ") + codes;
}

} // namespace

void SurveyTableModel::setRows(const QList<SurveyRow> &rows)
{
    beginResetModel();
    rows_ = rows;
    endResetModel();
}

int SurveyTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int SurveyTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kViewColumnCount;
}

QVariant SurveyTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rows_.size())
        return QVariant();
    const SurveyRow &row = rows_.at(index.row());
    if (index.column() >= kViewColumnCount)
        return QVariant();
    const SurveyColumn column = kViewColumns[index.column()];
    const bool verdict = column == SurveyColumn::Verdict;
    const QString text = verdict                                            ? verdictCell(row)
                         : column == SurveyColumn::SelfMmsi && !row.empty ? selfCell(row)
                                                                            : surveyCell(row, column);
    switch (role) {
    case Qt::DisplayRole:
        return text;
    case Qt::UserRole:
        return column == SurveyColumn::SelfMmsi ? QVariant(text) : sortKey(row, column);
    case Qt::ForegroundRole:
        if (verdict && !row.empty)
            return verdictColour(row.check.verdict);
        break;
    case Qt::FontRole:
        if (verdict) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        break;
    case Qt::ToolTipRole: {
        if (row.empty)
            return QStringLiteral("Record %1 %2.").arg(row.record).arg(kHoldsNoData);
        if (!verdict)
            return text;   // the whole text where the column cuts it
        QStringList sentences;
        for (const CheckFinding &finding : row.check.findings)
            sentences << finding.text;
        return sentences.isEmpty() ? QStringLiteral("The call is correct in every point checked.")
                                   : sentences.join(QLatin1Char('\n'));
    }
    default:
        break;
    }
    return QVariant();
}

QVariant SurveyTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kViewColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return surveyColumnTitle(kViewColumns[section]);
}

SurveyView::SurveyView(Session &session, QWidget *parent) : QDockWidget(parent), session_(session)
{
    setObjectName(QStringLiteral("SurveyDock"));
    setWindowTitle(QStringLiteral("Survey table"));
    toggleViewAction()->setObjectName(QStringLiteral("SurveyTable1"));
    toggleViewAction()->setText(QStringLiteral("Survey &table"));

    model_ = new SurveyTableModel(this);
    proxy_ = new QSortFilterProxyModel(this);
    proxy_->setSourceModel(model_);
    proxy_->setSortRole(Qt::UserRole);

    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("SurveyTable"));
    table_->setModel(proxy_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSortingEnabled(true);
    table_->sortByColumn(static_cast<int>(SurveyColumn::Record), Qt::AscendingOrder);
    table_->verticalHeader()->setVisible(false);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 4);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setWordWrap(false);
    setWidget(table_);

    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("SurveySummary"));
    summary_->setContentsMargins(0, 0, 6, 0);

    // A row the user selects goes on display.
    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (!selecting_ && current.isValid())
                    showRecordAt(current);
            });
    // A style that activates on a single click also changes the current row: the record is
    // shown once.
    connect(table_, &QTableView::activated, this, [this](const QModelIndex &index) {
        if (recordAt(index) != session_.displayIndex())
            showRecordAt(index);
    });
    // Sorting keeps the selection on its record; keep it in sight too.
    connect(proxy_, &QAbstractItemModel::layoutChanged, this,
            [this] { table_->scrollTo(table_->currentIndex()); });
    connect(&session_, &Session::changed, this, &SurveyView::refresh);
    refresh();
}

QSize SurveyView::sizeHint() const
{
    // The titles and five rows: the record panel above keeps most of a small screen.
    const int rows = 5 * table_->verticalHeader()->defaultSectionSize();
    const int titleBar = fontMetrics().height() + 8;
    const int chrome = titleBar + table_->horizontalHeader()->sizeHint().height() + 2 * table_->frameWidth()
                       + table_->horizontalScrollBar()->sizeHint().height();
    return QSize(QDockWidget::sizeHint().width(), rows + chrome);
}

void SurveyView::fitColumns()
{
    // A long text (a format or telecommand in words) is cut short; its tooltip and a wider
    // column show it whole.
    constexpr int kWidest = 150;
    table_->resizeColumnsToContents();
    for (int c = 0; c + 1 < proxy_->columnCount(); ++c)
        table_->setColumnWidth(c, qMin(table_->columnWidth(c), kWidest));
}

int SurveyView::recordAt(const QModelIndex &proxyIndex) const
{
    const QModelIndex source = proxy_->mapToSource(proxyIndex);
    return source.isValid() ? model_->rows().at(source.row()).record : 0;
}

void SurveyView::showRecordAt(const QModelIndex &proxyIndex)
{
    const int record = recordAt(proxyIndex);
    if (record <= 0)
        return;
    fromTable_ = true;
    session_.showRecordAt(record);
    fromTable_ = false;
}

void SurveyView::refresh()
{
    if (session_.surveyRevision() != revision_) {
        revision_ = session_.surveyRevision();
        selecting_ = true;
        model_->setRows(surveyRows(session_));
        selecting_ = false;
        fitColumns();
        const QString summary = session_.store().holdsData() ? surveySummary(model_->rows()) : QString();
        summary_->setText(summary);
        summary_->setVisible(!summary.isEmpty());
    }
    selectDisplayed();
}

void SurveyView::selectDisplayed()
{
    QModelIndex wanted;
    const QList<SurveyRow> &rows = model_->rows();
    for (int i = 0; i < rows.size(); ++i) {
        if (rows.at(i).record == session_.displayIndex())
            wanted = proxy_->mapFromSource(model_->index(i, 0));
    }
    QItemSelectionModel *selection = table_->selectionModel();
    if (wanted.isValid() && table_->currentIndex().row() == wanted.row() && selection->isRowSelected(wanted.row()))
        return;
    selecting_ = true;
    if (wanted.isValid()) {
        selection->setCurrentIndex(wanted, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        // A row the user pointed at stays put: scrolling under a click in progress would
        // have the click select the row that then lies under the pointer.
        if (!fromTable_)
            table_->scrollTo(wanted);
    } else {
        selection->clear();
    }
    selecting_ = false;
}

} // namespace kelpra
