#pragma once

#include <QDialog>
#include <QStringList>

#include <optional>

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;

namespace kelpra {

// The port picker "Select Port": shown when the port is opened without a port number.
// Its rows begin "COM<n>" and name the device and the adapter behind it. The port chosen
// last time (kept in the user's settings across runs) is selected when the picker opens.
class PortPicker : public QDialog {
    Q_OBJECT
public:
    // Why the picker is shown: no port chosen yet in this run, or a port was chosen
    // before and is being asked for again (it failed, or the user wants another).
    enum class Occasion { FirstChoice, ChooseAgain };

    explicit PortPicker(const QStringList &items, QWidget *parent = nullptr,
                        Occasion occasion = Occasion::ChooseAgain);

    // Runs the picker modally (the event loop keeps turning). The selected item's text on
    // OK (an empty string when the list is empty), nothing on Cancel or the close box.
    // A port chosen with OK is remembered for the next picker.
    static std::optional<QString> ask(const QStringList &items, QWidget *parent = nullptr,
                                      Occasion occasion = Occasion::ChooseAgain);

    // The port number chosen last time, kept in the user's settings.
    static std::optional<int> rememberedPort();
    static void rememberPort(int number);

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Controls, by their objectNames: Label1, Label2, Bevel1, PortsComboBox, OkBtn, AbortBtn.
    QLabel *reasonLine_ = nullptr;
    QLabel *adviceLine_ = nullptr;
    QFrame *messageFrame_ = nullptr;
    QComboBox *portList_ = nullptr;
    QPushButton *okButton_ = nullptr;
    QPushButton *cancelButton_ = nullptr;
};

} // namespace kelpra
