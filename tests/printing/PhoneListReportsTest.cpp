#include "printing/PhoneListReports.h"
#include "printing/PreviewReportFixture.h"
#include "MemoryRecords.h"
#include "printing/PrintModeSwitch.h"
#include "printing/ReportRun.h"
#include "printing/ReportRunWatch.h"
#include "printing/frmPreview.h"
#include "support/DialogScript.h"
#include "support/FixedMetricsScope.h"
#include "support/PrintedPages.h"

#include "platform/base/Clock.h"
#include "platform/print/PrintOutput.h"
#include "platform/print/PrintSurface.h"
#include "platform/ui/MsgBox.h"

#include <QMessageBox>
#include <QPageSize>
#include <QPrinterInfo>
#include <QTest>
#include <QTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

using testsupport::pageLines;
using Lines = std::vector<std::string>;

QStringList listFields()
{
    QStringList fields{"Prefix", "FirstName", "MiddleName", "LastName", "Suffix", "Organization"};
    for (int n = 1; n <= 6; ++n)
        fields << QStringLiteral("Phone%1").arg(n) << QStringLiteral("Phone%1_Desc").arg(n);
    for (int n = 1; n <= 5; ++n)
        fields << QStringLiteral("Date%1").arg(n) << QStringLiteral("Date%1_Desc").arg(n);
    return fields;
}

class PhoneListReportsTest : public PreviewReportTest {
  protected:


    // 8 pt: every character 80 twips wide, every line 160 high.
    testsupport::FixedMetricsScope metrics;
};

TEST_F(PhoneListReportsTest, NameLineThenLabelledPhonesInOrder)
{
    MemoryRecords records(listFields(), {{{"Prefix", "Dr."},
                                          {"FirstName", "Ann"},
                                          {"LastName", "Lee"},
                                          {"Organization", "Acme"},
                                          {"Phone1", "555-0100"},
                                          {"Phone1_Desc", "Home  "},
                                          {"Phone2", "   "},
                                          {"Phone2_Desc", "Work"},
                                          {"Phone3", "555-0199  "},
                                          {"Phone3_Desc", "Fax"}}});
    PrintPhoneList(records, QString());
    EXPECT_EQ(document().name, "Phone List");
    EXPECT_FALSE(PreviewSurface().documentOpen());
    // A blank number is left out, label and all.
    EXPECT_EQ(pageLines(document(), 1),
              (Lines{"(10080,720) Arial 8 1/2/2020", "(1080,880) Arial 8 [b]   Dr. Ann Lee  Acme  ",
                     "(1440,1040) Arial 8 Home: 555-0100  Fax: 555-0199"}));
}

TEST_F(PhoneListReportsTest, NameLinesOfRecordsWithoutAFullName)
{
    struct Case {
        const char *what;
        QVariantMap record;
        std::string nameLine;
    };
    const Case cases[] = {
        // The blank before the suffix keeps the name from counting as blank.
        {"organisation only", {{"Organization", "Acme"}}, "(1080,880) Arial 8 [b]   Acme  "},
        {"last name and suffix",
         {{"LastName", "Lee"}, {"Suffix", "Jr."}},
         "(1080,880) Arial 8 [b]   Lee Jr.   "},
        {"middle name only", {{"MiddleName", "Q"}}, "(1080,880) Arial 8 [b]   Q     "},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        MemoryRecords records(listFields(), {c.record});
        PrintPhoneList(records, QString());
        EXPECT_EQ(pageLines(document(), 1), (Lines{"(10080,720) Arial 8 1/2/2020", c.nameLine}));
    }
}

TEST_F(PhoneListReportsTest, ARecordWithNoNameStillTakesItsLine)
{
    MemoryRecords records(listFields(),
                          {{{"Phone1", "555-0100"}, {"Phone1_Desc", ""}}, {{"LastName", "Moe"}}});
    PrintPhoneList(records, QString());
    // The blank name line is not drawn but counted; an empty label prints as ": ".
    EXPECT_EQ(pageLines(document(), 1),
              (Lines{"(10080,720) Arial 8 1/2/2020", "(1440,1040) Arial 8 : 555-0100",
                     "(1080,1200) Arial 8 [b]   Moe    "}));
}

