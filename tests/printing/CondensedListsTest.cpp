#include "printing/CondensedLists.h"
#include "MemoryRecords.h"
#include "printing/PreviewReportFixture.h"
#include "printing/GLOBAL.h"
#include "printing/PrintModeSwitch.h"
#include "printing/ReportRun.h"
#include "printing/frmPreview.h"
#include "support/DialogScript.h"
#include "support/FixedMetricsScope.h"
#include "support/PrintedPages.h"

#include "platform/base/Clock.h"
#include "platform/print/PreviewWidget.h"
#include "platform/print/PrintOutput.h"
#include "platform/print/PrintSurface.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/MsgBox.h"

#include <QFile>
#include <QLabel>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using platform::PrintSurface;
using testsupport::pageLines;
using Lines = std::vector<std::string>;

QVariantMap lee()
{
    return {{"Prefix", "Dr."},
            {"FirstName", "Ann"},
            {"LastName", "Lee"},
            {"Organization", "Acme"},
            {"AddressForLabels", 1},
            {"First_Address_Desc", "Home"},
            {"First_Address1", "1 Main St"},
            {"First_City", "Springfield"},
            {"First_State", "IL"},
            {"First_PostalCode", "62701"},
            {"Email_Address", "ann@example.com"},
            {"Phone1", "555-0100"},
            {"Phone1_Desc", "Work"},
            {"Phone2", "555-0199"}};
}

class CondensedListsTest : public PreviewReportTest {
  protected:
    void TearDown() override
    {
        PreviewReportTest::TearDown();
        platform::PrintOutput::setPrinterLookupForTesting(nullptr);
    }


    // 8 pt: every character 80 twips wide, every line 160 high.
    testsupport::FixedMetricsScope metrics;
};

TEST_F(CondensedListsTest, TwoLineListPrintsDateNameAndLabelledRest)
{
    MemoryRecords records(testsupport::printedContactFields(), {lee()});
    PrintCondensedList(records, QString());
    EXPECT_EQ(document().name, "Condensed List");
    EXPECT_EQ(document().pageCount(), 1);
    EXPECT_FALSE(PreviewSurface().documentOpen());
    EXPECT_EQ(
        pageLines(document(), 1),
        (Lines{
            "(10080,720) Arial 8 1/2/2020", "(1080,880) Arial 8 [b]   Dr. Ann Lee  Acme  ",
            "(1440,1040) Arial 8 Work: 555-0100  : 555-0199    Home: 1 Main St  Springfield, IL 62701      "
            "Email:ann@example.com"}));
}

TEST_F(CondensedListsTest, OneLineListContinuesTheNameLineWithTheRest)
{
    MemoryRecords records(testsupport::printedContactFields(), {lee(), {{"LastName", "Moe"}}});
    PrintCondensedOneLine(records, QString());
    EXPECT_EQ(document().name, "Condensed 1-Line");
    // "Dr. Ann Lee  Acme" is 17 characters: the rest starts 100 twips after 720 + 1360.
    EXPECT_EQ(pageLines(document(), 1),
              (Lines{"(10080,720) Arial 8 1/2/2020", "(720,880) Arial 8 [b] [i] Dr. Ann Lee  Acme",
                     "(2180,880) Arial 8 Work: 555-0100  : 555-0199    1 Main St  Springfield, IL 62701",
                     "(720,1040) Arial 8 [b] [i] Moe"}));
}

TEST_F(CondensedListsTest, CategoryIsACentredHeadingOnTheFirstPageOnly)
{
    MemoryRecords records(testsupport::printedContactFields(), numberedContacts(50));
    PrintCondensedList(records, QStringLiteral("  Friends "));
    // "Friends" is 560 twips wide: centred on 5940, then a blank line before the first name.
    const Lines first = pageLines(document(), 1);
    ASSERT_GE(first.size(), 3u);
    EXPECT_EQ(first[0], "(10080,720) Arial 8 1/2/2020");
    EXPECT_EQ(first[1], "(5660,880) Arial 8 [b] Friends");
    EXPECT_EQ(first[2], "(1080,1200) Arial 8 [b]   Name001    ");
    // 3 lines counted, two per record: the page holds 40 records; the 41st opens page 2.
    EXPECT_EQ(first.back(), "(1440,13840) Arial 8 Home: 555-0040");
    EXPECT_EQ(pageLines(document(), 2)[0], "(1080,720) Arial 8 [b]   Name041    ");
    EXPECT_EQ(testsupport::findRun(document(), 2, "Friends"), nullptr);
    EXPECT_EQ(testsupport::findRun(document(), 2, "1/2/2020"), nullptr);
}

