#pragma once

#include "session/survey_table.h"

#include <QAbstractTableModel>
#include <QDockWidget>
#include <QList>

class QLabel;
class QSortFilterProxyModel;
class QTableView;

namespace kelpra {

class Session;

// The survey table's rows for a view: the survey table's columns, the self MMSI with its
// country and the verdict in its colour with the findings' codes; the finding sentences as
// its tooltip. Sorting goes by Qt::UserRole: numbers, dates and frequencies by value.
class SurveyTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setRows(const QList<SurveyRow> &rows);
    const QList<SurveyRow> &rows() const { return rows_; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QList<SurveyRow> rows_;
};

// The survey table `SurveyTable` in a dock beside the record panel, which the user may hide,
// move or float, and the survey's summary (`SurveySummary`) for the status bar. The record
// on display is the selected row: selecting a row, by click, keys or Enter, shows its record,
// and every step of Next and Prev moves the selection. The rows are built
// anew whenever the session has put new records on view.
class SurveyView : public QDockWidget {
    Q_OBJECT
public:
    explicit SurveyView(Session &session, QWidget *parent = nullptr);

    // "16 records: 12 pass, 3 warn, 1 fail"; for the main window's status bar.
    QLabel *summaryLabel() const { return summary_; }
    QTableView *table() const { return table_; }

    void refresh();
    QSize sizeHint() const override;

private:
    void fitColumns();
    void selectDisplayed();
    int recordAt(const QModelIndex &proxyIndex) const;
    void showRecordAt(const QModelIndex &proxyIndex);

    Session &session_;
    SurveyTableModel *model_ = nullptr;
    QSortFilterProxyModel *proxy_ = nullptr;
    QTableView *table_ = nullptr;
    QLabel *summary_ = nullptr;
    int revision_ = -1;
    bool selecting_ = false;   // the selection follows the session: no record to show
    bool fromTable_ = false;   // the session follows the table: the row stays where it is
};

} // namespace kelpra
