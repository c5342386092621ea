#include "EditorFixture.h"

#include "editor/EditorHooks.h"
#include "platform/ui/MsgBox.h"

#include <QPushButton>
#include <QToolButton>

using platform::vbNo;
using platform::vbOK;
using platform::vbYes;

class EditorCommandsTest : public EditorTest {
  protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        able = addPerson("Ann", "Able");
        baker = addPerson("Bob", "Baker");
        cole = addPerson("Cy", "Cole");
        list->Refresh();
    }
    qint64 able = 0, baker = 0, cole = 0;
};

TEST_F(EditorCommandsTest, DeleteOfAMiddleRowShowsTheNextOne)
{
    list->moveTo(baker);
    NameEdit &ed = openEditorHere(true);
    DialogScript script;
    script.answerMessage(vbYes);
    widget<QPushButton>("cmdDelete")->click();
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].text, "Are you sure you want to delete this record?\r(Bob  Baker)");
    EXPECT_EQ(script.shown()[0].title, "Confirmation");
    EXPECT_EQ(script.shown()[0].buttons, platform::vbYesNo);
    EXPECT_EQ(contactCount(), 2);
    EXPECT_FALSE(exists(baker));
    EXPECT_EQ(list->currentId(), cole);
    EXPECT_EQ(text("txtLastName"), "Cole");
    EXPECT_FALSE(gEditor.gRecordChanged);
    EXPECT_TRUE(ed.isLoaded());
}

TEST_F(EditorCommandsTest, DeleteOfTheLastRowShowsTheOneBefore)
{
    list->moveTo(cole);
    openEditorHere(true);
    DialogScript script;
    script.answerMessage(vbYes);
    widget<QPushButton>("cmdDelete")->click();
    EXPECT_EQ(list->currentId(), baker);
    EXPECT_EQ(text("txtLastName"), "Baker");
}

TEST_F(EditorCommandsTest, DeleteOfTheOnlyRowClosesTheEditor)
{
    list->source = QStringLiteral("Select * from  tblContacts Where LastName = 'Able'");
    list->Refresh();
    NameEdit &ed = openEditorHere(true);
    box("txtCode")->setText("changed first");
    DialogScript script;
    script.answerMessage(vbYes);
    widget<QPushButton>("cmdDelete")->click();
    EXPECT_EQ(script.shown().size(), 1u) << "no question about the changes of a deleted contact";
    EXPECT_TRUE(ed.isUnloaded());
    EXPECT_EQ(contactCount(), 2);
    EXPECT_EQ(list->Recordset().recordCount(), 0);
}

TEST_F(EditorCommandsTest, DeleteAnsweredNoKeepsTheContact)
{
    list->moveTo(baker);
    openEditorHere(true);
    DialogScript script;
    script.answerMessage(vbNo);
    widget<QPushButton>("cmdDelete")->click();
    EXPECT_EQ(contactCount(), 3);
    EXPECT_EQ(list->currentId(), baker);
}

TEST_F(EditorCommandsTest, DeleteOfANewOrNamelessContactOnlyTells)
{
    NameEdit &ed = openEditorHere(false);
    DialogScript script;
    script.answerMessage(vbOK).answerMessage(vbOK);
    widget<QPushButton>("cmdDelete")->click();
    EXPECT_EQ(script.shown()[0].text, "You cannot delete a record before you add it!");
    EXPECT_EQ(script.shown()[0].icon, platform::vbCritical);
    ed.unload();
    list->moveTo(able);
    openEditorHere(true);
    box("txtFirstName")->clear();
    box("txtLastName")->clear();
    widget<QPushButton>("cmdDelete")->click();
    EXPECT_EQ(script.shown()[1].text, "Name and Organization are blank.");
    EXPECT_EQ(script.shown()[1].title, "No record deleted");
    EXPECT_EQ(contactCount(), 3);
}

