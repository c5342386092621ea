#include "addressbooks/BookletImposition.h"
#include "addressbooks/PocketPanels.h"
#include "BookFixtures.h"
#include "support/ExpectRuntimeError.h"
#include "support/FixedMetricsScope.h"

#include "platform/print/PrintSurface.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// A canvas in the pocket book's font: with fixed metrics every character of 8 pt is
// 80 twips wide and a line 160 high, so a panel holds 6324 / 160 = 40 lines.
class PocketPanelsTest : public ::testing::Test {
  protected:
    PocketPanelsTest()
    {
        canvas.setFontName(QStringLiteral("Arial"));
        canvas.setFontSize(8);
    }

    QStringList linesOf(const QVariantMap &contact, bool lastNameFirst = false, bool first = false,
                        const QString &caption = QString())
    {
        MemoryRecords records = bookRecords({contact});
        records.moveFirst();
        return PocketContactLines(records, PocketLayout(canvas, lastNameFirst), first, caption);
    }

    // The panel's lines, record by record.
    static QStringList panel(const PocketPanels &panels, int p)
    {
        QStringList lines;
        for (int line = 0; line < panels.depth(); ++line)
            lines << panels.record(qint64(panels.depth()) * (p - 1) + 1 + line);
        return lines;
    }

    testsupport::FixedMetricsScope metrics;
    platform::PrintSurface canvas;
};

const QString Separator(54, u'-'); // 4320 / 80

TEST_F(PocketPanelsTest, DepthIsTheRoundedShareOfThePanelHeight)
{
    EXPECT_EQ(PocketPanelDepth(160), 40); // 39.525
    EXPECT_EQ(PocketPanelDepth(184), 34);
    EXPECT_EQ(PocketPanelDepth(6324.0 / 40.5), 40) << "a half goes to the even neighbour";
    EXPECT_RUNTIME_ERROR(PocketPanelDepth(0.1), 6);
    EXPECT_RUNTIME_ERROR(PocketPanelDepth(5000), 6); // one line: no room beside the number
}

TEST_F(PocketPanelsTest, FirstContactBringsTheCentredCaptionAndABlankLine)
{
    const QStringList lines = linesOf({{"FirstName", "Ann"}, {"LastName", "Lee"}}, false, true, "Friends");
    // "Friends" is 560 twips: (4320 - 560) \ 2 = 1880 twips, 23 blanks.
    EXPECT_EQ(lines, (QStringList{QString(23, u' ') + "Friends", "", "Ann Lee ", Separator}));
    // A caption wider than the panel starts at its left edge.
    EXPECT_EQ(PocketCaptionLine(PocketLayout(canvas, false), QString(60, u'C')), QString(60, u'C'));
}

TEST_F(PocketPanelsTest, ContactLinesComeInTheirOrder)
{
    const QVariantMap c{{"Prefix", "Dr."},
                        {"FirstName", "Ann"},
                        {"LastName", "Lee"},
                        {"Organization", "Acme  "},
                        {"Phone1", "555-0100"},
                        {"Phone1_Desc", "Home phone"},
                        {"Phone2", "555-0199"},
                        {"Phone2_Desc", "Work"},
                        {"Phone6", "555-0606"},
                        {"Phone6_Desc", "Cell"},
                        {"AddressForLabels", 2},
                        {"First_Address_Desc", "Home"},
                        {"First_Address1", "1 Main St"},
                        {"First_Address3", "Apt 2"},
                        {"First_City", "Springfield"},
                        {"First_State", "IL"},
                        {"First_PostalCode", "62701"},
                        {"Second_State", "OR"},
                        {"Second_Country", "USA"},
                        {"Email_Address", "ann@example.com"},
                        {"Notes", "  Call after six  "},
                        {"PrintNotes", -1}};
    // "(Home) 555-0100" is 15 characters, 1200 twips: 960 twips to the middle, 12 blanks.
    // Both address sets print, first then second, whatever the labels use.
    EXPECT_EQ(linesOf(c), (QStringList{"Dr. Ann Lee ", "Acme", "(Home) 555-0100" + QString(12, u' ') + "(Work) 555-0199",
                                       "(Cell) 555-0606", "1 Main St", "Apt 2", "Springfield, IL 62701", "OR ",
                                       "USA", "E-mail: ann@example.com", "Call after six", Separator}));
}

