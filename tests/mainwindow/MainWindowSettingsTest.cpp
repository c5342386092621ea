#include "mainwindow/MainWindowSettings.h"

#include <gtest/gtest.h>

TEST(MainWindowSettings, CodeLengthFollowsTheVersionRow)
{
    EXPECT_EQ(codeMaxLength(true), 50);
    EXPECT_EQ(codeMaxLength(false), 20);
}

TEST(MainWindowSettings, YesNoSettingsReadWhatTheirWritersStore)
{
    for (const char *yes : {"1", "-1", "True", "true", "TRUE", " True "}) {
        EXPECT_TRUE(settingIsTrue(yes)) << yes;
    }
    for (const char *no : {"0", "False", "", "yes", "2", "Truely"}) {
        EXPECT_FALSE(settingIsTrue(no)) << no;
    }
    EXPECT_TRUE(settingIsTrue(booleanSettingText(true)));
    EXPECT_FALSE(settingIsTrue(booleanSettingText(false)));
}

TEST(MainWindowSettings, WholeNumbersAsTheClassicConversionsReadThem)
{
    EXPECT_EQ(wholeNumberSetting("8421440"), 8421440);
    EXPECT_EQ(wholeNumberSetting(" -5 "), -5);
    EXPECT_EQ(wholeNumberSetting("&H808040"), 0x808040);
    EXPECT_EQ(wholeNumberSetting("&h8000000F"), qint32(0x8000000F));
    EXPECT_EQ(wholeNumberSetting("2.5"), 2); // half to even
    EXPECT_EQ(wholeNumberSetting("3.5"), 4);
    EXPECT_EQ(wholeNumberSetting("1e3"), 1000);
    EXPECT_FALSE(wholeNumberSetting("blue").has_value());
    EXPECT_FALSE(wholeNumberSetting("").has_value());
    EXPECT_FALSE(wholeNumberSetting("&HZZ").has_value());
    EXPECT_FALSE(wholeNumberSetting("&H100000000").has_value());
    EXPECT_FALSE(wholeNumberSetting("3000000000").has_value());
}

TEST(MainWindowSettings, AssignCategoryReminderAndColourRows)
{
    EXPECT_EQ(assignCategoryOnAddFrom("1"), 1);
    EXPECT_EQ(assignCategoryOnAddFrom("0"), 0);
    EXPECT_EQ(assignCategoryOnAddFrom("-1"), 1);
    EXPECT_EQ(assignCategoryOnAddFrom("True"), 1);
    EXPECT_EQ(assignCategoryOnAddFrom("junk"), 0);
    EXPECT_EQ(reminderStartupFrom("1"), 1);
    EXPECT_EQ(reminderStartupFrom("0"), 0);
    EXPECT_EQ(reminderStartupFrom("x"), 0);
    EXPECT_EQ(backColorFrom("8421440"), DesignBackColor);
    EXPECT_EQ(backColorFrom("255"), 255);
    EXPECT_FALSE(backColorFrom("red").has_value());
}

TEST(MainWindowSettings, CaptionsKeepTheirBlanks)
{
    EXPECT_EQ(mainWindowCaption("Quiltern", "/home/ann/Quiltern.mdb"),
              "Quiltern Database  /home/ann/Quiltern.mdb");
    EXPECT_EQ(noticeLabelCaption("Free for personal use"), "Free for personal use  ");
}

TEST(MainWindowSettings, TabletAndDesktopLooks)
{
    const MainWindowLook tablet = mainWindowLook(true);
    EXPECT_DOUBLE_EQ(tablet.gridRowHeight, 400);
    EXPECT_EQ(tablet.fontName, "Arial");
    EXPECT_EQ(tablet.fontSize, 14);
    EXPECT_FALSE(tablet.fontBold);
    EXPECT_DOUBLE_EQ(tablet.locateBoxHeight, 400);
    EXPECT_FALSE(tablet.tabletModeEnabled);
    EXPECT_TRUE(tablet.desktopModeEnabled);
    const MainWindowLook desktop = mainWindowLook(false);
    EXPECT_DOUBLE_EQ(desktop.gridRowHeight, 225.0709);
    EXPECT_EQ(desktop.fontName, "MS Sans Serif");
    EXPECT_EQ(desktop.fontSize, 8);
    EXPECT_TRUE(desktop.fontBold);
    EXPECT_DOUBLE_EQ(desktop.locateBoxHeight, 285);
    EXPECT_TRUE(desktop.tabletModeEnabled);
    EXPECT_FALSE(desktop.desktopModeEnabled);
}

TEST(MainWindowSettings, FunctionKeys)
{
    EXPECT_EQ(mainWindowKey(112), MainWindowKey::Swallow);
    EXPECT_EQ(mainWindowKey(116), MainWindowKey::SwallowAndEnablePasswordChange);
    EXPECT_EQ(mainWindowKey(113), MainWindowKey::PassOn);
    EXPECT_EQ(mainWindowKey(65), MainWindowKey::PassOn);
}

TEST(MainWindowSettings, StatementsAreExact)
{
    EXPECT_EQ(settingsRowQuery(TemplateRecordIdSettingType),
              "Select * from tblSettings Where Type='TEMPLATE RecordID'");
}
