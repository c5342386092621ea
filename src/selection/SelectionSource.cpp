#include "selection/SelectionSource.h"

#include "helpers/RecordSource.h"
#include "platform/base/DateText.h"
#include "platform/db/jet/JetDateLiteral.h"
#include "platform/db/jet/JetQuote.h"

#include <utility>

namespace {

const QString DistinctRowFrom = QStringLiteral("Select distinctrow * from  ");

// Fields the find never searches: descriptions, the label choice, the marks and the
// print option, and the columns the category view adds.
bool isSkippedByFind(const QString &upperName)
{
    for (const char *part : {"DESC", "ADDRESSFORLABELS", "SELECTED", "PRINTNOTES"}) {
        if (upperName.contains(QLatin1String(part)))
            return true;
    }
    return false;
}

// A date as the engine's literal reads it: the typed text when the engine reads it as the
// same day and time, otherwise month/day/year, so a day-first user's date is not swapped.
QString dateLiteralText(const QString &text, const QDateTime &value)
{
    if (platform::parseJetDateLiteral(text.trimmed()) == value)
        return text;
    QString literal = QStringLiteral("%1/%2/%3").arg(value.date().month()).arg(value.date().day()).arg(
        value.date().year());
    if (value.time() != QTime(0, 0))
        literal += value.time().toString(QStringLiteral(" H:mm:ss"));
    return literal;
}

// The parts of a new view: its source, category and where parts; no filter and no
// selection view.
RecordSourceState viewParts(RecordSourceState parts, const QString &listSource, const QString &category,
                            const QString &where)
{
    parts.gListSource = listSource;
    parts.gCategoryClause = category;
    parts.gWhereClause = where;
    parts.gFilterClause.clear();
    parts.gSelectedClause.clear();
    return parts;
}

// The parts and their text: head & source & where & order (the list's own, or a tail).
RecordSourceChange joined(RecordSourceState parts, const QString &head, const QString &orderTail)
{
    QString text = head + parts.gListSource + parts.gWhereClause + orderTail;
    return {std::move(parts), std::move(text)};
}
RecordSourceChange joined(RecordSourceState parts, const QString &head)
{
    const QString order = parts.gOrderByClause;
    return joined(std::move(parts), head, order);
}

} // namespace

QString categoryCondition(qint64 categoryNumber)
{
    return QStringLiteral(" CategoryNumber = ") + QString::number(categoryNumber) + QLatin1Char(' ');
}

RecordSourceChange categoryRecordSource(const RecordSourceState &parts, qint64 categoryNumber)
{
    const QString condition = categoryCondition(categoryNumber);
    return joined(viewParts(parts, CategoryQuery, condition, QStringLiteral(" Where ") + condition),
                  SelectAllFrom);
}

RecordSourceChange allCategoriesRecordSource(const RecordSourceState &parts)
{
    return joined(viewParts(parts, ContactsTable, QString(), QString()), SelectAllFrom);
}

FilterCriteria splitFilterCriteria(const QString &boxText, const QString &orderByClause)
{
    FilterCriteria out;
    out.condition = boxText.trimmed();
    const qsizetype at = out.condition.indexOf(QLatin1String("order by"), 0, Qt::CaseInsensitive);
    if (at >= 0) {
        out.orderTail = QLatin1Char(' ') + out.condition.mid(at);
        out.condition = out.condition.left(at);
    } else {
        out.orderTail = orderByClause;
    }
    return out;
}

RecordSourceChange filterRecordSource(const RecordSourceState &parts, const QString &boxText)
{
    const FilterCriteria criteria = splitFilterCriteria(boxText, parts.gOrderByClause);
    RecordSourceState next = parts;
    next.gFilterClause = QStringLiteral(" (") + criteria.condition.trimmed() + QStringLiteral(") ");
    next.gWhereClause = QStringLiteral(" Where ") + next.gFilterClause;
    if (!next.gCategoryClause.isEmpty())
        next.gWhereClause += QStringLiteral(" And ") + next.gCategoryClause;
    return joined(std::move(next), DistinctRowFrom, criteria.orderTail);
}

RecordSourceChange filterShowAllRecordSource(const RecordSourceState &parts)
{
    RecordSourceState next = parts;
    next.gFilterClause.clear();
    next.gSelectedClause.clear();
    next.gWhereClause =
        next.gCategoryClause.isEmpty() ? QString() : QStringLiteral(" Where ") + next.gCategoryClause;
    return joined(std::move(next), SelectAllFrom);
}

QString findCondition(const QStringList &fieldNames, const QString &text)
{
    const QDateTime date = platform::parseDateText(text);
    QString condition = QStringLiteral(" (");
    for (const QString &name : fieldNames) {
        const QString upper = name.toUpper();
        if (isSkippedByFind(upper))
            continue;
        if (upper.contains(QLatin1String("DATE"))) {
            if (date.isValid())
                condition += name + QStringLiteral("=#") + dateLiteralText(text, date) + QStringLiteral("# OR ");
            continue;
        }
        if (upper.contains(QLatin1String("CATEGORYNUMBER")) || upper.contains(QLatin1String("CATEGORYDESC")))
            continue;
        condition += name + QStringLiteral(" Like ") +
                     platform::jetQuote(QLatin1Char('*') + text + QLatin1Char('*')) + QStringLiteral(" OR ");
    }
    if (condition.endsWith(QLatin1String("OR "))) {
        condition.chop(3);
        condition += QLatin1Char(')');
    }
    return condition;
}

RecordSourceChange findRecordSource(const RecordSourceState &parts, const QString &condition)
{
    return joined(viewParts(parts, ContactsTable, QString(), QStringLiteral(" Where ") + condition),
                  QStringLiteral("Select DISTINCTROW * from  "));
}
