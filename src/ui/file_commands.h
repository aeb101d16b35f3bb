#pragma once

#include <QString>

namespace kelpra {

class Prompts;
class Session;

// The data-file and details-file commands: they bring the dialogs, the files and the
// session together. Nothing here is a window.
class FileCommands {
public:
    FileCommands(Session &session, Prompts &prompts) : session_(session), prompts_(prompts) {}

    void openData();      // "Open data"
    void saveData();      // "Save data"
    // "Save all data"; true once every record held is in the file.
    bool saveAllData();
    void saveDetails();   // "Save details"
    void restoreDetails(); // the controller lines from details.txt, at start-up

private:
    // Reads, checks and opens the file; false when nothing was loaded.
    bool loadFile(const QString &path);
    void showError(const QString &errorText);

    Session &session_;
    Prompts &prompts_;
    QString lastOpened_;   // proposed again by the next "Open data"
};

} // namespace kelpra
