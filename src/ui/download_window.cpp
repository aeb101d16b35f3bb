#include "ui/download_window.h"

#include "data/wire.h"
#include "link/download_exchange.h"
#include "link/port_map.h"
#include "link/serial_port.h"
#include "session/session.h"
#include "ui/pictures.h"
#include "ui/prompts.h"
#include "ui/qt_prompts.h"

#include <QCloseEvent>
#include <QFont>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace kelpra {

// The exchange's events in the window and the session. Nothing of the session changes
// before the exchange has succeeded, so a failed download leaves on display what was held
// before.
class DownloadWindowObserver : public DownloadObserver {
public:
    explicit DownloadWindowObserver(DownloadWindow &window) : window_(window) {}

    void started() override
    {
        window_.progress_ = 0;
        window_.updateState();
        window_.hide();
        window_.session_.downloadStarted();
    }
    // The bar counts the command just sent: 2 after the identification line, 17 at the end.
    void progress(int received) override
    {
        window_.progress_ = received + 1;
        window_.updateState();
    }
    void stateChanged() override { window_.updateState(); }
    void finished(const DownloadOutcome &outcome) override
    {
        if (outcome.ok()) {
            const SerialPort &port = window_.port();
            window_.session_.acceptDownload(outcome.replies(), wire::portName(port.portNumber()), port.device());
        }
        window_.reporting_ = true;
        window_.updateState();
        window_.prompts_.information(outcome.message());
        window_.reporting_ = false;
        window_.updateState();
        if (outcome.ok())
            window_.session_.decodeMessage();
        else
            window_.offerPortAgain(outcome);
    }

private:
    DownloadWindow &window_;
};

DownloadWindow::DownloadWindow(Session &session, Prompts &prompts, QWidget *parent)
    : QDialog(parent), session_(session), prompts_(prompts)
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

    downloadButton_ = new QPushButton(picture("download"), QStringLiteral("Download"), this);
    downloadButton_->setObjectName(QStringLiteral("Download"));
    initPortButton_ = new QPushButton(picture("initport"), QStringLiteral("InitPort"), this);
    initPortButton_->setObjectName(QStringLiteral("InitPort"));
    progressBar_ = new QProgressBar(this);
    progressBar_->setObjectName(QStringLiteral("ProgressBar1"));
    progressBar_->setRange(0, wire::kReplyCount);
    progressBar_->setValue(0);
    progressBar_->setTextVisible(false);
    emulationButton_ = new QPushButton(picture("emulation"), QStringLiteral("Emulation"), this);
    emulationButton_->setObjectName(QStringLiteral("Button1"));

    auto *top = new QHBoxLayout;
    top->addWidget(downloadButton_);
    top->addWidget(initPortButton_);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(emulationButton_);
    bottom->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(progressBar_);
    layout->addLayout(bottom);
    // Small, but never so narrow that the window manager cuts its title.
    setFixedSize(qMax(246, titleRoom(windowTitle())), 151);

    connect(downloadButton_, &QPushButton::clicked, this, &DownloadWindow::startDownload);
    connect(initPortButton_, &QPushButton::clicked, this, &DownloadWindow::choosePortAgain);
    connect(emulationButton_, &QPushButton::clicked, this, &DownloadWindow::loadSampleData);

    port_ = new SerialPort(this);
    port_->setObjectName(QStringLiteral("ApdComPort1"));
    deadline_ = std::make_unique<QtExchangeTimer>(this, QStringLiteral("Timer1"));
    replyEnd_ = std::make_unique<QtExchangeTimer>(this, QStringLiteral("Timer2"));
    observer_ = std::make_unique<DownloadWindowObserver>(*this);
    exchange_ = std::make_unique<DownloadExchange>(*port_, *deadline_, *replyEnd_, *observer_);
}

DownloadWindow::~DownloadWindow()
{
    // The port outlives the exchange among the children: no notification may reach it now.
    exchange_.reset();
    port_->close();
}

void DownloadWindow::updateState()
{
    const bool idle = exchange_->state() == DownloadExchange::State::Idle && !reporting_;
    downloadButton_->setEnabled(idle);
    initPortButton_->setEnabled(idle);
    // "Emulation" is never disabled. The bar is never reset by the end of an exchange: it
    // shows how far the last one got.
    progressBar_->setValue(progress_);
}

void DownloadWindow::closeEvent(QCloseEvent *event)
{
    // The close box only hides the window; it lives, with its state, until the program ends.
    hide();
    event->ignore();
}

void DownloadWindow::loadSampleData()
{
    hide();
    session_.loadSampleSet();
}

bool DownloadWindow::askForPort(const PortQuestion &question)
{
    const std::optional<QString> chosen = prompts_.pickPort(port_->findPorts(), question);
    if (!chosen || chosen->isEmpty())
        return false;
    const std::optional<int> number = portNumberOfRow(*chosen);
    if (!number)
        return false;
    port_->setPortNumber(*number);
    return true;
}

void DownloadWindow::startDownload()
{
    // The first download asks for the port before anything is sent; Cancel there ends it.
    if (port_->portNumber() == 0 && !askForPort({}))
        return;
    exchange_->download();
}

void DownloadWindow::offerPortAgain(const DownloadOutcome &failure)
{
    // The picker says what went wrong: a port that would not open is not valid; anything
    // else failed on the way and may well work again.
    const PortQuestion question =
        failure.cause() == DownloadOutcome::Cause::CannotOpen
            ? PortQuestion{QStringLiteral("The configured serial port is not valid."),
                           QStringLiteral("Please choose another port.")}
            : PortQuestion{QStringLiteral("The download failed: ") + failure.causeLine(),
                           QStringLiteral("Choose the port again, or another one.")};
    // Whatever is chosen is opened at once and stays open for the next download; a port
    // that does not open is found out then.
    if (askForPort(question))
        (void)port_->open();
}

void DownloadWindow::choosePortAgain()
{
    port_->close();
    port_->setPortNumber(0);
    if (askForPort({}))
        (void)port_->open();
}

} // namespace kelpra
