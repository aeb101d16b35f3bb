#include "ui/main_window.h"

#include "ui/about_box.h"
#include "ui/pictures.h"
#include "ui/prompts.h"
#include "data/measurement_store.h"
#include "data/navigation.h"
#include "data/text8.h"
#include "files/file_io.h"
#include "ui/download_window.h"
#include "ui/text8_field.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QDate>
#include <QDateEdit>
#include <QDir>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kelpra {

namespace {

QLabel *caption(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

} // namespace

MainWindow::MainWindow(MeasurementStore &store, Prompts &prompts, QWidget *parent)
    : QMainWindow(parent), store_(store), prompts_(prompts)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Kelpra Software v 2.5"));
    setWindowIcon(picture("app"));

    buildMenus();
    buildToolBars();

    auto *central = new QWidget(this);
    auto *columns = new QHBoxLayout(central);
    auto *left = new QVBoxLayout;
    left->addWidget(buildTopLine());
    left->addWidget(buildHeader());
    left->addWidget(buildCallPanel(), 1);
    columns->addLayout(left, 3);
    columns->addWidget(buildStationGroups(), 2);
    // On a small screen the window may be smaller than its fields need: it scrolls
    // rather than squeezing them.
    auto *scroller = new QScrollArea(this);
    scroller->setObjectName(QStringLiteral("CentralScroller"));
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    scroller->setWidget(central);
    setCentralWidget(scroller);
    // What is typed there is what its file will hold.
    keepText8Fields(this);

    auto *bar = new QStatusBar(this);
    bar->setSizeGripEnabled(false);
    StatusBar1 = new QLabel(bar);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    bar->addWidget(StatusBar1, 1);
    // The right-hand area: whether the records are the sample set, and what the last
    // file command wrote or read. Permanent widgets, so no status tip ever hides them.
    sampleNote_ = new QLabel(QStringLiteral("Sample data"), bar);
    sampleNote_->setObjectName(QStringLiteral("SampleNote"));
    sampleNote_->setStyleSheet(QStringLiteral("color: #a04000; font-weight: bold;"));
    sampleNote_->setVisible(false);
    fileMessage_ = new QLabel(bar);
    fileMessage_->setObjectName(QStringLiteral("FileMessage"));
    bar->addPermanentWidget(sampleNote_);
    bar->addPermanentWidget(fileMessage_);
    setStatusBar(bar);

    buildKeyboard();

    // Wide enough for the longest meaning texts (a distress position) at a glance, but
    // never larger than the screen.
    QSize size(1180, 720);
    if (const QScreen *s = screen())
        size = size.boundedTo(s->availableGeometry().size() * 0.95);
    resize(size);

    startUp();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMenus()
{
    MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));

    auto item = [](QMenu *menu, const char *name, const QString &text, const char *pic) {
        QAction *action = menu->addAction(picture(pic), text);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };

    // Captions carry their Alt mnemonics; without the '&' they read as they always have.
    F = MainMenu1->addMenu(QStringLiteral("&File"));
    F->setObjectName(QStringLiteral("F"));
    Open1 = item(F, "Open1", QStringLiteral("&Open data"), "open");
    Save1 = item(F, "Save1", QStringLiteral("&Save data"), "save");
    Saveall1 = item(F, "Saveall1", QStringLiteral("Save &all data"), "saveall");
    Saveprintinfo1 = item(F, "Saveprintinfo1", QStringLiteral("Save &report"), "report");
    Print1 = item(F, "Print1", QStringLiteral("&Print report"), "print");
    exportPdfAction_ = item(F, "ExportPdf1", QStringLiteral("&Export protocol as PDF\u2026"), "pdf");
    F->addSeparator();
    Exit2 = item(F, "Exit2", QStringLiteral("E&xit"), "exit");

    MessageDecode1 = MainMenu1->addMenu(QStringLiteral("&DSC Decoding"));
    MessageDecode1->setObjectName(QStringLiteral("MessageDecode1"));
    Downloaddata1 = item(MessageDecode1, "Downloaddata1", QStringLiteral("&Download data"), "download");
    Decodemessage1 = item(MessageDecode1, "Decodemessage1", QStringLiteral("De&code message"), "decode");

    About1 = MainMenu1->addMenu(QStringLiteral("&About"));
    About1->setObjectName(QStringLiteral("About1"));
    Aboutprogram1 = item(About1, "Aboutprogram1", QStringLiteral("&About software"), "about");

    Exit1 = MainMenu1->addAction(QStringLiteral("E&xit"));
    Exit1->setObjectName(QStringLiteral("Exit1"));
}

