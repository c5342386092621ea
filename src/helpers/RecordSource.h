#pragma once

#include "helpers/SettingsRow.h"

#include <QString>

inline const QString ContactsTable = QStringLiteral("tblContacts");
inline const QString CategoryQuery = QStringLiteral("qryContacts");
inline const QString DefaultOrderByClause = QStringLiteral(" Order By LastName, FirstName ");

// The record source of the main list is never filtered or sorted in place: every
// change of view joins a new query text from these six parts, and each command
// changes only its own part. Every clause keeps its leading blank so that parts join
// without separators.
struct RecordSourceState {
    QString gListSource = ContactsTable; // "tblContacts", or "qryContacts" while a category is shown
    QString gWhereClause;                // empty, or " Where ..." (category, filter, find)
    QString gSelectedClause; // empty, or " Where|And Selected = 'x' " / " Where|And Selected < 'x' "
    QString gFilterClause;   // empty, or " (criteria) "; a piece of gWhereClause, never joined itself
    QString gCategoryClause; // empty, or " CategoryNumber = n "; likewise
    QString gOrderByClause = DefaultOrderByClause; // the order part chosen by the sort box
    // True while the list is sorted by a date field: the locate box then searches only
    // texts that are valid dates.
    bool gSortedByDate = false;

    // Back to the values the program starts with.
    void reset();

    bool operator==(const RecordSourceState &) const = default;
};
extern RecordSourceState gRecordSource;

// What a list command computes: the parts to store and the record source to assign to
// the data control. Nothing is stored until the caller stores it.
struct RecordSourceChange {
    RecordSourceState parts;
    QString recordSource;
};

// Stores the parts of a change in gRecordSource and returns its record source.
QString storeParts(const RecordSourceChange &change);

// Statements the list views run themselves.
inline const QString ClearSelectionMarksSql =
    QStringLiteral("Update tblContacts Set Selected=' ' Where Selected='x'");
inline const QString CategorySettingType = QStringLiteral("CATEGORY");
inline const QString CategoryStartupSettingType = QStringLiteral("CATEGORYSTARTUP");
inline const QString CategorySettingsQuery = settingsRowQuery(CategorySettingType);
inline const QString CategoryStartupSettingsQuery = settingsRowQuery(CategoryStartupSettingType);

// A find result is named in the category label with this prefix; while it stands
// the Add button is off.
inline const QString FindResultCaptionPrefix = QStringLiteral("Records containing");

enum class SelectionView { All, SelectedOnly, SelectedHidden };

// Which selection view a stored selection clause stands for, whatever its keyword.
SelectionView selectionViewOf(const QString &selectedClause);

// The selection clause of a view, opening with " Where " or " And " according to
// whether the where part in front of it holds a condition.
QString selectionClause(SelectionView view, const QString &whereClause);

// "Select * from  " & list source & where part [& selection part] & order part.
// The selection keyword is chosen here, at join time, from the where part actually
// in force, so the text is valid whichever order the category, filter, find,
// selection and sort commands ran in. A where part that is only the keyword (no
// condition) is left out.
// The filter and find writers pass their own head ("Select distinctrow * from  ").
inline const QString SelectAllFrom = QStringLiteral("Select * from  ");
QString joinRecordSource(const RecordSourceState &parts, bool withSelection,
                         const QString &selectHead = SelectAllFrom);

// The parts with the keyword of their selection clause chosen for the where part in
// force, as the join chooses it; the list commands store their parts this way.
RecordSourceState withSelectionKeyword(RecordSourceState parts);

// The first list at load: one blank after "from", ordered by last name only.
QString firstListRecordSource(const RecordSourceState &parts);

// Each list command, from the parts in force: the parts it leaves and the record
// source to assign to the data control and refresh.
RecordSourceChange showAllRecordSource(const RecordSourceState &parts); // also empties the selection part
RecordSourceChange showSelectedOnlyRecordSource(const RecordSourceState &parts); // "selected only"
RecordSourceChange hideSelectedRecordSource(const RecordSourceState &parts);     // "all but the selected"
RecordSourceChange
removeSelectionsRecordSource(const RecordSourceState &parts);          // after ClearSelectionMarksSql ran
RecordSourceChange sortedRecordSource(const RecordSourceState &parts); // after the sort box set the order

// The count query of Display Record Count (no order part), with the selection
// keyword chosen as every join chooses it.
QString recordCountQuery(const RecordSourceState &parts);

// The record count message; the count is 64-bit, so lists beyond 32,767 rows count right.
QString recordCountMessage(bool listHasRecords, qint64 count);
inline const QString RecordCountTitle = QStringLiteral("Record Count");

// Back to all contacts in the plain table in gRecordSource, keeping only the sort
// order, as after Show ALL Records. The start routine's re-entry calls it so that a
// new main window never opens on parts left from before (a password change used to
// keep them).
void resetRecordSourceParts();

// True when the category label names a find result (its first 18 characters).
bool isFindResultCaption(const QString &caption);

// Puts the stored category condition (Setting1 of the CATEGORY row) in force in
// gRecordSource before the first list opens, when the CATEGORYSTARTUP row's Name is on (settingIsTrue:
// the check box stores 1). A blank condition changes nothing and returns false.
bool applyStartupCategory(const QString &categoryCondition);

// The message when the start-up category cannot be shown and all contacts are shown instead.
QString startupCategoryNotShownText(const QString &category, const QString &reason);
inline const QString StartupCategoryNotShownTitle = QStringLiteral("Start-up category not shown");
