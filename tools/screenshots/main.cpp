// Takes the README's screenshots from the running program under an X server (Xvfb):
//   xvfb-run -a -s "-screen 0 1600x1000x24" build/bin/kelpra-screenshots docs
// It drives the program as a user would (Download data, Emulation, Next, the port picker,
// Print report, Export protocol as PDF, the survey table, Export survey report as PDF,
// Survey archive) on a 1024x600 main window, the size of a small laptop, and grabs the
// screen after each step. The picker lists the virtual test set (kelpra-testset, next to
// this program) as COM1; the PDF pages are rendered by pdftoppm. The archive window shows
// an archive of made-up surveys in a temporary folder.
#include "archive/archive_queue.h"
#include "data/text8.h"
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
#include <QTableWidget>
#include <QTemporaryDir>
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

// An individual call to a coast station from the ten digits `self`, as the test set keeps
// it: `verdict` is the test set's ECC verdict ('1' right, '0' wrong), and `eccRight` whether
// the error-check character is the one the symbols give.
QByteArray callFrom(const char *self, const char *day, char verdict = '1', bool eccRight = true)
{
    QList<int> symbols{0, 27, 31, 0, 0, 100}; // to the coast station 002731000
    for (int i = 0; i < 10; i += 2)
        symbols << (self[i] - '0') * 10 + (self[i + 1] - '0');
    symbols << 100 << 126 << 90 << 0 << 16 << 90 << 0 << 16 << 117;
    int ecc = 120;
    for (int s : symbols)
        ecc ^= s;
    QByteArray bytes = QByteArray("01 ") + day + " 1052 " + verdict + " 156.800 MHZ   ";
    bytes += char(170) + QByteArray(6, char(125)) + char(120) + char(120);
    for (int s : symbols)
        bytes += char(s);
    return bytes + char(eccRight ? ecc : ecc ^ 5) + char(117) + char(117) + char(0);
}

// A few surveys of several years, as a surveying company's archive holds them.
bool fillArchive()
{
    struct Made {
        const char *archived;
        SurveyOrigin origin;
        const char *vessel; // UTF-8
        const char *radio;
        const char *self;
        int records;
        int warn; // records the test set judged wrongly
        int fail; // records with a wrong error-check character
    };
    const Made made[] = {
        {"2023-03-14T09:12:00Z", SurveyOrigin::File, "Baltic Star", "Sailor 6222 VHF DSC", "2755012340", 16, 0, 0},
        {"2023-09-02T13:40:00Z", SurveyOrigin::Download, "Nordic Spirit", "JRC JSB-196GM", "2570321000", 16, 1, 0},
        {"2024-02-20T10:05:00Z", SurveyOrigin::Download, "\xd0\x9c\xd0\x90\xd0\xa0\xd0\x98\xd0\xaf",
         "Furuno FS-1575", "2730145600", 16, 0, 2},
        {"2024-03-14T08:55:00Z", SurveyOrigin::Download, "Baltic Star", "Sailor 6222 VHF DSC", "2755012340", 16, 0, 0},
        {"2024-06-11T15:20:00Z", SurveyOrigin::File, "Atlantic Carrier", "Icom GM600", "2320045600", 4, 0, 0},
        {"2024-11-27T11:30:00Z", SurveyOrigin::Download, "Kapitan Dranitsyn", "Sailor 6310 MF/HF", "2731234000", 16, 3, 1},
        {"2025-01-09T07:45:00Z", SurveyOrigin::Download, "Sea Falcon", "Furuno FM-8900S", "2470987000", 16, 0, 0},
        {"2025-02-18T14:10:00Z", SurveyOrigin::Download, "Nordic Spirit", "JRC JSB-196GM", "2570321000", 16, 0, 0},
    };
    for (const Made &m : made) {
        Survey s;
        s.origin = m.origin;
        s.source = m.origin == SurveyOrigin::Download ? QStringLiteral("/dev/ttyUSB0") : QStringLiteral("alldata.bin");
        s.time = QDateTime::fromString(QString::fromLatin1(m.archived), Qt::ISODate);
        s.identification = "GMDSS TESTER S/N 042 rev 1.4";
        const QByteArray day = s.time.toString(QStringLiteral("ddMMyy")).toLatin1();
        for (int k = 0; k < m.records; ++k)
            s.records << callFrom(m.self, day, k < m.warn ? '0' : '1', k < m.warn || k >= m.warn + m.fail);
        s.station = {m.radio, "SN 0042-17", "", toText8(QString::fromUtf8(m.vessel)), "", "", "", ""};
        s.controller = {"Baltic Radio Survey", "+371 000 0000", "Riga", "I. Petrov"};
        if (!archiveSurvey(s).archived())
            return false;
    }
    return true;
}

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

    // The archive window's archive, and the retry queue beside it, in a folder of their own.
    QTemporaryDir archiveFolder(QDir::temp().filePath(QStringLiteral("kelpra-archive-XXXXXX")));
    qputenv("XDG_DATA_HOME", archiveFolder.path().toLocal8Bit());
    qputenv(kArchiveEnvironment, archiveFolder.filePath(QStringLiteral("archive.sqlite")).toLocal8Bit());
    bool ok = fillArchive();
    std::printf("%s the archive\n", ok ? "filled" : "FAILED to fill");

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

    // The archive window at the size of the main window, one survey chosen.
    ArchiveWindow &archive = kelpra.archiveWindow;
    archive.move(0, 0);
    archive.resize(1024, 600);
    child<QAction>(w, "SurveyArchive1")->trigger();
    while (!kelpra.archiveWorker.idle())
        settle();
    child<QTableWidget>(archive, "ArchiveTable")->selectRow(2);
    ok &= save(archive.frameGeometry(), out.filePath(QStringLiteral("archive-window.png")));
    archive.hide();

    testset.terminate();
    testset.waitForFinished(3000);
    return ok ? 0 : 1;
}
