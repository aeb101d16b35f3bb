#pragma once

#include "ui/prompts.h"

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
    // `question` says why it asks; empty: a first choice.
    explicit PortPicker(const QStringList &items, QWidget *parent = nullptr, const PortQuestion &question = {});

    // Runs the picker modally (the event loop keeps turning). The selected item's text on
    // OK (an empty string when the list is empty), nothing on Cancel or the close box.
    // A port chosen with OK is remembered for the next picker.
    static std::optional<QString> ask(const QStringList &items, QWidget *parent = nullptr,
                                      const PortQuestion &question = {});

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