void MainWindow::buildToolBars()
{
    ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setIconSize(QSize(24, 24));

    auto button = [this](const char *name, const char *pic, const QString &hint) {
        auto *b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setIcon(picture(pic));
        b->setToolTip(hint);
        b->setAutoRaise(true);
        ToolBar1->addWidget(b);
        return b;
    };
    SpeedButton1 = button("SpeedButton1", "open", QStringLiteral("Open data"));
    SpeedButton2 = button("SpeedButton2", "save", QStringLiteral("Save data"));
    SpeedButton3 = button("SpeedButton3", "saveall", QStringLiteral("Save all data"));
    SpeedButton4 = button("SpeedButton4", "report", QStringLiteral("Save report"));
    SpeedButton5 = button("SpeedButton5", "print", QStringLiteral("Print report"));
    exportPdfButton_ = button("SpeedButton11", "pdf", QStringLiteral("Export protocol as PDF"));
    SpeedButton6 = button("SpeedButton6", "download", QStringLiteral("Download data"));
    // "Decode message" has a tool-bar button that is never shown. It belongs to the tool
    // bar without taking a place in it: a hidden tool-bar action would also disable it.
    SpeedButton7 = new QToolButton(ToolBar1);
    SpeedButton7->setObjectName(QStringLiteral("SpeedButton7"));
    SpeedButton7->setIcon(picture("decode"));
    SpeedButton7->setToolTip(QStringLiteral("Decode message"));
    SpeedButton7->setVisible(false);
    SpeedButton8 = button("SpeedButton8", "about", QStringLiteral("About software"));
    SpeedButton10 = button("SpeedButton10", "exit", QStringLiteral("Exit"));

    addToolBarBreak();
    ToolBar2 = addToolBar(QStringLiteral("ToolBar2"));
    ToolBar2->setObjectName(QStringLiteral("ToolBar2"));
    ToolBar2->setMovable(false);
    ToolBar2->setFixedHeight(4);

    // A menu item or tool-bar button that offers another control's command clicks that
    // control, so the command runs the same way even when the control is hidden.
    connect(Open1, &QAction::triggered, SpeedButton1, &QToolButton::click);
    connect(Save1, &QAction::triggered, SpeedButton2, &QToolButton::click);
    connect(Saveall1, &QAction::triggered, SpeedButton3, &QToolButton::click);
    connect(Saveprintinfo1, &QAction::triggered, SpeedButton4, &QToolButton::click);
    connect(Print1, &QAction::triggered, SpeedButton5, &QToolButton::click);
    connect(exportPdfAction_, &QAction::triggered, exportPdfButton_, &QToolButton::click);
    connect(Exit2, &QAction::triggered, SpeedButton10, &QToolButton::click);
    connect(Downloaddata1, &QAction::triggered, this, [this] { Button2->click(); });
    connect(SpeedButton6, &QToolButton::clicked, this, [this] { Button2->click(); });
    connect(Decodemessage1, &QAction::triggered, this, [this] { Button1->click(); });
    connect(SpeedButton7, &QToolButton::clicked, this, [this] { Button1->click(); });
    connect(Aboutprogram1, &QAction::triggered, SpeedButton8, &QToolButton::click);
    connect(Exit1, &QAction::triggered, this, &QWidget::close);

    connect(SpeedButton1, &QToolButton::clicked, this, [this] { openData(); });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { saveData(); });
    connect(SpeedButton3, &QToolButton::clicked, this, [this] { saveAllData(); });
    connect(SpeedButton4, &QToolButton::clicked, this, [this] { saveReport(); });
    connect(SpeedButton5, &QToolButton::clicked, this, [this] { printReport(); });
    connect(exportPdfButton_, &QToolButton::clicked, this, [this] { exportProtocolPdf(); });
    connect(SpeedButton8, &QToolButton::clicked, this, [this] { showAboutBox(); });
    connect(SpeedButton10, &QToolButton::clicked, this, &QWidget::close);
}

