#include "ui/elided_label.h"

#include <QPainter>
#include <QStyle>

namespace kelpra {

ElidedLabel::ElidedLabel(QWidget *parent) : QLabel(parent)
{
    // Texts come from records and files: never taken for markup.
    setTextFormat(Qt::PlainText);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

void ElidedLabel::setFullText(const QString &text)
{
    if (text == QLabel::text())
        return;
    setText(text);
    refreshToolTip();
}

void ElidedLabel::setBaseToolTip(const QString &tip)
{
    baseTip_ = tip;
    refreshToolTip();
}

bool ElidedLabel::elided() const
{
    return fontMetrics().horizontalAdvance(text()) > contentsRect().width();
}

QSize ElidedLabel::minimumSizeHint() const
{
    // A few characters; the rest is shown shortened.
    QSize size = QLabel::minimumSizeHint();
    size.setWidth(qMin(size.width(), fontMetrics().horizontalAdvance(QStringLiteral("MMMMMM\u2026"))));
    return size;
}

void ElidedLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect room = contentsRect();
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, room.width());
    style()->drawItemText(&painter, room, static_cast<int>(alignment()), palette(), isEnabled(), shown,
                          foregroundRole());
}

void ElidedLabel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    refreshToolTip();
}

void ElidedLabel::refreshToolTip()
{
    QString tip = baseTip_;
    if (elided() && !text().isEmpty())
        tip = baseTip_.isEmpty() ? text() : text() + QLatin1Char('\n') + baseTip_;
    if (toolTip() != tip)
        setToolTip(tip);
}

void emphasise(QWidget *widget, const QColor &colour, bool bold)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
    QFont font = widget->font();
    font.setBold(bold);
    widget->setFont(font);
}

QColor cautionColour()
{
    return QColor(0xa0, 0x40, 0x00);
}

} // namespace kelpra
