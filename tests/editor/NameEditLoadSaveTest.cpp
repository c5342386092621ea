#include "EditorFixture.h"

#include "editor/ContactFields.h"
#include "helpers/GLOBAL.h"
#include "platform/db/jet/JetValue.h"
#include "platform/ui/MsgBox.h"

#include <QLabel>
#include <sqlcipher/sqlite3.h>

namespace {

// A value for every text field, each different, with blanks around some.
QVariantMap everyTextField()
{
    QVariantMap fields;
    for (const QString &field : saveOrder()) {
        if (field == QLatin1String("AddressForLabels") || field == QLatin1String("DateUpdated") ||
            field == QLatin1String("PrintNotes") || isDateField(field) || isPictureField(field))
            continue;
        fields.insert(field, field.left(3) + QStringLiteral(" v"));
    }
    fields.insert(QStringLiteral("Notes"), QStringLiteral(u"Line\u00a0one\r\nLine\u2028two\nthree"));
    fields.insert(QStringLiteral("FirstName"), QStringLiteral("  Ann "));
    return fields;
}

} // namespace

TEST(ContactFieldOrder, SixtySixFieldsInBothOrders)
{
    EXPECT_EQ(saveOrder().size(), 66);
    EXPECT_EQ(loadOrder().size(), 66);
    QStringList a = saveOrder(), b = loadOrder();
    a.sort();
    b.sort();
    EXPECT_EQ(a, b);
    EXPECT_EQ(a.removeDuplicates(), 0);
    // Phones: the description is written first and filled second.
    EXPECT_LT(saveOrder().indexOf("Phone1_Desc"), saveOrder().indexOf("Phone1"));
    EXPECT_LT(loadOrder().indexOf("Phone1"), loadOrder().indexOf("Phone1_Desc"));
    EXPECT_EQ(saveOrder().indexOf("DateUpdated"), saveOrder().indexOf("Code") + 1);
    EXPECT_EQ(loadOrder().last(), "PrintNotes");
    EXPECT_EQ(boxNameOf("PicturePath7"), "txtPic7File");
    EXPECT_EQ(boxNameOf("Second_PostalCode"), "txtSecond_PostalCode");
}

TEST_F(EditorTest, EveryFieldRoundTripsAsTyped)
{
    QVariantMap fields = everyTextField();
    fields.insert("Date1", QDateTime(QDate(1990, 7, 4), QTime(0, 0)));
    fields.insert("Date2", QDateTime(QDate(2001, 2, 3), QTime(13, 30, 0)));
    fields.insert("PicturePath1", "me.jpg");
    fields.insert("AddressForLabels", 2);
    fields.insert("PrintNotes", platform::JetTrue);
    const qint64 id = addContact(fields);
    list->Refresh();
    NameEdit &ed = openEditorHere(true);

    EXPECT_FALSE(gEditor.gRecordChanged);
    EXPECT_EQ(text("txtFirstName"), "  Ann ");
    EXPECT_EQ(text("txtPhone4_Desc"), "Pho v");
    EXPECT_EQ(text("txtDate1"), "7/4/1990");
    EXPECT_EQ(text("txtDate2"), "2/3/2001 1:30:00 PM");
    EXPECT_EQ(text("txtDate3"), "");
    EXPECT_EQ(text("txtPic1File"), "me.jpg");
    EXPECT_TRUE(widget<QCheckBox>("cbUseForLabels")->isChecked());
    EXPECT_TRUE(widget<QCheckBox>("cbPrintNotes")->isChecked());
    EXPECT_EQ(widget<QPlainTextEdit>("txtNotes")->toPlainText(), "Line one\nLine\ntwo\nthree");

    box("txtPic2File")->setText("  new.jpg  ");
    box("txtPic1File")->setText("   ");
    EXPECT_TRUE(gEditor.gRecordChanged);
    widget<QPushButton>("cmdSave")->click();
    EXPECT_TRUE(ed.isUnloaded());
    EXPECT_TRUE(gEditor.gRecordSaved);
    EXPECT_EQ(gEditor.gLastSavedRecordID, id);
    EXPECT_FALSE(gEditor.gNewRecordAdded);

    for (auto it = fields.cbegin(); it != fields.cend(); ++it) {
        if (it.key() == "Notes" || it.key().startsWith("Date") || it.key().startsWith("Picture") ||
            it.key() == "AddressForLabels" || it.key() == "PrintNotes")
            continue;
        EXPECT_EQ(stored(id, it.key()).toString(), it.value().toString()) << it.key().toStdString();
    }
    EXPECT_EQ(stored(id, "Notes"), fields["Notes"]) << "kept as stored";
    EXPECT_EQ(stored(id, "Date1").toDateTime(), QDateTime(QDate(1990, 7, 4), QTime(0, 0)));
    EXPECT_EQ(stored(id, "Date2").toDateTime(), QDateTime(QDate(2001, 2, 3), QTime(13, 30, 0)));
    EXPECT_FALSE(stored(id, "Date3").isValid());
    EXPECT_FALSE(stored(id, "PicturePath1").isValid()) << "all blanks stores Null";
    EXPECT_EQ(stored(id, "PicturePath2").toString(), "new.jpg");
    EXPECT_EQ(stored(id, "AddressForLabels").toInt(), 2);
    EXPECT_TRUE(stored(id, "PrintNotes").toBool());
    EXPECT_EQ(stored(id, "DateUpdated").toDateTime(), QDateTime(QDate(2024, 3, 5), QTime(14, 30, 15)));
}