TEST_F(CondensedListsTest, TwoLineListBreaksOnceTheCountPassesTheCapacity)
{
    // 13248 / 160 = 82.8 lines; without a heading the first page holds 41 two-line records,
    // the next ones, without the date, 42.
    MemoryRecords records(testsupport::printedContactFields(), numberedContacts(90));
    PrintCondensedList(records, QString());
    ASSERT_EQ(document().pageCount(), 3);
    const Lines first = pageLines(document(), 1);
    EXPECT_EQ(first.size(), 1u + 2 * 41);
    EXPECT_EQ(first[first.size() - 2], "(1080,13680) Arial 8 [b]   Name041    ");
    EXPECT_EQ(first.back(), "(1440,13840) Arial 8 Home: 555-0041");
    const Lines second = pageLines(document(), 2);
    EXPECT_EQ(second.front(), "(1080,720) Arial 8 [b]   Name042    ");
    EXPECT_EQ(second.size(), 2u * 42);
    EXPECT_EQ(pageLines(document(), 3).front(), "(1080,720) Arial 8 [b]   Name084    ");
    EXPECT_EQ(pageLines(document(), 3).size(), 2u * 7);
}

TEST_F(CondensedListsTest, OneLineListBreaksWhenTheCountReachesTheRoundedCapacity)
{
    // 13968 / 160 = 87.3, rounded 87: the date and 86 one-line records fill the first page.
    MemoryRecords records(testsupport::printedContactFields(), numberedContacts(100));
    PrintCondensedOneLine(records, QString());
    ASSERT_EQ(document().pageCount(), 2);
    const Lines first = pageLines(document(), 1);
    EXPECT_EQ(first.size(), 1u + 2 * 86);
    EXPECT_EQ(first[first.size() - 2], "(720,14480) Arial 8 [b] [i] Name086");
    EXPECT_EQ(pageLines(document(), 2).front(), "(720,720) Arial 8 [b] [i] Name087");

    // A heading takes two of those lines.
    MemoryRecords again(testsupport::printedContactFields(), numberedContacts(100));
    PrintCondensedOneLine(again, QStringLiteral("Family"));
    EXPECT_EQ(pageLines(document(), 1)[1], "(5700,880) Arial 8 [b] [i] Family");
    EXPECT_EQ(pageLines(document(), 2).front(), "(720,720) Arial 8 [b] [i] Name085");
}

TEST_F(CondensedListsTest, ARecordStartedBeforeTheBreakIsPrintedWhole)
{
    std::vector<QVariantMap> rows = numberedContacts(41);
    QVariantMap longRest = numberedContact(42);
    longRest["First_Address1"] = QString(200, QLatin1Char('x'));
    rows.push_back(longRest);
    rows.push_back(numberedContact(43));
    // Record 41 starts at count 81, under the capacity: all its lines go on page 1.
    std::swap(rows[40], rows[41]);
    MemoryRecords records(testsupport::printedContactFields(), rows);
    PrintCondensedList(records, QString());
    ASSERT_EQ(document().pageCount(), 2);
    const Lines first = pageLines(document(), 1);
    // Its rest: the phone and the label, then 200 characters without a break, cut just
    // after the first that does not fit.
    EXPECT_EQ(first[first.size() - 4], "(1080,13680) Arial 8 [b]   Name042    ");
    EXPECT_EQ(first[first.size() - 3], "(1440,13840) Arial 8 Home: 555-0042    :");
    EXPECT_EQ(first[first.size() - 2], "(1440,14000) Arial 8 " + std::string(118, 'x'));
    EXPECT_EQ(first.back(), "(1440,14160) Arial 8 " + std::string(82, 'x'));
    EXPECT_EQ(pageLines(document(), 2).front(), "(1080,720) Arial 8 [b]   Name041    ");
}

// Words of eight letters, one blank apart.
std::string words(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += (i ? " " : "") + std::string("abcdefgh");
    return text;
}

