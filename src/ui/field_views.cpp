#include "ui/field_views.h"

#include "data/text8.h"
#include "session/session.h"
#include "ui/text8_field.h"

#include <QLabel>
#include <QLineEdit>

namespace kelpra {

namespace {

// A station line read from a file may be long; an edit field must never cut it.
constexpr int kLongestText = 16 * 1024 * 1024;

} // namespace

QLineEdit *FieldViews::addEdit(Field field, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(fieldKey(field));
    edit->setMaxLength(kLongestText);
    // What is typed is what the reports and files will hold: 8-bit text.
    Text8Field::attach(edit);
    QObject::connect(edit, &QLineEdit::textEdited, edit, [this, field](const QString &text) {
        session_.setText(field, toText8(text));
    });
    edits_.insert(field, edit);
    return edit;
}

QLabel *FieldViews::addLabel(Field field, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(fieldKey(field));
    // Field texts come from records and files: never taken for markup.
    label->setTextFormat(Qt::PlainText);
    labels_.insert(field, label);
    return label;
}

void FieldViews::refresh() const
{
    for (auto it = edits_.cbegin(); it != edits_.cend(); ++it) {
        const QString text = fromText8(session_.text(it.key()));
        if (it.value()->text() != text) {
            it.value()->setText(text);
            it.value()->setCursorPosition(0);
        }
    }
    for (auto it = labels_.cbegin(); it != labels_.cend(); ++it) {
        const QString text = fromText8(session_.text(it.key()));
        if (it.value()->text() != text)
            it.value()->setText(text);
    }
}

} // namespace kelpra