TEST_F(PocketPanelsTest, PhonePairsKeepAtLeastOneBlankBetweenThePhones)
{
    const PocketLayout layout(canvas, false);
    struct Case {
        const char *phone1;
        int blanks;
    } cases[] = {
        {"555-0100", 12},                  // 15 characters
        {"12345678901234567890", 1},       // 27 characters: exactly at the middle
        {"1234567890123456789", 1},        // 26: 80 twips short, one blank
        {"123456789012345678901234", 1},   // past the middle
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.phone1);
        const QString line = PocketPhonePair(layout, "Home", c.phone1, "Work", "555-0199");
        EXPECT_EQ(line, QStringLiteral("(Home) ") + c.phone1 + QString(c.blanks, u' ') + "(Work) 555-0199");
    }
    // Only the second phone: it starts the line; only the first: its label and phone.
    EXPECT_EQ(PocketPhonePair(layout, "Home", "", "Work", "555-0199"), "(Work) 555-0199");
    EXPECT_EQ(PocketPhonePair(layout, "Home", "555-0100", "Work", " ").trimmed(), "(Home) 555-0100");
}

TEST_F(PocketPanelsTest, NameLineInEitherForm)
{
    struct Case {
        QVariantMap contact;
        const char *lastFirst;
        const char *plain;
    } cases[] = {
        {{{"Prefix", "Dr."}, {"FirstName", "Ann"}, {"MiddleName", "B"}, {"LastName", "Lee"}, {"Suffix", " Jr. "}},
         "Lee Jr., Ann B",
         "Dr. Ann B Lee  Jr."},
        {{{"FirstName", "Ann"}, {"LastName", "Lee"}}, "Lee, Ann ", "Ann Lee "},
        {{{"LastName", "Lee"}, {"Suffix", "Jr."}}, "Lee ", "Lee Jr."},
        {{{"FirstName", "Ann"}}, "Ann ", "Ann  "},
        {{{"MiddleName", "B"}, {"LastName", "Lee"}}, "Lee,  B", "B Lee "},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.plain);
        MemoryRecords records = bookRecords({c.contact});
        records.moveFirst();
        EXPECT_EQ(PocketNameLine(records, true), c.lastFirst);
        EXPECT_EQ(PocketNameLine(records, false), c.plain);
    }
}

TEST_F(PocketPanelsTest, NotesStopAfterTwentyLines)
{
    const QStringList lines = linesOf({{"LastName", "Lee"}, {"Notes", notesOfLines(30)}, {"PrintNotes", -1}});
    ASSERT_EQ(lines.size(), 22);
    EXPECT_EQ(lines[1], "n001");
    EXPECT_EQ(lines[20], "n020");
    EXPECT_EQ(lines[21], Separator);
    EXPECT_EQ(linesOf({{"LastName", "Lee"}, {"Notes", "x"}, {"PrintNotes", 0}}).size(), 2);
}

TEST_F(PocketPanelsTest, OneShortContactMakesFourPanels)
{
    MemoryRecords records = bookRecords({{{"FirstName", "Ann"}, {"LastName", "Lee"}}});
    const PocketPanels panels = LayOutPocketPanels(records, PocketLayout(canvas, false), 40, "Friends");
    ASSERT_EQ(panels.panelCount(), 4);
    EXPECT_EQ(panels.recordCount(), 160);
    const QStringList first = panel(panels, 1);
    EXPECT_EQ(first.mid(0, 4), (QStringList{QString(23, u' ') + "Friends", "", "Ann Lee", Separator}));
    EXPECT_EQ(first.mid(4, 35), QStringList(35, QString()));
    for (int p = 1; p <= 4; ++p)
        EXPECT_EQ(panel(panels, p).last(), QString(49, u' ') + QString::number(p));
    EXPECT_EQ(panel(panels, 2).mid(0, 39), QStringList(39, QString()));
}

TEST_F(PocketPanelsTest, ContactThatDoesNotFitStartsTheNextPanel)
{
    // Depth 10: 9 lines for contacts. The first contact takes 4 (caption, blank, name,
    // separator), the second 5 more would make 9, the third does not fit then.
    std::vector<QVariantMap> rows{{{"LastName", "A"}},
                                  {{"LastName", "B"}, {"First_Address1", "1"}, {"First_Address2", "2"},
                                   {"First_Address3", "3"}},
                                  {{"LastName", "C"}}};
    MemoryRecords records = bookRecords(rows);
    const PocketPanels panels = LayOutPocketPanels(records, PocketLayout(canvas, false), 10, QString());
    EXPECT_EQ(panel(panels, 1), (QStringList{"", "", "A", Separator, "B", "1", "2", "3", Separator,
                                             PocketPanels::numberLine(1)}));
    EXPECT_EQ(panel(panels, 2).mid(0, 2), (QStringList{"C", Separator}));
    EXPECT_EQ(panels.panelCount(), 4);
}