TEST_F(EditorTest, NullRowLoadsEmptyAndSavesEmptyTextsAndNulls)
{
    const qint64 id = addContact({{"Organization", QVariant()}});
    // The one name the save needs is typed after the load.
    list->Refresh();
    NameEdit &ed = openEditorHere(true);
    EXPECT_EQ(text("txtLastName"), "");
    EXPECT_EQ(text("txtFirst_Address_Desc"), "") << "a stored empty description replaces the design text";
    EXPECT_EQ(text("txtPhone6_Desc"), "Other Phone");
    EXPECT_EQ(text("txtUserField3_Desc"), "User Field 3");
    EXPECT_FALSE(widget<QCheckBox>("cbUseForLabels")->isChecked());
    EXPECT_EQ(widget<QLabel>("lblDateUpdated")->text(), "");
    EXPECT_FALSE(gEditor.gRecordChanged);
    box("txtLastName")->setText("Zed");
    ed.cmdSave_Click();
    EXPECT_TRUE(ed.isUnloaded()) << "stored, the editor closes";

    EXPECT_EQ(stored(id, "LastName").toString(), "Zed");
    for (const char *field : {"FirstName", "Organization", "First_City", "Phone2", "Email_Address", "Code",
                              "Notes", "Date3_Desc", "UserField2"}) {
        const QVariant v = stored(id, field);
        EXPECT_TRUE(v.isValid()) << field << " stores the empty text, not Null";
        EXPECT_EQ(v.toString(), "") << field;
    }
    for (const char *field : {"Date1", "Date5", "PicturePath1", "PicturePath8"})
        EXPECT_FALSE(stored(id, field).isValid()) << field;
    EXPECT_EQ(stored(id, "AddressForLabels").toInt(), 1);
    EXPECT_EQ(stored(id, "Phone6_Desc").toString(), "Other Phone");
}

TEST_F(EditorTest, AddressForLabelsOnlyTwoLoadsChecked)
{
    for (const QVariant &value : {QVariant(0), QVariant(1), QVariant(3), QVariant(), QVariant(2)}) {
        const qint64 id = addContact({{"LastName", "L"}, {"AddressForLabels", value}});
        list->Refresh();
        list->moveTo(id);
        NameEdit &ed = openEditorHere(true);
        EXPECT_EQ(widget<QCheckBox>("cbUseForLabels")->isChecked(), value.isValid() && value.toInt() == 2)
            << value.toString().toStdString();
        box("txtLastName")->setText("L2");
        ed.cmdSave_Click();
        EXPECT_TRUE(ed.isUnloaded()) << "stored, the editor closes";
        EXPECT_EQ(stored(id, "AddressForLabels").toInt(), value.toInt() == 2 ? 2 : 1);
        ed.unload();
    }
}

TEST_F(EditorTest, PrintNotesAndTheCheckBoxesNeverMarkAChange)
{
    const qint64 id = addContact({{"LastName", "L"}, {"PrintNotes", platform::JetFalse}});
    list->Refresh();
    NameEdit &ed = openEditorHere(true);
    EXPECT_FALSE(widget<QCheckBox>("cbPrintNotes")->isChecked());
    widget<QCheckBox>("cbPrintNotes")->click();
    widget<QCheckBox>("cbUseForLabels")->click();
    widget<QCheckBox>("ProperFlag")->click();
    EXPECT_FALSE(gEditor.gRecordChanged);
    ed.cmdSave_Click();
    EXPECT_TRUE(ed.isUnloaded()) << "stored, the editor closes";
    EXPECT_TRUE(stored(id, "PrintNotes").toBool());
    EXPECT_EQ(stored(id, "AddressForLabels").toInt(), 2);
}

