#pragma once

#include "helpers/RecordSource.h"
#include "helpers/SettingsRow.h"

#include <QString>
#include <QStringList>

inline const QString GridSortOrderType = QStringLiteral("GRIDSORTORDER");
inline const QString GridSortOrderQuery = settingsRowQuery(GridSortOrderType);
inline const QString DefaultSortChoice = QStringLiteral("LastName");

// What one entry of the sort box stands for.
struct SortChoice {
    QString orderByClause; // becomes gRecordSource.gOrderByClause
    QString indexName;     // the index of gContactsTable: the field the locate box searches
    bool sortedByDate = false;
};

// The order part, index and date flag of a sort box entry (compared exactly).
SortChoice sortChoiceFor(const QString &choice);

// Applies an entry: sets the order part and the date flag of gRecordSource and
// returns the choice; the caller stores the GRIDSORTORDER row, sets the index and
// requeries with sortedRecordSource().
SortChoice applySortChoice(const QString &choice);

// The message after the list was re-sorted but the GRIDSORTORDER row could not be written.
QString sortChoiceNotStoredText(const QString &choice, const QString &reason);

// The message when the list could not be opened in the chosen order and so stays as it was.
QString sortNotChangedText(const QString &choice, const QString &reason);
inline const QString SortNotChangedTitle = QStringLiteral("Sort order not changed");

// The sort box entries for the fields of the displayed record set, in field order:
// descriptions, label choice, selection mark, prefix and suffix, keys, the second
// address lines, the little-used dates and phones, the category and the notes are
// left out.
QStringList sortBoxItems(const QStringList &fieldNames);

// The entry to restore at the first activation from the GRIDSORTORDER row: the sort
// box item matching its Name (case aside) when the row exists, else "LastName" (a stored name the
// box lacks, from a database with other fields, must not leave the list unsorted).
QString restoredSortChoice(bool rowExists, const QString &storedName, const QStringList &items);
