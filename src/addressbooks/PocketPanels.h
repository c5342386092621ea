#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class DisplayedRecords;

namespace platform {
class PrintCanvas;
}

// The pages of the pocket book before they are imposed: panels of a fixed number of
// lines (the depth), the last line of each its panel number. Lines are held as records
// of at most RecordLength characters as drawn; a blank record takes no memory of its own.
class PocketPanels {
  public:
    static constexpr int RecordLength = 101;

    explicit PocketPanels(int depth);

    int depth() const { return mDepth; }
    // Panels written so far; a multiple of 4 after finish().
    int panelCount() const { return mPanel - 1; }
    // Lines written in the panel being filled.
    int linesUsed() const { return mUsed; }
    // Record 1 is the first line of panel 1; panel p starts at depth × (p − 1) + 1.
    const QString &record(qint64 number) const { return mRecords[static_cast<std::size_t>(number - 1)]; }
    qint64 recordCount() const { return static_cast<qint64>(mRecords.size()); }

    // Writes a line below the last one; a full panel gets its number line and the
    // next line starts the next panel, so a contact longer than a panel goes on there.
    void writeLine(const QString &text);
    // Fills the rest of the panel with blank records and its number line.
    void closePanel();
    // Closes a panel in progress and adds panels holding only their numbers until the
    // count is a multiple of 4.
    void finish();

    // Bytes held for the records, their texts included.
    std::size_t memoryBytes() const;

    // "    1": the number line of a panel, its digits from character 50 on.
    static QString numberLine(int panel);

  private:
    void writeRecord(const QString &text);

    int mDepth;
    int mUsed = 0;
    int mPanel = 1;
    std::vector<QString> mRecords;
};

// How pass 1 lays out the contacts, measured on the canvas the book is drawn on, in
// its font of the moment.
struct PocketLayout {
    const platform::PrintCanvas &canvas;
    // Name line as last name, comma, first and middle name.
    bool lastNameFirst = false;
    // Width of " " and of "-" in whole twips.
    int spaceWidth = 1;
    int dashWidth = 1;

    PocketLayout(const platform::PrintCanvas &canvas, bool lastNameFirst);
};

// Panel width in twips, and the note lines and the depth rules of the book.
constexpr int PocketPanelWidth = 4320;
constexpr int PocketNoteLines = 20;

// Lines of a panel for a line height of h twips: 6324 / h to the nearest whole number.
// Raises a RuntimeError when the font leaves a panel no room for a contact line.
int PocketPanelDepth(double lineHeight);

// The lines one contact takes, in print order; the caption line and a blank line come
// first for the first contact. Notes longer than PocketNoteLines lines are cut.
QStringList PocketContactLines(DisplayedRecords &Records, const PocketLayout &Layout, bool FirstContact,
                               const QString &Caption);

// The caption centred in the panel by whole blanks.
QString PocketCaptionLine(const PocketLayout &Layout, const QString &Caption);
// "(Home) 555-0100", then blanks to the middle of the panel, then the second phone
// with its label; at least one blank between the two.
QString PocketPhonePair(const PocketLayout &Layout, const QString &Label1, const QString &Phone1,
                        const QString &Label2, const QString &Phone2);
QString PocketNameLine(DisplayedRecords &Records, bool LastNameFirst);

// Pass 1: every displayed record from the first, into panels of Depth lines. The
// records are left at their end. BetweenContacts, when given, runs after every contact
// but the last (a long book lets window events run there).
PocketPanels LayOutPocketPanels(DisplayedRecords &Records, const PocketLayout &Layout, int Depth,
                                const QString &Caption, const std::function<void()> &BetweenContacts = {});
