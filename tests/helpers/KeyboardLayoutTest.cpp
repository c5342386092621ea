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

// Key-press handlers compare against the named characters; they must be what the keys type.
TEST(KeyboardLayout, NamedControlCharactersAreWhatTheirKeysType)
{
    const struct {
        int vk;
        int character;
    } keys[] = {{platform::VkBack, platform::CharBackspace},
                {platform::VkTab, platform::CharTab},
                {platform::VkReturn, platform::CharEnter},
                {platform::VkEscape, platform::CharEscape},
                {platform::VkSpace, platform::CharSpace}};
    for (const auto &k : keys) {
        const QString typed = KeyboardLayout::keyText(k.vk, false, false);
        ASSERT_EQ(typed.size(), 1) << k.vk;
        EXPECT_EQ(typed.at(0).unicode(), k.character) << k.vk;
    }
    EXPECT_EQ(KeyboardLayout::virtualKey(Qt::Key_BraceLeft), platform::VkOpenBracket);
    EXPECT_EQ(KeyboardLayout::virtualKey(Qt::Key_BracketRight), platform::VkCloseBracket);
    EXPECT_EQ(KeyboardLayout::virtualKey(Qt::Key_F5), platform::VkF5);
}
