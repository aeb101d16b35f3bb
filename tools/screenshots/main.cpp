// Takes the README's screenshots from the running program under an X server (Xvfb):
//   xvfb-run -a -s "-screen 0 1600x1000x24" build/bin/kelpra-screenshots docs
// It drives the program as a user would (Download data, Emulation, Next, the port picker,
// Print report, Export protocol as PDF, the survey table, Export survey report as PDF) on a
// 1024x600 main window, the size of a small laptop, and grabs the screen after each step.
// The picker lists the virtual test set (kelpra-testset, next to this program) as COM1; the
// PDF pages are rendered by pdftoppm.
#include "ui/application.h"
#include "ui/port_picker.h"
#include "ui/qt_prompts.h"
#include "link/serial_port.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
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

// The program's prompts, except that "Export protocol as PDF" writes to a fixed file.
class ScreenshotPrompts : public QtPrompts {
public:
    QString pdfPath;
    QString saveFileName(const FileDialogSetup &setup) override
    {
        return setup.filter == QLatin1String("*.pdf") ? pdfPath : QtPrompts::saveFileName(setup);
    }
};

template <class T>
T *child(QObject &parent, const char *name)
{
    return parent.findChild<T *>(QString::fromLatin1(name));
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QCoreApplication::setApplicationName(applicationTitle());
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    QDir().mkpath(out.absolutePath());

    // The virtual test set, reached as COM1 (the picker shows what stands behind it).
    QProcess testset;
    testset.start(QCoreApplication::applicationDirPath() + QStringLiteral("/kelpra-testset"),
                  {QStringLiteral("--max-seconds"), QStringLiteral("120")});
    QString ptyPath;
    if (testset.waitForStarted(5000) && testset.waitForReadyRead(5000))
        ptyPath = QString::fromLocal8Bit(testset.readLine()).trimmed();
    if (!ptyPath.isEmpty())
        qputenv("KELPRA_COM1", ptyPath.toLocal8Bit());

    ScreenshotPrompts prompts;
    prompts.pdfPath = QDir::temp().filePath(QStringLiteral("kelpra-screenshot.pdf"));
    KelpraApplication kelpra(prompts);
    prompts.setParentWindow(&kelpra.mainWindow);
    MainWindow &w = kelpra.mainWindow;
    w.setFieldText(Field::RadioModel, QStringLiteral("Sailor 6222 VHF DSC"));
    w.setFieldText(Field::RadioSerialNumber, QStringLiteral("SN 0042-17"));
    w.setFieldText(Field::RadioManufacturer, QStringLiteral("Thrane & Thrane"));
    w.setFieldText(Field::VesselName, QStringLiteral("Baltic Star"));
    w.setFieldText(Field::VesselOwner, QStringLiteral("Baltic Lines Ltd"));
    w.setFieldText(Field::VesselCategory, QStringLiteral("Cargo / 5000 t"));
    w.setFieldText(Field::VesselAddress, QStringLiteral("1 Harbour Street, Riga"));
    w.setFieldText(Field::VesselPhone, QStringLiteral("+371 000 0000"));
    w.setFieldText(Field::Engineer, QStringLiteral("I. Petrov"));
    w.move(0, 0);
    w.resize(1024, 600);
    w.show();
    settle();
    const auto mainArea = [&w] { return w.frameGeometry(); };
    bool ok = true;

    child<QPushButton>(w, "Button2")->click();
    kelpra.downloadWindow.move(w.frameGeometry().right() + 20, 40);
    settle();
    const QRect both = mainArea().united(kelpra.downloadWindow.frameGeometry());
    ok &= save(both, out.filePath(QStringLiteral("download.png")));

    child<QPushButton>(kelpra.downloadWindow, "Button1")->click(); // "Emulation"
    ok &= save(mainArea(), out.filePath(QStringLiteral("main-window.png")));

    // The port picker as the first download of a run shows it.
    if (auto *port = child<SerialPort>(kelpra.downloadWindow, "ApdComPort1")) {
        QTimer::singleShot(500, [&] {
            for (QWidget *top : QApplication::topLevelWidgets()) {
                if (auto *picker = qobject_cast<PortPicker *>(top); picker && picker->isVisible()) {
                    ok &= save(picker->frameGeometry(), out.filePath(QStringLiteral("picker.png")));
                    picker->reject();
                    return;
                }
            }
            std::printf("FAILED no port picker\n");
            ok = false;
        });
        prompts.pickPort(port->findPorts());
    }

    child<QToolButton>(w, "Next")->click();
    child<QToolButton>(w, "Next")->click(); // record 3: a distress alert
    ok &= save(mainArea(), out.filePath(QStringLiteral("distress.png")));

    // The print preview blocks "Print report" until it closes: grab it from a timer.
    QTimer::singleShot(700, [&] {
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (auto *preview = qobject_cast<QPrintPreviewDialog *>(top); preview && preview->isVisible()) {
                settle();
                ok &= save(preview->frameGeometry(), out.filePath(QStringLiteral("preview.png")));
                preview->close();
                return;
            }
        }
        std::printf("FAILED no print preview\n");
        ok = false;
    });
    child<QToolButton>(w, "SpeedButton5")->click();

    // An exported page of record 1, as a PDF viewer shows it.
    child<QToolButton>(w, "Prev")->click();
    child<QToolButton>(w, "Prev")->click();
    child<QToolButton>(w, "SpeedButton11")->click();
    QProcess render;
    render.start(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("70"),
                                              QStringLiteral("-singlefile"), prompts.pdfPath,
                                              out.filePath(QStringLiteral("protocol-pdf"))});
    const bool rendered = render.waitForFinished(30000) && render.exitCode() == 0;
    std::printf("%s %s\n", rendered ? "wrote" : "FAILED", qPrintable(out.filePath(QStringLiteral("protocol-pdf.png"))));
    ok &= rendered;
    QFile::remove(prompts.pdfPath);

    // The survey table sorted worst first, a distress alert picked from it.
    if (auto *table = child<QTableView>(w, "SurveyTable")) {
        table->sortByColumn(table->model()->columnCount() - 1, Qt::DescendingOrder);
        for (int row = 0; row < table->model()->rowCount(); ++row) {
            if (table->model()->index(row, 0).data().toInt() == 9)
                table->selectRow(row);
        }
        ok &= save(mainArea(), out.filePath(QStringLiteral("survey.png")));
    } else {
        std::printf("FAILED no survey table\n");
        ok = false;
    }

    // Page 1 of the survey report, as a PDF viewer shows it.
    child<QAction>(w, "ExportSurveyPdf1")->trigger();
    QProcess renderSurvey;
    renderSurvey.start(QStringLiteral("pdftoppm"),
                       {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("80"), QStringLiteral("-f"),
                        QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"), QStringLiteral("-singlefile"),
                        prompts.pdfPath, out.filePath(QStringLiteral("survey-report"))});
    const bool surveyRendered = renderSurvey.waitForFinished(30000) && renderSurvey.exitCode() == 0;
    std::printf("%s %s\n", surveyRendered ? "wrote" : "FAILED",
                qPrintable(out.filePath(QStringLiteral("survey-report.png"))));
    ok &= surveyRendered;
    QFile::remove(prompts.pdfPath);

    testset.terminate();
    testset.waitForFinished(3000);
    return ok ? 0 : 1;
}