TEST_F(CondensedListsTest, LongRestsWrapOnIndentedLines)
{
    const QVariantMap contact{{"LastName", "Lee"},
                              {"Phone1", "555-0100"},
                              {"Phone1_Desc", "Home"},
                              {"First_Address1", QString::fromStdString(words(30))}};
    MemoryRecords oneLine(testsupport::printedContactFields(), {contact});
    PrintCondensedOneLine(oneLine, QString());
    // The name ends at 960: the first piece holds up to 9940 twips (124 characters), the
    // others 10800 (135).
    EXPECT_EQ(pageLines(document(), 1),
              (Lines{"(10080,720) Arial 8 1/2/2020", "(720,880) Arial 8 [b] [i] Lee",
                     "(1060,880) Arial 8 Home: 555-0100    " + words(11), "(1080,1040) Arial 8 " + words(15),
                     "(1080,1200) Arial 8 " + words(4)}));

    MemoryRecords twoLine(testsupport::printedContactFields(), {contact});
    PrintCondensedList(twoLine, QString());
    // Every piece holds up to 9360 twips (117 characters); the address carries its label,
    // here empty.
    EXPECT_EQ(pageLines(document(), 1),
              (Lines{"(10080,720) Arial 8 1/2/2020", "(1080,880) Arial 8 [b]   Lee    ",
                     "(1440,1040) Arial 8 Home: 555-0100    : " + words(10),
                     "(1440,1200) Arial 8 " + words(13), "(1440,1360) Arial 8 " + words(7)}));
}

TEST_F(CondensedListsTest, NameOnlyRecordsTakeOneLineAndTheNextFollowsDirectly)
{
    MemoryRecords oneLine(testsupport::printedContactFields(), {{{"LastName", "Lee"}}, {{"Organization", "Acme"}}});
    PrintCondensedOneLine(oneLine, QString());
    EXPECT_EQ(pageLines(document(), 1),
              (Lines{"(10080,720) Arial 8 1/2/2020", "(720,880) Arial 8 [b] [i] Lee",
                     "(720,1040) Arial 8 [b] [i] Acme"}));
    MemoryRecords twoLine(testsupport::printedContactFields(), {{{"LastName", "Lee"}}, {{"Organization", "Acme"}}});
    PrintCondensedList(twoLine, QString());
    // The organisation alone stands after the blank that comes before the suffix.
    EXPECT_EQ(pageLines(document(), 1),
              (Lines{"(10080,720) Arial 8 1/2/2020", "(1080,880) Arial 8 [b]   Lee    ",
                     "(1080,1040) Arial 8 [b]   Acme  "}));
}

TEST_F(CondensedListsTest, AddressSetAndCityPartsFollowTheContact)
{
    QVariantMap second{{"LastName", "Two"},
                       {"AddressForLabels", 2},
                       {"First_City", "Wrong"},
                       {"Second_Address_Desc", "Work"},
                       {"Second_City", "Springfield"},
                       {"Second_PostalCode", "62701"},
                       {"Second_Country", "USA"}};
    QVariantMap first{{"LastName", "One"},
                      {"AddressForLabels", 0},
                      {"First_City", "Boston"},
                      {"First_State", "MA"},
                      {"Second_City", "Wrong"}};
    QVariantMap noChoice{{"LastName", "Three"}, {"First_City", "Salem"}};
    MemoryRecords records(testsupport::printedContactFields(), {second, first, noChoice});
    PrintCondensedList(records, QString());
    const Lines lines = pageLines(document(), 1);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[2], "(1440,1040) Arial 8   Work: Springfield 62701  USA");
    EXPECT_EQ(lines[4], "(1440,1360) Arial 8   : Boston, MA");
    EXPECT_EQ(lines[6], "(1440,1680) Arial 8   : Salem");
}

TEST_F(CondensedListsTest, WalkPutsTheCurrentRecordBack)
{
    MemoryRecords records(testsupport::printedContactFields(), numberedContacts(5));
    records.setCurrent(3);
    PrintCondensedList(records, QString());
    EXPECT_EQ(records.current(), 3u);
    EXPECT_EQ(records.moves, 5);
    EXPECT_EQ(platform::mousePointer(), platform::MousePointer::Default);
    EXPECT_FALSE(ReportRun::running());
}

TEST_F(CondensedListsTest, ErrorStopsTheWalkShowsItsTextAndPutsTheRecordBack)
{
    // Records without the e-mail column: the two-line list fails on its first record.
    QStringList fields = testsupport::printedContactFields();
    fields.removeAll("Email_Address");
    MemoryRecords records(fields, numberedContacts(3));
    records.setCurrent(2);
    DialogScript script;
    script.answerMessage(platform::vbOK);
    PrintCondensedList(records, QStringLiteral("Friends"));
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].text, "Item not found in this collection.");
    EXPECT_EQ(script.shown()[0].buttons, platform::vbOKOnly);
    EXPECT_EQ(script.shown()[0].icon, 0);
    EXPECT_EQ(records.current(), 2u);
    EXPECT_EQ(platform::mousePointer(), platform::MousePointer::Default);
    // The document stays as far as it was drawn, not ended.
    EXPECT_TRUE(PreviewSurface().documentOpen());
    EXPECT_EQ(pageLines(document(), 1).size(), 2u);
    EXPECT_FALSE(ReportRun::running());
}

