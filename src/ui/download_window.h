#pragma once

#include <QDialog>

#include <memory>

class QProgressBar;
class QPushButton;

namespace kelpra {

class SerialPort;
class DownloadExchange;
class DownloadObserver;
class MeasurementStore;
class QtExchangeTimer;
class Prompts;
class MainWindow;

// The download window "Download data from tester": fetches data from the test set, lets
// the port be chosen again, or takes the built-in sample data.
class DownloadWindow : public QDialog {
    Q_OBJECT
public:
    DownloadWindow(MainWindow &mainWindow, MeasurementStore &store, Prompts &prompts, QWidget *parent = nullptr);
    ~DownloadWindow() override;

    void loadSampleData();      // "Emulation": the sample data set
    void startDownload();     // "Download"
    void choosePortAgain();     // "InitPort"

    QPushButton *Download = nullptr;
    QPushButton *InitPort = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QPushButton *Button1 = nullptr;   // "Emulation"
    SerialPort *ApdComPort1 = nullptr;

    // The exchange behind Download and the port's notifications.
    DownloadExchange &exchange() const { return *exchange_; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    MainWindow &mainWindow_;
    MeasurementStore &store_;
    Prompts &prompts_;
    std::unique_ptr<QtExchangeTimer> deadline_;   // Timer1
    std::unique_ptr<QtExchangeTimer> replyEnd_;   // Timer2
    std::unique_ptr<DownloadObserver> observer_;
    std::unique_ptr<DownloadExchange> exchange_;
};

} // namespace kelpra
