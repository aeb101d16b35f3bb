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
class PortPicker : public QDialog {
    Q_OBJECT
public:
    explicit PortPicker(const QStringList &items, QWidget *parent = nullptr);

    // Runs the picker modally (the event loop keeps turning). The selected item's text on
    // OK (an empty string when the list is empty), nothing on Cancel or the close box.
    static std::optional<QString> ask(const QStringList &items, QWidget *parent = nullptr);

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QFrame *Bevel1 = nullptr;
    QComboBox *PortsComboBox = nullptr;
    QPushButton *OkBtn = nullptr;
    QPushButton *AbortBtn = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
};

} // namespace kelpra
