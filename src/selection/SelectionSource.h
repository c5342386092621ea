#pragma once

#include <QString>
#include <QStringList>

// The record sources that categories, filters and find give the main list. Each sets the
// shared record-source parts (mainwindow/RecordSource.h) and returns the text to assign
// to the main list's data control.

// " CategoryNumber = n ": the condition of one category, as stored in the CATEGORY row.
QString categoryCondition(qint64 categoryNumber);

// Show Selected Category: the category view narrowed to one category.
QString categoryRecordSource(qint64 categoryNumber);

// Show ALL Records of the category window: every contact of the table.
QString allCategoriesRecordSource();

// A filter's criteria split as Apply splits them: the condition, and the order-by tail
// typed after it (" order by ..." as typed), or the stored sort order when none was.
struct FilterCriteria {
    QString condition;
    QString orderTail;
};
FilterCriteria splitFilterCriteria(const QString &boxText);

// Apply: sets gFilterClause and gWhereClause (narrowing a category shown) and returns
// "Select distinctrow * from  " & source & where & order tail.
QString filterRecordSource(const QString &boxText);

// The filter window's Show All: drops the filter, keeps a category shown.
QString filterShowAllRecordSource();

// The find condition over the named fields: " (" & one term per searchable field joined
// by " OR " & ")". Text fields take a Like term with the text between "*" wildcards;
// date fields an equality, only when the text reads as a date. The text is quoted, so a
// quote in it is a character like any other.
QString findCondition(const QStringList &fieldNames, const QString &text);

// Find: all contacts of the table that meet the condition.
QString findRecordSource(const QString &condition);
