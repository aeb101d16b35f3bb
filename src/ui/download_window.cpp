#include "ui/download_window.h"

#include "ui/main_window.h"
#include "ui/pictures.h"
#include "ui/prompts.h"
#include "data/measurement_store.h"
#include "data/navigation.h"
#include "link/serial_port.h"
#include "link/download_exchange.h"

#include <QCloseEvent>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace kelpra {

namespace {

// The one place where a download reaches into the main window: a complete download shows
// the new set from its first record, as every other way of filling the store does.
void showNewSet(MainWindow &mainWindow)
{
    MeasurementStore &store = mainWindow.store();
    mainWindow.showNavigation(recordsReplaced(store, store.record_count()));
}

// The exchange's events in the windows. Nothing of the main window changes before the
// exchange has succeeded, so a failed download leaves on display what was held before.
class WindowObserver : public DownloadObserver {
public:
    WindowObserver(DownloadWindow &window, MainWindow &mainWindow, Prompts &prompts)
        : window_(window), mainWindow_(mainWindow), prompts_(prompts) {}

    void started() override
    {
        setCommandsEnabled(false);
        window_.ProgressBar1->setValue(0);
        window_.hide();
        mainWindow_.setStatusText(DownloadExchange::kDecodeHint);
    }
    // The bar counts the command just sent: 2 after the identification line, 17 at the end.
    void progress(int received) override { window_.ProgressBar1->setValue(received + 1); }
    void finished(const DownloadOutcome &outcome) override
    {
        if (outcome.ok())
            showNewSet(mainWindow_);
        prompts_.information(outcome.message());
        setCommandsEnabled(true);
        if (outcome.ok())
            mainWindow_.decodeMessage();
    }

private:
    void setCommandsEnabled(bool enabled)
    {
        window_.Download->setEnabled(enabled);
        window_.InitPort->setEnabled(enabled);
    }

    DownloadWindow &window_;
    MainWindow &mainWindow_;
    Prompts &prompts_;
};

} // namespace

DownloadWindow::DownloadWindow(MainWindow &mainWindow, MeasurementStore &store, Prompts &prompts, QWidget *parent)
    : QDialog(parent), mainWindow_(mainWindow), store_(store), prompts_(prompts)
{
    setObjectName(QStringLiteral("ExCom"));
    setWindowTitle(QStringLiteral("Download data from tester"));
    setWindowIcon(picture("app"));
    // A small modeless tool window beside the main window.
    setModal(false);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint
                   | Qt::WindowTitleHint);

    QFont bold(QStringLiteral("Tahoma"));
    bold.setPixelSize(13);
    bold.setBold(true);
    setFont(bold);

    Download = new QPushButton(picture("download"), QStringLiteral("Download"), this);
    Download->setObjectName(QStringLiteral("Download"));
    InitPort = new QPushButton(picture("initport"), QStringLiteral("InitPort"), this);
    InitPort->setObjectName(QStringLiteral("InitPort"));
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 17);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    Button1 = new QPushButton(picture("emulation"), QStringLiteral("Emulation"), this);
    Button1->setObjectName(QStringLiteral("Button1"));

    auto *top = new QHBoxLayout;
    top->addWidget(Download);
    top->addWidget(InitPort);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(Button1);
    bottom->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(ProgressBar1);
    layout->addLayout(bottom);
    setFixedSize(246, 151);

    connect(Download, &QPushButton::clicked, this, [this] { startDownload(); });
    connect(InitPort, &QPushButton::clicked, this, [this] { choosePortAgain(); });
    connect(Button1, &QPushButton::clicked, this, [this] { loadSampleData(); });

    ApdComPort1 = new SerialPort(this);
    ApdComPort1->setObjectName(QStringLiteral("ApdComPort1"));
    ApdComPort1->setPicker([this](const QStringList &items) { return prompts_.pickPort(items); });
    deadline_ = std::make_unique<QtExchangeTimer>(this, QStringLiteral("Timer1"));
    replyEnd_ = std::make_unique<QtExchangeTimer>(this, QStringLiteral("Timer2"));
    observer_ = std::make_unique<WindowObserver>(*this, mainWindow_, prompts_);
    exchange_ = std::make_unique<DownloadExchange>(*ApdComPort1, *deadline_, *replyEnd_, store_, *observer_);
}

DownloadWindow::~DownloadWindow()
{
    // The port outlives the exchange among the children: no notification may reach it now.
    exchange_.reset();
    ApdComPort1->close();
}

void DownloadWindow::closeEvent(QCloseEvent *event)
{
    // The close box only hides the window; it lives, with its state, until the program ends.
    hide();
    event->ignore();
}

void DownloadWindow::loadSampleData()
{
    mainWindow_.showNavigation(loadSampleSet(store_));
    hide();
    mainWindow_.clickDecodeMessage();
    mainWindow_.setStatusText(kDecodeHint);
}

void DownloadWindow::startDownload() { exchange_->download(); }
void DownloadWindow::choosePortAgain() { reselectPort(*ApdComPort1); }

} // namespace kelpra
