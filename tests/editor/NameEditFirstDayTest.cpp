// What a user meets on the first day with the editor: where the cursor is, what the labels
// say, how a cut field and a bad date are treated.
#include "EditorFixture.h"

#include "helpers/ValueHelpers.h"
#include "platform/ui/MsgBox.h"

#include <QAbstractButton>
#include <QApplication>

TEST_F(EditorTest, AFieldCutAtItsLengthKeepsAnEmojiWholeOrLeavesItOut)
{
    gEditor.gCodeMaxLength = 5;
    const qint64 id = addPerson("Ann", "Lee");
    list->Refresh();
    NameEdit &ed = openEditorHere(true);
    const QString smile = QStringLiteral(u"\U0001F600");
    box("txtCode")->setText(QStringLiteral("abcd") + smile);
    widget<QPushButton>("cmdSave")->click();
    ASSERT_TRUE(ed.isUnloaded());
    EXPECT_EQ(stored(id, "Code").toString(), "abcd");
}

namespace {
// The editor on screen and active, so that clicks and focus moves work as for a user.
void activate(NameEdit &ed)
{
    ed.activateWindow();
    QApplication::setActiveWindow(&ed);
}
} // namespace

TEST_F(EditorTest, ACommandThatSavesWithABadDateTellsOnceAndKeepsTheFocusInTheBox)
{
    const qint64 able = addPerson("Ann", "Able");
    addPerson("Bob", "Baker"); // somewhere for Next to go
    for (const char *command : {"cmdSave", "cmdNext", "cmdAddNew"}) {
        list->Refresh();
        list->moveTo(able);
        NameEdit &ed = openEditorHere(true);
        activate(ed);
        QLineEdit *date = box("txtDate2");
        date->setFocus();
        QTest::keyClicks(date, "31/31/2021");
        DialogScript script;
        script.answerMessage(platform::vbOK);
        QTest::mouseClick(ed.findChild<QAbstractButton *>(command), Qt::LeftButton);
        ASSERT_EQ(script.shown().size(), 1u) << command;
        EXPECT_EQ(script.shown()[0].text, "Invalid date") << command;
        EXPECT_EQ(script.shown()[0].icon, platform::vbExclamation) << command;
        EXPECT_EQ(QApplication::focusWidget(), date) << command;
        EXPECT_TRUE(ed.isLoaded()) << command;
        EXPECT_EQ(list->currentId(), able) << command << ": the editor did not move on";
        EXPECT_EQ(text("txtDate2"), "31/31/2021") << command << ": the text stays as typed";
        EXPECT_TRUE(IsNull(stored(able, "DateUpdated"))) << command << ": nothing was saved";
        EXPECT_FALSE(gEditor.gRecordSaved) << command;
        EXPECT_EQ(contactCount(), 2) << command;
        editor.reset();
    }
}

TEST_F(EditorTest, ABadDateInANewContactIsToldBeforeAnythingIsStored)
{
    NameEdit &ed = openEditor(false);
    activate(ed);
    box("txtLastName")->setText("Dunn");
    box("txtDate1")->setText("1/2/2020");
    box("txtDate4")->setText("   ");
    DialogScript script;
    script.answerMessage(platform::vbOK);
    ed.cmdSave_Click();
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].text, "Invalid date");
    EXPECT_EQ(QApplication::focusWidget(), box("txtDate4")) << "a box of blanks is not empty";
    EXPECT_EQ(contactCount(), 0);
    EXPECT_FALSE(gEditor.gNewRecordAdded);

    // Corrected, the same Save stores the contact and closes.
    box("txtDate4")->setText("");
    ed.cmdSave_Click();
    EXPECT_EQ(contactCount(), 1);
    EXPECT_TRUE(ed.isUnloaded());
}

TEST_F(EditorTest, LeavingABadDateForAnotherBoxIsStillToldAtOnce)
{
    addPerson("Ann", "Able");
    NameEdit &ed = openEditor(true);
    activate(ed);
    box("txtDate3")->setFocus();
    QTest::keyClicks(box("txtDate3"), "soon");
    DialogScript script;
    script.answerMessage(platform::vbOK);
    QTest::mouseClick(box("txtCode"), Qt::LeftButton);
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].text, "Invalid date");
    EXPECT_EQ(QApplication::focusWidget(), box("txtDate3"));
}

TEST_F(EditorTest, PictureNamesLoseTheirBlanksButKeepTabsAndLineEnds)
{
    const qint64 id = addPerson("Ann", "Lee");
    openEditor(true);
    box("txtPic1File")->setText("\tbeach.jpg  ");
    box("txtPic2File")->setText("  dune.jpg\t");
    box("txtPic3File")->setText(" \t ");
    editor->cmdSave_Click();
    ASSERT_TRUE(editor->isUnloaded());
    EXPECT_EQ(stored(id, "PicturePath1").toString(), "\tbeach.jpg");
    EXPECT_EQ(stored(id, "PicturePath2").toString(), "dune.jpg\t");
    EXPECT_EQ(stored(id, "PicturePath3").toString(), "\t");
}

TEST_F(EditorTest, TheEditorOpensWithTheFocusOnTheFirstBoxOfItsTabOrder)
{
    addPerson("Ann", "Lee");
    list->Refresh();
    for (const bool existing : {false, true}) {
        DialogScript script;
        QString focused;
        script.onModal("NameEdit", [&](QWidget *w) {
            focused = w->focusWidget() ? w->focusWidget()->objectName() : QString();
            DialogScript::click(w, "cmdCancel");
        });
        NameEdit::open(*list, existing, existing ? "View/Edit an Existing Record" : "Add a New Record");
        EXPECT_EQ(focused, "txtPrefix") << (existing ? "View/Edit" : "Add");
    }
}

TEST_F(EditorTest, ANewContactNeverShowsAnotherContactsLastUpdated)
{
    const qint64 stamped = addContact({{"LastName", "Lee"}, {"DateUpdated", QDateTime(QDate(2019, 6, 1), QTime(9, 0))}});
    const qint64 tmpl = addContact(
        {{"LastName", "Template"}, {"Code", "TPL"}, {"DateUpdated", QDateTime(QDate(2020, 1, 2), QTime(8, 0))}});
    struct Case {
        const char *path;
        qint64 templateId;
        bool openAdd; // else Add New from the stamped contact
    };
    const Case cases[] = {
        {"Add New", 0, false},
        {"Add New from the template", tmpl, false},
        {"Add from the template", tmpl, true},
    };
    for (const Case &c : cases) {
        gEditor.gTemplateRecordID = c.templateId;
        list->Refresh();
        list->moveTo(stamped);
        NameEdit &ed = openEditorHere(!c.openAdd);
        if (!c.openAdd) {
            EXPECT_FALSE(widget<QLabel>("lblDateUpdated")->text().isEmpty()) << c.path << ": the stored contact shows its stamp";
            ed.cmdAddNew_Click();
        }
        if (c.templateId) {
            EXPECT_EQ(text("txtCode"), "TPL") << c.path << ": the template filled the contact";
        }
        EXPECT_EQ(widget<QLabel>("lblDateUpdated")->text(), "") << c.path;
        editor.reset();
    }
}