void MainWindow::buildKeyboard()
{
    // The platform's own binding where Qt knows one, else the usual one.
    const auto standard = [](QKeySequence::StandardKey key, QKeyCombination usual) {
        QList<QKeySequence> keys = QKeySequence::keyBindings(key);
        if (keys.isEmpty())
            keys.append(QKeySequence(usual));
        return keys;
    };
    Open1->setShortcuts(standard(QKeySequence::Open, Qt::CTRL | Qt::Key_O));
    Save1->setShortcuts(standard(QKeySequence::Save, Qt::CTRL | Qt::Key_S));
    Saveall1->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    Print1->setShortcuts(standard(QKeySequence::Print, Qt::CTRL | Qt::Key_P));
    exportPdfAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
    Exit2->setShortcuts(standard(QKeySequence::Quit, Qt::CTRL | Qt::Key_Q));
    Downloaddata1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));

    // Previous and next record from the keyboard, as the arrow buttons; like them, only
    // while the button is offered.
    const auto navigation = [this](const char *name, const QString &text, QToolButton *button,
                                   const QList<QKeySequence> &keys) {
        auto *action = new QAction(text, this);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcuts(keys);
        addAction(action);
        connect(action, &QAction::triggered, button, [button] {
            if (!button->isHidden())
                button->click();
        });
        return action;
    };
    QAction *previous = navigation("PreviousRecord", QStringLiteral("Previous record"), Prev,
                                   {QKeySequence(Qt::Key_PageUp), QKeySequence(Qt::ALT | Qt::Key_Left)});
    QAction *next = navigation("NextRecord", QStringLiteral("Next record"), Next,
                               {QKeySequence(Qt::Key_PageDown), QKeySequence(Qt::ALT | Qt::Key_Right)});

    // Tool-bar hints name the key of their command.
    const auto hint = [](QAbstractButton *button, const QAction *action) {
        if (!action->shortcut().isEmpty())
            button->setToolTip(QStringLiteral("%1 (%2)").arg(button->toolTip(),
                                                             action->shortcut().toString(QKeySequence::NativeText)));
    };
    hint(SpeedButton1, Open1);
    hint(SpeedButton2, Save1);
    hint(SpeedButton3, Saveall1);
    hint(SpeedButton5, Print1);
    hint(exportPdfButton_, exportPdfAction_);
    hint(SpeedButton6, Downloaddata1);
    hint(SpeedButton10, Exit2);
    hint(Prev, previous);
    hint(Next, next);

    for (const QAction *action : {Open1, Save1, Saveall1, Print1, exportPdfAction_, Exit2, Downloaddata1, previous, next})
        windowShortcuts_.append(action->shortcuts());
    // A text field claims some keys for editing (on X11 Ctrl+D deletes a character and
    // Ctrl+K the rest of the line); the window's commands win over it.
    const QList<QWidget *> fields = findChildren<QWidget *>();
    for (QWidget *field : fields)
        if (qobject_cast<QLineEdit *>(field) || qobject_cast<QAbstractSpinBox *>(field))
            field->installEventFilter(this);
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

QLineEdit *MainWindow::addEdit(Field field, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(fieldKey(field));
    edits_.insert(field, edit);
    return edit;
}

QLabel *MainWindow::addLabel(const char *name, const QString &text)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QLabel *MainWindow::addFieldLabel(Field field, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(fieldKey(field));
    // Field texts come from records and files: never taken for markup.
    label->setTextFormat(Qt::PlainText);
    labels_.insert(field, label);
    return label;
}

