#include "scripted_prompts.h"

namespace kelpra::test {

QString kindName(ScriptedPrompts::Kind kind)
{
    switch (kind) {
    case ScriptedPrompts::Kind::Information: return QStringLiteral("information");
    case ScriptedPrompts::Kind::Error: return QStringLiteral("error");
    case ScriptedPrompts::Kind::Question: return QStringLiteral("question");
    case ScriptedPrompts::Kind::OpenFile: return QStringLiteral("open dialog");
    case ScriptedPrompts::Kind::SaveFile: return QStringLiteral("save dialog");
    case ScriptedPrompts::Kind::PickPort: return QStringLiteral("port picker");
    case ScriptedPrompts::Kind::PrintPreview: return QStringLiteral("print preview");
    }
    return QString();
}

void ScriptedPrompts::expectInformation(const QString &text, std::function<void()> whileOpen)
{
    queue_.push_back({Kind::Information, text, std::nullopt, std::move(whileOpen), {}});
}

void ScriptedPrompts::expectError(const QString &text)
{
    queue_.push_back({Kind::Error, text, std::nullopt, {}, {}});
}

void ScriptedPrompts::expectQuestion(const QString &text, int answer)
{
    Expectation e{Kind::Question, text, std::nullopt, {}, {}};
    e.button = answer;
    queue_.push_back(e);
}

void ScriptedPrompts::expectOpenFile(const QString &answerPath)
{
    queue_.push_back({Kind::OpenFile, QString(), answerPath, {}, {}});
}

void ScriptedPrompts::expectSaveFile(const QString &answerPath)
{
    queue_.push_back({Kind::SaveFile, QString(), answerPath, {}, {}});
}

void ScriptedPrompts::expectPickPort(std::optional<QString> answer, std::function<void()> whileOpen)
{
    queue_.push_back({Kind::PickPort, QString(), std::move(answer), std::move(whileOpen), {}});
}

void ScriptedPrompts::expectPrintPreview(std::function<void(const std::function<void(QPrinter *)> &)> inspect)
{
    queue_.push_back({Kind::PrintPreview, QString(), std::nullopt, {}, std::move(inspect)});
}

QString ScriptedPrompts::problems() const
{
    QStringList all = problems_;
    for (const Expectation &e : queue_)
        all << QStringLiteral("expected %1 \"%2\" was never shown").arg(kindName(e.kind), e.text);
    return all.join(QLatin1Char('\n'));
}

void ScriptedPrompts::clear()
{
    queue_.clear();
    problems_.clear();
    shown.clear();
}

std::optional<ScriptedPrompts::Expectation> ScriptedPrompts::take(Kind kind, const QString &text)
{
    if (!queue_.empty() && queue_.front().kind == kind) {
        Expectation e = queue_.front();
        queue_.pop_front();
        if ((kind == Kind::Information || kind == Kind::Error || kind == Kind::Question) && e.text != text)
            problems_ << QStringLiteral("%1 \"%2\" shown where \"%3\" was expected")
                             .arg(kindName(kind), text, e.text);
        return e;
    }
    if (!allowed_.contains(kind)) {
        problems_ << QStringLiteral("unexpected %1 \"%2\"%3")
                         .arg(kindName(kind), text,
                              queue_.empty() ? QString()
                                             : QStringLiteral(" (expected %1 \"%2\")")
                                                   .arg(kindName(queue_.front().kind), queue_.front().text));
    }
    return std::nullopt;
}

void ScriptedPrompts::information(const QString &text)
{
    shown.append({Kind::Information, text, {}, {}});
    if (auto e = take(Kind::Information, text); e && e->whileOpen)
        e->whileOpen();
}

void ScriptedPrompts::error(const QString &text)
{
    shown.append({Kind::Error, text, {}, {}});
    take(Kind::Error, text);
}

int ScriptedPrompts::ask(const QString &text, const QStringList &buttons, int defaultButton, int escapeButton)
{
    shown.append({Kind::Question, text, {}, buttons, defaultButton});
    auto e = take(Kind::Question, text);
    return e ? e->button : escapeButton;
}

QString ScriptedPrompts::openFileName(const FileDialogSetup &setup)
{
    shown.append({Kind::OpenFile, QString(), setup, {}});
    auto e = take(Kind::OpenFile, QString());
    return e && e->answer ? *e->answer : QString();
}

QString ScriptedPrompts::saveFileName(const FileDialogSetup &setup)
{
    shown.append({Kind::SaveFile, QString(), setup, {}});
    auto e = take(Kind::SaveFile, QString());
    return e && e->answer ? *e->answer : QString();
}

std::optional<QString> ScriptedPrompts::pickPort(const QStringList &items, const PortQuestion &question)
{
    const QString lines = question.reason.isEmpty() ? QString() : question.reason + QLatin1Char('\n') + question.advice;
    shown.append({Kind::PickPort, lines, {}, items});
    auto e = take(Kind::PickPort, QString());
    if (!e)
        return std::nullopt;
    if (e->whileOpen)
        e->whileOpen();
    return e->answer;
}

void ScriptedPrompts::printPreview(const std::function<void(QPrinter *)> &paint)
{
    shown.append({Kind::PrintPreview, QString(), {}, {}});
    if (auto e = take(Kind::PrintPreview, QString()); e && e->inspect)
        e->inspect(paint);
}

} // namespace kelpra::test
