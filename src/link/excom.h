#pragma once

#include <QDialog>

#include <memory>

class QProgressBar;
class QPushButton;
class QTimer;

namespace kelpra {

class ApdComPort;
class DownloadExchange;
class DownloadHost;
class MeasurementStore;
class QtExchangeTimer;
class Prompts;
class TForm1;

// The download window "Download data from tester": fetches data from the test set, lets
// the port be chosen again, or takes the built-in sample data.
class TExCom : public QDialog {
    Q_OBJECT
public:
    TExCom(TForm1 &form1, MeasurementStore &store, Prompts &prompts, QWidget *parent = nullptr);
    ~TExCom() override;

    void FormCreate();
    void Button1Click();      // "Emulation": the sample data set
    void DownloadClick();     // "Download"
    void InitPortClick();     // "InitPort"
    void ApdComPort1TriggerAvail(quint16 count);
    void Timer1Timer();       // the no-answer deadline
    void Timer2Timer();       // end of a reply

    QPushButton *Download = nullptr;
    QPushButton *InitPort = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QPushButton *Button1 = nullptr;   // "Emulation"
    QTimer *Timer1 = nullptr;
    QTimer *Timer2 = nullptr;
    ApdComPort *ApdComPort1 = nullptr;

    // The exchange behind Download and the port's notifications.
    DownloadExchange &exchange() const { return *exchange_; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    TForm1 &form1_;
    MeasurementStore &store_;
    Prompts &prompts_;
    std::unique_ptr<QtExchangeTimer> deadline_;
    std::unique_ptr<QtExchangeTimer> replyEnd_;
    std::unique_ptr<DownloadHost> host_;
    std::unique_ptr<DownloadExchange> exchange_;
};

} // namespace kelpra