TEST_F(PhoneListReportsTest, SixPhonesWrapOnIndentedLinesWithinTheWidth)
{
    QVariantMap record{{"LastName", "Lee"}};
    for (int n = 1; n <= 6; ++n) {
        record[QStringLiteral("Phone%1").arg(n)] = QStringLiteral("(555) 010-000%1 ext. 12345").arg(n);
        record[QStringLiteral("Phone%1_Desc").arg(n)] = n == 4 ? QString() : QStringLiteral("Line %1").arg(n);
    }
    MemoryRecords records(listFields(), {record, {{"LastName", "Moe"}}});
    PrintPhoneList(records, QString());
    // 9360 twips hold 117 characters; each pair is 35 with its blanks (29 without a
    // label), so the fourth number is broken after its "-".
    const Lines lines = pageLines(document(), 1);
    EXPECT_EQ(
        lines,
        (Lines{"(10080,720) Arial 8 1/2/2020", "(1080,880) Arial 8 [b]   Lee    ",
               "(1440,1040) Arial 8 Line 1: (555) 010-0001 ext. 12345  Line 2: (555) 010-0002 ext. 12345  "
               "Line 3: (555) 010-0003 ext. 12345  : (555) 010-",
               "(1440,1200) Arial 8 0004 ext. 12345  Line 5: (555) 010-0005 ext. 12345  Line 6: (555) "
               "010-0006 ext. 12345",
               "(1080,1360) Arial 8 [b]   Moe    "}));
    for (const std::string &line : lines)
        EXPECT_LE(line.size() - std::string("(1440,1040) Arial 8 ").size(), 117u) << line;
}

TEST_F(PhoneListReportsTest, DateReportPrintsDatesAsTheSystemShowsThem)
{
    MemoryRecords records(listFields(), {{{"FirstName", "Ann"},
                                          {"LastName", "Lee"},
                                          {"Phone1", "555-0100"},
                                          {"Date1", QDateTime(QDate(1980, 3, 4), QTime(0, 0))},
                                          {"Date1_Desc", "Birthday"},
                                          {"Date2", QVariant()},
                                          {"Date2_Desc", "Anniversary"},
                                          {"Date5", QDateTime(QDate(2020, 1, 15), QTime(13, 30))},
                                          {"Date5_Desc", "Meeting"}}});
    PrintDateReport(records, QStringLiteral("Family"));
    EXPECT_EQ(document().name, "Date Report");
    // The phones are not the date report's; a missing date prints nothing.
    EXPECT_EQ(pageLines(document(), 1),
              (Lines{"(10080,720) Arial 8 1/2/2020", "(5700,880) Arial 8 [b] Family",
                     "(1080,1200) Arial 8 [b]   Ann Lee    ",
                     "(1440,1360) Arial 8 Birthday: 3/4/1980  Meeting: 1/15/2020 1:30:00 PM"}));
}

TEST_F(PhoneListReportsTest, ListsInTurnEachReadTheirOwnFields)
{
    MemoryRecords records(listFields(), {{{"LastName", "Lee"},
                                          {"Phone1", "555-0100"},
                                          {"Phone1_Desc", "Home"},
                                          {"Date1", QDateTime(QDate(1980, 3, 4), QTime(0, 0))},
                                          {"Date1_Desc", "Birthday"}}});
    struct Step {
        void (*print)(DisplayedRecords &, const QString &);
        std::string detail;
    };
    const Step steps[] = {{&PrintPhoneList, "(1440,1040) Arial 8 Home: 555-0100"},
                          {&PrintDateReport, "(1440,1040) Arial 8 Birthday: 3/4/1980"},
                          {&PrintPhoneList, "(1440,1040) Arial 8 Home: 555-0100"},
                          {&PrintDateReport, "(1440,1040) Arial 8 Birthday: 3/4/1980"}};
    for (const Step &step : steps) {
        step.print(records, QString());
        const Lines lines = pageLines(document(), 1);
        ASSERT_EQ(lines.size(), 3u);
        EXPECT_EQ(lines[2], step.detail);
    }
}