TEST_F(PocketPanelsTest, ContactLongerThanAPanelGoesOnOnTheNext)
{
    // 20 note lines, name and separator: 22 lines, in panels of 10 (9 for contacts).
    std::vector<QVariantMap> rows{{{"LastName", "A"}},
                                  {{"LastName", "Long"}, {"Notes", notesOfLines(20)}, {"PrintNotes", -1}},
                                  {{"LastName", "Z"}}};
    MemoryRecords records = bookRecords(rows);
    const PocketPanels panels = LayOutPocketPanels(records, PocketLayout(canvas, false), 10, QString());
    // Panel 1 keeps the first contact and is closed; the long one fills panels 2 and 3
    // and ends in panel 4, where the next contact follows it.
    EXPECT_EQ(panel(panels, 1).mid(0, 5), (QStringList{"", "", "A", Separator, ""}));
    EXPECT_EQ(panel(panels, 2).first(), "Long");
    EXPECT_EQ(panel(panels, 2)[8], "n008");
    EXPECT_EQ(panel(panels, 3).first(), "n009");
    EXPECT_EQ(panel(panels, 4).mid(0, 6), (QStringList{"n018", "n019", "n020", Separator, "Z", Separator}));
    ASSERT_EQ(panels.panelCount(), 4);
    EXPECT_EQ(panels.recordCount(), 40);
    for (int p = 1; p <= 4; ++p)
        EXPECT_EQ(panel(panels, p).last(), PocketPanels::numberLine(p)) << "panel " << p;
}

TEST_F(PocketPanelsTest, RecordsAreCutToTheirLength)
{
    MemoryRecords records = bookRecords({{{"LastName", QString(150, u'L')}}});
    const PocketPanels panels = LayOutPocketPanels(records, PocketLayout(canvas, false), 40, QString());
    EXPECT_EQ(panels.record(3), QString(101, u'L'));
}

TEST(BookletImpositionTest, KnownSheets)
{
    EXPECT_EQ(ImposeBooklet(4).side1, (std::vector<PanelRow>{{4, 1}}));
    EXPECT_EQ(ImposeBooklet(4).side2, (std::vector<PanelRow>{{2, 3}}));
    EXPECT_EQ(ImposeBooklet(8).side1, (std::vector<PanelRow>{{8, 1}, {6, 3}}));
    EXPECT_EQ(ImposeBooklet(8).side2, (std::vector<PanelRow>{{2, 7}, {4, 5}}));
    EXPECT_EQ(ImposeBooklet(12).side1, (std::vector<PanelRow>{{12, 1}, {10, 3}, {8, 5}}));
    EXPECT_EQ(ImposeBooklet(12).side2, (std::vector<PanelRow>{{2, 11}, {4, 9}, {6, 7}}));
    EXPECT_TRUE(ImposeBooklet(0).side1.empty());
}

TEST(BookletImpositionTest, FoldedRowsGiveEveryPanelOnceInPageOrder)
{
    for (int p = 4; p <= 48; p += 4) {
        SCOPED_TRACE(p);
        const BookletImposition booklet = ImposeBooklet(p);
        ASSERT_EQ(booklet.side1.size(), std::size_t(p / 4));
        ASSERT_EQ(booklet.side2.size(), std::size_t(p / 4));
        std::set<int> seen;
        for (std::size_t r = 0; r < booklet.side1.size(); ++r) {
            // A row cut from the sheet and folded: its side 1 and side 2 hold four
            // panels that are consecutive pairs from either end of the book.
            const PanelRow front = booklet.side1[r];
            const PanelRow back = booklet.side2[r];
            EXPECT_EQ(front.right + 1, back.left);
            EXPECT_EQ(back.right + 1, front.left);
            EXPECT_EQ(front.left + front.right, p + 1) << "outer pages of one fold";
            EXPECT_EQ(front.right, 2 * int(r) + 1) << "the first row outermost";
            seen.insert({front.left, front.right, back.left, back.right});
        }
        EXPECT_EQ(seen.size(), std::size_t(p));
        EXPECT_EQ(*seen.begin(), 1);
        EXPECT_EQ(*seen.rbegin(), p);
    }
}

} // namespace
