#pragma once

#include <QLabel>

namespace kelpra {

// A one-line label that never makes its window wider than the screen: text too long for
// the room it gets is drawn shortened with "…", and the whole text is in its tooltip.
class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget *parent = nullptr);

    // The text; the tooltip follows it.
    void setFullText(const QString &text);
    // What the tooltip says besides a shortened text (a note's file, an explanation).
    void setBaseToolTip(const QString &tip);
    // True while the text is drawn shortened.
    bool elided() const;

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void refreshToolTip();

    QString baseTip_;
};

// Text in a colour of its own, bold unless asked otherwise, by palette and font: a style
// sheet would cost the start several milliseconds.
void emphasise(QWidget *widget, const QColor &colour, bool bold = true);

// The colour of a note that asks for care: the sample data, an archive set elsewhere.
QColor cautionColour();

} // namespace kelpra
