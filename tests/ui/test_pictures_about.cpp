#include "ui/about_box.h"
#include "ui/jpeg_image.h"
#include "ui/picture_render.h"
#include "ui/pictures.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace kelpra;

namespace {

const char *const kPictureNames[] = {"open", "save",    "saveall", "report",    "print",
                                     "download", "decode", "about", "exit",    "prev",
                                     "next", "details", "emulation", "initport", "app", "pdf",
                                     "archive"};

QByteArray logoBytes()
{
    QFile file(QStringLiteral(":/about/logo.jpg"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Largest per-channel difference of two same-sized images, alpha included.
int maxDifference(const QImage &a, const QImage &b)
{
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    return worst;
}

QLabel *labelWithText(QWidget &window, const QString &text)
{
    const auto labels = window.findChildren<QLabel *>();
    for (QLabel *label : labels)
        if (label->text() == text)
            return label;
    return nullptr;
}

} // namespace

class TestPicturesAbout : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void logoDecodes();
    void brokenJpegGivesNullImage_data();
    void brokenJpegGivesNullImage();
    void everyPictureIsDrawn_data();
    void everyPictureIsDrawn();
    void picturesAreDistinct();
    void prevMirrorsNext();
    void unknownPictureIsEmpty();
    void aboutBoxContent();
    void aboutBoxCloseAndShowAgain();
};

void TestPicturesAbout::logoDecodes()
{
    const QImage logo = decodeJpeg(logoBytes());
    QCOMPARE(logo.size(), QSize(320, 90));
    // A red quarter of the lifebuoy and a white one, well inside their areas.
    for (QPoint at : {QPoint(63, 27), QPoint(27, 63)}) {
        const QColor red = logo.pixelColor(at);
        QVERIFY2(red.red() > 190 && red.green() < 90 && red.blue() < 90, qPrintable(red.name()));
    }
    const QColor white = logo.pixelColor(70, 45);
    QVERIFY2(white.red() > 230 && white.green() > 230 && white.blue() > 220, qPrintable(white.name()));
    const QColor sea = logo.pixelColor(45, 45); // the hole of the buoy shows the dark sea
    QVERIFY2(sea.blue() > sea.red() + 50 && sea.red() < 60, qPrintable(sea.name()));
}

void TestPicturesAbout::brokenJpegGivesNullImage_data()
{
    const QByteArray good = logoBytes();
    QVERIFY(good.size() > 1000);
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("not a jpeg") << QByteArray("GIF89a this is no jpeg at all");
    QTest::newRow("start marker only") << good.left(2);
    QTest::newRow("headers only") << good.left(400);
    QTest::newRow("cut in half") << good.left(good.size() / 2);
    QTest::newRow("end marker missing") << good.left(good.size() - 2);

    QByteArray noHeight = good;
    const int frame = noHeight.indexOf(QByteArray("\xff\xc0", 2));
    QVERIFY(frame > 0);
    noHeight[frame + 5] = 0; // height of the frame: an empty picture
    noHeight[frame + 6] = 0;
    QTest::newRow("zero height") << noHeight;

    QByteArray badQuant = good;
    const int table = badQuant.indexOf(QByteArray("\xff\xdb", 2));
    QVERIFY(table > 0);
    badQuant[table + 4] = char(0x07); // quantisation table number out of range
    QTest::newRow("bad table number") << badQuant;
}

void TestPicturesAbout::brokenJpegGivesNullImage()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(decodeJpeg(bytes).isNull());
    // The decoder is still usable after bailing out.
    QCOMPARE(decodeJpeg(logoBytes()).size(), QSize(320, 90));
}

void TestPicturesAbout::everyPictureIsDrawn_data()
{
    QTest::addColumn<QByteArray>("name");
    for (const char *name : kPictureNames)
        QTest::newRow(name) << QByteArray(name);
}

void TestPicturesAbout::everyPictureIsDrawn()
{
    QFETCH(QByteArray, name);
    const QIcon icon = picture(name.constData());
    QVERIFY(!icon.isNull());
    for (int size : {16, 24, 32}) {
        const QImage image = icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(image.size(), QSize(size, size));
        int opaque = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                opaque += qAlpha(image.pixel(x, y)) > 200;
        // Something is drawn, and the picture does not just fill its square.
        QVERIFY2(opaque > size * size / 10, qPrintable(QString::number(opaque)));
        QVERIFY2(opaque < size * size, qPrintable(QString::number(opaque)));
    }
    QCOMPARE(picture(name.constData()).cacheKey(), icon.cacheKey());
}

void TestPicturesAbout::picturesAreDistinct()
{
    QList<QImage> images;
    for (const char *name : kPictureNames)
        images << renderPicture(name, 32);
    for (int i = 0; i < images.size(); ++i)
        for (int j = i + 1; j < images.size(); ++j)
            QVERIFY2(maxDifference(images[i], images[j]) > 100,
                     qPrintable(QStringLiteral("%1 looks like %2").arg(kPictureNames[i], kPictureNames[j])));
    // Drawn at any size asked for, large ones included.
    QCOMPARE(picture("app").pixmap(QSize(256, 256)).size(), QSize(256, 256));
}

void TestPicturesAbout::prevMirrorsNext()
{
    const QImage next = renderPicture("next", 32);
    const QImage prev = renderPicture("prev", 32);
    QVERIFY(maxDifference(prev, next.mirrored(true, false)) <= 8);
    QVERIFY(maxDifference(prev, next) > 100);
}

void TestPicturesAbout::unknownPictureIsEmpty()
{
    for (const char *name : {"", "Open", "opn", "logo", "app "})
        QVERIFY2(picture(name).isNull(), name);
    QVERIFY(picture(nullptr).isNull());
    QVERIFY(renderPicture("nothing", 16).isNull());
}

void TestPicturesAbout::aboutBoxContent()
{
    AboutBox form;
    QCOMPARE(form.objectName(), QStringLiteral("Form2"));
    QCOMPARE(form.windowTitle(), QStringLiteral("RARIV Evodir software"));
    QVERIFY(!form.isModal());

    QLabel *title = labelWithText(form, QStringLiteral("RARIV Evodir software v.2.5 18.03.08"));
    QLabel *maker = labelWithText(form, QStringLiteral("Brantell Ltd"));
    QLabel *version = labelWithText(form, QStringLiteral("Version 2.5.0"));
    QVERIFY(title && maker && version);
    QVERIFY(title->font().bold());
    QVERIFY(maker->font().bold());

    auto *logo = form.findChild<QLabel *>(QStringLiteral("Logo"));
    auto *emblem = form.findChild<QLabel *>(QStringLiteral("Emblem"));
    QVERIFY(logo && emblem);

    auto *contacts = form.findChild<QLabel *>(QStringLiteral("Contacts"));
    QVERIFY(contacts);
    for (const char *part : {"Tel:", "Fax:", "Web:", "E-mail:", "@"})
        QVERIFY2(contacts->text().contains(QLatin1String(part)), part);

    auto *close = form.findChild<QPushButton *>(QStringLiteral("Button1"));
    QVERIFY(close);
    QCOMPARE(close->text(), QStringLiteral("Close"));

    // Top to bottom: title with the emblem to its right, logo, maker, contacts, notices, button.
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(logo->pixmap().size(), QSize(320, 90));
    QVERIFY(!emblem->pixmap().isNull());
    auto top = [&](QWidget *w) { return w->mapTo(&form, QPoint(0, 0)).y(); };
    QVERIFY(emblem->mapTo(&form, QPoint(0, 0)).x() > title->mapTo(&form, QPoint(0, 0)).x());
    const QList<QWidget *> order{title, logo, maker, contacts,
                                 form.findChild<QLabel *>(QStringLiteral("Ownership")),
                                 form.findChild<QLabel *>(QStringLiteral("Credit")), close};
    for (int i = 1; i < order.size(); ++i) {
        QVERIFY(order[i]);
        QVERIFY2(top(order[i]) > top(order[i - 1]), qPrintable(order[i]->objectName()));
    }
}

void TestPicturesAbout::aboutBoxCloseAndShowAgain()
{
    QWidget owner;
    owner.show();
    auto *form = new AboutBox(&owner);
    form->show();
    QVERIFY(form->isVisible());
    QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("Button1")), Qt::LeftButton);
    QVERIFY(!form->isVisible());
    QVERIFY(owner.isVisible());

    form->show();
    QVERIFY(form->isVisible());
    QVERIFY(labelWithText(*form, QStringLiteral("RARIV Evodir software v.2.5 18.03.08")));
    QCOMPARE(form->findChild<QLabel *>(QStringLiteral("Logo"))->pixmap().size(), QSize(320, 90));
    form->closeBox();
    QVERIFY(form->isHidden());
}

QTEST_MAIN(TestPicturesAbout)
#include "test_pictures_about.moc"
