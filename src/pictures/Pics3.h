#pragma once

#include "platform/ui/Form.h"

#include <QPointer>
#include <array>
#include <functional>

class QFileSystemWatcher;
class QLabel;

namespace platform {
class Recordset;
}

// The picture panel beside the main window: the first three pictures of the contact the
// main list stands on, one above the other, with the contact's name as caption. A
// double-click enlarges one picture to 1024 by 768 pixels; closing the enlarged panel
// brings the three pictures back instead of closing it. The panel only shows: it never
// writes a file or a record.
class Pics3 : public platform::Form {
    Q_OBJECT
  public:
    // Where the panel reads the current contact: the main list's displayed record set
    // (null while there is none). Set by the main window before it first uses the panel.
    static void setRecords(std::function<platform::Recordset *()> records);

    // The panel, created hidden on first use and again after it was unloaded.
    static Pics3 &instance();
    static Pics3 *loadedInstance();
    // Reading whether the panel shows creates it, hidden, as any use does.
    static bool panelVisible() { return instance().isVisible(); }

    // The main window the panel stands beside when it is created; may be null.
    static void setMainWindow(QWidget *mainWindow);

    Pics3();

    QLabel *Image1;
    QLabel *Image2;
    QLabel *Image3;

    // Fills the three pictures and the caption from the current contact; an empty list
    // leaves the panel as it is.
    void LoadRecordPictures();

    void Image1_DblClick() { enlarge(1); }
    void Image2_DblClick() { enlarge(2); }
    void Image3_DblClick() { enlarge(3); }

    // The panel counts as enlarged while it is 1024 pixels wide.
    bool enlarged() const;

    // The program's end closes the panel in either view.
    void unloadForShutDown();

  protected:
    void Form_Load() override;
    void Form_Unload(bool &cancel) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

  private:
    // Tab, Shift+Tab and Escape leave the panel for the main window it stands beside.
    void backToMainWindow();
    void enlarge(int n);
    void threePictureLayout();
    QLabel *image(int n) const;
    // The current contact of the main list, or null when the list has none.
    platform::Recordset *currentRecord() const;
    QString contactCaption(platform::Recordset &record) const;

    // Shows anew, or empties, the images whose file changed, went away or came back.
    void shownFilesChanged();
    void watchShownFiles();
    // The file image n is to show as the folder now lists it; empty when there is none.
    QString foundFile(int n) const;
    // Shows image n as its file now is, nothing when there is none.
    void showPicture(int n);

    bool mShuttingDown = false;
    // The file each image is to show, as the contact names it (empty for none), and the state
    // of the file found for it when it was shown (none when missing).
    QString mShown[3];
    std::array<qint64, 5> mStamps[3] = {};
    QFileSystemWatcher *mWatcher;
};
