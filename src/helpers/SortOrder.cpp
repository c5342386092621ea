#include "helpers/SortOrder.h"

#include "helpers/RecordSource.h"

#include <array>

SortChoice sortChoiceFor(const QString &choice)
{
    SortChoice result;
    result.orderByClause = QStringLiteral(" Order By ") + choice;
    result.indexName = choice;
    if (choice.isEmpty() || choice == QLatin1String("LastName")) {
        result.orderByClause = DefaultOrderByClause;
        result.indexName = QStringLiteral("LastName");
    } else if (choice == QLatin1String("Organization")) {
        result.orderByClause = QStringLiteral(" Order By Organization, LastName, FirstName");
    } else if (choice == QLatin1String("FirstName")) {
        result.orderByClause = QStringLiteral(" Order By FirstName");
    } else if (choice == QLatin1String("DateUpdated")) {
        result.orderByClause = QStringLiteral(" Order By DateUpdated DESC");
    }
    result.sortedByDate = choice.toUpper().contains(QLatin1String("DATE"));
    return result;
}

QString sortChoiceNotStoredText(const QString &choice, const QString &reason)
{
    return QStringLiteral("The list is now sorted by ") + choice +
           QStringLiteral(", but this choice could not be stored, so the next start will show the list "
                          "in the order stored before.\r\n\r\n") +
           reason;
}

QString sortNotChangedText(const QString &choice, const QString &reason)
{
    return QStringLiteral("The list could not be sorted by ") + choice +
           QStringLiteral(", so it stays as it was.\r\n\r\n") + reason;
}

SortChoice applySortChoice(const QString &choice)
{
    const SortChoice result = sortChoiceFor(choice);
    gRecordSource.gOrderByClause = result.orderByClause;
    gRecordSource.gSortedByDate = result.sortedByDate;
    return result;
}

QStringList sortBoxItems(const QStringList &fieldNames)
{
    static const std::array<QLatin1String, 12> excluded = {
        QLatin1String("DESC"),      QLatin1String("ADDRESSFOR"), QLatin1String("SELECTED"),
        QLatin1String("FIX"),       QLatin1String("RECORDID"),   QLatin1String("FIRST_AD"),
        QLatin1String("SECOND_AD"), QLatin1String("DATE4"),      QLatin1String("DATE5"),
        QLatin1String("PHONE5"),    QLatin1String("PHONE6"),     QLatin1String("CATEG")};
    QStringList items;
    for (const QString &name : fieldNames) {
        const QString upper = name.toUpper();
        bool offered = name != QLatin1String("PrintNotes") && name != QLatin1String("Notes");
        for (const QLatin1String &text : excluded) {
            offered = offered && !upper.contains(text);
        }
        if (offered) {
            items.append(name);
        }
    }
    return items;
}

QString restoredSortChoice(bool rowExists, const QString &storedName, const QStringList &items)
{
    if (rowExists) {
        // Selecting by text in a drop-down list ignores case and shows the item's own spelling.
        for (const QString &item : items) {
            if (item.compare(storedName.trimmed(), Qt::CaseInsensitive) == 0) {
                return item;
            }
        }
    }
    return DefaultSortChoice;
}
