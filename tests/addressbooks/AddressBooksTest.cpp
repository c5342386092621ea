#include "addressbooks/AddressBooks.h"
#include "BookFixtures.h"
#include "printing/PreviewReportFixture.h"
#include "addressbooks/BookBlock.h"
#include "printing/GLOBAL.h"
#include "printing/PdfDestination.h"
#include "printing/PrintModeSwitch.h"
#include "printing/frmPreview.h"
#include "support/DialogScript.h"
#include "support/FixedMetricsScope.h"
#include "support/PrintedPages.h"
#include "support/Unprivileged.h"

#include "platform/base/Clock.h"
#include "platform/print/PrintOutput.h"
#include "platform/print/PrintSurface.h"
#include "platform/print/TextMetrics.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/MsgBox.h"

#include <QPageSize>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using testsupport::pageLines;
using testsupport::textAt;
using Lines = std::vector<std::string>;

const QString Rule97(97, u'-');

QVariantMap lastNameOnly(const QString &last)
{
    return {{"LastName", last}};
}

std::vector<QVariantMap> lastNames(const QStringList &names)
{
    std::vector<QVariantMap> rows;
    for (const QString &name : names)
        rows.push_back(lastNameOnly(name));
    return rows;
}

class AddressBooksTest : public PreviewReportTest {
  protected:


    // Names of the bold first lines of the blocks on a page.
    std::vector<std::string> namesOnPage(int page)
    {
        std::vector<std::string> names;
        for (const platform::PrintRun &run : testsupport::runsOnPage(document(), page)) {
            if (run.font.bold)
                names.push_back(run.text.toStdString());
        }
        return names;
    }

    // 10 pt: 100 twips a character, 200 a line; 8 pt: 80 and 160.
    testsupport::FixedMetricsScope metrics;
};

TEST_F(AddressBooksTest, FullSizeBlockOfALastNameIsABoldLineAndTheRule)
{
    MemoryRecords records = bookRecords({lastNameOnly("Lee")});
    PrintFullSizeAddressBook(records, {});
    EXPECT_EQ(document().name, "Full-size Address Book");
    EXPECT_EQ(document().orientation, 0);
    EXPECT_EQ(pageLines(document(), 1),
              (Lines{"(10080,720) 1/2/2020", "(1080,920) [b] Lee ", "(1080,1120) " + Rule97.toStdString()}));
    EXPECT_EQ(platform::mousePointer(), platform::MousePointer::Default);
}

TEST_F(AddressBooksTest, FullSizeBlockPutsPhonesAddressesAndFurtherItemsInTwoColumns)
{
    QVariantMap c{{"Prefix", "Dr."},
                  {"FirstName", "Ann"},
                  {"LastName", "Lee"},
                  {"Suffix", "Jr."},
                  {"Organization", "Acme"},
                  {"AddressForLabels", 2},
                  {"First_Address_Desc", "Home"},
                  {"First_Address1", "1 Main St"},
                  {"First_City", "Springfield"},
                  {"First_PostalCode", "62701"},
                  {"Second_Address_Desc", "Work"},
                  {"Second_Address1", "9 Mill Rd"},
                  {"Second_Address2", "Suite 4"},
                  {"Second_City", "Salem"},
                  {"Second_State", "OR"},
                  {"Second_PostalCode", "97301"},
                  {"Second_Country", "USA"},
                  {"Email_Address", "ann@example.com"},
                  {"Code", "Q"},
                  {"Date1", QDate(1970, 3, 4)},
                  {"Date1_Desc", "Birthday"}};
    for (int n = 1; n <= 5; ++n) {
        c[QStringLiteral("Phone%1").arg(n)] = QStringLiteral("555-010%1").arg(n);
        c[QStringLiteral("Phone%1_Desc").arg(n)] = QStringLiteral("P%1").arg(n);
    }
    MemoryRecords records = bookRecords({c});
    PrintFullSizeAddressBook(records, {});
    EXPECT_EQ(pageLines(document(), 1),
              (Lines{"(10080,720) 1/2/2020", "(1080,920) [b] Dr. Ann Lee Jr.", "(1080,1120) [b] Acme",
                     // Five phones: (1, 2), (3, 4), then 5 alone.
                     "(1440,1320) P1  555-0101", "(5940,1320) P2  555-0102", "(1440,1520) P3  555-0103",
                     "(5940,1520) P4  555-0104", "(1440,1720) P5  555-0105",
                     // The label address (the second set) on the left.
                     "(1440,1920) Work", "(5940,1920) Home", "(1440,2120) 9 Mill Rd", "(5940,2120) 1 Main St",
                     "(1440,2320) Suite 4", "(5940,2320) Springfield 62701", "(1440,2520) Salem, OR 97301",
                     "(1440,2720) USA",
                     // Dates first, then e-mail and code, two to a row.
                     "(1440,2920) Birthday  3/4/1970", "(5940,2920) Email Address  ann@example.com",
                     "(1440,3120) Codes  Q", "(1080,3320) " + Rule97.toStdString()}));
}

