#include "ui/field_views.h"

#include "data/text8.h"
#include "session/session.h"
#include "ui/elided_label.h"
#include "ui/text8_field.h"

#include <QEvent>
#include <QLineEdit>

namespace kelpra {

namespace {

// A station line read from a file may be long; an edit field must never cut it.
constexpr int kLongestText = 16 * 1024 * 1024;

bool typedInField(Field field)
{
    for (const CaptionedField &f : kStationFields)
        if (f.field == field)
            return true;
    for (const CaptionedField &f : kControllerFields)
        if (f.field == field)
            return true;
    return false;
}

} // namespace

// Keeps the tooltip of a field to its whole text while the text is wider than the field,
// whatever the window's width.
class FieldViews::FitTips : public QObject {
public:
    void watch(QLineEdit *edit) { edit->installEventFilter(this); }

    static void update(QLineEdit *edit)
    {
        // The frame and the text margins take a few pixels on each side.
        const int room = edit->width() - 8;
        const QString tip = edit->fontMetrics().horizontalAdvance(edit->text()) > room ? edit->text() : QString();
        if (edit->toolTip() != tip)
            edit->setToolTip(tip);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Resize)
            update(static_cast<QLineEdit *>(watched));
        return false;
    }
};

FieldViews::FieldViews(Session &session) : session_(session), fitTips_(std::make_unique<FitTips>()) {}

FieldViews::~FieldViews() = default;

QLineEdit *FieldViews::addEdit(Field field, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(fieldKey(field));
    edit->setMaxLength(kLongestText);
    // What is typed is what the reports and files will hold: 8-bit text.
    Text8Field::attach(edit);
    // Typed fields use their tooltip to say what was not taken.
    if (!typedInField(field))
        fitTips_->watch(edit);
    QObject::connect(edit, &QLineEdit::textEdited, edit, [this, field](const QString &text) {
        session_.setText(field, toText8(text));
    });
    edits_.insert(field, edit);
    return edit;
}

ElidedLabel *FieldViews::addLabel(Field field, QWidget *parent)
{
    auto *label = new ElidedLabel(parent);
    label->setObjectName(fieldKey(field));
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
            if (!typedInField(it.key()))
                FitTips::update(it.value());
        }
    }
    for (auto it = labels_.cbegin(); it != labels_.cend(); ++it)
        it.value()->setFullText(fromText8(session_.text(it.key())));
}

} // namespace kelpra
