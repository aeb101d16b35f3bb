#include "ui/main_window.h"

#include "ui/about_box.h"
#include "ui/pictures.h"
#include "ui/prompts.h"
#include "data/measurement_store.h"
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

QLineEdit *MainWindow::addEdit(const char *name)
{
    auto *edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(name));
    edits_.insert(edit->objectName(), edit);
    return edit;
}

QLabel *MainWindow::addLabel(const char *name, const QString &text)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(name));
    labels_.insert(label->objectName(), label);
    return label;
}

QWidget *MainWindow::buildTopLine()
{
    auto *line = new QWidget(this);
    auto *layout = new QHBoxLayout(line);
    layout->setContentsMargins(0, 0, 0, 0);

    Label15 = addLabel("Label15", QStringLiteral("Tester:"));
    Label16 = addLabel("Label16", QString());
    Label16->setMinimumWidth(220);
    layout->addWidget(Label15);
    layout->addWidget(Label16, 1);

    auto *counters = new QGridLayout;
    Label21 = addLabel("Label21", QStringLiteral("Total recieved:"));
    Label22 = addLabel("Label22", QString());
    Label23 = addLabel("Label23", QStringLiteral("Currently displayed:"));
    current = addLabel("current", QString());
    Label24 = addLabel("Label24", QStringLiteral("of"));
    total = addLabel("total", QString());
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
    Date = addEdit("Date");
    MNO = addEdit("MNO");
    Frequency = addEdit("Frequency");
    RSSI = addEdit("RSSI");
    grid->addWidget(caption(QStringLiteral("Date:"), Bevel1), 0, 0);
    grid->addWidget(Date, 0, 1);
    grid->addWidget(caption(QStringLiteral("Meas-nt No:"), Bevel1), 0, 2);
    grid->addWidget(MNO, 0, 3);
    grid->addWidget(caption(QStringLiteral("Frequency:"), Bevel1), 1, 0);
    grid->addWidget(Frequency, 1, 1);
    grid->addWidget(caption(QStringLiteral("Signal Level (RSSI):"), Bevel1), 1, 2);
    grid->addWidget(RSSI, 1, 3);
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

    struct Row {
        const char *caption;
        const char *digits;
        const char *meaning;   // nullptr: none
    };

    // The call rows and the distress rows share one cell: the distress panel, when shown,
    // lies over the call rows and hides them.
    auto buildRows = [this, captionWidth](QWidget *host, const Row *rows, int count, const char *verdictAfter,
                                          QLabel **verdict, const char *verdictName) {
        auto *grid = new QGridLayout(host);
        grid->setVerticalSpacing(3);
        for (int i = 0; i < count; ++i) {
            QLabel *rowCaption = caption(QString::fromLatin1(rows[i].caption), host);
            rowCaption->setFixedWidth(captionWidth);
            grid->addWidget(rowCaption, i, 0);
            QLineEdit *digits = addEdit(rows[i].digits);
            digits->setParent(host);
            grid->addWidget(digits, i, 1);
            if (rows[i].meaning) {
                QLineEdit *meaning = addEdit(rows[i].meaning);
                meaning->setParent(host);
                grid->addWidget(meaning, i, 2);
            } else if (qstrcmp(rows[i].digits, verdictAfter) == 0) {
                *verdict = addLabel(verdictName, QString());
                (*verdict)->setParent(host);
                (*verdict)->setStyleSheet(QStringLiteral("font-weight: bold;"));
                grid->addWidget(*verdict, i, 2);
            }
        }
        grid->setColumnStretch(1, 3);
        grid->setColumnStretch(2, 5);
        grid->setRowStretch(count, 1);
    };

    static const Row callRows[] = {
        {"Format Specifier:", "FSdigit", "FSMeaning"},
        {"MMSI:", "MMSIdigit", "MMSIMeaning"},
        {"Category:", "CatDigit", "CatMeaning"},
        {"Self Identification(MMSI):", "SelfMMSIdigit", "SelfMMSI"},
        {"First Telecommand:", "FTdigit", "FTMeaning"},
        {"Second telecommand:", "STdigit", "STMeaning"},
        {"Frequency or pos.no FS1:", "FS1digit", "FS1meaning"},
        {"Frequency or pos.no FS2:", "FS2digit", "FS2meaning"},
        {"End of sequence:", "EOS1", nullptr},
        {"ECC:", "ECC", nullptr},
        {"End of sequence:", "EOS2", nullptr},
    };
    static const Row distressRows[] = {
        {"Format Specifier:", "FSDdigit", "FSDmeaning"},
        {"Self MMSI:", "SelfMMSIDdigit", "SelfMMSIDmeaning"},
        {"Nature of distress:", "NATUREdigit", "NATUREmeaning"},
        {"Distress coordinates:", "DCdigits", "DCmeaning"},
        {"Time:", "TIMEdigit", "TIMEmeaning"},
        {"Subsequent communication:", "SCdigit", "SCmeaning"},
        {"End of sequence:", "EOSD1", nullptr},
        {"ECC:", "ECCD", nullptr},
        {"End of sequence:", "EOSD2", nullptr},
    };

    auto *callRowsHost = new QWidget(Panel1);
    buildRows(callRowsHost, callRows, int(std::size(callRows)), "ECC", &ECCCheck, "ECCCheck");
    panelLayout->addWidget(callRowsHost, 1, 0);

    Distress = new QFrame(Panel1);
    Distress->setObjectName(QStringLiteral("Distress"));
    Distress->setFrameShape(QFrame::StyledPanel);
    Distress->setAutoFillBackground(true);
    buildRows(Distress, distressRows, int(std::size(distressRows)), "ECCD", &ECCCDheck, "ECCCDheck");
    panelLayout->addWidget(Distress, 1, 0);
    Distress->raise();
    Distress->setVisible(false);

    auto lookup = [this](const char *name) { return edits_.value(QString::fromLatin1(name)); };
    FSdigit = lookup("FSdigit"); FSMeaning = lookup("FSMeaning");
    MMSIdigit = lookup("MMSIdigit"); MMSIMeaning = lookup("MMSIMeaning");
    CatDigit = lookup("CatDigit"); CatMeaning = lookup("CatMeaning");
    SelfMMSIdigit = lookup("SelfMMSIdigit"); SelfMMSI = lookup("SelfMMSI");
    FTdigit = lookup("FTdigit"); FTMeaning = lookup("FTMeaning");
    STdigit = lookup("STdigit"); STMeaning = lookup("STMeaning");
    FS1digit = lookup("FS1digit"); FS1meaning = lookup("FS1meaning");
    FS2digit = lookup("FS2digit"); FS2meaning = lookup("FS2meaning");
    EOS1 = lookup("EOS1"); ECC = lookup("ECC"); EOS2 = lookup("EOS2");
    FSDdigit = lookup("FSDdigit"); FSDmeaning = lookup("FSDmeaning");
    SelfMMSIDdigit = lookup("SelfMMSIDdigit"); SelfMMSIDmeaning = lookup("SelfMMSIDmeaning");
    NATUREdigit = lookup("NATUREdigit"); NATUREmeaning = lookup("NATUREmeaning");
    DCdigits = lookup("DCdigits"); DCmeaning = lookup("DCmeaning");
    TIMEdigit = lookup("TIMEdigit"); TIMEmeaning = lookup("TIMEmeaning");
    SCdigit = lookup("SCdigit"); SCmeaning = lookup("SCmeaning");
    EOSD1 = lookup("EOSD1"); ECCD = lookup("ECCD"); EOSD2 = lookup("EOSD2");

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
    auto row = [this](QGroupBox *box, const QString &text, const char *name) {
        QLineEdit *edit = addEdit(name);
        edit->setParent(box);
        static_cast<QFormLayout *>(box->layout())->addRow(text, edit);
        return edit;
    };

    GroupBox1 = group("GroupBox1", QStringLiteral("Radio Station Data"));
    RadioType = row(GroupBox1, QStringLiteral("Radio's model or name:"), "RadioType");
    RadioSN = row(GroupBox1, QStringLiteral("Serial Number:"), "RadioSN");
    RadioMan = row(GroupBox1, QStringLiteral("Manufacturer:"), "RadioMan");

    GroupBox2 = group("GroupBox2", QStringLiteral("Vessel Data"));
    VesselName = row(GroupBox2, QStringLiteral("Vessel name:"), "VesselName");
    CompanyOwner = row(GroupBox2, QStringLiteral("Company owner:"), "CompanyOwner");
    VCategory = row(GroupBox2, QStringLiteral("Category/tonnage:"), "VCategory");
    VCompAdd = row(GroupBox2, QStringLiteral("Company address:"), "VCompAdd");
    VTel = row(GroupBox2, QStringLiteral("Tel/Fax:"), "VTel");

    GroupBox3 = group("GroupBox3", QStringLiteral("Controller"));
    CCompany = row(GroupBox3, QStringLiteral("Company:"), "CCompany");
    CTel = row(GroupBox3, QStringLiteral("Tel/fax:"), "CTel");
    CAddress = row(GroupBox3, QStringLiteral("Company address:"), "CAddress");
    Engineer = row(GroupBox3, QStringLiteral("Radioengineer:"), "Engineer");
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

QString MainWindow::fieldText(const QString &name) const
{
    if (QLineEdit *edit = edits_.value(name))
        return edit->text();
    if (QLabel *label = labels_.value(name))
        return label->text();
    return QString();
}

void MainWindow::setFieldText(const QString &name, const QString &text)
{
    if (QLineEdit *edit = edits_.value(name)) {
        edit->setText(text);
        edit->setCursorPosition(0);
    } else if (QLabel *label = labels_.value(name)) {
        label->setText(text);
        // The counters are written whenever the store is filled.
        if (label == Label22)
            refreshSampleNote();
    }
}

QByteArray MainWindow::fieldText8(const QString &name) const
{
    return toText8(fieldText(name));
}

void MainWindow::setFieldText8(const QString &name, const QByteArray &text)
{
    setFieldText(name, fromText8(text));
}

FieldTexts MainWindow::fieldTexts() const
{
    FieldTexts texts;
    for (auto it = edits_.cbegin(); it != edits_.cend(); ++it)
        texts.insert(it.key(), toText8(it.value()->text()));
    for (auto it = labels_.cbegin(); it != labels_.cend(); ++it)
        texts.insert(it.key(), toText8(it.value()->text()));
    return texts;
}

QStringList MainWindow::editFieldNames() const
{
    return edits_.keys();
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
