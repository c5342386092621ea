#pragma once

#include <QHash>
#include <QList>
#include <QString>

#include <functional>

class QCheckBox;
class QEvent;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QObject;
class QPlainTextEdit;
class QScrollArea;
class QToolButton;
class QVBoxLayout;
class QWidget;

// The editor's page of fields: the text boxes by name, the notes, the check boxes and the
// stamps, laid out in groups on a page that scrolls when the screen is lower than the
// editor. It also answers the boxes' own events: a double-click on an address or on the
// notes, and the capitals typed while "Capitalize" is ticked.
class EditorPage {
  public:
    // The boxes are made inside window; leaving a date box is told to dateLeft with the
    // box's number.
    EditorPage(QWidget &window, std::function<void(int)> dateLeft);
    ~EditorPage();
    EditorPage(const EditorPage &) = delete;
    EditorPage &operator=(const EditorPage &) = delete;

    // Builds the groups into the page and returns the row below them, where the notes
    // stand and the picture strip joins them.
    QHBoxLayout *build();
    // Orders the tabs through the boxes as they were made, then the notes; call once every
    // box is made.
    void orderTabs();
    QScrollArea *scrollPage() const { return mPage; }

    // A text box of the editor; designText and toolTip belong to a description box, whose
    // text is an editable label.
    QLineEdit *addBox(QWidget *parent, const QString &name, int maxLength, bool description = false,
                      const QString &designText = QString(), const QString &toolTip = QString());
    // The text boxes by name ("txtLastName", "txtPic3File"); nullptr for another name.
    QLineEdit *box(const QString &name) const;

    QPlainTextEdit &notes() const { return *txtNotes; }
    QCheckBox &useForLabels() const { return *cbUseForLabels; }
    QCheckBox &printNotes() const { return *cbPrintNotes; }
    QLabel &dateUpdated() const { return *lblDateUpdated; }
    QToolButton &dialButton() const { return *ImagePhone; }

    // The limits of a database whose UserField1 is short, and of the code box.
    void setDesignLimits();
    void showToday();
    bool hasNoName() const;
    // Blanks the first, middle and last name, and with withNameParts the other name parts.
    void blankNameBoxes(bool withNameParts);
    // Empties every box but the editable labels, which keep their descriptions.
    void emptyDataBoxes();
    // A new contact has not been stored yet: the stamp of the contact shown before it, or of
    // the template it was filled from, is not its own.
    void clearUpdateStamp();
    // The character to put into the focused box for the one typed.
    void capitalizeKey(QWidget *focused, int &keyAscii) const;

    void txtNotes_DblClick();
    void OpenEmailOrWebLink(QString &LinkText);

  private:
    bool boxEvent(QObject *watched, QEvent *event);
    QWidget *namesGroup();
    QWidget *addressGroup(const QString &prefix);
    QWidget *phonesGroup();
    QWidget *datesGroup();
    QWidget *otherFieldsGroup();
    QVBoxLayout *notesColumn();

    QWidget &mWindow;
    std::function<void(int)> mDateLeft;
    QObject *mBoxEvents = nullptr;
    QScrollArea *mPage = nullptr;
    QVBoxLayout *mGroups = nullptr;
    QHash<QString, QLineEdit *> mBoxes;
    QList<QLineEdit *> mBoxOrder;
    QPlainTextEdit *txtNotes = nullptr;
    QCheckBox *cbUseForLabels = nullptr;
    QCheckBox *cbPrintNotes = nullptr;
    QCheckBox *ProperFlag = nullptr;
    QLabel *lblDateUpdated = nullptr;
    QLabel *lblTodaysDate = nullptr;
    QToolButton *ImagePhone = nullptr;
};
