// Decoding and record navigation of the main window. The decoding is kelpra_dsc's and
// the navigation rule kelpra_data's; here their results go into the controls.
#include "ui/main_window.h"

#include "ui/prompts.h"
#include "data/measurement_store.h"
#include "data/navigation.h"
#include "dsc/record_decoder.h"

#include <QFrame>
#include <QLabel>
#include <QLocale>
#include <QToolButton>

namespace kelpra {

void MainWindow::nextRecord()
{
    if (!store_.holdsData()) {
        prompts_.information(kNoDataMessage);
        return;
    }
    if (Label16->text().isEmpty())
        showIdentification();
    const std::optional<NavigationView> view = stepNext(store_);
    showNavigation(*view);
    clearCallFields();
    showRecord(view->displayIndex);
    setStatusText(kSaveHint);
}

void MainWindow::previousRecord()
{
    const std::optional<NavigationView> view = stepPrevious(store_);
    if (!view) {
        prompts_.information(kNoDataMessage);
        return;
    }
    showNavigation(*view);
    clearCallFields();
    showRecord(view->displayIndex);
    setStatusText(kSaveHint);
}

void MainWindow::decodeMessage()
{
    if (!store_.holdsData()) {
        prompts_.information(kNoDataToDecodeMessage);
        return;
    }
    showIdentification();
    clearCallFields();
    showRecord(store_.display_index());
    setStatusText(kSaveHint);
}

void MainWindow::showIdentification()
{
    setFieldText8(Field::Label16, identificationText(store_.slot(0)));
}

void MainWindow::clearCallFields()
{
    for (Field field : callDisplayFields())
        setFieldText8(field, QByteArray());
}

void MainWindow::showRecord(int slot)
{
    showDecoded(slot, decodeRecord(store_.slot(slot), QLocale::system().decimalPoint()));
}

void MainWindow::showDecoded(int slot, const DecodedRecord &decoded)
{
    if (decoded.empty()) {
        // Nothing of an earlier record may stay on view as if it were this one.
        setDistressShown(false);
        setFieldText8(kCallVerdict, QByteArray());
        prompts_.information(emptyRecordMessage(slot));
        return;
    }
    for (auto it = decoded.header.cbegin(); it != decoded.header.cend(); ++it)
        setFieldText8(it.key(), it.value());
    setDistressShown(decoded.distress());

    // The format specifier row first; the message about it shows with that row on view.
    const DecodedRow &first = decoded.distress() ? kDistressRows.front() : kCallRows.front();
    const QList<Field> firstRow{first.digits, *first.meaning};
    for (Field field : firstRow)
        setFieldText8(field, decoded.rows.value(field));
    for (const QString &message : decoded.messages())
        prompts_.information(message);
    for (auto it = decoded.rows.cbegin(); it != decoded.rows.cend(); ++it) {
        if (!firstRow.contains(it.key()))
            setFieldText8(it.key(), it.value());
    }
}

} // namespace kelpra
