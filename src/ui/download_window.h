#pragma once

#include <QDialog>

#include <memory>

class QProgressBar;
class QPushButton;
class QTimer;

namespace kelpra {

class SerialPort;
class DownloadExchange;
class DownloadHost;
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
    void receiveBytes(quint16 count);
    void onDeadline();       // the no-answer deadline
    void onReplyEnd();       // end of a reply

    QPushButton *Download = nullptr;
    QPushButton *InitPort = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QPushButton *Button1 = nullptr;   // "Emulation"
    QTimer *Timer1 = nullptr;
    QTimer *Timer2 = nullptr;
    SerialPort *ApdComPort1 = nullptr;

    // The exchange behind Download and the port's notifications.
    DownloadExchange &exchange() const { return *exchange_; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    MainWindow &mainWindow_;
    MeasurementStore &store_;
    Prompts &prompts_;
    std::unique_ptr<QtExchangeTimer> deadline_;
    std::unique_ptr<QtExchangeTimer> replyEnd_;
    std::unique_ptr<DownloadHost> host_;
    std::unique_ptr<DownloadExchange> exchange_;
};

} // namespace kelpra
