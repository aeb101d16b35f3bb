#include "ui/main_window.h"

#include "data/text8.h"
#include "session/session.h"
#include "ui/elided_label.h"
#include "ui/pictures.h"
#include "ui/prompts.h"
#include "ui/record_panel.h"
#include "ui/station_panel.h"
#include "ui/survey_view.h"
#include "ui/survey_archiver.h"
#include "ui/window_actions.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

namespace kelpra {

MainWindow::MainWindow(Session &session, Prompts &prompts, QWidget *parent)
    : QMainWindow(parent), session_(session), prompts_(prompts), files_(session, prompts),
      reports_(session, prompts), surveyCommands_(session, prompts)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Kelpra Software v 2.5"));
    setWindowIcon(picture("app"));

    actions_ = std::make_unique<WindowActions>(this);
    // Every record at a glance, under the record on display; the user may hide it.
    surveyView_ = new SurveyView(session_, this);
    addDockWidget(Qt::BottomDockWidgetArea, surveyView_);
    resizeDocks({surveyView_}, {surveyView_->sizeHint().height()}, Qt::Vertical);
    buildMenus();
    buildToolBar();

    auto *central = new QWidget(this);
    auto *columns = new QHBoxLayout(central);
    recordPanel_ = new RecordPanel(session_, central);
    recordPanel_->attach(actions_->previousRecord, actions_->nextRecord, actions_->downloadData,
                         actions_->decodeMessage);
    stationPanel_ = new StationPanel(session_, central);
    stationPanel_->attach(actions_->saveDetails);
    columns->addWidget(recordPanel_, 3);
    columns->addWidget(stationPanel_, 2);
    // On a small screen the window may be smaller than its fields need: it scrolls
    // rather than squeezing them.
    auto *scroller = new QScrollArea(this);
    scroller->setObjectName(QStringLiteral("CentralScroller"));
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    scroller->setWidget(central);
    setCentralWidget(scroller);

    buildStatusBar();
    connectCommands();
    watchKeys();
    orderTabStops(scroller);

    // Wide enough for the longest meaning texts (a distress position) at a glance, but
    // never larger than the screen.
    QSize size(1180, 720);
    if (const QScreen *s = screen())
        size = size.boundedTo(s->availableGeometry().size() * 0.95);
    resize(size);

    connect(&session_, &Session::changed, this, &MainWindow::refresh);
    connect(&session_, &Session::message, this, [this](const QString &text) { prompts_.information(text); });
    files_.restoreDetails();
    refresh();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMenus()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    const auto menu = [bar](const char *name, const QString &title, QList<QAction *> items) {
        QMenu *m = bar->addMenu(title);
        m->setObjectName(QString::fromLatin1(name));
        for (QAction *item : items) {
            if (item)
                m->addAction(item);
            else
                m->addSeparator();
        }
    };
    const WindowActions &a = *actions_;
    menu("F", QStringLiteral("&File"),
         {a.openData, a.saveData, a.saveAllData, a.saveReport, a.printReport, a.exportPdf, nullptr, a.printSurvey,
          a.exportSurveyPdf, a.exportSurveyCsv, nullptr, a.surveyArchive, nullptr, a.exit});
    menu("MessageDecode1", QStringLiteral("&DSC Decoding"),
         {a.downloadData, a.decodeMessage, nullptr, surveyView_->toggleViewAction()});
    menu("About1", QStringLiteral("&About"), {a.aboutSoftware});
    bar->addAction(a.exitBar);
    // Keys of the commands that no menu holds.
    addActions({a.previousRecord, a.nextRecord});
}

void MainWindow::buildToolBar()
{
    QToolBar *bar = addToolBar(QStringLiteral("ToolBar1"));
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setIconSize(QSize(24, 24));

    const auto button = [bar](const char *name, QAction *command) {
        auto *b = new QToolButton(bar);
        b->setObjectName(QString::fromLatin1(name));
        b->setDefaultAction(command);
        b->setToolButtonStyle(Qt::ToolButtonIconOnly);
        b->setAutoRaise(true);
        return b;
    };
    const WindowActions &a = *actions_;
    for (QToolButton *b : {button("SpeedButton1", a.openData), button("SpeedButton2", a.saveData),
                           button("SpeedButton3", a.saveAllData), button("SpeedButton4", a.saveReport),
                           button("SpeedButton5", a.printReport), button("SpeedButton11", a.exportPdf),
                           button("SpeedButton6", a.downloadData)})
        bar->addWidget(b);
    // "Decode message" has a tool-bar button that is never shown. It belongs to the tool
    // bar without taking a place in it: a hidden tool-bar action would also disable it.
    button("SpeedButton7", a.decodeMessage)->setVisible(false);
    bar->addWidget(button("SpeedButton8", a.aboutSoftware));
    bar->addWidget(button("SpeedButton10", a.exit));

    addToolBarBreak();
    QToolBar *strip = addToolBar(QStringLiteral("ToolBar2"));
    strip->setObjectName(QStringLiteral("ToolBar2"));
    strip->setMovable(false);
    strip->setFixedHeight(4);
}

