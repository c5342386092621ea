#include "editor/MemoForm.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/db/SqliteError.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Twips.h"
#include "support/DialogScript.h"
#include "support/FileBytes.h"
#include "support/TempDatabase.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <map>
#include "support/FormControls.h"

// clang-format off
inline QComboBox *cmbTitle(const QWidget &form) { return controlOf<QComboBox>(form, "cmbTitle"); }
inline QPushButton *cmdFindNext(const QWidget &form) { return controlOf<QPushButton>(form, "cmdFindNext"); }
inline QPushButton *cmdFind(const QWidget &form) { return controlOf<QPushButton>(form, "cmdFind"); }
inline QPlainTextEdit *txtNotes(const QWidget &form) { return controlOf<QPlainTextEdit>(form, "txtNotes"); }
inline QPushButton *cmdDelete(const QWidget &form) { return controlOf<QPushButton>(form, "cmdDelete"); }
inline QPushButton *cmdCancel(const QWidget &form) { return controlOf<QPushButton>(form, "cmdCancel"); }
inline QPushButton *cmdExit(const QWidget &form) { return controlOf<QPushButton>(form, "cmdExit"); }
inline QPushButton *cmdAdd(const QWidget &form) { return controlOf<QPushButton>(form, "cmdAdd"); }
// clang-format on


using platform::vbNo;
using platform::vbOK;
using platform::vbYes;

class MemoFormTest : public ::testing::Test {
  protected:
    void addNote(const QString &title, const QVariant &text)
    {
        auto rs = temp.db().openRecordset("tblSettings", platform::RecordsetType::Table);
        rs->addNew();
        rs->setValue("Type", "NOTE");
        rs->setValue("Name", title);
        rs->setValue("Setting8", text);
        rs->update();
    }
    void setLastNote(const QString &position)
    {
        auto rs = temp.db().openRecordset("tblSettings", platform::RecordsetType::Table);
        rs->addNew();
        rs->setValue("Type", "LASTNOTE");
        rs->setValue("Name", position);
        rs->update();
    }
    // Title -> text of every NOTE row.
    std::map<QString, QString> notes()
    {
        std::map<QString, QString> all;
        auto rs = temp.db().openRecordset("Select * from tblSettings Where Type='NOTE'");
        for (; !rs->eof(); rs->moveNext())
            all[rs->value("Name").toString()] = rs->value("Setting8").toString();
        return all;
    }
    QString lastNote()
    {
        auto rs = temp.db().openRecordset("Select * from tblSettings Where Type='LASTNOTE'");
        EXPECT_EQ(rs->recordCount(), 1);
        return rs->recordCount() ? rs->value("Name").toString() : QString();
    }
    // Opens the memo pad the way the main window does and runs `action` on it.
    void run(std::function<void(MemoForm &)> action)
    {
        script.onModal("MemoForm", [action](QWidget *w) { action(*static_cast<MemoForm *>(w)); });
        MemoForm::open(temp.db());
    }
    QStringList titles(MemoForm &f)
    {
        QStringList list;
        for (int i = 0; i < cmbTitle(f)->count(); ++i)
            list << cmbTitle(f)->itemText(i);
        return list;
    }

    TempDatabase temp;
    DialogScript script;
};

TEST_F(MemoFormTest, OpensOnTheLastNoteAndSavesAChangedTextOnExit)
{
    addNote("b shopping", "milk");
    addNote("A ideas", "quilt");
    addNote("c calls", QVariant());
    setLastNote("1");
    run([this](MemoForm &f) {
        EXPECT_EQ(titles(f), QStringList({"A ideas", "b shopping", "c calls"}));
        EXPECT_EQ(cmbTitle(f)->currentText(), "b shopping");
        EXPECT_EQ(txtNotes(f)->toPlainText(), "milk");
        EXPECT_FALSE(f.noteChanged());
        txtNotes(f)->setPlainText("milk and eggs\nbread");
        EXPECT_TRUE(f.noteChanged());
        cmdExit(f)->click();
    });
    EXPECT_EQ(notes()["b shopping"], "milk and eggs\r\nbread");
    EXPECT_EQ(lastNote(), "1");
}

TEST_F(MemoFormTest, SwitchingNotesSavesTheShownTextInFull)
{
    addNote("one", "1");
    addNote("two", "2");
    const QString longText(100000, QChar('x'));
    run([&](MemoForm &f) {
        txtNotes(f)->setPlainText(longText);
        cmbTitle(f)->setCurrentIndex(1);
        f.cmbTitle_Click();
        EXPECT_EQ(txtNotes(f)->toPlainText(), "2");
        cmdExit(f)->click();
    });
    EXPECT_EQ(notes()["one"], longText);
    EXPECT_EQ(notes()["two"], "2");
    EXPECT_EQ(lastNote(), "1");
}

