#include "ui/application.h"
#include "ui/qt_prompts.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

namespace {

const char kHelp[] =
    "Usage: kelpra [QT-OPTIONS]\n"
    "Companion program of the Kelpra GMDSS radio test set: downloads the test set's\n"
    "records over a serial port, decodes their DSC calls and writes the test protocol.\n"
    "\n"
    "Options:\n"
    "  -h, --help     Shows this help and ends.\n"
    "  -v, --version  Shows the version and ends.\n"
    "\n"
    "The window system's own options (-platform, -style, -display, ...) are accepted.\n"
    "KELPRA_COM1 to KELPRA_COM50 map port numbers to other devices; see kelpra(1).\n";

// --help and --version must work over ssh and in scripts, where there is no display:
// answered before QApplication, which would need one, is created.
bool answeredWithoutWindow(int argc, char *argv[], int *exitCode)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0 || std::strcmp(argv[i], "-v") == 0) {
            std::printf("kelpra %s\n", KELPRA_VERSION);
            *exitCode = 0;
            return true;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kHelp, stdout);
            *exitCode = 0;
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    int exitCode = 0;
    if (answeredWithoutWindow(argc, argv, &exitCode))
        return exitCode;

    QApplication application(argc, argv);
    QCoreApplication::setApplicationName(kelpra::applicationTitle());
    QCoreApplication::setApplicationVersion(QStringLiteral(KELPRA_VERSION));
    // QApplication has taken its own options out; anything left is not ours either.
    const QStringList rest = QCoreApplication::arguments().mid(1);
    if (!rest.isEmpty()) {
        std::fprintf(stderr, "kelpra: unknown argument \"%s\"; see kelpra --help\n", qPrintable(rest.first()));
        return 1;
    }

    // The program ends with its main window, whatever else is open.
    QApplication::setQuitOnLastWindowClosed(false);

    kelpra::QtPrompts prompts;
    kelpra::KelpraApplication kelpra(prompts);
    prompts.setParentWindow(&kelpra.mainWindow);
    QObject::connect(&kelpra.mainWindow, &kelpra::MainWindow::closed, &application, &QCoreApplication::quit);
    kelpra.mainWindow.show();
    return application.exec();
}
