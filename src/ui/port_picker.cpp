#include "ui/port_picker.h"

#include "link/port_map.h"

#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QVBoxLayout>

namespace kelpra {

namespace {

QSettings userSettings()
{
    return QSettings(QStringLiteral("kelpra"), QStringLiteral("kelpra"));
}

const QString kPortKey = QStringLiteral("serial/port");

int rowOfPort(const QStringList &items, std::optional<int> number)
{
    if (!number)
        return -1;
    for (int i = 0; i < items.size(); ++i)
        if (portNumberOfRow(items.at(i)) == number)
            return i;
    return -1;
}

} // namespace

std::optional<int> PortPicker::rememberedPort()
{
    bool ok = false;
    const int n = userSettings().value(kPortKey).toInt(&ok);
    if (!ok || n < PortMap::kFirstPort || n > PortMap::kLastPort)
        return std::nullopt;
    return n;
}

void PortPicker::rememberPort(int number)
{
    QSettings settings = userSettings();
    settings.setValue(kPortKey, number);
    settings.sync();
}

PortPicker::PortPicker(const QStringList &items, QWidget *parent, Occasion occasion) : QDialog(parent)
{
    setObjectName(QStringLiteral("ComSelectForm"));
    setWindowTitle(QStringLiteral("Select Port"));
    // Fixed dialog frame: title and close box only, no resizing, no help button.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                   | Qt::MSWindowsFixedSizeDialogHint);
    setModal(true);

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::Box);
    Bevel1->setFrameShadow(QFrame::Sunken);
    const std::optional<int> remembered = rememberedPort();
    const int rememberedRow = rowOfPort(items, remembered);
    QString line1 = QStringLiteral("The configured serial port is not valid.");
    QString line2 = QStringLiteral("Please choose another port.");
    // Nothing configured is not an invalid configuration: say so only when a port was
    // chosen before and is asked for again, or the remembered one is gone.
    if (occasion == Occasion::FirstChoice && !remembered) {
        line1 = QStringLiteral("No serial port has been chosen yet.");
        line2 = QStringLiteral("Please choose the port of the test set.");
    } else if (occasion == Occasion::FirstChoice && rememberedRow >= 0) {
        line1 = QStringLiteral("The port used last time is selected.");
        line2 = QStringLiteral("Press OK to use it, or choose another port.");
    }
    Label1 = new QLabel(line1, Bevel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(line2, Bevel1);
    Label2->setObjectName(QStringLiteral("Label2"));
    auto *bevelLayout = new QVBoxLayout(Bevel1);
    bevelLayout->addWidget(Label1);
    bevelLayout->addWidget(Label2);

    PortsComboBox = new QComboBox(this);
    PortsComboBox->setObjectName(QStringLiteral("PortsComboBox"));
    PortsComboBox->setEditable(false);
    PortsComboBox->addItems(items);
    PortsComboBox->setCurrentIndex(items.isEmpty() ? -1 : qMax(0, rememberedRow));
    // Rows carry the adapter's name: let the list be as wide as the longest row.
    PortsComboBox->setSizeAdjustPolicy(QComboBox::AdjustToContents);

    OkBtn = new QPushButton(QStringLiteral("OK"), this);
    OkBtn->setObjectName(QStringLiteral("OkBtn"));
    OkBtn->setDefault(true);
    AbortBtn = new QPushButton(QStringLiteral("Cancel"), this);
    AbortBtn->setObjectName(QStringLiteral("AbortBtn"));
    connect(OkBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(AbortBtn, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkBtn);
    buttons->addWidget(AbortBtn);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Bevel1);
    layout->addWidget(PortsComboBox);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void PortPicker::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (s) {
        QRect frame = frameGeometry();
        frame.moveCenter(s->availableGeometry().center());
        move(frame.topLeft());
    }
}

std::optional<QString> PortPicker::ask(const QStringList &items, QWidget *parent, Occasion occasion)
{
    // A fresh picker for each prompt, so the list is always the current one.
    PortPicker form(items, parent, occasion);
    if (form.exec() != QDialog::Accepted)
        return std::nullopt;
    const QString chosen = form.PortsComboBox->currentText();
    if (const std::optional<int> number = portNumberOfRow(chosen))
        rememberPort(*number);
    return chosen;
}

} // namespace kelpra
