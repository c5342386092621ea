#include "ReminderFixture.h"

#include "platform/db/SqliteError.h"
#include "platform/ui/MsgBox.h"
#include "reminders/Remind.h"
#include "support/DialogScript.h"
#include "support/FileBytes.h"

#include <QLineEdit>
#include <QPushButton>

// From the editor, on a file the program may only read: no reminder can be started, which
// the user is told once; the reminders there are can be looked at, and the due list says
// why it cannot be built. Nothing is written.
TEST_F(ReminderFixture, TheReminderWindowOnAReadOnlyFileIsForLooking)
{
    const qint64 contact = addContact("Ada", "Byron");
    addReminder("Tea with Grace", QDate(2026, 3, 4), 5, "Years", 1, "Active", contact);
    temp.close();
    const QByteArray bytes = readFileBytes(temp.path());
    const auto file = platform::Database::open(temp.path(), false, true);
    const QString why = platform::readOnlyDatabaseText(file->name());
    DialogScript script;
    script.answerMessage(platform::vbOK).onModal("Remind", [&script](QWidget *w) {
        auto &form = *static_cast<Remind *>(w);
        EXPECT_EQ(form.txtDescr->text(), "Tea with Grace");
        EXPECT_TRUE(form.txtDescr->isReadOnly());
        for (QPushButton *b : {form.cmdAdd, form.cmdSave, form.cmdDelete})
            EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
        script.answerMessage(platform::vbOK);
        form.cmdViewCurrent->click();
        form.cmdExit->click();
    });
    Remind::open(*file, EditedContact{contact, "Ada", "", "Byron", "", "", ""});
    const auto boxes = script.shown(platform::DialogKind::Message);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, why);
    EXPECT_EQ(boxes[1].text, "The list of current reminders cannot be built.\r\n\r\n" + why);
    EXPECT_EQ(readFileBytes(temp.path()), bytes);
}
