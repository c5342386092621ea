#pragma once

#include "helpers/RecordSource.h"

#include <QString>
#include <QStringList>

// The record sources that categories, filters and find give the main list. Each computes,
// from the record source parts in force, the parts it leaves and the text to assign to
// the main list's data control; the caller stores the parts (storeParts).

// " CategoryNumber = n ": the condition of one category, as stored in the CATEGORY row.
QString categoryCondition(qint64 categoryNumber);

// Show Selected Category: the category view narrowed to one category.
RecordSourceChange categoryRecordSource(const RecordSourceState &parts, qint64 categoryNumber);

// Show ALL Records of the category window: every contact of the table.
RecordSourceChange allCategoriesRecordSource(const RecordSourceState &parts);

// A filter's criteria split as Apply splits them: the condition, and the order-by tail
// typed after it (" order by ..." as typed), or the list's order part when none was.
struct FilterCriteria {
    QString condition;
    QString orderTail;
};
FilterCriteria splitFilterCriteria(const QString &boxText, const QString &orderByClause);

// Apply: the filter and where parts (narrowing a category shown), and
// "Select distinctrow * from  " & source & where & order tail.
RecordSourceChange filterRecordSource(const RecordSourceState &parts, const QString &boxText);

// The filter window's Show All: drops the filter, keeps a category shown.
RecordSourceChange filterShowAllRecordSource(const RecordSourceState &parts);

// The find condition over the named fields: " (" & one term per searchable field joined
// by " OR " & ")". Text fields take a Like term with the text between "*" wildcards;
// date fields an equality, only when the text reads as a date. The text is quoted, so a
// quote in it is a character like any other.
QString findCondition(const QStringList &fieldNames, const QString &text);

// Find: all contacts of the table that meet the condition.
RecordSourceChange findRecordSource(const RecordSourceState &parts, const QString &condition);
