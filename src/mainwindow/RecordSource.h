#pragma once

#include "helpers/SettingsRow.h"

#include <QString>

// The record source of the main list is never filtered or sorted in place: every
// change of view joins a new query text from these six parts, and each command
// changes only its own part. Every clause keeps its leading blank so that parts join
// without separators.
extern QString gListSource;     // "tblContacts", or "qryContacts" while a category is shown
extern QString gWhereClause;    // empty, or " Where ..." (category, filter, find)
extern QString gSelectedClause; // empty, or " Where|And Selected = 'x' " / " Where|And Selected < 'x' "
extern QString gFilterClause;   // empty, or " (criteria) "; a piece of gWhereClause, never joined itself
extern QString gCategoryClause; // empty, or " CategoryNumber = n "; likewise
extern QString gOrderByClause;  // the order part chosen by the sort box

inline const QString ContactsTable = QStringLiteral("tblContacts");
inline const QString CategoryQuery = QStringLiteral("qryContacts");
inline const QString DefaultOrderByClause = QStringLiteral(" Order By LastName, FirstName ");

// Statements the list views run themselves.
inline const QString ClearSelectionMarksSql =
    QStringLiteral("Update tblContacts Set Selected=' ' Where Selected='x'");
inline const QString CategorySettingsQuery = settingsRowQuery(QStringLiteral("CATEGORY"));
inline const QString CategoryStartupSettingsQuery = settingsRowQuery(QStringLiteral("CATEGORYSTARTUP"));

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
// in force, and stored back in gSelectedClause, so the text is valid whichever
// order the category, filter, find, selection and sort commands ran in. A where
// part that is only the keyword (no condition) is left out.
// The filter and find writers pass their own head ("Select distinctrow * from  ").
inline const QString SelectAllFrom = QStringLiteral("Select * from  ");
QString joinRecordSource(bool withSelection, const QString &selectHead = SelectAllFrom);

// The first list at load: one blank after "from", ordered by last name only.
QString firstListRecordSource();

// Each list command sets its parts and returns the record source to assign to the
// data control and refresh.
QString showAllRecordSource();          // also empties the selection part
QString showSelectedOnlyRecordSource(); // the record source for "selected only"
QString hideSelectedRecordSource();     // the record source for "all but the selected"
QString removeSelectionsRecordSource(); // after ClearSelectionMarksSql has run
QString sortedRecordSource();           // after the sort box set gOrderByClause

// The count query of Display Record Count (no order part); re-chooses the
// selection keyword as every join does.
QString recordCountQuery();

// The record count message; the count is 64-bit, so lists beyond 32,767 rows count right.
QString recordCountMessage(bool listHasRecords, qint64 count);
inline const QString RecordCountTitle = QStringLiteral("Record Count");

// Back to all contacts in the plain table, keeping only the sort order, as after
// Show ALL Records. The start routine's re-entry calls it so that a new main window
// never opens on parts left from before (a password change used to keep them).
void resetRecordSourceParts();

// True when the category label names a find result (its first 18 characters).
bool isFindResultCaption(const QString &caption);

// Puts the stored category condition (Setting1 of the CATEGORY row) in force before
// the first list opens, when the CATEGORYSTARTUP row's Name is on (settingIsTrue:
// the check box stores 1). A blank condition changes nothing and returns false.
bool applyStartupCategory(const QString &categoryCondition);
