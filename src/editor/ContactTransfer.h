#pragma once

#include <QString>

class DateChecks;
class EditorPage;
class MainListLink;

// Hands a contact over between the main list's current row and the editor's page, and
// keeps the list on the contact the editor stored or shows.
class ContactTransfer {
  public:
    ContactTransfer(MainListLink &list, EditorPage &page, DateChecks &dates);

    void MoveDataToForm();
    void MoveFormToData();

    // What every save shares, the Save button's and the one Add New, Next and Previous make
    // before they move on: the checks, the row, and the category link of a new contact.
    bool storeContact();
    // The save of Add New, Next and Previous: the editor stays open, and the main list, run
    // again, stands on the stored contact for the move that follows.
    bool saveAndStay();

    // The key of the main list's current row.
    qint64 currentRecordId() const;
    // The key of the contact the editor shows: the one it loaded last or stored last. The
    // list, run again, may have lost it (a change that no longer matches a find), and Save
    // still writes that contact.
    qint64 shownRecordId() const { return mShownRecordId; }
    void findInList(const QString &criteria);
    // Deletes the current contact and shows its neighbour; false when it was the last one
    // shown, and nothing is left to show.
    bool deleteCurrent();
    // After the editor stored a contact and closes: the list, run again, stands on it.
    void showSavedInList();

    static void reportError(const QString &description, int number);

  private:
    void showStoredContactInList();
    void linkNewContactToCategory();

    MainListLink &mList;
    EditorPage &mPage;
    DateChecks &mDates;
    qint64 mShownRecordId = 0;
};
