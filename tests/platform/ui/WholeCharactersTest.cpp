#include "platform/ui/WholeCharacters.h"

#include <QLineEdit>
#include <gtest/gtest.h>

using platform::keepCharactersWhole;

namespace {

const QString Smile = QStringLiteral(u"\U0001F600");

} // namespace

TEST(WholeCharacters, TheLengthLimitCutsBeforeACharacterOfTwoUnits)
{
    QLineEdit edit;
    edit.setMaxLength(5);
    keepCharactersWhole(&edit);

    edit.setText(QStringLiteral("abcd") + Smile);
    EXPECT_EQ(edit.text(), "abcd");
    edit.setText(QStringLiteral("abc") + Smile);
    EXPECT_EQ(edit.text(), QStringLiteral("abc") + Smile) << "a character that fits is kept";

    // Typed or pasted in the middle: what does not fit is cut, never half of a character.
    edit.setText(QStringLiteral("ab"));
    edit.setCursorPosition(1);
    edit.insert(QStringLiteral("x") + Smile + Smile);
    EXPECT_EQ(edit.text(), QStringLiteral("ax") + Smile + QStringLiteral("b"));
    edit.setMaxLength(4);
    edit.setText(QStringLiteral("ab"));
    edit.setCursorPosition(1);
    edit.insert(QStringLiteral("x") + Smile);
    EXPECT_EQ(edit.text(), "axb");
    EXPECT_EQ(edit.cursorPosition(), 2);
}
