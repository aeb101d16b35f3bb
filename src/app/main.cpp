#include "ui/application.h"
#include "ui/qt_prompts.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QCoreApplication::setApplicationName(kelpra::applicationTitle());
    QCoreApplication::setApplicationVersion(QStringLiteral(KELPRA_VERSION));
    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("Companion program of the Kelpra GMDSS radio test set."));
    options.addHelpOption();
    options.addVersionOption();
    options.process(application);

    // The program ends with its main window, whatever else is open.
    QApplication::setQuitOnLastWindowClosed(false);

    kelpra::QtPrompts prompts;
    kelpra::KelpraApplication kelpra(prompts);
    prompts.setParentWindow(&kelpra.mainWindow);
    QObject::connect(&kelpra.mainWindow, &kelpra::MainWindow::closed, &application, &QCoreApplication::quit);
    kelpra.mainWindow.show();
    return application.exec();
}
