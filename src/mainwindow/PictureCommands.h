#pragma once

#include <QObject>

class NameList;

// The picture panel beside the main window: filled from the current row at every row
// change, shown and hidden by the Pictures button, and placed so that the two windows
// stand side by side when the main window is maximised.
class PictureCommands : public QObject {
    Q_OBJECT
  public:
    explicit PictureCommands(NameList &window);

    void LoadRecordPictures();
    void cmdPictures_Click();
    void placeBesidePicturePanel();

  private:
    NameList &mWindow;
    bool mPlacingBesidePanel = false;
};