TEST_F(PhoneListReportsTest, PagesBreakBetweenRecordsOnceTheCountPassesTheCapacity)
{
    // 13248 / 160 = 82.8 lines. With the heading the count starts at 3: 40 two-line
    // records fill page 1; later pages start at the top without date or heading.
    MemoryRecords records(listFields(), numberedContacts(124));
    PrintPhoneList(records, QStringLiteral("Friends"));
    ASSERT_EQ(document().pageCount(), 3);
    const Lines first = pageLines(document(), 1);
    EXPECT_EQ(first.size(), 2u + 2 * 40);
    EXPECT_EQ(first.back(), "(1440,13840) Arial 8 Home: 555-0040");
    EXPECT_EQ(pageLines(document(), 2).front(), "(1080,720) Arial 8 [b]   Name041    ");
    EXPECT_EQ(pageLines(document(), 2).size(), 2u * 42);
    EXPECT_EQ(pageLines(document(), 3).front(), "(1080,720) Arial 8 [b]   Name083    ");
    EXPECT_EQ(testsupport::findRun(document(), 2, "Friends"), nullptr);
}

TEST_F(PhoneListReportsTest, ARecordStartedUnderTheCapacityRunsPastIt)
{
    // Record 41 starts at count 81 (under 82.8) and prints all its four lines there.
    std::vector<QVariantMap> rows = numberedContacts(42);
    for (int n = 2; n <= 6; ++n)
        rows[40][QStringLiteral("Phone%1").arg(n)] = QString(40, QLatin1Char('9'));
    MemoryRecords records(listFields(), rows);
    PrintPhoneList(records, QString());
    const Lines first = pageLines(document(), 1);
    EXPECT_EQ(first[first.size() - 4], "(1080,13680) Arial 8 [b]   Name041    ");
    EXPECT_EQ(first.back().substr(0, 13), "(1440,14160) ");
    EXPECT_EQ(pageLines(document(), 2).front(), "(1080,720) Arial 8 [b]   Name042    ");
}

TEST_F(PhoneListReportsTest, MenuEntriesConfirmFirst)
{
    struct Case {
        void (*click)(DisplayedRecords &, const QString &, qint32);
        const char *document;
    };
    for (const Case &c :
         {Case{&PhoneListMenu_Click, "Phone List"}, Case{&DateReportMenu_Click, "Date Report"}}) {
        SCOPED_TRACE(c.document);
        UnloadPreview();
        PreviewSurface().setPreview(true);
        MemoryRecords records(listFields(), numberedContacts(2));
        {
            DialogScript script;
            script.answerMessage(platform::vbCancel);
            c.click(records, QString(), 0);
            EXPECT_EQ(document().pageCount(), 0);
        }
        {
            DialogScript script;
            script.answerMessage(platform::vbOK);
            c.click(records, QString(), 0);
            EXPECT_TRUE(script.shown()[0].text.startsWith("Click on the OK button to preview"));
            EXPECT_EQ(document().name, c.document);
            EXPECT_EQ(document().pageCount(), 1);
        }
        MemoryRecords none(listFields(), {});
        DialogScript script;
        script.answerMessage(platform::vbOK);
        c.click(none, QString(), 0);
        EXPECT_EQ(script.shown()[0].title, "No records to print");
    }
}

TEST_F(PhoneListReportsTest, AnErrorShowsItsTextAndPutsTheRecordBack)
{
    QStringList fields = listFields();
    fields.removeAll("Date3_Desc");
    MemoryRecords records(fields, {{{"LastName", "Lee"}, {"Date3", QDateTime(QDate(2020, 1, 1), QTime())}}});
    records.setCurrent(0);
    DialogScript script;
    script.answerMessage(platform::vbOK);
    PrintDateReport(records, QString());
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].text, "Item not found in this collection.");
    EXPECT_TRUE(PreviewSurface().documentOpen()) << "the document is left as drawn";
    EXPECT_FALSE(ReportRun::running());
}

