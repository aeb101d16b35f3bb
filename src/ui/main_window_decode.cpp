// Decoding and record navigation of the main window. The decoding
// itself is kelpra_dsc's; here its field writes are replayed into the controls and the
// format specifier message is shown at its place among them.
#include "ui/main_window.h"

#include "ui/prompts.h"
#include "data/measurement_store.h"
#include "dsc/record_decoder.h"

#include <QFrame>
#include <QLabel>
#include <QLocale>
#include <QToolButton>

namespace kelpra {

namespace {

const QString kNoDataMessage = QStringLiteral("Please download the data or read it from file!");
const QString kNoDataToDecodeMessage =
    QStringLiteral("Please download the data or read it from file before decoding!");
const QString kSaveHint = QStringLiteral("Please use upper menu to save data in bin or txt format.");

} // namespace

// Replays writes [from, to) of a decoding into the fields; the format specifier message,
// if any, is shown when the writes before it have been made.
static void replay(MainWindow &form, const RecordDecoding &decoding, int from, int to)
{
    for (int i = from; i < to; ++i) {
        if (i == decoding.messageAfter) {
            for (const QString &message : decoding.messages)
                form.prompts().information(message);
        }
        const FieldWrite &write = decoding.writes.at(i);
        form.setFieldText8(write.name, write.text);
    }
    if (to == decoding.writes.size() && decoding.messageAfter == to) {
        for (const QString &message : decoding.messages)
            form.prompts().information(message);
    }
}

void MainWindow::nextRecord()
{
    if (!store_.holdsData()) {
        prompts_.information(kNoDataMessage);
        return;
    }
    if (Label16->text().isEmpty())
        setFieldText8(QStringLiteral("Label16"), store_.slot(0));
    const int index = store_.display_index() + 1;
    store_.set_display_index(index);
    if (index > 1)
        Prev->setVisible(true);
    if (index > 15 || index >= store_.record_count())
        Next->setVisible(false);
    current->setText(QString::number(index));
    clearCallFields();
    showRecord(index);
    setStatusText(kSaveHint);
}

void MainWindow::previousRecord()
{
    if (!store_.holdsData()) {
        prompts_.information(kNoDataMessage);
        return;
    }
    const int index = store_.display_index() - 1;
    store_.set_display_index(index);
    if (index == 1)
        Prev->setVisible(false);
    if (index < 16)
        Next->setVisible(true);
    current->setText(QString::number(index));
    clearCallFields();
    showRecord(index);
    setStatusText(kSaveHint);
}

void MainWindow::decodeMessage()
{
    if (!store_.holdsData()) {
        prompts_.information(kNoDataToDecodeMessage);
        return;
    }
    setFieldText8(QStringLiteral("Label16"), store_.slot(0));
    clearCallFields();
    showRecord(store_.display_index());
    setStatusText(kSaveHint);
}

void MainWindow::clearCallFields()
{
    for (const QString &name : callFieldsToClear())
        setFieldText8(name, QByteArray());
}

void MainWindow::showRecord(int slot)
{
    const RecordDecoding decoding = decodeRecord(store_.slot(slot), QLocale::system().decimalPoint());
    replay(*this, decoding, 0, decoding.headerWrites);
    if (decoding.distress) {
        Distress->setVisible(true);
        showDistress(slot);
        return;
    }
    Distress->setVisible(false);
    replay(*this, decoding, decoding.headerWrites, static_cast<int>(decoding.writes.size()));
}

void MainWindow::clearDistressFields()
{
    for (const QString &name : distressFieldsToClear())
        setFieldText8(name, QByteArray());
}

void MainWindow::showDistress(int slot)
{
    clearDistressFields();
    // decodeDistress starts with the same emptying; it has just been done.
    const RecordDecoding decoding = decodeDistress(store_.slot(slot));
    const int cleared = static_cast<int>(distressFieldsToClear().size());
    replay(*this, decoding, cleared, static_cast<int>(decoding.writes.size()));
}

} // namespace kelpra
