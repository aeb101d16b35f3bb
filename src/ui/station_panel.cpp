#include "ui/station_panel.h"

#include "session/session.h"
#include "ui/pictures.h"

#include <QAction>
#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace kelpra {

StationPanel::StationPanel(Session &session, QWidget *parent)
    : QWidget(parent), session_(session), fields_(session)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    auto group = [this](const char *name, const QString &title) {
        auto *box = new QGroupBox(title, this);
        box->setObjectName(QString::fromLatin1(name));
        new QFormLayout(box);
        return box;
    };
    auto row = [this](QGroupBox *box, const CaptionedField &field) {
        static_cast<QFormLayout *>(box->layout())->addRow(QString::fromLatin1(field.caption),
                                                           fields_.addEdit(field.field, box));
    };

    QGroupBox *radio = group("GroupBox1", QStringLiteral("Radio Station Data"));
    QGroupBox *vessel = group("GroupBox2", QStringLiteral("Vessel Data"));
    for (int i = 0; i < static_cast<int>(kStationFields.size()); ++i)
        row(i < kRadioStationFields ? radio : vessel, kStationFields[static_cast<size_t>(i)]);

    QGroupBox *controller = group("GroupBox3", QStringLiteral("Controller"));
    for (const CaptionedField &field : kControllerFields)
        row(controller, field);
    datePicker_ = new QDateEdit(controller);
    datePicker_->setObjectName(QStringLiteral("DateTimePicker1"));
    datePicker_->setCalendarPopup(true);
    datePicker_->setDisplayFormat(QLocale::system().dateFormat(QLocale::ShortFormat));
    datePicker_->setDate(session_.surveyDate());
    connect(datePicker_, &QDateEdit::dateChanged, this, [this](const QDate &date) { session_.setSurveyDate(date); });
    static_cast<QFormLayout *>(controller->layout())->addRow(QStringLiteral("Date:"), datePicker_);
    saveDetailsButton_ = new QPushButton(picture("details"), QStringLiteral("Save details"), controller);
    saveDetailsButton_->setObjectName(QStringLiteral("BitBtn1"));
    static_cast<QFormLayout *>(controller->layout())->addRow(QString(), saveDetailsButton_);

    layout->addWidget(radio);
    layout->addWidget(vessel);
    layout->addWidget(controller);
    layout->addStretch();
}

void StationPanel::attach(QAction *saveDetails)
{
    connect(saveDetailsButton_, &QPushButton::clicked, saveDetails, &QAction::trigger);
}

void StationPanel::refresh()
{
    fields_.refresh();
    if (datePicker_->date() != session_.surveyDate())
        datePicker_->setDate(session_.surveyDate());
}

} // namespace kelpra