struct ReservationCase {
    const char *what;
    QVariantMap contact;
    int reservation;
    int printedLines; // without the rule
};

TEST_F(AddressBooksTest, FullSizeReservationCountsTheLinesABlockIsExpectedToTake)
{
    QVariantMap tenFurther{{"LastName", "Ten"}, {"Email_Address", "t@x"}, {"Code", "C"}};
    for (int n = 1; n <= 5; ++n)
        tenFurther[QStringLiteral("Date%1").arg(n)] = QDate(2000, 1, n);
    for (int n = 1; n <= 3; ++n)
        tenFurther[QStringLiteral("UserField%1").arg(n)] = QStringLiteral("u%1").arg(n);
    const ReservationCase cases[] = {
        {"last name only", {{"LastName", "Lee"}}, 2, 1},
        {"no name, no organisation", {}, 1, 1},
        {"organisation alone", {{"Organization", "Acme"}}, 1, 1},
        {"two phones take one row but reserve two",
         {{"LastName", "A"}, {"Phone1", "1"}, {"Phone2", "2"}},
         4,
         2},
        {"an address of its description alone", {{"LastName", "A"}, {"First_Address_Desc", "Home"}}, 3, 1},
        {"four against two address lines",
         {{"LastName", "A"},
          {"First_Address1", "a"},
          {"First_Address2", "b"},
          {"First_Address3", "c"},
          {"First_City", "d"},
          {"Second_Address1", "x"},
          {"Second_Country", "y"}},
         6,
         5},
        {"ten further items", tenFurther, 7, 6},
        {"notes that do not print", {{"LastName", "A"}, {"Notes", "hello"}, {"PrintNotes", 0}}, 2, 1},
        {"notes of 60 lines reserve the 45 that print",
         {{"LastName", "A"}, {"Notes", notesOfLines(60)}, {"PrintNotes", -1}},
         47,
         46},
    };
    for (const ReservationCase &c : cases) {
        SCOPED_TRACE(c.what);
        MemoryRecords records = bookRecords({c.contact});
        records.moveFirst();
        const BookBlock block = BuildBookBlock(records, BookSize::FullSize, platform::PrintFont{});
        EXPECT_EQ(block.reservation(BookSize::FullSize), c.reservation);
        PrintFullSizeAddressBook(records, {});
        // The page's line count holds the date line and the rule besides the block.
        EXPECT_EQ(gPrinting.gPageLineCount - 2, c.printedLines);
    }
}

TEST_F(AddressBooksTest, FullSizePageHoldsFiftyNineLinesThenABlockMovesWhole)
{
    // Date line, then 2-line blocks: 29 of them bring the count to 59.
    QStringList names;
    for (int i = 1; i <= 31; ++i)
        names << QStringLiteral("N%1").arg(i, 2, 10, QLatin1Char('0'));
    MemoryRecords records = bookRecords(lastNames(names));
    PrintFullSizeAddressBook(records, {});
    ASSERT_EQ(document().pageCount(), 2);
    EXPECT_EQ(namesOnPage(1).size(), 29u);
    EXPECT_EQ(namesOnPage(1).back(), "N29 ");
    EXPECT_EQ(textAt(document(), 2, 1080, 720), "N30 ");
    EXPECT_EQ(records.current(), 0u) << "the record current before is current after";
}