TEST(PhoneListPdfTest, PrintModeWithoutAPrinterWritesTheListAsAPdf)
{
    UnloadPreview();
    platform::setClockForTesting([] { return QDateTime(QDate(2020, 1, 2), QTime(9, 0)); });
    platform::PrintOutput::setPrinterLookupForTesting([] { return QPrinterInfo(); });
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("phones.pdf"));
    std::vector<QVariantMap> rows = numberedContacts(100);
    rows.insert(rows.begin(), {{"Prefix", "Dr."},
                               {"FirstName", "Ann"},
                               {"LastName", "Lee"},
                               {"Organization", "Acme"},
                               {"Phone1", "555-0100"},
                               {"Phone1_Desc", "Home"},
                               {"Phone3", "555-0199"},
                               {"Phone3_Desc", "Fax"}});
    MemoryRecords records(listFields(), rows);
    {
        DialogScript script;
        script.answerSaveFile(path);
        PrintPhoneList(records, QStringLiteral("Friends"));
        EXPECT_FALSE(frmPreview::instance().isVisible());
    }
    QProcess reader;
    reader.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    ASSERT_TRUE(reader.waitForFinished(30000));
    const QString text = QString::fromUtf8(reader.readAllStandardOutput());
    EXPECT_TRUE(text.contains(QRegularExpression(R"(Friends\s+1/2/2020|1/2/2020\s+Friends)")))
        << text.left(300).toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression(R"(Dr\. Ann Lee\s+Acme)")));
    EXPECT_TRUE(text.contains(QRegularExpression(R"(Home: 555-0100\s+Fax: 555-0199)")));
    EXPECT_TRUE(text.contains("Name100"));
    EXPECT_EQ(text.count(QLatin1Char('\f')), PreviewSurface().document().pageCount());
    UnloadPreview();
    platform::setClockForTesting(nullptr);
    platform::PrintOutput::setPrinterLookupForTesting(nullptr);
}

// No printer chosen and an A4 default printer: the list is laid out on A4, above its bottom
// margin, and the file printed is A4.
TEST(PhoneListPdfTest, WithAnA4DefaultPrinterTheListComesOutOnA4)
{
    UnloadPreview();
    platform::PrintOutput::forgetChosenPrinterForTesting();
    platform::PrintOutput::setPrinterLookupForTesting([] { return QPrinterInfo(); },
                                                      [] { return QPageSize(QPageSize::A4); });
    testsupport::FixedMetricsScope metrics;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("phones.pdf"));
    MemoryRecords records(listFields(), numberedContacts(200));
    {
        DialogScript script;
        script.answerSaveFile(path);
        PrintPhoneList(records, QString());
    }
    const platform::PrintDocument &document = PreviewSurface().document();
    ASSERT_GT(document.pageCount(), 1);
    EXPECT_NEAR(document.paperSize.width(), 11906, 1);
    EXPECT_NEAR(document.paperSize.height(), 16838, 1);
    double lowest = 0;
    for (const auto &page : document.pages)
        for (const platform::PrintRun &run : page)
            lowest = std::max(lowest, run.y + 160);
    EXPECT_LE(lowest, 16838 - 720) << "every line ends above A4's bottom margin";
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {path});
    ASSERT_TRUE(info.waitForFinished(30000));
    EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput()).contains(QStringLiteral("(A4)")));
    UnloadPreview();
    platform::PrintOutput::setPrinterLookupForTesting(nullptr);
}

// A click on the main window while the list draws into the preview brings up the notice
// over that window; the list goes on drawing behind it to its last page, and the notice
// stays until the user answers it.
TEST_F(PhoneListReportsTest, TheListGoesOnToItsEndBehindTheNoticeOfARefusedClick)
{
    QWidget main;
    main.show();
    MemoryRecords records(listFields(), numberedContacts(200));
    DialogScript script;
    ReportRun::setEventIntervalForTesting(0);
    std::vector<int> pagesBehindTheNotice;
    QTimer turns;
    QObject::connect(&turns, &QTimer::timeout, [&] {
        if (!DialogScript::openNotices().empty())
            pagesBehindTheNotice.push_back(PreviewSurface().pageCount());
    });
    turns.start(0);
    QTimer::singleShot(0, &main, [&main] { QTest::mouseClick(&main, Qt::LeftButton); });
    PrintPhoneList(records, QString());
    ReportRun::setEventIntervalForTesting(20);
    ASSERT_GE(document().pageCount(), 3);
    ASSERT_FALSE(pagesBehindTheNotice.empty());
    EXPECT_EQ(std::pair(pagesBehindTheNotice.front(), pagesBehindTheNotice.back()), std::pair(1, document().pageCount()));
    const auto notices = DialogScript::openNotices();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_TRUE(notices[0]->text() == ReportRunWatch::runningMessage(true) && notices[0]->parentWidget() == &main);
}

} // namespace
