#include "editor/DateChecks.h"

#include "editor/EditorPage.h"
#include "editor/FieldRules.h"
#include "editor/GLOBAL.h"
#include "platform/ui/MsgBox.h"

#include <QApplication>
#include <QLineEdit>

namespace {

constexpr int DateBoxCount = 5;

} // namespace

DateChecks::DateChecks(const EditorPage &page, std::function<bool(const QWidget *)> savesWhenClicked)
    : mPage(page), mSavesWhenClicked(std::move(savesWhenClicked))
{
}

void DateChecks::txtDate_LostFocus(int n)
{
    if (mCheckingDate)
        return;
    QLineEdit *date = mPage.box(QStringLiteral("txtDate%1").arg(n));
    const QString text = date->text();
    if (isDateText(text)) {
        gEditor.gLastDateBox = n;
        return;
    }
    if (text.isEmpty())
        return;
    // Leaving the box for Save (or a command that saves) is checked by that save: one
    // message, not one here and another there.
    if (mSavesWhenClicked(QApplication::focusWidget()))
        return;
    tellInvalidDate(date);
}

QLineEdit *DateChecks::firstInvalidDateBox() const
{
    for (int n = 1; n <= DateBoxCount; ++n) {
        QLineEdit *date = mPage.box(QStringLiteral("txtDate%1").arg(n));
        if (!date->text().isEmpty() && !isDateText(date->text()))
            return date;
    }
    return nullptr;
}

void DateChecks::tellInvalidDate(QLineEdit *date)
{
    mCheckingDate = true;
    platform::MsgBox(QStringLiteral("Invalid date"), platform::vbExclamation, QStringLiteral(" "));
    date->setFocus(Qt::OtherFocusReason);
    mCheckingDate = false;
}