TEST_F(AddressBooksTest, LongNotesReserveTheFortyFiveLinesThatPrint)
{
    // 60 note lines reserve 47 lines: after ten short blocks (21 lines) the block moves
    // to the next page, and a short one still fits below it.
    QStringList names;
    for (int i = 1; i <= 10; ++i)
        names << QStringLiteral("N%1").arg(i);
    std::vector<QVariantMap> rows = lastNames(names);
    rows.push_back({{"LastName", "Long"}, {"Notes", notesOfLines(60)}, {"PrintNotes", -1}});
    rows.push_back(lastNameOnly("After"));
    MemoryRecords records = bookRecords(rows);
    PrintFullSizeAddressBook(records, {});
    ASSERT_EQ(document().pageCount(), 2);
    EXPECT_EQ(textAt(document(), 2, 1080, 720), "Long ");
    EXPECT_EQ(textAt(document(), 2, 1440, 920), "n001");
    EXPECT_NE(testsupport::findRun(document(), 2, "n045"), nullptr);
    EXPECT_EQ(testsupport::findRun(document(), 2, "n046"), nullptr) << "only 45 note lines print";
    EXPECT_EQ(namesOnPage(2), (std::vector<std::string>{"Long ", "After "}));
}

TEST_F(AddressBooksTest, BlockLongerThanAPageLeavesNoEmptyPageBeforeIt)
{
    // Every list full and 60 note lines: 2 + 6 + 3 + 5 + 45 = 61 lines reserved, more
    // than a page holds. It starts on the first page, under the date line.
    QVariantMap huge{{"LastName", "Huge"}, {"Organization", "Acme"}, {"Notes", notesOfLines(60)},
                     {"PrintNotes", -1},   {"Email_Address", "e"},   {"Code", "c"}};
    for (int n = 1; n <= 6; ++n)
        huge[QStringLiteral("Phone%1").arg(n)] = QStringLiteral("p%1").arg(n);
    for (const char *f : {"Address_Desc", "Address1", "Address2", "Address3", "City", "Country"})
        huge[QStringLiteral("First_") + QLatin1String(f)] = QLatin1String(f);
    for (int n = 1; n <= 5; ++n)
        huge[QStringLiteral("Date%1").arg(n)] = QDate(2000, 1, n);
    for (int n = 1; n <= 3; ++n)
        huge[QStringLiteral("UserField%1").arg(n)] = QStringLiteral("u%1").arg(n);
    MemoryRecords records = bookRecords({huge});
    records.moveFirst();
    EXPECT_EQ(BuildBookBlock(records, BookSize::FullSize, platform::PrintFont{}).reservation(BookSize::FullSize),
              61);
    PrintFullSizeAddressBook(records, {QString(), QStringLiteral(" Order By LastName"), true});
    EXPECT_EQ(textAt(document(), 1, 1080, 920), "Huge ");
}

struct LetterCase {
    const char *what;
    QString orderBy;
    bool breakPerLetter;
    std::vector<std::vector<std::string>> pages;
};

