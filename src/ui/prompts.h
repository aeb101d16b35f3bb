#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QPrinter;

namespace kelpra {

// How a file dialog is set up for one use.
struct FileDialogSetup {
    QString filter;        // one file type such as "*.bin"; empty offers all files
    QString defaultSuffix; // appended to a name typed without one, such as "bin"; when opening,
                           // only if the name does not exist as typed
    QString proposedName;  // the file name the dialog starts with
};

// Why the port picker asks: its two lines. Empty: the first choice, and the picker says
// what it knows of the port chosen last time.
struct PortQuestion {
    QString reason;   // "The download failed: No answer from COM3 (/dev/ttyUSB2)."
    QString advice;   // "Choose the port again, or another one."
};

// Every modal prompt of the program goes through this seam, so that tests can answer
// prompts from a queue without a window blocking them. Each prompt runs the event loop
// while it is open (serial notifications and timers go on meanwhile).
class Prompts {
public:
    virtual ~Prompts() = default;

    // A message box titled with the application title, with an OK button.
    virtual void information(const QString &text) = 0;
    // The general error handler's box: error icon, the text exactly as given.
    virtual void error(const QString &text) = 0;

    // A question box with the given buttons, left to right. Returns the index of the button
    // chosen; Esc and the close box choose `escapeButton`.
    virtual int ask(const QString &text, const QStringList &buttons, int defaultButton, int escapeButton) = 0;

    // The chosen path, or an empty string when the user cancels.
    virtual QString openFileName(const FileDialogSetup &setup) = 0;
    virtual QString saveFileName(const FileDialogSetup &setup) = 0;

    // The port picker "Select Port" with the given items ("COM3", ...), saying why it asks.
    // Returns the text of the item selected when the user pressed OK (empty when the list
    // is empty), or nothing for Cancel and the close box.
    virtual std::optional<QString> pickPort(const QStringList &items, const PortQuestion &question = {}) = 0;

    // Shows the print preview of a page that `paint` draws on the printer it is given,
    // and returns when the preview has been closed.
    virtual void printPreview(const std::function<void(QPrinter *)> &paint) = 0;
};

} // namespace kelpra
