#include "addressbooks/AddressBooks.h"

#include "addressbooks/BookBlock.h"

#include "printing/DisplayedRecords.h"
#include "printing/GLOBAL.h"
#include "printing/PrintText.h"
#include "printing/ReportRun.h"
#include "printing/frmPreview.h"

#include "platform/RuntimeError.h"
#include "platform/base/Clock.h"
#include "platform/base/DateText.h"
#include "platform/base/TextBoundaries.h"
#include "platform/base/TextDirection.h"
#include "platform/db/TextCollation.h"
#include "platform/print/PrintSurface.h"
#include "platform/ui/MsgBox.h"

#include <QCoreApplication>
#include <QScopeGuard>

#include <algorithm>

namespace {

using platform::PrintSurface;

constexpr int PageTop = 720;

// Where the two books differ in their pages.
struct BookPage {
    BookSize size;
    QString documentName;
    int orientation;
    double fontSize;
    double dateX;
    // Every n-th further item goes to the right column (0: one item to a line).
    int furtherPerRow;
    // Length of the dashed rule under a block, in twips.
    int ruleLength;
};

const BookPage FullSizePage{BookSize::FullSize, QStringLiteral("Full-size Address Book"), 0, 10, 10080, 2, 9720};
const BookPage HalfPage{BookSize::HalfPage, QStringLiteral("5-1/2 x 8-1/2 Address Book"), 1, 8, 6120, 0, 5760};

// Lines a half page holds.
constexpr int HalfPageCapacity = 53;
// At most this many lines on a full-size page, however small the font.
constexpr int FullSizeMostLines = 59;
// Height available to the lines of a full-size page, in twips.
constexpr int FullSizeLinesHeight = 13248;

// Margin and right column of the two half pages of a sheet; the left column is 360
// twips in from the margin.
constexpr int LeftHalfMargin = 1080;
constexpr int LeftHalfRightColumn = 4320;
constexpr int RightHalfMargin = 9000;
constexpr int RightHalfRightColumn = 12240;
constexpr int FullSizeRightColumn = 5940;
// Where the left half page ends and the right one begins.
constexpr int HalfPageWidth = 7920;
// The full-size heading is centred on the page; the half-page one on its half, but never
// closer to the edge than the left column.
constexpr int FullSizeCentre = 5940;
constexpr int HalfPageCentre = 3600;
constexpr int HalfPageHeadingLeftmost = 360;
constexpr int ColumnIndent = 360;

class AddressBookReport {
  public:
    AddressBookReport(DisplayedRecords &records, const BookListing &listing, const BookPage &page, int which)
        : mRecords(records), mListing(listing), mPage(page), mWhich(which), vp(PreviewSurface())
    {
    }

    void run()
    {
        ReportRun::draw(
            [this](ReportRun &run) {
                mGuard = &run;
                if (startDocument())
                    draw();
            },
            [this] {
                // The half-page book leaves the surface in portrait after a failure.
                if (mPage.size == BookSize::HalfPage)
                    vp.setOrientation(0);
            });
    }

  private:
    bool startDocument()
    {
        if (mPage.orientation == 1) {
            vp.setOrientation(1);
            if (vp.orientation() != 1) {
                platform::MsgBox(QStringLiteral("Unable to switch printer orientation to Landscape."));
                return false;
            }
        } else if (vp.orientation() == 1) {
            vp.setOrientation(0);
        }
        vp.setDocFlag34(true);
        vp.setDocSetting91(0);
        vp.setDocName(mPage.documentName);
        if (mPage.size == BookSize::HalfPage) {
            // Two 5.5 by 8.5 inch halves make a Letter sheet, whatever paper reports take.
            const QSizeF paper = vp.paperSize();
            vp.setPaperSize({platform::PrintDocument::LetterWidth, platform::PrintDocument::LetterHeight});
            const auto restore = qScopeGuard([&] { vp.setPaperSize(paper); });
            vp.setAction(PrintSurface::StartDoc);
        } else {
            vp.setAction(PrintSurface::StartDoc);
        }
        vp.setFontName(QStringLiteral("Arial"));
        vp.setFontSize(mPage.fontSize);
        mNoteFont = vp.font();
        mNoteFont.bold = false;
        mNoteFont.italic = false;
        mGuard->showBusy();
        if (vp.preview())
            frmPreview::instance().showModeless();
        gPrinting.gPageLineCount = 0;
        if (mPage.size == BookSize::FullSize) {
            vp.setMeasureText(QStringLiteral("X"));
            mCapacity = static_cast<int>(std::min<qint64>(
                FullSizeLinesHeight / std::max<qint64>(1, WholeNumber(vp.measuredHeight())), FullSizeMostLines));
        } else {
            mCapacity = HalfPageCapacity;
            toLeftHalf();
        }
        vp.setCurrentY(PageTop);
        return true;
    }

