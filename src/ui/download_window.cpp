#include "ui/download_window.h"

#include "ui/main_window.h"
#include "ui/pictures.h"
#include "ui/prompts.h"
#include "data/measurement_store.h"
#include "data/sample_set.h"
#include "link/serial_port.h"
#include "link/download_exchange.h"

#include <QCloseEvent>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace kelpra {

namespace {

// The exchange's effects in the windows: the main window's figures, buttons, status line
// and "Decode message", this window's buttons and progress bar, and the message boxes.
class WindowHost : public DownloadHost {
public:
    WindowHost(DownloadWindow &window, MainWindow &mainWindow, Prompts &prompts)
        : window_(window), mainWindow_(mainWindow), prompts_(prompts) {}

    void setCommandsEnabled(bool enabled) override
    {
        window_.Download->setEnabled(enabled);
        window_.InitPort->setEnabled(enabled);
    }
    void setProgress(int position) override { window_.ProgressBar1->setValue(position); }
    void showCounts(int received, int current, int total) override
    {
        mainWindow_.setFieldText(QStringLiteral("Label22"), QString::number(received));
        mainWindow_.setFieldText(QStringLiteral("current"), QString::number(current));
        mainWindow_.setFieldText(QStringLiteral("total"), QString::number(total));
    }
    void setPrevVisible(bool visible) override { mainWindow_.Prev->setVisible(visible); }
    void setNextVisible(bool visible) override { mainWindow_.Next->setVisible(visible); }
    void hideDownloadWindow() override { window_.hide(); }
    void decodeMessage() override { mainWindow_.Button1->click(); }
    void setStatusText(const QString &text) override { mainWindow_.setStatusText(text); }
    void showMessage(const QString &text) override { prompts_.information(text); }
    void showError(const QString &text) override { mainWindow_.showError(text); }

private:
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

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    // 25 ms must mean 25 ms: a coarse timer may fire a millisecond early and cut a reply.
    Timer2->setTimerType(Qt::PreciseTimer);
    Timer1->setTimerType(Qt::PreciseTimer);

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
    ApdComPort1->onDataAvailable = [this](quint16 count) { receiveBytes(count); };

    deadline_ = std::make_unique<QtExchangeTimer>(Timer1);
    replyEnd_ = std::make_unique<QtExchangeTimer>(Timer2);
    deadline_->onTimeout = [this] { onDeadline(); };
    replyEnd_->onTimeout = [this] { onReplyEnd(); };
    host_ = std::make_unique<WindowHost>(*this, mainWindow_, prompts_);
    exchange_ = std::make_unique<DownloadExchange>(*ApdComPort1, *deadline_, *replyEnd_, store_, *host_);

}

DownloadWindow::~DownloadWindow()
{
    // The port outlives the exchange among the children: no notification may reach it now.
    ApdComPort1->onDataAvailable = nullptr;
    Timer1->stop();
    Timer2->stop();
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
    store_.setSlot(0, sampleIdentificationLine());
    for (int slot = 1; slot <= MeasurementStore::kRecordSlots; ++slot)
        store_.setSlot(slot, sampleRecord(slot));
    store_.set_record_count(16);
    store_.setFromSampleSet(true);

    mainWindow_.setFieldText(QStringLiteral("Label22"), QStringLiteral("16"));
    mainWindow_.setFieldText(QStringLiteral("current"), QStringLiteral("1"));
    mainWindow_.setFieldText(QStringLiteral("total"), QStringLiteral("16"));
    store_.set_display_index(1);
    mainWindow_.Prev->setVisible(false);
    mainWindow_.Next->setVisible(true);
    hide();
    mainWindow_.Button1->click();
    mainWindow_.setStatusText(
        QStringLiteral("Please press Decode message button or use navigation buttons in upper right corner."));
}

void DownloadWindow::startDownload() { exchange_->download(); }
void DownloadWindow::choosePortAgain() { reselectPort(*ApdComPort1); }
void DownloadWindow::receiveBytes(quint16 count) { exchange_->dataAvailable(count); }
void DownloadWindow::onDeadline() { exchange_->deadlineExpired(); }
void DownloadWindow::onReplyEnd() { exchange_->replyEnded(); }

} // namespace kelpra