TEST_F(EditorCommandsTest, NextAndPreviousStopAtTheEnds)
{
    list->moveTo(baker);
    NameEdit &ed = openEditorHere(true);
    widget<QToolButton>("cmdNext")->click();
    EXPECT_EQ(text("txtLastName"), "Cole");
    widget<QToolButton>("cmdNext")->click();
    EXPECT_EQ(text("txtLastName"), "Cole");
    EXPECT_EQ(list->currentId(), cole);
    widget<QToolButton>("cmdPrev")->click();
    EXPECT_EQ(text("txtLastName"), "Baker");
    widget<QToolButton>("cmdPrev")->click();
    EXPECT_EQ(text("txtLastName"), "Able");
    widget<QToolButton>("cmdPrev")->click();
    EXPECT_EQ(text("txtLastName"), "Able");
    EXPECT_EQ(list->currentId(), able);
    EXPECT_EQ(ed.windowTitle(), "View/Edit an Existing Record");
    EXPECT_FALSE(gEditor.gRecordChanged);
    EXPECT_FALSE(gEditor.gRecordSaved);
}

TEST_F(EditorCommandsTest, NextSavesAChangedContactAndMovesOn)
{
    list->moveTo(able);
    NameEdit &ed = openEditorHere(true);
    box("txtCode")->setText("A-1");
    widget<QToolButton>("cmdNext")->click();
    EXPECT_EQ(stored(able, "Code").toString(), "A-1");
    EXPECT_TRUE(gEditor.gRecordSaved);
    EXPECT_FALSE(gEditor.gRecordChanged);
    EXPECT_EQ(text("txtLastName"), "Baker");
    EXPECT_TRUE(ed.isLoaded());
}

TEST_F(EditorCommandsTest, NextWithAChangeAndNoNameDoesNotMove)
{
    list->moveTo(able);
    openEditorHere(true);
    box("txtFirstName")->clear();
    box("txtLastName")->setText("  ");
    DialogScript script;
    script.answerMessage(vbOK).answerMessage(vbOK);
    widget<QToolButton>("cmdNext")->click();
    widget<QToolButton>("cmdPrev")->click();
    ASSERT_EQ(script.shown().size(), 2u);
    EXPECT_EQ(script.shown()[0].text, "You have made changes to the existing record, but it cannot be saved "
                                      "because it does not have a Name or an Organization.");
    EXPECT_EQ(list->currentId(), able);
    EXPECT_EQ(stored(able, "LastName").toString(), "Able");
}

TEST_F(EditorCommandsTest, NextOnAnEmptyListTells)
{
    list->moveTo(able);
    openEditorHere(true);
    list->source = QStringLiteral("Select * from tblContacts Where LastName = 'nobody'");
    list->Refresh();
    DialogScript script;
    script.answerMessage(vbOK);
    widget<QToolButton>("cmdNext")->click();
    EXPECT_EQ(script.shown()[0].title, "No records to display");
    EXPECT_EQ(script.shown()[0].icon, platform::vbInformation);
}

// A change stored by Next that takes the contact out of the list leaves the editor on it,
// and Save writes it still.
TEST_F(EditorCommandsTest, NextThatEmptiesTheListStaysOnTheContact)
{
    list->source = QStringLiteral("Select * from tblContacts Where LastName = 'Able'");
    list->Refresh();
    NameEdit &ed = openEditorHere(true);
    box("txtLastName")->setText("Abel");
    DialogScript script;
    script.answerMessage(vbOK);
    widget<QToolButton>("cmdNext")->click();
    box("txtCode")->setText("A-2");
    widget<QPushButton>("cmdSave")->click();
    EXPECT_EQ(script.shown().at(0).title, "No records to display");
    EXPECT_TRUE(ed.isUnloaded());
    EXPECT_EQ(stored(able, "LastName").toString() + stored(able, "Code").toString(), "AbelA-2");
}