QWidget *MainWindow::buildTopLine()
{
    auto *line = new QWidget(this);
    auto *layout = new QHBoxLayout(line);
    layout->setContentsMargins(0, 0, 0, 0);

    Label15 = addLabel("Label15", QStringLiteral("Tester:"));
    Label16 = addFieldLabel(Field::Label16, this);
    Label16->setMinimumWidth(220);
    layout->addWidget(Label15);
    layout->addWidget(Label16, 1);

    auto *counters = new QGridLayout;
    Label21 = addLabel("Label21", QStringLiteral("Total recieved:"));
    Label22 = addFieldLabel(Field::Label22, this);
    Label23 = addLabel("Label23", QStringLiteral("Currently displayed:"));
    current = addFieldLabel(Field::current, this);
    Label24 = addLabel("Label24", QStringLiteral("of"));
    total = addFieldLabel(Field::total, this);
    for (QLabel *green : {Label22, current, total}) {
        green->setStyleSheet(QStringLiteral("color: #008000; font-weight: bold;"));
        green->setMinimumWidth(22);
    }
    counters->addWidget(Label21, 0, 0, Qt::AlignRight);
    counters->addWidget(Label22, 0, 1);
    counters->addWidget(Label23, 1, 0, Qt::AlignRight);
    counters->addWidget(current, 1, 1);
    counters->addWidget(Label24, 1, 2);
    counters->addWidget(total, 1, 3);
    layout->addLayout(counters);

    Prev = new QToolButton(this);
    Prev->setObjectName(QStringLiteral("Prev"));
    Prev->setIcon(picture("prev"));
    Prev->setIconSize(QSize(24, 24));
    Prev->setToolTip(QStringLiteral("Previous record"));
    Next = new QToolButton(this);
    Next->setObjectName(QStringLiteral("Next"));
    Next->setIcon(picture("next"));
    Next->setIconSize(QSize(24, 24));
    Next->setToolTip(QStringLiteral("Next record"));
    // Keep the place of a hidden button so that the other does not jump.
    for (QToolButton *b : {Prev, Next}) {
        QSizePolicy policy = b->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        b->setSizePolicy(policy);
    }
    layout->addWidget(Prev);
    layout->addWidget(Next);
    connect(Prev, &QToolButton::clicked, this, [this] { previousRecord(); });
    connect(Next, &QToolButton::clicked, this, [this] { nextRecord(); });
    return line;
}

QWidget *MainWindow::buildHeader()
{
    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::StyledPanel);
    Bevel1->setFrameShadow(QFrame::Sunken);
    auto *grid = new QGridLayout(Bevel1);
    // Two header fields a row, each after its caption.
    for (size_t i = 0; i < kHeaderFields.size(); ++i) {
        const int row = static_cast<int>(i / 2);
        const int column = static_cast<int>(i % 2) * 2;
        grid->addWidget(caption(QString::fromLatin1(kHeaderFields[i].caption), Bevel1), row, column);
        grid->addWidget(addEdit(kHeaderFields[i].field, Bevel1), row, column + 1);
    }
    return Bevel1;
}