    void draw()
    {
        mGuard->markPosition(mRecords);
        vp.setCurrentX(mPage.dateX);
        vp.printLine(platform::shortDateText(platform::today()));
        ++gPrinting.gPageLineCount;
        printHeading();

        mRecords.moveFirst();
        const QString keyField = LetterKeyField(mListing.orderByClause);
        QString lastKey = letterKey(keyField);
        while (!mRecords.eof()) {
            const QString key = letterKey(keyField);
            if (mListing.pageBreakPerLetter && key != lastKey) {
                breakPage();
                lastKey = key;
            }
            const BookBlock block = BuildBookBlock(mRecords, mPage.size, mNoteFont);
            // A block longer than a page would leave an empty page before it: it starts
            // on the page it comes to when nothing else is printed there yet.
            if (mBlocksOnPage > 0 && !fits(block.reservation(mPage.size)))
                breakPage();
            printBlock(block);
            ++mBlocksOnPage;
            mRecords.moveNext();
            if (!mRecords.eof())
                mGuard->letEventsRun();
        }

        vp.setAction(PrintSurface::EndDoc);
        mGuard->endWalk();
    }

    bool fits(int reservation) const
    {
        if (mPage.size == BookSize::FullSize)
            return gPrinting.gPageLineCount + reservation <= mCapacity;
        return gPrinting.gPageLineCount + reservation < mCapacity;
    }

    // The first character as drawn, upper-cased and composed, as letters are compared: "a"
    // is "A", and a letter typed with its accent as a mark of its own is the one typed whole.
    // Marks that compose with nothing, such as the vowel points of Hebrew and Arabic, are
    // not part of the letter: a pointed letter is filed with the plain one.
    QString letterKey(const QString &keyField)
    {
        if (keyField.isEmpty())
            return QString();
        QString key = platform::leftCharacters(FieldText(mRecords, keyField), 1)
                          .toUpper()
                          .normalized(QString::NormalizationForm_C);
        const auto isMark = [](QChar c) { return platform::isCombiningMark(c.unicode()); };
        // A key that is nothing but marks keeps them: they are all it has to file by.
        if (!std::all_of(key.cbegin(), key.cend(), isMark))
            key.removeIf(isMark);
        return key;
    }

    void printHeading()
    {
        // The heading names a category, a field of its own.
        const QString heading = platform::isolatedLine(Trim(mListing.category));
        if (heading.isEmpty())
            return;
        vp.setFontBold(true);
        vp.setMeasureText(heading);
        if (mPage.size == BookSize::FullSize) {
            vp.setCurrentX(FullSizeCentre - WholeNumber(vp.measuredWidth()) / 2);
            vp.printLine(heading);
        } else {
            // Measured in the book's font, printed larger.
            const qint64 x = HalfPageCentre - WholeNumber(vp.measuredWidth()) / 2;
            vp.setCurrentX(x >= HalfPageHeadingLeftmost ? x : HalfPageHeadingLeftmost);
            vp.setFontSize(10);
            vp.printLine(heading);
            vp.setFontSize(mPage.fontSize);
        }
        vp.printLine(QStringLiteral(" "));
        gPrinting.gPageLineCount += 2;
    }

    void toLeftHalf()
    {
        mMargin = LeftHalfMargin;
        mRightColumn = LeftHalfRightColumn;
    }

    void breakPage()
    {
        vp.setCurrentY(PageTop);
        gPrinting.gPageLineCount = 0;
        mBlocksOnPage = 0;
        if (mPage.size == BookSize::HalfPage && mMargin == LeftHalfMargin && mWhich == 2) {
            mMargin = RightHalfMargin;
            mRightColumn = RightHalfRightColumn;
        } else {
            vp.setAction(PrintSurface::NewPage);
            if (mPage.size == BookSize::HalfPage)
                toLeftHalf();
        }
        vp.setCurrentY(PageTop);
    }

    // The right edge of the page, or of the half page the book is on.
    double pageEdge() const
    {
        if (mPage.size == BookSize::FullSize)
            return vp.document().pageSize().width();
        return mMargin == LeftHalfMargin ? HalfPageWidth : 2 * HalfPageWidth;
    }

    // The text as it fits between the current X and the first thing it would be drawn
    // over: the right column when that is filled on its row (besideFilled), else the
    // page's edge. A line with room prints whole; one cut there ends with "…".
    QString fitted(const QString &text, bool besideFilled = false) const
    {
        const double edge = besideFilled ? mRightColumn : pageEdge();
        return FittedText(text, vp.font(), edge - vp.currentX());
    }

    static bool filled(const QString &text) { return text > QStringLiteral(" "); }

    void endRow()
    {
        vp.printLine(QStringLiteral(" "));
        ++gPrinting.gPageLineCount;
    }

