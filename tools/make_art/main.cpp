// Regenerates the committed picture files from our own drawings:
//   resources/logo.jpg                              the about-box logo (encoded with libjpeg)
//   resources/icons/hicolor/<n>x<n>/apps/kelpra.png the program icon, from picture("app")
//   resources/icons/hicolor/scalable/apps/kelpra.svg the same icon as vector art
// Usage: kelpra_make_art <resources directory>
#include "ui/picture_render.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>

#include <jpeglib.h>

namespace {

QImage drawLogo()
{
    QImage image(320, 90, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient sea(0, 0, 320, 0);
    sea.setColorAt(0, QColor(0x12, 0x34, 0x62));
    sea.setColorAt(1, QColor(0x2a, 0x63, 0xa8));
    p.fillRect(image.rect(), sea);

    // Radio waves leaving the lifebuoy.
    const QPointF centre(45, 45);
    p.setPen(QPen(QColor(0xcf, 0xe3, 0xf7), 3, Qt::SolidLine, Qt::RoundCap));
    for (qreal r : {42.0, 50.0, 58.0})
        p.drawArc(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), -28 * 16, 56 * 16);

    // Lifebuoy: white ring with four red quarters centred on the diagonals.
    QPainterPath ring;
    ring.addEllipse(centre, 34, 34);
    ring.addEllipse(centre, 17, 17);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(ring);
    p.save();
    p.setClipPath(ring);
    p.setBrush(QColor(0xe0, 0x30, 0x28));
    const QRectF disc(centre.x() - 40, centre.y() - 40, 80, 80);
    for (int quarter = 0; quarter < 4; ++quarter)
        p.drawPie(disc, (45 + 90 * quarter - 25) * 16, 50 * 16);
    p.restore();
    p.setPen(QPen(QColor(0x0d, 0x24, 0x44), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(ring);

    QFont name(QStringLiteral("DejaVu Sans"));
    name.setPixelSize(40);
    name.setBold(true);
    name.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    p.setFont(name);
    p.setPen(Qt::white);
    p.drawText(QRectF(110, 8, 205, 50), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("KELPRA"));

    QFont line(QStringLiteral("DejaVu Sans"));
    line.setPixelSize(12);
    line.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    p.setFont(line);
    p.setPen(QColor(0xcf, 0xe3, 0xf7));
    p.drawText(QRectF(112, 56, 205, 20), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("GMDSS RADIO TEST SET"));
    return image;
}

bool writeJpeg(const QImage &picture, const QString &path)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    FILE *file = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!file)
        return false;
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(rgb.width());
    info.image_height = static_cast<JDIMENSION>(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 92, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPLE *>(rgb.constScanLine(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(file) == 0;
}

// The same drawing as picture("app"), on its 32-unit grid.
QString appSvg()
{
    auto arc = [](double r, bool right) {
        const double a = 40.0 * M_PI / 180.0, cx = 16, cy = 9;
        const double dx = r * std::cos(a) * (right ? 1 : -1), dy = r * std::sin(a);
        const double y1 = right ? cy + dy : cy - dy, y2 = right ? cy - dy : cy + dy;
        return QString::asprintf("<path d=\"M%.3f %.3f A%.1f %.1f 0 0 0 %.3f %.3f\"/>", cx + dx, y1, r, r,
                                 cx + dx, y2);
    };
    QString waves;
    for (double r : {6.0, 10.5})
        waves += arc(r, true) + arc(r, false);
    return QStringLiteral(
               "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"32\" height=\"32\" viewBox=\"0 0 32 32\">\n"
               "<defs><linearGradient id=\"sky\" x1=\"0\" y1=\"1\" x2=\"0\" y2=\"31\" gradientUnits=\"userSpaceOnUse\">"
               "<stop offset=\"0\" stop-color=\"#2a63a8\"/><stop offset=\"1\" stop-color=\"#123462\"/></linearGradient></defs>\n"
               "<rect x=\"1.5\" y=\"1.5\" width=\"29\" height=\"29\" rx=\"6\" fill=\"url(#sky)\" stroke=\"#0d2444\"/>\n"
               "<g fill=\"none\" stroke=\"#fff\" stroke-width=\"2\" stroke-linecap=\"round\">%1</g>\n"
               "<g fill=\"none\" stroke=\"#f05535\" stroke-linecap=\"round\" stroke-linejoin=\"round\">"
               "<polyline points=\"10,28 16,8 22,28\" stroke-width=\"2\"/>"
               "<polyline points=\"14.2,14 17.8,14 12.8,19 19.2,19 11.3,24 20.7,24\" stroke-width=\"1.5\"/></g>\n"
               "<rect x=\"7\" y=\"27\" width=\"18\" height=\"2\" fill=\"#e6eef6\"/>\n"
               "<circle cx=\"16\" cy=\"8\" r=\"2.5\" fill=\"#ffe060\"/>\n"
               "</svg>\n")
        .arg(waves);
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <resources directory>\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    bool ok = writeJpeg(drawLogo(), out.filePath(QStringLiteral("logo.jpg")));

    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QString dir = QStringLiteral("icons/hicolor/%1x%1/apps").arg(size);
        ok = out.mkpath(dir) && ok;
        ok = kelpra::renderPicture("app", size).save(out.filePath(dir + QStringLiteral("/kelpra.png"))) && ok;
    }
    ok = out.mkpath(QStringLiteral("icons/hicolor/scalable/apps")) && ok;
    QFile svg(out.filePath(QStringLiteral("icons/hicolor/scalable/apps/kelpra.svg")));
    ok = svg.open(QIODevice::WriteOnly | QIODevice::Truncate) && svg.write(appSvg().toUtf8()) > 0 && ok;
    if (!ok)
        std::fprintf(stderr, "could not write every file\n");
    return ok ? 0 : 1;
}
