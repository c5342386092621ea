#include "editor/ContactTransfer.h"

#include "editor/ContactFields.h"
#include "editor/DateChecks.h"
#include "editor/EditorPage.h"
#include "editor/FieldRules.h"
#include "editor/GLOBAL.h"
#include "editor/MainListLink.h"
#include "helpers/NotesText.h"
#include "helpers/ValueHelpers.h"
#include "platform/RuntimeError.h"
#include "platform/base/Clock.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/MsgBox.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

using platform::MsgBox;

namespace {

const QString NoNameTitle = QStringLiteral("Critical data was not supplied");

// The labels check stores which address goes on labels: 2 the second, 1 the first.
constexpr int SecondAddressForLabels = 2;
constexpr int FirstAddressForLabels = 1;

// An empty text that the database stores as "" rather than Null.
QVariant storedText(const QString &text)
{
    return QVariant(text.isNull() ? QString::fromLatin1("") : text);
}

} // namespace

ContactTransfer::ContactTransfer(MainListLink &list, EditorPage &page, DateChecks &dates)
    : mList(list), mPage(page), mDates(dates)
{
}

qint64 ContactTransfer::currentRecordId() const
{
    return mList.Recordset().value(QStringLiteral("RecordID")).toLongLong();
}

void ContactTransfer::findInList(const QString &criteria)
{
    mList.Recordset().findFirst(criteria);
}

void ContactTransfer::reportError(const QString &description, int number)
{
    MsgBox(description + QStringLiteral(" - Error number:") + QString::number(number));
}

void ContactTransfer::MoveDataToForm()
{
    platform::Recordset &rs = mList.Recordset();
    mShownRecordId = currentRecordId();
    for (const QString &field : loadOrder()) {
        const QVariant value = rs.value(field);
        if (field == QLatin1String("AddressForLabels")) {
            mPage.useForLabels().setChecked(!IsNull(value) && value.toInt() == SecondAddressForLabels);
        } else if (field == QLatin1String("DateUpdated")) {
            mPage.dateUpdated().setText(fieldText(value));
        } else if (field == QLatin1String("PrintNotes")) {
            mPage.printNotes().setChecked(!IsNull(value) && value.toInt() != 0);
        } else if (field == QLatin1String("Notes")) {
            showStoredText(mPage.notes(), fieldText(value));
        } else {
            mPage.box(boxNameOf(field))->setText(fieldText(value));
        }
    }
    gEditor.gRecordChanged = false;
}

void ContactTransfer::MoveFormToData()
{
    std::unique_ptr<platform::Recordset> rs =
        mList.Database().openRecordset(QStringLiteral("tblContacts"), platform::RecordsetType::Table);
    rs->setIndex(QStringLiteral("PrimaryKey"));
    const bool adding = !gEditor.gEditExistingRecord;
    if (adding) {
        rs->addNew();
    } else {
        rs->seek(QStringLiteral("="), mShownRecordId);
        rs->edit();
    }
    for (const QString &field : saveOrder()) {
        QVariant value;
        if (field == QLatin1String("AddressForLabels"))
            value = mPage.useForLabels().isChecked() ? SecondAddressForLabels : FirstAddressForLabels;
        else if (field == QLatin1String("DateUpdated"))
            value = platform::now();
        else if (field == QLatin1String("PrintNotes"))
            value = mPage.printNotes().isChecked();
        else if (field == QLatin1String("Notes"))
            value = storedText(textToStore(mPage.notes()));
        else if (isPictureField(field))
            value = EmptyToNull(Trim(mPage.box(boxNameOf(field))->text()));
        else if (isDateField(field))
            value = EmptyToNull(mPage.box(boxNameOf(field))->text());
        else
            value = storedText(mPage.box(boxNameOf(field))->text());
        rs->setValue(field, value);
    }
    rs->update();
    // Only a stored row counts: a refused add or edit leaves the flags as they were.
    rs->setBookmark(rs->lastModified());
    gEditor.gLastSavedRecordID = rs->value(QStringLiteral("RecordID")).toLongLong();
    mShownRecordId = gEditor.gLastSavedRecordID;
    if (adding)
        gEditor.gNewRecordAdded = true;
    rs->close();
}

bool ContactTransfer::storeContact()
{
    if (mPage.hasNoName()) {
        MsgBox(QStringLiteral("You cannot add a record that does not have a Name or an Organization."),
               platform::vbExclamation, NoNameTitle);
        return false;
    }
    // A date the engine would refuse is told in the editor's own words, once, before anything
    // is written.
    if (QLineEdit *date = mDates.firstInvalidDateBox()) {
        mDates.tellInvalidDate(date);
        return false;
    }
    platform::BusyPointer busy;
    try {
        MoveFormToData();
        gEditor.gRecordSaved = true;
        gEditor.gRecordChanged = false;
        if (gEditor.gNewRecordAdded)
            linkNewContactToCategory();
        return true;
    } catch (const platform::RuntimeError &e) {
        // What was typed stays in the boxes, so the user can correct it and save again.
        busy.release();
        reportError(e.description(), e.number());
        return false;
    }
}

// A contact added while the list shows one category belongs to it.
void ContactTransfer::linkNewContactToCategory()
{
    const qint64 category = mList.CategoryShown();
    if (category < 0)
        return;
    std::unique_ptr<platform::Recordset> links =
        mList.Database().openRecordset(QStringLiteral("tblCategoryID"), platform::RecordsetType::Table);
    links->addNew();
    links->setValue(QStringLiteral("ID"), gEditor.gLastSavedRecordID);
    links->setValue(QStringLiteral("CategoryNumber"), category);
    links->update();
    links->close();
}

bool ContactTransfer::saveAndStay()
{
    if (!storeContact())
        return false;
    showStoredContactInList();
    return true;
}

void ContactTransfer::showStoredContactInList()
{
    platform::BusyPointer busy;
    try {
        mList.Refresh();
        findInList(QStringLiteral("RecordID=") + QString::number(gEditor.gLastSavedRecordID));
        gEditor.gNewRecordAdded = false;
    } catch (const platform::RuntimeError &e) {
        busy.release();
        reportError(e.description(), e.number());
    }
}

bool ContactTransfer::deleteCurrent()
{
    platform::Recordset &rs = mList.Recordset();
    const QString deleteSql =
        QStringLiteral("DELETE FROM tblContacts WHERE RecordID = ") + QString::number(currentRecordId());
    if (rs.recordCount() == 1) {
        mList.Database().execute(deleteSql);
        mList.Refresh();
        return false;
    }
    // The neighbour shown next: the following contact, or the one before the last.
    platform::Bookmark next;
    rs.moveNext();
    if (rs.eof()) {
        rs.moveLast();
        rs.movePrevious();
        next = rs.bookmark();
        rs.moveNext();
    } else {
        next = rs.bookmark();
        rs.movePrevious();
    }
    mList.Database().execute(deleteSql);
    rs.setBookmark(next);
    const qint64 shown = currentRecordId();
    mList.Refresh();
    findInList(QStringLiteral("RecordID = ") + QString::number(shown));
    MoveDataToForm();
    return true;
}

void ContactTransfer::showSavedInList()
{
    if (!mList.ShowsFindResult()) {
        mList.Refresh();
        platform::Recordset &rs = mList.Recordset();
        if (rs.recordCount() > 0) {
            rs.moveLast();
            rs.moveFirst();
        }
    }
    if (mList.Recordset().recordCount() > 0)
        findInList(QStringLiteral("RecordID=") + QString::number(gEditor.gLastSavedRecordID));
    QCoreApplication::processEvents();
}
