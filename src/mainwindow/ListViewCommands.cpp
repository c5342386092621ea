#include "mainwindow/ListViewCommands.h"

#include "helpers/DatabaseState.h"
#include "helpers/RecordSource.h"
#include "helpers/SettingsRow.h"
#include "helpers/SortOrder.h"
#include "mainwindow/GridEvents.h"
#include "mainwindow/MainControls.h"
#include "mainwindow/MainWindowSettings.h"
#include "mainwindow/NameList.h"
#include "platform/RuntimeError.h"
#include "platform/db/DataControl.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/MsgBox.h"
#include "selection/CategoryAssign.h"
#include "selection/CategoryForm.h"
#include "selection/CatgAssignAll.h"
#include "selection/CriteriaForm.h"
#include "selection/FindAnyText.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

using platform::RuntimeError;

ListViewCommands::ListViewCommands(NameList &window) : mWindow(window), mUi(*window.mUi) {}

void ListViewCommands::ShowAllMenu_Click()
{
    platform::BusyPointer busy;
    mWindow.grid().Table1_ClearClickFlag();
    gSql = CategorySettingsQuery;
    {
        std::unique_ptr<platform::Recordset> category = gDb->openRecordset(gSql);
        // A read-only database keeps its start-up category; the view changes all the same.
        if (!category->eof() && !gDb->readOnly()) {
            category->moveFirst();
            category->deleteRecord();
        }
    }
    showAllContacts();
}

void ListViewCommands::showAllContacts()
{
    mUi.lblFilterMsg->setVisible(false);
    mWindow.refreshList(storeParts(showAllRecordSource(gRecordSource)));
    mWindow.setCategoryCaption(QString());
    if (gMainWindow.gSelectedCount > 0)
        mWindow.button(QStringLiteral("cmdShowSelected"))->setVisible(true);
    mWindow.setAddAllowed(true);
    platform::Recordset *rs = mUi.Data1->recordset();
    // The first row is current; the rest of the list is read as the grid needs it, not
    // all before the window can paint.
    if (rs && rs->recordCount() >= 1)
        rs->moveFirst();
}

void ListViewCommands::ShowSelectedOnlyMenu_Click()
{
    platform::BusyPointer busy;
    mWindow.refreshList(storeParts(showSelectedOnlyRecordSource(gRecordSource)));
    if (mUi.lblCategory->text().startsWith(FindResultCaptionPrefix + QLatin1Char(' ')))
        mWindow.setCategoryCaption(QString());
    mWindow.setAddAllowed(false);
}

void ListViewCommands::HideSelectedMenu_Click()
{
    platform::BusyPointer busy;
    mWindow.refreshList(storeParts(hideSelectedRecordSource(gRecordSource)));
    if (mUi.lblCategory->text().startsWith(FindResultCaptionPrefix + QLatin1Char(' ')))
        mWindow.setCategoryCaption(QString());
}

void ListViewCommands::RemoveSelectionsMenu_Click()
{
    platform::BusyPointer busy;
    gDb->execute(ClearSelectionMarksSql);
    gMainWindow.gSelectedCount = 0;
    mUi.lblSelectedCount->setText(QString());
    mWindow.refreshList(storeParts(removeSelectionsRecordSource(gRecordSource)));
    mWindow.button(QStringLiteral("cmdShowSelected"))->setVisible(false);
    mWindow.setAddAllowed(true);
}

void ListViewCommands::DisplayRecCntMenu_Click()
{
    platform::BusyPointer busy;
    qint64 count = 0;
    {
        std::unique_ptr<platform::Recordset> rs = gDb->openRecordset(recordCountQuery(gRecordSource));
        if (rs->recordCount() > 0) {
            rs->moveFirst();
            count = rs->value(QStringLiteral("RowCount")).toLongLong();
        }
    }
    platform::Recordset *shown = mUi.Data1->recordset();
    const QString message = recordCountMessage(shown && shown->recordCount() > 0, count);
    busy.release();
    platform::MsgBox(message, platform::vbOKOnly, RecordCountTitle);
}

void ListViewCommands::cmdShowAll_Click()
{
    ShowAllMenu_Click();
    mUi.Table1->setFocus();
}

void ListViewCommands::cmdShowSelected_Click()
{
    ShowSelectedOnlyMenu_Click();
    mWindow.button(QStringLiteral("cmdShowSelected"))->setVisible(false);
    mWindow.setAddAllowed(false);
    mUi.Table1->setFocus();
}

void ListViewCommands::storeSortChoice(const QString &choice)
{
    storeSettingsRow(*gDb, GridSortOrderType, choice);
}

void ListViewCommands::cmbSort_Click()
{
    sortByChoice(true);
}

void ListViewCommands::restoreSortChoice()
{
    sortByChoice(false);
}

void ListViewCommands::sortByChoice(bool reopenList)
{
    const QString choice = mUi.cmbSort->currentText();
    // A choice that cannot be kept still sorts the list for this run; the user is told
    // once the list shows again.
    QString notStored;
    {
        platform::BusyPointer busy;
        const RecordSourceState before = gRecordSource;
        const SortChoice sort = applySortChoice(choice);
        mWindow.grid().Table1_ClearClickFlag();
        const QString recordSource = storeParts(sortedRecordSource(gRecordSource));
        if (reopenList) {
            // The list is opened in the new order before anything else changes: a list that
            // cannot be read (another program holding the file) leaves the rows, the current
            // contact and the order as they were.
            try {
                mWindow.refreshList(recordSource);
            } catch (const RuntimeError &error) {
                gRecordSource = before;
                mUi.cmbSort->setCurrentIndex(mUi.cmbSort->findText(mChoiceInForce));
                busy.release();
                platform::MsgBox(sortNotChangedText(choice, error.description()), platform::vbExclamation,
                                 SortNotChangedTitle);
                return;
            }
        } else {
            // At start-up no list is open yet.
            mUi.Data1->clear();
        }
        mChoiceInForce = choice;
        try {
            storeSortChoice(choice);
        } catch (const RuntimeError &error) {
            notStored = error.description();
        }
        if (gContactsTable) {
            try {
                gContactsTable->setIndex(sort.indexName);
            } catch (const RuntimeError &) {
                // A database without an index for the field: the locate box keeps to last names.
                gContactsTable->setIndex(QStringLiteral("LastName"));
            }
        }
        mUi.txtLocate->setFocus();
    }
    if (!notStored.isNull())
        platform::MsgBox(sortChoiceNotStoredText(choice, notStored), platform::vbExclamation,
                         QStringLiteral("Sort order not stored"));
}

void ListViewCommands::Category_Click()
{
    CategoryForm::open();
    mUi.txtLocate->setFocus();
}

void ListViewCommands::SelectionCriteria_Click()
{
    CriteriaForm::open();
}

void ListViewCommands::FindEditMenu_Click()
{
    FindAnyText();
}

void ListViewCommands::AssignCatgMenu_Click()
{
    ShowCategoryAssign();
}

void ListViewCommands::AssignAllToCatg_Click()
{
    CatgAssignAll::open();
}