TEST_F(EditorCommandsTest, CancelAfterAChangeAsks)
{
    list->moveTo(able);
    NameEdit &ed = openEditorHere(true);
    box("txtCode")->setText("x");
    DialogScript script;
    script.answerMessage(vbNo).answerMessage(vbYes);
    widget<QPushButton>("cmdCancel")->click();
    EXPECT_TRUE(ed.isLoaded());
    EXPECT_EQ(text("txtCode"), "x");
    EXPECT_EQ(script.shown()[0].text, "Lose any changes?");
    EXPECT_EQ(script.shown()[0].title, "Confirmation");
    EXPECT_EQ(script.shown()[0].icon, platform::vbQuestion);
    EXPECT_EQ(script.shown()[0].defaultButton, 1);
    widget<QPushButton>("cmdCancel")->click();
    EXPECT_TRUE(ed.isUnloaded());
    EXPECT_EQ(stored(able, "Code").toString(), "");
    EXPECT_FALSE(gEditor.gRecordChanged);
}

TEST_F(EditorCommandsTest, CancelWithoutAChangeClosesAtOnce)
{
    list->moveTo(able);
    NameEdit &ed = openEditorHere(true);
    widget<QPushButton>("cmdCancel")->click();
    EXPECT_TRUE(ed.isUnloaded());
}

TEST_F(EditorCommandsTest, ChangeAfterAnEarlierSaveIsAskedAbout)
{
    list->moveTo(able);
    NameEdit &ed = openEditorHere(true);
    box("txtCode")->setText("A-1");
    widget<QToolButton>("cmdNext")->click();
    box("txtCode")->setText("B-1");
    DialogScript script;
    script.answerMessage(vbNo);
    QTest::keyClick(box("txtCode"), Qt::Key_Escape);
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].text, "Lose any changes?");
    EXPECT_TRUE(ed.isLoaded());
}

TEST_F(EditorCommandsTest, PictureChangeWarnsWithNoAsDefault)
{
    list->moveTo(able);
    NameEdit &ed = openEditorHere(true);
    box("txtPic1File")->setText("pasted.jpg");
    gPictureHandOver.gPictureChanged = true;
    DialogScript script;
    script.answerMessage(vbYes);
    widget<QPushButton>("cmdCancel")->click();
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].title, " Warning - Picture was changed");
    EXPECT_TRUE(script.shown()[0].text.endsWith("instead.\r\rLose your changes?"));
    EXPECT_EQ(script.shown()[0].defaultButton, 2);
    EXPECT_EQ(script.shown()[0].icon, platform::vbExclamation);
    EXPECT_FALSE(gPictureHandOver.gPictureChanged);
    EXPECT_TRUE(ed.isUnloaded());
}

TEST_F(EditorCommandsTest, UnloadRemembersThePositionEvenWhenCancelled)
{
    list->moveTo(able);
    NameEdit &ed = openEditorHere(true);
    gEditor.gEditFormLeft = 0;
    box("txtCode")->setText("x");
    DialogScript script;
    script.answerMessage(vbNo);
    ed.unload();
    EXPECT_NE(gEditor.gEditFormLeft, 0);
    EXPECT_TRUE(ed.isLoaded());
    const int left = gEditor.gEditFormLeft;
    script.answerMessage(vbYes);
    ed.unload();
    NameEdit &ed2 = openEditorHere(true);
    EXPECT_EQ(qRound(platform::pixelsToTwipsX(ed2.frameGeometry().x())), left);
}

