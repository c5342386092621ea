#include "app/modMain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The main window's unload decides when the program ends: a password change closes it
    // and shows a new one.
    app.setQuitOnLastWindowClosed(false);
    if (Main() == MainOutcome::Ended)
        return 0;
    return app.exec();
}
