#pragma once

#include "data/fields.h"
#include "ui/file_commands.h"
#include "ui/report_commands.h"
#include "ui/survey_commands.h"

#include <QKeySequence>
#include <QList>
#include <QMainWindow>

#include <memory>

class QLabel;
class QScrollArea;

namespace kelpra {

class ElidedLabel;
class Prompts;
class RecordPanel;
class Session;
class StationPanel;
class SurveyView;
class SurveyArchiver;
struct WindowActions;

// The main window `Form1`: menus, tool bar, the record panel beside the station panel, the
// survey table docked under them, and the status bar. It shows the session and turns the
// user's commands into session, file and report commands; it holds nothing of the survey
// itself.
// Shows a window of ours on top of the others; nothing for none (tests leave some out).
void bringToFront(QWidget *window);

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(Session &session, Prompts &prompts, QWidget *parent = nullptr);
    ~MainWindow() override;

    Session &session() const { return session_; }
    Prompts &prompts() const { return prompts_; }
    FileCommands &files() { return files_; }
    ReportCommands &reports() { return reports_; }

    // The windows that "Download data" and "About software" show.
    void setDownloadWindow(QWidget *window) { downloadWindow_ = window; }
    void setAboutBox(QWidget *window) { aboutBox_ = window; }
    // The window "Survey archive…" shows, and the archiving whose state the status bar shows.
    void setArchiveWindow(QWidget *window) { archiveWindow_ = window; }
    void setSurveyArchiver(SurveyArchiver *archiver);

    // What a control shows, read from the control itself (texts are Windows-1251 when
    // 8-bit); and a text put into a field as if the user had typed it.
    QString fieldText(Field field) const;
    QByteArray fieldText8(Field field) const;
    FieldTexts fieldTexts() const;
    void setFieldText(Field field, const QString &text);
    void setFieldText8(Field field, const QByteArray &text);
    QString statusText() const;
    bool distressShown() const;

    // "Download data" and "About software" show their window; showing it again changes nothing.
    void showDownloadWindow();
    void showAboutBox();
    void showArchiveWindow();

Q_SIGNALS:
    // The main window has been closed: the program ends.
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void buildToolBar();
    void buildStatusBar();
    void connectCommands();
    void watchKeys();
    void orderTabStops(QScrollArea *scroller);
    void refresh();
    bool mayClose();

    Session &session_;
    Prompts &prompts_;
    FileCommands files_;
    ReportCommands reports_;
    SurveyCommands surveyCommands_;
    std::unique_ptr<WindowActions> actions_;
    SurveyView *surveyView_ = nullptr;   // SurveyDock with SurveyTable
    RecordPanel *recordPanel_ = nullptr;
    StationPanel *stationPanel_ = nullptr;
    ElidedLabel *statusLine_ = nullptr;   // StatusBar1
    QLabel *sampleNote_ = nullptr;        // SampleNote
    ElidedLabel *fileNote_ = nullptr;     // FileMessage
    ElidedLabel *archiveNote_ = nullptr;  // ArchiveNote
    QWidget *downloadWindow_ = nullptr;
    QWidget *aboutBox_ = nullptr;
    QWidget *archiveWindow_ = nullptr;
    SurveyArchiver *archiver_ = nullptr;
    QList<QKeySequence> windowShortcuts_;
};

} // namespace kelpra