TEST_F(CondensedListsTest, WindowEventsRunBetweenRecords)
{
    MemoryRecords records(testsupport::printedContactFields(), numberedContacts(5));
    std::size_t seenAt = 99;
    QTimer::singleShot(0, [&] { seenAt = records.current(); });
    ReportRun::setEventIntervalForTesting(0);
    PrintCondensedList(records, QString());
    ReportRun::setEventIntervalForTesting(20);
    // After the first record, not only once the walk was over.
    EXPECT_EQ(seenAt, 1u);
}

TEST_F(CondensedListsTest, LandscapeIsTurnedToPortraitAndPreviewOpensFirst)
{
    PreviewSurface().setOrientation(1);
    MemoryRecords records(testsupport::printedContactFields(), numberedContacts(2));
    PrintCondensedOneLine(records, QString());
    EXPECT_EQ(document().orientation, 0);
    EXPECT_EQ(PreviewSurface().orientation(), 0);
    EXPECT_TRUE(frmPreview::instance().isVisible());
    EXPECT_EQ(frmPreview::instance().vp->findChild<QLabel *>("pageCounter")->text(), "1/1");
}

TEST_F(CondensedListsTest, ASecondReportWhileOneRunsDoesNothing)
{
    MemoryRecords records(testsupport::printedContactFields(), numberedContacts(2));
    ReportRun running;
    PrintCondensedList(records, QString());
    EXPECT_EQ(document().pageCount(), 0);
    // The menu entry does not even ask.
    DialogScript script;
    CondensedList_Click(records, QString(), 0);
    EXPECT_TRUE(script.shown().empty());
}

TEST_F(CondensedListsTest, MenuEntriesAskFirstAndDrawOnlyOnOk)
{
    MemoryRecords records(testsupport::printedContactFields(), numberedContacts(2));
    {
        DialogScript script;
        script.answerMessage(platform::vbCancel);
        CondensedList_Click(records, QString(), 0);
        EXPECT_EQ(document().pageCount(), 0);
    }
    {
        DialogScript script;
        script.answerMessage(platform::vbOK);
        Condensed1LineMenu_Click(records, QString(), 1);
        ASSERT_EQ(script.shown().size(), 1u);
        EXPECT_TRUE(script.shown()[0].text.startsWith(
            "All displayed records will be printed or previewed, not just the 1 "));
        EXPECT_EQ(document().name, "Condensed 1-Line");
    }
    MemoryRecords none(testsupport::printedContactFields(), {});
    DialogScript script;
    script.answerMessage(platform::vbOK);
    CondensedList_Click(none, QString(), 0);
    EXPECT_EQ(script.shown()[0].title, "No records to print");
    EXPECT_EQ(document().name, "Condensed 1-Line");
}

TEST_F(CondensedListsTest, CancelWhereToSaveBeforeAnyRecordIsWalked)
{
    platform::PrintOutput::setPrinterLookupForTesting([] { return QPrinterInfo(); });
    PreviewSurface().setPreview(false);
    MemoryRecords records(testsupport::printedContactFields(), numberedContacts(40));
    records.setCurrent(3);
    DialogScript script;
    script.answerMessage(platform::vbOK).cancelFile();
    CondensedList_Click(records, QString(), 0);
    // Asked at once, after the confirmation, and nothing laid out for nothing.
    ASSERT_EQ(script.shown().size(), 2u);
    EXPECT_EQ(script.shown()[1].kind, platform::DialogKind::SaveFile);
    EXPECT_EQ(records.moves, 0);
    EXPECT_EQ(records.current(), 3u);
    EXPECT_EQ(document().pageCount(), 0);
    EXPECT_FALSE(ReportRun::running());
    EXPECT_EQ(platform::mousePointer(), platform::MousePointer::Default);
}

