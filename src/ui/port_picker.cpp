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

PortPicker::PortPicker(const QStringList &items, QWidget *parent, const PortQuestion &question) : QDialog(parent)
{
    setObjectName(QStringLiteral("ComSelectForm"));
    setWindowTitle(QStringLiteral("Select Port"));
    // Fixed dialog frame: title and close box only, no resizing, no help button.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                   | Qt::MSWindowsFixedSizeDialogHint);
    setModal(true);

    messageFrame_ = new QFrame(this);
    messageFrame_->setObjectName(QStringLiteral("Bevel1"));
    messageFrame_->setFrameShape(QFrame::Box);
    messageFrame_->setFrameShadow(QFrame::Sunken);
    const std::optional<int> remembered = rememberedPort();
    const int rememberedRow = rowOfPort(items, remembered);
    // The caller says why it asks; a first choice says what is known of the last one. Only
    // a remembered port that is gone makes the configuration invalid.
    QString line1 = question.reason;
    QString line2 = question.advice;
    if (line1.isEmpty() && !remembered) {
        line1 = QStringLiteral("No serial port has been chosen yet.");
        line2 = QStringLiteral("Please choose the port of the test set.");
    } else if (line1.isEmpty() && rememberedRow >= 0) {
        line1 = QStringLiteral("The port used last time is selected.");
        line2 = QStringLiteral("Press OK to use it, or choose another port.");
    } else if (line1.isEmpty()) {
        line1 = QStringLiteral("The configured serial port is not valid.");
        line2 = QStringLiteral("Please choose another port.");
    }
    reasonLine_ = new QLabel(line1, messageFrame_);
    reasonLine_->setObjectName(QStringLiteral("Label1"));
    adviceLine_ = new QLabel(line2, messageFrame_);
    adviceLine_->setObjectName(QStringLiteral("Label2"));
    auto *bevelLayout = new QVBoxLayout(messageFrame_);
    bevelLayout->addWidget(reasonLine_);
    bevelLayout->addWidget(adviceLine_);

    portList_ = new QComboBox(this);
    portList_->setObjectName(QStringLiteral("PortsComboBox"));
    portList_->setEditable(false);
    portList_->addItems(items);
    portList_->setCurrentIndex(items.isEmpty() ? -1 : qMax(0, rememberedRow));
    // Rows carry the adapter's name: let the list be as wide as the longest row.
    portList_->setSizeAdjustPolicy(QComboBox::AdjustToContents);

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("OkBtn"));
    okButton_->setDefault(true);
    cancelButton_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton_->setObjectName(QStringLiteral("AbortBtn"));
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(messageFrame_);
    layout->addWidget(portList_);
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

std::optional<QString> PortPicker::ask(const QStringList &items, QWidget *parent, const PortQuestion &question)
{
    // A fresh picker for each prompt, so the list is always the current one.
    PortPicker form(items, parent, question);
    if (form.exec() != QDialog::Accepted)
        return std::nullopt;
    const QString chosen = form.portList_->currentText();
    if (const std::optional<int> number = portNumberOfRow(chosen))
        rememberPort(*number);
    return chosen;
}

} // namespace kelpra
