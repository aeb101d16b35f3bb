#pragma once

#include "archive/survey_archive.h"

#include <QDialog>
#include <QList>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace kelpra {

class ArchiveSettingsPage;
class ArchiveWorker;
class Prompts;
class Session;

// The window "Survey archive" (`ArchiveWindow`): searches the archive by vessel, MMSI, the
// day archived and the worst verdict, and opens, exports or deletes the surveys found.
// Every database call runs on the archive worker; the window shows what came back. Its
// controls are made when it is first shown or used.
class ArchiveWindow : public QDialog {
    Q_OBJECT
public:
    ArchiveWindow(Session &session, Prompts &prompts, ArchiveWorker &worker, QWidget *parent = nullptr);
    ~ArchiveWindow() override;

    void search();          // "Search"
    void openSelected();    // "Open": the one survey selected, into the session
    void exportSelected();  // "Export…": each survey selected as a data file
    void deleteSelected();  // "Delete…", after asking
    void showSettings();    // "Settings…"

    // The search as the fields give it; none, with the reason, when a field holds no value.
    std::optional<SurveyQuery> query(QString *problem);
    // The surveys of the results list, as listed, and those selected.
    const QList<SurveySummary> &results() const { return results_; }
    QList<SurveySummary> selected();
    ArchiveSettingsPage &settingsPage();

Q_SIGNALS:
    // A survey was put into the session: the main window should come forward.
    void surveyOpened();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void build();
    // Searches; `done` (what the last command did) leads the status line then.
    void searchSaying(const QString &done);
    void showResults(const QList<SurveySummary> &found);
    void updateButtons();
    void setStatus(const QString &text);

    Session &session_;
    Prompts &prompts_;
    ArchiveWorker &worker_;
    QLineEdit *vessel_ = nullptr;       // VesselSearch
    QLineEdit *mmsi_ = nullptr;         // MmsiSearch
    QCheckBox *sinceOn_ = nullptr;      // SinceCheck
    QDateEdit *since_ = nullptr;        // SinceDate
    QCheckBox *untilOn_ = nullptr;      // UntilCheck
    QDateEdit *until_ = nullptr;        // UntilDate
    QComboBox *worst_ = nullptr;        // WorstVerdict
    QTableWidget *table_ = nullptr;     // ArchiveTable
    QLabel *status_ = nullptr;          // ArchiveStatus
    QPushButton *open_ = nullptr;       // OpenSurvey
    QPushButton *export_ = nullptr;     // ExportSurveys
    QPushButton *delete_ = nullptr;     // DeleteSurveys
    ArchiveSettingsPage *settings_ = nullptr;
    QList<SurveySummary> results_;
    int searches_ = 0; // a result that a newer search will replace is not shown
};

} // namespace kelpra
