#pragma once

#include "ui/field_views.h"

#include <QWidget>

class QAction;
class QDateEdit;
class QPushButton;

namespace kelpra {

class Session;

// The right column of the main window: the typed-in data of the radio station, the vessel
// and the controller, with the survey date and "Save details".
class StationPanel : public QWidget {
    Q_OBJECT
public:
    StationPanel(Session &session, QWidget *parent = nullptr);

    // "Save details" runs this command.
    void attach(QAction *saveDetails);
    void refresh();

private:
    Session &session_;
    FieldViews fields_;
    QDateEdit *datePicker_ = nullptr;          // DateTimePicker1
    QPushButton *saveDetailsButton_ = nullptr; // BitBtn1
};

} // namespace kelpra
