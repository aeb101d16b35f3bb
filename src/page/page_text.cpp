#include "page/page_text.h"

#include "page/protocol_page.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace kelpra {

QRectF sheetRect(const QPaintDevice *device)
{
    const double pxPerMmX = device->logicalDpiX() / 25.4;
    const double pxPerMmY = device->logicalDpiY() / 25.4;
    QPointF origin(0, 0);
    if (const auto *paged = dynamic_cast<const QPagedPaintDevice *>(device)) {
        const QRect paint = paged->pageLayout().paintRectPixels(device->logicalDpiX());
        origin = -QPointF(paint.topLeft());
    }
    return QRectF(origin, QSizeF(ProtocolPage::kPaperWidthMm * pxPerMmX, ProtocolPage::kPaperHeightMm * pxPerMmY));
}

bool hasBoldFace(const QString &family)
{
    const QStringList styles = QFontDatabase::styles(family);
    return std::any_of(styles.begin(), styles.end(),
                       [&](const QString &style) { return QFontDatabase::weight(family, style) >= QFont::Bold; });
}

QFont pageFont(const QString &family, double pointSize, bool bold, QPaintDevice *device)
{
    QFont font(family);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    // Plain glyph runs as the layout was designed with: no ligatures, no kerning.
    font.setKerning(false);
    font.setStyleStrategy(QFont::PreferNoShaping);
    font.setBold(bold);
    return QFont(font, device);
}

// One 24th of the em, the strength FreeType emboldens by.
double boldStrokeWidth(double pointSize, const QPaintDevice *device)
{
    return pointSize * device->logicalDpiY() / 72.0 / 24.0;
}

void drawPageText(QPainter &painter, const QPointF &baseline, const QString &text, const QFont &font,
                  double strokeWidth, const QColor &colour)
{
    painter.save();
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(baseline, text);
    if (strokeWidth > 0) {
        // Qt's synthetic bold is lost when text is drawn as outlines (the preview scales
        // the page down), so thicken the glyphs with a stroke instead.
        QPainterPath outline;
        outline.addText(baseline, font, text);
        painter.strokePath(outline, QPen(colour, strokeWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    }
    painter.restore();
}

// From the lower left to the upper right corner, so that a page of the sample set is never
// taken for a measurement.
void drawSampleMark(QPainter &painter, const QRectF &sheet, const QString &family)
{
    const QString mark = QStringLiteral("SAMPLE DATA");
    QFont font(family);
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    font.setPointSizeF(100);
    font = QFont(font, painter.device());
    const double diagonal = std::hypot(sheet.width(), sheet.height());
    const double advance = QFontMetricsF(font, painter.device()).horizontalAdvance(mark);
    font.setPointSizeF(100 * 0.7 * diagonal / advance);
    const QFontMetricsF metrics(font, painter.device());

    painter.save();
    painter.translate(sheet.center());
    painter.rotate(-qRadiansToDegrees(std::atan2(sheet.height(), sheet.width())));
    painter.setFont(font);
    painter.setPen(QColor(215, 215, 215));
    const double w = metrics.horizontalAdvance(mark);
    painter.drawText(QPointF(-w / 2, (metrics.ascent() - metrics.descent()) / 2), mark);
    painter.restore();
}

} // namespace kelpra
