#pragma once

#include "platform/ui/Form.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>

class MainListLink;
struct PictureEditor;
class QPoint;
class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QToolButton;

// The record editor: one contact of the main list, field by field. The contact shown is
// always the current row of the main list's displayed record set; the editor keeps no key
// of its own. It is unloaded every time it closes, so each opening starts from its design.
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
    QPlainTextEdit *txtNotes = nullptr;
    QCheckBox *cbUseForLabels;
    QCheckBox *cbPrintNotes;
    QCheckBox *ProperFlag;
    QLabel *lblDateUpdated;
    QLabel *lblTodaysDate;

    QPushButton *cmdSave;
    QPushButton *cmdCancel;
    QPushButton *cmdAddNew;
    QPushButton *cmdDelete;
    QPushButton *cmdCategories;
    QPushButton *cmdRemind;
    QToolButton *cmdNext;
    QToolButton *cmdPrev;
    QToolButton *cmdMakeDefault;
    QToolButton *cmdClearDefault;
    QList<QPushButton *> cmdPicture; // Picture 1 .. Picture 8
    QToolButton *ImagePhone;
    QToolButton *ImageKeyboard;
    QMenu *mnuFile;
    QAction *mnuFilePasteImage;

    void MoveDataToForm();
    void MoveFormToData();

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

    // Picture buttons (NameEditPictures.cpp). GetFileName shows the open dialog for a
    // picture: true when a file was chosen, whose path is then CMDialog1's file name.
    bool GetFileName();
    void cmdPicture_Click(int n);
    void cmdPicture_MouseDown(int n, Qt::MouseButton button, const QPoint &globalPosition);
    void mnuFilePasteImage_Click();

    void ImageKeyboard_Click();
    void txtNotes_DblClick();
    void txtDate_LostFocus(int n);

  protected:
    void Form_Load() override;
    void Form_Unload(bool &cancel) override;
    void Form_KeyDown(int &keyCode, Qt::KeyboardModifiers shift) override;
    void Form_KeyPress(int &keyAscii) override;

  private:
    void buildDesign();
    PictureEditor pictureEditor();
    bool boxEvent(QObject *watched, QEvent *event);
    QLineEdit *addBox(const QString &name, int maxLength, bool description = false,
                      const QString &designText = QString(), const QString &toolTip = QString());
    void setDesignLimits();
    void placeWindow();
    void blankNameBoxes(bool withNameParts);
    void emptyDataBoxes();
    bool hasNoName() const;
    bool storeContact();
    bool saveAndStay();
    void showStoredContactInList();
    QLineEdit *firstInvalidDateBox() const;
    void tellInvalidDate(QLineEdit *date);
    bool savesWhenClicked(const QWidget *control) const;
    void clearUpdateStamp();
    bool readyToMove();
    void reportError(const QString &description, int number);
    void findInList(const QString &criteria);
    bool showsFindResult() const;
    void OpenEmailOrWebLink(QString &LinkText);
    void capitalizeKey(QWidget *box, int &keyAscii);

    MainListLink &mList;
    QHash<QString, QLineEdit *> mBoxes;
    QList<QLineEdit *> mBoxOrder;
    bool mCheckingDate = false;
    QObject *mBoxEvents = nullptr;
    QScrollArea *mPage = nullptr;
    QWidget *mCommandRows = nullptr;
};
