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

    Label1 = makeLabel(QStringLiteral("RARIV Evodir software v.2.5 18.03.08"), QStringLiteral("Label1"),
                       this, true);
    Emblem = new QLabel(this);
    Emblem->setObjectName(QStringLiteral("Emblem"));
    Emblem->setPixmap(QPixmap::fromImage(renderPicture("app", 40)));

    Logo = new QLabel(this);
    Logo->setObjectName(QStringLiteral("Logo"));
    Logo->setAlignment(Qt::AlignCenter);
    QFile logoFile(QStringLiteral(":/about/logo.jpg"));
    if (logoFile.open(QIODevice::ReadOnly)) {
        const QImage logo = decodeJpeg(logoFile.readAll());
        if (!logo.isNull())
            Logo->setPixmap(QPixmap::fromImage(logo));
    }

    Label2 = makeLabel(QStringLiteral("Brantell Ltd"), QStringLiteral("Label2"), this, true);
    Contacts = makeLabel(QStringLiteral("17 Quay Street, Harbourtown EX1 0AA\n"
                                        "Exampleland\n"
                                        "Tel: +00 555 0100\n"
                                        "Fax: +00 555 0199\n"
                                        "Web: www.example.com\n"
                                        "E-mail: support@example.org"),
                         QStringLiteral("Contacts"), this);
    Ownership = makeLabel(QStringLiteral("This software is the property of Brantell Ltd. All rights reserved."),
                          QStringLiteral("Ownership"), this);
    Credit = makeLabel(QStringLiteral("Developed by the Brantell Ltd radio software group."),
                       QStringLiteral("Credit"), this);
    VersionLabel = makeLabel(QStringLiteral("Version " KELPRA_VERSION), QStringLiteral("VersionLabel"), this);
    QFont small = VersionLabel->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    VersionLabel->setFont(small);
    VersionLabel->setForegroundRole(QPalette::PlaceholderText);

    Button1 = new QPushButton(QStringLiteral("Close"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &AboutBox::closeBox);

    auto *titleRow = new QHBoxLayout;
    titleRow->addWidget(Label1, 1);
    titleRow->addWidget(Emblem);

    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(Button1);
    buttonRow->addStretch(1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 12);
    layout->addLayout(titleRow);
    layout->addWidget(Logo);
    layout->addSpacing(6);
    layout->addWidget(Label2);
    layout->addWidget(Contacts);
    layout->addSpacing(6);
    layout->addWidget(Ownership);
    layout->addWidget(Credit);
    layout->addWidget(VersionLabel);
    layout->addSpacing(8);
    layout->addLayout(buttonRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void AboutBox::closeBox()
{
    hide();
}

} // namespace kelpra