TEST_F(EditorCommandsTest, AddNewWithoutTemplateEmptiesDataAndKeepsDescriptions)
{
    list->moveTo(able);
    NameEdit &ed = openEditorHere(true);
    box("txtPhone1_Desc")->setText("Cell");
    box("txtPic3File")->setText("a.jpg");
    widget<QCheckBox>("cbUseForLabels")->setChecked(true);
    DialogScript script;
    widget<QPushButton>("cmdAddNew")->click();
    EXPECT_EQ(stored(able, "Phone1_Desc").toString(), "Cell") << "the change was saved first";
    EXPECT_EQ(text("txtLastName"), "");
    EXPECT_EQ(text("txtPic3File"), "");
    EXPECT_EQ(text("txtPhone1_Desc"), "Cell");
    EXPECT_EQ(widget<QPlainTextEdit>("txtNotes")->toPlainText(), "");
    EXPECT_TRUE(widget<QCheckBox>("cbUseForLabels")->isChecked());
    EXPECT_EQ(ed.windowTitle(), "Add a New Record");
    EXPECT_FALSE(gEditor.gEditExistingRecord);
    EXPECT_FALSE(gEditor.gRecordChanged);
    EXPECT_TRUE(widget<QPushButton>("cmdCategories")->isHidden());
    box("txtLastName")->setText("Dunn");
    widget<QPushButton>("cmdSave")->click();
    EXPECT_EQ(contactCount(), 4);
    EXPECT_EQ(stored(gEditor.gLastSavedRecordID, "LastName").toString(), "Dunn");
}

TEST_F(EditorCommandsTest, AddNewAfterARefusedSaveKeepsTheTypedData)
{
    openEditorHere(false);
    box("txtMiddleName")->setText("Only middle");
    DialogScript script;
    script.answerMessage(vbOK);
    widget<QPushButton>("cmdAddNew")->click();
    EXPECT_EQ(script.shown()[0].title, "Critical data was not supplied");
    EXPECT_EQ(text("txtMiddleName"), "Only middle");
    EXPECT_TRUE(gEditor.gRecordChanged);
    EXPECT_EQ(contactCount(), 3);
}

TEST_F(EditorCommandsTest, TemplateFillsANewContactWithoutItsSevenNameBoxes)
{
    const qint64 tmpl = addContact({{"Prefix", "Dr."},
                                    {"FirstName", "T"},
                                    {"MiddleName", "M"},
                                    {"LastName", "Template"},
                                    {"Suffix", "Jr."},
                                    {"Nickname", "N"},
                                    {"Title", "Boss"},
                                    {"First_City", "Springfield"},
                                    {"Code", "TPL"}});
    gEditor.gTemplateRecordID = tmpl;
    list->Refresh();
    openEditorHere(false);
    for (const char *name : {"txtPrefix", "txtFirstName", "txtMiddleName", "txtLastName", "txtSuffix",
                             "txtNickname", "txtTitle"})
        EXPECT_EQ(text(name), "") << name;
    EXPECT_EQ(text("txtFirst_City"), "Springfield");
    EXPECT_EQ(text("txtCode"), "TPL");
    EXPECT_EQ(list->currentId(), tmpl);
    EXPECT_TRUE(gEditor.gRecordChanged) << "emptying the template's names counts as a change";

    // Add New keeps prefix, suffix, nickname and title.
    box("txtLastName")->setText("First new");
    widget<QPushButton>("cmdAddNew")->click();
    EXPECT_EQ(text("txtPrefix"), "Dr.");
    EXPECT_EQ(text("txtTitle"), "Boss");
    EXPECT_EQ(text("txtFirstName"), "");
    EXPECT_EQ(text("txtLastName"), "");
    EXPECT_EQ(text("txtFirst_City"), "Springfield");
    EXPECT_EQ(contactCount(), 5);
}

TEST_F(EditorCommandsTest, TemplateNotDisplayedIsForgotten)
{
    const qint64 tmpl = addContact({{"LastName", "Template"}, {"Code", "TPL"}});
    writeTemplateSetting(temp.db(), tmpl);
    gEditor.gTemplateRecordID = tmpl;
    list->source = QStringLiteral("Select * from tblContacts Where LastName <> 'Template'");
    list->Refresh();
    openEditorHere(false);
    EXPECT_EQ(text("txtCode"), "");
    EXPECT_EQ(gEditor.gTemplateRecordID.toLongLong(), 0);
    EXPECT_EQ(temp.db().openRecordset(settingsRowQuery("TEMPLATE RecordID"))->value("Name").toString(),
              QString::number(tmpl));
}

