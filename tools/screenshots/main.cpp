// Takes the README's screenshots from the running program under an X server (Xvfb):
//   xvfb-run -a -s "-screen 0 1600x1000x24" build/bin/kelpra-screenshots docs
// It drives the program as a user would (Download data, Emulation, Next, Print report)
// and grabs the screen after each step.
#include "ui/application.h"
#include "ui/qt_prompts.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QToolButton>

#include <cstdio>

using namespace kelpra;

namespace {

void settle()
{
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(15);
    }
}

bool save(const QRect &area, const QString &path)
{
    settle();
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(),
                                                                      area.height());
    const bool ok = shot.save(path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QCoreApplication::setApplicationName(applicationTitle());
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    QDir().mkpath(out.absolutePath());

    QtPrompts prompts;
    KelpraApplication kelpra(prompts);
    prompts.setParentWindow(&kelpra.mainWindow);
    MainWindow &w = kelpra.mainWindow;
    w.RadioType->setText(QStringLiteral("Sailor 6222 VHF DSC"));
    w.RadioSN->setText(QStringLiteral("SN 0042-17"));
    w.RadioMan->setText(QStringLiteral("Thrane & Thrane"));
    w.VesselName->setText(QStringLiteral("Baltic Star"));
    w.CompanyOwner->setText(QStringLiteral("Baltic Lines Ltd"));
    w.VCategory->setText(QStringLiteral("Cargo / 5000 t"));
    w.VCompAdd->setText(QStringLiteral("1 Harbour Street, Riga"));
    w.VTel->setText(QStringLiteral("+371 000 0000"));
    w.Engineer->setText(QStringLiteral("I. Petrov"));
    w.move(0, 0);
    w.resize(1180, 720);
    w.show();
    settle();
    const auto mainArea = [&w] { return w.frameGeometry(); };
    bool ok = save(mainArea(), out.filePath(QStringLiteral("start.png")));

    w.Button2->click();
    kelpra.downloadWindow.move(w.frameGeometry().right() + 20, 40);
    settle();
    QRect both = mainArea().united(kelpra.downloadWindow.frameGeometry());
    ok &= save(both, out.filePath(QStringLiteral("download.png")));

    kelpra.downloadWindow.Button1->click(); // "Emulation"
    ok &= save(mainArea(), out.filePath(QStringLiteral("main-window.png")));

    w.Next->click();
    w.Next->click(); // record 3: a distress alert
    ok &= save(mainArea(), out.filePath(QStringLiteral("distress.png")));

    // The print preview blocks "Print report" until it closes: grab it from a timer.
    QTimer::singleShot(700, [&] {
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (auto *preview = qobject_cast<QPrintPreviewDialog *>(top); preview && preview->isVisible()) {
                preview->move(0, 0);
                preview->resize(900, 960);
                settle();
                ok &= save(preview->frameGeometry(), out.filePath(QStringLiteral("preview.png")));
                preview->close();
                return;
            }
        }
        std::printf("FAILED no print preview\n");
        ok = false;
    });
    w.SpeedButton5->click();
    return ok ? 0 : 1;
}
