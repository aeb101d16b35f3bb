#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace kelpra {

// The about box "RARIV Evodir software". Modeless: the main window stays usable while it
// is open, and "Close" only hides it, so showing it again shows the same box.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget *parent = nullptr);
    void closeBox(); // "Close": hides the box

    QLabel *Label1 = nullptr;  // title line
    QLabel *Emblem = nullptr;  // small picture right of the title
    QLabel *Logo = nullptr;    // the logo picture
    QLabel *Label2 = nullptr;  // maker's name
    QLabel *Contacts = nullptr;
    QLabel *Ownership = nullptr;
    QLabel *Credit = nullptr;
    QLabel *VersionLabel = nullptr;
    QPushButton *Button1 = nullptr;
};

} // namespace kelpra