TEST_F(EditorCommandsTest, MakeAndClearDefaultWriteTheSettingsRow)
{
    list->moveTo(baker);
    openEditorHere(true);
    DialogScript script;
    script.answerMessage(vbOK).answerMessage(vbOK);
    widget<QToolButton>("cmdMakeDefault")->click();
    EXPECT_EQ(gEditor.gTemplateRecordID.toLongLong(), baker);
    EXPECT_EQ(script.shown()[0].title, "Template Saved");
    auto rows = temp.db().openRecordset(settingsRowQuery("TEMPLATE RecordID"));
    EXPECT_EQ(rows->recordCount(), 1);
    EXPECT_EQ(rows->value("Name").toString(), QString::number(baker));
    widget<QToolButton>("cmdClearDefault")->click();
    EXPECT_EQ(gEditor.gTemplateRecordID.toLongLong(), 0);
    EXPECT_EQ(script.shown()[1].text, "Template reset to original default.");
    rows = temp.db().openRecordset(settingsRowQuery("TEMPLATE RecordID"));
    EXPECT_EQ(rows->recordCount(), 1);
    EXPECT_EQ(rows->value("Name").toString(), "0");
}

TEST_F(EditorCommandsTest, MakeDefaultAndReminderOnANewContactOnlyTell)
{
    openEditorHere(false);
    DialogScript script;
    script.answerMessage(vbOK);
    widget<QToolButton>("cmdMakeDefault")->click();
    EXPECT_EQ(script.shown()[0].title, "Must save record first");
    EXPECT_EQ(gEditor.gTemplateRecordID.toLongLong(), 0);
    EXPECT_EQ(temp.db().openRecordset(settingsRowQuery("TEMPLATE RecordID"))->recordCount(), 0);
}

TEST_F(EditorCommandsTest, SaveOfANewContactThenNextSwitchesToEditing)
{
    openEditorHere(false);
    box("txtLastName")->setText("Aaron");
    widget<QToolButton>("cmdNext")->click();
    EXPECT_EQ(contactCount(), 4);
    EXPECT_TRUE(gEditor.gEditExistingRecord);
    // The list stood on the stored contact (first by name) and moved on to the next.
    EXPECT_EQ(text("txtLastName"), "Able");
    widget<QToolButton>("cmdPrev")->click();
    EXPECT_EQ(text("txtLastName"), "Aaron");
    box("txtCode")->setText("edited");
    widget<QPushButton>("cmdSave")->click();
    EXPECT_EQ(contactCount(), 4) << "the second save changed the stored row";
    EXPECT_EQ(stored(gEditor.gLastSavedRecordID, "Code").toString(), "edited");
}

TEST_F(EditorCommandsTest, ModalOpeningThroughTheEntryPoint)
{
    list->moveTo(baker);
    DialogScript script;
    script.onModal("NameEdit", [](QWidget *w) {
        DialogScript::setText(w, "txtCode", "modal");
        DialogScript::click(w, "cmdSave");
    });
    NameEdit::open(*list, true, "View/Edit an Existing Record");
    EXPECT_EQ(stored(baker, "Code").toString(), "modal");
    EXPECT_EQ(list->currentId(), baker);
    EXPECT_EQ(NameEdit::loaded(), nullptr);
}

