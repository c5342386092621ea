#include "mainwindow/PictureCommands.h"

#include "mainwindow/MainControls.h"
#include "mainwindow/MainWindowLayout.h"
#include "mainwindow/NameList.h"
#include "pictures/Pics3.h"
#include "platform/db/DataControl.h"
#include "platform/ui/Twips.h"

#include <QPushButton>

namespace {

void connectPanel(NameList *window, platform::DataControl *list)
{
    Pics3::setRecords([list] { return list->recordset(); });
    Pics3::setMainWindow(window);
}

double leftTwips(const QWidget *window)
{
    return platform::pixelsToTwipsX(window->frameGeometry().x());
}

} // namespace

PictureCommands::PictureCommands(NameList &window) : mWindow(window) {}

void PictureCommands::LoadRecordPictures()
{
    connectPanel(&mWindow, mWindow.mUi->Data1);
    Pics3::instance().LoadRecordPictures();
}

void PictureCommands::cmdPictures_Click()
{
    connectPanel(&mWindow, mWindow.mUi->Data1);
    Pics3 &panel = Pics3::instance();
    if (!panel.isVisible()) {
        LoadRecordPictures();
        panel.showModeless(&mWindow);
        // The keys stay with the main window: its list moves the pictures, and the button
        // hides them again.
        mWindow.activateWindow();
        mWindow.button(QStringLiteral("cmdPictures"))->setFocus();
    } else {
        panel.hide();
    }
    placeBesidePicturePanel();
    const double panelWidth = platform::windowWidthTwips(&panel);
    if (leftTwips(&panel) == 0 && leftTwips(&mWindow) < panelWidth)
        platform::moveWindowTwips(&mWindow, int(panelWidth + 1),
                                  int(platform::pixelsToTwipsY(mWindow.frameGeometry().y())));
}

void PictureCommands::placeBesidePicturePanel()
{
    Pics3 *panel = Pics3::loadedInstance();
    if (!panel || !panel->isVisible() || !(mWindow.windowState() & Qt::WindowMaximized) ||
        mPlacingBesidePanel)
        return;
    mPlacingBesidePanel = true;
    const SideBySidePlacement place = besidePicturePanel(
        platform::screenWidthTwips(), platform::screenHeightTwips(), platform::windowWidthTwips(panel));
    mWindow.setWindowState(mWindow.windowState() & ~Qt::WindowMaximized);
    platform::moveWindowTwips(panel, int(place.panelLeft), int(place.panelTop));
    mWindow.resize(
        platform::twipsToPixelsX(place.mainWidth) - (mWindow.frameGeometry().width() - mWindow.width()),
        platform::twipsToPixelsY(place.mainHeight) - (mWindow.frameGeometry().height() - mWindow.height()));
    platform::moveWindowTwips(&mWindow, int(place.mainLeft), int(place.mainTop));
    mPlacingBesidePanel = false;
}