TEST_F(EditorTest, DateTypedAsTextLoadsBackInTheShortForm)
{
    const qint64 id = addPerson("A", "B");
    list->Refresh();
    NameEdit &ed = openEditorHere(true);
    box("txtDate1")->setText("2024-12-25");
    box("txtDate2")->setText("12/25/2024 8:05:00 AM");
    ed.cmdSave_Click();
    EXPECT_TRUE(ed.isUnloaded()) << "stored, the editor closes";
    list->moveTo(id);
    ed.transfer().MoveDataToForm();
    EXPECT_EQ(text("txtDate1"), "12/25/2024");
    EXPECT_EQ(text("txtDate2"), "12/25/2024 8:05:00 AM");
    EXPECT_FALSE(gEditor.gRecordChanged);
}

TEST_F(EditorTest, NewContactIsAddedWithItsKeyAndTheDefaultMark)
{
    addPerson("Ann", "Able");
    openEditor(false);
    EXPECT_EQ(text("txtFirst_Address_Desc"), "First Address");
    EXPECT_EQ(text("txtPhone3_Desc"), "Fax");
    EXPECT_TRUE(widget<QCheckBox>("cbPrintNotes")->isChecked());
    EXPECT_FALSE(widget<QCheckBox>("cbUseForLabels")->isChecked());
    EXPECT_TRUE(widget<QPushButton>("cmdCategories")->isHidden());
    box("txtLastName")->setText("Baker");
    widget<QPushButton>("cmdSave")->click();
    EXPECT_EQ(contactCount(), 2);
    EXPECT_TRUE(gEditor.gRecordSaved);
    const qint64 id = gEditor.gLastSavedRecordID;
    EXPECT_GT(id, 0);
    EXPECT_EQ(stored(id, "LastName").toString(), "Baker");
    EXPECT_EQ(stored(id, "Selected").toString(), " ");
    EXPECT_EQ(stored(id, "Phone1_Desc").toString(), "Home Phone");
    // The unload put the main list on the new contact.
    EXPECT_EQ(list->currentId(), id);
    EXPECT_FALSE(gEditor.gNewRecordAdded);
}

TEST_F(EditorTest, NewContactWhileACategoryIsShownIsFiledInIt)
{
    list->category = 5;
    NameEdit &ed = openEditor(false);
    box("txtOrganization")->setText("Quilt Guild");
    ed.cmdSave_Click();
    EXPECT_TRUE(ed.isUnloaded()) << "stored, the editor closes";
    auto links = temp.db().openRecordset("Select * from tblCategoryID");
    ASSERT_EQ(links->recordCount(), 1);
    EXPECT_EQ(links->value("ID").toLongLong(), gEditor.gLastSavedRecordID);
    EXPECT_EQ(links->value("CategoryNumber").toInt(), 5);
}

TEST_F(EditorTest, ExistingContactNeverGetsALink)
{
    addPerson("Ann", "Able");
    list->category = 5;
    NameEdit &ed = openEditor(true);
    box("txtCode")->setText("X1");
    ed.cmdSave_Click();
    EXPECT_TRUE(ed.isUnloaded()) << "stored, the editor closes";
    EXPECT_EQ(temp.db().openRecordset("Select * from tblCategoryID")->recordCount(), 0);
}

TEST_F(EditorTest, NoCategoryShownNoLink)
{
    NameEdit &ed = openEditor(false);
    box("txtLastName")->setText("Solo");
    ed.cmdSave_Click();
    EXPECT_TRUE(ed.isUnloaded()) << "stored, the editor closes";
    EXPECT_EQ(temp.db().openRecordset("Select * from tblCategoryID")->recordCount(), 0);
}

TEST_F(EditorTest, SaveWithoutANameStoresNothing)
{
    NameEdit &ed = openEditor(false);
    DialogScript script;
    script.answerMessage(platform::vbOK);
    box("txtMiddleName")->setText("Middle");
    box("txtLastName")->setText("   ");
    box("txtNickname")->setText("Nick");
    widget<QPushButton>("cmdSave")->click();
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].text,
              "You cannot add a record that does not have a Name or an Organization.");
    EXPECT_EQ(script.shown()[0].title, "Critical data was not supplied");
    EXPECT_EQ(script.shown()[0].icon, platform::vbExclamation);
    EXPECT_EQ(contactCount(), 0);
    EXPECT_FALSE(gEditor.gRecordSaved);
    EXPECT_TRUE(ed.isLoaded());
}