TEST_F(AddressBooksTest, LetterBreaksFollowTheSortField)
{
    std::vector<QVariantMap> rows{{{"LastName", ""}, {"Organization", "Zeta"}},
                                  {{"LastName", "adams"}, {"Organization", "Zulu"}},
                                  {{"LastName", "Allen"}, {"Organization", "acme"}},
                                  {{"LastName", "Baker"}, {"Organization", "Apex"}}};
    const QString byName = QStringLiteral(" Order By LastName, FirstName ");
    const QString byOrganization = QStringLiteral(" Order By Organization, LastName, FirstName");
    const LetterCase cases[] = {
        {"last name order",
         byName,
         true,
         {{"Zeta"}, {"adams ", "Zulu", "Allen ", "acme"}, {"Baker ", "Apex"}}},
        {"option off", byName, false, {{"Zeta", "adams ", "Zulu", "Allen ", "acme", "Baker ", "Apex"}}},
        {"first-name order",
         QStringLiteral(" Order By FirstName"),
         true,
         {{"Zeta", "adams ", "Zulu", "Allen ", "acme", "Baker ", "Apex"}}},
        {"organisation order", byOrganization, true, {{"Zeta", "adams ", "Zulu"}, {"Allen ", "acme", "Baker ", "Apex"}}},
    };
    for (const LetterCase &c : cases) {
        SCOPED_TRACE(c.what);
        MemoryRecords records = bookRecords(rows);
        PrintFullSizeAddressBook(records, {QString(), c.orderBy, c.breakPerLetter});
        ASSERT_EQ(document().pageCount(), static_cast<int>(c.pages.size()));
        for (std::size_t p = 0; p < c.pages.size(); ++p)
            EXPECT_EQ(namesOnPage(static_cast<int>(p) + 1), c.pages[p]) << "page " << p + 1;
        // Every page after a break starts at its top.
        for (int p = 2; p <= document().pageCount(); ++p)
            EXPECT_EQ(testsupport::runsOnPage(document(), p).front().y, 720);
    }
}

TEST_F(AddressBooksTest, CategoryIsACentredBoldHeadingOnTheFirstPage)
{
    MemoryRecords records = bookRecords({lastNameOnly("Lee")});
    PrintFullSizeAddressBook(records, {QStringLiteral("  Friends "), QString(), false});
    // "Friends" is 700 twips wide in 10 pt.
    EXPECT_EQ(pageLines(document(), 1),
              (Lines{"(10080,720) 1/2/2020", "(5590,920) [b] Friends", "(1080,1320) [b] Lee ",
                     "(1080,1520) " + Rule97.toStdString()}));
}

TEST_F(AddressBooksTest, HalfPageBookPrintsOnLandscapeSheetsInEightPoint)
{
    QVariantMap c{{"FirstName", "Ann"},
                  {"LastName", "Lee"},
                  {"Phone1", "555-0101"},
                  {"Phone1_Desc", "Home"},
                  {"First_Address1", "1 Main St"},
                  {"Second_Address1", "9 Mill Rd"},
                  {"Email_Address", "ann@example.com"},
                  {"UserField1", "blue"},
                  {"UserField1_Desc", "Colour"},
                  {"Date1", QDate(1970, 3, 4)},
                  {"Date1_Desc", "Birthday"},
                  {"Date2", QDate(2001, 5, 6)},
                  {"Date2_Desc", "Wedding"}};
    MemoryRecords records = bookRecords({c});
    PrintHalfPageAddressBook(records, {QStringLiteral("Friends"), QString(), false}, 2);
    EXPECT_EQ(document().name, "5-1/2 x 8-1/2 Address Book");
    EXPECT_EQ(document().orientation, 1);
    const std::string rule = QString(72, u'-').toStdString();
    // The heading is measured in 8 pt (560 twips) and printed in 10 pt.
    EXPECT_EQ(pageLines(document(), 1),
              (Lines{"(6120,720) Arial 8 1/2/2020", "(3320,880) [b] Friends", "(1080,1240) Arial 8 [b] Ann Lee ",
                     "(1440,1400) Arial 8 Home  555-0101", "(1440,1560) Arial 8 1 Main St",
                     "(4320,1560) Arial 8 9 Mill Rd", "(1440,1720) Arial 8 Birthday  3/4/1970",
                     "(4320,1720) Arial 8 Wedding  5/6/2001", "(1440,1880) Arial 8 Email ann@example.com",
                     "(1440,2040) Arial 8 Colour  blue", "(1080,2200) Arial 8 " + rule}));
}

