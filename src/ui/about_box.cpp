#include "ui/about_box.h"

#include "ui/jpeg_image.h"
#include "ui/picture_render.h"
#include "ui/pictures.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

// The logo lives in a static library; its resource must be pulled in by name.
static void loadAboutResources()
{
    Q_INIT_RESOURCE(kelpra_about);
}

namespace kelpra {

namespace {

QLabel *makeLabel(const QString &text, const QString &name, QWidget *parent, bool bold = false)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    return label;
}

} // namespace

AboutBox::AboutBox(QWidget *parent) : QDialog(parent)
{
    loadAboutResources();
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("RARIV Evodir software"));
    setWindowIcon(picture("app"));
    setModal(false);

    titleLine_ = makeLabel(QStringLiteral("RARIV Evodir software v.2.5 18.03.08"), QStringLiteral("Label1"),
                       this, true);
    // The pictures are drawn and decoded when the box is first shown, not at start-up.
    emblem_ = new QLabel(this);
    emblem_->setObjectName(QStringLiteral("Emblem"));
    logo_ = new QLabel(this);
    logo_->setObjectName(QStringLiteral("Logo"));
    logo_->setAlignment(Qt::AlignCenter);

    makerLine_ = makeLabel(QStringLiteral("Brantell Ltd"), QStringLiteral("Label2"), this, true);
    contacts_ = makeLabel(QStringLiteral("17 Quay Street, Harbourtown EX1 0AA\n"
                                        "Exampleland\n"
                                        "Tel: +00 555 0100\n"
                                        "Fax: +00 555 0199\n"
                                        "Web: www.example.com\n"
                                        "E-mail: support@example.org"),
                         QStringLiteral("Contacts"), this);
    ownership_ = makeLabel(QStringLiteral("This software is the property of Brantell Ltd. All rights reserved."),
                          QStringLiteral("Ownership"), this);
    credit_ = makeLabel(QStringLiteral("Developed by the Brantell Ltd radio software group."),
                       QStringLiteral("Credit"), this);
    versionLine_ = makeLabel(QStringLiteral("Version " KELPRA_VERSION), QStringLiteral("VersionLabel"), this);
    QFont small = versionLine_->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    versionLine_->setFont(small);
    versionLine_->setForegroundRole(QPalette::PlaceholderText);

    closeButton_ = new QPushButton(QStringLiteral("Close"), this);
    closeButton_->setObjectName(QStringLiteral("Button1"));
    closeButton_->setDefault(true);
    connect(closeButton_, &QPushButton::clicked, this, &AboutBox::closeBox);

    auto *titleRow = new QHBoxLayout;
    titleRow->addWidget(titleLine_, 1);
    titleRow->addWidget(emblem_);

    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(closeButton_);
    buttonRow->addStretch(1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 12);
    layout->addLayout(titleRow);
    layout->addWidget(logo_);
    layout->addSpacing(6);
    layout->addWidget(makerLine_);
    layout->addWidget(contacts_);
    layout->addSpacing(6);
    layout->addWidget(ownership_);
    layout->addWidget(credit_);
    layout->addWidget(versionLine_);
    layout->addSpacing(8);
    layout->addLayout(buttonRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void AboutBox::showEvent(QShowEvent *event)
{
    if (emblem_->pixmap().isNull()) {
        emblem_->setPixmap(QPixmap::fromImage(renderPicture("app", 40)));
        QFile logoFile(QStringLiteral(":/about/logo.jpg"));
        if (logoFile.open(QIODevice::ReadOnly)) {
            const QImage logo = decodeJpeg(logoFile.readAll());
            if (!logo.isNull())
                logo_->setPixmap(QPixmap::fromImage(logo));
        }
    }
    QDialog::showEvent(event);
}

void AboutBox::closeBox()
{
    hide();
}

} // namespace kelpra
