#include "ReminderFixture.h"

#include "helpers/MainWindowFlags.h"
#include "platform/db/SqliteError.h"
#include "platform/ui/MsgBox.h"
#include "reminders/CurrentReminders.h"
#include "reminders/Remind.h"
#include "reminders/ReminderRecords.h"
#include "support/DialogScript.h"
#include "support/FileBytes.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>

namespace {

// The reminder windows on a file the program may only read: they open for looking, or say
// once why they cannot, and never write.
class ReadOnlyRemindersTest : public ReminderFixture {
  protected:
    ReadOnlyRemindersTest() { gMainWindow.gReminderStartup = 0; }

    // Closes the writable connection, keeps the file's bytes and opens it read-only.
    platform::Database &readOnly()
    {
        temp.close();
        bytes = readFileBytes(temp.path());
        mReadOnly = platform::Database::open(temp.path(), false, true);
        return *mReadOnly;
    }
    QString refusal() const { return platform::readOnlyDatabaseText(mReadOnly->name()); }
    bool unchanged() const { return readFileBytes(temp.path()) == bytes; }

    DialogScript script;
    QByteArray bytes;

  private:
    std::unique_ptr<platform::Database> mReadOnly;
};

struct OpeningCase {
    bool fromEditor;
    bool withReminders;
    bool toldWhy; // a new reminder would have been started
};

class ReadOnlyRemindOpening : public ReadOnlyRemindersTest, public testing::WithParamInterface<OpeningCase> {};

TEST_P(ReadOnlyRemindOpening, TheReminderWindowOpensForLookingOrSaysOnceWhyItCannot)
{
    const OpeningCase c = GetParam();
    const qint64 contact = addContact("Ada", "Byron");
    if (c.withReminders)
        addReminder("Tea with Grace", QDate(2026, 3, 4), 5, "Years", 1, "Active", contact, "Earl Grey");
    platform::Database &db = readOnly();
    if (c.toldWhy)
        script.answerMessage(platform::vbOK);
    bool shown = false;
    if (c.withReminders) {
        script.onModal("Remind", [&shown](QWidget *w) {
            auto &form = *static_cast<Remind *>(w);
            shown = true;
            EXPECT_EQ(form.txtDescr->text(), "Tea with Grace");
            EXPECT_FALSE(form.DBGrid1->isHidden());
            EXPECT_TRUE(form.txtDescr->isReadOnly());
            EXPECT_TRUE(form.txtNotes->isReadOnly());
            for (QPushButton *b : {form.cmdAdd, form.cmdSave, form.cmdDelete})
                EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
            EXPECT_TRUE(form.cmdViewCurrent->isEnabled());
            form.cmdExit->click();
        });
    }
    Remind::open(db, c.fromEditor ? std::optional(EditedContact{contact, "Ada", "", "Byron", "", "", ""})
                                  : std::nullopt);
    EXPECT_EQ(shown, c.withReminders);
    const auto boxes = script.shown(platform::DialogKind::Message);
    ASSERT_EQ(boxes.size(), c.toldWhy ? 1u : 0u);
    if (c.toldWhy)
        EXPECT_EQ(boxes[0].text, refusal());
    EXPECT_TRUE(unchanged());
}

INSTANTIATE_TEST_SUITE_P(ListOrEditor, ReadOnlyRemindOpening,
                         testing::Values(OpeningCase{false, true, false}, OpeningCase{true, true, true},
                                         OpeningCase{false, false, true}, OpeningCase{true, false, true}));

} // namespace

namespace {

// With a due list stored before the file became read-only, or none.
class ReadOnlyViewCurrent : public ReadOnlyRemindersTest, public testing::WithParamInterface<bool> {};

TEST_P(ReadOnlyViewCurrent, ViewCurrentShowsTheStoredListOrSaysWhyNoneCanBeBuilt)
{
    const bool stored = GetParam();
    addReminder("Due today", QDate(2026, 3, 1));
    if (stored)
        ASSERT_EQ(RebuildDueReminders(db()), 1);
    platform::Database &file = readOnly();
    bool listed = false;
    script.onModal("Remind", [&](QWidget *w) {
        if (stored) {
            script.onModal("CurrentReminders", [&listed](QWidget *list) {
                auto &due = *static_cast<CurrentReminders *>(list);
                listed = due.DBGrid1->model()->rowCount() == 1;
                EXPECT_FALSE(due.cmdDelete->isEnabled());
                due.cmdExit->click();
            });
        } else {
            script.answerMessage(platform::vbOK);
        }
        auto &form = *static_cast<Remind *>(w);
        form.cmdViewCurrent->click();
        form.cmdExit->click();
    });
    Remind::open(file);
    EXPECT_EQ(listed, stored);
    const auto messages = script.shown(platform::DialogKind::Message);
    ASSERT_EQ(messages.size(), stored ? 0u : 1u);
    if (!stored)
        EXPECT_EQ(messages[0].text, "The list of current reminders cannot be built.\r\n\r\n" + refusal());
    EXPECT_TRUE(unchanged());
}

INSTANTIATE_TEST_SUITE_P(StoredOrNot, ReadOnlyViewCurrent, testing::Bool());

} // namespace
