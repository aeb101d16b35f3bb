#pragma once

#include "data/fields.h"

#include <QByteArray>
#include <QMap>
#include <QObject>

#include <memory>

class QLineEdit;
class QWidget;

namespace kelpra {

class ElidedLabel;
class Session;

// The session's texts in a panel's controls: an edit field for each editable field, whose
// every edit reaches the session as it is typed, and labels for the fields the user
// cannot type into. Controls carry the field's control name as their objectName.
class FieldViews {
public:
    explicit FieldViews(Session &session);
    ~FieldViews();

    QLineEdit *addEdit(Field field, QWidget *parent);
    ElidedLabel *addLabel(Field field, QWidget *parent);

    // Shows the session's texts; a control already showing its text is left alone, so the
    // cursor of the field being typed in stays where it is.
    void refresh() const;

private:
    class FitTips;

    Session &session_;
    QMap<Field, QLineEdit *> edits_;
    QMap<Field, ElidedLabel *> labels_;
    // A decoded text too long for its field is in the field's tooltip.
    std::unique_ptr<FitTips> fitTips_;
};

} // namespace kelpra
