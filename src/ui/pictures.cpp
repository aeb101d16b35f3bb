#include "ui/pictures.h"
#include "ui/picture_render.h"

#include <QApplication>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>

namespace kelpra {

namespace {

// Every picture is drawn on a 32x32 grid with 2-unit outlines. Axis-parallel edges sit on
// odd grid lines, so at 16, 32 and 48 pixels the outlines fall on whole pixels and stay sharp.
constexpr qreal kGrid = 32.0;

const QColor kInk(0x26, 0x36, 0x46);
const QColor kPaper(0xfb, 0xfc, 0xfd);
const QColor kPaperShade(0xd5, 0xdc, 0xe4);
const QColor kTextLine(0x7a, 0x8f, 0xa6);
const QColor kMetal(0xa9, 0xb5, 0xc1);
const QColor kBlue(0x2f, 0x6d, 0xb5);
const QColor kGreen(0x35, 0x9a, 0x3c);
const QColor kRed(0xd0, 0x40, 0x30);
const QColor kAmber(0xf3, 0xc4, 0x4f);
const QColor kAmberDark(0xd4, 0x9a, 0x2e);

QPen ink(qreal width = 2.0)
{
    return QPen(kInk, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
}

void shape(QPainter &p, const QPolygonF &polygon, const QColor &fill, Qt::PenJoinStyle join = Qt::MiterJoin)
{
    QPen pen = ink();
    pen.setJoinStyle(join); // sharp corners need a bevel, or the miter pokes out
    p.setPen(pen);
    p.setBrush(fill);
    p.drawPolygon(polygon);
}

void box(QPainter &p, qreal x1, qreal y1, qreal x2, qreal y2, const QColor &fill)
{
    p.setPen(ink());
    p.setBrush(fill);
    p.drawRect(QRectF(QPointF(x1, y1), QPointF(x2, y2)));
}

void line(QPainter &p, qreal x1, qreal y1, qreal x2, qreal y2, const QColor &colour, qreal width = 2.0)
{
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void dot(QPainter &p, qreal x, qreal y, qreal r, const QColor &fill, bool outlined = false)
{
    p.setPen(outlined ? ink(1.0) : Qt::NoPen);
    p.setBrush(fill);
    p.drawEllipse(QPointF(x, y), r, r);
}

// A sheet of paper with a folded corner; the pictures that stand for documents share it.
void sheet(QPainter &p)
{
    shape(p, QPolygonF({{7, 3}, {21, 3}, {27, 9}, {27, 29}, {7, 29}}), kPaper);
    shape(p, QPolygonF({{21, 3}, {21, 9}, {27, 9}}), kPaperShade, Qt::BevelJoin);
}

void drawOpen(QPainter &p)
{
    shape(p, QPolygonF({{3, 27}, {3, 5}, {13, 5}, {15, 9}, {27, 9}, {27, 27}}), kAmberDark);
    shape(p, QPolygonF({{3, 27}, {8, 13}, {31, 13}, {27, 27}}), kAmber);
}

void floppy(QPainter &p)
{
    shape(p, QPolygonF({{3, 3}, {25, 3}, {29, 7}, {29, 29}, {3, 29}}), kBlue);
    box(p, 9, 3, 23, 11, kMetal);
    p.fillRect(QRectF(17, 5, 3, 4), kInk);
    box(p, 7, 17, 25, 29, kPaper);
    line(p, 10, 21, 22, 21, kTextLine);
    line(p, 10, 25, 22, 25, kTextLine);
}

void drawSave(QPainter &p)
{
    floppy(p);
}

void drawSaveAll(QPainter &p)
{
    // Two disks, the back one peeking out to the upper right.
    for (const QPointF &at : {QPointF(9, 0), QPointF(0, 9)}) {
        p.save();
        p.translate(at);
        p.scale(23.0 / 32.0, 23.0 / 32.0);
        floppy(p);
        p.restore();
    }
}

void drawReport(QPainter &p)
{
    sheet(p);
    for (int y = 13; y <= 25; y += 4)
        line(p, 11, y, y == 25 ? 19 : 23, y, kTextLine);
}

// The protocol as a file to hand on: a sheet with a red band across it.
void drawPdf(QPainter &p)
{
    sheet(p);
    line(p, 11, 13, 23, 13, kTextLine);
    box(p, 5, 17, 23, 25, kRed);
    line(p, 8, 21, 20, 21, kPaper);
}

void drawPrint(QPainter &p)
{
    box(p, 9, 3, 23, 11, kPaper);
    p.setPen(ink());
    p.setBrush(kMetal);
    p.drawRoundedRect(QRectF(3, 11, 26, 12), 2, 2);
    line(p, 7, 19, 25, 19, kInk);
    dot(p, 25, 15, 1.5, kGreen);
    box(p, 9, 19, 23, 29, kPaper);
    line(p, 12, 23, 20, 23, kTextLine);
    line(p, 12, 26, 18, 26, kTextLine);
}

void drawDownload(QPainter &p)
{
    shape(p, QPolygonF({{3, 19}, {9, 19}, {11, 23}, {21, 23}, {23, 19}, {29, 19}, {29, 29}, {3, 29}}), kMetal);
    shape(p, QPolygonF({{12, 3}, {20, 3}, {20, 11}, {26, 11}, {16, 21}, {6, 11}, {12, 11}}), kGreen);
}

void drawDecode(QPainter &p)
{
    // A received wave under a magnifying glass.
    const QPointF centre(13, 13);
    const qreal radius = 10;
    p.setPen(QPen(kInk, 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(21, 21), QPointF(28, 28));
    p.setPen(ink());
    p.setBrush(QColor(0xdb, 0xee, 0xfb));
    p.drawEllipse(centre, radius, radius);

    QPainterPath clip;
    clip.addEllipse(centre, radius - 1, radius - 1);
    p.save();
    p.setClipPath(clip);
    QPainterPath wave(QPointF(2, 13));
    wave.cubicTo(QPointF(5, 5), QPointF(9, 5), QPointF(11, 13));
    wave.cubicTo(QPointF(13, 21), QPointF(17, 21), QPointF(19, 13));
    wave.cubicTo(QPointF(21, 5), QPointF(25, 5), QPointF(27, 13));
    p.setPen(QPen(kBlue, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(wave);
    p.restore();
}

void drawAbout(QPainter &p)
{
    p.setPen(ink());
    p.setBrush(kBlue);
    p.drawEllipse(QPointF(16, 16), 13, 13);
    dot(p, 16, 9, 2.5, Qt::white);
    p.fillRect(QRectF(14, 13, 4, 11), Qt::white);
}

void drawExit(QPainter &p)
{
    box(p, 5, 3, 19, 29, QColor(0xa0, 0x67, 0x3a));
    dot(p, 9, 17, 1.5, kAmber);
    shape(p, QPolygonF({{13, 13}, {21, 13}, {21, 7}, {31, 16}, {21, 25}, {21, 19}, {13, 19}}), kRed);
}

void drawNext(QPainter &p)
{
    shape(p, QPolygonF({{9, 5}, {25, 16}, {9, 27}}), kBlue);
}

void drawPrev(QPainter &p)
{
    shape(p, QPolygonF({{23, 5}, {7, 16}, {23, 27}}), kBlue);
}

void drawDetails(QPainter &p)
{
    // The controller's card, stored: a sheet with a tick.
    sheet(p);
    line(p, 11, 13, 19, 13, kTextLine);
    line(p, 11, 17, 17, 17, kTextLine);
    QPainterPath tick(QPointF(12, 21));
    tick.lineTo(17, 26);
    tick.lineTo(29, 12);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tick);
    p.setPen(QPen(kGreen, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tick);
}

void drawEmulation(QPainter &p)
{
    // The test set: a case with a display, knobs and a whip antenna.
    line(p, 23, 13, 27, 4, kInk);
    dot(p, 27, 4, 2, kRed);
    p.setPen(ink());
    p.setBrush(QColor(0x5a, 0x6a, 0x7a));
    p.drawRoundedRect(QRectF(3, 13, 26, 16), 2, 2);
    box(p, 7, 17, 19, 25, QColor(0xa6, 0xe0, 0x9a));
    line(p, 9, 21, 17, 21, QColor(0x2e, 0x6b, 0x2a), 1.5);
    dot(p, 24, 18, 2, kMetal);
    dot(p, 24, 24, 2, kAmber);
}

void drawInitPort(QPainter &p)
{
    // A nine-pin serial connector with its cable.
    box(p, 13, 23, 19, 31, kInk);
    shape(p, QPolygonF({{3, 9}, {29, 9}, {26, 23}, {6, 23}}), kMetal);
    for (int i = 0; i < 5; ++i)
        dot(p, 8 + 4 * i, 14, 1.5, kInk);
    for (int i = 0; i < 4; ++i)
        dot(p, 10 + 4 * i, 19, 1.5, kInk);
}

void drawApp(QPainter &p)
{
    // A coast radio mast sending on a night-blue tile.
    QLinearGradient sky(0, 1, 0, 31);
    sky.setColorAt(0, QColor(0x2a, 0x63, 0xa8));
    sky.setColorAt(1, QColor(0x12, 0x34, 0x62));
    p.setPen(QPen(QColor(0x0d, 0x24, 0x44), 1));
    p.setBrush(sky);
    p.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 6, 6);

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
    for (qreal r : {6.0, 10.5}) {
        const QRectF arc(16 - r, 9 - r, 2 * r, 2 * r);
        p.drawArc(arc, -40 * 16, 80 * 16);
        p.drawArc(arc, 140 * 16, 80 * 16);
    }

    // Lattice tower: two legs with cross bracing, red on the blue ground.
    const QColor steel(0xf0, 0x55, 0x35);
    p.setPen(QPen(steel, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({{10, 28}, {16, 8}, {22, 28}}));
    p.setPen(QPen(steel, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({{14.2, 14}, {17.8, 14}, {12.8, 19}, {19.2, 19}, {11.3, 24}, {20.7, 24}}));
    p.fillRect(QRectF(7, 27, 18, 2), QColor(0xe6, 0xee, 0xf6));
    dot(p, 16, 8, 2.5, QColor(0xff, 0xe0, 0x60));
}

void drawArchive(QPainter &p)
{
    // A filing cabinet: two drawers, each with its card holder and handle.
    box(p, 5, 3, 27, 29, kMetal);
    for (qreal top : {6.0, 17.0}) {
        box(p, 8, top, 24, top + 9, kPaperShade);
        box(p, 13, top + 2, 19, top + 5, kPaper);
        line(p, 13, top + 7, 19, top + 7, kInk);
    }
}

using Drawing = void (*)(QPainter &);

Drawing drawingFor(const char *name)
{
    static const QHash<QByteArray, Drawing> drawings = {
        {"open", drawOpen},         {"save", drawSave},         {"saveall", drawSaveAll},
        {"report", drawReport},     {"print", drawPrint},       {"download", drawDownload},
        {"decode", drawDecode},     {"about", drawAbout},       {"exit", drawExit},
        {"prev", drawPrev},         {"next", drawNext},         {"details", drawDetails},
        {"emulation", drawEmulation}, {"initport", drawInitPort}, {"app", drawApp},
        {"pdf", drawPdf},           {"archive", drawArchive},
    };
    return name ? drawings.value(QByteArray(name), nullptr) : nullptr;
}

} // namespace

QImage renderPicture(const char *name, int size)
{
    const Drawing draw = drawingFor(name);
    if (!draw || size <= 0)
        return QImage();
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / kGrid, size / kGrid);
    draw(p);
    return image;
}

namespace {

// Draws the picture at the size asked for, when it is first asked for: a window shows a
// few sizes of each picture, and drawing all of them up front would slow the start.
class DrawnIconEngine : public QIconEngine {
public:
    explicit DrawnIconEngine(QByteArray name) : name_(std::move(name)) {}

    QIconEngine *clone() const override { return new DrawnIconEngine(*this); }
    QString key() const override { return QStringLiteral("kelpra-drawn"); }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State) override
    {
        const int side = qMax(1, qMin(size.width(), size.height()));
        QPixmap drawn = pixmaps_.value(side);
        if (drawn.isNull()) {
            drawn = QPixmap::fromImage(renderPicture(name_.constData(), side));
            pixmaps_.insert(side, drawn);
        }
        if (mode == QIcon::Disabled) {
            QStyleOption option;
            return QApplication::style()->generatedIconPixmap(mode, drawn, &option);
        }
        return drawn;
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const int side = qMin(size.width(), size.height());
        return QSize(side, side);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        // Any size can be drawn; these are what the window system is offered. Each one listed
        // is drawn when a window's icon is set, so none larger than a task bar shows.
        QList<QSize> sizes;
        for (int side : {16, 24, 32, 48, 64})
            sizes << QSize(side, side);
        return sizes;
    }

private:
    QByteArray name_;
    QHash<int, QPixmap> pixmaps_;
};

} // namespace

QIcon picture(const char *name)
{
    static QHash<QByteArray, QIcon> cache;
    if (!drawingFor(name))
        return QIcon();
    const QByteArray key(name);
    auto found = cache.constFind(key);
    if (found == cache.constEnd())
        found = cache.insert(key, QIcon(new DrawnIconEngine(key)));
    return *found;
}

} // namespace kelpra
