#pragma once

#include <QList>
#include <Qt>

class EditorPage;
class MainListLink;
struct PictureEditor;
class QAction;
class QGridLayout;
class QMenu;
class QPoint;
class QPushButton;
namespace platform {
class Form;
}

// The editor's eight picture buttons with the file name box below each: a click opens the
// picture window on the slot's file, or on a file the user chooses when the slot has none;
// a right click offers to paste the clipboard's picture into the slot under a name the
// user gives.
class PictureStrip {
  public:
    static constexpr int Count = 8;
    // The buttons stand in two columns of four, each with its file box below it.
    static constexpr int PerColumn = 4;

    PictureStrip(platform::Form &window, EditorPage &page, MainListLink &list);

    // Makes the buttons, their file boxes and the paste menu; returns their grid.
    QGridLayout *build();

    // Shows the open dialog for a picture: true when a file was chosen, whose path is then
    // CMDialog1's file name.
    bool GetFileName();
    void cmdPicture_Click(int n);
    void cmdPicture_MouseDown(int n, Qt::MouseButton button, const QPoint &globalPosition);
    void mnuFilePasteImage_Click();

  private:
    PictureEditor pictureEditor();

    platform::Form &mWindow;
    EditorPage &mPage;
    MainListLink &mList;
    QList<QPushButton *> cmdPicture; // Picture 1 .. Picture 8
    QMenu *mnuFile = nullptr;
    QAction *mnuFilePasteImage = nullptr;
};
