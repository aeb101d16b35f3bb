#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

class QPaintDevice;
class QPainter;

// What every printed page shares: the A4 sheet on the painter's device, text in the
// protocol's family, and the sample mark.
namespace kelpra {

// The whole sheet in device pixels. A paged device's painter starts at the printable
// area's corner; the sheet then begins left of and above it, so that positions count from
// the paper's edge whatever the margins.
QRectF sheetRect(const QPaintDevice *device);

// Whether the family has a real bold face; without one, bold is drawn by stroking.
bool hasBoldFace(const QString &family);
// A font of the family at the size for the device: plain glyph runs, no kerning.
QFont pageFont(const QString &family, double pointSize, bool bold, QPaintDevice *device);
// The stroke that thickens a regular face into a bold one.
double boldStrokeWidth(double pointSize, const QPaintDevice *device);
// One line of text at its baseline, thickened by a stroke of `strokeWidth` (0: none).
void drawPageText(QPainter &painter, const QPointF &baseline, const QString &text, const QFont &font,
                  double strokeWidth, const QColor &colour = Qt::black);

// "SAMPLE DATA" across the sheet, light grey, for records of the built-in sample set.
void drawSampleMark(QPainter &painter, const QRectF &sheet, const QString &family);

} // namespace kelpra