void MainWindow::buildStatusBar()
{
    auto *bar = new QStatusBar(this);
    bar->setSizeGripEnabled(false);
    statusLine_ = new ElidedLabel(bar);
    statusLine_->setObjectName(QStringLiteral("StatusBar1"));
    bar->addWidget(statusLine_, 1);
    // The right-hand area: whether the records are the sample set, and what the last
    // file command wrote or read. Permanent widgets, so no status tip ever hides them.
    sampleNote_ = new QLabel(QStringLiteral("Sample data"), bar);
    sampleNote_->setObjectName(QStringLiteral("SampleNote"));
    emphasise(sampleNote_, cautionColour());
    sampleNote_->setVisible(false);
    fileNote_ = new ElidedLabel(bar);
    fileNote_->setObjectName(QStringLiteral("FileMessage"));
    bar->addPermanentWidget(sampleNote_);
    bar->addPermanentWidget(fileNote_);
    bar->addPermanentWidget(surveyView_->summaryLabel());
    // Whether the survey held went into the archive, or came from it.
    archiveNote_ = new ElidedLabel(bar);
    archiveNote_->setObjectName(QStringLiteral("ArchiveNote"));
    archiveNote_->setVisible(false);
    bar->addPermanentWidget(archiveNote_);
    setStatusBar(bar);
}

void MainWindow::connectCommands()
{
    const WindowActions &a = *actions_;
    connect(a.openData, &QAction::triggered, this, [this] { files_.openData(); });
    connect(a.saveData, &QAction::triggered, this, [this] { files_.saveData(); });
    connect(a.saveAllData, &QAction::triggered, this, [this] { files_.saveAllData(); });
    connect(a.saveDetails, &QAction::triggered, this, [this] { files_.saveDetails(); });
    connect(a.saveReport, &QAction::triggered, this, [this] { reports_.saveReport(); });
    connect(a.printReport, &QAction::triggered, this, [this] { reports_.printReport(); });
    connect(a.exportPdf, &QAction::triggered, this, [this] { reports_.exportProtocolPdf(); });
    connect(a.printSurvey, &QAction::triggered, this, [this] { surveyCommands_.printSurveyReport(); });
    connect(a.exportSurveyPdf, &QAction::triggered, this, [this] { surveyCommands_.exportSurveyPdf(); });
    connect(a.exportSurveyCsv, &QAction::triggered, this, [this] { surveyCommands_.exportSurveyCsv(); });
    connect(a.exit, &QAction::triggered, this, &QWidget::close);
    connect(a.exitBar, &QAction::triggered, this, &QWidget::close);
    connect(a.downloadData, &QAction::triggered, this, &MainWindow::showDownloadWindow);
    connect(a.decodeMessage, &QAction::triggered, &session_, &Session::decodeMessage);
    connect(a.aboutSoftware, &QAction::triggered, this, &MainWindow::showAboutBox);
    connect(a.surveyArchive, &QAction::triggered, this, &MainWindow::showArchiveWindow);
    // The arrows, and their keys, step only while the arrow is offered.
    connect(a.previousRecord, &QAction::triggered, this, [this] {
        if (session_.previousShown())
            session_.previous();
    });
    connect(a.nextRecord, &QAction::triggered, this, [this] {
        if (session_.nextShown())
            session_.next();
    });
}

void MainWindow::watchKeys()
{
    const WindowActions &a = *actions_;
    for (const QAction *action : {a.openData, a.saveData, a.saveAllData, a.printReport, a.exportPdf, a.exit,
                                  a.downloadData, a.previousRecord, a.nextRecord})
        windowShortcuts_.append(action->shortcuts());
    // A text field claims some keys for editing (on X11 Ctrl+D deletes a character and
    // Ctrl+K the rest of the line); the window's commands win over it.
    const QList<QWidget *> fields = findChildren<QWidget *>();
    for (QWidget *field : fields)
        if (qobject_cast<QLineEdit *>(field) || qobject_cast<QAbstractSpinBox *>(field))
            field->installEventFilter(this);
}