TEST_F(CondensedListsTest, ClosingThePreviewStopsTheRunAtTheNextRecord)
{
    for (const bool titleBar : {false, true}) {
        SCOPED_TRACE(titleBar ? "title bar" : "Close button");
        MemoryRecords records(testsupport::printedContactFields(), numberedContacts(200));
        records.setCurrent(7);
        ReportRun::setEventIntervalForTesting(0);
        int movesAtClose = -1;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (records.moves < 30 || movesAtClose >= 0)
                return;
            movesAtClose = records.moves;
            if (titleBar)
                frmPreview::instance().close();
            else
                DialogScript::click(&frmPreview::instance(), QStringLiteral("cmdClose"));
        });
        poll.start(0);
        PrintCondensedList(records, QString());
        ReportRun::setEventIntervalForTesting(20);
        ASSERT_GE(movesAtClose, 30);
        // Not one record more was walked, the row is back, nothing is kept.
        EXPECT_EQ(records.moves, movesAtClose);
        EXPECT_EQ(records.current(), 7u);
        EXPECT_EQ(document().pageCount(), 0);
        EXPECT_FALSE(PreviewSurface().documentOpen());
        EXPECT_FALSE(frmPreview::instance().isVisible());
        EXPECT_FALSE(ReportRun::running());
        EXPECT_EQ(platform::mousePointer(), platform::MousePointer::Default);
    }
    // The next report runs to its end.
    MemoryRecords records(testsupport::printedContactFields(), numberedContacts(200));
    PrintCondensedList(records, QString());
    EXPECT_EQ(records.moves, 200);
    EXPECT_GE(document().pageCount(), 2);
}

TEST_F(CondensedListsTest, ClosingAnOldPreviewDoesNotStopPrinting)
{
    MemoryRecords first(testsupport::printedContactFields(), numberedContacts(3));
    PrintCondensedList(first, QString());
    ASSERT_TRUE(frmPreview::instance().isVisible());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.pdf"));
    platform::PrintOutput::setPrinterLookupForTesting([] { return QPrinterInfo(); });
    PreviewSurface().setPreview(false);
    MemoryRecords records(testsupport::printedContactFields(), numberedContacts(100));
    ReportRun::setEventIntervalForTesting(0);
    bool closed = false;
    QTimer::singleShot(0, [&] {
        closed = true;
        DialogScript::click(&frmPreview::instance(), QStringLiteral("cmdClose"));
    });
    DialogScript script;
    script.answerSaveFile(path);
    PrintCondensedList(records, QString());
    ReportRun::setEventIntervalForTesting(20);
    EXPECT_TRUE(closed);
    EXPECT_EQ(records.moves, 100);
    EXPECT_TRUE(QFile::exists(path));
}

QString pdfText(const QString &path)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QStringLiteral("pdftotext failed: ") + QString::fromLocal8Bit(process.readAllStandardError());
    return QString::fromUtf8(process.readAllStandardOutput());
}

TEST(CondensedListsPdfTest, PrintModeWithoutAPrinterWritesAReadablePdf)
{
    UnloadPreview();
    platform::setClockForTesting([] { return QDateTime(QDate(2020, 1, 2), QTime(9, 0)); });
    platform::PrintOutput::setPrinterLookupForTesting([] { return QPrinterInfo(); });
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("condensed.pdf"));
    std::vector<QVariantMap> rows = numberedContacts(80);
    rows.insert(rows.begin(), lee());
    MemoryRecords records(testsupport::printedContactFields(), rows);
    {
        DialogScript script;
        script.answerSaveFile(path);
        PrintCondensedList(records, QStringLiteral("Friends"));
        EXPECT_FALSE(frmPreview::instance().isVisible());
    }
    // The reader gives each printed line on a line of its own, runs of blanks as one.
    const QString text = pdfText(path);
    const QStringList lines = text.split(QLatin1Char('\n'));
    EXPECT_EQ(lines.value(0), "1/2/2020") << text.left(300).toStdString();
    EXPECT_EQ(lines.value(1), "Friends");
    EXPECT_EQ(lines.value(2), "Dr. Ann Lee Acme");
    EXPECT_TRUE(text.contains("Home: 1 Main St Springfield, IL 62701"));
    EXPECT_TRUE(text.contains("Email:ann@example.com"));
    EXPECT_TRUE(text.contains("Name080\nHome: 555-0080"));
    // One form feed ends each page.
    const int pages = PreviewSurface().document().pageCount();
    EXPECT_GE(pages, 2);
    EXPECT_EQ(text.count(QLatin1Char('\f')), pages);
    UnloadPreview();
    platform::setClockForTesting(nullptr);
    platform::PrintOutput::setPrinterLookupForTesting(nullptr);
}

} // namespace