QWidget *MainWindow::buildCallPanel()
{
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::StyledPanel);
    auto *panelLayout = new QGridLayout(Panel1);

    // Both panels give their captions the width of the longest one, so that the digits and
    // meanings stand in the same columns whichever panel is on view.
    const int captionWidth = fontMetrics().horizontalAdvance(QStringLiteral("Subsequent communication:")) + 8;

    Panel2 = new QFrame(Panel1);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFrameShape(QFrame::StyledPanel);
    Panel2->setFrameShadow(QFrame::Raised);
    auto *heading = new QGridLayout(Panel2);
    heading->setContentsMargins(6, 2, 6, 2);
    QFont bold = font();
    bold.setBold(true);
    const QString titles[3] = {QStringLiteral("CONTENT: "), QStringLiteral("DIGITS:"), QStringLiteral("MEANING:")};
    for (int i = 0; i < 3; ++i) {
        auto *title = new QLabel(titles[i], Panel2);
        title->setFont(bold);
        if (i == 0)
            title->setFixedWidth(captionWidth);
        heading->addWidget(title, 0, i);
    }
    heading->setColumnStretch(1, 3);
    heading->setColumnStretch(2, 5);
    panelLayout->addWidget(Panel2, 0, 0);

    // The call rows and the distress rows share one cell: the distress panel, when shown,
    // lies over the call rows and hides them.
    auto buildRows = [this, captionWidth](QWidget *host, const auto &rows, Field verdictBeside, Field verdict) {
        auto *grid = new QGridLayout(host);
        grid->setVerticalSpacing(3);
        int i = 0;
        for (const DecodedRow &row : rows) {
            QLabel *rowCaption = caption(QString::fromLatin1(row.windowCaption), host);
            rowCaption->setFixedWidth(captionWidth);
            grid->addWidget(rowCaption, i, 0);
            grid->addWidget(addEdit(row.digits, host), i, 1);
            if (row.meaning) {
                grid->addWidget(addEdit(*row.meaning, host), i, 2);
            } else if (row.digits == verdictBeside) {
                QLabel *label = addFieldLabel(verdict, host);
                label->setStyleSheet(QStringLiteral("font-weight: bold;"));
                grid->addWidget(label, i, 2);
            }
            ++i;
        }
        // The program's own judgement of the call, below the test set's figures.
        QLabel *checkCaption = caption(QStringLiteral("Check:"), host);
        checkCaption->setFixedWidth(captionWidth);
        grid->addWidget(checkCaption, i, 0);
        auto *check = new QLabel(host);
        check->setTextFormat(Qt::PlainText);
        // A long list of findings wraps instead of widening the panel past the station
        // groups on a small screen.
        check->setWordWrap(true);
        check->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        grid->addWidget(check, i, 1, 1, 2);
        ++i;
        grid->setColumnStretch(1, 3);
        grid->setColumnStretch(2, 5);
        grid->setRowStretch(i, 1);
        return check;
    };

    callRows_ = new QWidget(Panel1);
    CallCheck_ = buildRows(callRows_, kCallRows, kCallVerdictBeside, kCallVerdict);
    CallCheck_->setObjectName(QStringLiteral("CallCheck"));
    panelLayout->addWidget(callRows_, 1, 0);

    Distress = new QFrame(Panel1);
    Distress->setObjectName(QStringLiteral("Distress"));
    Distress->setFrameShape(QFrame::StyledPanel);
    Distress->setAutoFillBackground(true);
    DistressCheck_ = buildRows(Distress, kDistressRows, kDistressVerdictBeside, kDistressVerdict);
    DistressCheck_->setObjectName(QStringLiteral("DistressCheck"));
    panelLayout->addWidget(Distress, 1, 0);
    Distress->raise();
    Distress->setVisible(false);

    auto *buttons = new QHBoxLayout;
    Button2 = new QPushButton(picture("download"), QStringLiteral("Download data"), Panel1);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button1 = new QPushButton(picture("decode"), QStringLiteral("Decode message"), Panel1);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setVisible(false);
    buttons->addStretch();
    buttons->addWidget(Button2);
    buttons->addWidget(Button1);
    buttons->addStretch();
    panelLayout->addLayout(buttons, 2, 0);
    panelLayout->setRowStretch(1, 1);

    connect(Button1, &QPushButton::clicked, this, [this] {
        decodeMessage();
        // Every fill of the store (sample set, download) ends in "Decode message".
        refreshSampleNote();
    });
    connect(Button2, &QPushButton::clicked, this, [this] { showDownloadWindow(); });
    return Panel1;
}

QWidget *MainWindow::buildStationGroups()
{
    auto *column = new QWidget(this);
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    auto group = [column](const char *name, const QString &title) {
        auto *box = new QGroupBox(title, column);
        box->setObjectName(QString::fromLatin1(name));
        new QFormLayout(box);
        return box;
    };
    auto row = [this](QGroupBox *box, const CaptionedField &field) {
        static_cast<QFormLayout *>(box->layout())->addRow(QString::fromLatin1(field.caption),
                                                           addEdit(field.field, box));
    };

    GroupBox1 = group("GroupBox1", QStringLiteral("Radio Station Data"));
    GroupBox2 = group("GroupBox2", QStringLiteral("Vessel Data"));
    for (int i = 0; i < static_cast<int>(kStationFields.size()); ++i)
        row(i < kRadioStationFields ? GroupBox1 : GroupBox2, kStationFields[static_cast<size_t>(i)]);

    GroupBox3 = group("GroupBox3", QStringLiteral("Controller"));
    for (const CaptionedField &field : kControllerFields)
        row(GroupBox3, field);
    DateTimePicker1 = new QDateEdit(GroupBox3);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker1->setCalendarPopup(true);
    DateTimePicker1->setDisplayFormat(QLocale::system().dateFormat(QLocale::ShortFormat));
    static_cast<QFormLayout *>(GroupBox3->layout())->addRow(QStringLiteral("Date:"), DateTimePicker1);
    BitBtn1 = new QPushButton(picture("details"), QStringLiteral("Save details"), GroupBox3);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    static_cast<QFormLayout *>(GroupBox3->layout())->addRow(QString(), BitBtn1);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { saveDetails(); });

    layout->addWidget(GroupBox1);
    layout->addWidget(GroupBox2);
    layout->addWidget(GroupBox3);
    layout->addStretch();
    return column;
}

