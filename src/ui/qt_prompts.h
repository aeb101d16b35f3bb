#pragma once

#include "ui/prompts.h"

class QFileDialog;
class QWidget;

namespace kelpra {

// The prompts of the running program: real message boxes and dialogs.
class QtPrompts : public Prompts {
public:
    void information(const QString &text) override;
    void error(const QString &text) override;
    int ask(const QString &text, const QStringList &buttons, int defaultButton, int escapeButton) override;
    QString openFileName(const FileDialogSetup &setup) override;
    QString saveFileName(const FileDialogSetup &setup) override;
    std::optional<QString> pickPort(const QStringList &items, const PortQuestion &question = {}) override;
    void printPreview(const std::function<void(QPrinter *)> &paint) override;

    // The window that prompts are centred on (the main window).
    void setParentWindow(QWidget *window) { parent_ = window; }

private:
    QString fileDialog(const FileDialogSetup &setup, bool save);
    QWidget *parent_ = nullptr;
};

// Sets up a file dialog for one use. A save dialog adds the default suffix to a name typed
// without one and asks before replacing a file. An open dialog is given no default suffix,
// since Qt would add it to a name that exists as typed; openedFileName() applies it.
void setUpFileDialog(QFileDialog &dialog, const FileDialogSetup &setup, bool save);

// The file an open dialog's choice means: the name as typed when it exists; otherwise,
// for a name without a suffix, the name with the default suffix when that exists; else
// the name as typed, which the command then reports as not found.
QString openedFileName(const QString &chosen, const QString &defaultSuffix);

// The width a window needs for its title, in a title font a little larger and bolder
// than the application's, beside the window's three buttons.
int titleRoom(const QString &title);

// The application title: every message box carries it.
QString applicationTitle();

} // namespace kelpra
