// Decoding and record navigation of the main window. The decoding
// itself is kelpra_dsc's; here its field writes are replayed into the controls and the
// format specifier message is shown at its place among them.
#include "form1.h"

#include "app/prompts.h"
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
static void replay(TForm1 &form, const RecordDecoding &decoding, int from, int to)
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

void TForm1::NextClick()
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
    clear_call_fields();
    message_decode(index);
    setStatusText(kSaveHint);
}

void TForm1::PrevClick()
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
    clear_call_fields();
    message_decode(index);
    setStatusText(kSaveHint);
}

void TForm1::Button1Click()
{
    if (!store_.holdsData()) {
        prompts_.information(kNoDataToDecodeMessage);
        return;
    }
    setFieldText8(QStringLiteral("Label16"), store_.slot(0));
    clear_call_fields();
    message_decode(store_.display_index());
    setStatusText(kSaveHint);
}

void TForm1::clear_call_fields()
{
    for (const QString &name : callFieldsToClear())
        setFieldText8(name, QByteArray());
}

void TForm1::message_decode(int slot)
{
    const RecordDecoding decoding = decodeRecord(store_.slot(slot), QLocale::system().decimalPoint());
    replay(*this, decoding, 0, decoding.headerWrites);
    if (decoding.distress) {
        Distress->setVisible(true);
        distress_decode(slot);
        return;
    }
    Distress->setVisible(false);
    replay(*this, decoding, decoding.headerWrites, static_cast<int>(decoding.writes.size()));
}

void TForm1::clear_distress_fields()
{
    for (const QString &name : distressFieldsToClear())
        setFieldText8(name, QByteArray());
}

void TForm1::distress_decode(int slot)
{
    clear_distress_fields();
    // decodeDistress starts with the same emptying; it has just been done.
    const RecordDecoding decoding = decodeDistress(store_.slot(slot));
    const int cleared = static_cast<int>(distressFieldsToClear().size());
    replay(*this, decoding, cleared, static_cast<int>(decoding.writes.size()));
}

} // namespace kelpra
