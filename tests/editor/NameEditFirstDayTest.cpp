// What a user meets on the first day with the editor: where the cursor is, what the labels
// say, how a cut field and a bad date are treated.
#include "EditorFixture.h"

TEST_F(EditorTest, AFieldCutAtItsLengthKeepsAnEmojiWholeOrLeavesItOut)
{
    gCodeMaxLength = 5;
    const qint64 id = addPerson("Ann", "Lee");
    list->Refresh();
    NameEdit &ed = openEditorHere(true);
    const QString smile = QStringLiteral(u"\U0001F600");
    box("txtCode")->setText(QStringLiteral("abcd") + smile);
    ed.cmdSave->click();
    ASSERT_TRUE(ed.isUnloaded());
    EXPECT_EQ(stored(id, "Code").toString(), "abcd");
}
