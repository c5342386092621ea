#include "mainwindow/LocateRules.h"

#include "helpers/ValueHelpers.h"
#include "platform/base/DateText.h"
#include "platform/ui/KeyCodes.h"

LocateStep locateStepFor(int keyCode, const QString &boxText, bool sortedByDate)
{
    switch (keyCode) {
    case platform::VkPrior:
    case platform::VkNext:
    case platform::VkUp:
    case platform::VkDown:
        return LocateStep::FocusGrid;
    default:
        break;
    }
    if (sortedByDate && !platform::parseDateText(boxText).isValid())
        return LocateStep::Nothing;
    // A bracket would open a character class in the pattern.
    if (keyCode == platform::VkOpenBracket || keyCode == platform::VkCloseBracket)
        return LocateStep::ClearBox;
    // A double quote would end the pattern's literal early.
    if (!boxText.contains(QLatin1Char('"')) && (keyCode == platform::VkBack || keyCode >= platform::VkSpace))
        return LocateStep::Search;
    return LocateStep::Nothing;
}

QString locateCriteria(const QString &sortField, const QString &boxText)
{
    return sortField + QStringLiteral(" like \"") + RTrim(boxText) + QStringLiteral("*\"");
}