    // Items two to a row: odd slots in the left column, even slots in the right.
    void printPairs(const QStringList &items, int slotCount)
    {
        bool open = false;
        for (int i = 1; i <= slotCount; ++i) {
            vp.setCurrentX(mLeftColumn);
            const QString text = items.value(i - 1);
            if (!(text > QStringLiteral(" ")))
                continue;
            const bool even = i % 2 == 0;
            if (even)
                vp.setCurrentX(mRightColumn);
            vp.printNoLineEnd(fitted(text, !even && i < slotCount && filled(items.value(i))));
            open = true;
            if (even) {
                endRow();
                open = false;
            }
        }
        if (open)
            endRow();
    }

    void printBlock(const BookBlock &block)
    {
        vp.setCurrentX(mMargin);
        vp.setFontBold(true);
        vp.printLine(fitted(block.names[0]));
        ++gPrinting.gPageLineCount;
        if (IsNonBlank(block.names[1])) {
            vp.setCurrentX(mMargin);
            vp.printLine(fitted(block.names[1]));
            ++gPrinting.gPageLineCount;
        }
        vp.setFontBold(false);
        vp.setCurrentX(mMargin + ColumnIndent);
        mLeftColumn = vp.currentX();

        printPairs(block.phones, 6);
        for (std::size_t k = 0; k < block.labelAddress.size(); ++k) {
            bool open = false;
            if (block.labelAddress[k] > QStringLiteral(" ")) {
                vp.setCurrentX(mLeftColumn);
                vp.printNoLineEnd(fitted(block.labelAddress[k], filled(block.otherAddress[k])));
                open = true;
            }
            if (block.otherAddress[k] > QStringLiteral(" ")) {
                vp.setCurrentX(mRightColumn);
                vp.printNoLineEnd(fitted(block.otherAddress[k]));
                open = true;
            }
            if (open)
                endRow();
        }
        if (mPage.furtherPerRow == 2) {
            printPairs(block.further, 10);
        } else {
            printPairs(block.dates, 5);
            for (const QString &item : block.further) {
                vp.setCurrentX(mLeftColumn);
                if (item > QStringLiteral(" ")) {
                    vp.printLine(fitted(item));
                    ++gPrinting.gPageLineCount;
                }
            }
        }
        for (const QString &line : block.noteLines) {
            vp.setCurrentX(mLeftColumn);
            vp.printLine(line);
            ++gPrinting.gPageLineCount;
        }

        vp.setMeasureText(QStringLiteral("-"));
        const qint64 dashes = mPage.ruleLength / std::max<qint64>(1, WholeNumber(vp.measuredWidth()));
        vp.setCurrentX(mMargin);
        vp.printLine(QString(dashes, u'-'));
        ++gPrinting.gPageLineCount;
    }

    DisplayedRecords &mRecords;
    const BookListing &mListing;
    const BookPage &mPage;
    int mWhich;
    PrintSurface &vp;
    ReportRun *mGuard = nullptr;
    platform::PrintFont mNoteFont;
    int mCapacity = 0;
    int mBlocksOnPage = 0;
    double mMargin = LeftHalfMargin;
    double mRightColumn = FullSizeRightColumn;
    double mLeftColumn = LeftHalfMargin + ColumnIndent;
};

} // namespace

QString LetterKeyField(const QString &OrderByClause)
{
    if (OrderByClause.contains(QLatin1String("Organization")))
        return QStringLiteral("Organization");
    if (OrderByClause.contains(QLatin1String("LastName")))
        return QStringLiteral("LastName");
    return QString();
}

void PrintFullSizeAddressBook(DisplayedRecords &Records, const BookListing &Listing)
{
    AddressBookReport(Records, Listing, FullSizePage, 1).run();
}

void PrintHalfPageAddressBook(DisplayedRecords &Records, const BookListing &Listing, int Which)
{
    AddressBookReport(Records, Listing, HalfPage, Which).run();
}

void FullSizeAddressBook_Click(DisplayedRecords &Records, const BookListing &Listing, qint32 SelectedCount)
{
    ConfirmAndRunReport(Records, SelectedCount, [&] { PrintFullSizeAddressBook(Records, Listing); });
}

void HalfPageAddressBook_Click(DisplayedRecords &Records, const BookListing &Listing, qint32 SelectedCount)
{
    ConfirmAndRunReport(Records, SelectedCount, [&] { PrintHalfPageAddressBook(Records, Listing, 2); });
}

void HalfPageAddressBookLeftSide_Click(DisplayedRecords &Records, const BookListing &Listing,
                                       qint32 SelectedCount)
{
    ConfirmAndRunReport(Records, SelectedCount, [&] { PrintHalfPageAddressBook(Records, Listing, 1); });
}
