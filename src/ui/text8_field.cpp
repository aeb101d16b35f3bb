#include "ui/text8_field.h"

#include "data/text8.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace kelpra {

namespace {

// Long enough to be read, short enough not to stand over the next field for good.
constexpr int kHintMilliseconds = 6000;

const QString kFieldHolds = QStringLiteral(
    "This field holds Latin and Cyrillic letters, digits and common signs; other Latin letters are "
    "written plainly (\u00f8 as o, \u00e6 as ae, \u00df as ss).");

} // namespace

Text8Field::Text8Field(QLineEdit *edit)
    : QValidator(edit), edit_(edit), hideTimer_(new QTimer(this))
{
    hideTimer_->setSingleShot(true);
    hideTimer_->setInterval(kHintMilliseconds);
    connect(hideTimer_, &QTimer::timeout, this, [this] {
        if (!hint_)
            return;
        if (auto *form = qobject_cast<QFormLayout *>(hint_->parentWidget()->layout()))
            form->setRowVisible(hint_, false);
        else
            hint_->hide();
    });
}

Text8Field *Text8Field::attach(QLineEdit *edit)
{
    auto *field = new Text8Field(edit);
    edit->setValidator(field);
    return field;
}

QValidator::State Text8Field::validate(QString &input, int &pos) const
{
    const Text8Fit fit = fitText8(input);
    if (fit.text != input) {
        // What stood before the cursor is fitted alone, so the cursor stays behind what was
        // just typed even when a letter became two.
        pos = std::min(int(fitText8(input.left(pos)).text.size()), int(fit.text.size()));
        input = fit.text;
    }
    if (!fit.refused.isEmpty())
        showRefused(fit.refused);
    // Whatever is left is fit to be saved: the change is taken, less what was refused.
    return Acceptable;
}

QString Text8Field::hintText(const QString &refused)
{
    QStringList shown;
    for (const uint point : refused.toUcs4()) {
        const auto c = static_cast<char32_t>(point);
        // Marks and spaces that cannot be seen are named by their code.
        if (QChar::isPrint(c) && !QChar::isSpace(c) && QChar::category(c) != QChar::Mark_NonSpacing)
            shown << QString::fromUcs4(&c, 1);
        else
            shown << QStringLiteral("U+%1").arg(point, 4, 16, QLatin1Char('0')).toUpper();
    }
    return QStringLiteral("Not taken: ") + shown.join(QLatin1Char(' '));
}

void Text8Field::showRefused(const QString &refused) const
{
    const QString text = hintText(refused);
    edit_->setToolTip(text + QStringLiteral(".\n") + kFieldHolds);
    QWidget *host = edit_->parentWidget();
    auto *form = host ? qobject_cast<QFormLayout *>(host->layout()) : nullptr;
    if (!hint_) {
        hint_ = new QLabel(form ? host : edit_->window());
        hint_->setObjectName(edit_->objectName() + QStringLiteral("Hint"));
        hint_->setAttribute(Qt::WA_TransparentForMouseEvents);
        hint_->setStyleSheet(QStringLiteral(
            "QLabel { color: #b00000; background: #fff4f4; border: 1px solid #d08080; padding: 1px 4px; }"));
        // In a form the hint has a row of its own under the field, so it covers nothing.
        if (form) {
            int row = -1;
            QFormLayout::ItemRole role;
            form->getWidgetPosition(edit_, &row, &role);
            form->insertRow(row + 1, QString(), hint_);
        }
    }
    hint_->setText(text);
    if (form) {
        form->setRowVisible(hint_, true);
    } else {
        // Elsewhere it lies under the field, or over it where the window ends.
        QWidget *window = edit_->window();
        hint_->adjustSize();
        QPoint at = edit_->mapTo(window, QPoint(0, edit_->height()));
        if (at.y() + hint_->height() > window->height())
            at.ry() -= edit_->height() + hint_->height();
        hint_->move(at);
        hint_->raise();
        hint_->show();
    }
    hideTimer_->start();
}

} // namespace kelpra