TEST_F(MemoFormTest, AddSavesTheShownNoteFirst)
{
    addNote("Zed", "z");
    run([this](MemoForm &f) {
        txtNotes(f)->setPlainText("z changed");
        script.answerInput("Jo's list  ");
        cmdAdd(f)->click();
        EXPECT_EQ(titles(f), QStringList({"Jo's list", "Zed"}));
        EXPECT_EQ(cmbTitle(f)->currentText(), "Jo's list");
        EXPECT_EQ(txtNotes(f)->toPlainText(), "");
        txtNotes(f)->setPlainText("apostrophes work");
        cmdExit(f)->click();
    });
    EXPECT_EQ(notes()["Zed"], "z changed");
    EXPECT_EQ(notes()["Jo's list"], "apostrophes work");
    EXPECT_EQ(lastNote(), "0");
}

// A new note's title loses its trailing blanks and nothing else: the list shows, and the
// table stores, the same title.
TEST_F(MemoFormTest, ANewTitleLosesOnlyItsTrailingBlanks)
{
    const struct {
        const char *typed;
        const char *stored;
    } cases[] = {{"  Jo's list  ", "  Jo's list"}, {"tab\t ", "tab\t"}, {"end\n", "end\n"}, {"plain", "plain"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed);
        temp.db().execute("Delete from tblSettings Where Type='NOTE'");
        addNote("Zed", "z");
        run([this, &c](MemoForm &f) {
            script.answerInput(QString::fromLatin1(c.typed));
            cmdAdd(f)->click();
            EXPECT_EQ(cmbTitle(f)->currentText(), QString::fromLatin1(c.stored));
            cmdExit(f)->click();
        });
        EXPECT_EQ(notes().count(QString::fromLatin1(c.stored)), 1u);
        EXPECT_EQ(notes().size(), 2u);
    }
}

TEST_F(MemoFormTest, BlankAndDuplicateTitlesAreRefused)
{
    addNote("Groceries", "g");
    run([this](MemoForm &f) {
        script.answerInput("   ");
        cmdAdd(f)->click();
        script.cancelInput();
        cmdAdd(f)->click();
        script.answerInput("groceries ").answerMessage(vbOK);
        cmdAdd(f)->click();
        EXPECT_EQ(script.shown().back().text, "There is already a note titled \"Groceries\".");
        EXPECT_EQ(titles(f), QStringList({"Groceries"}));
        cmdExit(f)->click();
    });
    EXPECT_EQ(notes().size(), 1u);
}

TEST_F(MemoFormTest, RenameWritesTheShownRowAndKeepsItsText)
{
    addNote("Alpha", "a");
    addNote("Beta", "b");
    run([this](MemoForm &f) {
        txtNotes(f)->setPlainText("a edited");
        cmbTitle(f)->setEditText("O'Hara ");
        EXPECT_TRUE(f.cmbTitle_Validate());
        EXPECT_EQ(titles(f), QStringList({"Beta", "O'Hara"}));
        EXPECT_EQ(cmbTitle(f)->currentText(), "O'Hara");
        EXPECT_EQ(txtNotes(f)->toPlainText(), "a edited");
        // Renaming onto another note's title, or to nothing, is refused.
        script.answerMessage(vbOK).answerMessage(vbOK);
        cmbTitle(f)->setEditText("beta");
        EXPECT_FALSE(f.cmbTitle_Validate());
        EXPECT_EQ(cmbTitle(f)->currentText(), "O'Hara");
        cmbTitle(f)->setEditText("  ");
        EXPECT_FALSE(f.cmbTitle_Validate());
        EXPECT_EQ(script.shown().back().text, "A note needs a title.");
        cmdExit(f)->click();
    });
    const auto all = notes();
    EXPECT_EQ(all.size(), 2u);
    EXPECT_EQ(all.at("O'Hara"), "a edited");
    EXPECT_EQ(all.at("Beta"), "b");
}

TEST_F(MemoFormTest, ClosingWithAnUntakenTitleTakesIt)
{
    addNote("Old", "text");
    run([](MemoForm &f) {
        cmbTitle(f)->setEditText("New");
        txtNotes(f)->setPlainText("text 2");
        f.close();
    });
    EXPECT_EQ(notes(), (std::map<QString, QString>{{"New", "text 2"}}));
}

TEST_F(MemoFormTest, DeleteSelectsTheNextOrTheLastAndTheOnlyOneCloses)
{
    addNote("a", "1");
    addNote("b", "2");
    addNote("c", "3");
    run([this](MemoForm &f) {
        script.answerMessage(vbNo);
        cmdDelete(f)->click();
        EXPECT_EQ(titles(f).size(), 3);
        EXPECT_EQ(script.shown().back().text, "Are you sure you want to delete this note?");
        script.answerMessage(vbYes);
        cmdDelete(f)->click();
        EXPECT_EQ(cmbTitle(f)->currentText(), "b");
        EXPECT_EQ(txtNotes(f)->toPlainText(), "2");
        cmbTitle(f)->setCurrentIndex(1);
        f.cmbTitle_Click();
        script.answerMessage(vbYes);
        cmdDelete(f)->click();
        EXPECT_EQ(cmbTitle(f)->currentText(), "b");
        script.answerMessage(vbYes);
        cmdDelete(f)->click();
        EXPECT_TRUE(f.isUnloaded());
    });
    EXPECT_TRUE(notes().empty());
    EXPECT_EQ(lastNote(), "-1");
}