TEST_F(AddressBooksTest, HalfPagesFollowEachOtherAsWhichSays)
{
    // Blocks of 27 lines (name, 25 note lines, rule; 27 reserved): no two share a half
    // page.
    std::vector<QVariantMap> rows;
    for (const char *name : {"A", "B", "C"})
        rows.push_back({{"LastName", name}, {"Notes", notesOfLines(25)}, {"PrintNotes", -1}});
    struct Case {
        int which;
        std::vector<std::pair<int, double>> blockStarts; // page, X of each name line
    } cases[] = {
        {2, {{1, 1080}, {1, 9000}, {2, 1080}}},
        {1, {{1, 1080}, {2, 1080}, {3, 1080}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.which);
        MemoryRecords records = bookRecords(rows);
        PrintHalfPageAddressBook(records, {}, c.which);
        std::vector<std::pair<int, double>> starts;
        for (int page = 1; page <= document().pageCount(); ++page) {
            for (const platform::PrintRun &run : testsupport::runsOnPage(document(), page)) {
                if (run.font.bold)
                    starts.emplace_back(page, run.x);
            }
        }
        EXPECT_EQ(starts, c.blockStarts);
        // A half page after the first starts at the top, its notes in its own left column.
        const int page = c.which == 2 ? 1 : 2;
        const double column = c.which == 2 ? 9360 : 1440;
        EXPECT_EQ(textAt(document(), page, column - 360, 720), "B ");
        EXPECT_EQ(textAt(document(), page, column, 880), "n001");
    }
}

TEST_F(AddressBooksTest, HalfPageCapacityIsFiftyThreeLines)
{
    // Date line plus 2-line blocks: the fit test breaks once count + 2 reaches 53, so
    // 25 blocks share the first half page.
    QStringList names;
    for (int i = 1; i <= 27; ++i)
        names << QStringLiteral("N%1").arg(i, 2, 10, QLatin1Char('0'));
    MemoryRecords records = bookRecords(lastNames(names));
    PrintHalfPageAddressBook(records, {}, 2);
    EXPECT_EQ(document().pageCount(), 1);
    EXPECT_EQ(testsupport::findRun(document(), 1, "N25 ")->x, 1080);
    EXPECT_EQ(testsupport::findRun(document(), 1, "N26 ")->x, 9000);
    EXPECT_EQ(testsupport::findRun(document(), 1, "N26 ")->y, 720);
}

TEST_F(AddressBooksTest, FailureShowsItsTextAndPutsTheCurrentRecordBack)
{
    // A record set without the notes fields fails on its first record.
    MemoryRecords records({"LastName", "FirstName"}, {lastNameOnly("Lee"), lastNameOnly("Moe")});
    records.setCurrent(1);
    DialogScript script;
    script.answerMessage(platform::vbOK);
    PrintHalfPageAddressBook(records, {}, 2);
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].text, "Item not found in this collection.");
    EXPECT_EQ(script.shown()[0].buttons, platform::vbOKOnly);
    EXPECT_EQ(records.current(), 1u);
    EXPECT_EQ(PreviewSurface().orientation(), 0) << "the half-page book leaves portrait after a failure";
    EXPECT_EQ(platform::mousePointer(), platform::MousePointer::Default);
}

TEST_F(AddressBooksTest, MenuEntriesAskFirstAndDrawNothingOnCancel)
{
    MemoryRecords records = bookRecords({lastNameOnly("Lee")});
    PrintFullSizeAddressBook(records, {});
    DialogScript script;
    script.answerMessage(platform::vbCancel).answerMessage(platform::vbCancel);
    HalfPageAddressBook_Click(records, {}, 0);
    HalfPageAddressBookLeftSide_Click(records, {}, 0);
    EXPECT_EQ(script.shown().size(), 2u);
    EXPECT_EQ(document().name, "Full-size Address Book") << "no document was started";
    script.answerMessage(platform::vbOK);
    FullSizeAddressBook_Click(records, {}, 0);
    EXPECT_EQ(document().pageCount(), 1);
    EXPECT_FALSE(PreviewSurface().documentOpen());
}

