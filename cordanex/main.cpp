#include "window/assistant_window.h"
#include "window/olive_look.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    cordanex::installOliveLook(application);
    application.setWindowIcon(cordanex::applicationIcon());

    cordanex::AssistantWindow window;
    window.show();
    return application.exec();
}
