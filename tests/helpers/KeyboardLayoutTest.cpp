#include "helpers/KeyboardLayout.h"

#include <gtest/gtest.h>

TEST(KeyboardLayout, QtKeysMapBackToTheVirtualKeysTheClassicEventsReport)
{
    EXPECT_EQ(KeyboardLayout::virtualKey(Qt::Key_A), 'A');
    EXPECT_EQ(KeyboardLayout::virtualKey(Qt::Key_5), '5');
    EXPECT_EQ(KeyboardLayout::virtualKey(Qt::Key_Space), KeyboardLayout::VkSpace);
    EXPECT_EQ(KeyboardLayout::virtualKey(Qt::Key_Backspace), KeyboardLayout::VkBack);
    EXPECT_EQ(KeyboardLayout::virtualKey(Qt::Key_Return), KeyboardLayout::VkReturn);
    EXPECT_EQ(KeyboardLayout::virtualKey(Qt::Key_Enter), KeyboardLayout::VkReturn);
    EXPECT_EQ(KeyboardLayout::virtualKey(Qt::Key_PageDown), KeyboardLayout::VkNext);
    EXPECT_EQ(KeyboardLayout::virtualKey(Qt::Key_Up), KeyboardLayout::VkUp);
    EXPECT_EQ(KeyboardLayout::virtualKey(Qt::Key_Shift), KeyboardLayout::VkShift);
    EXPECT_EQ(KeyboardLayout::virtualKey(Qt::Key_F1), KeyboardLayout::VkF1);
    // Both characters of the bracket keys, typed with and without Shift.
    EXPECT_EQ(KeyboardLayout::virtualKey(Qt::Key_BracketLeft), 219);
    EXPECT_EQ(KeyboardLayout::virtualKey(Qt::Key_BraceLeft), 219);
    EXPECT_EQ(KeyboardLayout::virtualKey(Qt::Key_BracketRight), 221);
    EXPECT_EQ(KeyboardLayout::virtualKey(Qt::Key_BraceRight), 221);
    // Characters whose Qt key equals another key's virtual code map to their own key.
    EXPECT_EQ(KeyboardLayout::virtualKey(Qt::Key_Ampersand), '7') << "not the Up arrow (38)";
    EXPECT_EQ(KeyboardLayout::virtualKey(Qt::Key_ParenLeft), '9') << "not the Down arrow (40)";
    EXPECT_EQ(KeyboardLayout::virtualKey(Qt::Key_QuoteDbl), 222);
}

TEST(KeyboardLayout, KeysTheLayoutLacksHaveNoVirtualKey)
{
    EXPECT_EQ(KeyboardLayout::virtualKey(Qt::Key_unknown), 0);
    EXPECT_EQ(KeyboardLayout::virtualKey(0), 0);
    EXPECT_EQ(KeyboardLayout::virtualKey(Qt::Key_Eacute), 0);
}
