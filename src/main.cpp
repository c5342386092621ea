#include "platform/ui/Application.h"
#include "platform/ui/ClassicFont.h"
#include "platform/ui/FirstPaint.h"
#include "platform/ui/ScrollBarWidth.h"
#include "start/modMain.h"

int main(int argc, char *argv[])
{
    // With no TZ the C library reads the zone file again for every date it converts,
    // which makes long lists of dates slow; the same zone, named once, costs nothing.
    if (qEnvironmentVariableIsEmpty("TZ"))
        qputenv("TZ", ":/etc/localtime");
    platform::Application app(argc, argv);
    platform::useDesignFonts();
    // The main window's unload decides when the program ends: a password change closes it
    // and shows a new one.
    app.setQuitOnLastWindowClosed(false);
    // The scroll-bar width chosen in the Options menu takes effect from the next start.
    platform::applyStoredScrollBarWidth();
    platform::reportFirstPaintIfAsked(QStringLiteral("NameList"));
    if (Main() == MainOutcome::Ended)
        return 0;
    return app.exec();
}
