#include "MainWindowFixture.h"

#include "reminders/ReminderRecords.h"
#include "support/FileBytes.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <sqlite3.h>

namespace {

// Every command of the main window's menus and buttons (but Exit), twice over, on a file
// that refuses much of what they do, each window that opens closed as a user backing out
// would: the program stays up with nothing stranded, and the file keeps what it held.
class EveryCommandTest : public MainWindowFixture, public testing::WithParamInterface<bool> {
  protected:
    bool readOnly() const { return GetParam(); }

    void prepareFile()
    {
        prepare(3);
        before("Insert Into tblSettings (Type, Name, Setting8) Values ('NOTE', 'Shopping', 'milk')");
        before("Insert Into tblRemind (Description, RemindDate, WarnDate, Status, FrequencyPeriod) "
               "Values ('Birthday', #1/1/2020#, #1/1/2020#, 'Active', 'One time')");
        auto db = platform::Database::open(path);
        RebuildDueReminders(*db);
        for (const char *table : {"tblCategoryDesc", "tblRemind", "tblCurrentReminders"})
            if (!readOnly())
                sqlite3_exec(db->handle(), QByteArray("DROP TABLE ").append(table), nullptr, nullptr, nullptr);
        db.reset();
        if (readOnly())
            QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    }

    // The contacts and notes, which no command here may change.
    static QStringList kept()
    {
        QStringList rows;
        auto rs = gDb->openRecordset("Select * from tblContacts, tblSettings Where Type='NOTE'");
        for (; !rs->eof(); rs->moveNext())
            for (int i = 0; i < rs->fieldCount(); ++i)
                rows << rs->value(i).toString();
        return rows;
    }

    // The user's way to each command: the button when it takes a click, else the menu item.
    static void give(NameList &w, const QString &name)
    {
        auto *button = w.findChild<QPushButton *>(name);
        if (button && button->isVisible() && button->isEnabled())
            QTest::mouseClick(button, Qt::LeftButton);
        else
            w.dispatch(name);
        // A window with no loop of its own (envelopes) is closed as the user would.
        for (QWidget *window : QApplication::topLevelWidgets())
            if (window != &w && window->isVisible())
                window->close();
        QCoreApplication::processEvents();
    }

    // Whether a dialog shown since `from` passes `test`.
    bool shownSince(std::size_t from, const std::function<bool(const platform::DialogRequest &)> &test) const
    {
        return std::any_of(script.shown().begin() + qsizetype(from), script.shown().end(), test);
    }
};

TEST_P(EveryCommandTest, EveryCommandTwiceLeavesTheProgramRunningAndTheFileAsItWas)
{
    prepareFile();
    const QByteArray bytes = readFileBytes(path);
    script.backOutOfTheRest();
    NameList &w = start();
    const QStringList before = kept();
    QStringList names;
    for (const char *name : {"FileMenu", "EditMenu", "ReportsMenu", "OptionsMenu", "HelpMenu"})
        for (QAction *item : menu(w, name)->actions())
            names << item->objectName();
    for (QPushButton *button : w.findChildren<QPushButton *>())
        names << button->objectName();
    names.removeIf([&w](const QString &name) { return !w.hasHandler(name) || name.contains("Exit"); });
    ASSERT_GT(names.size(), 60);
    for (int pass = 1; pass <= 2; ++pass) {
        for (const QString &name : names) {
            SCOPED_TRACE(QStringLiteral("pass %1, %2").arg(pass).arg(name).toStdString());
            // A command that emptied the list (marked contacts only) would leave the next
            // one nothing to work on.
            if (Data1(w)->recordset()->recordCount() == 0)
                w.dispatch("ShowAllMenu");
            const std::size_t from = script.shown().size();
            give(w, name);
            ASSERT_EQ(StartedProgram::window(), &w);
            EXPECT_TRUE(w.isVisible() && w.isEnabled());
            EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
            // The windows that write as they open are there for reading on a read-only file;
            // those that cannot load without their table say so, the second time as the first.
            const QString window = name == "cmdRemind" ? "Remind" : name == "cmdNotes" ? "MemoForm" : "";
            EXPECT_TRUE(!readOnly() || window.isEmpty() ||
                        shownSince(from, [&](const auto &r) { return r.objectName == window; }));
            EXPECT_TRUE(readOnly() || !(name.contains("Category") || name.contains("Catg")) ||
                        shownSince(from, [](const auto &r) { return r.text.startsWith("Run-time error"); }));
        }
    }
    EXPECT_EQ(kept(), before);
    EXPECT_TRUE(!readOnly() || readFileBytes(path) == bytes);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

INSTANTIATE_TEST_SUITE_P(ReadOnlyOrWithoutCategoryAndReminderTables, EveryCommandTest, testing::Bool());

} // namespace
