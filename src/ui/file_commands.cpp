#include "ui/file_commands.h"

#include "files/data_file.h"
#include "files/details_file.h"
#include "files/file_io.h"
#include "session/session.h"
#include "ui/prompts.h"

#include <QFileInfo>

namespace kelpra {

namespace {

FileDialogSetup binSaveDialog(const QString &proposedName)
{
    return FileDialogSetup{QStringLiteral("*.bin"), QStringLiteral("bin"), proposedName};
}

// Said once the file is written: what it will not give back unchanged when loaded.
void showSaveWarnings(const BuiltDataFile &built, Prompts &prompts)
{
    if (built.warnings.isEmpty())
        return;
    QStringList lines;
    for (const QString &warning : built.warnings)
        lines << withFullStop(warning);
    prompts.information(lines.join(QLatin1Char('\n')));
}

} // namespace

void FileCommands::showError(const QString &errorText)
{
    prompts_.error(withFullStop(errorText));
}

void FileCommands::openData()
{
    // The call display is emptied before the dialog, also when the user then cancels.
    session_.clearCallDisplay();
    const QString path = prompts_.openFileName(FileDialogSetup{QString(), QStringLiteral("bin"), lastOpened_});
    if (path.isEmpty()) {
        // Nothing read: what was held is on display again.
        session_.showRecordAgain();
        return;
    }
    lastOpened_ = path;
    if (!loadFile(path))
        session_.showRecordAgain();
}

bool FileCommands::loadFile(const QString &path)
{
    QByteArray bytes;
    if (const std::optional<QString> error = readDataFileBytes(path, &bytes)) {
        showError(*error);
        return false;
    }
    // The whole file is checked before anything changes, so a refused file loses nothing.
    const QString name = QFileInfo(path).fileName();
    DataFileParse parsed = parseDataFile(bytes, DataFileReading{name, false});
    if (!parsed.file && parsed.integrity == FileIntegrity::Changed) {
        enum { Yes, No };
        if (prompts_.ask(changedFileQuestion(name), {QStringLiteral("Yes"), QStringLiteral("No")}, No, No) != Yes)
            return false;
        parsed = parseDataFile(bytes, DataFileReading{name, true});
    }
    if (!parsed.file) {
        QString text = parsed.errorNamesFile ? parsed.error : withFullStop(parsed.error);
        // The reader's words are the general error handler's; say what they mean here.
        if (parsed.error == QLatin1String("Invalid numeric input"))
            text += QStringLiteral("\n%1 is not a data file: its first line is not a number.").arg(name);
        prompts_.error(text);
        return false;
    }
    session_.openFile(*parsed.file, path, parsed.integrity == FileIntegrity::Changed);
    // A repaired file is said to be so once it is on display.
    if (parsed.integrity == FileIntegrity::Repaired)
        prompts_.information(parsed.note);
    return true;
}

void FileCommands::saveData()
{
    // The record on display when the command is given, whatever the dialog lets happen;
    // the station lines as they are once it closes.
    const QByteArray record = session_.store().slot(session_.displayIndex());
    const QString path = prompts_.saveFileName(binSaveDialog(QStringLiteral("data")));
    if (path.isEmpty())
        return;
    const BuiltDataFile built = buildSingleRecordFile(record, session_.stationLines(), session_.sampleData());
    if (const std::optional<QString> error = writeWholeFile(path, built.bytes)) {
        showError(*error);
        return;
    }
    session_.recordSaved(path);
    showSaveWarnings(built, prompts_);
}

bool FileCommands::saveAllData()
{
    if (!session_.holdsRecordsToSave()) {
        session_.setFileNote(QStringLiteral("Nothing to save: no record is held."), QString());
        return false;
    }
    const QString path = prompts_.saveFileName(binSaveDialog(QStringLiteral("alldata")));
    if (path.isEmpty())
        return false;
    const BuiltDataFile built = session_.fullSetFile();
    if (const std::optional<QString> error = writeWholeFile(path, built.bytes)) {
        showError(*error);
        return false;
    }
    session_.allSaved(path);
    showSaveWarnings(built, prompts_);
    return true;
}

void FileCommands::saveDetails()
{
    const QString path = detailsFilePath();
    if (const std::optional<QString> error = writeWholeFile(path, buildDetailsFile(session_.controllerLines()))) {
        showError(*error);
        return;
    }
    session_.setFileNote(QStringLiteral("Details saved to %1").arg(QFileInfo(path).fileName()), path);
}

void FileCommands::restoreDetails()
{
    // A file that cannot be opened is passed over in silence; only a failure while
    // reading an opened file is worth a box.
    const DetailsLoad load = loadDetailsFile(detailsFilePath());
    session_.setControllerLines(load.lines);
    if (!load.error.isEmpty())
        showError(load.error);
}

} // namespace kelpra
