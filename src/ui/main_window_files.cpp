// Data files and the details file of the main window. The reading and writing live in
// files/; these handlers only bring dialogs, fields and the store together.
#include "ui/main_window.h"

#include "ui/prompts.h"
#include "data/measurement_store.h"
#include "data/navigation.h"
#include "files/data_file.h"
#include "files/details_file.h"
#include "files/file_io.h"

#include <QFileInfo>
#include <QToolButton>

namespace kelpra {

namespace {

FileDialogSetup binSaveDialog(const QString &proposedName)
{
    return FileDialogSetup{QStringLiteral("*.bin"), QStringLiteral("bin"), proposedName};
}

StationLines stationLinesOf(const MainWindow &form)
{
    StationLines lines;
    for (size_t i = 0; i < kStationFields.size(); ++i)
        lines[i] = form.fieldText8(kStationFields[i].field);
    return lines;
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

void MainWindow::openData()
{
    // The call display is emptied before the dialog, also when the user then cancels.
    clearCallFields();
    const QString path = prompts_.openFileName(
        FileDialogSetup{QString(), QStringLiteral("bin"), OpenDialog1FileName});
    if (path.isEmpty())
        return;
    OpenDialog1FileName = path;

    QByteArray bytes;
    if (const std::optional<QString> error = readDataFileBytes(path, &bytes)) {
        showError(*error);
        return;
    }
    // The whole file is checked before anything changes, so a refused file loses nothing.
    const DataFileParse parsed = parseDataFile(bytes);
    if (!parsed.file) {
        showError(parsed.error);
        return;
    }
    const DataFile &file = *parsed.file;

    applyDataFile(file, store_);
    const bool single = file.kind == DataFileKind::SingleRecord;
    showNavigation(recordsReplaced(store_, single ? 1 : store_.record_count()));
    showRecord(1);
    for (size_t i = 0; i < kStationFields.size(); ++i)
        setFieldText8(kStationFields[i].field, file.station[i]);
    const int records = single ? 1 : store_.record_count();
    showFileMessage(QStringLiteral("Loaded %1: %2 record%3")
                        .arg(QFileInfo(path).fileName())
                        .arg(records)
                        .arg(records == 1 ? QString() : QStringLiteral("s")),
                    path);
    refreshSampleNote();
}

void MainWindow::saveData()
{
    const QByteArray record = store_.slot(store_.display_index());
    const QString path = prompts_.saveFileName(binSaveDialog(QStringLiteral("data")));
    if (path.isEmpty())
        return;
    const BuiltDataFile built = buildSingleRecordFile(record, stationLinesOf(*this), store_.fromSampleSet());
    if (const std::optional<QString> error = writeWholeFile(path, built.bytes)) {
        showError(*error);
        return;
    }
    showFileMessage(QStringLiteral("Record saved to %1").arg(QFileInfo(path).fileName()), path);
    showSaveWarnings(built, prompts_);
}

void MainWindow::saveAllData()
{
    if (recordsToSave(store_) == 0)
        return;
    const QString path = prompts_.saveFileName(binSaveDialog(QStringLiteral("alldata")));
    if (path.isEmpty())
        return;
    const BuiltDataFile built = buildFullSetFile(store_, stationLinesOf(*this));
    if (const std::optional<QString> error = writeWholeFile(path, built.bytes)) {
        showError(*error);
        return;
    }
    showFileMessage(QStringLiteral("All records saved to %1").arg(QFileInfo(path).fileName()), path);
    showSaveWarnings(built, prompts_);
}

void MainWindow::saveDetails()
{
    ControllerLines lines;
    for (size_t i = 0; i < kControllerFields.size(); ++i)
        lines[i] = fieldText8(kControllerFields[i].field);
    const QString path = detailsFilePath();
    if (const std::optional<QString> error = writeWholeFile(path, buildDetailsFile(lines))) {
        showError(*error);
        return;
    }
    showFileMessage(QStringLiteral("Details saved to %1").arg(QFileInfo(path).fileName()), path);
}

void MainWindow::restoreDetails()
{
    // A file that cannot be opened is passed over in silence; only a failure while
    // reading an opened file is worth a box.
    const DetailsLoad load = loadDetailsFile(detailsFilePath());
    for (size_t i = 0; i < kControllerFields.size(); ++i)
        setFieldText8(kControllerFields[i].field, load.lines[i]);
    if (!load.error.isEmpty())
        showError(load.error);
}

} // namespace kelpra