// On an A4 default printer the full-size book is laid out on A4, while the half-page book
// keeps the Letter sheet its two halves make; reports after it are on A4 again.
TEST_F(AddressBooksTest, OnAnA4PrinterTheHalfPageBookKeepsItsLetterSheet)
{
    UnloadPreview();
    platform::PrintOutput::setPrinterLookupForTesting([] { return QPrinterInfo(); },
                                                      [] { return QPageSize(QPageSize::A4); });
    PreviewSurface().setPreview(true);
    const QSizeF a4 = PreviewSurface().paperSize();
    EXPECT_NEAR(a4.width(), 11906, 1);
    const QSizeF letter(platform::PrintDocument::LetterWidth, platform::PrintDocument::LetterHeight);
    for (const bool half : {false, true, false}) {
        MemoryRecords records = bookRecords(lastNames({"Lee", "Moe"}));
        if (half)
            PrintHalfPageAddressBook(records, {}, 2);
        else
            PrintFullSizeAddressBook(records, {});
        EXPECT_EQ(document().paperSize, half ? letter : a4) << half;
        EXPECT_EQ(document().pageCount(), 1) << half;
    }
    platform::PrintOutput::setPrinterLookupForTesting({});
}

// With no printer the book goes to a PDF file; one in a folder that does not exist or may
// not be written is refused as soon as it is chosen, before a single contact is read.
TEST_F(AddressBooksTest, APdfFileInAMissingOrClosedFolderIsRefusedBeforeTheBookIsComposed)
{
    platform::PrintOutput::setPrinterLookupForTesting([] { return QPrinterInfo(); });
    InstallPdfDestination();
    PreviewSurface().setPreview(false);
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ExeGroup));
    for (const auto &[path, reason] :
         {std::pair{dir.filePath("missing/book.pdf"), "The folder does not exist."},
          std::pair{dir.filePath("book.pdf"), "The folder cannot be written to. Permission denied."}}) {
        const Unprivileged user;
        MemoryRecords records = bookRecords(lastNames({"Lee", "Moe"}));
        DialogScript script;
        script.answerSaveFile(path).answerMessage(platform::vbOK);
        PrintFullSizeAddressBook(records, {});
        EXPECT_EQ(script.shown(platform::DialogKind::Message).at(0).text,
                  "The document could not be written to \"" + path + "\". " + reason);
        EXPECT_TRUE(records.moves == 0 && document().pageCount() == 0)
            << "no contact was read, no page drawn";
    }
    platform::PrintOutput::setPrinterLookupForTesting({});
}

} // namespace

