// Decoding and record navigation of the main window. The decoding is kelpra_dsc's and
// the navigation rule kelpra_data's; here their results go into the controls.
#include "ui/main_window.h"

#include "ui/prompts.h"
#include "data/measurement_store.h"
#include "data/navigation.h"
#include "dsc/call_check.h"
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
    showCheck(CallCheck_, nullptr);
    showCheck(DistressCheck_, nullptr);
}

void MainWindow::showRecord(int slot)
{
    const QByteArray &bytes = store_.slot(slot);
    const DecodedRecord decoded = decodeRecord(bytes, QLocale::system().decimalPoint());
    // The check goes in the row of the panel the record shows in; the other row stays empty.
    const std::optional<CallCheck> check = decoded.empty() ? std::nullopt : std::optional(checkRecord(bytes));
    const bool distress = !decoded.empty() && decoded.distress();
    showCheck(CallCheck_, check && !distress ? &*check : nullptr);
    showCheck(DistressCheck_, check && distress ? &*check : nullptr);
    showDecoded(slot, decoded);
}

void MainWindow::showCheck(QLabel *row, const CallCheck *check)
{
    if (!check) {
        row->clear();
        row->setToolTip(QString());
        row->setStyleSheet(QString());
        return;
    }
    static const char *const colours[] = {"#1a7f37", "#a86400", "#c62828"};  // pass, warn, fail
    row->setStyleSheet(QStringLiteral("font-weight: bold; color: %1;")
                           .arg(QLatin1String(colours[static_cast<int>(check->verdict)])));
    const auto number = [](const std::optional<int> &value) {
        return value ? QString::number(*value) : QStringLiteral("none");
    };
    QString text = verdictName(check->verdict) + QStringLiteral("   ECC received ") + number(check->receivedEcc)
                   + QStringLiteral(", computed ") + number(check->computedEcc);
    if (!check->findings.isEmpty())
        text += QStringLiteral("   ") + check->codes().join(QStringLiteral(", "));
    row->setText(text);
    QStringList sentences;
    for (const CheckFinding &finding : check->findings)
        sentences << severityName(finding.severity) + QStringLiteral(": ") + finding.text;
    row->setToolTip(sentences.join(QLatin1Char('\n')));
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
