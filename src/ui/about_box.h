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

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Controls, by their objectNames: Label1, Emblem, Logo, Label2, ..., Button1 ("Close").
    QLabel *titleLine_ = nullptr;  // title line
    QLabel *emblem_ = nullptr;  // small picture right of the title
    QLabel *logo_ = nullptr;    // the logo picture
    QLabel *makerLine_ = nullptr;  // maker's name
    QLabel *contacts_ = nullptr;
    QLabel *ownership_ = nullptr;
    QLabel *credit_ = nullptr;
    QLabel *versionLine_ = nullptr;
    QPushButton *closeButton_ = nullptr;
};

} // namespace kelpra
