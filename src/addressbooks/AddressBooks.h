#pragma once

#include <QString>
#include <QtGlobal>

class DisplayedRecords;

// What the address books take from the main window besides its displayed records.
struct BookListing {
    // The caption naming what the list shows (lblCategory): the first page's heading.
    QString category;
    // The order part of the list's record source (gRecordSource.gOrderByClause): its sort field
    // gives the letter that starts a new page.
    QString orderByClause;
    // gMainWindow.gPageBreakPerLetter.
    bool pageBreakPerLetter = false;
};

// The field whose first letter the books break pages on: "Organization" when the order
// names it, else "LastName" when it names that, else none (empty).
QString LetterKeyField(const QString &OrderByClause);

// "Full-size Address Book": portrait pages, one block per displayed record, first to
// last; the record current before stays current after.
void PrintFullSizeAddressBook(DisplayedRecords &Records, const BookListing &Listing);

// "5-1/2 x 8-1/2 Address Book" on landscape sheets: Which 2 fills the left half page,
// then the right, then a new sheet; any other value uses left halves only.
void PrintHalfPageAddressBook(DisplayedRecords &Records, const BookListing &Listing, int Which);

// The menu entries: ask first (ConfirmPrintDisplayed), let pending window events run
// once, then draw the book.
void FullSizeAddressBook_Click(DisplayedRecords &Records, const BookListing &Listing, qint32 SelectedCount);
void HalfPageAddressBook_Click(DisplayedRecords &Records, const BookListing &Listing, qint32 SelectedCount);
void HalfPageAddressBookLeftSide_Click(DisplayedRecords &Records, const BookListing &Listing,
                                       qint32 SelectedCount);
