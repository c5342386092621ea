// Damage that the open does not see (a file past the size it checks) met by a command while
// the program runs: the repair is offered once the command is over, as at start.
#include "helpers/DatabaseState.h"
#include "mainwindow/NameList.h"
#include "platform/db/DamageMark.h"
#include "platform/db/Database.h"
#include "platform/db/NewDatabase.h"
#include "platform/db/Recordset.h"
#include "platform/db/SqlStatement.h"
#include "platform/ui/MsgBox.h"
#include "support/ContactGenerator.h"
#include "support/DamagedDatabase.h"
#include "support/DialogScript.h"
#include "support/FileBytes.h"
#include "support/StartedProgram.h"

#include <QAction>
#include <QCoreApplication>
#include <QPushButton>
#include <QTableView>
#include <gtest/gtest.h>

using platform::DialogKind;

namespace {

const QString
    Offer("Database may be corrupted.  Press the OK button if you want Quiltern to attempt to repair it.");

// What a command meets, and the page it alone reads: the first page of a table or index,
// or the one holding a text.
struct Command {
    const char *name, *root, *text;
    void (*run)(DialogScript &script, NameList &window);
};

const Command Commands[] = {
    // The notes of the contact that sorts last, read by nothing before a search of every field.
    {"Find", nullptr, "MIDDLEOFTHENOTES",
     [](DialogScript &script, NameList &window) {
         script.answerInput("Quaint").answerMessage(platform::vbOK);
         window.menuItem("FindEditMenu")->trigger();
     }},
    {"CategorySelection", "tblCategoryDesc", nullptr,
     [](DialogScript &script, NameList &window) {
         script.onModal("CategoryForm", [](QWidget *form) {
             // The list's rows are read as they are drawn.
             EXPECT_EQ(form->findChild<QTableView *>()->model()->index(0, 0).data().toString(), "#Deleted");
             DialogScript::click(form, "cmdExit");
         });
         window.button("cmdCategory")->click();
     }},
    // A save stamps the date of the change, whose index nothing else reads.
    {"Save", "tblContacts.DateUpdated", nullptr,
     [](DialogScript &script, NameList &window) {
         script.onModal("NameEdit", [](QWidget *editor) {
             DialogScript::setText(editor, "txtFirst_City", "Wells");
             DialogScript::click(editor, "cmdSave");
             DialogScript::click(editor, "cmdCancel");
         });
         script.answerMessage(platform::vbOK).answerMessage(platform::vbYes);
         window.button("cmdEdit")->click();
     }},
};

class DamageMetWhileRunning : public ::testing::TestWithParam<std::tuple<Command, bool>> {
  protected:
    void SetUp() override
    {
        limitBefore = platform::DamageMark::setOpenCheckLimit(0);
        path = program.folder().filePath("Quiltern.mdb");
        platform::createDatabaseFromSchema(path);
        {
            auto db = platform::Database::open(path);
            ContactGenerator::insert(*db, 200);
            db->execute("INSERT INTO tblContacts (LastName, Notes) VALUES ('Zzyzx', '" + QString(6000, 'n') +
                        "MIDDLEOFTHENOTES" + QString(6000, 'm') + "')");
            for (int i = 1; i <= 8; ++i)
                db->execute(QString("INSERT INTO tblCategoryDesc (CategoryDesc) VALUES ('Group %1')").arg(i));
        }
        const Command &command = std::get<0>(GetParam());
        QByteArray bytes = readFileBytes(path);
        qint64 page = bytes.indexOf(command.text ? command.text : "") / damage::PageSize + 1;
        if (command.root) {
            auto db = platform::Database::open(path);
            platform::SqlStatement root(db->handle(), "SELECT rootpage FROM sqlite_master WHERE name = ?");
            root.bind(1, QString(command.root));
            page = root.step() ? root.int64(0) : 0;
        }
        ASSERT_GT(page, 1);
        damage::garblePage(bytes, page);
        writeFileBytes(path, bytes);
        program.setCommandLine(path);
    }
    void TearDown() override { platform::DamageMark::setOpenCheckLimit(limitBefore); }

    StartedProgram program;
    QString path;
    qint64 limitBefore = 0;
};

} // namespace

TEST_P(DamageMetWhileRunning, IsOfferedForRepairOnceTheCommandIsOver)
{
    const auto [command, accepted] = GetParam();
    {
        DialogScript script;
        ASSERT_TRUE(program.start());
        EXPECT_TRUE(script.shown().empty()) << "the open does not look at the damaged page";
    }
    DialogScript script;
    command.run(script, *StartedProgram::window());
    // The command told its own failure, if it has one to tell; the offer comes after it.
    const std::size_t byTheCommand = script.shown(DialogKind::Message).size();
    EXPECT_TRUE(platform::DamageMark::known(path));
    script.answerMessage(accepted ? platform::vbOK : platform::vbCancel);
    if (accepted)
        script.answerMessage(platform::vbOK);
    QCoreApplication::processEvents();

    const auto messages = script.shown(DialogKind::Message);
    ASSERT_EQ(messages.size(), byTheCommand + (accepted ? 2 : 1));
    EXPECT_EQ(messages[byTheCommand].text, Offer);
    EXPECT_EQ(messages[byTheCommand].title, "Corrupt Database");
    ASSERT_NE(StartedProgram::window(), nullptr) << "the program goes on either way";
    ASSERT_TRUE(gDb && gDb->isOpen());
    EXPECT_EQ(platform::DamageMark::known(path), !accepted);
    if (accepted) {
        EXPECT_EQ(messages.back().title, "Database Repaired");
        EXPECT_GE(gDb->openRecordset("Select Count(*) From tblContacts")->value(0).toLongLong(), 190);
        return;
    }
    // Declined: the next start offers the repair again before anything is read.
    StartedProgram::closeWindow();
    gDb.reset();
    script.answerMessage(platform::vbCancel);
    EXPECT_FALSE(program.start());
    EXPECT_EQ(script.shown(DialogKind::Message).back().text, Offer);
}

INSTANTIATE_TEST_SUITE_P(Commands, DamageMetWhileRunning,
                         ::testing::Combine(::testing::ValuesIn(Commands), ::testing::Bool()),
                         [](const auto &info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param) ? "_Repaired" : "_Declined");
                         });
