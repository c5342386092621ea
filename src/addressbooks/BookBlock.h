#pragma once

#include "platform/print/PrintFont.h"

#include <QString>
#include <QStringList>
#include <array>

class DisplayedRecords;

// The two address books that print one block per contact. They take the same fields
// and differ in the texts of a few items, in whether the dates have rows of their own,
// and in how wide the notes are wrapped.
enum class BookSize { FullSize, HalfPage };

// One contact's block, built from the current record. Lists are compacted: an item
// takes the next slot only when it is non-blank, so a list holds its items from the
// first slot on.
struct BookBlock {
    // Slot 1 the full name, slot 2 the organisation; the organisation takes slot 1
    // when the full name is blank.
    std::array<QString, 2> names;
    bool fullNameNonBlank = false;
    // The label address goes in the left column, the other address in the right.
    // An address of its description alone prints nothing but still counts one line.
    std::array<QString, 6> labelAddress;
    std::array<QString, 6> otherAddress;
    int labelAddressCount = 0;
    int otherAddressCount = 0;
    QStringList phones;
    // Half page only; the full-size book has its dates among the further items.
    QStringList dates;
    QStringList further;
    // The notes wrapped as they print, at most NoteLinesPrinted lines; empty when the
    // record's notes do not print.
    QStringList noteLines;

    // Lines the block is expected to take, compared with the room left on the page.
    int reservation(BookSize size) const;
};

// Note lines printed under one contact; more are neither printed nor reserved.
constexpr int NoteLinesPrinted = 45;

// Builds the block of the current record. The notes are wrapped to the book's width
// in NoteFont; the untaken rest of notes longer than NoteLinesPrinted lines stays in
// gPrinting.gPrintTextBuffer.
BookBlock BuildBookBlock(DisplayedRecords &Records, BookSize Size, const platform::PrintFont &NoteFont);

// Width the notes of a book are wrapped to, in twips.
int NoteWrapWidth(BookSize Size);

// Rows taken by a list printed two items to a row, as the books reserve them: one row
// an item up to two items, then one row per pair.
int PairedRows(int items);