void MainWindow::startUp()
{
    DateTimePicker1->setDate(QDate::currentDate());
    setStatusText(QStringLiteral("Please download the data from tester or load it from file."));
    store_.set_display_index(1);
    Prev->setVisible(false);
    restoreDetails();
}

void MainWindow::showDownloadWindow()
{
    if (!downloadWindow_)
        return;
    // Showing a window that is already shown changes nothing; it is never duplicated.
    downloadWindow_->show();
    downloadWindow_->raise();
    downloadWindow_->activateWindow();
}

void MainWindow::showAboutBox()
{
    if (!aboutBox_)
        return;
    aboutBox_->show();
    aboutBox_->raise();
    aboutBox_->activateWindow();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Nothing is asked and nothing is saved on the way out.
    event->accept();
    Q_EMIT closed();
}

QString MainWindow::fieldText(Field field) const
{
    if (QLineEdit *edit = edits_.value(field))
        return edit->text();
    if (QLabel *label = labels_.value(field))
        return label->text();
    return QString();
}

void MainWindow::setFieldText(Field field, const QString &text)
{
    if (QLineEdit *edit = edits_.value(field)) {
        edit->setText(text);
        edit->setCursorPosition(0);
    } else if (QLabel *label = labels_.value(field)) {
        label->setText(text);
        // The counters are written whenever the store is filled.
        if (label == Label22)
            refreshSampleNote();
    }
}

QByteArray MainWindow::fieldText8(Field field) const
{
    return toText8(fieldText(field));
}

void MainWindow::setFieldText8(Field field, const QByteArray &text)
{
    setFieldText(field, fromText8(text));
}

FieldTexts MainWindow::fieldTexts() const
{
    FieldTexts texts;
    for (Field field : allFields())
        texts.insert(field, fieldText8(field));
    return texts;
}

void MainWindow::showNavigation(const NavigationView &view)
{
    if (view.received)
        setFieldText(Field::Label22, *view.received);
    setFieldText(Field::current, view.current);
    if (view.total)
        setFieldText(Field::total, *view.total);
    setPrevVisible(view.prevVisible);
    setNextVisible(view.nextVisible);
}

void MainWindow::setPrevVisible(bool visible) { Prev->setVisible(visible); }
void MainWindow::setNextVisible(bool visible) { Next->setVisible(visible); }
void MainWindow::clickDecodeMessage() { Button1->click(); }

bool MainWindow::distressShown() const
{
    // Asked of the panel itself, so that it also holds while the window is not on screen.
    return !Distress->isHidden();
}

void MainWindow::setDistressShown(bool shown)
{
    Distress->setVisible(shown);
    // The call rows under the panel leave the tab chain with it.
    callRows_->setVisible(!shown);
}

QString MainWindow::statusText() const
{
    return StatusBar1->text();
}

void MainWindow::setStatusText(const QString &text)
{
    StatusBar1->setText(text);
}

void MainWindow::showFileMessage(const QString &text, const QString &path)
{
    fileMessage_->setText(text);
    fileMessage_->setToolTip(QDir::toNativeSeparators(path));
}

QString MainWindow::fileMessage() const
{
    return fileMessage_->text();
}

void MainWindow::refreshSampleNote()
{
    sampleNote_->setVisible(store_.fromSampleSet());
}

bool MainWindow::sampleNoteShown() const
{
    return !sampleNote_->isHidden();
}

void MainWindow::showError(const QString &errorText)
{
    prompts_.error(withFullStop(errorText));
}

} // namespace kelpra
