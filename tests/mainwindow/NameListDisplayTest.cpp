#include "MainWindowFixture.h"

#include "platform/print/PrintOutput.h"
#include "platform/print/PrintSupport.h"
#include "platform/print/PrintSurface.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/ScrollBarWidth.h"
#include "platform/ui/Twips.h"
#include "printing/frmPreview.h"
#include "support/FileBytes.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QStyle>
#include <QTemporaryDir>

namespace {

class DisplayTest : public MainWindowFixture {
  protected:
    QString setting(const QString &type)
    {
        auto rs = gDb->openRecordset("Select * from tblSettings Where Type='" + type + "'");
        return rs->recordCount() == 1 ? rs->value("Name").toString()
                                      : QStringLiteral("rows: %1").arg(rs->recordCount());
    }

    static void expectLook(NameList &w, int rowTwips, const QString &font, int size, bool bold,
                           int locateTwips)
    {
        EXPECT_EQ(Table1(w)->verticalHeader()->defaultSectionSize(), platform::twipsToPixelsY(rowTwips));
        for (QWidget *control : {static_cast<QWidget *>(Table1(w)), static_cast<QWidget *>(cmbSort(w)),
                                 static_cast<QWidget *>(txtLocate(w))}) {
            EXPECT_EQ(control->font().family(), font) << control->objectName().toStdString();
            EXPECT_EQ(control->font().pointSize(), size) << control->objectName().toStdString();
            EXPECT_EQ(control->font().bold(), bold) << control->objectName().toStdString();
        }
        EXPECT_EQ(txtLocate(w)->height(), platform::twipsToPixelsY(locateTwips));
    }
};

// Per-user settings go to a folder of the test's own.
class ScrollBarTest : public DisplayTest {
  protected:
    void SetUp() override
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    }
    void TearDown() override
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QDir::homePath() + "/.config");
        DisplayTest::TearDown();
    }

    QTemporaryDir settingsDir;
};

const QString WidthPromptStart =
    "Enter Scroll Bar Width.  The normal width is 252.  The higher the number,the wider the "
    "scroll bar.  A value of 500 is often a good size for a tablet computer.";

} // namespace

TEST_F(DisplayTest, TabletAndDesktopLooksAndTheirSettingsRow)
{
    prepare(3);
    NameList &w = start();
    expectLook(w, 225, "MS Sans Serif", 8, true, 285);

    w.menuItem("TabletMode")->trigger();
    EXPECT_TRUE(gTabletMode);
    expectLook(w, 400, "Arial", 14, false, 400);
    EXPECT_FALSE(w.menuItem("TabletMode")->isEnabled());
    EXPECT_TRUE(w.menuItem("DesktopMode")->isEnabled());
    EXPECT_EQ(setting("TABLET"), "True");

    w.menuItem("DesktopMode")->trigger();
    EXPECT_FALSE(gTabletMode);
    expectLook(w, 225, "MS Sans Serif", 8, true, 285);
    EXPECT_TRUE(w.menuItem("TabletMode")->isEnabled());
    EXPECT_FALSE(w.menuItem("DesktopMode")->isEnabled());
    EXPECT_EQ(setting("TABLET"), "False") << "one row, rewritten";
}

TEST_F(DisplayTest, TheTabletLookComesBackAtTheNextStart)
{
    prepare(3);
    start().display().TabletMode_Click();
    StartedProgram::closeWindow();
    gDb.reset();
    gContactsTable.reset();
    gTabletMode = false;
    gDbPath = path;
    ASSERT_EQ(Main(), MainOutcome::MainWindowShown);
    NameList &again = *StartedProgram::window();
    EXPECT_TRUE(gTabletMode);
    expectLook(again, 400, "Arial", 14, false, 400);
}

TEST_F(DisplayTest, BackgroundColourIsChosenStoredAndRestored)
{
    prepare(2);
    NameList &w = start();
    const QColor design(0x40, 0x80, 0x80);
    ASSERT_EQ(w.display().backColor(), design);

    script.answerColor(QColor(255, 0, 0));
    w.menuItem("SelectColor")->trigger();
    const platform::DialogRequest asked = script.shown().back();
    EXPECT_EQ(asked.kind, platform::DialogKind::Color);
    EXPECT_EQ(asked.color, design) << "the dialog starts on the colour shown";
    EXPECT_EQ(asked.flags, 1);
    EXPECT_EQ(w.display().backColor(), QColor(255, 0, 0));
    EXPECT_EQ(setting("BACKCOLOR"), "255");

    // Choosing the colour already shown writes nothing; cancelling changes nothing.
    gDb->execute("Update tblSettings Set Name='marker' Where Type='BACKCOLOR'");
    script.answerColor(QColor(255, 0, 0));
    w.display().SelectColor_Click();
    script.cancelColor();
    w.display().SelectColor_Click();
    EXPECT_EQ(setting("BACKCOLOR"), "marker");
    EXPECT_EQ(w.display().backColor(), QColor(255, 0, 0));

    script.answerColor(QColor(0x12, 0x34, 0x56));
    w.display().SelectColor_Click();
    EXPECT_EQ(setting("BACKCOLOR"), QString::number(0x563412)) << "red in the low byte";

    w.menuItem("RestoreColor")->trigger();
    EXPECT_EQ(w.display().backColor(), design);
    EXPECT_EQ(setting("BACKCOLOR"), "8421440");
    gDb->execute("Update tblSettings Set Name='marker' Where Type='BACKCOLOR'");
    w.display().RestoreColor_Click();
    EXPECT_EQ(setting("BACKCOLOR"), "8421440") << "written every time";
}