TEST_F(MemoFormTest, StoredPositionMinusOneStillOpens)
{
    addNote("only", "x");
    setLastNote("-1");
    run([](MemoForm &f) {
        EXPECT_EQ(cmbTitle(f)->currentText(), "only");
        EXPECT_EQ(txtNotes(f)->toPlainText(), "x");
        cmdExit(f)->click();
    });
    EXPECT_EQ(lastNote(), "0");
}

TEST_F(MemoFormTest, CancelAsksOnlyAfterAChange)
{
    addNote("n", "old");
    run([this](MemoForm &f) {
        txtNotes(f)->setPlainText("new");
        script.answerMessage(vbNo);
        cmdCancel(f)->click();
        EXPECT_TRUE(f.isLoaded());
        EXPECT_EQ(script.shown().back().text, "Lose any changes?");
        script.answerMessage(vbYes);
        cmdCancel(f)->click();
    });
    EXPECT_EQ(notes()["n"], "old");
    run([](MemoForm &f) { cmdCancel(f)->click(); });
}

TEST_F(MemoFormTest, WithoutNotesItAsksForATitleAtOnce)
{
    script.cancelInput();
    MemoForm::open(temp.db());
    EXPECT_TRUE(notes().empty());
    EXPECT_EQ(lastNote(), "-1");
    EXPECT_EQ(script.shown()[0].text, "Enter a Title for this new note.");
    EXPECT_EQ(script.shown()[0].title, "New Note");

    script.answerInput("First");
    run([](MemoForm &f) {
        EXPECT_FALSE(cmbTitle(f)->isHidden());
        txtNotes(f)->setPlainText("hello");
        cmdExit(f)->click();
    });
    EXPECT_EQ(notes()["First"], "hello");
}

TEST_F(MemoFormTest, FindSelectsAMatchWithoutRegardToCase)
{
    addNote("n", "Alpha beta ALPHA");
    run([this](MemoForm &f) {
        script.answerInput("alpha");
        cmdFind(f)->click();
        EXPECT_EQ(txtNotes(f)->textCursor().selectedText(), "Alpha");
        cmdFindNext(f)->click();
        EXPECT_EQ(txtNotes(f)->textCursor().selectedText(), "ALPHA");
        EXPECT_FALSE(f.noteChanged()) << "searching changes nothing";
        cmdExit(f)->click();
    });
}

TEST_F(MemoFormTest, ResizeKeepsTheLowerButtonsCentredAsARow)
{
    addNote("n", "x");
    run([](MemoForm &f) {
        f.Form_Resize(12000, 9000);
        EXPECT_NEAR(platform::pixelsToTwipsY(txtNotes(f)->height()), 9000 - 2515, 15);
        EXPECT_EQ(cmdCancel(f)->y(), cmdExit(f)->y());
        EXPECT_LT(cmdDelete(f)->x(), cmdCancel(f)->x());
        EXPECT_LT(cmdCancel(f)->x(), cmdExit(f)->x());
        EXPECT_LT(cmdExit(f)->x(), cmdAdd(f)->x());
        const int height = txtNotes(f)->height();
        f.Form_Resize(1200, 1600);
        EXPECT_EQ(txtNotes(f)->height(), height);
        cmdExit(f)->click();
    });
}

TEST_F(MemoFormTest, OnAReadOnlyFileTheNotesAreForReadingOrTheWindowSaysWhyItCannotOpen)
{
    for (const bool withNotes : {false, true}) {
        if (withNotes)
            addNote("Shopping", "milk");
        temp.close();
        const QByteArray before = readFileBytes(temp.path());
        const auto file = platform::Database::open(temp.path(), false, true);
        if (withNotes) {
            script.onModal("MemoForm", [](QWidget *w) {
                EXPECT_TRUE(txtNotes(*w)->isReadOnly());
                EXPECT_FALSE(cmdAdd(*w)->isEnabled());
                cmdExit(*w)->click();
            });
        } else {
            script.answerMessage(vbOK);
        }
        MemoForm::open(*file);
        EXPECT_EQ(script.shown(platform::DialogKind::Message).size(), 1u) << "told once, when there was nothing to read";
        EXPECT_EQ(readFileBytes(temp.path()), before);
    }
}

// Tab into the title box drops its list; Tab and Shift+Tab leave the dropped list, and coming
// back with Shift+Tab leaves it closed.
TEST_F(MemoFormTest, TheKeyboardGoesThroughTheTitleBoxBothWays)
{
    addNote("a", "1");
    addNote("b", "2");
    run([](MemoForm &f) {
        QApplication::setActiveWindow(&f);
        QComboBox *title = cmbTitle(f);
        txtNotes(f)->setFocus();
        title->setFocus(Qt::TabFocusReason);
        EXPECT_NE(QApplication::activePopupWidget(), nullptr);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
        QWidget *next = f.focusWidget();
        EXPECT_NE(next, title);
        QTest::keyClick(next, Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(f.focusWidget(), title);
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
        title->showPopup();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
        EXPECT_NE(f.focusWidget(), title);
        cmdExit(f)->click();
    });
}
