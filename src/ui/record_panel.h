#pragma once

#include "ui/field_views.h"

#include <QWidget>

class QAction;
class QFrame;
class QLabel;
class QPushButton;
class QToolButton;

namespace kelpra {

class Session;
struct CallCheck;

// The left column of the main window: the top line (identification line, counters, Prev
// and Next), the measurement header and the call panel with its call rows, the distress
// rows lying over them, a check row under each, and the "Download data" button. Drawn from
// the session's record view.
class RecordPanel : public QWidget {
    Q_OBJECT
public:
    RecordPanel(Session &session, QWidget *parent = nullptr);

    // The buttons run these commands.
    void attach(QAction *previous, QAction *next, QAction *download, QAction *decode);
    void refresh();

    bool distressShown() const;

private:
    QWidget *buildTopLine();
    QWidget *buildHeader();
    QWidget *buildCallPanel();
    void showCheck(QLabel *row, const CallCheck *check);

    Session &session_;
    FieldViews fields_;
    QToolButton *previousButton_ = nullptr;   // Prev
    QToolButton *nextButton_ = nullptr;       // Next
    QFrame *distressPanel_ = nullptr;         // Distress
    QWidget *callRows_ = nullptr;             // the call rows, under the distress panel
    QLabel *callCheck_ = nullptr;             // CallCheck
    QLabel *distressCheck_ = nullptr;         // DistressCheck
    QPushButton *downloadButton_ = nullptr;   // Button2
    QPushButton *decodeButton_ = nullptr;     // Button1, never shown
};

} // namespace kelpra