void MainWindow::orderTabStops(QScrollArea *scroller)
{
    // Reading order: the tool bar, the arrows, the header and rows, the panel's button, the
    // station groups. Hidden controls drop out of the chain by themselves.
    QStringList names{QStringLiteral("SpeedButton1"), QStringLiteral("SpeedButton2"), QStringLiteral("SpeedButton3"),
                      QStringLiteral("SpeedButton4"), QStringLiteral("SpeedButton5"), QStringLiteral("SpeedButton11"),
                      QStringLiteral("SpeedButton6"), QStringLiteral("SpeedButton8"), QStringLiteral("SpeedButton10"),
                      QStringLiteral("Prev"), QStringLiteral("Next")};
    for (const CaptionedField &header : kHeaderFields)
        names << fieldKey(header.field);
    const auto addRows = [&names](const auto &rows) {
        for (const DecodedRow &row : rows) {
            names << fieldKey(row.digits);
            if (row.meaning)
                names << fieldKey(*row.meaning);
        }
    };
    addRows(kCallRows);
    addRows(kDistressRows);
    names << QStringLiteral("Button2");
    for (const CaptionedField &station : kStationFields)
        names << fieldKey(station.field);
    for (const CaptionedField &controller : kControllerFields)
        names << fieldKey(controller.field);
    names << QStringLiteral("DateTimePicker1") << QStringLiteral("BitBtn1");
    QWidget *previous = nullptr;
    for (const QString &name : names) {
        QWidget *next = findChild<QWidget *>(name);
        if (previous && next)
            setTabOrder(previous, next);
        if (next)
            previous = next;
    }
    // The scroll area is no stop of its own; it follows the focus, so the control that
    // has it is always in view.
    scroller->setFocusPolicy(Qt::NoFocus);
    connect(qApp, &QApplication::focusChanged, scroller, [scroller](QWidget *, QWidget *now) {
        if (now && scroller->widget() && scroller->widget()->isAncestorOf(now))
            scroller->ensureWidgetVisible(now);
    });
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (windowShortcuts_.contains(QKeySequence(key->keyCombination()))) {
            // Not accepted: the shortcut map goes on to the window's action.
            event->ignore();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::refresh()
{
    recordPanel_->refresh();
    stationPanel_->refresh();
    statusLine_->setFullText(session_.statusText());
    sampleNote_->setVisible(session_.sampleData());
    fileNote_->setFullText(session_.fileNote());
    fileNote_->setBaseToolTip(QDir::toNativeSeparators(session_.fileNotePath()));
    const SurveyArchiver::Note archive = archiver_ ? archiver_->note() : SurveyArchiver::Note{};
    archiveNote_->setFullText(archive.text);
    archiveNote_->setBaseToolTip(archive.hint);
    archiveNote_->setVisible(!archive.text.isEmpty());
    const QColor colour = archive.failure ? QColor(0xb0, 0x00, 0x00) : QColor(0x1d, 0x5a, 0x9a);
    if (archiveNote_->palette().color(QPalette::WindowText) != colour)
        emphasise(archiveNote_, colour, archive.failure);
}

void bringToFront(QWidget *window)
{
    if (!window)
        return;
    window->show();
    window->raise();
    window->activateWindow();
}

void MainWindow::setSurveyArchiver(SurveyArchiver *archiver)
{
    archiver_ = archiver;
    connect(archiver_, &SurveyArchiver::noteChanged, this, &MainWindow::refresh);
    refresh();
}

void MainWindow::showDownloadWindow()
{
    bringToFront(downloadWindow_);
}

void MainWindow::showAboutBox()
{
    bringToFront(aboutBox_);
}

void MainWindow::showArchiveWindow()
{
    bringToFront(archiveWindow_);
}

bool MainWindow::mayClose()
{
    if (!session_.unsaved())
        return true;
    enum { SaveAll, Discard, Cancel };
    const int answer = prompts_.ask(QStringLiteral("Save changes?"),
                                    {QStringLiteral("Save all data"), QStringLiteral("Discard"), QStringLiteral("Cancel")},
                                    Cancel, Cancel);
    if (answer == Discard)
        return true;
    // A cancelled or failed save keeps the window open.
    return answer == SaveAll && files_.saveAllData();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!mayClose()) {
        event->ignore();
        return;
    }
    event->accept();
    Q_EMIT closed();
}

QString MainWindow::fieldText(Field field) const
{
    const QString name = fieldKey(field);
    if (const auto *edit = findChild<QLineEdit *>(name))
        return edit->text();
    if (const auto *label = findChild<QLabel *>(name))
        return label->text();
    return QString();
}

QByteArray MainWindow::fieldText8(Field field) const
{
    return toText8(fieldText(field));
}

FieldTexts MainWindow::fieldTexts() const
{
    FieldTexts texts;
    for (Field field : allFields())
        texts.insert(field, fieldText8(field));
    return texts;
}

void MainWindow::setFieldText(Field field, const QString &text)
{
    session_.setText(field, toText8(text));
}

void MainWindow::setFieldText8(Field field, const QByteArray &text)
{
    session_.setText(field, text);
}

QString MainWindow::statusText() const
{
    return statusLine_->text();
}

bool MainWindow::distressShown() const
{
    return recordPanel_->distressShown();
}

} // namespace kelpra
