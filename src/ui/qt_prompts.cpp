#include "ui/qt_prompts.h"

#include "ui/port_picker.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace kelpra {

QString applicationTitle()
{
    return QStringLiteral("Kelpra software");
}

void QtPrompts::information(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok, parent_);
    box.exec();
}

void QtPrompts::error(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, applicationTitle(), text, QMessageBox::Ok, parent_);
    box.exec();
}

QString QtPrompts::fileDialog(const FileDialogSetup &setup, bool save)
{
    QFileDialog dialog(parent_);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // An existing file chosen for saving is replaced without a question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (!setup.filter.isEmpty())
        dialog.setNameFilter(setup.filter);
    dialog.setDefaultSuffix(setup.defaultSuffix);
    if (!setup.proposedName.isEmpty())
        dialog.selectFile(setup.proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString QtPrompts::openFileName(const FileDialogSetup &setup)
{
    return fileDialog(setup, false);
}

QString QtPrompts::saveFileName(const FileDialogSetup &setup)
{
    return fileDialog(setup, true);
}

std::optional<QString> QtPrompts::pickPort(const QStringList &items)
{
    return PortPicker::ask(items, parent_);
}

} // namespace kelpra
