#pragma once

#include "ui/prompts.h"

class QWidget;

namespace kelpra {

// The prompts of the running program: real message boxes and dialogs.
class QtPrompts : public Prompts {
public:
    void information(const QString &text) override;
    void error(const QString &text) override;
    QString openFileName(const FileDialogSetup &setup) override;
    QString saveFileName(const FileDialogSetup &setup) override;
    std::optional<QString> pickPort(const QStringList &items) override;
    void printPreview(const std::function<void(QPrinter *)> &paint) override;

    // The window that prompts are centred on (the main window).
    void setParentWindow(QWidget *window) { parent_ = window; }

private:
    QString fileDialog(const FileDialogSetup &setup, bool save);
    QWidget *parent_ = nullptr;
    // A port has been chosen in this run: asked again, the picker says the port failed.
    bool portChosen_ = false;
};

// The application title: every message box carries it.
QString applicationTitle();

} // namespace kelpra
