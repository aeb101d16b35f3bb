#pragma once

#include "data/fields.h"

#include <QList>
#include <QString>

class QPainter;

namespace kelpra {

// One text item of the printed protocol: a single line of black text on white, drawn
// left-aligned with its top-left corner at (xMm, yMm) from the sheet's top-left corner.
struct PageLabel {
    QString name;       // "QRLabel4", ...
    double xMm = 0;
    double yMm = 0;
    int pointSize = 11;
    bool bold = false;
    bool value = false; // a field's text, fitted into its column; captions are fixed
    QString text;       // empty: the label draws nothing
};

// The page object of the printed protocol: one A4 portrait sheet of absolutely placed
// labels. The layout is fixed; only the label texts change between printouts.
class ProtocolPage {
public:
    ProtocolPage();

    static constexpr double kPaperWidthMm = 210.0;
    static constexpr double kPaperHeightMm = 297.0;
    static constexpr double kMarginMm = 10.0;   // page set-up; the labels ignore it

    const QList<PageLabel> &labels() const { return labels_; }
    // The label of that name; asking for an unknown name is a programming error.
    PageLabel &label(const QString &name);
    const PageLabel &label(const QString &name) const;
    bool hasLabel(const QString &name) const;

    void setText(const char *name, const QString &text) { label(QString::fromLatin1(name)).text = text; }
    QString text(const char *name) const { return label(QString::fromLatin1(name)).text; }

    // Where a value label must end, in millimetres from the sheet's left edge: before the
    // next label of its row (its column's end), else at the right margin.
    double rightLimitMm(const PageLabel &label) const;

    // The records come from the built-in sample set: a large "SAMPLE DATA" lies across
    // the sheet, under the labels.
    bool sampleMark() const { return sampleMark_; }
    void setSampleMark(bool mark) { sampleMark_ = mark; }

private:
    QList<PageLabel> labels_;
    bool sampleMark_ = false;
};

// A value is never set smaller than this to make it fit; below it, it is elided.
constexpr double kSmallestValuePointSize = 7.0;
// The room left between a value and the next label of its row.
constexpr double kColumnGapMm = 1.0;

// What "Print report" puts on the page: row captions of the chosen variant, then every value
// label from the field texts (8-bit, converted for display). Rewrites every caption of
// rows 2 to 11 and every value label, so nothing of an earlier printout survives.
void fillProtocolPage(ProtocolPage &page, const FieldTexts &fields, bool distressShown);

// The font family the page prints in: Tahoma when the system has it, else the Tahoma
// of Wine's font set (loaded into the application on first use), else a sans-serif.
// Needs a QGuiApplication.
QString protocolFontFamily();

// Draws the page on the painter's device (printer, PDF writer, image). Positions are
// taken from the sheet's top-left corner: on a paged device whose painter starts at the
// margins the drawing is shifted back, so margins never move the labels. Every label stays
// one line. A value too long for its column is set smaller (down to 7 pt, on the baseline
// it was laid out on) and, if that is not enough, elided with "…"; a value that fits is
// drawn as laid out.
void renderProtocolPage(QPainter &painter, const ProtocolPage &page);

} // namespace kelpra
