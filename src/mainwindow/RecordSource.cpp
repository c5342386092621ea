#include "mainwindow/RecordSource.h"

QString gListSource = ContactsTable;
QString gWhereClause;
QString gSelectedClause;
QString gFilterClause;
QString gCategoryClause;
QString gOrderByClause = DefaultOrderByClause;

namespace {

bool isBlank(const QString &text)
{
    return text.trimmed().isEmpty();
}

// A where part counts only when a condition follows its keyword: " Where " alone
// (a category window's Show All without a category) would make "Where  And ...".
bool hasCondition(const QString &whereClause)
{
    const QString trimmed = whereClause.trimmed();
    return !trimmed.isEmpty() && trimmed.compare(QLatin1String("Where"), Qt::CaseInsensitive) != 0;
}

QString whereInForce()
{
    return hasCondition(gWhereClause) ? gWhereClause : QString();
}

// Re-chooses the keyword of the stored selection clause for the where part in force.
void rechooseSelectionKeyword()
{
    gSelectedClause = selectionClause(selectionViewOf(gSelectedClause), whereInForce());
}

} // namespace

SelectionView selectionViewOf(const QString &selectedClause)
{
    if (isBlank(selectedClause)) {
        return SelectionView::All;
    }
    return selectedClause.contains(QLatin1Char('<')) ? SelectionView::SelectedHidden
                                                     : SelectionView::SelectedOnly;
}

QString selectionClause(SelectionView view, const QString &whereClause)
{
    if (view == SelectionView::All) {
        return QString();
    }
    const QString keyword = hasCondition(whereClause) ? QStringLiteral(" And ") : QStringLiteral(" Where ");
    const QString comparison = view == SelectionView::SelectedOnly ? QStringLiteral("Selected = 'x' ")
                                                                   : QStringLiteral("Selected < 'x' ");
    return keyword + comparison;
}

QString joinRecordSource(bool withSelection, const QString &selectHead)
{
    rechooseSelectionKeyword();
    return selectHead + gListSource + whereInForce() + (withSelection ? gSelectedClause : QString()) +
           gOrderByClause;
}

QString firstListRecordSource()
{
    return QStringLiteral("Select * from ") + gListSource + whereInForce() +
           QStringLiteral(" Order By LastName");
}

QString showAllRecordSource()
{
    gWhereClause.clear();
    gFilterClause.clear();
    gCategoryClause.clear();
    gListSource = ContactsTable;
    const QString text = joinRecordSource(false);
    gSelectedClause.clear();
    return text;
}

QString showSelectedOnlyRecordSource()
{
    gSelectedClause = selectionClause(SelectionView::SelectedOnly, whereInForce());
    return joinRecordSource(true);
}

QString hideSelectedRecordSource()
{
    gSelectedClause = selectionClause(SelectionView::SelectedHidden, whereInForce());
    return joinRecordSource(true);
}

QString removeSelectionsRecordSource()
{
    const QString text = joinRecordSource(false);
    gSelectedClause.clear();
    return text;
}

QString sortedRecordSource()
{
    return joinRecordSource(true);
}

QString recordCountQuery()
{
    rechooseSelectionKeyword();
    return QStringLiteral("Select Count(*) as RowCount from ") + gListSource + QStringLiteral(" ") +
           whereInForce() + gSelectedClause;
}

QString recordCountMessage(bool listHasRecords, qint64 count)
{
    if (!listHasRecords) {
        return QStringLiteral("There are no records displayed in the current list.");
    }
    if (count > 1) {
        return QStringLiteral("There are %1 records displayed in the current list.").arg(count);
    }
    return QStringLiteral("There is 1 record displayed in the current list.");
}

void resetRecordSourceParts()
{
    gListSource = ContactsTable;
    gWhereClause.clear();
    gSelectedClause.clear();
    gFilterClause.clear();
    gCategoryClause.clear();
}

bool isFindResultCaption(const QString &caption)
{
    return caption.startsWith(FindResultCaptionPrefix);
}

bool applyStartupCategory(const QString &categoryCondition)
{
    if (isBlank(categoryCondition)) {
        return false;
    }
    gCategoryClause = categoryCondition;
    gListSource = CategoryQuery;
    // The stored condition brings its own leading blank; one that lost it still joins.
    const QString gap = categoryCondition.startsWith(QLatin1Char(' ')) ? QString() : QStringLiteral(" ");
    gWhereClause = QStringLiteral(" Where") + gap + categoryCondition;
    return true;
}
