#include "MemoryRecords.h"
#include "printing/GLOBAL.h"
#include "printing/PrintModeSwitch.h"
#include "printing/frmPreview.h"
#include "support/DialogScript.h"

#include "platform/print/PrintSurface.h"
#include "platform/ui/MsgBox.h"

#include <gtest/gtest.h>

namespace {

const QString PrintPrompt = QStringLiteral(
    "Click on the OK button to start printing, or Cancel if you do not want to print all displayed records.");
const QString PreviewPrompt = QStringLiteral(
    "Click on the OK button to preview, or Cancel if you do not want to preview all displayed records.");

MemoryRecords shown(int count, const QString &source)
{
    return MemoryRecords({QStringLiteral("LastName")}, std::vector<QVariantMap>(count), source);
}

class ConfirmPrintDisplayedTest : public ::testing::Test {
  protected:
    void SetUp() override { UnloadPreview(); }
    void TearDown() override { UnloadPreview(); }
};

TEST_F(ConfirmPrintDisplayedTest, NoRecordsDisplayedSaysSoAndRefuses)
{
    MemoryRecords records = shown(0, QStringLiteral("Select * From qryContacts"));
    DialogScript script;
    script.answerMessage(platform::vbOK);
    EXPECT_FALSE(ConfirmPrintDisplayed(records, 4));
    ASSERT_EQ(script.shown().size(), 1u);
    const platform::DialogRequest &box = script.shown()[0];
    EXPECT_EQ(box.text, "There are no records displayed, so none will print.");
    EXPECT_EQ(box.title, "No records to print");
    EXPECT_EQ(box.icon, platform::vbInformation);
    EXPECT_EQ(box.buttons, platform::vbOKOnly);
}

TEST_F(ConfirmPrintDisplayedTest, SelectedRecordsAmongOthersAreWarnedOfFirst)
{
    MemoryRecords records = shown(10, QStringLiteral("Select * From qryContacts Order By LastName"));
    DialogScript script;
    script.answerMessage(platform::vbOK);
    EXPECT_TRUE(ConfirmPrintDisplayed(records, 3));
    ASSERT_EQ(script.shown().size(), 1u);
    const platform::DialogRequest &box = script.shown()[0];
    EXPECT_EQ(
        box.text,
        "All displayed records will be printed or previewed, not just the 3 you have selected.  To print "
        "just the selected records, click the \"Show Selected Records Only\" button or choose that option "
        "from the Edit menu.\r\r" +
            PrintPrompt);
    EXPECT_EQ(box.title, "Confirmation");
    EXPECT_EQ(box.buttons, platform::vbOKCancel);
    EXPECT_EQ(box.icon, 0);
}

TEST_F(ConfirmPrintDisplayedTest, NoWarningWhenOnlySelectedAreShownOrNoneSelected)
{
    struct Case {
        const char *source;
        int selected;
    };
    for (const Case &c :
         {Case{"Select * From qryContacts Where Selected = 'x'", 3}, Case{"Select * From qryContacts", 0}}) {
        MemoryRecords records = shown(3, QString::fromLatin1(c.source));
        DialogScript script;
        script.answerMessage(platform::vbOK);
        EXPECT_TRUE(ConfirmPrintDisplayed(records, c.selected));
        ASSERT_EQ(script.shown().size(), 1u);
        EXPECT_EQ(script.shown()[0].text, PrintPrompt) << c.source;
    }
    // "Selected" is looked for with its exact case.
    MemoryRecords lower = shown(3, QStringLiteral("Select * From qryContacts Where selected = 'x'"));
    DialogScript script;
    script.answerMessage(platform::vbOK);
    ConfirmPrintDisplayed(lower, 2);
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_TRUE(script.shown()[0].text.startsWith(
        "All displayed records will be printed or previewed, not just the 2 "));
}

TEST_F(ConfirmPrintDisplayedTest, PreviewModeSpeaksOfPreviewingAndCancelRefuses)
{
    PreviewSurface().setPreview(true);
    MemoryRecords records = shown(2, QString());
    DialogScript script;
    script.answerMessage(platform::vbCancel).answerMessage(platform::vbOK);
    EXPECT_FALSE(ConfirmPrintDisplayed(records, 0));
    EXPECT_TRUE(ConfirmPrintDisplayed(records, 0));
    ASSERT_EQ(script.shown().size(), 2u);
    EXPECT_EQ(script.shown()[0].text, PreviewPrompt);
    EXPECT_EQ(script.shown()[1].text, PreviewPrompt);
}

} // namespace
