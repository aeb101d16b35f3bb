#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kelpra {

class Prompts;

// The settings page "Archive settings" (`ArchiveSettings`): where the survey archive lives,
// an SQLite file or a postgresql://user@host:port/dbname address. Saved with the user's
// settings, never with a password. KELPRA_ARCHIVE in the environment wins over it, and the
// page says so.
class ArchiveSettingsPage : public QDialog {
    Q_OBJECT
public:
    ArchiveSettingsPage(Prompts &prompts, QWidget *parent = nullptr);

    // Fills the page from the saved setting and the environment.
    void reload();
    // "Save": checks and saves the location; false, with the error shown, when it is none.
    bool save();
    void browse(); // "Browse…": an SQLite file

Q_SIGNALS:
    // A new location was saved.
    void saved();

private:
    Prompts &prompts_;
    QLineEdit *location_ = nullptr;       // ArchiveLocation
    QLabel *environmentNote_ = nullptr;   // EnvironmentNote
    QLabel *inUse_ = nullptr;             // ArchiveInUse
};

} // namespace kelpra
