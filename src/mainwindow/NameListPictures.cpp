// The picture panel beside the main window: filled from the current row at every row
// change, shown and hidden by the Pictures button, and placed so that the two windows
// stand side by side when the main window is maximised.
#include "mainwindow/MainWindowLayout.h"
#include "mainwindow/NameList.h"
#include "pictures/Pics3.h"
#include "platform/db/DataControl.h"
#include "platform/ui/Twips.h"

#include <QPushButton>

namespace {

void connectPanel(NameList *window)
{
    Pics3::setRecords([window] { return window->Data1->recordset(); });
    Pics3::setMainWindow(window);
}

double leftTwips(const QWidget *window)
{
    return platform::pixelsToTwipsX(window->frameGeometry().x());
}

} // namespace

void NameList::LoadRecordPictures()
{
    connectPanel(this);
    Pics3::instance().LoadRecordPictures();
}

void NameList::cmdPictures_Click()
{
    connectPanel(this);
    Pics3 &panel = Pics3::instance();
    if (!panel.isVisible()) {
        LoadRecordPictures();
        panel.showModeless(this);
        button(QStringLiteral("cmdPictures"))->setFocus();
    } else {
        panel.hide();
    }
    placeBesidePicturePanel();
    const double panelWidth = platform::windowWidthTwips(&panel);
    if (leftTwips(&panel) == 0 && leftTwips(this) < panelWidth)
        platform::moveWindowTwips(this, int(panelWidth + 1), int(platform::pixelsToTwipsY(frameGeometry().y())));
}

void NameList::placeBesidePicturePanel()
{
    Pics3 *panel = Pics3::loadedInstance();
    if (!panel || !panel->isVisible() || !(windowState() & Qt::WindowMaximized) || mPlacingBesidePanel)
        return;
    mPlacingBesidePanel = true;
    const SideBySidePlacement place = besidePicturePanel(
        platform::screenWidthTwips(), platform::screenHeightTwips(), platform::windowWidthTwips(panel));
    setWindowState(windowState() & ~Qt::WindowMaximized);
    platform::moveWindowTwips(panel, int(place.panelLeft), int(place.panelTop));
    resize(platform::twipsToPixelsX(place.mainWidth) - (frameGeometry().width() - width()),
           platform::twipsToPixelsY(place.mainHeight) - (frameGeometry().height() - height()));
    platform::moveWindowTwips(this, int(place.mainLeft), int(place.mainTop));
    mPlacingBesidePanel = false;
}