TEST_F(DisplayTest, PrinterSetupGoesThroughTheLayerAndKeepsThePreviewSwitch)
{
    prepare(2);
    NameList &w = start();
    w.menuItem("PreviewMode")->trigger();
    QCoreApplication::processEvents();
    menu(w, "ReportsMenu")->close();
    ASSERT_TRUE(PreviewSurface().preview());

    script.answerPrinterSetup(true);
    w.menuItem("ChangePrinter")->trigger();
    const platform::DialogRequest asked = script.shown().back();
    EXPECT_EQ(asked.kind, platform::DialogKind::PrinterSetup);
    EXPECT_EQ(asked.flags, 64);
    EXPECT_EQ(frmPreview::existing() ? frmPreview::existing()->isLoaded() : false, true)
        << "the preview is made anew to carry the switch";
    EXPECT_TRUE(PreviewSurface().preview());

    w.menuItem("PrintMode")->trigger();
    QCoreApplication::processEvents();
    menu(w, "ReportsMenu")->close();
    script.answerPrinterSetup(false);
    w.reports().ChangePrinter_Click();
    EXPECT_FALSE(PreviewSurface().preview());
}

TEST_F(DisplayTest, PrinterSetupTellsWhenTheProgramCannotPrintAtAll)
{
    prepare(1);
    NameList &w = start();
    QTemporaryDir empty;
    platform::PrintOutput::forgetChosenPrinterForTesting();
    platform::setPrintSupportFoldersForTesting({empty.path()});
    script.answerMessage(platform::vbOK);
    w.menuItem("ChangePrinter")->trigger();
    platform::setPrintSupportFoldersForTesting({});
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].kind, platform::DialogKind::Message);
    EXPECT_TRUE(script.shown()[0].text.startsWith("Printing is not available")) << script.shown()[0].text.toStdString();
}

TEST_F(ScrollBarTest, AnAcceptedWidthIsStoredForTheNextStart)
{
    prepare(1);
    NameList &w = start();
    writeFileBytes(program.folder().filePath("ScrollbarWidthChange.txt"), "left over\r\n");

    script.answerInput("120").answerMessage(platform::vbOK);
    w.menuItem("ScrollBarWidth")->trigger();
    ASSERT_EQ(script.shown().size(), 2u);
    const platform::DialogRequest &question = script.shown()[0];
    EXPECT_EQ(question.title, "Enter new scroll bar width");
    EXPECT_EQ(question.defaultText, "252");
    EXPECT_TRUE(question.text.startsWith(WidthPromptStart));
    // The width is the program's own, from its next start: nothing of rebooting the system,
    // of every other program or of starting as administrator.
    EXPECT_TRUE(question.text.endsWith("The new width applies to Quiltern from the next time you start it."));
    for (const char *wrong : {"reboot", "Windows", "administrator"})
        EXPECT_FALSE(question.text.contains(QLatin1String(wrong))) << wrong;
    EXPECT_EQ(
        script.shown()[1].text,
        "Scroll Bar Width changed to 120.\rThe change will take effect the next time you start Quiltern.");
    EXPECT_EQ(script.shown()[1].icon, 0);
    EXPECT_EQ(platform::storedScrollBarWidth(), 120);
    EXPECT_FALSE(QFileInfo::exists(program.folder().filePath("ScrollbarWidthChange.txt")));

    script.answerInput(" 1500 ").answerMessage(platform::vbOK);
    w.display().ScrollBarWidth_Click();
    EXPECT_EQ(platform::storedScrollBarWidth(), 1500);

    // The next start takes it.
    const QString styleBefore = QApplication::style()->name();
    platform::applyStoredScrollBarWidth();
    EXPECT_EQ(QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent), platform::twipsToPixelsX(1500));
    QApplication::setStyle(styleBefore);
}

TEST_F(ScrollBarTest, OutOfRangeAnswersAreRefusedAndAnEmptyOneEndsQuietly)
{
    prepare(1);
    NameList &w = start();
    for (const QString answer : {"119", "1501", "abc", "1500.5"}) {
        script.answerInput(answer).answerMessage(platform::vbOK);
        w.display().ScrollBarWidth_Click();
        const platform::DialogRequest &told = script.shown().back();
        EXPECT_EQ(told.text, "The value you supplied is outside the range of allowable values.")
            << answer.toStdString();
        EXPECT_EQ(told.title, "Invalid value");
        EXPECT_EQ(told.icon, platform::vbCritical);
    }
    const std::size_t shown = script.shown().size();
    script.cancelInput();
    w.display().ScrollBarWidth_Click();
    EXPECT_EQ(script.shown().size(), shown + 1) << "the question only";
    EXPECT_EQ(platform::storedScrollBarWidth(), 0);
}

TEST_F(ScrollBarTest, ASettingThatCannotBeWrittenIsReportedNotCelebrated)
{
    prepare(1);
    NameList &w = start();
    // The settings folder is a file: nothing can be written under it.
    const QString blocked = settingsDir.filePath("blocked");
    writeFileBytes(blocked, "");
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, blocked);
    script.answerInput("500").answerMessage(platform::vbOK);
    w.display().ScrollBarWidth_Click();
    const platform::DialogRequest &told = script.shown().back();
    EXPECT_EQ(told.title, "Error - change not made");
    EXPECT_EQ(told.icon, platform::vbCritical);
    EXPECT_EQ(told.text, "The scroll bar width could not be stored for Quiltern, so nothing was changed.");
}
