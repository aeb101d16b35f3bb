#pragma once

#include "ui/prompts.h"

#include <QList>
#include <deque>

namespace kelpra::test {

// Answers prompts from a queue of expectations. A prompt that does not match the next
// expectation (or comes when none is left) is recorded as a problem and answered with
// OK / Cancel, so a test never blocks; the test then fails on problems().
class ScriptedPrompts : public Prompts {
public:
    enum class Kind { Information, Error, Question, OpenFile, SaveFile, PickPort, PrintPreview };

    struct Shown {
        Kind kind;
        QString text;            // message text; the port picker's two lines; empty for dialogs
        FileDialogSetup setup;   // file dialogs
        QStringList items;       // port picker rows; a question's buttons
        int defaultButton = -1;  // a question's
    };

    // `whileOpen` runs while the prompt is "open" (for example to let the event loop turn).
    void expectInformation(const QString &text, std::function<void()> whileOpen = {});
    void expectError(const QString &text);
    // Answered with the button of that index; a question unanswered here gets its escape button.
    void expectQuestion(const QString &text, int answer);
    void expectOpenFile(const QString &answerPath);  // empty: Cancel
    void expectSaveFile(const QString &answerPath);  // empty: Cancel
    void expectPickPort(std::optional<QString> answer, std::function<void()> whileOpen = {});
    // `inspect` receives the paint callback (it may paint onto a PDF printer of its own).
    void expectPrintPreview(std::function<void(const std::function<void(QPrinter *)> &)> inspect = {});

    // Lets every prompt of a kind pass with OK / Cancel without an expectation.
    void allowAny(Kind kind) { allowed_.append(kind); }

    // Mismatches, unexpected prompts and expectations that were never met.
    QString problems() const;
    bool ok() const { return problems().isEmpty(); }
    int pending() const { return static_cast<int>(queue_.size()); }
    void clear();

    QList<Shown> shown;

    void information(const QString &text) override;
    void error(const QString &text) override;
    int ask(const QString &text, const QStringList &buttons, int defaultButton, int escapeButton) override;
    QString openFileName(const FileDialogSetup &setup) override;
    QString saveFileName(const FileDialogSetup &setup) override;
    std::optional<QString> pickPort(const QStringList &items, const PortQuestion &question = {}) override;
    void printPreview(const std::function<void(QPrinter *)> &paint) override;

private:
    struct Expectation {
        Kind kind;
        QString text;
        std::optional<QString> answer;
        std::function<void()> whileOpen;
        std::function<void(const std::function<void(QPrinter *)> &)> inspect;
        int button = -1;   // a question's answer
    };
    // Takes the next expectation if it is of this kind; records a problem otherwise.
    std::optional<Expectation> take(Kind kind, const QString &text);

    std::deque<Expectation> queue_;
    QList<Kind> allowed_;
    QStringList problems_;
};

QString kindName(ScriptedPrompts::Kind kind);

} // namespace kelpra::test
