// The yardstick for kelpra's start-up: the least a Qt Widgets program does to put a main
// window on the screen, built from the same Qt.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.setCentralWidget(new QLabel(QStringLiteral("minimal")));
    window.resize(1024, 600);
    window.show();
    return application.exec();
}
