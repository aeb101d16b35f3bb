#include "ui/qt_prompts.h"

#include "ui/port_picker.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

namespace kelpra {

QString applicationTitle()
{
    return QStringLiteral("Kelpra software");
}

int titleRoom(const QString &title)
{
    // The window manager draws the title in its own font beside the window's buttons;
    // allow for a bold title font a little larger than the application's and three buttons.
    QFont font = QApplication::font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.2);
    return QFontMetrics(font).horizontalAdvance(title) + 3 * 32 + 48;
}

namespace {

void widenForTitle(QMessageBox &box)
{
    // A message box sizes itself by its text alone, so a short message ("Download Ok")
    // gets a box too narrow for its title. A spacer row as wide as the title needs keeps it whole.
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
        grid->addItem(new QSpacerItem(titleRoom(box.windowTitle()), 0, QSizePolicy::Fixed, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
}

} // namespace

void QtPrompts::information(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok, parent_);
    widenForTitle(box);
    box.exec();
}

void QtPrompts::error(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, applicationTitle(), text, QMessageBox::Ok, parent_);
    widenForTitle(box);
    box.exec();
}

int QtPrompts::ask(const QString &text, const QStringList &buttons, int defaultButton, int escapeButton)
{
    QMessageBox box(QMessageBox::Question, applicationTitle(), text, QMessageBox::NoButton, parent_);
    QList<QAbstractButton *> added;
    for (int i = 0; i < buttons.size(); ++i) {
        const QMessageBox::ButtonRole role = i == escapeButton ? QMessageBox::RejectRole
                                             : i == 0          ? QMessageBox::AcceptRole
                                                               : QMessageBox::DestructiveRole;
        added.append(box.addButton(buttons.at(i), role));
    }
    box.setDefaultButton(qobject_cast<QPushButton *>(added.value(defaultButton)));
    box.setEscapeButton(added.value(escapeButton));
    widenForTitle(box);
    box.exec();
    const int chosen = static_cast<int>(added.indexOf(box.clickedButton()));
    return chosen >= 0 ? chosen : escapeButton;
}

void setUpFileDialog(QFileDialog &dialog, const FileDialogSetup &setup, bool save)
{
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // An open dialog takes any name, so that one typed without its suffix can still be
    // completed afterwards; a name that is not there is reported by the command.
    dialog.setFileMode(QFileDialog::AnyFile);
    // Replacing an existing file is asked about (Qt's own question).
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (!setup.filter.isEmpty())
        dialog.setNameFilter(setup.filter);
    dialog.setDefaultSuffix(save ? setup.defaultSuffix : QString());
    if (!setup.proposedName.isEmpty())
        dialog.selectFile(setup.proposedName);
}

QString openedFileName(const QString &chosen, const QString &defaultSuffix)
{
    const QFileInfo typed(chosen);
    if (chosen.isEmpty() || defaultSuffix.isEmpty() || typed.exists() || typed.fileName().contains(u'.'))
        return chosen;
    const QString completed = chosen + u'.' + defaultSuffix;
    return QFileInfo::exists(completed) ? completed : chosen;
}

QString QtPrompts::fileDialog(const FileDialogSetup &setup, bool save)
{
    QFileDialog dialog(parent_);
    setUpFileDialog(dialog, setup, save);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    const QString chosen = dialog.selectedFiles().constFirst();
    return save ? chosen : openedFileName(chosen, setup.defaultSuffix);
}

QString QtPrompts::openFileName(const FileDialogSetup &setup)
{
    return fileDialog(setup, false);
}

QString QtPrompts::saveFileName(const FileDialogSetup &setup)
{
    return fileDialog(setup, true);
}

std::optional<QString> QtPrompts::pickPort(const QStringList &items, const PortQuestion &question)
{
    return PortPicker::ask(items, parent_, question);
}

} // namespace kelpra
