#pragma once

#include <QLabel>
#include <QPointer>
#include <QValidator>

class QLineEdit;
class QTimer;
class QWidget;

namespace kelpra {

// Keeps a line edit to what its 8-bit file can hold, whichever way the text comes in
// (typing, an input method, paste, drop): a letter with a Latin form becomes it at once
// (ø → o, Æ → AE, see fitText8), anything else Windows-1251 lacks is not inserted, and a
// small hint under the field names what was left out. The field's tooltip names it too,
// so it can still be read once the hint has gone.
//
// It is the edit's validator: QLineEdit runs it on every change and takes the text it
// gives back, cursor included.
class Text8Field : public QValidator {
    Q_OBJECT
public:
    // Attaches to `edit`, owned by it.
    static Text8Field *attach(QLineEdit *edit);

    State validate(QString &input, int &pos) const override;

    // The hint's widget, a child of the edit's window, created with the first refusal.
    QLabel *hint() const { return hint_; }
    // "Not taken: 中 α" for the refused characters as fitText8 lists them.
    static QString hintText(const QString &refused);

private:
    explicit Text8Field(QLineEdit *edit);
    // Shown from validate(), which is how QLineEdit lets the validator see a change.
    void showRefused(const QString &refused) const;

    QLineEdit *edit_;
    mutable QPointer<QLabel> hint_;
    QTimer *hideTimer_;
};


} // namespace kelpra
