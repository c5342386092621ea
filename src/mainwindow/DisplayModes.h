#pragma once

#include <QColor>
#include <QObject>

class MainControls;
class NameList;

// How the main window looks: the desktop and tablet looks (fonts, row height, locate box
// height), the window's background colour, and the scroll-bar width the program starts with.
// Each choice is kept in the database's settings rows.
class DisplayModes : public QObject {
    Q_OBJECT
  public:
    explicit DisplayModes(NameList &window);

    void DesktopMode_Click();
    void TabletMode_Click();
    void SelectColor_Click();
    void RestoreColor_Click();
    void ScrollBarWidth_Click();

    // Puts the look of the current mode on the grid, sort box and locate box, and offers
    // the other mode in the Options menu.
    void applyLook();
    QColor backColor() const;
    void setBackColor(const QColor &colour);
    // A colour as the settings row keeps it: red in the low byte, blue in the third.
    void setBackColorValue(qint32 value);

  private:
    // The window cannot be made so small that the toolbar or the grid's rows are lost.
    void keepToolbarAndRowsShown(int rowPixels);

    NameList &mWindow;
    MainControls &mUi;
};