// The windows of other subsystems, standing in until they are built.
class EditorHooksTest : public EditorCommandsTest {
  protected:
    void SetUp() override
    {
        EditorCommandsTest::SetUp();
        EditorHooks::showCategoryAssign = [this] { categoryShownFor << list->currentId(); };
        EditorHooks::showReminder = [this] { remindFlagWhileShown = gEditor.gRemindFromEditor; };
    }
    void TearDown() override
    {
        EditorHooks::showCategoryAssign = {};
        EditorHooks::showReminder = {};
        EditorCommandsTest::TearDown();
    }
    QList<qint64> categoryShownFor;
    bool remindFlagWhileShown = false;
};

TEST_F(EditorHooksTest, CategoryWindowAfterTheSaveButtonStoredANewContact)
{
    gEditor.gAssignCategoryOnAdd = 1;
    openEditorHere(false);
    EXPECT_TRUE(widget<QPushButton>("cmdCategories")->isEnabled());
    box("txtLastName")->setText("Newman");
    widget<QPushButton>("cmdSave")->click();
    ASSERT_EQ(categoryShownFor.size(), 1);
    EXPECT_EQ(categoryShownFor[0], gEditor.gLastSavedRecordID) << "on the new contact";
    EXPECT_FALSE(gEditor.gNewRecordAdded);
}

TEST_F(EditorHooksTest, NoCategoryWindowForAContactStoredByNextOrWhenSwitchedOff)
{
    gEditor.gAssignCategoryOnAdd = 1;
    openEditorHere(false);
    box("txtLastName")->setText("Newman");
    widget<QToolButton>("cmdNext")->click();
    widget<QPushButton>("cmdCancel")->click();
    EXPECT_TRUE(categoryShownFor.isEmpty());

    gEditor.gAssignCategoryOnAdd = 0;
    openEditorHere(false);
    box("txtLastName")->setText("Other");
    widget<QPushButton>("cmdSave")->click();
    EXPECT_TRUE(categoryShownFor.isEmpty());
}

TEST_F(EditorHooksTest, CategoriesAndReminderButtonsOpenTheirWindows)
{
    list->moveTo(cole);
    openEditorHere(true);
    widget<QPushButton>("cmdCategories")->click();
    EXPECT_EQ(categoryShownFor, QList<qint64>({cole}));
    widget<QPushButton>("cmdRemind")->click();
    EXPECT_TRUE(remindFlagWhileShown);
    EXPECT_FALSE(gEditor.gRemindFromEditor);
}

TEST_F(EditorHooksTest, ReminderForANewContactOnlyTells)
{
    openEditorHere(false);
    DialogScript script;
    script.answerMessage(vbOK);
    widget<QPushButton>("cmdRemind")->click();
    EXPECT_EQ(script.shown()[0].title, "Please save this record first");
    EXPECT_EQ(script.shown()[0].icon, platform::vbCritical);
    EXPECT_FALSE(remindFlagWhileShown);
}

TEST_F(EditorCommandsTest, EditAndDeleteWhileACategoryIsShown)
{
    for (qint64 id : {able, baker, cole})
        temp.db().execute(
            QStringLiteral("INSERT INTO tblCategoryID (ID, CategoryNumber) VALUES (%1, 5)").arg(id));
    list->category = 5;
    list->source =
        QStringLiteral("Select * from  qryContacts Where  CategoryNumber = 5  Order By LastName, FirstName ");
    list->Refresh();
    list->moveTo(able);
    openEditorHere(true);
    box("txtCode")->setText("in five");
    widget<QToolButton>("cmdNext")->click();
    EXPECT_EQ(stored(able, "Code").toString(), "in five");
    EXPECT_EQ(temp.db().openRecordset("Select * from tblCategoryID")->recordCount(), 3) << "no second link";
    EXPECT_EQ(text("txtLastName"), "Baker");
    DialogScript script;
    script.answerMessage(vbYes);
    widget<QPushButton>("cmdDelete")->click();
    EXPECT_FALSE(exists(baker));
    EXPECT_EQ(text("txtLastName"), "Cole");
    EXPECT_EQ(list->Recordset().recordCount(), 2);
}
