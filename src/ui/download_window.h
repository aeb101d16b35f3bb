#pragma once

#include "ui/prompts.h"

#include <QDialog>

#include <memory>

class QProgressBar;
class QPushButton;

namespace kelpra {

class DownloadExchange;
class DownloadOutcome;
class DownloadObserver;
class Prompts;
class QtExchangeTimer;
class SerialPort;
class Session;

// The download window "Download data from tester" (`ExCom`): fetches data from the test
// set into the session, lets the port be chosen again, or takes the built-in sample data.
// What it shows follows the exchange's state (updateState()); it asks the user for a port
// when one is needed, so the link never prompts.
class DownloadWindow : public QDialog {
    Q_OBJECT
public:
    DownloadWindow(Session &session, Prompts &prompts, QWidget *parent = nullptr);
    ~DownloadWindow() override;

    void loadSampleData();   // "Emulation": the sample data set
    void startDownload();    // "Download"
    void choosePortAgain();  // "InitPort"

    // The buttons and the progress bar as the exchange's state says.
    void updateState();

    SerialPort &port() const { return *port_; }
    DownloadExchange &exchange() const { return *exchange_; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    friend class DownloadWindowObserver;
    // Asks for a port and sets its number; false when the user chose none.
    bool askForPort(const PortQuestion &question);
    // After a failed download: a port for the next one, opened at once.
    void offerPortAgain(const DownloadOutcome &failure);

    Session &session_;
    Prompts &prompts_;
    QPushButton *downloadButton_ = nullptr;   // Download
    QPushButton *initPortButton_ = nullptr;   // InitPort
    QProgressBar *progressBar_ = nullptr;     // ProgressBar1
    QPushButton *emulationButton_ = nullptr;  // Button1
    SerialPort *port_ = nullptr;              // ApdComPort1
    // The outcome's box is open: the commands stay disabled until it is read.
    bool reporting_ = false;
    int progress_ = 0;
    std::unique_ptr<QtExchangeTimer> deadline_;   // Timer1
    std::unique_ptr<QtExchangeTimer> replyEnd_;   // Timer2
    std::unique_ptr<DownloadObserver> observer_;
    std::unique_ptr<DownloadExchange> exchange_;
};

} // namespace kelpra