TEST_F(EditorTest, RefusedSaveKeepsTheEditorOpenAndSetsNoFlags)
{
    const qint64 before = addPerson("Ann", "Able");
    gEditor.gLastSavedRecordID = before;
    NameEdit &ed = openEditor(false);
    box("txtLastName")->setText("Baker");
    // The engine refuses the new row.
    sqlite3_exec(temp.db().handle(),
                 "CREATE TRIGGER refuse BEFORE INSERT ON tblContacts BEGIN SELECT RAISE(ABORT, 'refused'); END",
                 nullptr, nullptr, nullptr);
    DialogScript script;
    script.answerMessage(platform::vbOK);
    widget<QPushButton>("cmdSave")->click();
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_TRUE(script.shown()[0].text.contains(" - Error number:"))
        << script.shown()[0].text.toStdString();
    EXPECT_TRUE(ed.isLoaded()) << "what was typed is kept";
    EXPECT_EQ(text("txtLastName"), "Baker");
    EXPECT_FALSE(gEditor.gRecordSaved);
    EXPECT_FALSE(gEditor.gNewRecordAdded);
    EXPECT_EQ(gEditor.gLastSavedRecordID, before);
    EXPECT_EQ(contactCount(), 1);
    EXPECT_TRUE(gEditor.gRecordChanged);
}

TEST_F(EditorTest, ShortUserFieldSizeLowersTheNameLimits)
{
    addPerson("Ann", "Able");
    gEditor.gUserField1Size = 50;
    gEditor.gCodeMaxLength = 50;
    openEditor(true);
    EXPECT_EQ(box("txtUserField2")->maxLength(), 50);
    EXPECT_EQ(box("txtEmail_Address")->maxLength(), 50);
    EXPECT_EQ(box("txtLastName")->maxLength(), 40);
    EXPECT_EQ(box("txtMiddleName")->maxLength(), 25);
    EXPECT_EQ(box("txtFirstName")->maxLength(), 40);
    EXPECT_EQ(box("txtOrganization")->maxLength(), 60);
    EXPECT_EQ(box("txtCode")->maxLength(), 50);
    EXPECT_EQ(box("txtPrefix")->maxLength(), 50);
    EXPECT_EQ(box("txtFirst_State")->maxLength(), 25);
    EXPECT_GE(box("txtDate1")->maxLength(), 30) << "a date with a time fits";
}

TEST_F(EditorTest, FullUserFieldSizeKeepsTheDesignLimits)
{
    addPerson("Ann", "Able");
    openEditor(true);
    EXPECT_EQ(box("txtLastName")->maxLength(), 255);
    EXPECT_EQ(box("txtUserField1")->maxLength(), 255);
    EXPECT_EQ(box("txtCode")->maxLength(), 20);
    EXPECT_EQ(box("txtPhone1")->maxLength(), 30);
    EXPECT_EQ(box("txtPhone1_Desc")->maxLength(), 20);
}

TEST_F(EditorTest, LoadOnAnEmptyListReportsAndCloses)
{
    DialogScript script;
    script.answerMessage(platform::vbOK);
    NameEdit &ed = openEditor(true);
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_TRUE(script.shown()[0].text.endsWith(" - Error number:3021"))
        << script.shown()[0].text.toStdString();
    EXPECT_TRUE(ed.isUnloaded());
}

TEST_F(EditorTest, LoadShowsTodayAndHidesButtonsForFindResultsAndSelections)
{
    addPerson("Ann", "Able");
    list->caption = QStringLiteral("Records containing \"ann\"");
    NameEdit &ed = openEditor(true);
    EXPECT_EQ(widget<QLabel>("lblTodaysDate")->text(), "3/5/2024");
    EXPECT_TRUE(widget<QPushButton>("cmdAddNew")->isHidden());
    EXPECT_TRUE(widget<QPushButton>("cmdDelete")->isHidden());
    EXPECT_FALSE(widget<QPushButton>("cmdCategories")->isHidden());
    ed.unload();

    list->caption.clear();
    list->selectedOnly = true;
    openEditor(true);
    EXPECT_TRUE(widget<QPushButton>("cmdAddNew")->isHidden());
    EXPECT_FALSE(widget<QPushButton>("cmdDelete")->isHidden());
}

TEST_F(EditorTest, FirstOpeningIsCentredAndNearTheTopInTabletMode)
{
    addPerson("Ann", "Able");
    NameEdit &ed = openEditor(true);
    EXPECT_NEAR(platform::pixelsToTwipsX(ed.frameGeometry().x()),
                (platform::screenWidthTwips() - platform::windowWidthTwips(&ed)) / 2, 30);
    ed.unload();
    gEditor.gEditFormLeft = 0;
    gTabletMode = true;
    NameEdit &tablet = openEditor(true);
    gTabletMode = false;
    EXPECT_NEAR(platform::pixelsToTwipsY(tablet.frameGeometry().y()), 10, 15);
    EXPECT_FALSE(widget<QToolButton>("ImageKeyboard")->isHidden());
}