namespace {

// Vowel points are not part of a letter: pointed and plain surnames share their letter's
// page, in Hebrew and in Arabic, while different letters still part.
TEST_F(AddressBooksTest, PointedLettersShareThePageOfTheirLetter)
{
    for (const auto &[names, pages] :
         {std::pair{QStringList{"אבי", "אַבְרָהָם", "אלון", "אֶפְרַיִם", "בּנימין", "בני"}, 2},
          std::pair{QStringList{"عَبْدُ اللَّٰه", "علي", "عُمَر", "عمران", "حَسَن"}, 2}}) {
        MemoryRecords records = bookRecords(lastNames(names));
        PrintFullSizeAddressBook(records, {QString(), QStringLiteral(" Order By LastName"), true});
        EXPECT_EQ(document().pageCount(), pages) << names.join(u' ').toStdString();
    }
}

// A letter typed with its accent as a mark of its own starts no page of its own beside the
// same letter typed whole, in either case and in either order.
TEST_F(AddressBooksTest, LettersAreComparedComposed)
{
    const QString composed = QStringLiteral("\u00c9lan"), decomposed = QStringLiteral("E\u0301tienne"),
                  lower = QStringLiteral("e\u0301mile");
    MemoryRecords records = bookRecords(lastNames({composed, decomposed, lower, QStringLiteral("Eve"), composed}));
    PrintFullSizeAddressBook(records, {QString(), QStringLiteral(" Order By LastName"), true});
    ASSERT_EQ(document().pageCount(), 3);
    EXPECT_EQ(namesOnPage(1), (Lines{(composed + u' ').toStdString(), (decomposed + u' ').toStdString(),
                                     (lower + u' ').toStdString()}));
    EXPECT_EQ(namesOnPage(2), Lines{"Eve "});
}

// Both books, both columns: an item of the left column is cut at the right column only where
// that column is filled on its row, else at the page's or half page's edge like any other
// line; a cut line ends with "…" between whole characters, and items with room print whole.
TEST_F(AddressBooksTest, ItemsAreCutOnlyWhereTheyWouldRunOverAFilledColumnOrTheEdge)
{
    const QString email = QString(40, u'e') + "@example.com",
                  street = "1200 Pennsylvania Avenue Northwest, Suite 1500";
    QVariantMap c{{"LastName", QString(200, u'N')},
                  {"Phone1", QString(100, u'1')},
                  {"Phone1_Desc", "Home"},
                  {"Phone2", "555-0102"},
                  {"Phone2_Desc", QString(100, u'2')},
                  {"First_Address1", QString::fromUtf8("רחוב ").repeated(20)},
                  {"First_Address2", street},
                  {"Second_Address1", "9 Mill Rd"},
                  {"Email_Address", email}};
    const struct {
        bool fullSize;
        double leftColumn, rightColumn, edge;
        QString emailLine;
    } books[] = {{true, 1440, 5940, 12240, QStringLiteral("Email Address  ") + email},
                 {false, 1440, 4320, 7920, QStringLiteral("Email ") + email}};
    for (const auto &book : books) {
        SCOPED_TRACE(book.fullSize);
        MemoryRecords records = bookRecords({c});
        if (book.fullSize)
            PrintFullSizeAddressBook(records, {QString(), QString(), false});
        else
            PrintHalfPageAddressBook(records, {QString(), QString(), false}, 2);
        int cut = 0;
        for (const platform::PrintRun &run : testsupport::runsOnPage(document(), 1)) {
            const double right = run.x + platform::textMetrics().width(run.font, run.text);
            const bool cutHere = run.text.contains(QChar(platform::CutMark));
            EXPECT_LE(right, run.x == book.leftColumn && cutHere ? book.rightColumn : book.edge)
                << run.text.toStdString();
            cut += cutHere;
        }
        EXPECT_EQ(cut, 4) << "the name, both long phones and the street beside the other address";
        for (const QString &whole : {QStringLiteral("9 Mill Rd"), street, book.emailLine})
            EXPECT_NE(testsupport::findRun(document(), 1, whole), nullptr) << whole.toStdString();
    }
}

// A control character at a field's start or inside it (a pasted tab, a line separator...)
// prints as a blank in the field's own place: every item of the two-column rows stays put.
TEST_F(AddressBooksTest, ControlCharactersInAFieldPrintAsBlanksInItsPlace)
{
    for (const char16_t control : {u'\t', u'\v', u'\f', u'\x1F', u'\x01', u'\u2028', u'\u2029', u'\u0085'}) {
        const QString c(QChar{control});
        SCOPED_TRACE(int(control));
        const QVariantMap contact{{"LastName", "Lee"}, {"Phone1", "555-0101"}, {"Phone1_Desc", "Home"},
                                  {"Phone2", "555-0102"}, {"Phone2_Desc", c + "Work"}, {"Phone3", "555-0103"},
                                  {"First_Address1", c + "1 Main St"}, {"Second_Address1", "9 Mill" + c + "Rd"},
                                  {"Date1", QDate(2002, 4, 3)}, {"Date1_Desc", c + "Anniv"},
                                  {"Date2", QDate(2003, 1, 2)}, {"Date2_Desc", "Met"}};
        for (const bool full : {true, false}) {
            MemoryRecords records = bookRecords({contact});
            full ? PrintFullSizeAddressBook(records, {}) : PrintHalfPageAddressBook(records, {}, 2);
            const auto at = [&](bool right, int row) {
                return "(" + std::to_string(right ? (full ? 5940 : 4320) : 1440) + "," +
                       std::to_string(full ? 1120 + row * 200 : 1040 + row * 160) + ") " + (full ? "" : "Arial 8 ");
            };
            const Lines lines = pageLines(document(), 1);
            EXPECT_EQ(Lines(lines.begin() + 2, lines.end() - 1),
                      (Lines{at(false, 0) + "Home  555-0101", at(true, 0) + " Work  555-0102",
                             at(false, 1) + "  555-0103", at(false, 2) + " 1 Main St", at(true, 2) + "9 Mill Rd",
                             at(false, 3) + " Anniv  4/3/2002", at(true, 3) + "Met  1/2/2003"}));
        }
    }
}

} // namespace
