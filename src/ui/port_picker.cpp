#include "ui/port_picker.h"

#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace kelpra {

PortPicker::PortPicker(const QStringList &items, QWidget *parent) : QDialog(parent)
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
    Label1 = new QLabel(QStringLiteral("The configured serial port is not valid."), Bevel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(QStringLiteral("Please choose another port."), Bevel1);
    Label2->setObjectName(QStringLiteral("Label2"));
    auto *bevelLayout = new QVBoxLayout(Bevel1);
    bevelLayout->addWidget(Label1);
    bevelLayout->addWidget(Label2);

    PortsComboBox = new QComboBox(this);
    PortsComboBox->setObjectName(QStringLiteral("PortsComboBox"));
    PortsComboBox->setEditable(false);
    PortsComboBox->addItems(items);
    PortsComboBox->setCurrentIndex(items.isEmpty() ? -1 : 0);

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

std::optional<QString> PortPicker::ask(const QStringList &items, QWidget *parent)
{
    // A fresh picker for each prompt, so the list is always the current one.
    PortPicker form(items, parent);
    if (form.exec() != QDialog::Accepted)
        return std::nullopt;
    return form.PortsComboBox->currentText();
}

} // namespace kelpra
