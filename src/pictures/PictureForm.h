#pragma once

#include "platform/ui/Form.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class PictureBox;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QToolButton;

namespace platform {
class Database;
class StdPicture;
} // namespace platform

// What the picture window uses of the contact editor that opens it: the eight picture
// name boxes (which it reads, and writes when a picture is stored or deleted), the last
// name box, the open database, and the stored row of the contact being edited (none for
// a contact not stored yet), so that links in other contacts can be told from its own.
struct PictureEditor {
    QList<QLineEdit *> pictureBoxes; // txtPic1File .. txtPic8File
    QLineEdit *lastNameBox = nullptr;
    platform::Database *database = nullptr;
    std::optional<qint64> recordId;
    // Tells the editor its contact changed when the window changes a picture name.
    std::function<void()> recordChanged;
};

// The picture window of one picture slot of the edited contact. The opener hands over
// gPictureHandOver.gPictureSlot, gPictureHandOver.gPastePicture and CMDialog1's file name (the picture file's
// full path, or in paste mode the bare name chosen for the pasted picture), then shows the window modally.
// The window fits the picture into its display box; closing it with Save (or from the title bar after the
// focus left Cancel) stores the box as a JPEG file in the Pictures folder and writes the file's name into the
// slot's box.
class PictureForm : public platform::Form {
    Q_OBJECT
  public:
    // Set by the editor before it first touches the window.
    static void setEditor(const PictureEditor &editor);

    // The window, loaded on first use. Loading reads the hand-over; a picture that cannot
    // be read raises the error to the opener and leaves no window behind.
    static PictureForm &instance();
    static PictureForm *loadedInstance();

    PictureForm();
    ~PictureForm() override;

    PictureBox *picResized;
    // Holds picResized: on a screen too small for the whole box, the box scrolls in it.
    QScrollArea *picView;
    QWidget *picOriginal; // never shown: holds the picture as loaded or pasted
    QPushButton *cmdCancel;
    QPushButton *cmdClose;
    QPushButton *cmdDelete;
    QPushButton *cmdLoadFile;
    QPushButton *cmdClipboardPaste;
    QToolButton *cmdPrev;
    QToolButton *cmdNext;

    // Shows CMDialog1 as the "Load Picture" open dialog with the filter given; Cancel
    // raises error 32755. The chosen path is then the dialog's file name.
    static void showLoadPictureDialog(const QString &filter, int filterIndex);

    // True when the text holds none of * \ / : ? | < > . and the double quote.
    static bool IsValidFilename(const QString &fileName);

    void cmdClipboardPaste_Click();
    void cmdLoadFile_Click();
    void cmdDelete_Click();
    void cmdCancel_Click();
    void cmdClose_Click();
    void cmdNext_Click();
    void cmdPrev_Click();

    // Window state.
    bool mbFromClipboard = false;
    std::int32_t mlNewWidth = 0;  // twips
    std::int32_t mlNewHeight = 0; // twips
    const platform::StdPicture *originalPicture() const { return mOriginal.get(); }

  protected:
    void Form_Load() override;
    void Form_Unload(bool &cancel) override;

  private:
    void layOut();
    void decideSlotButtons();
    // The fit rule: paints the original picture into the cleared box.
    void fitOriginal();
    void paintOriginal(std::int32_t widthTwips, std::int32_t heightTwips);
    void moveToSlot(const int *tries); // the first usable slot of the tries, 0-ended
    QLineEdit *slotBox(int slot) const;
    QString slotName(int slot) const;
    // What a close does unless Cancel or Delete holds the focus: stores the picture when
    // it is new and names it in the slot's box, only once the file is there.
    void closeAndStore();
    // The name a picture meant to be stored as name is stored under; none when the user would
    // rather keep the file there. A file of that name that another slot of the open book links
    // (another contact's, or another of the edited contact's own) is replaced only when the
    // user says so; the slot's own file is replaced. A file no slot of the open book links may
    // be another address book's, as every database in the program folder shares the Pictures
    // folder: it is left alone, and the picture stored under a free name the user is told.
    std::optional<QString> nameToStoreAs(const QString &name);
    // Who in the open book links a picture name.
    struct NameLinks {
        QStringList others;       // last names of the stored contacts other than the edited one
        QList<int> ownOtherSlots; // the edited contact's other slots, stored or in its boxes
        bool ownSlot = false;     // the slot worked on, stored or in its box
        bool any() const { return ownSlot || !others.isEmpty() || !ownOtherSlots.isEmpty(); }
    };
    NameLinks linksTo(const QString &name);
    double boxWidthTwips() const;
    double boxHeightTwips() const;

    std::unique_ptr<platform::StdPicture> mOriginal;
};
