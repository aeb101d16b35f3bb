#include "app/kelpra_app.h"
#include "app/qt_prompts.h"

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
    prompts.setParentWindow(&kelpra.Form1);
    QObject::connect(&kelpra.Form1, &kelpra::TForm1::closed, &application, &QCoreApplication::quit);
    kelpra.Form1.show();
    return application.exec();
}
