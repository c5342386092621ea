#include "platform/ui/ApplicationTitle.h"

#include <QApplication>
#include <QMainWindow>

// Until the start routine takes over, the program opens an empty main window.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(platform::applicationTitle());
    window.show();
    return app.exec();
}
