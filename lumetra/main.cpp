#include "window/main_window.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    lumetra::MainWindow window(lumetra::desktopServices());
    return app.exec();
}
