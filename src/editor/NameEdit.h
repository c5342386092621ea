#pragma once

#include "platform/ui/Form.h"

#include <QString>

#include <memory>

class ContactTransfer;
class DateChecks;
class EditorPage;
class MainListLink;
class PictureStrip;
class QLineEdit;
class QPushButton;
class QToolButton;
class QWidget;

// The record editor: one contact of the main list, field by field. The contact shown is
// always the current row of the main list's displayed record set; the editor keeps no key
// of its own. It is unloaded every time it closes, so each opening starts from its design.
// The window holds the record commands; its page of fields, the date checks, the picture
// strip and the hand-over of the contact to and from the list are parts of their own.
class NameEdit : public platform::Form {
    Q_OBJECT
  public:
    // Opens the editor modally over the main list and returns once it has been unloaded:
    // existing True shows the list's current row, False prepares a new contact (from the
    // template contact when one is set). An empty caption leaves the window without one.
    static void open(MainListLink &list, bool existing, const QString &caption = QString());

    // The editor while it is loaded; nullptr otherwise.
    static NameEdit *loaded();

    explicit NameEdit(MainListLink &list);
    ~NameEdit() override;

    // The text boxes by name ("txtLastName", "txtPic3File"); nullptr for another name.
    QLineEdit *box(const QString &name) const;

    DateChecks &dates() const { return *mDates; }
    PictureStrip &pictures() const { return *mPictures; }
    ContactTransfer &transfer() const { return *mTransfer; }

    // Record commands. The Save button stores the contact and closes the editor; Add New,
    // Next and Previous store a changed contact themselves and keep the editor open.
    void cmdSave_Click();
    void cmdCancel_Click();
    void cmdAddNew_Click();
    void cmdDelete_Click();
    void cmdNext_Click();
    void cmdPrev_Click();
    void cmdMakeDefault_Click();
    void cmdClearDefault_Click();
    void cmdRemind_Click();
    void ImageKeyboard_Click();

  protected:
    void Form_Load() override;
    void Form_Unload(bool &cancel) override;
    void Form_KeyDown(int &keyCode, Qt::KeyboardModifiers shift) override;
    void Form_KeyPress(int &keyAscii) override;

  private:
    void buildDesign();
    QWidget *buildCommandRows();
    void placeWindow();
    bool savesWhenClicked(const QWidget *control) const;
    bool readyToMove();
    // Tells that the main list shows no contact, when it does not.
    bool listIsEmpty();
    bool showTemplate();

    MainListLink &mList;
    std::unique_ptr<EditorPage> mPage;
    std::unique_ptr<DateChecks> mDates;
    std::unique_ptr<ContactTransfer> mTransfer;
    std::unique_ptr<PictureStrip> mPictures;
    QWidget *mCommandRows = nullptr;

    QPushButton *cmdSave = nullptr;
    QPushButton *cmdCancel = nullptr;
    QPushButton *cmdAddNew = nullptr;
    QPushButton *cmdDelete = nullptr;
    QPushButton *cmdCategories = nullptr;
    QPushButton *cmdRemind = nullptr;
    QToolButton *cmdNext = nullptr;
    QToolButton *cmdPrev = nullptr;
    QToolButton *cmdMakeDefault = nullptr;
    QToolButton *cmdClearDefault = nullptr;
    QToolButton *ImageKeyboard = nullptr;
};
