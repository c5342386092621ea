#include "selection/SelectionSource.h"

#include "mainwindow/RecordSource.h"
#include "platform/base/DateText.h"
#include "platform/db/jet/JetDateLiteral.h"
#include "platform/db/jet/JetQuote.h"

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

} // namespace

QString categoryCondition(qint64 categoryNumber)
{
    return QStringLiteral(" CategoryNumber = ") + QString::number(categoryNumber) + QLatin1Char(' ');
}

QString categoryRecordSource(qint64 categoryNumber)
{
    gFilterClause.clear();
    gCategoryClause = categoryCondition(categoryNumber);
    gWhereClause = QStringLiteral(" Where ") + gCategoryClause;
    gSelectedClause.clear();
    gListSource = CategoryQuery;
    return SelectAllFrom + gListSource + gWhereClause + gOrderByClause;
}

QString allCategoriesRecordSource()
{
    gCategoryClause.clear();
    gWhereClause.clear();
    gFilterClause.clear();
    gSelectedClause.clear();
    gListSource = ContactsTable;
    return SelectAllFrom + gListSource + gWhereClause + gOrderByClause;
}

FilterCriteria splitFilterCriteria(const QString &boxText)
{
    FilterCriteria out;
    out.condition = boxText.trimmed();
    const qsizetype at = out.condition.indexOf(QLatin1String("order by"), 0, Qt::CaseInsensitive);
    if (at >= 0) {
        out.orderTail = QLatin1Char(' ') + out.condition.mid(at);
        out.condition = out.condition.left(at);
    } else {
        out.orderTail = gOrderByClause;
    }
    return out;
}

QString filterRecordSource(const QString &boxText)
{
    const FilterCriteria criteria = splitFilterCriteria(boxText);
    gFilterClause = QStringLiteral(" (") + criteria.condition.trimmed() + QStringLiteral(") ");
    gWhereClause = QStringLiteral(" Where ") + gFilterClause;
    if (!gCategoryClause.isEmpty())
        gWhereClause += QStringLiteral(" And ") + gCategoryClause;
    return DistinctRowFrom + gListSource + gWhereClause + criteria.orderTail;
}

QString filterShowAllRecordSource()
{
    gFilterClause.clear();
    gSelectedClause.clear();
    gWhereClause = gCategoryClause.isEmpty() ? QString() : QStringLiteral(" Where ") + gCategoryClause;
    return SelectAllFrom + gListSource + gWhereClause + gOrderByClause;
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

QString findRecordSource(const QString &condition)
{
    gWhereClause = QStringLiteral(" Where ") + condition;
    gSelectedClause.clear();
    gFilterClause.clear();
    gCategoryClause.clear();
    gListSource = ContactsTable;
    return QStringLiteral("Select DISTINCTROW * from  ") + gListSource + gWhereClause + gOrderByClause;
}
