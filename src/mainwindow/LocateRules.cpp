#include "mainwindow/LocateRules.h"

#include "helpers/KeyboardLayout.h"
#include "helpers/ValueHelpers.h"
#include "platform/base/DateText.h"

namespace {

// The two bracket keys of a US keyboard: a bracket would open a character class in the
// pattern.
constexpr int BracketOpenKey = 219;
constexpr int BracketCloseKey = 221;

} // namespace

LocateStep locateStepFor(int keyCode, const QString &boxText, bool sortedByDate)
{
    switch (keyCode) {
    case KeyboardLayout::VkPrior:
    case KeyboardLayout::VkNext:
    case KeyboardLayout::VkUp:
    case KeyboardLayout::VkDown:
        return LocateStep::FocusGrid;
    default:
        break;
    }
    if (sortedByDate && !platform::parseDateText(boxText).isValid())
        return LocateStep::Nothing;
    if (keyCode == BracketOpenKey || keyCode == BracketCloseKey)
        return LocateStep::ClearBox;
    // A double quote would end the pattern's literal early.
    if (!boxText.contains(QLatin1Char('"')) && (keyCode == KeyboardLayout::VkBack || keyCode >= 32))
        return LocateStep::Search;
    return LocateStep::Nothing;
}

QString locateCriteria(const QString &sortField, const QString &boxText)
{
    return sortField + QStringLiteral(" like \"") + RTrim(boxText) + QStringLiteral("*\"");
}
