#include "helpers/RecordSource.h"

#include <utility>

RecordSourceState gRecordSource;

void RecordSourceState::reset()
{
    *this = RecordSourceState();
}

QString storeParts(const RecordSourceChange &change)
{
    gRecordSource = change.parts;
    return change.recordSource;
}

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

QString whereInForce(const RecordSourceState &parts)
{
    return hasCondition(parts.gWhereClause) ? parts.gWhereClause : QString();
}

// The selection clause with its keyword chosen for the where part in force.
QString selectionInForce(const RecordSourceState &parts)
{
    return selectionClause(selectionViewOf(parts.gSelectedClause), whereInForce(parts));
}

RecordSourceChange joinedChange(RecordSourceState parts, bool withSelection)
{
    parts = withSelectionKeyword(std::move(parts));
    QString text = joinRecordSource(parts, withSelection);
    return {std::move(parts), std::move(text)};
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

QString joinRecordSource(const RecordSourceState &parts, bool withSelection, const QString &selectHead)
{
    return selectHead + parts.gListSource + whereInForce(parts) +
           (withSelection ? selectionInForce(parts) : QString()) + parts.gOrderByClause;
}

RecordSourceState withSelectionKeyword(RecordSourceState parts)
{
    parts.gSelectedClause = selectionInForce(parts);
    return parts;
}

QString firstListRecordSource(const RecordSourceState &parts)
{
    return QStringLiteral("Select * from ") + parts.gListSource + whereInForce(parts) +
           QStringLiteral(" Order By LastName");
}

RecordSourceChange showAllRecordSource(const RecordSourceState &parts)
{
    RecordSourceState next = parts;
    next.gWhereClause.clear();
    next.gFilterClause.clear();
    next.gCategoryClause.clear();
    next.gListSource = ContactsTable;
    RecordSourceChange change = joinedChange(std::move(next), false);
    change.parts.gSelectedClause.clear();
    return change;
}

RecordSourceChange showSelectedOnlyRecordSource(const RecordSourceState &parts)
{
    RecordSourceState next = parts;
    next.gSelectedClause = selectionClause(SelectionView::SelectedOnly, whereInForce(parts));
    return joinedChange(std::move(next), true);
}

RecordSourceChange hideSelectedRecordSource(const RecordSourceState &parts)
{
    RecordSourceState next = parts;
    next.gSelectedClause = selectionClause(SelectionView::SelectedHidden, whereInForce(parts));
    return joinedChange(std::move(next), true);
}

RecordSourceChange removeSelectionsRecordSource(const RecordSourceState &parts)
{
    RecordSourceChange change = joinedChange(parts, false);
    change.parts.gSelectedClause.clear();
    return change;
}

RecordSourceChange sortedRecordSource(const RecordSourceState &parts)
{
    return joinedChange(parts, true);
}

QString recordCountQuery(const RecordSourceState &parts)
{
    return QStringLiteral("Select Count(*) as RowCount from ") + parts.gListSource + QStringLiteral(" ") +
           whereInForce(parts) + selectionInForce(parts);
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
    gRecordSource.gListSource = ContactsTable;
    gRecordSource.gWhereClause.clear();
    gRecordSource.gSelectedClause.clear();
    gRecordSource.gFilterClause.clear();
    gRecordSource.gCategoryClause.clear();
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
    gRecordSource.gCategoryClause = categoryCondition;
    gRecordSource.gListSource = CategoryQuery;
    // The stored condition brings its own leading blank; one that lost it still joins.
    const QString gap = categoryCondition.startsWith(QLatin1Char(' ')) ? QString() : QStringLiteral(" ");
    gRecordSource.gWhereClause = QStringLiteral(" Where") + gap + categoryCondition;
    return true;
}

QString startupCategoryNotShownText(const QString &category, const QString &reason)
{
    return QStringLiteral("The category \"") + category +
           QStringLiteral("\" cannot be shown at start-up, so all contacts are shown.\r\n\r\n") + reason;
}
