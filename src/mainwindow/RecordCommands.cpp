#include "mainwindow/RecordCommands.h"

#include "dialing/CommSettingsForm.h"
#include "dialing/DialingForm.h"
#include "editor/FieldRules.h"
#include "editor/MemoForm.h"
#include "editor/NameEdit.h"
#include "helpers/DatabaseState.h"
#include "helpers/GLOBAL.h"
#include "helpers/RecordSource.h"
#include "helpers/ValueHelpers.h"
#include "mainwindow/GridEvents.h"
#include "mainwindow/MainControls.h"
#include "mainwindow/NameList.h"
#include "platform/RuntimeError.h"
#include "platform/db/DataControl.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/MsgBox.h"
#include "reminders/ReminderCommands.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

using platform::MousePointer;
using platform::RuntimeError;
using platform::setMousePointer;

RecordCommands::RecordCommands(NameList &window) : mWindow(window), mUi(*window.mUi) {}

void RecordCommands::cmdAdd_Click()
{
    gEditor.gEditExistingRecord = false;
    setRecordButtonsEnabled(false);
    DataControlLink link(*mUi.Data1, editorView());
    NameEdit::open(link, false, QStringLiteral("Add a New Record"));
    setRecordButtonsEnabled(true);
    mWindow.setAddAllowed(true);
}

void RecordCommands::cmdEdit_Click()
{
    const bool addWasAllowed = mWindow.addAllowed();
    try {
        mWindow.grid().Table1_ClearClickFlag();
        platform::Recordset *rs = mUi.Data1->recordset();
        if (!rs || rs->recordCount() < 1) {
            platform::MsgBox(
                QStringLiteral("There are no records displayed, so you can't View or Edit them.  Add "
                               "some records or change the Category or Selection Criteria to display "
                               "records first."),
                platform::vbInformation, QStringLiteral("No records to View or Edit"));
            return;
        }
        setMousePointer(MousePointer::Hourglass);
        gEditor.gEditExistingRecord = true;
        setRecordButtonsEnabled(false);
        DataControlLink link(*mUi.Data1, editorView());
        NameEdit::open(link, true, QStringLiteral("View/Edit an Existing Record"));
    } catch (const RuntimeError &error) {
        platform::MsgBox(error.description(), platform::vbOKOnly,
                         QStringLiteral("NameList - cmdEdit_click - Microsoft Error Message"));
        // The buttons and the pointer come back after a failure too.
        setMousePointer(MousePointer::Default);
    }
    setRecordButtonsEnabled(true);
    mWindow.setAddAllowed(addWasAllowed);
    gEditor.gEditExistingRecord = false;
}

void RecordCommands::cmdDelete_Click()
{
    try {
        platform::Recordset *rs = mUi.Data1->recordset();
        if (!rs || rs->recordCount() < 1) {
            platform::MsgBox(QStringLiteral("There are no records displayed, so there is nothing to delete."),
                             platform::vbInformation, QStringLiteral("No records to delete"));
        } else {
            const QString name = QStringLiteral("(") +
                                 deleteConfirmationName(rs->value(QStringLiteral("FirstName")),
                                                        rs->value(QStringLiteral("MiddleName")),
                                                        rs->value(QStringLiteral("LastName")),
                                                        rs->value(QStringLiteral("Organization"))) +
                                 QStringLiteral(")");
            if (platform::MsgBox(QStringLiteral("Are you sure you want to delete this record?\r") + name,
                                 platform::vbYesNo + platform::vbQuestion,
                                 QStringLiteral("Confirmation")) == platform::vbYes) {
                if (mWindow.grid().gridAllowUpdate()) {
                    // Leaving the row and coming back ends a cell edit in it, which is
                    // written before the row goes.
                    const platform::Bookmark mark = rs->bookmark();
                    rs->moveNext();
                    rs->setBookmark(mark);
                }
                rs->deleteRecord();
                mUi.txtName->setPlainText(QStringLiteral("Record Deleted!"));
                mUi.txtPhone->clear();
                // The only contact of the list gone: the empty list has no row to move to.
                if (rs->recordCount() > 0) {
                    rs->moveNext();
                    if (rs->eof())
                        rs->movePrevious();
                }
            }
        }
    } catch (const RuntimeError &error) {
        platform::MsgBox(error.description());
    }
    mUi.txtLocate->setFocus();
}

void RecordCommands::cmdNotes_Click()
{
    MemoForm::open(*gDb);
}

void RecordCommands::cmdDial_Click()
{
    platform::Recordset *rs = mUi.Data1->recordset();
    if (!rs || rs->recordCount() <= 0) {
        platform::MsgBox(QStringLiteral("There are no records displayed for dialing."),
                         platform::vbInformation, QStringLiteral("No phone number to dial"));
        return;
    }
    gEditor.gDialFromList = true;
    DialingForm::open(phonesOfCurrentRow([this] { return mUi.Data1->recordset(); }));
    gEditor.gDialFromList = false;
}

void RecordCommands::ModemPortMenu_Click()
{
    CommSettingsForm::open();
}

void RecordCommands::cmdRemind_Click()
{
    showReminderWindow();
}

void RecordCommands::CurrentReminders_Show()
{
    showDueReminders();
}

void RecordCommands::setRecordButtonsEnabled(bool enabled)
{
    for (const char *name : {"cmdDelete", "cmdAdd", "cmdEdit", "cmdExit"}) {
        const QString command = QString::fromLatin1(name);
        mWindow.button(command)->setEnabled(enabled && mWindow.hasHandler(command));
    }
}

DataControlLink::View RecordCommands::editorView()
{
    return {[this] { return mUi.lblCategory->text(); },
            [] { return gRecordSource.gSelectedClause.contains(QLatin1String("Selected =")); },
            [this] { return isFindResultCaption(mUi.lblCategory->text()); },
            [] { return categoryNumberOf(gRecordSource.gCategoryClause); }};
}
